// The settings pages driven through their controls, with the colour, font and file dialogs
// answered through their runner.
#include "OptionsTestSupport.h"
#include "resources/resource.h"
#include "ui/dialogs/PpDefault.h"
#include "ui/dialogs/PpMini.h"
#include <gtest/gtest.h>
#include <ctime>

using namespace opt_test;

namespace {

class SettingsPages : public ::testing::Test {
protected:
    SettingsPages() { SeedFields(lib.settings, 1); }
    doc_test::Library lib;
    RecordingOptionsHost host;
    lib_test::MessageRecorder messages;
    CommonDialogAnswers common;
};

}  // namespace

TEST_F(SettingsPages, CustomRatingIconsNeedBothFilesBeforeTheSheetCloses) {
    lib.settings.generic.ratingIcon00 = L"";
    bool endedAfterRefusal = true, customEnabled = false, standardDisabled = false;
    HWND focusAfterRefusal = nullptr, fullEdit = nullptr;
    std::wstring browsedInto;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        CPropertyPage& basic = Show(d, Basic);
        Pick(basic, IDC_PPD_RATING_TYPE, 2);   // "カスタムアイコン"
        customEnabled = ::IsWindowEnabled(::GetDlgItem(basic, IDC_PPD_STAR_EMPTY)) != FALSE;
        common.files = {L"C:\\icons\\full.png"};
        Press(basic, IDC_PPD_BROWSE_FULL);
        browsedInto = basic.GetDlgItemText(IDC_PPD_STAR_FULL);
        SheetOf(d).PressButton(PSBTN_OK);
        endedAfterRefusal = SheetOf(d).HasEnded();
        focusAfterRefusal = ::GetFocus();
        fullEdit = ::GetDlgItem(basic, IDC_PPD_STAR_FULL);
        Pick(basic, IDC_PPD_RATING_TYPE, 0);   // "標準アイコン1"
        standardDisabled = !::IsWindowEnabled(::GetDlgItem(basic, IDC_PPD_BROWSE_FULL));
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_TRUE(customEnabled);
    EXPECT_EQ(L"C:\\icons\\full.png", browsedInto);
    EXPECT_EQ((std::vector<std::wstring>{L"星有り画像"}), common.fileTitles);
    EXPECT_FALSE(endedAfterRefusal);
    ASSERT_EQ(1u, messages.texts.size());
    EXPECT_EQ(L"画像ファイルを設定してください。", messages.texts[0]);
    EXPECT_TRUE(messages.types[0] & MB_ICONEXCLAMATION);
    EXPECT_EQ(fullEdit, focusAfterRefusal);
    EXPECT_TRUE(standardDisabled);
    EXPECT_EQ(0, lib.settings.generic.ratingType);
    EXPECT_EQ(L"C:\\icons\\full.png", lib.settings.generic.ratingIcon10);
    EXPECT_EQ(L"", lib.settings.generic.ratingIcon00);
}

TEST_F(SettingsPages, BasicPageKeepsTypedFormatsAndUnknownValuesAsTheyAre) {
    lib.settings.generic.imageInterpolationMode = 9;
    lib.settings.generic.ratingType = 5;
    int interpolationShown = 0, ratingShown = -1, dateEntries = 0;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        CPropertyPage& basic = Show(d, Basic);
        interpolationShown = Selection(basic, IDC_PPD_INTERPOLATION);
        ratingShown = Selection(basic, IDC_PPD_RATING_TYPE);
        dateEntries = static_cast<int>(::SendDlgItemMessageW(basic, IDC_PPD_DATE_FORMAT, CB_GETCOUNT, 0, 0));
        Type(basic, IDC_PPD_DATE_FORMAT, L"%H時%M分");
        basic.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PPD_DATE_FORMAT, CBN_EDITCHANGE),
                          reinterpret_cast<LPARAM>(::GetDlgItem(basic, IDC_PPD_DATE_FORMAT)));
        Check(basic, IDC_PPD_RESTORE, false);
        Check(basic, IDC_PPD_CHECK_MODIFY, true);
        Type(basic, IDC_PPD_TRIGGER_START, L"notepad.exe");
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_EQ(-1, interpolationShown);
    EXPECT_EQ(0, ratingShown);   // shows the first type while the field keeps its value
    EXPECT_EQ(8, dateEntries);
    EXPECT_EQ(9, lib.settings.generic.imageInterpolationMode);
    EXPECT_EQ(5, lib.settings.generic.ratingType);
    EXPECT_EQ(L"%H時%M分", lib.settings.generic.dateTimeFormat);
    EXPECT_FALSE(lib.settings.playlistView.playlistRestore);
    EXPECT_TRUE(lib.settings.generic.checkFileModify);
    EXPECT_EQ(L"notepad.exe", lib.settings.bass.playTriggerStart);

    std::wstring shownAgain;
    lib_test::ScriptedDialogs again([&](CDialog& d) {
        shownAgain = Show(d, Basic).GetDlgItemText(IDC_PPD_DATE_FORMAT);
        CPropertyPage& basic = Show(d, Basic);
        Pick(basic, IDC_PPD_DATE_FORMAT, 4);   // a list entry: its own text, not the edit's
        Pick(basic, IDC_PPD_INTERPOLATION, 7);
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_EQ(L"%H時%M分", shownAgain);
    EXPECT_EQ(L"%Y/%m/%d %H:%M:%S", lib.settings.generic.dateTimeFormat);
    EXPECT_EQ(7, lib.settings.generic.imageInterpolationMode);
}

TEST(DatePreview, FormatsTheCurrentTimeAndFailsToEmpty) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    EXPECT_EQ(std::to_wstring(local.tm_year + 1900), FormatDatePreview(L"%Y").substr(0, 4));
    EXPECT_EQ(L"", FormatDatePreview(L""));
    EXPECT_EQ(L"", FormatDatePreview(L"%Q"));   // the run-time cannot format it
    EXPECT_LE(FormatDatePreview(std::wstring(200, L'x')).size(), 128u);
}

TEST_F(SettingsPages, ColourAndFontButtonsStoreTheChoiceAndCancelChangesNothing) {
    bool modifiedAfterCancel = true, modifiedAfterChoice = false;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        CPropertyPage& visual = Show(d, Visual);
        Press(visual, IDC_PPV_GV_GRAPH);     // cancelled
        Press(visual, IDC_PPV_PL_FONT);      // cancelled
        modifiedAfterCancel = ApplyEnabled(d);
        common.colors = {RGB(1, 2, 3)};
        common.fonts = {{L"Arial", 105}};
        Press(visual, IDC_PPV_GV_GRAPH);
        Press(visual, IDC_PPV_PL_FONT);
        modifiedAfterChoice = ApplyEnabled(d);
        SheetOf(d).PressButton(PSBTN_OK);
    });
    const COLORREF graph = lib.settings.groupView.colorGraph;
    RunOptionsSheet(lib.doc, host);
    EXPECT_FALSE(modifiedAfterCancel);
    EXPECT_TRUE(modifiedAfterChoice);
    ASSERT_EQ(2u, common.colorStarts.size());
    EXPECT_EQ(graph, common.colorStarts[0]);
    EXPECT_TRUE(common.colorFlags & CC_FULLOPEN);
    EXPECT_EQ(L"Ps1", common.fontStarts.at(0));
    EXPECT_TRUE(common.fontFlags & CF_SCREENFONTS);
    EXPECT_FALSE(common.fontFlags & CF_EFFECTS);
    EXPECT_TRUE(common.fontFlags & CF_NOSTYLESEL);
    EXPECT_EQ(RGB(1, 2, 3), lib.settings.groupView.colorGraph);
    EXPECT_EQ(L"Arial", lib.settings.playlistView.fontName);
    EXPECT_EQ(10, lib.settings.playlistView.fontSize);   // 10.5 points
}

TEST_F(SettingsPages, ListsShowNoOrTheFirstEntryForValuesTheyLackAndKeepThem) {
    lib.settings.groupView.groupThresholdKana = 0;
    lib.settings.groupView.groupThresholdKanji = 21;
    lib.settings.playlistView.marginX = 12;
    lib.settings.playlistView.gridType = -1;
    lib.settings.informationView.relatedAlbumAlphaOut = 55;
    lib.settings.lyricsWindow.windowAlpha = 45;
    struct Seen { int kana = 0, kanji = 0, margin = -1, grid = -1, alpha = -1, lyricsAlpha = -1; std::wstring first, alphaText, always; } seen;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        CPropertyPage& visual = Show(d, Visual);
        seen.kana = Selection(visual, IDC_PPV_GV_KANA);
        seen.kanji = Selection(visual, IDC_PPV_GV_KANJI);
        seen.margin = Selection(visual, IDC_PPV_PL_MARGIN);
        seen.grid = Selection(visual, IDC_PPV_PL_GRID_TYPE);
        Pick(visual, IDC_PPV_GV_ALPHABET, 0);
        seen.always = SelectionText(visual, IDC_PPV_GV_ALPHABET);
        CPropertyPage& information = Show(d, Information);
        seen.alpha = Selection(information, IDC_PPI_ALPHA_OUT);
        seen.alphaText = SelectionText(information, IDC_PPI_ALPHA_OUT);
        Pick(information, IDC_PPI_FRAME_RATE, 2);   // "60 fps"
        Pick(information, IDC_PPI_ALPHA_IN, 9);     // "透過無し"
        CPropertyPage& window = Show(d, Window);
        seen.lyricsAlpha = Selection(window, IDC_PPW_LYRICS_ALPHA);
        Type(window, IDC_PPW_LYRICS_PATTERN, L"");
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_EQ(-1, seen.kana);
    EXPECT_EQ(-1, seen.kanji);
    EXPECT_EQ(0, seen.margin);
    EXPECT_EQ(0, seen.grid);   // "なし"
    EXPECT_EQ(L"常にグループ化", seen.always);
    EXPECT_EQ(0, seen.alpha);
    EXPECT_EQ(L"10 %", seen.alphaText);
    EXPECT_EQ(0, seen.lyricsAlpha);
    EXPECT_EQ(0, lib.settings.groupView.groupThresholdKana);
    EXPECT_EQ(21, lib.settings.groupView.groupThresholdKanji);
    EXPECT_EQ(1, lib.settings.groupView.groupThresholdAlphabet);
    EXPECT_EQ(12, lib.settings.playlistView.marginX);
    EXPECT_EQ(55, lib.settings.informationView.relatedAlbumAlphaOut);
    EXPECT_EQ(100, lib.settings.informationView.relatedAlbumAlphaIn);
    EXPECT_EQ(1, lib.settings.thread.freqSpec);
    EXPECT_EQ(45, lib.settings.lyricsWindow.windowAlpha);
    EXPECT_EQ(L"", lib.settings.informationView.lyricsSearchPattern);
    EXPECT_EQ(4, HintCount(lib, 5));   // the basic, visual, display and window pages
}

TEST_F(SettingsPages, EveryLabelOfThePagesShowsItsTextWhole) {
    std::vector<std::string> cut;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        for (Page page : {Basic, Visual, Information, Window, Mini, Hotkey, About}) {
            CPropertyPage& shown = Show(d, page);
            for (HWND child = ::GetWindow(shown, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                wchar_t name[32] = {};
                ::GetClassNameW(child, name, 32);
                const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
                if (lstrcmpiW(name, L"Static") != 0 || (style & SS_TYPEMASK) > SS_RIGHT) continue;
                const int length = ::GetWindowTextLengthW(child);
                if (length == 0) continue;
                std::wstring text(static_cast<size_t>(length) + 1, L'\0');
                text.resize(static_cast<size_t>(::GetWindowTextW(child, &text[0], length + 1)));
                RECT box{};
                ::GetClientRect(child, &box);
                RECT needed = box;
                HDC dc = ::GetDC(child);
                HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)));
                ::DrawTextW(dc, text.c_str(), -1, &needed,
                            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
                ::SelectObject(dc, old);
                ::ReleaseDC(child, dc);
                if (needed.bottom > box.bottom || needed.right > box.right)
                    cut.push_back(std::to_string(page) + ": " + std::to_string(::GetDlgCtrlID(child)) + " " +
                                  std::to_string(needed.right) + "x" + std::to_string(needed.bottom) + " in " +
                                  std::to_string(box.right) + "x" + std::to_string(box.bottom));
            }
        }
        SheetOf(d).PressButton(PSBTN_CANCEL);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_TRUE(cut.empty()) << ::testing::PrintToString(cut);
}
