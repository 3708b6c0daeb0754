#include "ui/dialogs/FloatingWindow.h"
#include "app/PlacementFit.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "ui/views/InfoPaneColors.h"

bool UseFloatingPlacement(const WINDOWPLACEMENT& placement, const RECT& desktop) {
    if (placement.length == 0) return false;
    if (placement.showCmd == SW_SHOW) return true;
    const RECT& r = placement.rcNormalPosition;
    const POINT topLeft{r.left, r.top}, bottomRight{r.right, r.bottom};
    auto inside = [&desktop](POINT p) {
        return p.x >= desktop.left && p.x <= desktop.right && p.y >= desktop.top && p.y <= desktop.bottom;
    };
    return inside(topLeft) && inside(bottomRight);
}

void RestoreFloatingPlacement(HWND window, const WINDOWPLACEMENT& placement) {
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    if (!UseFloatingPlacement(placement, desktop)) return;
    // One stored shown is taken wherever it lay, but never off every monitor attached now.
    const SIZE smallest{::GetSystemMetrics(SM_CXMINTRACK), ::GetSystemMetrics(SM_CYMINTRACK)};
    const RECT r = FitWindowRect(placement.rcNormalPosition, MonitorWorkAreas(), smallest);
    ::MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void ApplyWindowOpacity(HWND window, int alphaPercent, bool focused) {
    const LONG_PTR ex = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (alphaPercent >= 100) {
        if (ex & WS_EX_LAYERED) ::SetWindowLongPtrW(window, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
        return;
    }
    if (!(ex & WS_EX_LAYERED)) ::SetWindowLongPtrW(window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(window, 0, focused ? 255 : AlphaFromPercent(alphaPercent), LWA_ALPHA);
}

void SyncAppWindowStyle(HWND window, bool showing) {
    if (!showing) return;
    CWinApp* app = AfxGetApp();
    const bool minimised = app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd && ::IsIconic(app->m_pMainWnd->m_hWnd);
    const LONG_PTR ex = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    const LONG_PTR wanted = minimised ? (ex | WS_EX_APPWINDOW) : (ex & ~WS_EX_APPWINDOW);
    if (wanted != ex) ::SetWindowLongPtrW(window, GWL_EXSTYLE, wanted);
}
