#pragma once
#include "framework/FrameIds.h"
#include "framework/Wnd.h"
#include <functional>
#include <vector>

class CView;
struct CCreateContext;

// A static splitter: a fixed grid of up to 16 x 16 panes, each a window with the id
// IdFromRowCol(row, col), separated by bars the user drags to resize rows and columns.
// A splitter may itself be the pane of another splitter.
class CSplitterWnd : public CWnd {
public:
    static constexpr int kMaxRowCol = 16;

    // What a point of the splitter lies on (HitTest).
    enum HitCode {
        noHit = 0,
        hSplitterBar1 = 101,          // the horizontal bar below row r: 101 + r
        vSplitterBar1 = 201,          // the vertical bar after column c: 201 + c
        splitterIntersection1 = 301,  // where both cross: 301 + 15 * r + c
    };
    // What OnDrawSplitter draws: a bar, where two bars cross, or the border around a pane.
    enum ESplitType { splitBar, splitIntersection, splitBorder };

    CSplitterWnd() = default;

    // Makes the splitter as a child of `parent` (a frame, or a pane of another splitter with
    // the id of that pane).
    virtual BOOL CreateStatic(CWnd* parent, int rows, int cols, DWORD style = WS_CHILD | WS_VISIBLE,
                              UINT id = AFX_IDW_PANE_FIRST);
    // Makes the view of one pane from `newView`, for the document of `context`, with `size`
    // as the ideal width of its column and height of its row.
    virtual BOOL CreateView(int row, int col, const std::function<CView*()>& newView, SIZE size,
                            CCreateContext* context);

    int GetRowCount() const { return m_rows; }
    int GetColumnCount() const { return m_cols; }
    // `current` is the size as last laid out; the ideal size is what layout aims for.
    void GetRowInfo(int row, int& current, int& minimum) const;
    void SetRowInfo(int row, int ideal, int minimum);
    void GetColumnInfo(int col, int& current, int& minimum) const;
    void SetColumnInfo(int col, int ideal, int minimum);

    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * kMaxRowCol + col; }
    bool IsChildPane(HWND wnd, int* row, int* col) const;

    // Lays rows, columns and panes out for the current client size.
    virtual void RecalcLayout();
    // The part of the splitter under a client point (HitCode).
    virtual int HitTest(POINT pt) const;
    // Draws one part; with a null `dc` the part is only invalidated.
    virtual void OnDrawSplitter(HDC dc, ESplitType type, const RECT& rect);

    // While a bar is being dragged.
    bool IsTracking() const { return m_tracking; }

protected:
    struct CRowColInfo {
        int minSize = 0;
        int idealSize = 0;
        int curSize = 0;
    };

    // The client area less the outer border.
    virtual void GetInsideRect(RECT& rect) const;
    // Sizes `count` rows or columns to fill `size`: each gets its ideal size while room is
    // left, one that cannot get its minimum gets 0, and the last takes the rest.
    static void LayoutRowCol(CRowColInfo* info, int count, int size, int gap);
    // The left edge of column `col` (top edge of row `row`) as last laid out.
    int ColumnLeft(int col) const;
    int RowTop(int row) const;

    struct PanePlace {
        HWND pane;
        RECT rect;   // in the splitter's client coordinates
    };
    // Moves the panes in one deferred pass, leaving alone those already in place. A moved
    // pane keeps none of its old pixels: it is drawn again whole, its children too, so that
    // after a bar's move every pane shows what a full redraw would show.
    void PlacePanes(const std::vector<PanePlace>& places);

    virtual void StartTracking(int hit);
    virtual void StopTracking(BOOL accept);

    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message);
    void OnLButtonDown(UINT flags, POINT pt);
    void OnMouseMove(UINT flags, POINT pt);
    void OnLButtonUp(UINT flags, POINT pt);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnCancelMode();
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    int m_rows = 0;
    int m_cols = 0;
    CRowColInfo m_rowInfo[kMaxRowCol];
    CRowColInfo m_colInfo[kMaxRowCol];

    // Metrics: the drawn width of a bar, how far a bar reaches over the pane borders, the
    // space between two panes, and the outer border (also the pane border's width).
    int m_cxSplitter = 6, m_cySplitter = 6;
    int m_cxBorderShare = 0, m_cyBorderShare = 0;
    int m_cxSplitterGap = 6, m_cySplitterGap = 6;
    int m_cxBorder = 2, m_cyBorder = 2;

private:
    void DrawTrackers();
    void MoveTrackers(POINT pt);

    bool m_tracking = false;
    int m_trackRow = -1;          // the row whose lower bar is dragged, or -1
    int m_trackCol = -1;          // the column whose right bar is dragged, or -1
    POINT m_trackOffset{};        // from the dragged bars' top-left corner to the mouse
    RECT m_rowTracker{};
    RECT m_colTracker{};
    HWND m_focusBeforeTracking = nullptr;
};
