// Property sheets over template pages, run hidden through the scripted dialog runner, and
// the common dialogs answered through their runner.
#include "framework/CommonDialogs.h"
#include "framework/PropertySheet.h"
#include "framework/TestResources.h"
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A page that records what the sheet told it; it refuses or throws on Apply when asked to.
class RecordingPage : public CPropertyPage {
public:
    RecordingPage(UINT id, std::vector<std::string>& log, const char* name)
        : CPropertyPage(id), m_log(log), m_name(name) {}
    BOOL OnInitDialog() override {
        CPropertyPage::OnInitDialog();
        m_log.push_back(m_name + " init");
        if (throwOnInit) throw std::runtime_error("init");
        return TRUE;
    }
    BOOL OnApply() override {
        m_log.push_back(m_name + " apply");
        if (throwOnApply) throw std::runtime_error("apply");
        return refuse ? FALSE : CPropertyPage::OnApply();
    }
    void OnReset() override { m_log.push_back(m_name + " reset"); }
    bool refuse = false;
    bool throwOnApply = false;
    bool throwOnInit = false;

private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

struct RunnerScope {
    explicit RunnerScope(IDialogRunner* runner) { previous = AfxSetDialogRunner(runner); }
    ~RunnerScope() { AfxSetDialogRunner(previous); }
    IDialogRunner* previous;
};

bool ApplyEnabled(CPropertySheet& sheet) { return IsWindowEnabled(GetDlgItem(sheet.m_hWnd, ID_APPLY_NOW)) != FALSE; }

TEST(PropertySheets, OkReachesOnlyThePagesThatWereShown) {
    std::vector<std::string> log;
    RecordingPage first(IDD_TEST_PAGE1, log, "first"), second(IDD_TEST_PAGE2, log, "second");
    struct Seen { bool visible = true; int active = -1; bool secondMade = true; } seen;
    CScriptedDialogRunner runner([&](CDialog& d) {
        auto& sheet = static_cast<CPropertySheet&>(d);
        seen.visible = IsWindowVisible(sheet.m_hWnd) != FALSE;
        seen.active = sheet.GetActiveIndex();
        seen.secondMade = second.m_hWnd != nullptr;
        sheet.PressButton(PSBTN_OK);
    });
    RunnerScope scope(&runner);
    CPropertySheet sheet(L"設定");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(seen.visible);
    EXPECT_EQ(0, seen.active);
    EXPECT_FALSE(seen.secondMade);
    EXPECT_EQ((std::vector<std::string>{"first init", "first apply"}), log);
    EXPECT_EQ(nullptr, sheet.m_hWnd);
}

TEST(PropertySheets, ApplyKeepsTheSheetOpenAndCancelResetsTheShownPages) {
    std::vector<std::string> log;
    RecordingPage first(IDD_TEST_PAGE1, log, "first"), second(IDD_TEST_PAGE2, log, "second");
    struct Seen { bool applyAtStart = true, applyAfterChange = false, applyAfterApply = true, openAfterApply = false; } seen;
    CScriptedDialogRunner runner([&](CDialog& d) {
        auto& sheet = static_cast<CPropertySheet&>(d);
        sheet.SetActivePage(1);
        seen.applyAtStart = ApplyEnabled(sheet);
        second.SetModified(TRUE);
        seen.applyAfterChange = ApplyEnabled(sheet);
        sheet.PressButton(PSBTN_APPLYNOW);
        seen.applyAfterApply = ApplyEnabled(sheet);
        seen.openAfterApply = !sheet.HasEnded() && sheet.GetActiveIndex() == 1;
        sheet.PressButton(PSBTN_CANCEL);
    });
    RunnerScope scope(&runner);
    CPropertySheet sheet(L"設定");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_FALSE(seen.applyAtStart);
    EXPECT_TRUE(seen.applyAfterChange);
    EXPECT_FALSE(seen.applyAfterApply);
    EXPECT_TRUE(seen.openAfterApply);
    EXPECT_EQ((std::vector<std::string>{"first init", "second init", "first apply", "second apply", "first reset",
                                        "second reset"}),
              log);
}

TEST(PropertySheets, APageThatRefusesOrFailsKeepsTheSheetOpenOnItself) {
    std::vector<std::string> log;
    RecordingPage first(IDD_TEST_PAGE1, log, "first"), second(IDD_TEST_PAGE2, log, "second");
    second.refuse = true;
    first.throwOnApply = true;
    struct Seen { bool endedAfterRefusal = true; int activeAfterRefusal = -1; bool endedAfterThrow = true; } seen;
    CScriptedDialogRunner runner([&](CDialog& d) {
        auto& sheet = static_cast<CPropertySheet&>(d);
        sheet.SetActivePage(1);
        sheet.SetActivePage(0);
        sheet.PressButton(PSBTN_OK);   // the first page fails: the sheet stays
        seen.endedAfterThrow = sheet.HasEnded();
        first.throwOnApply = false;
        sheet.PressButton(PSBTN_OK);   // the second refuses and is shown
        seen.endedAfterRefusal = sheet.HasEnded();
        seen.activeAfterRefusal = sheet.GetActiveIndex();
        second.refuse = false;
        sheet.PressButton(PSBTN_OK);
    });
    RunnerScope scope(&runner);
    CPropertySheet sheet(L"設定");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(seen.endedAfterThrow);
    EXPECT_FALSE(seen.endedAfterRefusal);
    EXPECT_EQ(1, seen.activeAfterRefusal);
}

TEST(PropertySheets, AnExceptionInAPagesSetUpLeavesTheSheetWorking) {
    std::vector<std::string> log;
    RecordingPage first(IDD_TEST_PAGE1, log, "first");
    first.throwOnInit = true;
    CScriptedDialogRunner runner([&](CDialog& d) { static_cast<CPropertySheet&>(d).PressButton(PSBTN_OK); });
    RunnerScope scope(&runner);
    CPropertySheet sheet(L"設定");
    sheet.AddPage(&first);
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ((std::vector<std::string>{"first init", "first apply"}), log);
}

TEST(PropertySheets, WithoutStackedTabsTheTabsStayInOneRow) {
    std::vector<std::string> log;
    RecordingPage first(IDD_TEST_PAGE1, log, "first"), second(IDD_TEST_PAGE2, log, "second");
    LONG_PTR tabStyle = TCS_MULTILINE;
    std::wstring caption;
    CScriptedDialogRunner runner([&](CDialog& d) {
        auto& sheet = static_cast<CPropertySheet&>(d);
        tabStyle = GetWindowLongPtrW(sheet.GetTabControl(), GWL_STYLE);
        caption = sheet.GetWindowText();
    });
    RunnerScope scope(&runner);
    CPropertySheet sheet(L"設定");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.EnableStackedTabs(FALSE);
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(0, tabStyle & TCS_MULTILINE);
    EXPECT_NE(std::wstring::npos, caption.find(L"設定"));
}

// Answers the common dialogs: a colour, a font, a file, or Cancel.
class AnsweringDialogs : public ICommonDialogRunner {
public:
    AnsweringDialogs() { m_previous = AfxSetCommonDialogRunner(this); }
    ~AnsweringDialogs() override { AfxSetCommonDialogRunner(m_previous); }
    BOOL RunColorDialog(CHOOSECOLORW& cc) override {
        initialColor = cc.rgbResult;
        colorFlags = cc.Flags;
        if (cancel) return FALSE;
        cc.rgbResult = RGB(1, 2, 3);
        return TRUE;
    }
    BOOL RunFontDialog(CHOOSEFONTW& cf) override {
        initialFace = cf.lpLogFont->lfFaceName;
        if (cancel) return FALSE;
        lstrcpyW(cf.lpLogFont->lfFaceName, L"Arial");
        cf.iPointSize = 105;
        return TRUE;
    }
    BOOL RunFileDialog(OPENFILENAMEW& ofn, bool open) override {
        wasOpen = open;
        filter = ofn.lpstrFilter ? std::wstring(ofn.lpstrFilter, 19) : std::wstring();
        if (cancel) return FALSE;
        lstrcpyW(ofn.lpstrFile, L"C:\\star.png");
        return TRUE;
    }
    bool cancel = false;
    COLORREF initialColor = 0;
    DWORD colorFlags = 0;
    std::wstring initialFace;
    bool wasOpen = false;
    std::wstring filter;

private:
    ICommonDialogRunner* m_previous = nullptr;
};

TEST(CommonDialogs, ColourFontAndFileDialogsAreAnsweredThroughTheirRunner) {
    AnsweringDialogs answers;
    CColorDialog color(RGB(9, 9, 9), CC_FULLOPEN);
    ASSERT_EQ(IDOK, color.DoModal());
    EXPECT_EQ(RGB(1, 2, 3), color.GetColor());
    EXPECT_EQ(RGB(9, 9, 9), answers.initialColor);
    EXPECT_TRUE(answers.colorFlags & CC_FULLOPEN);

    LOGFONTW lf{};
    lstrcpyW(lf.lfFaceName, L"Tahoma");
    CFontDialog font(&lf);
    ASSERT_EQ(IDOK, font.DoModal());
    EXPECT_EQ(L"Tahoma", answers.initialFace);
    EXPECT_EQ(L"Arial", font.GetFaceName());
    EXPECT_EQ(105, font.GetSize());

    CFileDialog file(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, L"PNG (*.png)|*.png|");
    ASSERT_EQ(IDOK, file.DoModal());
    EXPECT_TRUE(answers.wasOpen);
    EXPECT_EQ(L"C:\\star.png", file.GetPathName());
    EXPECT_EQ(0, answers.filter.compare(0, 19, std::wstring(L"PNG (*.png)\0*.png\0\0", 19)));

    answers.cancel = true;
    CColorDialog cancelled(RGB(9, 9, 9));
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
    CFileDialog none(TRUE);
    EXPECT_EQ(IDCANCEL, none.DoModal());
    EXPECT_EQ(L"", none.GetPathName());
}

}  // namespace
