// The add-to-library dialog driven through the dialog runner, with its worker on real audio
// files; the folder command around it; and the database error dialog.

#include "PlayerTestSupport.h"
#include "document/DlgAddLib.h"
#include "document/DlgDBError.h"
#include "framework/Dialog.h"
#include "resources/resource.h"
#include <gtest/gtest.h>

using namespace doc_test;
using player_test::PumpUntil;

namespace {

struct RunnerScope {
    explicit RunnerScope(IDialogRunner* runner) : previous(AfxSetDialogRunner(runner)) {}
    ~RunnerScope() { AfxSetDialogRunner(previous); }
    IDialogRunner* previous;
};

HWND Item(CDialog& d, int id) { return GetDlgItem(d.m_hWnd, id); }

std::wstring Text(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

bool Enabled(CDialog& d, int id) { return IsWindowEnabled(Item(d, id)) != FALSE; }

class AddLibDialog : public ::testing::Test {
protected:
    AddLibDialog() {
        music = lib.dir.file(L"music");
        CreateDirectoryW(music.c_str(), nullptr);
        CreateDirectoryW((music + L"\\sub").c_str(), nullptr);
        for (const wchar_t* name : {L"tone.mp3", L"tone.flac", L"tone.ogg"})
            CopyFileW(testing_support::TestDataPath(std::wstring(L"audio\\") + name).c_str(),
                      (music + L"\\" + name).c_str(), FALSE);
        CopyFileW(testing_support::TestDataPath(L"audio\\tone.wma").c_str(), (music + L"\\sub\\tone.wma").c_str(),
                  FALSE);
        lib.doc.AddView(&view);
    }
    ~AddLibDialog() override { lib.doc.RemoveView(&view); }

    // Waits, answering the worker, until "閉じる" can be pressed.
    static bool WaitUntilFinished(CDialog& d) {
        return PumpUntil([&] { return Enabled(d, IDOK); });
    }

    Library lib;
    RecordingView view;
    std::wstring music;
};

}  // namespace

TEST_F(AddLibDialog, FolderIsAddedWhileTheDialogShowsProgressAndClosesWhenDone) {
    struct Seen { std::wstring caption, last; bool closeAtStart = true, cancelAtEnd = true; } seen;
    CScriptedDialogRunner runner([&](CDialog& d) {
        seen.caption = Text(d.m_hWnd);
        seen.closeAtStart = Enabled(d, IDOK);
        ASSERT_TRUE(WaitUntilFinished(d));
        seen.last = Text(Item(d, IDC_ADDLIB_STATUS));
        seen.cancelAtEnd = Enabled(d, IDCANCEL);
        SendMessageW(Item(d, IDOK), BM_CLICK, 0, 0);
    });
    RunnerScope scope(&runner);
    CDlgAddLib dialog;
    dialog.SetFolder(&lib.doc, music, true);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(seen.caption, L"ライブラリの追加・更新");
    EXPECT_FALSE(seen.closeAtStart);
    EXPECT_FALSE(seen.cancelAtEnd);
    EXPECT_EQ(seen.last, L"4 個のファイルが追加・更新されました。");
    EXPECT_EQ(dialog.GetCount(), 4);
    EXPECT_EQ(lib.Scalar(L"SELECT COUNT(*) FROM list;"), 4);
}

TEST_F(AddLibDialog, CloseOrCancelWhileTheWorkerRunsOnlyStopsIt) {
    // "閉じる" (as Enter gives it), "キャンセル" and Escape each only ask the worker to stop.
    const std::vector<std::function<void(CDialog&)>> stops = {
        [](CDialog& d) { SendMessageW(d.m_hWnd, WM_COMMAND, IDOK, 0); },
        [](CDialog& d) { SendMessageW(Item(d, IDCANCEL), BM_CLICK, 0, 0); },
        [](CDialog& d) { SendMessageW(d.m_hWnd, WM_COMMAND, IDCANCEL, 0); },
    };
    for (size_t i = 0; i < stops.size(); ++i) {
        struct Seen { bool openAfterStop = false, runningAfterStop = false; std::wstring last; } seen;
        CDlgAddLib dialog;
        CScriptedDialogRunner runner([&](CDialog& d) {
            // The worker waits for its first status text to be taken: it cannot have finished.
            stops[i](d);
            seen.openAfterStop = !dialog.HasEnded() && IsWindow(d.m_hWnd);
            seen.runningAfterStop = dialog.IsWorkerRunning();
            ASSERT_TRUE(WaitUntilFinished(d));
            seen.last = Text(Item(d, IDC_ADDLIB_STATUS));
            SendMessageW(Item(d, IDOK), BM_CLICK, 0, 0);
        });
        RunnerScope scope(&runner);
        dialog.SetFolder(&lib.doc, music, true);
        EXPECT_EQ(dialog.DoModal(), IDOK) << i;
        EXPECT_TRUE(seen.openAfterStop) << i;
        EXPECT_TRUE(seen.runningAfterStop) << i;
        EXPECT_EQ(seen.last, L"キャンセルされました。") << i;
        EXPECT_FALSE(dialog.IsWorkerRunning()) << i;
    }
}

TEST_F(AddLibDialog, DialogDestroyedWhileTheWorkerRunsWaitsForIt) {
    CDlgAddLib dialog;
    CScriptedDialogRunner runner([](CDialog&) {});   // never closed: the runner destroys it
    RunnerScope scope(&runner);
    dialog.SetFiles(&lib.doc, {music + L"\\tone.mp3", music + L"\\tone.flac"});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(dialog.IsWorkerRunning()) << "the worker ended before the window went";
    EXPECT_LE(dialog.GetCount(), 2);
}

TEST_F(AddLibDialog, FilesAreUpdatedUnderTheirOwnCaption) {
    std::wstring caption, last;
    CScriptedDialogRunner runner([&](CDialog& d) {
        caption = Text(d.m_hWnd);
        ASSERT_TRUE(WaitUntilFinished(d));
        last = Text(Item(d, IDC_ADDLIB_STATUS));
        SendMessageW(Item(d, IDOK), BM_CLICK, 0, 0);
    });
    RunnerScope scope(&runner);
    CDlgAddLib dialog;
    dialog.SetFiles(&lib.doc, {music + L"\\tone.mp3", music + L"\\missing.flac"});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(caption, L"ライブラリの更新");
    EXPECT_EQ(last, L"1 個のファイルが更新されました。");
}

TEST_F(AddLibDialog, FolderCommandAsksForTheFolderAndTellsTheViews) {
    CScriptedDialogRunner runner([&](CDialog& d) {
        ASSERT_TRUE(WaitUntilFinished(d));
        SendMessageW(Item(d, IDOK), BM_CLICK, 0, 0);
    });
    RunnerScope scope(&runner);
    lib.settings.generic.libraryLatestDir = L"C:\\前回";

    // Cancelled in the folder chooser: nothing runs.
    ASSERT_TRUE(lib.doc.OnCmdMsg(ID_LIBRARY_ADD_FOLDER, CN_COMMAND, nullptr));
    EXPECT_EQ(lib.host.browseStarts, std::vector<std::wstring>{L"C:\\前回"});
    EXPECT_EQ(runner.m_runs, 0);

    // Without subfolders: the three files at the top.
    lib.host.folderChoices.push_back({music, false});
    ASSERT_TRUE(lib.doc.OnCmdMsg(ID_LIBRARY_ADD_FOLDER, CN_COMMAND, nullptr));
    EXPECT_EQ(runner.m_runs, 1);
    EXPECT_EQ(lib.Scalar(L"SELECT COUNT(*) FROM list;"), 3);
    ASSERT_EQ(view.hints.size(), 1u);
    EXPECT_EQ(view.hints[0].code, 10);
    EXPECT_FALSE(view.hints[0].clearLists);
    EXPECT_EQ(lib.settings.generic.libraryLatestDir, music);

    // A folder without new files sends no hint.
    const std::wstring empty = lib.dir.file(L"empty");
    CreateDirectoryW(empty.c_str(), nullptr);
    lib.host.folderChoices.push_back({empty, true});
    ASSERT_TRUE(lib.doc.OnCmdMsg(ID_LIBRARY_ADD_FOLDER, CN_COMMAND, nullptr));
    EXPECT_EQ(view.hints.size(), 1u);
    EXPECT_EQ(lib.settings.generic.libraryLatestDir, empty);
}

TEST(DBErrorDialog, ShowsTheMessageTheSqliteTextAndTheIcon) {
    struct Seen { std::wstring caption, message, sqlite; bool icon = false; } seen;
    CScriptedDialogRunner runner([&](CDialog& d) {
        seen.caption = Text(d.m_hWnd);
        seen.message = Text(Item(d, IDC_DBERROR_MESSAGE));
        seen.sqlite = Text(Item(d, IDC_DBERROR_SQLITE));
        seen.icon = SendMessageW(Item(d, IDC_DBERROR_ICON), STM_GETICON, 0, 0) != 0;
        SendMessageW(Item(d, IDOK), BM_CLICK, 0, 0);
    });
    RunnerScope scope(&runner);
    CDBErrorDialogSink sink;
    IDBErrorSink* previous = SetDBErrorSink(&sink);
    ShowDBError(L"no such table: lists");
    ShowDBError(nullptr);
    SetDBErrorSink(previous);
    EXPECT_EQ(runner.m_runs, 2);
    EXPECT_EQ(seen.caption, L"DB Error");
    EXPECT_EQ(seen.message, L"データベースでエラーが起こりました。");
    EXPECT_EQ(seen.sqlite, L"") << "the second, null text shows as empty";
    EXPECT_TRUE(seen.icon);
}

TEST(DBErrorDialog, ALongTextShowsFromItsFirstLineWithTheFocusOnOk) {
    std::wstring text = L"ファイル: C:\\library.db";
    for (int i = 0; i < 40; ++i) text += L"\r\nPage " + std::to_wstring(i) + L": btreeInitPage() returns error code 11";
    int firstLine = -1;
    DWORD selectionEnd = 1;
    bool focusOnOk = false;
    CScriptedDialogRunner runner([&](CDialog& d) {
        const HWND edit = Item(d, IDC_DBERROR_SQLITE);
        firstLine = static_cast<int>(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
        SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selectionEnd));
        focusOnOk = GetFocus() == Item(d, IDOK);
        SendMessageW(Item(d, IDOK), BM_CLICK, 0, 0);
    });
    RunnerScope scope(&runner);
    CDBErrorDialogSink sink;
    IDBErrorSink* previous = SetDBErrorSink(&sink);
    ShowDBError(L"ライブラリのファイルが壊れています。", text.c_str());
    SetDBErrorSink(previous);
    EXPECT_EQ(0, firstLine);
    EXPECT_EQ(0u, selectionEnd) << "nothing selected";
    EXPECT_TRUE(focusOnOk);
}
