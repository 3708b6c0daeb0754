#include "ui/controls/EditEx.h"

CEditEx::CEditEx() : m_notifyMessage(::RegisterWindowMessageW(L"__ComboEditRefrect__")) {}

CEditEx::~CEditEx() {
    m_dropTarget.Revoke();
}

const wchar_t* CEditEx::HintText() { return L"単語 または SQLを入力"; }

bool CEditEx::ShowsHint() const {
    return m_hWnd && !m_hasFocus && ::GetWindowTextLengthW(m_hWnd) == 0;
}

void CEditEx::DrawHint(HDC dc, const RECT& client) {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    HDC mem = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, width > 0 ? width : 1, height > 0 ? height : 1);
    if (!mem || !bitmap) {
        if (bitmap) ::DeleteObject(bitmap);
        if (mem) ::DeleteDC(mem);
        return;
    }
    HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
    RECT r{0, 0, width, height};
    ::FillRect(mem, &r, ::GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ oldFont = m_hintFont ? ::SelectObject(mem, m_hintFont) : nullptr;
    ::SetTextColor(mem, HintColor());
    ::SetBkMode(mem, TRANSPARENT);
    RECT text = r;
    if (text.right - text.left >= 5) ::InflateRect(&text, -2, 0);
    ::DrawTextW(mem, HintText(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (oldFont) ::SelectObject(mem, oldFont);
    ::BitBlt(dc, client.left, client.top, width, height, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
}

LRESULT CEditEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_hasFocus = msg == WM_SETFOCUS;
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        break;
    case WM_PAINT:
        if (ShowsHint()) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(m_hWnd, &ps);
            RECT client;
            ::GetClientRect(m_hWnd, &client);
            DrawHint(dc, client);
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_RETURN && m_notifyWnd) ::SendMessageW(m_notifyWnd, m_notifyMessage, 13, lParam);
        break;
    }
    return CEdit::WindowProc(msg, wParam, lParam);
}
