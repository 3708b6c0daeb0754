#include "ui/views/Larkspur2006View.h"
#include "app/ColumnModel.h"
#include "document/Larkspur2006Doc.h"

namespace {

UINT AlignmentFlags(int alignment) {
    if (alignment == AlignRight) return DT_RIGHT;
    if (alignment == AlignCentre) return DT_CENTER;
    return DT_LEFT;
}

}  // namespace

void CLarkspur2006View::DrawItem(LPDRAWITEMSTRUCT dis) {
    const TrackRecord* row = RowAt(static_cast<int>(dis->itemID));
    if (!row) return;
    const CAppSettings& s = Settings();
    CListCtrl& list = GetListCtrl();
    HDC dc = dis->hDC;
    const int saved = ::SaveDC(dc);
    const int index = static_cast<int>(dis->itemID);
    const bool playing = row->rowid == GetDoc()->GetNowPlaying().rowid;
    const bool focused = ::GetFocus() == m_hWnd;

    COLORREF back, text;
    if (dis->itemState & ODS_SELECTED) {
        back = focused ? ::GetSysColor(COLOR_HIGHLIGHT) : ::GetSysColor(COLOR_BTNFACE);
        text = focused ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0);
    } else {
        back = index % 2 == 0 ? s.playlistView.colorList1 : s.playlistView.colorList2;
        text = playing ? s.playlistView.colorTextPlaying : s.playlistView.colorText;
    }
    HBRUSH backBrush = ::CreateSolidBrush(back);
    ::FillRect(dc, &dis->rcItem, backBrush);
    ::DeleteObject(backBrush);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, text);

    const COLORREF oldImageBack = m_ratingImages ? ImageList_SetBkColor(m_ratingImages, CLR_NONE) : CLR_NONE;
    if (playing && m_boldFont) ::SelectObject(dc, m_boldFont);
    else if (m_font) ::SelectObject(dc, m_font);

    HPEN gridPen = nullptr;
    if (s.playlistView.gridType == 0 || s.playlistView.gridType == 2) {
        gridPen = ::CreatePen(s.playlistView.gridType == 0 ? PS_SOLID : PS_DOT, 1, s.playlistView.colorGrid);
        ::SelectObject(dc, gridPen);
    }

    const int margin = s.playlistView.marginX;
    const int imageWidth = s.generic.ratingImageWidth;
    const int imageHeight = s.generic.ratingImageHeight;
    std::wstring cellText;
    for (int i = 0; i < static_cast<int>(m_columns.size()); ++i) {
        RECT cell;
        if (i == 0) {
            list.GetItemRect(index, &cell, LVIR_SELECTBOUNDS);
            cell.right = cell.left + list.GetColumnWidth(0) - 4;
        } else if (!list.GetSubItemRect(index, i, LVIR_BOUNDS, &cell)) {
            continue;
        }
        if (cell.right - cell.left <= 0) continue;
        RECT inner = cell;
        inner.left += margin;
        inner.right -= margin;
        const PlaylistColumn& column = m_columns[i];
        if (column.type == ColRating) {
            if (m_ratingImages) {
                const int y = inner.top + (inner.bottom - inner.top - imageHeight) / 2;
                m_ratingStrips.Draw(dc, m_ratingImages, row->rating, inner.left, y, imageWidth, back, cell);
            }
        } else {
            GetColumnText(*row, column.type, cellText, s.generic.dateTimeFormat);
            ::DrawTextW(dc, cellText.c_str(), static_cast<int>(cellText.size()), &inner,
                        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | AlignmentFlags(column.alignment));
        }
        if (gridPen) {
            ::MoveToEx(dc, cell.right - 1, cell.top, nullptr);
            ::LineTo(dc, cell.right - 1, cell.bottom);
        }
    }

    if (dis->itemState & ODS_FOCUS) {
        ::DrawFocusRect(dc, &dis->rcItem);
    } else if (playing) {
        HBRUSH frame = ::CreateSolidBrush(s.playlistView.colorGrid);
        ::FrameRect(dc, &dis->rcItem, frame);
        ::DeleteObject(frame);
    }

    if (m_ratingImages) ImageList_SetBkColor(m_ratingImages, oldImageBack);
    ::RestoreDC(dc, saved);
    if (gridPen) ::DeleteObject(gridPen);
}

void CLarkspur2006View::OnMouseMove(UINT flags, POINT point) {
    LVHITTESTINFO hit{};
    hit.pt = point;
    GetListCtrl().SubItemHitTest(&hit);
    const PlaylistColumn* column = hit.iItem >= 0 ? GetColumnAt(hit.iSubItem) : nullptr;
    const bool clickable = column && (column->type == ColRating || Settings().playlistView.singleClick);
    ::SetCursor(clickable && m_clickCursor ? m_clickCursor : m_arrowCursor);
    Default(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
}

void CLarkspur2006View::AutoSizeColumn(int index) {
    const PlaylistColumn* column = GetColumnAt(index);
    if (!column) return;
    const CAppSettings& s = Settings();
    int width = 0;
    if (column->type == ColRating) {
        width = 5 * s.generic.ratingImageWidth;
    } else {
        // The longest text by characters (the first of equal lengths), measured in bold.
        std::wstring text, longest;
        const PlaylistCache& cache = Cache();
        for (int i = 0; i < cache.size(); ++i) {
            GetColumnText(*cache.at(i), column->type, text, s.generic.dateTimeFormat);
            if (text.size() > longest.size()) longest = text;
        }
        HDC dc = ::GetDC(m_hWnd);
        HGDIOBJ old = ::SelectObject(dc, m_boldFont ? m_boldFont : ::GetStockObject(DEFAULT_GUI_FONT));
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, longest.c_str(), static_cast<int>(longest.size()), &extent);
        ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
        width = extent.cx;
    }
    width += (index == 0 ? 4 : 2) * s.playlistView.marginX;
    GetListCtrl().SetColumnWidth(index, width);
    m_columns[index].width = width;
    Invalidate();
}
