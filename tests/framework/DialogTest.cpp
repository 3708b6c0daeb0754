// Dialogs from templates, driven through the scripted runner, and the control wrappers
// that take over their controls.
#include "framework/CommonCtrls.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/TestResources.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A form that asks for a name: OK is enabled only while the name is not empty.
class NameDialog : public CDialog {
public:
    explicit NameDialog(UINT templateId = IDD_TEST_FORM) : CDialog(templateId) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_edit.SubclassDlgItem(IDC_TEST_EDIT, this);
        m_edit.SetWindowText(m_name);
        return TRUE;
    }
    void OnEditChange() {
        m_name = m_edit.GetWindowText();
        GetDlgItem(IDOK)->EnableWindow(!m_name.empty());
    }
    void OnOK() override {
        m_confirmed = m_name;
        CDialog::OnOK();
    }
    LRESULT OnEndWith(WPARAM wp, LPARAM) {
        EndDialog(static_cast<int>(wp));
        return 0;
    }
    std::wstring m_name;
    std::wstring m_confirmed;
    CEdit m_edit;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NameDialog, CDialog)
    ON_CONTROL(EN_CHANGE, IDC_TEST_EDIT, &NameDialog::OnEditChange)
    ON_MESSAGE(WM_APP, &NameDialog::OnEndWith)
END_MESSAGE_MAP()

// Installs a runner for one test and restores the system's afterwards.
struct RunnerScope {
    explicit RunnerScope(IDialogRunner* runner) { previous = AfxSetDialogRunner(runner); }
    ~RunnerScope() { AfxSetDialogRunner(previous); }
    IDialogRunner* previous;
};

HWND Item(CDialog& d, int id) { return GetDlgItem(d.m_hWnd, id); }

TEST(Dialog, AModalDialogIsDrivenThroughItsControlsWithoutAModalLoop) {
    struct Seen { bool visible = true, okAtStart = true, okAfterTyping = false; HWND edit = nullptr; } seen;
    CScriptedDialogRunner runner([&](CDialog& d) {
        seen.visible = IsWindowVisible(d.m_hWnd) != FALSE;
        seen.okAtStart = IsWindowEnabled(Item(d, IDOK)) != FALSE;
        seen.edit = Item(d, IDC_TEST_EDIT);
        SetWindowTextW(seen.edit, L"新しいフォルダ");   // raises EN_CHANGE like typing
        seen.okAfterTyping = IsWindowEnabled(Item(d, IDOK)) != FALSE;
        SendMessageW(Item(d, IDOK), BM_CLICK, 0, 0);
    });
    RunnerScope scope(&runner);
    NameDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(seen.visible) << "a visible template still runs hidden under a script";
    EXPECT_FALSE(seen.okAtStart);
    EXPECT_TRUE(seen.okAfterTyping);
    EXPECT_EQ(dialog.m_confirmed, L"新しいフォルダ");
    // The window is gone, and the edit's wrapper let go of it with its dialog.
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.m_edit.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(seen.edit));
    EXPECT_EQ(runner.m_runs, 1);
}

TEST(Dialog, CancelCloseAndAnUnfinishedScriptGiveCancel) {
    const std::vector<std::function<void(CDialog&)>> scripts = {
        [](CDialog& d) { SendMessageW(Item(d, IDCANCEL), BM_CLICK, 0, 0); },
        [](CDialog& d) { SendMessageW(d.m_hWnd, WM_CLOSE, 0, 0); },
        [](CDialog&) {},
    };
    for (size_t i = 0; i < scripts.size(); ++i) {
        CScriptedDialogRunner runner(scripts[i]);
        RunnerScope scope(&runner);
        NameDialog dialog;
        EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "script " << i;
        EXPECT_TRUE(dialog.m_confirmed.empty()) << "script " << i;
    }
}

TEST(Dialog, TheSystemModalLoopDeliversMessagesThroughTheMessageMap) {
    // The dialog posts itself a message that its map answers by ending it; the loop runs it
    // before the dialog (not visible in its template) is ever shown.
    class SelfEnding : public NameDialog {
    public:
        SelfEnding() : NameDialog(IDD_TEST_QUIET) {}
        BOOL OnInitDialog() override {
            NameDialog::OnInitDialog();
            PostMessage(WM_APP, 42);
            return TRUE;
        }
    };
    RunnerScope scope(nullptr);
    SelfEnding dialog;
    dialog.m_name = L"x";
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.m_name, L"x");
}

TEST(Dialog, AMissingTemplateFailsWithoutRunning) {
    CScriptedDialogRunner runner([](CDialog&) { ADD_FAILURE() << "nothing to drive"; });
    RunnerScope scope(&runner);
    CDialog dialog(12345);
    EXPECT_EQ(dialog.DoModal(), -1);
    RunnerScope system(nullptr);
    EXPECT_EQ(dialog.DoModal(), -1);
}

// A child dialog of the kind that fills a pane, colouring its controls.
class PaneDialog : public CDialog {
public:
    HBRUSH OnCtlColor(HDC dc, CWnd* wnd, UINT type) {
        if (type == CTLCOLOR_STATIC && wnd && wnd->GetDlgCtrlID() == IDC_TEST_LABEL) return m_brush;
        return CDialog::OnCtlColor(dc, wnd, type);
    }
    HBRUSH m_brush = CreateSolidBrush(RGB(1, 2, 3));
    ~PaneDialog() override { DeleteObject(m_brush); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PaneDialog, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class ParentWindow : public CWnd {
public:
    ParentWindow() { CreateEx(0, nullptr, L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, 0); }
};

TEST(Dialog, AModelessChildDialogLivesInItsParentAndColoursItsControls) {
    ParentWindow parent;
    PaneDialog pane;
    ASSERT_TRUE(pane.Create(IDD_TEST_PANE, &parent));
    EXPECT_EQ(GetParent(pane.m_hWnd), parent.m_hWnd);
    EXPECT_FALSE(IsWindowVisible(pane.m_hWnd));
    HDC dc = GetDC(pane.m_hWnd);
    const LRESULT label = SendMessageW(pane.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(Item(pane, IDC_TEST_LABEL)));
    const LRESULT edit = SendMessageW(pane.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(Item(pane, IDC_TEST_EDIT)));
    ReleaseDC(pane.m_hWnd, dc);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(label), pane.m_brush);
    EXPECT_NE(edit, 0) << "other controls keep the dialog's default colours";
    EXPECT_NE(reinterpret_cast<HBRUSH>(edit), pane.m_brush);
    // Enter in a pane does not end it.
    pane.EndDialog(IDOK);
    EXPECT_TRUE(IsWindow(pane.m_hWnd));
    HWND h = pane.m_hWnd;
    pane.DestroyWindow();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(pane.m_hWnd, nullptr);
}

TEST(Dialog, AWrapperThatDiesFirstGivesItsControlBackAndAnOwnedControlGoesWithIt) {
    ParentWindow parent;
    CDialog pane;
    ASSERT_TRUE(pane.Create(IDD_TEST_PANE, &parent));
    HWND edit = Item(pane, IDC_TEST_EDIT);
    HWND made = nullptr;
    {
        CEdit wrapper;
        ASSERT_TRUE(wrapper.SubclassDlgItem(IDC_TEST_EDIT, &pane));
        EXPECT_EQ(CWnd::FromHandlePermanent(edit), &wrapper);
        EXPECT_FALSE(CEdit().SubclassDlgItem(IDC_TEST_EDIT, &pane)) << "one object per window";
        CButton button;
        ASSERT_TRUE(button.Create(L"ボタン", WS_CHILD | BS_PUSHBUTTON, RECT{0, 0, 50, 20}, &pane, 77));
        made = button.m_hWnd;
        EXPECT_EQ(CWnd::FromHandlePermanent(made), &button);
    }
    EXPECT_TRUE(IsWindow(edit));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    SetWindowTextW(edit, L"まだ使える");
    EXPECT_EQ(pane.GetDlgItemText(IDC_TEST_EDIT), L"まだ使える");
    EXPECT_FALSE(IsWindow(made));
    // A plain wrapper from GetDlgItem neither takes over nor destroys the window.
    CWnd* plain = pane.GetDlgItem(IDC_TEST_EDIT);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->m_hWnd, edit);
    EXPECT_EQ(pane.GetDlgItem(IDC_TEST_EDIT), plain);
    EXPECT_EQ(pane.GetDlgItem(9999), nullptr);
}

}  // namespace
