#include "ui/controls/FlatSplitterWnd.h"

CFlatSplitterWnd::CFlatSplitterWnd() {
    m_cxSplitter = m_cySplitter = 5;
    m_cxBorderShare = m_cyBorderShare = 0;
    m_cxSplitterGap = m_cySplitterGap = 5;
    m_cxBorder = m_cyBorder = 1;
    for (int i = 0; i < kMaxRowCol; ++i) m_colResizable[i] = m_rowResizable[i] = true;
}

void CFlatSplitterWnd::SetRowResizable(int row, bool resizable) {
    if (row >= 0 && row < kMaxRowCol) m_rowResizable[row] = resizable;
}

void CFlatSplitterWnd::SetColumnResizable(int col, bool resizable) {
    if (col >= 0 && col < kMaxRowCol) m_colResizable[col] = resizable;
}

RECT CFlatSplitterWnd::GetPaneRect(int row, int col) const {
    if (row < 0 || col < 0 || row >= kMaxRowCol || col >= kMaxRowCol) return RECT{};
    return m_paneRects[row][col];
}

void CFlatSplitterWnd::RecalcLayout() {
    if (!m_hWnd || m_rows == 0) return;
    RECT inside;
    GetInsideRect(inside);
    LayoutRowCol(m_colInfo, m_cols, inside.right - inside.left, m_cxSplitterGap);
    LayoutRowCol(m_rowInfo, m_rows, inside.bottom - inside.top, m_cySplitterGap);

    std::vector<PanePlace> places;
    for (int r = 0, y = inside.top; r < m_rows; y += m_rowInfo[r].curSize + m_cySplitterGap, ++r) {
        for (int c = 0, x = inside.left; c < m_cols; x += m_colInfo[c].curSize + m_cxSplitterGap, ++c) {
            RECT cell{x, y, x + m_colInfo[c].curSize, y + m_rowInfo[r].curSize};
            m_paneRects[r][c] = cell;
            HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(r, c));
            if (!pane) continue;
            // A pane that draws its own edge, or a nested splitter, covers the flat border.
            const bool ownEdge = (::GetWindowLongPtrW(pane, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0 ||
                                 dynamic_cast<CSplitterWnd*>(CWnd::FromHandlePermanent(pane)) != nullptr;
            if (ownEdge) ::InflateRect(&cell, 1, 1);
            places.push_back({pane, cell});
        }
    }
    PlacePanes(places);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFlatSplitterWnd::OnDrawSplitter(HDC dc, ESplitType type, const RECT& rect) {
    if (type != splitBorder || !dc) {
        CSplitterWnd::OnDrawSplitter(dc, type, rect);
        return;
    }
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_cols; ++c) {
            RECT border = m_paneRects[r][c];
            ::InflateRect(&border, m_cxBorder, m_cyBorder);
            if (!::EqualRect(&border, &rect)) continue;
            const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
            const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
            const bool locked = !m_colResizable[c] || !m_rowResizable[r];
            const COLORREF topLeft = shadow;
            const COLORREF bottomRight = locked ? shadow : light;
            // One-pixel lines: flat grey for a locked pane, sunken for a resizable one.
            auto line = [dc](int x0, int y0, int x1, int y1, COLORREF colour) {
                RECT px{x0, y0, x1, y1};
                ::SetBkColor(dc, colour);
                ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &px, nullptr, 0, nullptr);
            };
            line(rect.left, rect.top, rect.right - 1, rect.top + 1, topLeft);
            line(rect.left, rect.top, rect.left + 1, rect.bottom - 1, topLeft);
            line(rect.left, rect.bottom - 1, rect.right, rect.bottom, bottomRight);
            line(rect.right - 1, rect.top, rect.right, rect.bottom, bottomRight);
            return;
        }
    }
    CSplitterWnd::OnDrawSplitter(dc, type, rect);
}

int CFlatSplitterWnd::HitTest(POINT pt) const {
    const int hit = CSplitterWnd::HitTest(pt);
    if (hit >= splitterIntersection1) {
        const int row = (hit - splitterIntersection1) / 15;
        const int col = (hit - splitterIntersection1) % 15;
        const bool rowOk = m_rowResizable[row];
        const bool colOk = m_colResizable[col];
        if (rowOk && colOk) return hit;
        if (colOk) return vSplitterBar1 + col;
        if (rowOk) return hSplitterBar1 + row;
        return noHit;
    }
    if (hit >= vSplitterBar1) return m_colResizable[hit - vSplitterBar1] ? hit : noHit;
    if (hit >= hSplitterBar1) return m_rowResizable[hit - hSplitterBar1] ? hit : noHit;
    return hit;
}
