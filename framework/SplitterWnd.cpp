#include "framework/SplitterWnd.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/View.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_CANCELMODE()
    ON_MESSAGE(WM_CAPTURECHANGED, &CSplitterWnd::OnCaptureChanged)
END_MESSAGE_MAP()

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id) {
    if (m_hWnd || !parent || !parent->m_hWnd || rows < 1 || cols < 1 || rows > kMaxRowCol || cols > kMaxRowCol)
        return FALSE;
    m_rows = rows;
    m_cols = cols;
    for (auto& info : m_rowInfo) info = CRowColInfo{};
    for (auto& info : m_colInfo) info = CRowColInfo{};
    RECT r{0, 0, 0, 0};
    if (CreateEx(0, nullptr, L"", style | WS_CLIPCHILDREN, r, parent->m_hWnd, id)) return TRUE;
    m_rows = m_cols = 0;
    return FALSE;
}

BOOL CSplitterWnd::CreateView(int row, int col, const std::function<CView*()>& newView, SIZE size,
                              CCreateContext* context) {
    if (!m_hWnd || row < 0 || col < 0 || row >= m_rows || col >= m_cols || !newView) return FALSE;
    if (::GetDlgItem(m_hWnd, IdFromRowCol(row, col))) return FALSE;
    m_colInfo[col].idealSize = size.cx;
    m_rowInfo[row].idealSize = size.cy;
    CView* view = newView();
    if (!view) return FALSE;
    RECT r{0, 0, 0, 0};
    if (!view->Create(WS_CHILD | WS_VISIBLE, r, m_hWnd, static_cast<UINT>(IdFromRowCol(row, col)), context)) {
        if (view->m_pDocument) view->m_pDocument->RemoveView(view);
        delete view;
        return FALSE;
    }
    return TRUE;
}

void CSplitterWnd::GetRowInfo(int row, int& current, int& minimum) const {
    current = minimum = 0;
    if (row < 0 || row >= m_rows) return;
    current = m_rowInfo[row].curSize;
    minimum = m_rowInfo[row].minSize;
}

void CSplitterWnd::SetRowInfo(int row, int ideal, int minimum) {
    if (row < 0 || row >= m_rows) return;
    m_rowInfo[row].idealSize = std::max(ideal, 0);
    m_rowInfo[row].minSize = std::max(minimum, 0);
}

void CSplitterWnd::GetColumnInfo(int col, int& current, int& minimum) const {
    current = minimum = 0;
    if (col < 0 || col >= m_cols) return;
    current = m_colInfo[col].curSize;
    minimum = m_colInfo[col].minSize;
}

void CSplitterWnd::SetColumnInfo(int col, int ideal, int minimum) {
    if (col < 0 || col >= m_cols) return;
    m_colInfo[col].idealSize = std::max(ideal, 0);
    m_colInfo[col].minSize = std::max(minimum, 0);
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
    if (!m_hWnd || row < 0 || col < 0 || row >= m_rows || col >= m_cols) return nullptr;
    return CWnd::FromHandle(::GetDlgItem(m_hWnd, IdFromRowCol(row, col)));
}

bool CSplitterWnd::IsChildPane(HWND wnd, int* row, int* col) const {
    if (!wnd || ::GetParent(wnd) != m_hWnd) return false;
    const int index = ::GetDlgCtrlID(wnd) - IdFromRowCol(0, 0);
    const int r = index / kMaxRowCol;
    const int c = index % kMaxRowCol;
    if (index < 0 || r >= m_rows || c >= m_cols) return false;
    if (row) *row = r;
    if (col) *col = c;
    return true;
}

void CSplitterWnd::GetInsideRect(RECT& rect) const {
    ::GetClientRect(m_hWnd, &rect);
    ::InflateRect(&rect, -m_cxBorder, -m_cyBorder);
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
}

void CSplitterWnd::LayoutRowCol(CRowColInfo* info, int count, int size, int gap) {
    int left = std::max(size, 0);
    for (int i = 0; i < count; ++i) {
        CRowColInfo& one = info[i];
        if (i == count - 1) {
            one.curSize = left;
            break;
        }
        int want = one.idealSize < one.minSize ? 0 : one.idealSize;
        if (left < one.minSize) want = 0;   // no room for it to be useful
        one.curSize = std::min(want, left);
        left = std::max(left - one.curSize - gap, 0);
    }
}

int CSplitterWnd::ColumnLeft(int col) const {
    RECT inside;
    GetInsideRect(inside);
    int x = inside.left;
    for (int c = 0; c < col && c < m_cols; ++c) x += m_colInfo[c].curSize + m_cxSplitterGap;
    return x;
}

int CSplitterWnd::RowTop(int row) const {
    RECT inside;
    GetInsideRect(inside);
    int y = inside.top;
    for (int r = 0; r < row && r < m_rows; ++r) y += m_rowInfo[r].curSize + m_cySplitterGap;
    return y;
}

void CSplitterWnd::RecalcLayout() {
    if (!m_hWnd || m_rows == 0) return;
    RECT inside;
    GetInsideRect(inside);
    LayoutRowCol(m_colInfo, m_cols, inside.right - inside.left, m_cxSplitterGap);
    LayoutRowCol(m_rowInfo, m_rows, inside.bottom - inside.top, m_cySplitterGap);
    std::vector<PanePlace> places;
    for (int r = 0, y = inside.top; r < m_rows; y += m_rowInfo[r].curSize + m_cySplitterGap, ++r) {
        for (int c = 0, x = inside.left; c < m_cols; x += m_colInfo[c].curSize + m_cxSplitterGap, ++c) {
            if (HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(r, c)))
                places.push_back({pane, RECT{x, y, x + m_colInfo[c].curSize, y + m_rowInfo[r].curSize}});
        }
    }
    PlacePanes(places);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSplitterWnd::PlacePanes(const std::vector<PanePlace>& places) {
    std::vector<const PanePlace*> moving;
    for (const PanePlace& place : places) {
        RECT now;
        ::GetWindowRect(place.pane, &now);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&now), 2);
        if (!::EqualRect(&now, &place.rect)) moving.push_back(&place);
    }
    if (moving.empty()) return;
    // No bits are copied: what a pane showed at its old place and size is not what it shows now.
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    HDWP defer = ::BeginDeferWindowPos(static_cast<int>(moving.size()));
    for (const PanePlace* place : moving) {
        const RECT& r = place->rect;
        if (defer)
            defer = ::DeferWindowPos(defer, place->pane, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
        else
            ::SetWindowPos(place->pane, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    }
    if (defer) ::EndDeferWindowPos(defer);
    for (const PanePlace* place : moving) {
        if (::IsWindow(place->pane))
            ::RedrawWindow(place->pane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

int CSplitterWnd::HitTest(POINT pt) const {
    if (!m_hWnd || m_rows == 0) return noHit;
    RECT inside;
    GetInsideRect(inside);
    if (pt.x < inside.left || pt.x >= inside.right || pt.y < inside.top || pt.y >= inside.bottom) return noHit;
    int row = -1;
    for (int r = 0, y = inside.top; r < m_rows - 1; ++r) {
        y += m_rowInfo[r].curSize;
        if (pt.y >= y && pt.y < y + m_cySplitterGap) row = r;
        y += m_cySplitterGap;
    }
    int col = -1;
    for (int c = 0, x = inside.left; c < m_cols - 1; ++c) {
        x += m_colInfo[c].curSize;
        if (pt.x >= x && pt.x < x + m_cxSplitterGap) col = c;
        x += m_cxSplitterGap;
    }
    if (row >= 0 && col >= 0) return splitterIntersection1 + 15 * row + col;
    if (row >= 0) return hSplitterBar1 + row;
    if (col >= 0) return vSplitterBar1 + col;
    return noHit;
}

void CSplitterWnd::OnDrawSplitter(HDC dc, ESplitType type, const RECT& rect) {
    if (!dc) {
        ::InvalidateRect(m_hWnd, &rect, TRUE);
        return;
    }
    RECT r = rect;
    if (type == splitBorder)
        ::DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    else
        ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
}

int CSplitterWnd::OnCreate(LPCREATESTRUCTW) { return 0; }

void CSplitterWnd::OnSize(UINT type, int, int) {
    if (type != SIZE_MINIMIZED) RecalcLayout();
}

BOOL CSplitterWnd::OnEraseBkgnd(HDC) { return TRUE; }   // OnPaint covers everything

void CSplitterWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    RECT inside;
    GetInsideRect(inside);
    // Bars are centred in the gaps; borders surround the panes in the gaps and the outer border.
    const int padX = (m_cxSplitterGap - m_cxSplitter) / 2 - m_cxBorderShare;
    const int padY = (m_cySplitterGap - m_cySplitter) / 2 - m_cyBorderShare;
    for (int c = 0; c < m_cols - 1; ++c) {
        const int x = ColumnLeft(c) + m_colInfo[c].curSize + padX;
        RECT bar{x, inside.top, x + m_cxSplitter + 2 * m_cxBorderShare, inside.bottom};
        OnDrawSplitter(dc, splitBar, bar);
    }
    for (int r = 0; r < m_rows - 1; ++r) {
        const int y = RowTop(r) + m_rowInfo[r].curSize + padY;
        RECT bar{inside.left, y, inside.right, y + m_cySplitter + 2 * m_cyBorderShare};
        OnDrawSplitter(dc, splitBar, bar);
        for (int c = 0; c < m_cols - 1; ++c) {
            const int x = ColumnLeft(c) + m_colInfo[c].curSize + padX;
            RECT cross{x, y, x + m_cxSplitter + 2 * m_cxBorderShare, bar.bottom};
            OnDrawSplitter(dc, splitIntersection, cross);
        }
    }
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_cols; ++c) {
            if (m_colInfo[c].curSize <= 0 || m_rowInfo[r].curSize <= 0) continue;
            const int x = ColumnLeft(c);
            const int y = RowTop(r);
            RECT border{x - m_cxBorder, y - m_cyBorder, x + m_colInfo[c].curSize + m_cxBorder,
                        y + m_rowInfo[r].curSize + m_cyBorder};
            OnDrawSplitter(dc, splitBorder, border);
        }
    }
    ::EndPaint(m_hWnd, &ps);
}

BOOL CSplitterWnd::OnSetCursor(HWND wnd, UINT hitTest, UINT message) {
    if (wnd == m_hWnd && hitTest == HTCLIENT) {
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWnd, &pt);
        const int hit = m_tracking ? (m_trackRow >= 0 && m_trackCol >= 0 ? splitterIntersection1
                                      : m_trackRow >= 0 ? hSplitterBar1 : vSplitterBar1)
                                   : HitTest(pt);
        const wchar_t* cursor = nullptr;
        if (hit >= splitterIntersection1) cursor = IDC_SIZEALL;
        else if (hit >= vSplitterBar1) cursor = IDC_SIZEWE;
        else if (hit >= hSplitterBar1) cursor = IDC_SIZENS;
        if (cursor) {
            ::SetCursor(::LoadCursorW(nullptr, cursor));
            return TRUE;
        }
    }
    return static_cast<BOOL>(DefWindowProc(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(hitTest, message)));
}

void CSplitterWnd::OnLButtonDown(UINT, POINT pt) {
    if (m_tracking) return;
    const int hit = HitTest(pt);
    if (hit < hSplitterBar1) return;
    StartTracking(hit);
    if (m_tracking) {
        // The bars follow the mouse from where they were grabbed.
        m_trackOffset = POINT{m_trackCol >= 0 ? pt.x - (ColumnLeft(m_trackCol) + m_colInfo[m_trackCol].curSize) : 0,
                              m_trackRow >= 0 ? pt.y - (RowTop(m_trackRow) + m_rowInfo[m_trackRow].curSize) : 0};
        MoveTrackers(pt);
    }
}

void CSplitterWnd::StartTracking(int hit) {
    m_trackRow = m_trackCol = -1;
    if (hit >= splitterIntersection1) {
        m_trackRow = (hit - splitterIntersection1) / 15;
        m_trackCol = (hit - splitterIntersection1) % 15;
    } else if (hit >= vSplitterBar1) {
        m_trackCol = hit - vSplitterBar1;
    } else if (hit >= hSplitterBar1) {
        m_trackRow = hit - hSplitterBar1;
    }
    if (m_trackRow >= m_rows - 1 || m_trackCol >= m_cols - 1 || (m_trackRow < 0 && m_trackCol < 0)) {
        m_trackRow = m_trackCol = -1;
        return;
    }
    m_tracking = true;
    m_rowTracker = m_colTracker = RECT{};
    m_focusBeforeTracking = ::SetFocus(m_hWnd);   // for Esc
    ::SetCapture(m_hWnd);
}

void CSplitterWnd::MoveTrackers(POINT pt) {
    RECT inside;
    GetInsideRect(inside);
    RECT rowTracker{}, colTracker{};
    if (m_trackCol >= 0) {
        const int low = ColumnLeft(m_trackCol);
        const int x = std::max(low, std::min<int>(pt.x - m_trackOffset.x, inside.right - m_cxSplitterGap));
        colTracker = RECT{x, inside.top, x + m_cxSplitterGap, inside.bottom};
    }
    if (m_trackRow >= 0) {
        const int low = RowTop(m_trackRow);
        const int y = std::max(low, std::min<int>(pt.y - m_trackOffset.y, inside.bottom - m_cySplitterGap));
        rowTracker = RECT{inside.left, y, inside.right, y + m_cySplitterGap};
    }
    if (::EqualRect(&rowTracker, &m_rowTracker) && ::EqualRect(&colTracker, &m_colTracker)) return;
    DrawTrackers();   // inverting again takes the old ones away
    m_rowTracker = rowTracker;
    m_colTracker = colTracker;
    DrawTrackers();
}

void CSplitterWnd::DrawTrackers() {
    // A half-tone pattern inverted over everything, panes included.
    static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HDC dc = ::GetDCEx(m_hWnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
    if (!dc) return;
    HBITMAP bits = ::CreateBitmap(8, 8, 1, 1, pattern);
    HBRUSH brush = bits ? ::CreatePatternBrush(bits) : nullptr;
    HGDIOBJ old = brush ? ::SelectObject(dc, brush) : nullptr;
    for (const RECT* r : {&m_colTracker, &m_rowTracker})
        if (!::IsRectEmpty(r)) ::PatBlt(dc, r->left, r->top, r->right - r->left, r->bottom - r->top, PATINVERT);
    if (old) ::SelectObject(dc, old);
    if (brush) ::DeleteObject(brush);
    if (bits) ::DeleteObject(bits);
    ::ReleaseDC(m_hWnd, dc);
}

void CSplitterWnd::OnMouseMove(UINT, POINT pt) {
    if (m_tracking) MoveTrackers(pt);
}

void CSplitterWnd::OnLButtonUp(UINT, POINT) { StopTracking(TRUE); }

void CSplitterWnd::OnKeyDown(UINT key, UINT, UINT) {
    if (key == VK_ESCAPE) StopTracking(FALSE);
}

void CSplitterWnd::OnCancelMode() { StopTracking(FALSE); }

LRESULT CSplitterWnd::OnCaptureChanged(WPARAM, LPARAM) {
    StopTracking(FALSE);
    return 0;
}

void CSplitterWnd::StopTracking(BOOL accept) {
    if (!m_tracking) return;
    m_tracking = false;   // first: releasing the capture comes back here
    DrawTrackers();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (m_focusBeforeTracking && ::IsWindow(m_focusBeforeTracking)) ::SetFocus(m_focusBeforeTracking);
    m_focusBeforeTracking = nullptr;
    if (accept) {
        if (m_trackCol >= 0) m_colInfo[m_trackCol].idealSize = m_colTracker.left - ColumnLeft(m_trackCol);
        if (m_trackRow >= 0) m_rowInfo[m_trackRow].idealSize = m_rowTracker.top - RowTop(m_trackRow);
        RecalcLayout();
    }
    m_trackRow = m_trackCol = -1;
    m_rowTracker = m_colTracker = RECT{};
}
