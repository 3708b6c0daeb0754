// The flat splitter: thin bars, locked rows and columns, pane borders.
#include "framework/CtrlView.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "ui/controls/DibDC.h"
#include "ui/controls/FlatSplitterWnd.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

class CountingView : public CView {
public:
    LRESULT OnMoved(WPARAM wp, LPARAM lp) {
        ++moves;
        return DefWindowProc(WM_WINDOWPOSCHANGED, wp, lp);
    }
    int moves = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CountingView, CView)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, &CountingView::OnMoved)
END_MESSAGE_MAP()

// Paints a picture that differs at every point of its client area, so that pixels kept from
// another place or size show.
class PatternView : public CView {
public:
    void OnDraw(HDC dc) override {
        RECT client;
        GetClientRect(&client);
        CDibDC picture(dc, client.right, client.bottom);
        if (!picture.Ok()) return;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x) picture.Pixels()[y * client.right + x] = RGB(x * 3, y * 3, x + y);
        BitBlt(dc, 0, 0, client.right, client.bottom, picture, 0, 0, SRCCOPY);
    }
};

class RowsView : public CListView {
public:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override {
        cs.style |= LVS_REPORT;
        return CListView::PreCreateWindow(cs);
    }
};

// The pixels of a window's client area as the screen holds them.
std::vector<DWORD> ClientPixels(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    CDibDC copy(dc, client.right, client.bottom);
    BitBlt(copy, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
    return std::vector<DWORD>(copy.Pixels(), copy.Pixels() + static_cast<size_t>(client.right) * client.bottom);
}

// A frame with a client of 400 x 300 holding a flat splitter of two rows and two columns,
// each pane 100 x 100 but the last ones, which take the rest.
class FlatSplitter : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CFrameWnd;
        RECT r{0, 0, 400, 300};
        AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
        ASSERT_TRUE(frame->CreateEx(0, nullptr, L"", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left, r.bottom - r.top, nullptr, 0));
        ASSERT_TRUE(splitter.CreateStatic(frame, 2, 2));
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 2; ++col)
                ASSERT_TRUE(splitter.CreateView(row, col, [] { return new CountingView; }, SIZE{100, 100}, nullptr));
        frame->RecalcLayout();
    }
    void TearDown() override {
        if (frame->m_hWnd) frame->DestroyWindow();
    }
    CFrameWnd* frame = nullptr;
    CFlatSplitterWnd splitter;
    // Border 1, gap 5: the bars lie at 101..105.
    static constexpr int kBar = 103;
    static constexpr int kInPane = 50;
};

TEST_F(FlatSplitter, PanesSitInsideAOnePixelBorderWithFivePixelGaps) {
    const RECT first = splitter.GetPaneRect(0, 0);
    EXPECT_EQ(first.left, 1);
    EXPECT_EQ(first.top, 1);
    EXPECT_EQ(first.right, 101);
    const RECT last = splitter.GetPaneRect(1, 1);
    EXPECT_EQ(last.left, 106);
    EXPECT_EQ(last.top, 106);
    EXPECT_EQ(last.right, 399);
    EXPECT_EQ(last.bottom, 299);
    RECT placed;
    GetWindowRect(splitter.GetPane(1, 1)->m_hWnd, &placed);
    MapWindowPoints(nullptr, splitter.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(EqualRect(&placed, &last));
}

TEST_F(FlatSplitter, APaneThatIsASplitterCoversTheBorderAndUnmovedPanesAreLeftAlone) {
    CFlatSplitterWnd outer;
    ASSERT_TRUE(outer.CreateStatic(frame, 1, 2, WS_CHILD, 300));
    CFlatSplitterWnd inner;
    ASSERT_TRUE(inner.CreateStatic(&outer, 2, 1, WS_CHILD | WS_VISIBLE, outer.IdFromRowCol(0, 0)));
    ASSERT_TRUE(outer.CreateView(0, 1, [] { return new CountingView; }, SIZE{0, 0}, nullptr));
    outer.SetColumnInfo(0, 120, 0);
    SetWindowPos(outer.m_hWnd, nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    RECT nested;
    GetWindowRect(inner.m_hWnd, &nested);
    MapWindowPoints(nullptr, outer.m_hWnd, reinterpret_cast<POINT*>(&nested), 2);
    RECT cell = outer.GetPaneRect(0, 0);
    InflateRect(&cell, 1, 1);
    EXPECT_TRUE(EqualRect(&nested, &cell));

    auto* view = static_cast<CountingView*>(outer.GetPane(0, 1));
    const int before = view->moves;
    outer.RecalcLayout();
    EXPECT_EQ(view->moves, before);
    outer.SetColumnInfo(0, 130, 0);
    outer.RecalcLayout();
    EXPECT_EQ(view->moves, before + 1);
}

TEST_F(FlatSplitter, LockedRowsAndColumnsReportNoBar) {
    using S = CSplitterWnd;
    struct Case { bool rowOk, colOk; int x, y, hit; };
    const Case cases[] = {
        {true, true, kInPane, kBar, S::hSplitterBar1},
        {false, true, kInPane, kBar, S::noHit},
        {true, true, kBar, kInPane, S::vSplitterBar1},
        {true, false, kBar, kInPane, S::noHit},
        {true, true, kBar, kBar, S::splitterIntersection1},
        {false, true, kBar, kBar, S::vSplitterBar1},   // a locked row's crossing is the column's bar
        {true, false, kBar, kBar, S::hSplitterBar1},
        {false, false, kBar, kBar, S::noHit},
    };
    for (const Case& c : cases) {
        splitter.SetRowResizable(0, c.rowOk);
        splitter.SetColumnResizable(0, c.colOk);
        EXPECT_EQ(splitter.HitTest(POINT{c.x, c.y}), c.hit) << c.rowOk << c.colOk << " at " << c.x << "," << c.y;
    }
}

TEST_F(FlatSplitter, ALockedBarDoesNotDragWhileTheOtherBarsDo) {
    splitter.SetRowResizable(0, false);
    SendMessageW(splitter.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kInPane, kBar));
    EXPECT_FALSE(splitter.IsTracking());
    EXPECT_NE(GetCapture(), splitter.m_hWnd);

    // The cursor follows the same hit test (OnSetCursor); it is not checked here because test
    // programs running side by side share the display's mouse position.

    // The column's bar still drags.
    SendMessageW(splitter.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kBar, kInPane));
    EXPECT_TRUE(splitter.IsTracking());
    SendMessageW(splitter.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(kBar + 20, kInPane));
    SendMessageW(splitter.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(kBar + 20, kInPane));
    int width = 0, minimum = 0;
    splitter.GetColumnInfo(0, width, minimum);
    EXPECT_EQ(width, 120);
}

TEST_F(FlatSplitter, ALockedPaneHasAFlatGreyFrameAndAResizableOneASunkenEdge) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 300);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto frameOf = [&](int row, int col, COLORREF& topLeft, COLORREF& bottomRight) {
        RECT border = splitter.GetPaneRect(row, col);
        InflateRect(&border, 1, 1);
        PatBlt(dc, 0, 0, 400, 300, WHITENESS);
        splitter.OnDrawSplitter(dc, CSplitterWnd::splitBorder, border);
        topLeft = GetPixel(dc, border.left, border.top + 5);
        bottomRight = GetPixel(dc, border.right - 1, border.bottom - 5);
    };
    // Colours as the display gives them back.
    PatBlt(dc, 0, 0, 2, 1, WHITENESS);
    SetPixel(dc, 0, 0, GetSysColor(COLOR_BTNSHADOW));
    SetPixel(dc, 1, 0, GetSysColor(COLOR_BTNHIGHLIGHT));
    const COLORREF shadow = GetPixel(dc, 0, 0);
    const COLORREF light = GetPixel(dc, 1, 0);
    ASSERT_NE(shadow, light);

    splitter.SetRowResizable(0, false);
    COLORREF topLeft = 0, bottomRight = 0;
    frameOf(0, 1, topLeft, bottomRight);
    EXPECT_EQ(topLeft, shadow);
    EXPECT_EQ(bottomRight, shadow);
    frameOf(1, 1, topLeft, bottomRight);
    EXPECT_EQ(topLeft, shadow);
    EXPECT_EQ(bottomRight, light);

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(FlatSplitterDrawing, ABarMovedEitherWayLeavesEveryPaneAsAFullRedrawDrawsIt) {
    // As in the main window: a column of two panes on each side, each a splitter of its own.
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 400, 300, nullptr, 0));
    CFlatSplitterWnd outer, left, right;
    ASSERT_TRUE(outer.CreateStatic(frame, 1, 2));
    ASSERT_TRUE(left.CreateStatic(&outer, 2, 1, WS_CHILD | WS_VISIBLE, outer.IdFromRowCol(0, 0)));
    ASSERT_TRUE(right.CreateStatic(&outer, 2, 1, WS_CHILD | WS_VISIBLE, outer.IdFromRowCol(0, 1)));
    for (CFlatSplitterWnd* column : {&left, &right}) {
        ASSERT_TRUE(column->CreateView(0, 0, [] { return new PatternView; }, SIZE{0, 100}, nullptr));
        ASSERT_TRUE(column->CreateView(1, 0, [] { return new RowsView; }, SIZE{0, 0}, nullptr));
        CListCtrl& list = static_cast<RowsView*>(column->GetPane(1, 0))->GetListCtrl();
        list.InsertColumn(0, L"番号", LVCFMT_LEFT, 60);
        for (int i = 0; i < 20; ++i) list.InsertItem(i, (L"曲 " + std::to_wstring(i + 1)).c_str());
    }
    outer.SetColumnInfo(0, 150, 0);
    frame->RecalcLayout();
    // Painting is what this checks: a hidden window keeps no update region.
    ShowWindow(frame->m_hWnd, SW_SHOWNOACTIVATE);
    RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Border 1 and a 150-pixel column: the bar lies at 151..155.
    for (const POINT& move : {POINT{153, 203}, POINT{203, 123}}) {
        SCOPED_TRACE(std::to_string(move.x) + " to " + std::to_string(move.y));
        SendMessageW(outer.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(move.x, 150));
        SendMessageW(outer.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(move.y, 150));
        SendMessageW(outer.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(move.y, 150));
        // What the move asked to be drawn is drawn, and nothing more is asked; then everything.
        RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const std::vector<DWORD> afterMove = ClientPixels(frame->m_hWnd);
        RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(afterMove == ClientPixels(frame->m_hWnd));
    }
    frame->DestroyWindow();
}

}  // namespace
