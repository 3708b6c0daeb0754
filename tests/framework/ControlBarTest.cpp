// Control bars in a frame: layout along the edges, toggles, idle update through the command
// route, the message pane and tool tips.
#include "framework/BarTestFrame.h"
#include "framework/MessageBox.h"
#include "framework/PopupMenu.h"
#include "framework/ToolTips.h"
#include "framework/WinApp.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace bar_test;

namespace {

class ControlBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new BarFrame;
        ASSERT_TRUE(frame->Build());
    }
    void TearDown() override {
        AfxCancelToolTips();
        app.m_pMainWnd = nullptr;
        if (frame && frame->m_hWnd) frame->DestroyWindow();
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {}
    }
    void Command(UINT id) { ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // The state of a command as the frame's update handlers leave it.
    CCmdUI Update(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        frame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui);
        return ui;
    }
    // Hands the message loop a mouse move at `pt` in `window`'s client area.
    void MouseMove(HWND window, POINT pt) {
        MSG msg{};
        msg.hwnd = window;
        msg.message = WM_MOUSEMOVE;
        msg.lParam = MAKELPARAM(pt.x, pt.y);
        app.PreTranslateMessage(&msg);
    }
    POINT ButtonCentre(CToolBar& bar, UINT id) {
        RECT r{};
        bar.GetItemRect(bar.CommandToIndex(id), &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    int Height(HWND h) {
        RECT r{};
        ::GetWindowRect(h, &r);
        return r.bottom - r.top;
    }

    CWinApp app;
    BarFrame* frame = nullptr;
};

TEST_F(ControlBarTest, BarsTakeTheEdgesAndTheViewTheRest) {
    const RECT client = frame->ClientRect();
    const RECT rebar = frame->ChildRect(frame->rebar.m_hWnd);
    const RECT status = frame->ChildRect(frame->status.m_hWnd);
    const RECT view = frame->ChildRect(frame->view->m_hWnd);

    EXPECT_EQ(rebar.top, 0);
    EXPECT_EQ(rebar.left, 0);
    EXPECT_EQ(rebar.right, client.right);
    EXPECT_GT(rebar.bottom, 0);
    EXPECT_EQ(frame->rebar.GetReBarCtrl().GetRowCount(), 2u);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.right, client.right);
    EXPECT_GT(status.bottom - status.top, 0);
    EXPECT_EQ(view.top, rebar.bottom);
    EXPECT_EQ(view.bottom, status.top);
    EXPECT_EQ(view.left, 0);
    EXPECT_EQ(view.right, client.right);

    // The frame knows its bars in creation order; bars in the rebar are among them.
    ASSERT_EQ(frame->GetControlBars().size(), 4u);
    EXPECT_EQ(frame->GetControlBars()[0], &frame->rebar);
    EXPECT_EQ(frame->GetControlBar(AFX_IDW_TOOLBAR), &frame->second);
    EXPECT_EQ(frame->GetControlBar(AFX_IDW_STATUS_BAR), &frame->status);
}

TEST_F(ControlBarTest, BarTogglesShowAndHideBarsAndTheViewTakesTheRoom) {
    const RECT client = frame->ClientRect();
    const int rebarHeight = Height(frame->rebar.m_hWnd);
    EXPECT_EQ(Update(ID_VIEW_STATUS_BAR).m_check, 1);
    EXPECT_EQ(Update(ID_VIEW_TOOLBAR).m_check, 1);

    Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame->status.IsVisible());
    EXPECT_EQ(Update(ID_VIEW_STATUS_BAR).m_check, 0);
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).bottom, client.bottom);

    // The toolbar of the second row goes with its band: the rebar loses a row.
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(frame->second.IsVisible());
    EXPECT_EQ(Update(ID_VIEW_TOOLBAR).m_check, 0);
    EXPECT_LT(Height(frame->rebar.m_hWnd), rebarHeight);
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).top, frame->ChildRect(frame->rebar.m_hWnd).bottom);

    Command(ID_VIEW_TOOLBAR);
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(frame->second.IsVisible());
    EXPECT_TRUE(frame->status.IsVisible());
    EXPECT_EQ(Height(frame->rebar.m_hWnd), rebarHeight);
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).bottom, frame->ChildRect(frame->status.m_hWnd).top);

    // A toggle without its bar is disabled.
    frame->status.DestroyWindow();
    EXPECT_FALSE(Update(ID_VIEW_STATUS_BAR).m_enabled);
}

TEST_F(ControlBarTest, AHeldLayoutWaitsForItsReleaseAndThenRunsOnce) {
    const RECT client = frame->ClientRect();
    const RECT before = frame->ChildRect(frame->view->m_hWnd);
    frame->HoldLayout();
    frame->HoldLayout();
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame->status.IsVisible());
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).bottom, before.bottom);
    frame->ReleaseLayout();   // still held once
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).bottom, before.bottom);
    frame->ReleaseLayout();
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).bottom, client.bottom);

    // A release with nothing due lays nothing out; one too many is ignored.
    frame->HoldLayout();
    ::MoveWindow(frame->view->m_hWnd, 0, 0, 10, 10, FALSE);
    frame->ReleaseLayout();
    frame->ReleaseLayout();
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).right, 10);
    frame->RecalcLayout();
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).right, client.right);
}

TEST_F(ControlBarTest, StatusPanesKeepTheirWidthsAndTheMessagePaneStretches) {
    RECT message{}, fixed{};
    frame->status.GetItemRect(0, &message);
    frame->status.GetItemRect(1, &fixed);
    const int fixedWidth = fixed.right - fixed.left;
    EXPECT_GE(fixedWidth, 80);
    EXPECT_LT(fixedWidth, 100);
    EXPECT_LE(message.right, fixed.left);
    EXPECT_GT(message.right - message.left, 400);

    ::SetWindowPos(frame->m_hWnd, nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    RECT narrowMessage{}, narrowFixed{};
    frame->status.GetItemRect(0, &narrowMessage);
    frame->status.GetItemRect(1, &narrowFixed);
    EXPECT_EQ(narrowFixed.right - narrowFixed.left, fixedWidth);
    EXPECT_LT(narrowMessage.right - narrowMessage.left, message.right - message.left);
}

TEST_F(ControlBarTest, IdleTimeUpdatesButtonsThroughTheCommandRoute) {
    app.m_pMainWnd = frame;
    CToolBarCtrl& ctrl = frame->first.GetToolBarCtrl();
    app.OnIdle(0);
    // A: the view's update handler; B: the frame handles it; C and LONG: nobody does.
    EXPECT_FALSE(ctrl.IsButtonEnabled(ID_TEST_A));
    EXPECT_TRUE(ctrl.IsButtonChecked(ID_TEST_A));
    EXPECT_TRUE(ctrl.IsButtonEnabled(ID_TEST_B));
    EXPECT_FALSE(ctrl.IsButtonEnabled(ID_TEST_C));
    EXPECT_FALSE(ctrl.IsButtonEnabled(ID_TEST_LONG));
    EXPECT_TRUE(::IsWindowEnabled(frame->combo));   // a control on a separator is its own

    frame->view->aEnabled = true;
    frame->view->aCheck = 0;
    app.OnIdle(0);
    EXPECT_TRUE(ctrl.IsButtonEnabled(ID_TEST_A));
    EXPECT_FALSE(ctrl.IsButtonChecked(ID_TEST_A));

    // Only later idle passes of the same period find nothing to do; a hidden bar keeps its
    // buttons as they are.
    frame->view->aEnabled = false;
    app.OnIdle(1);
    EXPECT_TRUE(ctrl.IsButtonEnabled(ID_TEST_A));
    frame->ShowControlBar(&frame->first, FALSE, FALSE);
    app.OnIdle(0);
    EXPECT_TRUE(ctrl.IsButtonEnabled(ID_TEST_A));

    // A button's click, which the toolbar sends to the rebar, and a control's notification,
    // which reaches the toolbar, both go on to the frame.
    ::SendMessageW(frame->rebar.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_B, BN_CLICKED),
                   reinterpret_cast<LPARAM>(frame->first.m_hWnd));
    EXPECT_EQ(frame->bCount, 1);
    ::SendMessageW(frame->first.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_B, BN_CLICKED),
                   reinterpret_cast<LPARAM>(frame->combo));
    EXPECT_EQ(frame->bCount, 2);
}

TEST_F(ControlBarTest, MessagePaneShowsPromptsOfSelectedMenuItems) {
    HMENU menu = ::CreatePopupMenu();
    auto select = [&](UINT item, UINT flags, HMENU m) {
        ::SendMessageW(frame->m_hWnd, WM_MENUSELECT, MAKEWPARAM(item, flags), reinterpret_cast<LPARAM>(m));
        return frame->status.GetPaneText(0);
    };
    EXPECT_EQ(select(ID_TEST_A, MF_STRING | MF_HILITE, menu), L"Aの状態");
    EXPECT_EQ(select(2, MF_POPUP | MF_HILITE, menu), L"");
    EXPECT_EQ(select(ID_TEST_B, MF_STRING | MF_HILITE, menu), L"Bの状態");
    EXPECT_EQ(select(SC_CLOSE, MF_STRING | MF_SYSMENU, menu), L"");
    EXPECT_EQ(select(0, 0xFFFF, nullptr), L"レディ");
    ::DestroyMenu(menu);

    // The set-message-string message takes an id or a text and tells the id shown before.
    EXPECT_EQ(::SendMessageW(frame->m_hWnd, WM_SETMESSAGESTRING, ID_TEST_C, 0), AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ(frame->status.GetPaneText(0), L"Cの状態");
    ::SendMessageW(frame->m_hWnd, WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(L"処理中…"));
    EXPECT_EQ(frame->status.GetPaneText(0), L"処理中…");
    EXPECT_EQ(frame->status.GetWindowText(), L"処理中…");
    EXPECT_EQ(frame->status.GetPaneText(1), L"Cの状態\nC");   // the indicator keeps its own text
}

TEST_F(ControlBarTest, MouseOverAButtonShowsItsPromptUntilItLeavesTheBar) {
    MouseMove(frame->first.m_hWnd, ButtonCentre(frame->first, ID_TEST_B));
    EXPECT_EQ(frame->status.GetPaneText(0), L"Bの状態");
    RECT combo = frame->ChildRect(frame->combo);
    ::MapWindowPoints(frame->m_hWnd, frame->first.m_hWnd, reinterpret_cast<POINT*>(&combo), 2);
    MouseMove(frame->first.m_hWnd, POINT{(combo.left + combo.right) / 2, (combo.top + combo.bottom) / 2});
    EXPECT_EQ(frame->status.GetPaneText(0), L"コンボの状態");
    MouseMove(frame->view->m_hWnd, POINT{10, 10});
    EXPECT_EQ(frame->status.GetPaneText(0), L"レディ");
}

TEST_F(ControlBarTest, ToolHitTestFindsButtonsAndControlsOnSeparators) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    EXPECT_EQ(frame->first.OnToolHitTest(ButtonCentre(frame->first, ID_TEST_A), &ti), ID_TEST_A);
    EXPECT_EQ(ti.hwnd, frame->first.m_hWnd);
    EXPECT_EQ(ti.uId, static_cast<UINT_PTR>(ID_TEST_A));
    EXPECT_EQ(ti.lpszText, LPSTR_TEXTCALLBACKW);

    TOOLINFOW onCombo{};
    onCombo.cbSize = sizeof onCombo;
    RECT r{};
    frame->first.GetItemRect(2, &r);
    EXPECT_EQ(frame->first.OnToolHitTest(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, &onCombo), ID_TEST_COMBO);
    EXPECT_TRUE(onCombo.uFlags & TTF_IDISHWND);
    EXPECT_EQ(onCombo.uId, reinterpret_cast<UINT_PTR>(frame->combo));

    RECT client{};
    ::GetClientRect(frame->first.m_hWnd, &client);
    EXPECT_EQ(frame->first.OnToolHitTest(POINT{client.right - 2, 2}, nullptr), -1);
    // A hidden button is no tool.
    frame->first.GetToolBarCtrl().HideButton(ID_TEST_LONG);
    frame->first.GetItemRect(frame->first.CommandToIndex(ID_TEST_C), &r);
    EXPECT_EQ(frame->first.OnToolHitTest(POINT{r.right + 4, (r.top + r.bottom) / 2}, nullptr), -1);
}

TEST_F(ControlBarTest, TipTextsComeFromTheStringTableCutToTheirBuffer) {
    auto tip = [&](UINT_PTR idFrom, UINT flags) {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = frame->first.m_hWnd;
        info.hdr.idFrom = idFrom;
        info.hdr.code = TTN_NEEDTEXTW;
        info.uFlags = flags;
        // What lies beyond the buffer must stay untouched.
        for (wchar_t& c : info.szText) c = L'#';
        ::SendMessageW(frame->first.m_hWnd, WM_NOTIFY, idFrom, reinterpret_cast<LPARAM>(&info));
        return std::wstring(info.lpszText ? info.lpszText : L"");
    };
    EXPECT_EQ(tip(ID_TEST_A, 0), L"Aのヒント");
    EXPECT_EQ(tip(reinterpret_cast<UINT_PTR>(frame->combo), TTF_IDISHWND), L"コンボ");

    const std::wstring full = AfxLoadStringPart(ID_TEST_LONG, 1);
    ASSERT_EQ(full.size(), 100u);
    const std::wstring cut = tip(ID_TEST_LONG, 0);
    EXPECT_EQ(cut.size(), 79u);
    EXPECT_EQ(cut, full.substr(0, 79));
    // 79 characters fit exactly, with the terminator as the buffer's last character.
    EXPECT_EQ(tip(ID_TEST_EXACT, 0), AfxLoadStringPart(ID_TEST_EXACT, 1));

    NMTTDISPINFOW info{};
    AfxSetToolTipText(&info.hdr, std::wstring(500, L'x'));
    EXPECT_EQ(info.szText[79], L'\0');
    EXPECT_EQ(std::wstring(info.szText), std::wstring(79, L'x'));
}

TEST_F(ControlBarTest, NextAndPreviousPaneCycleThroughTheViews) {
    auto* other = new BarView;
    ASSERT_TRUE(other->Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, frame->m_hWnd, AFX_IDW_PANE_FIRST + 1, nullptr));
    EXPECT_TRUE(Update(ID_NEXT_PANE).m_enabled);

    Command(ID_NEXT_PANE);
    EXPECT_EQ(frame->GetActiveView(), other);
    Command(ID_NEXT_PANE);
    EXPECT_EQ(frame->GetActiveView(), frame->view);
    Command(ID_PREV_PANE);
    EXPECT_EQ(frame->GetActiveView(), other);

    // A hidden view is passed over; with one view left there is nowhere to go.
    other->ShowWindow(SW_HIDE);
    Command(ID_PREV_PANE);
    EXPECT_EQ(frame->GetActiveView(), frame->view);
    EXPECT_FALSE(Update(ID_NEXT_PANE).m_enabled);
}

// A status bar that draws a pane itself, as the main window's does.
class DrawnStatusBar : public CStatusBar {
public:
    std::vector<UINT> drawn;
    std::wstring text;
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        drawn.push_back(dis->itemID);
        text = GetPaneText(static_cast<int>(dis->itemID));
    }
};

TEST_F(ControlBarTest, OwnerDrawnPanesAreDrawnByTheirStatusBar) {
    DrawnStatusBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | CBRS_BOTTOM, 0x7700));
    const UINT indicators[] = {ID_SEPARATOR, ID_TEST_C};
    bar.SetIndicators(indicators, 2);
    bar.SetPaneInfo(1, ID_TEST_C, SBPS_OWNERDRAW, 60);
    bar.SetPaneText(1, L"12 曲 / 40:00");
    ::SetWindowPos(bar.m_hWnd, nullptr, 0, 0, 300, 20, SWP_NOZORDER | SWP_NOACTIVATE);

    // The control asks its parent, the frame, to draw the owner-drawn pane (it paints only
    // while shown, so the request is made here as the control makes it); the frame hands it
    // back to the bar.
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_STATIC;
    dis.CtlID = 0x7700;
    dis.itemID = 1;
    dis.hwndItem = bar.m_hWnd;
    dis.hDC = ::GetDC(bar.m_hWnd);
    bar.GetItemRect(1, &dis.rcItem);
    EXPECT_TRUE(::SendMessageW(frame->m_hWnd, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis)));
    ::ReleaseDC(bar.m_hWnd, dis.hDC);

    ASSERT_EQ(bar.drawn.size(), 1u);
    EXPECT_EQ(bar.drawn[0], 1u);
    EXPECT_EQ(bar.text, L"12 曲 / 40:00");
    bar.DestroyWindow();
}

// A bar of its own window class, as the menu bar is.
class OwnClassBar : public CControlBar {
public:
    bool created = false;
    int paints = 0;
    int OnCreate(LPCREATESTRUCTW) {
        created = true;
        return 0;
    }
    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override {
        return horz ? SIZE{stretch ? 32767 : 200, 24} : SIZE{120, stretch ? 32767 : 300};
    }
    void DoPaint(HDC) override { ++paints; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(OwnClassBar, CControlBar)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(ControlBarTest, BarsOfTheirOwnClassCreatePaintAndTakeALeftEdge) {
    const wchar_t* cls = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
                                             ::GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(cls, AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
                                       ::GetSysColorBrush(COLOR_BTNFACE)));
    OwnClassBar bar;
    ASSERT_TRUE(bar.Create(cls, L"Side", WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT | CBRS_GRIPPER | CBRS_SIZE_FIXED,
                           RECT{0, 0, 0, 0}, frame, 0x7400));
    EXPECT_TRUE(bar.created);
    EXPECT_EQ(bar.GetBarStyle(), CBRS_ALIGN_LEFT | CBRS_GRIPPER | CBRS_SIZE_FIXED);
    EXPECT_FALSE(::GetWindowLongPtrW(bar.m_hWnd, GWL_STYLE) & WS_DLGFRAME);   // the gripper bit is the bar's
    EXPECT_EQ(frame->GetControlBars().back(), &bar);

    frame->RecalcLayout();
    const RECT rebar = frame->ChildRect(frame->rebar.m_hWnd);
    const RECT side = frame->ChildRect(bar.m_hWnd);
    const RECT status = frame->ChildRect(frame->status.m_hWnd);
    EXPECT_EQ(side.left, 0);
    EXPECT_EQ(side.right, 120);
    EXPECT_EQ(side.top, rebar.bottom);
    EXPECT_EQ(side.bottom, status.top);
    EXPECT_EQ(frame->ChildRect(frame->view->m_hWnd).left, 120);

    ::SendMessageW(bar.m_hWnd, WM_PAINT, 0, 0);
    EXPECT_EQ(bar.paints, 1);

    // Every band hidden: the rebar takes no room.
    frame->ShowControlBar(&frame->first, FALSE, FALSE);
    frame->ShowControlBar(&frame->second, FALSE, FALSE);
    EXPECT_EQ(frame->ChildRect(bar.m_hWnd).top, 0);
    bar.DestroyWindow();
    EXPECT_EQ(frame->GetControlBars().size(), 4u);
}

struct FakeMenuPresenter : IPopupMenuPresenter {
    int calls = 0;
    HMENU menu = nullptr;
    UINT flags = 0;
    POINT at{};
    HWND owner = nullptr;
    RECT exclude{};
    BOOL answer = 0;
    BOOL Track(HMENU m, UINT f, int x, int y, HWND o, const TPMPARAMS* params) override {
        ++calls;
        menu = m;
        flags = f;
        at = POINT{x, y};
        owner = o;
        if (params) exclude = params->rcExclude;
        return answer;
    }
};

// A tip control that keeps what it is told: whether it shows, and whether the last mouse move
// relayed to it lay on its tool (what makes a tip show once its delay runs out). Registered in
// this module under the tip control's class name, so that the thread finds it as any tip.
LRESULT CALLBACK StandInTipProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TTM_POP) ::ShowWindow(window, SW_HIDE);
    if (msg == TTM_RELAYEVENT && reinterpret_cast<const MSG*>(lParam)->message == WM_MOUSEMOVE) {
        const LPARAM at = reinterpret_cast<const MSG*>(lParam)->lParam;
        const bool onTool = static_cast<short>(LOWORD(at)) >= 0 && static_cast<short>(HIWORD(at)) >= 0;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, onTool);
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

// Notes, when a menu is tracked, whether the tip showed or was about to.
class TipWatchingPresenter : public IPopupMenuPresenter {
public:
    BOOL Track(HMENU, UINT, int, int, HWND, const TPMPARAMS*) override {
        tipShown = ::IsWindowVisible(tip) != FALSE;
        tipPending = ::GetWindowLongPtrW(tip, GWLP_USERDATA) != 0;
        return 0;
    }
    HWND tip = nullptr;
    bool tipShown = true, tipPending = true;
};

TEST_F(ControlBarTest, APopupMenuOpensWithNoTipShownOrAboutToShow) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = StandInTipProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = TOOLTIPS_CLASSW;
    ASSERT_TRUE(::RegisterClassW(&wc));
    TipWatchingPresenter watcher;
    watcher.tip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 50, 20, frame->m_hWnd, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(watcher.tip, nullptr);
    // Shown over its tool, with the mouse still there.
    ::ShowWindow(watcher.tip, SW_SHOWNOACTIVATE);
    ::SetWindowLongPtrW(watcher.tip, GWLP_USERDATA, 1);
    IPopupMenuPresenter* previous = AfxSetPopupMenuPresenter(&watcher);
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, ID_TEST_B, L"B");
    AfxTrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, frame->m_hWnd);
    EXPECT_FALSE(watcher.tipShown);
    EXPECT_FALSE(watcher.tipPending);
    ::DestroyMenu(menu);
    AfxSetPopupMenuPresenter(previous);
    ::DestroyWindow(watcher.tip);
    ::UnregisterClassW(TOOLTIPS_CLASSW, ::GetModuleHandleW(nullptr));
}

TEST_F(ControlBarTest, PopupMenusGoThroughTheReplaceablePresenter) {
    FakeMenuPresenter fake;
    fake.answer = ID_TEST_B;
    IPopupMenuPresenter* previous = AfxSetPopupMenuPresenter(&fake);
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, ID_TEST_B, L"B");
    TPMPARAMS params{};
    params.cbSize = sizeof params;
    params.rcExclude = RECT{1, 2, 3, 4};
    EXPECT_EQ(AfxTrackPopupMenu(menu, TPM_RETURNCMD, 10, 20, frame->m_hWnd, &params), ID_TEST_B);
    EXPECT_EQ(fake.calls, 1);
    EXPECT_EQ(fake.menu, menu);
    EXPECT_EQ(fake.flags, static_cast<UINT>(TPM_RETURNCMD));
    EXPECT_EQ(fake.at.x, 10);
    EXPECT_EQ(fake.at.y, 20);
    EXPECT_EQ(fake.owner, frame->m_hWnd);
    EXPECT_EQ(fake.exclude.bottom, 4);
    EXPECT_FALSE(AfxTrackPopupMenu(nullptr, 0, 0, 0, frame->m_hWnd));
    EXPECT_EQ(fake.calls, 1);
    ::DestroyMenu(menu);
    EXPECT_EQ(AfxSetPopupMenuPresenter(previous), &fake);
}

}  // namespace
