#pragma once
#include "framework/SplitterWnd.h"

// The splitter of the main window's pane layout: thin flat bars, and rows or columns whose
// bars can be locked so they can be neither dragged nor show a resize cursor.
class CFlatSplitterWnd : public CSplitterWnd {
public:
    CFlatSplitterWnd();

    // Every row and column starts resizable; the owner locks the bar below a row or after a
    // column by clearing its flag.
    void SetRowResizable(int row, bool resizable);
    void SetColumnResizable(int col, bool resizable);
    bool IsRowResizable(int row) const { return row >= 0 && row < kMaxRowCol && m_rowResizable[row]; }
    bool IsColumnResizable(int col) const { return col >= 0 && col < kMaxRowCol && m_colResizable[col]; }
    // The cell of a pane as last laid out (before a pane with an edge of its own grows by one
    // pixel on every side).
    RECT GetPaneRect(int row, int col) const;

    void RecalcLayout() override;
    void OnDrawSplitter(HDC dc, ESplitType type, const RECT& rect) override;
    int HitTest(POINT pt) const override;

private:
    bool m_colResizable[kMaxRowCol];
    bool m_rowResizable[kMaxRowCol];
    RECT m_paneRects[kMaxRowCol][kMaxRowCol] = {};
};
