// The static splitter inside a frame: layout, panes, hit tests and dragged bars; views over
// system controls.
#include "framework/CtrlView.h"
#include "framework/FrameIds.h"
#include "framework/FrameWnd.h"
#include "framework/SplitterWnd.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class PaneView : public CView {
public:
    void OnDraw(HDC) override { ++draws; }
    // As when the focus passes through the views while their frame is destroyed.
    void OnDestroy() { ::SendMessageW(m_hWnd, WM_SETFOCUS, 0, 0); }
    int draws = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PaneView, CView)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

class ListPane : public CListView {
public:
    void OnDraw(HDC) override { ++draws; }
    void OnInserted(NMHDR*, LRESULT*) { ++inserted; }
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override {
        cs.style |= LVS_REPORT;
        return CListView::PreCreateWindow(cs);
    }
    int OnCreate(LPCREATESTRUCTW) {
        created = true;
        return 0;
    }
    int draws = 0;
    int inserted = 0;
    bool created = false;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ListPane, CListView)
    ON_NOTIFY_REFLECT(LVN_INSERTITEM, &ListPane::OnInserted)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// Client 400 x 300: an outer splitter of one row and two columns; on the left a splitter of
// two rows with two plain views, on the right a list view.
class SplitterFrame : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CFrameWnd;
        RECT r{0, 0, 400, 300};
        AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
        ASSERT_TRUE(frame->CreateEx(0, nullptr, L"", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left, r.bottom - r.top, nullptr, 0));
        ASSERT_TRUE(outer.CreateStatic(frame, 1, 2));
        ASSERT_TRUE(left.CreateStatic(&outer, 2, 1, WS_CHILD | WS_VISIBLE, outer.IdFromRowCol(0, 0)));
        ASSERT_TRUE(left.CreateView(0, 0, [] { return new PaneView; }, SIZE{150, 100}, nullptr));
        ASSERT_TRUE(left.CreateView(1, 0, [] { return new PaneView; }, SIZE{0, 0}, nullptr));
        ASSERT_TRUE(outer.CreateView(0, 1, [] { return new ListPane; }, SIZE{0, 0}, nullptr));
        outer.SetColumnInfo(0, 150, 10);
        frame->RecalcLayout();
    }
    void TearDown() override {
        if (frame->m_hWnd) frame->DestroyWindow();
    }
    static RECT RectIn(HWND child, HWND parent) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static void Mouse(CWnd& w, UINT msg, int x, int y) { SendMessageW(w.m_hWnd, msg, msg == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(x, y)); }
    CFrameWnd* frame = nullptr;
    CSplitterWnd outer;
    CSplitterWnd left;
};

TEST_F(SplitterFrame, TheFrameGivesItsClientToThePaneWindowAndTheSplitterLaysOutItsPanes) {
    RECT client;
    GetClientRect(frame->m_hWnd, &client);
    const RECT outerRect = RectIn(outer.m_hWnd, frame->m_hWnd);
    EXPECT_TRUE(EqualRect(&outerRect, &client));

    // Border 2 around, gap 6 between: the first column keeps its ideal width, the last the rest.
    int width = 0, minimum = 0;
    outer.GetColumnInfo(0, width, minimum);
    EXPECT_EQ(width, 150);
    EXPECT_EQ(minimum, 10);
    outer.GetColumnInfo(1, width, minimum);
    EXPECT_EQ(width, 400 - 2 - 150 - 6 - 2);
    const RECT list = RectIn(outer.GetPane(0, 1)->m_hWnd, outer.m_hWnd);
    EXPECT_EQ(list.left, 2 + 150 + 6);
    EXPECT_EQ(list.top, 2);
    EXPECT_EQ(list.bottom, 300 - 2);
    const RECT nested = RectIn(left.m_hWnd, outer.m_hWnd);
    EXPECT_EQ(nested.left, 2);
    EXPECT_EQ(nested.right, 152);
    int height = 0;
    left.GetRowInfo(0, height, minimum);
    EXPECT_EQ(height, 100);
    left.GetRowInfo(1, height, minimum);
    EXPECT_EQ(height, 296 - 2 - 100 - 6 - 2);

    EXPECT_EQ(outer.GetPane(0, 0), &left);
    EXPECT_NE(dynamic_cast<ListPane*>(outer.GetPane(0, 1)), nullptr);
    EXPECT_EQ(outer.GetPane(0, 2), nullptr);
    int row = -1, col = -1;
    EXPECT_TRUE(outer.IsChildPane(outer.GetPane(0, 1)->m_hWnd, &row, &col));
    EXPECT_EQ(col, 1);
    EXPECT_FALSE(outer.IsChildPane(left.GetPane(0, 0)->m_hWnd, &row, &col));
}

TEST_F(SplitterFrame, RowsThatCannotGetTheirMinimumAreHidden) {
    struct Case { int ideal0, min0, height; int expect0, expect1; };
    const Case cases[] = {
        // Heights less the border of 2 on each side, and the gap of 6.
        {100, 0, 300, 100, 300 - 4 - 100 - 6},   // room for both
        {5, 10, 300, 0, 300 - 4 - 6},            // ideal below minimum: hidden
        {250, 0, 200, 200 - 4, 0},               // the first fills what there is, the last gets the rest
        {100, 120, 100, 0, 100 - 4 - 6},         // no room for the minimum
    };
    for (const Case& c : cases) {
        left.SetRowInfo(0, c.ideal0, c.min0);
        SetWindowPos(left.m_hWnd, nullptr, 0, 0, 100, c.height, SWP_NOZORDER | SWP_NOMOVE);
        left.RecalcLayout();   // also when the size stayed the same
        int size = 0, minimum = 0;
        left.GetRowInfo(0, size, minimum);
        EXPECT_EQ(size, c.expect0) << c.ideal0 << "/" << c.min0 << " in " << c.height;
        left.GetRowInfo(1, size, minimum);
        EXPECT_EQ(size, c.expect1) << c.ideal0 << "/" << c.min0 << " in " << c.height;
    }
}

TEST_F(SplitterFrame, HitTestsFindBarsAndTheirCrossingOnlyBetweenPanes) {
    CSplitterWnd grid;
    ASSERT_TRUE(grid.CreateStatic(frame, 3, 3, WS_CHILD, 77));
    for (int i = 0; i < 3; ++i) {
        grid.SetRowInfo(i, 50, 0);
        grid.SetColumnInfo(i, 50, 0);
    }
    SetWindowPos(grid.m_hWnd, nullptr, 0, 0, 300, 300, SWP_NOZORDER | SWP_NOMOVE);
    // Panes start at 2; each is 50 wide with a gap of 6 after it.
    const int bar0 = 2 + 50 + 3, bar1 = 2 + 50 + 6 + 50 + 3, pane0 = 20, pane1 = 80;
    struct Case { int x, y, hit; };
    const Case cases[] = {
        {pane0, pane0, CSplitterWnd::noHit},
        {bar0, pane1, CSplitterWnd::vSplitterBar1},
        {bar1, pane0, CSplitterWnd::vSplitterBar1 + 1},
        {pane1, bar0, CSplitterWnd::hSplitterBar1},
        {pane0, bar1, CSplitterWnd::hSplitterBar1 + 1},
        {bar0, bar0, CSplitterWnd::splitterIntersection1},
        {bar1, bar0, CSplitterWnd::splitterIntersection1 + 1},
        {bar0, bar1, CSplitterWnd::splitterIntersection1 + 15},
        {1, pane0, CSplitterWnd::noHit},   // the outer border
    };
    for (const Case& c : cases) EXPECT_EQ(grid.HitTest(POINT{c.x, c.y}), c.hit) << c.x << "," << c.y;
}

TEST_F(SplitterFrame, ADraggedBarResizesItsColumnAndEscapeCancels) {
    const int bar = 2 + 150 + 3;
    Mouse(outer, WM_LBUTTONDOWN, bar, 100);
    EXPECT_TRUE(outer.IsTracking());
    EXPECT_EQ(GetCapture(), outer.m_hWnd);
    Mouse(outer, WM_MOUSEMOVE, bar + 40, 120);
    Mouse(outer, WM_LBUTTONUP, bar + 40, 120);
    EXPECT_FALSE(outer.IsTracking());
    EXPECT_NE(GetCapture(), outer.m_hWnd);
    int width = 0, minimum = 0;
    outer.GetColumnInfo(0, width, minimum);
    EXPECT_EQ(width, 190);
    EXPECT_EQ(RectIn(outer.GetPane(0, 1)->m_hWnd, outer.m_hWnd).left, 2 + 190 + 6);

    Mouse(outer, WM_LBUTTONDOWN, bar + 40, 100);
    Mouse(outer, WM_MOUSEMOVE, bar - 60, 100);
    SendMessageW(outer.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(outer.IsTracking());
    Mouse(outer, WM_LBUTTONUP, bar - 60, 100);
    outer.GetColumnInfo(0, width, minimum);
    EXPECT_EQ(width, 190);

    // A bar cannot be dragged past the edges.
    Mouse(outer, WM_LBUTTONDOWN, bar + 40, 100);
    Mouse(outer, WM_MOUSEMOVE, -500, 100);
    Mouse(outer, WM_LBUTTONUP, -500, 100);
    outer.GetColumnInfo(0, width, minimum);
    EXPECT_EQ(width, 0);
}

TEST_F(SplitterFrame, AViewThatTakesTheFocusBecomesTheActiveView) {
    auto* top = dynamic_cast<CView*>(left.GetPane(0, 0));
    auto* list = dynamic_cast<CView*>(outer.GetPane(0, 1));
    ASSERT_NE(top, nullptr);
    ASSERT_NE(list, nullptr);
    SendMessageW(top->m_hWnd, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(frame->GetActiveView(), top);
    SendMessageW(list->m_hWnd, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(frame->GetActiveView(), list);
    // A view going away never becomes active again, even with the focus.
    SendMessageW(top->m_hWnd, WM_SETFOCUS, 0, 0);
    DestroyWindow(top->m_hWnd);
    EXPECT_EQ(frame->GetActiveView(), nullptr);
}

TEST_F(SplitterFrame, AListViewPaintsItselfAndHearsItsOwnNotifications) {
    auto* view = dynamic_cast<ListPane*>(outer.GetPane(0, 1));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->created) << "the view's map sees the control's creation";
    wchar_t cls[64] = {};
    GetClassNameW(view->m_hWnd, cls, 64);
    EXPECT_EQ(std::wstring(cls), std::wstring(WC_LISTVIEWW));

    CListCtrl& list = view->GetListCtrl();
    list.InsertColumn(0, L"タイトル", LVCFMT_LEFT, 100);
    EXPECT_EQ(list.InsertItem(0, L"一"), 0);
    EXPECT_EQ(list.GetItemText(0, 0), L"一");
    EXPECT_EQ(view->inserted, 1) << "the splitter reflects the list's notification to the view";

    // The control's own painting: its background colour reaches a memory bitmap.
    const COLORREF back = RGB(200, 10, 10);
    list.SetBkColor(back);
    RECT client;
    GetClientRect(view->m_hWnd, &client);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, client.right, client.bottom, WHITENESS);
    SendMessageW(view->m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(view->m_hWnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    const COLORREF corner = GetPixel(dc, client.right - 2, client.bottom - 2);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_EQ(corner, back);
    InvalidateRect(view->m_hWnd, nullptr, TRUE);
    SendMessageW(view->m_hWnd, WM_PAINT, 0, 0);
    EXPECT_EQ(view->draws, 0) << "the view's own drawing never replaces the control's";
}

}  // namespace
