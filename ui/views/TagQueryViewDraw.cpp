#include "ui/views/TagQueryView.h"
#include "ui/controls/GdiSelectors.h"
#include "app/AppSettings.h"
#include "document/Larkspur2006Doc.h"
#include <algorithm>
#include <cwchar>

namespace {

void Text(HDC dc, const std::wstring& text, RECT r, UINT align) {
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                align | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

RECT Inset(RECT r, int dx, int dy) {
    r.left += dx;
    r.right -= dx;
    r.top += dy;
    r.bottom -= dy;
    return r;
}

}  // namespace

void CTagQueryView::DrawItem(LPDRAWITEMSTRUCT dis) {
    const int row = RowOfItem(static_cast<int>(dis->itemID));
    if (row < 0) return;
    const bool focused = (dis->itemState & ODS_FOCUS) != 0;
    DrawRow(dis->hDC, dis->rcItem, row, (dis->itemState & ODS_SELECTED) != 0, focused);
}

void CTagQueryView::DrawRow(HDC dc, const RECT& rc, int row, bool selected, bool focused) {
    const auto& view = Settings().groupView;
    const GroupItem& item = m_rows[row];
    const int listItem = ItemOfRow(row);
    CListCtrl& list = GetListCtrl();
    RECT label = rc, sub = rc;
    list.GetSubItemRect(listItem, 0, LVIR_LABEL, &label);
    const bool hasSub = view.headerMode == 1 || view.headerMode == 2;
    if (hasSub) list.GetSubItemRect(listItem, 1, LVIR_BOUNDS, &sub);

    const bool hasFocus = ::GetFocus() == m_hWnd;
    COLORREF back = view.colorBackground, fore = view.colorText;
    if (selected && IsValueKind(item.kind)) {
        back = ::GetSysColor(hasFocus ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        fore = hasFocus ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0);
    }
    FillSolidRect(dc, rc, back);
    const int mode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, fore);
    HGDIOBJ oldFont = ::SelectObject(dc, m_font);
    const RECT textRect = Inset(label, 2, 0);
    wchar_t number[64];

    switch (item.kind) {
    case GroupItemAll:
        swprintf(number, 64, L" (%d 項目)", item.itemCount);
        Text(dc, item.text + number, textRect, DT_LEFT | DT_VCENTER);
        if (view.headerMode == 2) {
            swprintf(number, 64, L"%d", item.fileCount);
            Text(dc, number, Inset(sub, 2, 0), DT_RIGHT | DT_VCENTER);
        }
        break;
    case GroupItemNone:
    case GroupItemValue:
        Text(dc, item.text, textRect, DT_LEFT | DT_VCENTER);
        if (view.headerMode == 1) {
            const RECT box = Inset(sub, 2, 4);
            const int width = box.right - box.left;
            if (item.average > 0) {
                FillSolidRect(dc, box, view.colorBackground);
                RECT bar = box;
                bar.right = bar.left + GroupAverageBarWidth(width, item.average);
                FillSolidRect(dc, bar, m_shades[3]);
                FrameSolidRect(dc, box, m_shades[5]);
            } else {
                FillSolidRect(dc, box, view.colorBackground);
                FrameSolidRect(dc, box, m_shades[1]);
            }
        } else if (view.headerMode == 2) {
            swprintf(number, 64, L"%d", item.fileCount);
            Text(dc, number, Inset(sub, 2, 0), DT_RIGHT | DT_VCENTER);
        }
        break;
    case GroupItemHeader: {
        const int indent = view.canCollapse ? 20 : 10;
        if (view.groupMode && view.canCollapse) {
            int cx = 16, cy = 16;
            m_icons.GetIconSize(&cx, &cy);
            m_icons.SetBkColor(view.colorBackground);
            m_icons.Draw(dc, item.shown ? 1 : 0, POINT{rc.left + (indent - cx) / 2, rc.bottom - cy}, ILD_NORMAL);
        }
        ::SelectObject(dc, m_boldFont);
        ::SetTextColor(dc, view.colorHeaderText);
        RECT r = rc;
        r.left += indent;
        Text(dc, item.text, r, DT_LEFT | DT_BOTTOM);
        break;
    }
    case GroupItemRule:
        if (m_ruleDC) ::BitBlt(dc, rc.left, rc.top, 300, 10, m_ruleDC, 0, 0, SRCCOPY);
        break;
    default:
        break;
    }
    if (focused && IsValueKind(item.kind)) ::DrawFocusRect(dc, &rc);
    ::SelectObject(dc, oldFont);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, mode);
}
