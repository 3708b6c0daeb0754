// The task-tray, hot-key and About pages, the hot-key editor and the key names.
#include "OptionsTestSupport.h"
#include "document/BassAddonModule.h"
#include "resources/resource.h"
#include "ui/dialogs/DlgHotkey.h"
#include "ui/dialogs/HotKeyNames.h"
#include "ui/dialogs/PpAbout.h"
#include "ui/dialogs/PpMini.h"
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace opt_test;

namespace {

class TrayHotkeyAbout : public ::testing::Test {
protected:
    TrayHotkeyAbout() { SeedFields(lib.settings, 1); }
    doc_test::Library lib;
    RecordingOptionsHost host;
    lib_test::MessageRecorder messages;
};

std::wstring Cell(HWND list, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

// A click on the list at a point, as the list reports it to the page.
void ClickList(CWnd& page, POINT at) {
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = ::GetDlgItem(page, IDC_PPH_LIST);
    click.hdr.idFrom = IDC_PPH_LIST;
    click.hdr.code = NM_CLICK;
    click.ptAction = at;
    click.iItem = -1;
    page.SendMessage(WM_NOTIFY, IDC_PPH_LIST, reinterpret_cast<LPARAM>(&click));
}

POINT RowPoint(CWnd& page, int row) {
    RECT r{};
    r.left = LVIR_LABEL;
    ::SendDlgItemMessageW(page, IDC_PPH_LIST, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return POINT{r.left + 4, (r.top + r.bottom) / 2};
}

}  // namespace

TEST(HotKeyNames, RenderModifiersAndKeysAsTheControlShowsThem) {
    const struct {
        int code;
        const wchar_t* name;
    } cases[] = {
        {0, L""},
        {'A', L"A"},
        {(HOTKEYF_CONTROL << 8) | 'P', L"Ctrl + P"},
        {((HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_ALT) << 8) | '5', L"Ctrl + Shift + Alt + 5"},
        {(HOTKEYF_ALT << 8) | VK_F12, L"Alt + F12"},
        {((HOTKEYF_SHIFT | HOTKEYF_EXT) << 8) | VK_RIGHT, L"Shift + Right"},
        {VK_NUMPAD7, L"Num 7"},
        {(HOTKEYF_CONTROL << 8) | VK_SPACE, L"Ctrl + Space"},
        {VK_MEDIA_PLAY_PAUSE, L"Play/Pause"},
        {(HOTKEYF_CONTROL << 8), L"Ctrl + "},
        // The navigation block's keys are extended; the number pad gives the same codes without.
        {(HOTKEYF_EXT << 8) | VK_RIGHT, L"Right"},
        {VK_RIGHT, L"Num 6"},
        {(HOTKEYF_EXT << 8) | VK_HOME, L"Home"},
        {VK_HOME, L"Num 7"},
        {((HOTKEYF_CONTROL | HOTKEYF_EXT) << 8) | VK_DELETE, L"Ctrl + Delete"},
        {VK_DELETE, L"Num Del"},
        {VK_DECIMAL, L"Num ."},
        {(HOTKEYF_EXT << 8) | VK_RETURN, L"Num Enter"},
        {VK_RETURN, L"Enter"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.name, HotKeyName(c.code)) << c.code;
}

TEST_F(TrayHotkeyAbout, TheTrayPageRefusesTimeOutsOutsideItsRangeAndAppliesTheTrayAtOnce) {
    const struct {
        const wchar_t* text;
        bool accepted;
    } cases[] = {{L"999", false}, {L"30001", false}, {L"", false}, {L"abc", false}, {L"1000", true}, {L"30000", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        messages.texts.clear();
        host.calls.clear();
        lib.settings.mainWindowOptions.infoTipTimeout = 5000;
        bool stayed = false;
        lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
            CPropertyPage& mini = Show(d, Mini);
            Type(mini, IDC_PPM_TIMEOUT, c.text);
            Pick(mini, IDC_PPM_TYPE, 0);   // "表示しない"
            SheetOf(d).PressButton(PSBTN_APPLYNOW);
            stayed = SheetOf(d).GetActiveIndex() == Mini;
            SheetOf(d).PressButton(PSBTN_CANCEL);
        });
        RunOptionsSheet(lib.doc, host);
        const bool trayApplied = std::count(host.calls.begin(), host.calls.end(), std::string("tray")) == 1;
        EXPECT_EQ(c.accepted, trayApplied);
        EXPECT_TRUE(stayed);
        if (c.accepted) {
            EXPECT_TRUE(messages.texts.empty());
            EXPECT_EQ(0, lib.settings.mainWindowOptions.taskTrayType);
            EXPECT_EQ(std::stoi(c.text), lib.settings.mainWindowOptions.infoTipTimeout);
        } else {
            ASSERT_EQ(1u, messages.texts.size());
            EXPECT_EQ(L"表示時間は(1000-30000)の間で設定してください。", messages.texts[0]);
            EXPECT_EQ(5000, lib.settings.mainWindowOptions.infoTipTimeout);
            EXPECT_EQ(1, lib.settings.mainWindowOptions.taskTrayType);
        }
    }
}

TEST_F(TrayHotkeyAbout, TrayActionListsOfferTheHotKeyActionsAndKeepUnknownCodes) {
    lib.settings.mainWindowOptions.taskTrayClick = 99;   // not an action of the map
    lib.settings.mainWindowOptions.taskTrayMClick = 31;
    int entries = 0, clickShown = -1, balloonEnabled = 1;
    std::wstring clickText, middleText;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        auto& mini = static_cast<CPpMini&>(*SheetOf(d).GetPage(Mini));
        mini.m_osMajor = 5;   // Windows 2000
        mini.m_osMinor = 0;
        Show(d, Mini);
        entries = static_cast<int>(::SendDlgItemMessageW(mini, IDC_PPM_CLICK, CB_GETCOUNT, 0, 0));
        clickShown = Selection(mini, IDC_PPM_CLICK);
        clickText = SelectionText(mini, IDC_PPM_CLICK);
        middleText = SelectionText(mini, IDC_PPM_MCLICK);
        balloonEnabled = ::IsWindowEnabled(::GetDlgItem(mini, IDC_PPM_BALLOON_CLICK));
        Pick(mini, IDC_PPM_DBLCLICK, 2);   // the second action: 30
        Check(mini, IDC_PPM_BALLOON, false);
        Type(mini, IDC_PPM_TITLE, L"%tagTitle%");
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_EQ(1 + static_cast<int>(lib.settings.globalHotkey.hotKeys.size()), entries);
    EXPECT_EQ(0, clickShown);
    EXPECT_EQ(L"何もしない", clickText);
    EXPECT_EQ(L"action 31", middleText);
    EXPECT_FALSE(balloonEnabled);
    EXPECT_EQ(99, lib.settings.mainWindowOptions.taskTrayClick);
    EXPECT_EQ(30, lib.settings.mainWindowOptions.taskTrayDblClick);
    EXPECT_EQ(33, lib.settings.mainWindowOptions.taskTrayBalloonClick);   // copied back unchanged
    EXPECT_EQ(14, lib.settings.mainWindowOptions.taskTrayRDblClick);
    EXPECT_FALSE(lib.settings.mainWindowOptions.infoTipEnable);
    EXPECT_EQ(L"%tagTitle%", lib.settings.mainWindowOptions.infoTipTitle);
}

TEST_F(TrayHotkeyAbout, TheHotKeyListsColumnsFitItsWidthAndShowTheirTexts) {
    // A name longer than the list can show beside the other columns.
    lib.settings.globalHotkey.hotKeys.begin()->second.displayName = std::wstring(120, L'長');
    int widths[3] = {}, room = 0, scopeText = 0, keyTitle = 0;
    bool horizontalBar = true;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        HWND list = ::GetDlgItem(Show(d, Hotkey), IDC_PPH_LIST);
        for (int i = 0; i < 3; ++i) widths[i] = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
        RECT client{};
        ::GetClientRect(list, &client);
        const LONG_PTR style = ::GetWindowLongPtrW(list, GWL_STYLE);
        room = client.right - ((style & WS_VSCROLL) ? 0 : ::GetSystemMetrics(SM_CXVSCROLL));
        horizontalBar = (style & WS_HSCROLL) != 0;
        auto textWidth = [list](const wchar_t* text) {
            return static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
        };
        scopeText = std::max(textWidth(L"グローバル"), textWidth(L"有効範囲"));
        keyTitle = textWidth(L"キーの組み合わせ");
        SheetOf(d).PressButton(PSBTN_CANCEL);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_LE(widths[0] + widths[1] + widths[2], room);
    EXPECT_FALSE(horizontalBar);
    EXPECT_GT(widths[1], scopeText);
    EXPECT_GT(widths[2], keyTitle);
    EXPECT_GT(widths[0], widths[1]) << "the names keep most of what is left";
}

TEST_F(TrayHotkeyAbout, HotKeysAreEditedOneRowAtATimeAndClearedTogether) {
    lib.settings.globalHotkey.enable = false;
    const auto liveBefore = lib.settings.globalHotkey.hotKeys;
    struct Seen {
        bool listEnabled = true;
        int rows = 0;
        std::vector<std::wstring> columns;
        std::wstring label, firstKey, editedScope, editedKey;
        WORD startKey = 0;
        bool startGlobal = false;
        std::vector<std::wstring> clearedKeys, clearedScopes;
        int editorRuns = 0;
    } seen;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        if (!IsSheet(d)) {   // the hot-key editor
            ++seen.editorRuns;
            seen.label = d.GetDlgItemText(IDC_HOTKEY_LABEL);
            seen.startKey = static_cast<WORD>(d.SendDlgItemMessage(IDC_HOTKEY_KEY, HKM_GETHOTKEY));
            seen.startGlobal = d.IsDlgButtonChecked(IDC_HOTKEY_GLOBAL) == BST_CHECKED;
            d.SendDlgItemMessage(IDC_HOTKEY_KEY, HKM_SETHOTKEY, (HOTKEYF_ALT << 8) | 'Z');
            d.CheckDlgButton(IDC_HOTKEY_GLOBAL, BST_CHECKED);
            lib_test::Click(d, IDOK);
            return;
        }
        CPropertyPage& page = Show(d, Hotkey);
        HWND list = ::GetDlgItem(page, IDC_PPH_LIST);
        seen.listEnabled = ::IsWindowEnabled(list) != FALSE;
        seen.rows = ListView_GetItemCount(list);
        HWND header = ListView_GetHeader(list);
        for (int i = 0; i < Header_GetItemCount(header); ++i) {
            wchar_t text[64] = {};
            HDITEMW item{};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = 64;
            ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            seen.columns.push_back(text);
        }
        seen.firstKey = Cell(list, 0, 2);
        ClickList(page, POINT{5, 2000});   // below the last row: nothing opens
        ClickList(page, RowPoint(page, 1));
        seen.editedScope = Cell(list, 1, 1);
        seen.editedKey = Cell(list, 1, 2);
        SheetOf(d).PressButton(PSBTN_APPLYNOW);
        Press(page, IDC_PPH_CLEAR);
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            seen.clearedKeys.push_back(Cell(list, row, 2));
            seen.clearedScopes.push_back(Cell(list, row, 1));
        }
        SheetOf(d).PressButton(PSBTN_CANCEL);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_FALSE(seen.listEnabled);
    EXPECT_EQ(4, seen.rows);
    EXPECT_EQ((std::vector<std::wstring>{L"機能", L"有効範囲", L"キーの組み合わせ"}), seen.columns);
    EXPECT_EQ(HotKeyName(liveBefore.at(10).hotKey), seen.firstKey);
    EXPECT_EQ(1, seen.editorRuns);
    EXPECT_EQ(L"「action 30」(&H)", seen.label);
    EXPECT_EQ(liveBefore.at(30).hotKey, seen.startKey);
    EXPECT_EQ(liveBefore.at(30).isGlobal, seen.startGlobal);
    EXPECT_EQ(L"グローバル", seen.editedScope);
    EXPECT_EQ(L"Alt + Z", seen.editedKey);
    EXPECT_EQ(std::vector<std::wstring>(4, L"なし"), seen.clearedKeys);
    // Apply kept the edited key; the clearing was cancelled.
    EXPECT_EQ((HOTKEYF_ALT << 8) | 'Z', lib.settings.globalHotkey.hotKeys.at(30).hotKey);
    EXPECT_TRUE(lib.settings.globalHotkey.hotKeys.at(30).isGlobal);
    EXPECT_EQ(liveBefore.at(10).hotKey, lib.settings.globalHotkey.hotKeys.at(10).hotKey);
    EXPECT_EQ(1, HintCount(lib, 5));   // the basic page's, at Apply
    // The keys come back after the sheet, whatever closed it.
    EXPECT_EQ("register", host.calls.back());
}

TEST_F(TrayHotkeyAbout, ClearingTheKeysWithTheListDisabledIsAppliedOnOk) {
    lib.settings.globalHotkey.enable = false;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        Press(Show(d, Hotkey), IDC_PPH_CLEAR);
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunOptionsSheet(lib.doc, host);
    for (const auto& entry : lib.settings.globalHotkey.hotKeys) {
        EXPECT_EQ(0, entry.second.hotKey);
        EXPECT_EQ((entry.first + 1) % 2 == 0, entry.second.isGlobal);   // scopes kept
    }
    lib_test::ScriptedDialogs again([&](CDialog& d) {
        Check(Show(d, Hotkey), IDC_PPH_ENABLE, true);
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_TRUE(lib.settings.globalHotkey.enable);
}

TEST_F(TrayHotkeyAbout, TheHotKeyEditorReturnsNothingOnCancel) {
    CDlgHotkey dialog;
    dialog.m_displayName = L"ミュート ON/OFF";
    dialog.m_hotKey = 'M';
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        d.SendDlgItemMessage(IDC_HOTKEY_KEY, HKM_SETHOTKEY, 'N');
        lib_test::Click(d, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ('M', dialog.m_hotKey);
    EXPECT_EQ(L"", dialog.m_keyText);
}

TEST_F(TrayHotkeyAbout, TheAboutPageCreditsWhatTheProgramContains) {
    const std::wstring title = CPpAbout::TitleLine();
    EXPECT_EQ(L"Spur Version 1.0.0.0\r\nCopyright (C) 2026 Spur", title);
    const std::wstring credits = CPpAbout::Credits();
    std::wstring sqlite = L"SQLite ";
    for (const char* p = sqlite3_libversion(); *p; ++p) sqlite += static_cast<wchar_t>(*p);
    for (const std::wstring& part : {sqlite, std::wstring(L"libogg 1.3.5"), std::wstring(L"libvorbis 1.3.7"),
                                     std::wstring(L"libid3tag 0.16.3"), std::wstring(L"libFLAC 1.4.2"),
                                     std::wstring(L"TagLib 1.13"), std::wstring(L"FFmpeg 5.1.9"),
                                     std::wstring(L"Xiph.org Foundation"), std::wstring(L"Underbit Technologies"),
                                     std::wstring(L"GNU Lesser General Public License"), std::wstring(L"独自のエンジン")})
        EXPECT_NE(std::wstring::npos, credits.find(part)) << part;
    for (const std::wstring& absent : {std::wstring(L"MPEG4IP"), std::wstring(L"Monkey"), std::wstring(L"BASS 2.4")})
        EXPECT_EQ(std::wstring::npos, credits.find(absent)) << absent;
    EXPECT_NE(std::wstring::npos, credits.find(L"\r\n\r\n"));
    EXPECT_EQ(std::wstring::npos, credits.find(L"\n\n"));   // every line ends in CR LF

    struct Seen { std::wstring title, credits; int columns = 0, rows = -1; DWORD start = 1, end = 1; } seen;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        CPropertyPage& about = Show(d, About);
        seen.title = about.GetDlgItemText(IDC_ABOUT_TITLE);
        seen.credits = about.GetDlgItemText(IDC_ABOUT_CREDITS);
        about.SendDlgItemMessage(IDC_ABOUT_CREDITS, EM_GETSEL, reinterpret_cast<WPARAM>(&seen.start),
                                 reinterpret_cast<LPARAM>(&seen.end));
        HWND list = ::GetDlgItem(about, IDC_ABOUT_ADDONS);
        seen.columns = Header_GetItemCount(ListView_GetHeader(list));
        seen.rows = ListView_GetItemCount(list);
        SheetOf(d).PressButton(PSBTN_OK);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_EQ(title, seen.title);
    EXPECT_EQ(credits, seen.credits);
    EXPECT_EQ(0u, seen.start);
    EXPECT_EQ(0u, seen.end);
    EXPECT_EQ(2, seen.columns);
    int loaded = 0;
    for (int i = 0; i < CLarkspur2006Doc::kAddonCount; ++i) loaded += lib.doc.GetAddonModule(i).loaded ? 1 : 0;
    EXPECT_EQ(loaded, seen.rows);
}
