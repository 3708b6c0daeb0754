// The options sheet as a whole: its pages, the hot keys suspended around it, and the rule
// that a page copies back exactly its own fields, and only when it was shown.
#include "OptionsTestSupport.h"
#include "resources/resource.h"
#include "ui/dialogs/PpDefault.h"
#include "ui/views/NowPlayingData.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <set>
#include <thread>

using namespace opt_test;

namespace {

std::wstring TabText(HWND tabs, int index) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

// The names of the fields that each page edits.
std::set<std::string> FieldsOf(Page page) {
    std::set<std::string> names;
    const char* prefixes[7][4] = {
        {"Generic.", "BASS.", "PlaylistView.Playelist.Restore", nullptr},
        {"QueryView.", "GroupView.", "PlaylistView.", nullptr},
        {"InformationView.", "Thread.", nullptr, nullptr},
        {"InformationView.PictureSearchPattern", "InformationView.LyricsSearchPattern", "ImageWindow.", "LyricsWindow."},
        {"MainWindowOptions.", nullptr, nullptr, nullptr},
        {"GlobalHotkey.", nullptr, nullptr, nullptr},
        {nullptr, nullptr, nullptr, nullptr}};
    CAppSettings any;
    for (const auto& field : EditedFields(any)) {
        for (const char* prefix : prefixes[page])
            if (prefix && field.first.rfind(prefix, 0) == 0) names.insert(field.first);
    }
    if (page == Visual) names.erase("PlaylistView.Playelist.Restore");
    if (page == Information) {
        names.erase("InformationView.PictureSearchPattern");
        names.erase("InformationView.LyricsSearchPattern");
    }
    return names;
}

class OptionsSheet : public ::testing::Test {
protected:
    doc_test::Library lib;
    RecordingOptionsHost host;
    lib_test::MessageRecorder messages;
    CommonDialogAnswers common;
};

}  // namespace

TEST_F(OptionsSheet, OpensWithSevenPagesInOrderAndSuspendsTheHotKeysUntilItCloses) {
    std::vector<std::string> callsWhileOpen;
    std::vector<std::wstring> tabs;
    std::wstring caption;
    int pages = 0, active = -1;
    LONG_PTR tabStyle = TCS_MULTILINE;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        callsWhileOpen = host.calls;
        caption = d.GetWindowText();
        pages = SheetOf(d).GetPageCount();
        active = SheetOf(d).GetActiveIndex();
        HWND tabControl = SheetOf(d).GetTabControl();
        tabStyle = ::GetWindowLongPtrW(tabControl, GWL_STYLE);
        for (int i = 0; i < TabCtrl_GetItemCount(tabControl); ++i) tabs.push_back(TabText(tabControl, i));
        SheetOf(d).PressButton(PSBTN_CANCEL);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_EQ(L"設定", caption.substr(0, 2));
    EXPECT_EQ(7, pages);
    EXPECT_EQ(0, active);
    EXPECT_EQ(0, tabStyle & TCS_MULTILINE);
    EXPECT_EQ((std::vector<std::wstring>{L"基本設定", L"表示 1", L"表示 2", L"画像と歌詞", L"タスクトレイ", L"ホットキー",
                                         L"バージョン情報"}),
              tabs);
    EXPECT_EQ((std::vector<std::string>{"unregister", "hook off"}), callsWhileOpen);
    EXPECT_EQ((std::vector<std::string>{"unregister", "hook off", "hook on", "register"}), host.calls);
    EXPECT_EQ(0, HintCount(lib, 5));
}

TEST_F(OptionsSheet, TheAboutSheetShowsOnlyItsPageAndLeavesTheHotKeysAlone) {
    std::wstring caption;
    int pages = 0;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        caption = d.GetWindowText();
        pages = SheetOf(d).GetPageCount();
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunAboutSheet(lib.doc);
    EXPECT_EQ(1, dialogs.runner.m_runs);
    EXPECT_EQ(L"バージョン情報", caption.substr(0, 7));
    EXPECT_EQ(1, pages);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(OptionsSheet, TheDocumentsCommandsOpenTheSheetsThroughItsHost) {
    struct CountingHost : doc_test::FakeHost {
        void RunOptions(CLarkspur2006Doc&) override { ++options; }
        void RunAbout(CLarkspur2006Doc&) override { ++about; }
        int options = 0, about = 0;
    } counting;
    lib.doc.SetHost(&counting);
    lib.doc.OnCmdMsg(ID_APP_OPTIONS, CN_COMMAND, nullptr);
    lib.doc.OnCmdMsg(ID_MAINFRAME_APP_ABOUT, CN_COMMAND, nullptr);
    lib.doc.SetHost(&lib.host);
    EXPECT_EQ(1, counting.options);
    EXPECT_EQ(1, counting.about);
}

// Each page alone, shown and confirmed with OK while the live settings changed behind its
// back: exactly its own fields return to what it loaded, every other field stays.
TEST_F(OptionsSheet, EachPageCopiesBackExactlyItsOwnFields) {
    for (Page page : {Basic, Visual, Information, Window, Mini, Hotkey, About}) {
        SCOPED_TRACE(page);
        CAppSettings& live = lib.settings;
        SeedFields(live, 1);
        const auto loaded = EditedFields(live);
        CAppSettings other;
        SeedFields(other, 2);
        const auto changed = EditedFields(other);
        lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
            Show(d, page);
            SeedFields(live, 2);
            SheetOf(d).PressButton(PSBTN_OK);
        });
        RunOptionsSheet(lib.doc, host);
        const auto after = EditedFields(live);
        // The basic page is shown first, so it copies back as well.
        std::set<std::string> own = FieldsOf(page);
        const std::set<std::string> basic = FieldsOf(Basic);
        own.insert(basic.begin(), basic.end());
        for (const auto& field : after) {
            const bool mine = own.count(field.first) != 0;
            EXPECT_EQ(mine ? loaded.at(field.first) : changed.at(field.first), field.second) << field.first;
        }
    }
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(OptionsSheet, PagesNeverShownKeepTheLiveValuesAndOnlyShownPagesSendTheirHint) {
    SeedFields(lib.settings, 1);
    const auto before = EditedFields(lib.settings);
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        CPropertyPage& visual = Show(d, Visual);
        Pick(visual, IDC_PPV_PL_MARGIN, 5);
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunOptionsSheet(lib.doc, host);
    auto expected = before;
    expected["PlaylistView.Margin.X"] = L"5";
    EXPECT_EQ(expected, EditedFields(lib.settings));
    // The basic and the visual page were shown: two hints; the tray was left alone.
    EXPECT_EQ(2, HintCount(lib, 5));
    EXPECT_EQ(0, std::count(host.calls.begin(), host.calls.end(), std::string("tray")));
}

TEST_F(OptionsSheet, ApplyThenCancelKeepsTheAppliedValuesAndCancelAloneKeepsEverything) {
    lib.settings.generic.appTitle = L"old";
    bool applyAfterTyping = false, applyAfterApply = true;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        CPropertyPage& basic = Show(d, Basic);
        Type(basic, IDC_PPD_APP_TITLE, L"applied");
        applyAfterTyping = ApplyEnabled(d);
        SheetOf(d).PressButton(PSBTN_APPLYNOW);
        applyAfterApply = ApplyEnabled(d);
        Type(basic, IDC_PPD_APP_TITLE, L"dropped");
        SheetOf(d).PressButton(PSBTN_CANCEL);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_TRUE(applyAfterTyping);
    EXPECT_FALSE(applyAfterApply);
    EXPECT_EQ(L"applied", lib.settings.generic.appTitle);
    EXPECT_EQ(1, HintCount(lib, 5));

    lib_test::ScriptedDialogs again([&](CDialog& d) {
        Type(Show(d, Basic), IDC_PPD_APP_TITLE, L"dropped");
        SheetOf(d).PressButton(PSBTN_CANCEL);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_EQ(L"applied", lib.settings.generic.appTitle);
}

// Worker threads read the search patterns and templates: they change only under the
// now-playing lock, never while a worker holds it.
TEST_F(OptionsSheet, SharedTextsAreCopiedBackOnlyUnderTheNowPlayingLock) {
    lib.settings.informationView.pictureSearchPattern = L"old.jpg";
    std::wstring seenWhileHeld;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        Type(Show(d, Window), IDC_PPW_PICTURE_PATTERN, L"new.jpg");
        HANDLE held = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::thread worker([&] {
            NowPlayingLockGuard lock;
            const LONG idle = NowPlayingLock()->LockCount;
            ::SetEvent(held);
            // Until the sheet's copy waits for the lock, then read what a worker would see.
            while (NowPlayingLock()->LockCount == idle) ::Sleep(1);
            seenWhileHeld = lib.settings.informationView.pictureSearchPattern;
        });
        ::WaitForSingleObject(held, INFINITE);
        SheetOf(d).PressButton(PSBTN_OK);
        worker.join();
        ::CloseHandle(held);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_EQ(L"old.jpg", seenWhileHeld);
    EXPECT_EQ(L"new.jpg", lib.settings.informationView.pictureSearchPattern);
}

// A page's record is filled field by field, never copied from the live record: it owns
// none of the live handles, and destroying it releases nothing of the live settings.
TEST_F(OptionsSheet, APagesRecordNeverOwnsTheLiveHandCursor) {
    HCURSOR owned = reinterpret_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(::LoadCursorW(nullptr, IDC_HAND))));
    ASSERT_NE(nullptr, owned);
    lib.settings.generic.handCursor = owned;
    lib.settings.generic.handCursorOwned = true;
    HCURSOR inPage = owned;
    bool ownedInPage = true;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        for (int page = Basic; page <= Hotkey; ++page) Show(d, static_cast<Page>(page));
        auto& basic = static_cast<CSettingsPage&>(*SheetOf(d).GetPage(Basic));
        inPage = basic.PageSettings().generic.handCursor;
        ownedInPage = basic.PageSettings().generic.handCursorOwned;
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_EQ(nullptr, inPage);
    EXPECT_FALSE(ownedInPage);
    EXPECT_EQ(owned, lib.settings.generic.handCursor);
    EXPECT_TRUE(lib.settings.generic.handCursorOwned);
    ICONINFO info{};
    EXPECT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(owned), &info));   // still a live cursor
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    {
        // A copy of the record destroys nothing either.
        CAppSettings copy = lib.settings;
        EXPECT_TRUE(copy.generic.handCursorOwned);
    }
    EXPECT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(owned), &info));
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    lib.settings.generic.handCursor = nullptr;
    lib.settings.generic.handCursorOwned = false;
    ::DestroyCursor(owned);
}

TEST_F(OptionsSheet, TheSevenTabsShowWholeInTheirOneRow) {
    RECT last{}, client{};
    int count = 0;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        HWND tabControl = SheetOf(d).GetTabControl();
        count = TabCtrl_GetItemCount(tabControl);
        TabCtrl_GetItemRect(tabControl, count - 1, &last);
        ::GetClientRect(tabControl, &client);
        SheetOf(d).PressButton(PSBTN_CANCEL);
    });
    RunOptionsSheet(lib.doc, host);
    ASSERT_EQ(7, count);
    EXPECT_LE(last.right, client.right) << "no scroll arrows: the last tab ends inside the tab control";
}
