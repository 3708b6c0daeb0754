// A bar made from a dialog template, inside the frame's rebar: a child whatever its template
// says, sized by the template, its buttons updated at idle time and its notifications passed
// on to the frame.
#include "framework/BarTestFrame.h"
#include "framework/DialogBar.h"
#include "framework/WinApp.h"
#include <gtest/gtest.h>

using namespace bar_test;

namespace {

// A control that hears its own clicks back from whichever window handles them.
class CountingButton : public CWnd {
public:
    int clicks = 0;
    BOOL OnClicked() {
        ++clicks;
        return FALSE;   // the frame may handle the command as well
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CountingButton, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CountingButton::OnClicked)
END_MESSAGE_MAP()

class DialogBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new BarFrame;
        ASSERT_TRUE(frame->Build());
        ASSERT_TRUE(bar.Create(frame, ID_TEST_DIALOG, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS, ID_TEST_DIALOGBAR));
    }
    void TearDown() override {
        app.m_pMainWnd = nullptr;
        if (frame && frame->m_hWnd) frame->DestroyWindow();
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {}
    }
    HWND Item(int id) { return ::GetDlgItem(bar.m_hWnd, id); }
    void Click(int id) {
        ::SendMessageW(bar.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }

    CWinApp app;
    BarFrame* frame = nullptr;
    CDialogBar bar;
};

TEST_F(DialogBarTest, TemplateMakesAChildBarOfTheTemplatesSizeInARebarBand) {
    const LONG_PTR style = ::GetWindowLongPtrW(bar.m_hWnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & (WS_POPUP | WS_CAPTION));
    EXPECT_EQ(::GetParent(bar.m_hWnd), frame->m_hWnd);
    EXPECT_EQ(::GetDlgCtrlID(bar.m_hWnd), ID_TEST_DIALOGBAR);
    EXPECT_EQ(frame->GetControlBar(ID_TEST_DIALOGBAR), &bar);
    EXPECT_NE(Item(ID_TEST_TRACK), nullptr);

    RECT r{};
    ::GetWindowRect(bar.m_hWnd, &r);
    const SIZE size = bar.CalcFixedLayout(FALSE, TRUE);
    EXPECT_EQ(size.cx, r.right - r.left);
    EXPECT_EQ(size.cy, r.bottom - r.top);
    EXPECT_GT(size.cx, size.cy);
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE).cy, size.cy);

    // Laid along the top edge until a rebar band takes it.
    frame->RecalcLayout();
    const RECT placed = frame->ChildRect(bar.m_hWnd);
    EXPECT_EQ(placed.top, frame->ChildRect(frame->rebar.m_hWnd).bottom);
    EXPECT_EQ(placed.bottom - placed.top, size.cy);
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).top, placed.bottom);

    ASSERT_TRUE(frame->rebar.AddBar(&bar, nullptr, nullptr, RBBS_GRIPPERALWAYS | RBBS_BREAK));
    EXPECT_EQ(::GetParent(bar.m_hWnd), frame->rebar.m_hWnd);
    const int band = frame->rebar.FindBand(bar.m_hWnd);
    ASSERT_EQ(band, 2);
    REBARBANDINFOW info;
    CReBarCtrl::PrepareBandInfo(info, RBBIM_CHILDSIZE);
    ASSERT_TRUE(frame->rebar.GetReBarCtrl().GetBandInfo(static_cast<UINT>(band), &info));
    EXPECT_EQ(static_cast<LONG>(info.cyMinChild), size.cy);
    frame->RecalcLayout();
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).top, frame->ChildRect(frame->rebar.m_hWnd).bottom);
}

TEST_F(DialogBarTest, PushButtonsFollowTheCommandRouteAndOtherControlsKeepTheirState) {
    frame->rebar.AddBar(&bar);
    app.m_pMainWnd = frame;
    ::EnableWindow(Item(ID_TEST_TRACK), FALSE);
    app.OnIdle(0);
    EXPECT_TRUE(::IsWindowEnabled(Item(ID_TEST_B)));    // the frame handles B
    EXPECT_FALSE(::IsWindowEnabled(Item(ID_TEST_C)));   // nobody handles C
    EXPECT_FALSE(::IsWindowEnabled(Item(ID_TEST_TRACK)));
    ::EnableWindow(Item(ID_TEST_TRACK), TRUE);
    app.OnIdle(0);
    EXPECT_TRUE(::IsWindowEnabled(Item(ID_TEST_TRACK)));

    Click(ID_TEST_B);
    EXPECT_EQ(frame->bCount, 1);
}

TEST_F(DialogBarTest, AControlHearsItsNotificationOnceOnItsWayToTheFrame) {
    frame->rebar.AddBar(&bar);
    CountingButton button;
    ASSERT_TRUE(button.SubclassWindow(Item(ID_TEST_B)));
    Click(ID_TEST_B);
    EXPECT_EQ(button.clicks, 1);
    EXPECT_EQ(frame->bCount, 1);
    button.UnsubclassWindow();
}

}  // namespace
