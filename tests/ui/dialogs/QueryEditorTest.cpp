// The query editor and the table help driven through their controls, and the name rule
// that keeps query and folder names usable as file names.

#include "app/FileNameRules.h"
#include "document/DocTestSupport.h"
#include "document/QueryFile.h"
#include "framework/Dialog.h"
#include "resources/resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/TestFiles.h"
#include "ui/dialogs/DlgQuery.h"
#include "ui/dialogs/DlgTableHelp.h"
#include <gtest/gtest.h>
#include <set>

using testing_support::FileExists;
using testing_support::TempDir;

namespace {

struct RunnerScope {
    explicit RunnerScope(IDialogRunner* runner) : previous(AfxSetDialogRunner(runner)) {}
    ~RunnerScope() { AfxSetDialogRunner(previous); }
    IDialogRunner* previous;
};

HWND Item(CDialog& d, int id) { return GetDlgItem(d.m_hWnd, id); }
bool Enabled(CDialog& d, int id) { return IsWindowEnabled(Item(d, id)) != FALSE; }
std::wstring Text(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}
int Selected(CDialog& d, int id) { return static_cast<int>(SendMessageW(Item(d, id), CB_GETCURSEL, 0, 0)); }
std::wstring SelectedText(CDialog& d, int id) {
    const int sel = Selected(d, id);
    if (sel < 0) return L"<none>";
    wchar_t text[64] = L"";
    SendMessageW(Item(d, id), CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(text));
    return text;
}
void Choose(CDialog& d, int id, int index) {
    SendMessageW(Item(d, id), CB_SETCURSEL, index, 0);
    d.SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(d, id)));
}
void Click(CDialog& d, int id) { SendMessageW(Item(d, id), BM_CLICK, 0, 0); }
// A multi-line edit does not report text set by a program: tell the dialog as typing would.
void SetSql(CDialog& d, const wchar_t* sql) {
    SetWindowTextW(Item(d, IDC_QUERY_SQL), sql);
    d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QUERY_SQL, EN_CHANGE), reinterpret_cast<LPARAM>(Item(d, IDC_QUERY_SQL)));
}

// The ".q" files of a folder.
std::set<std::wstring> QueryFiles(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*.q").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.insert(data.cFileName); while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

void WriteQuery(const std::wstring& path, const std::wstring& sql, int sortBy, bool ascending) {
    CQueryFile q;
    q.sql = sql;
    q.sortColumn = sortBy;
    q.ascending = ascending;
    ASSERT_TRUE(q.Save(path));
}

// Receives the commands that the editor sends to its owner.
class CommandSink : public CWnd {
public:
    int tableHelp = 0;

protected:
    void OnTableHelp() { ++tableHelp; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CommandSink, CWnd)
    ON_COMMAND(ID_TABLE_HELP, &CommandSink::OnTableHelp)
END_MESSAGE_MAP()

}  // namespace

TEST(FileNameRules, PlainNamesPassAndEverythingTheFileSystemRefusesIsRejected) {
    for (const wchar_t* good : {L"新しいクエリ", L"a.b", L"評価3つ星以上", L".hidden", L"x..y", L"Rock & Roll"})
        EXPECT_TRUE(IsPlainFileName(good)) << good;
    for (const wchar_t* bad : {L"", L"a:b", L"a\\b", L"a/b", L"a*", L"what?", L"say \"hi\"", L"<b>", L"a>b",
                               L"a|b", L"tab\there", L"line\n", L".", L"..", L"...."})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}

TEST(FileNameRules, DeviceNamesAreRefusedWithAnyCaseExtensionOrTrailingDotsAndSpaces) {
    for (const wchar_t* device : {L"CON", L"prn", L"Aux", L"NUL", L"nul.q", L"con.txt", L"NUL.tar.gz", L"COM1",
                                  L"com9", L"LPT1", L"lpt9.log", L"COM\u00B9", L"LPT\u00B3", L"NUL .", L"NUL ",
                                  L"CON..", L"AUX .txt", L"nul:stream", L"COM0", L"lpt0"})
        EXPECT_TRUE(IsReservedDeviceName(device)) << device;
    for (const wchar_t* file : {L"CONSOLE", L"NULL", L"COM10", L"LPT", L"COM", L"a.NUL", L"NUL_",
                                L"_CON", L" NUL", L"AUX1", L"ＮＵＬ", L"", L"..."})
        EXPECT_FALSE(IsReservedDeviceName(file)) << file;
    for (const wchar_t* device : {L"NUL", L"con.txt", L"Com3", L"lpt1.q", L"PRN ."})
        EXPECT_FALSE(IsPlainFileName(device)) << device;
    EXPECT_TRUE(IsPlainFileName(L"NULL"));
}

TEST(DlgQuery, NewQueryStartsWithDefaultsFollowsTheOkRuleAndWritesTheFile) {
    TempDir dir;
    struct Seen {
        std::wstring caption, name, sql, sort, order;
        bool orderEnabled = true, okAtStart = false, okColon = true, okBackslash = true, okEmptyName = true,
             okEmptySql = true, orderAfterColumn = false, orderAfterKeep = true;
    } seen;
    CScriptedDialogRunner runner([&](CDialog& d) {
        seen.caption = Text(d.m_hWnd);
        seen.name = Text(Item(d, IDC_QUERY_NAME));
        seen.sql = Text(Item(d, IDC_QUERY_SQL));
        seen.sort = SelectedText(d, IDC_QUERY_SORT);
        seen.order = SelectedText(d, IDC_QUERY_ORDER);
        seen.orderEnabled = Enabled(d, IDC_QUERY_ORDER);
        seen.okAtStart = Enabled(d, IDOK);
        SetWindowTextW(Item(d, IDC_QUERY_NAME), L"C:x");
        seen.okColon = Enabled(d, IDOK);
        SetWindowTextW(Item(d, IDC_QUERY_NAME), L"a\\b");
        seen.okBackslash = Enabled(d, IDOK);
        SetWindowTextW(Item(d, IDC_QUERY_NAME), L"");
        seen.okEmptyName = Enabled(d, IDOK);
        SetWindowTextW(Item(d, IDC_QUERY_NAME), L"ジャズ");
        SetSql(d, L"");
        seen.okEmptySql = Enabled(d, IDOK);
        SetSql(d, L"SELECT * FROM list WHERE tagGenre='Jazz';");
        Choose(d, IDC_QUERY_SORT, 16);   // 評価
        seen.orderAfterColumn = Enabled(d, IDC_QUERY_ORDER);
        Choose(d, IDC_QUERY_SORT, 1);    // -- 変更しない --
        seen.orderAfterKeep = Enabled(d, IDC_QUERY_ORDER);
        Choose(d, IDC_QUERY_SORT, 16);
        Choose(d, IDC_QUERY_ORDER, 1);   // 降順
        Click(d, IDOK);
    });
    RunnerScope scope(&runner);
    CDlgQuery dialog;
    dialog.SetNewQuery(dir.path().substr(0, dir.path().size() - 1));   // without the backslash
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(L"クエリ作成", seen.caption);
    EXPECT_EQ(L"新しいクエリ", seen.name);
    EXPECT_EQ(L"SELECT * FROM list;", seen.sql);
    EXPECT_EQ(L"-- ソートなし --", seen.sort);
    EXPECT_EQ(L"昇順", seen.order);
    EXPECT_FALSE(seen.orderEnabled);
    EXPECT_TRUE(seen.okAtStart);
    EXPECT_FALSE(seen.okColon);
    EXPECT_FALSE(seen.okBackslash);
    EXPECT_FALSE(seen.okEmptyName);
    EXPECT_FALSE(seen.okEmptySql);
    EXPECT_TRUE(seen.orderAfterColumn);
    EXPECT_FALSE(seen.orderAfterKeep);

    EXPECT_EQ(dir.file(L"ジャズ.q"), dialog.GetTargetPath());
    CQueryFile q;
    ASSERT_TRUE(q.Load(dir.file(L"ジャズ.q")));
    EXPECT_EQ(L"SELECT * FROM list WHERE tagGenre='Jazz';", q.sql);
    EXPECT_EQ(15, q.sortColumn);
    EXPECT_FALSE(q.ascending);
}

TEST(DlgQuery, SuggestedNameAndSqlFillANewQuery) {
    TempDir dir;
    std::wstring name, sql;
    CScriptedDialogRunner runner([&](CDialog& d) {
        name = Text(Item(d, IDC_QUERY_NAME));
        sql = Text(Item(d, IDC_QUERY_SQL));
    });
    RunnerScope scope(&runner);
    CDlgQuery dialog;
    dialog.SetNewQuery(dir.path(), L"アーティスト - O'Brien", L"SELECT * FROM list WHERE tagArtist='O''Brien';");
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(L"アーティスト - O'Brien", name);
    EXPECT_EQ(L"SELECT * FROM list WHERE tagArtist='O''Brien';", sql);
    EXPECT_TRUE(QueryFiles(dir.path()).empty()) << "cancel writes nothing";
}

TEST(DlgQuery, EditShowsTheFileAndARenameLeavesExactlyOneFile) {
    TempDir dir;
    WriteQuery(dir.file(L"古い.q"), L"SELECT * FROM list WHERE rating >= 30", 15, false);
    struct Seen { std::wstring caption, name, sql, sort, order; bool orderEnabled = false; } seen;
    CScriptedDialogRunner runner([&](CDialog& d) {
        seen.caption = Text(d.m_hWnd);
        seen.name = Text(Item(d, IDC_QUERY_NAME));
        seen.sql = Text(Item(d, IDC_QUERY_SQL));
        seen.sort = SelectedText(d, IDC_QUERY_SORT);
        seen.order = SelectedText(d, IDC_QUERY_ORDER);
        seen.orderEnabled = Enabled(d, IDC_QUERY_ORDER);
        SetWindowTextW(Item(d, IDC_QUERY_NAME), L"新しい");
        Click(d, IDOK);
    });
    RunnerScope scope(&runner);
    CDlgQuery dialog;
    dialog.SetEditQuery(dir.file(L"古い.q"));
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(L"クエリ編集", seen.caption);
    EXPECT_EQ(L"古い", seen.name);
    EXPECT_EQ(L"SELECT * FROM list WHERE rating >= 30;", seen.sql);
    EXPECT_EQ(L"評価", seen.sort);
    EXPECT_EQ(L"降順", seen.order);
    EXPECT_TRUE(seen.orderEnabled);
    EXPECT_EQ(std::set<std::wstring>{L"新しい.q"}, QueryFiles(dir.path()));
    EXPECT_EQ(dir.file(L"新しい.q"), dialog.GetTargetPath());
    CQueryFile q;
    ASSERT_TRUE(q.Load(dir.file(L"新しい.q")));
    EXPECT_EQ(15, q.sortColumn);
    EXPECT_FALSE(q.ascending);
}

TEST(DlgQuery, UnknownSortIsSavedAsKeepAndKeepReopensAscendingWithTheOrderOff) {
    TempDir dir;
    WriteQuery(dir.file(L"q.q"), L"SELECT 1;", 14, false);   // VBR has no entry
    std::wstring sortAtStart;
    CScriptedDialogRunner first([&](CDialog& d) {
        sortAtStart = SelectedText(d, IDC_QUERY_SORT);
        Click(d, IDOK);
    });
    {
        RunnerScope scope(&first);
        CDlgQuery dialog;
        dialog.SetEditQuery(dir.file(L"q.q"));
        ASSERT_EQ(IDOK, dialog.DoModal());
    }
    EXPECT_EQ(L"<none>", sortAtStart);
    CQueryFile q;
    ASSERT_TRUE(q.Load(dir.file(L"q.q")));
    EXPECT_EQ(-1, q.sortColumn);

    WriteQuery(dir.file(L"q.q"), L"SELECT 1;", -1, false);
    struct Seen { std::wstring sort, order; bool orderEnabled = true; } seen;
    CScriptedDialogRunner second([&](CDialog& d) {
        seen.sort = SelectedText(d, IDC_QUERY_SORT);
        seen.order = SelectedText(d, IDC_QUERY_ORDER);
        seen.orderEnabled = Enabled(d, IDC_QUERY_ORDER);
    });
    RunnerScope scope(&second);
    CDlgQuery dialog;
    dialog.SetEditQuery(dir.file(L"q.q"));
    dialog.DoModal();
    EXPECT_EQ(L"-- 変更しない --", seen.sort);
    EXPECT_EQ(L"昇順", seen.order);
    EXPECT_FALSE(seen.orderEnabled);
}

TEST(DlgQuery, UnreadableFileOpensEmptyWithOkOff) {
    TempDir dir;
    bool ok = true;
    int sortCount = -1;
    CScriptedDialogRunner runner([&](CDialog& d) {
        ok = Enabled(d, IDOK);
        sortCount = static_cast<int>(SendMessageW(Item(d, IDC_QUERY_SORT), CB_GETCOUNT, 0, 0));
    });
    RunnerScope scope(&runner);
    CDlgQuery dialog;
    dialog.SetEditQuery(dir.file(L"missing.q"));
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_FALSE(ok);
    EXPECT_EQ(0, sortCount);
}

TEST(DlgQuery, NamesTheFileSystemRefusesAreRefusedWithAMessageAndTheQueryIsKept) {
    TempDir dir;
    WriteQuery(dir.file(L"keep.q"), L"SELECT 2;", 3, true);
    testing_support::MessageBoxRecorder boxes;
    bool stillOpen = false;
    CScriptedDialogRunner runner([&](CDialog& d) {
        for (const wchar_t* bad : {L"a*b", L"what?", L"a/b", L"<x>", L"a|b", L"\"q\"", L"..", L"tab\tname", L"NUL",
                                   L"con.txt"}) {
            SetWindowTextW(Item(d, IDC_QUERY_NAME), bad);
            Click(d, IDOK);
        }
        stillOpen = !static_cast<CDlgQuery&>(d).HasEnded();
    });
    RunnerScope scope(&runner);
    CDlgQuery dialog;
    dialog.SetEditQuery(dir.file(L"keep.q"));
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(10u, boxes.texts.size());
    for (const std::wstring& text : boxes.texts) EXPECT_NE(std::wstring::npos, text.find(L"クエリファイルの名前に使えません"));
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.types[0] & MB_ICONMASK);
    EXPECT_EQ(std::set<std::wstring>{L"keep.q"}, QueryFiles(dir.path()));
}

TEST(DlgQuery, AnotherQuerysFileIsOverwrittenOnlyWhenTheUserSaysYes) {
    TempDir dir;
    WriteQuery(dir.file(L"既存.q"), L"SELECT 1;", 2, true);
    WriteQuery(dir.file(L"Edited.q"), L"SELECT 2;", 3, true);
    auto sqlOf = [&](const wchar_t* file) {
        CQueryFile q;
        return q.Load(dir.file(file)) ? q.sql : std::wstring(L"<unreadable>");
    };
    testing_support::MessageBoxRecorder boxes;
    struct Seen { bool openAfterNo = false; std::wstring name, sql, otherSql; } seen;
    // Saves under the name "既存", answered "no" and then "yes".
    auto run = [&](CDlgQuery& dialog, const wchar_t* sql) {
        boxes.answers = {IDNO, IDYES};
        CScriptedDialogRunner runner([&](CDialog& d) {
            SetWindowTextW(Item(d, IDC_QUERY_NAME), L"既存");
            if (sql) SetSql(d, sql);
            Click(d, IDOK);
            seen = {!dialog.HasEnded(), Text(Item(d, IDC_QUERY_NAME)), Text(Item(d, IDC_QUERY_SQL)), sqlOf(L"既存.q")};
            Click(d, IDOK);
        });
        RunnerScope scope(&runner);
        return dialog.DoModal();
    };

    CDlgQuery created;
    created.SetNewQuery(dir.path());
    EXPECT_EQ(IDOK, run(created, L"SELECT 3;"));
    ASSERT_EQ(2u, boxes.texts.size());
    EXPECT_NE(std::wstring::npos, boxes.texts[0].find(L"「既存.q」"));
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), boxes.types[0] & MB_TYPEMASK);
    EXPECT_TRUE(seen.openAfterNo);
    EXPECT_EQ(L"既存", seen.name);
    EXPECT_EQ(L"SELECT 3;", seen.sql);
    EXPECT_EQ(L"SELECT 1;", seen.otherSql) << "no keeps the other query";
    EXPECT_EQ(L"SELECT 3;", sqlOf(L"既存.q"));

    CDlgQuery renamed;
    renamed.SetEditQuery(dir.file(L"Edited.q"));
    EXPECT_EQ(IDOK, run(renamed, nullptr));
    EXPECT_EQ(4u, boxes.texts.size());
    EXPECT_EQ(L"SELECT 3;", seen.otherSql);
    EXPECT_EQ(std::set<std::wstring>{L"既存.q"}, QueryFiles(dir.path()));
    EXPECT_EQ(L"SELECT 2;", sqlOf(L"既存.q"));

    // Saving an edit onto its own file asks nothing.
    CScriptedDialogRunner same([&](CDialog& d) { Click(d, IDOK); });
    RunnerScope scope(&same);
    CDlgQuery edited;
    edited.SetEditQuery(dir.file(L"既存.q"));
    EXPECT_EQ(IDOK, edited.DoModal());
    EXPECT_EQ(4u, boxes.texts.size());
}

TEST(DlgQuery, LineCommentsAreStoredAsBlockCommentsAndOneHoldingTheirEndIsRefused) {
    TempDir dir;
    testing_support::MessageBoxRecorder boxes;
    bool openAfterRefusal = false;
    std::wstring sqlAfterRefusal;
    CScriptedDialogRunner runner([&](CDialog& d) {
        SetWindowTextW(Item(d, IDC_QUERY_NAME), L"rated");
        SetSql(d, L"SELECT * FROM list -- rated */ only\r\nWHERE rating >= 30;");
        Click(d, IDOK);
        openAfterRefusal = !static_cast<CDlgQuery&>(d).HasEnded();
        sqlAfterRefusal = Text(Item(d, IDC_QUERY_SQL));
        SetSql(d, L"SELECT * FROM list -- rated only\r\nWHERE tagTitle <> '--' -- and titled\r\n;");
        Click(d, IDOK);
    });
    RunnerScope scope(&runner);
    CDlgQuery dialog;
    dialog.SetNewQuery(dir.path());
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(L"SELECT * FROM list -- rated */ only\r\nWHERE rating >= 30;", sqlAfterRefusal);
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_NE(std::wstring::npos, boxes.texts[0].find(L"\"*/\""));
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.types[0] & MB_ICONMASK);
    CQueryFile q;
    ASSERT_TRUE(q.Load(dir.file(L"rated.q")));
    EXPECT_EQ(L"SELECT * FROM list /* rated only*/ WHERE tagTitle <> '--' /* and titled*/ ;", q.sql);
}

TEST(DlgQuery, AFailedSaveKeepsTheOldQueryAndTheDialogOpen) {
    TempDir dir;
    WriteQuery(dir.file(L"old.q"), L"SELECT 3;", 2, true);
    // A folder where the new file would go: the file cannot be written.
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"blocked.q").c_str(), nullptr));
    testing_support::MessageBoxRecorder boxes;
    bool stillOpen = false;
    CScriptedDialogRunner runner([&](CDialog& d) {
        SetWindowTextW(Item(d, IDC_QUERY_NAME), L"blocked");
        Click(d, IDOK);
        stillOpen = !static_cast<CDlgQuery&>(d).HasEnded();
    });
    RunnerScope scope(&runner);
    CDlgQuery dialog;
    dialog.SetEditQuery(dir.file(L"old.q"));
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(L"クエリ作成に失敗しました。", boxes.texts[0]);
    CQueryFile q;
    ASSERT_TRUE(q.Load(dir.file(L"old.q"))) << "the old query survives a failed save";
    EXPECT_EQ(L"SELECT 3;", q.sql);
}

TEST(DlgQuery, TheTableHelpButtonReachesTheOwnerAndTheDocumentRunsTheHelp) {
    TempDir dir;
    CommandSink owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP, 0, 0, 100, 100, nullptr, 0));
    CScriptedDialogRunner runner([&](CDialog& d) { Click(d, ID_TABLE_HELP); });
    {
        RunnerScope scope(&runner);
        CDlgQuery dialog(&owner);
        dialog.SetNewQuery(dir.path());
        dialog.DoModal();
    }
    EXPECT_EQ(1, owner.tableHelp);
    owner.DestroyWindow();

    doc_test::Library lib;
    lib.doc.OnCmdMsg(ID_TABLE_HELP, CN_COMMAND, nullptr);
    EXPECT_EQ(1, lib.host.tableHelpRuns);
}

TEST(DlgTableHelp, ListsTheColumnsAndADoubleClickCopiesTheFocusedName) {
    struct Seen { int rows = 0; std::wstring first, separator, separatorMeaning, last; DWORD exStyle = 0; } seen;
    std::wstring copied;
    CScriptedDialogRunner runner([&](CDialog& d) {
        HWND list = Item(d, IDC_TABLE_HELP_LIST);
        seen.rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        auto cell = [&](int row, int sub) {
            wchar_t text[128] = L"";
            LVITEMW item{};
            item.iSubItem = sub;
            item.pszText = text;
            item.cchTextMax = 128;
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            return std::wstring(text);
        };
        seen.first = cell(0, 0);
        seen.separator = cell(18, 0);
        seen.separatorMeaning = cell(18, 1);
        seen.last = cell(seen.rows - 1, 0);
        seen.exStyle = static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        LVITEMW state{};
        state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        state.state = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, 19, reinterpret_cast<LPARAM>(&state));
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = list;
        click.hdr.idFrom = IDC_TABLE_HELP_LIST;
        click.hdr.code = NM_DBLCLK;
        click.iItem = 19;
        d.SendMessage(WM_NOTIFY, IDC_TABLE_HELP_LIST, reinterpret_cast<LPARAM>(&click));
        if (OpenClipboard(d.m_hWnd)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                copied = static_cast<const wchar_t*>(GlobalLock(data));
                GlobalUnlock(data);
            }
            CloseClipboard();
        }
    });
    RunnerScope scope(&runner);
    CDlgTableHelp dialog;
    dialog.DoModal();
    EXPECT_EQ(21, seen.rows);
    EXPECT_EQ(L"file_name", seen.first);
    EXPECT_EQ(L"--独自SQL関数--", seen.separator);
    EXPECT_EQ(std::wstring(36, L'-'), seen.separatorMeaning);
    EXPECT_EQ(L"LCMapUpper()", seen.last);
    EXPECT_TRUE(seen.exStyle & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(seen.exStyle & LVS_EX_GRIDLINES);
    EXPECT_EQ(L"current_timestamp64()", copied);
}
