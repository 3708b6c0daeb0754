#include "ui/views/HeaderSubclass.h"
#include "ui/views/Larkspur2006View.h"

LRESULT CHeaderSubclass::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_RBUTTONUP && m_pView) {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(m_hWnd, &at);
        m_pView->OnHeaderMenu(at);
        return 0;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}
