#include "ui/views/ToolBarNavigate.h"
#include "resources/resource.h"
#include "ui/controls/BufferDC.h"

void CToolBarNavigate::SetQueryTitle(const std::wstring& title) {
    m_title = title;
    if (m_titleWindow && ::IsWindow(m_titleWindow)) {
        ::InvalidateRect(m_titleWindow, nullptr, FALSE);
        ::UpdateWindow(m_titleWindow);
    }
}

LRESULT CToolBarNavigate::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE && LOWORD(lParam) != 0) {
        const LRESULT result = CToolBar::WindowProc(msg, wParam, lParam);
        OnSizeBar(LOWORD(lParam));
        return result;
    }
    if (msg == WM_DRAWITEM && wParam == IDC_QUERY_TITLE) {
        DrawTitle(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return CToolBar::WindowProc(msg, wParam, lParam);
}

void CToolBarNavigate::OnSizeBar(int width) {
    const int titleIndex = CommandToIndex(IDC_QUERY_TITLE);
    if (titleIndex < 0) return;
    StretchSeparator(titleIndex, width);
    if (m_titleWindow) {
        RECT r{};
        GetItemRect(titleIndex, &r);
        ::InflateRect(&r, -1, -1);
        ::MoveWindow(m_titleWindow, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}

void CToolBarNavigate::DrawTitle(const DRAWITEMSTRUCT& item) {
    if (::IsRectEmpty(&item.rcItem)) return;
    CBufferDC dc(item.rcItem, item.hDC);
    RECT area = item.rcItem;
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    ::FrameRect(dc, &area, ::GetSysColorBrush(COLOR_BTNSHADOW));
    area.left += 2;
    area.right -= 2;
    if (area.right - area.left < 5) return;
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HGDIOBJ oldFont = ::SelectObject(dc, font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, m_title.c_str(), static_cast<int>(m_title.size()), &area,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, oldFont);
}
