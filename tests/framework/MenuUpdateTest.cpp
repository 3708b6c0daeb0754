// Update handlers of a popup's items run when the popup opens.
#include "framework/FrameIds.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include <gtest/gtest.h>

namespace {

enum : UINT { ID_DISABLED_BY_FRAME = 401, ID_CHECKED_BY_VIEW, ID_COMMAND_ONLY, ID_NOBODY, ID_RADIO, ID_IN_SUBMENU };

class MenuView : public CView {
public:
    void OnUpdateChecked(CCmdUI* ui) { ui->SetCheck(1); }
    void OnUpdateRadio(CCmdUI* ui) { ui->SetRadio(TRUE); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MenuView, CView)
    ON_UPDATE_COMMAND_UI(ID_CHECKED_BY_VIEW, &MenuView::OnUpdateChecked)
    ON_UPDATE_COMMAND_UI(ID_RADIO, &MenuView::OnUpdateRadio)
END_MESSAGE_MAP()

class MenuFrame : public CFrameWnd {
public:
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnCommandOnly() {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MenuFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_DISABLED_BY_FRAME, &MenuFrame::OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(ID_IN_SUBMENU, &MenuFrame::OnUpdateDisabled)
    ON_COMMAND(ID_COMMAND_ONLY, &MenuFrame::OnCommandOnly)
END_MESSAGE_MAP()

class MenuUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new MenuFrame;
        ASSERT_TRUE(frame->CreateEx(0, nullptr, L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, 0));
        auto* view = new MenuView;
        ASSERT_TRUE(view->Create(WS_CHILD | WS_VISIBLE, RECT{}, frame->m_hWnd, AFX_IDW_PANE_FIRST, nullptr));
        frame->SetActiveView(view);
        menu = CreatePopupMenu();
        sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, ID_IN_SUBMENU, L"下");
        AppendMenuW(menu, MF_STRING, ID_DISABLED_BY_FRAME, L"A");
        AppendMenuW(menu, MF_STRING, ID_CHECKED_BY_VIEW, L"B");
        AppendMenuW(menu, MF_STRING | MF_GRAYED, ID_COMMAND_ONLY, L"C");
        AppendMenuW(menu, MF_STRING, ID_NOBODY, L"D");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"E");
        AppendMenuW(menu, MF_STRING, ID_RADIO, L"F");
    }
    void TearDown() override {
        DestroyMenu(menu);
        if (frame->m_hWnd) frame->DestroyWindow();
    }
    void Open(HMENU popup, BOOL sysMenu = FALSE) {
        SendMessageW(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, sysMenu));
    }
    UINT State(HMENU m, UINT id) { return GetMenuState(m, id, MF_BYCOMMAND); }
    MenuFrame* frame = nullptr;
    HMENU menu = nullptr;
    HMENU sub = nullptr;
};

TEST_F(MenuUpdate, ItemsTakeTheStateTheirHandlersGiveAlongTheCommandRoute) {
    Open(menu);
    EXPECT_TRUE(State(menu, ID_DISABLED_BY_FRAME) & MF_GRAYED);
    EXPECT_TRUE(State(menu, ID_CHECKED_BY_VIEW) & MF_CHECKED);
    EXPECT_FALSE(State(menu, ID_CHECKED_BY_VIEW) & MF_GRAYED);
    EXPECT_FALSE(State(menu, ID_COMMAND_ONLY) & MF_GRAYED) << "a command handler enables its item";
    EXPECT_TRUE(State(menu, ID_NOBODY) & MF_GRAYED) << "nobody handles it";
    MENUITEMINFOW radio{sizeof radio};
    radio.fMask = MIIM_FTYPE | MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoW(menu, ID_RADIO, FALSE, &radio));
    EXPECT_TRUE(radio.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(radio.fState & MFS_CHECKED);
    // A submenu is updated when it opens itself.
    EXPECT_FALSE(State(sub, ID_IN_SUBMENU) & MF_GRAYED);
    Open(sub);
    EXPECT_TRUE(State(sub, ID_IN_SUBMENU) & MF_GRAYED);
}

TEST_F(MenuUpdate, WithoutAutomaticEnablingAndForTheSystemMenuUnhandledItemsStayAsTheyAre) {
    Open(menu, TRUE);
    EXPECT_FALSE(State(menu, ID_DISABLED_BY_FRAME) & MF_GRAYED) << "the system menu is left alone";
    frame->m_bAutoMenuEnable = FALSE;
    Open(menu);
    EXPECT_FALSE(State(menu, ID_NOBODY) & MF_GRAYED);
    EXPECT_TRUE(State(menu, ID_COMMAND_ONLY) & MF_GRAYED);
    EXPECT_TRUE(State(menu, ID_DISABLED_BY_FRAME) & MF_GRAYED);
}

}  // namespace
