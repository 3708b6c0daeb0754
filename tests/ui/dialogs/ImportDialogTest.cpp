// The import dialog driven through its controls: loading both sources and importing.
#include "DialogTestSupport.h"
#include "DocTestSupport.h"
#include "resources/resource.h"
#include "ui/dialogs/DlgImport.h"
#include "ui/dialogs/LibraryDialogs.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <map>
#include <objbase.h>
#include <sqlite3.h>

using doc_test::Library;
using doc_test::MakeTrack;
using lib_test::Click;
using lib_test::IsEnabled;
using lib_test::MessageRecorder;
using lib_test::ScriptedDialogs;

namespace {

using lib_test::FakeItem;

class FakeCollection : public IWmpMediaCollection {
public:
    explicit FakeCollection(std::vector<std::wstring> urls) : m_urls(std::move(urls)) {}
    int GetCount() override { return static_cast<int>(m_urls.size()); }
    std::unique_ptr<IWmpMediaItem> GetItem(int i) override {
        return std::make_unique<FakeItem>(std::map<std::wstring, std::wstring>{
            {L"MediaType", L"Audio"}, {L"FileType", L"MP3"}, {L"SourceURL", m_urls[static_cast<size_t>(i)]},
            {L"Title", L"WMP " + std::to_wstring(i)}, {L"UserRating", L"75"}, {L"UserPlayCount", L"9"}});
    }

private:
    std::vector<std::wstring> m_urls;
};

// Gives the dialog a fake Media Player collection for its life.
class WmpScope {
public:
    explicit WmpScope(std::vector<std::vector<std::wstring>> loads) : m_loads(std::move(loads)) {
        m_previous = CDlgImport::SetWmpSource([this]() -> std::unique_ptr<IWmpMediaCollection> {
            if (m_loads.empty()) return nullptr;
            auto c = std::make_unique<FakeCollection>(m_loads.front());
            m_loads.erase(m_loads.begin());
            return c;
        });
    }
    ~WmpScope() { CDlgImport::SetWmpSource(std::move(m_previous)); }

private:
    std::vector<std::vector<std::wstring>> m_loads;
    CDlgImport::WmpSource m_previous;
};

// Answers the dialog's messages until its export has been read (at most a minute).
bool PumpUntilLoaded(CDialog& d) {
    auto& dialog = static_cast<CDlgImport&>(d);
    const DWORD start = GetTickCount();
    while (dialog.IsLoading() && GetTickCount() - start < 60000) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return !dialog.IsLoading();
}

// An export of `count` tracks, "C:\Music\<n>.mp3".
std::string Export(int count) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>Tracks</key><dict>\n";
    for (int i = 0; i < count; ++i)
        xml += "<key>" + std::to_string(i) + "</key><dict><key>Name</key><string>曲 " + std::to_string(i) +
               "</string><key>Kind</key><string>MPEG オーディオファイル</string><key>Track Type</key><string>File</string>"
               "<key>Location</key><string>file://localhost/C:/Music/" + std::to_string(i) + ".mp3</string></dict>\n";
    return xml + "</dict></dict></plist>\n";
}

// Gives the dialog an export reader that holds the read back until released, as a long
// load inside MSXML does; then it reads the export for real.
class HeldItunesReader {
public:
    HeldItunesReader()
        : m_release(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_returned(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        m_previous = CDlgImport::SetItunesReader(
            [this](const std::wstring& path, const ImportSink& sink, const std::atomic<bool>* cancel) {
                WaitForSingleObject(m_release, INFINITE);
                const ImportReadResult result = ParseItunesLibraryXml(path, sink, cancel);
                SetEvent(m_returned);   // the last touch of this object
                return result;
            });
    }
    ~HeldItunesReader() {
        CDlgImport::SetItunesReader(std::move(m_previous));
        Release();
        WaitForSingleObject(m_returned, 60000);
        CloseHandle(m_release);
        CloseHandle(m_returned);
    }
    void Release() { SetEvent(m_release); }
    bool HasReturned(DWORD ms) { return WaitForSingleObject(m_returned, ms) == WAIT_OBJECT_0; }

private:
    HANDLE m_release;
    HANDLE m_returned;
    CItunesLoadWorker::Reader m_previous;
};

std::wstring ItemText(HWND list, int item, int column) {
    wchar_t buffer[260] = {};
    ListView_GetItemText(list, item, column, buffer, 260);
    return buffer;
}

class ImportDialog : public ::testing::Test {
protected:
    ImportDialog() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ImportDialog() override { CoUninitialize(); }
    // Writes `xml` as the export that the file dialog gives `times` times.
    bool ChooseExport(const std::wstring& name, const std::string& xml, int times = 1) {
        FileDialogResult chosen;
        chosen.files = {lib.dir.file(name)};
        for (int i = 0; i < times; ++i) lib.host.dialogResults.push_back(chosen);
        return testing_support::WriteBytes(chosen.files[0], xml);
    }
    Library lib;
    MessageRecorder messages;
};

}  // namespace

TEST_F(ImportDialog, ItunesExportIsPreviewedAndImportedOverwritingKnownFiles) {
    TrackRecord known = MakeTrack(L"C:\\Music\\日本\\100%.mp3", L"old title");
    known.rating = 10;
    known.playcount = 99;
    ASSERT_TRUE(lib.Insert(known));
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>Tracks</key><dict>\n"
        "<key>1</key><dict><key>Name</key><string>新しい</string><key>Kind</key><string>MPEG オーディオファイル</string>"
        "<key>Track Type</key><string>File</string><key>Rating</key><integer>60</integer>"
        "<key>Play Count</key><integer>3</integer>"
        "<key>Location</key><string>file://localhost/C:/Music/%E6%97%A5%E6%9C%AC/100%25.mp3</string></dict>\n"
        "<key>2</key><dict><key>Name</key><string>Stream</string><key>Kind</key><string>MPEG</string>"
        "<key>Track Type</key><string>URL</string><key>Location</key><string>http://x/</string></dict>\n"
        "<key>4</key><dict><key>Name</key><string>Device</string><key>Kind</key><string>MPEG</string>"
        "<key>Track Type</key><string>File</string><key>Location</key><string>file://./PhysicalDrive0</string></dict>\n"
        "<key>3</key><dict><key>Name</key><string>二曲目</string><key>Kind</key><string>AAC オーディオファイル</string>"
        "<key>Track Type</key><string>File</string>"
        "<key>Location</key><string>file://localhost/D:/b.m4a</string></dict>\n"
        "</dict></dict></plist>\n";
    const std::wstring path = lib.dir.file(L"ライブラリ.xml");
    ASSERT_TRUE(testing_support::WriteBytes(path, xml));
    FileDialogResult chosen;
    chosen.pathName = path;
    chosen.files = {path};
    lib.host.dialogResults.push_back(chosen);

    int count = 0;
    bool importEnabled = false;
    std::wstring firstName, firstTitle;
    ScriptedDialogs dialogs([&](CDialog& d) {
        HWND combo = ::GetDlgItem(d, IDC_IMPORT_SOURCE);
        ::SendMessageW(combo, CB_SETCURSEL, 1, 0);
        Click(d, IDC_IMPORT_RUN);
        ASSERT_TRUE(PumpUntilLoaded(d));
        HWND list = ::GetDlgItem(d, IDC_IMPORT_LIST);
        count = ListView_GetItemCount(list);
        importEnabled = IsEnabled(d, IDOK);
        firstName = ItemText(list, 0, 0);
        firstTitle = ItemText(list, 0, 1);
        Click(d, IDOK);
    });
    EXPECT_TRUE(RunImportDialog(lib.doc));
    ASSERT_EQ(1u, lib.host.requests.size());
    EXPECT_EQ(L"ライブラリ.xml", lib.host.requests[0].defaultName);
    EXPECT_EQ(2, count);
    EXPECT_TRUE(importEnabled);
    EXPECT_EQ(L"C:\\Music\\日本\\100%.mp3", firstName);
    EXPECT_EQ(L"新しい", firstTitle);
    ASSERT_EQ(3u, messages.texts.size());
    EXPECT_NE(std::wstring::npos, messages.texts[0].find(L"2 個の項目は"));   // the stream and the device
    EXPECT_EQ(L"2 個の項目をインポートします。", messages.texts[1]);
    EXPECT_EQ(L"インポート完了", messages.texts[2]);
    EXPECT_EQ(2, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    // Overwritten, not merged.
    EXPECT_EQ(L"新しい", lib.Text(L"SELECT tagTitle FROM list WHERE file_name='" + known.file_name + L"';"));
    EXPECT_EQ(30, lib.Scalar(L"SELECT rating FROM list WHERE file_name='" + known.file_name + L"';"));
    EXPECT_EQ(3, lib.Scalar(L"SELECT playcount FROM list WHERE file_name='" + known.file_name + L"';"));
}

TEST_F(ImportDialog, CancelLeavesTheLibraryAndTheDialogAndReloadingResetsTheList) {
    WmpScope wmp({{L"C:\\a.mp3", L"C:\\b.mp3"}, {}});
    messages.answers = {IDCANCEL};
    std::vector<int> counts;
    std::vector<bool> enabled;
    bool open = false;
    ScriptedDialogs dialogs([&](CDialog& d) {
        Click(d, IDC_IMPORT_RUN);
        HWND list = ::GetDlgItem(d, IDC_IMPORT_LIST);
        counts.push_back(ListView_GetItemCount(list));
        enabled.push_back(IsEnabled(d, IDOK));
        Click(d, IDOK);   // cancelled
        open = !static_cast<CDlgImport&>(d).HasEnded();
        Click(d, IDC_IMPORT_RUN);   // the player's library is empty now
        counts.push_back(ListView_GetItemCount(list));
        enabled.push_back(IsEnabled(d, IDOK));
        ItemText(list, 0, 0);   // a row that is gone is asked for safely
    });
    EXPECT_FALSE(RunImportDialog(lib.doc));
    EXPECT_TRUE(open);
    EXPECT_EQ((std::vector<int>{2, 0}), counts);
    EXPECT_EQ((std::vector<bool>{true, false}), enabled);
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
}

TEST_F(ImportDialog, AMediaPlayerLibraryThatCannotBeOpenedLoadsNothingAndSaysNothing) {
    WmpScope wmp(std::vector<std::vector<std::wstring>>{});   // the player or its collection is missing
    int count = -1;
    bool importEnabled = true;
    ScriptedDialogs dialogs([&](CDialog& d) {
        Click(d, IDC_IMPORT_RUN);
        count = ListView_GetItemCount(::GetDlgItem(d, IDC_IMPORT_LIST));
        importEnabled = IsEnabled(d, IDOK);
    });
    EXPECT_FALSE(RunImportDialog(lib.doc));
    EXPECT_EQ(0, count);
    EXPECT_FALSE(importEnabled);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
}

TEST_F(ImportDialog, FailedWritesAreCountedAndNotReportedAsComplete) {
    WmpScope wmp(std::vector<std::vector<std::wstring>>{{L"C:\\good.mp3", L"C:\\bad.mp3"}});
    ASSERT_EQ(0, lib.db().exec(L"CREATE TRIGGER refuse BEFORE INSERT ON list WHEN NEW.file_name LIKE '%bad%' "
                               L"BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
    ScriptedDialogs dialogs([&](CDialog& d) {
        Click(d, IDC_IMPORT_RUN);
        auto& dlg = static_cast<CDlgImport&>(d);
        dlg.m_items.push_back(TrackRecord());   // a row without a file name is passed over
        Click(d, IDOK);
    });
    EXPECT_TRUE(RunImportDialog(lib.doc));   // one row was written: the views must reload
    ASSERT_EQ(2u, messages.texts.size());
    EXPECT_EQ(L"3 個の項目をインポートします。", messages.texts[0]);
    EXPECT_NE(std::wstring::npos, messages.texts[1].find(L"1 個の項目をライブラリに書き込めませんでした。"));
    for (const auto& text : messages.texts) EXPECT_EQ(std::wstring::npos, text.find(L"インポート完了"));
    EXPECT_EQ(1, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    EXPECT_EQ(40, lib.Scalar(L"SELECT rating FROM list WHERE file_name='C:\\good.mp3';"));
}

TEST_F(ImportDialog, LargeExportIsReadOnAThreadWhileTheDialogAnswers) {
    const int kTracks = 3000;
    ASSERT_TRUE(ChooseExport(L"large.xml", Export(kTracks)));
    bool loading = false, loaded = false;
    std::vector<bool> runEnabled, importEnabled;   // during the load, after it
    std::wstring caption, finalCaption, last;
    int count = 0;
    ScriptedDialogs dialogs([&](CDialog& d) {
        ::SendMessageW(::GetDlgItem(d, IDC_IMPORT_SOURCE), CB_SETCURSEL, 1, 0);
        Click(d, IDC_IMPORT_RUN);
        // The load runs on: the dialog is back at once, with only "閉じる" usable.
        loading = static_cast<CDlgImport&>(d).IsLoading();
        runEnabled.push_back(IsEnabled(d, IDC_IMPORT_RUN));
        importEnabled.push_back(IsEnabled(d, IDOK));
        caption = d.GetWindowText();
        loaded = PumpUntilLoaded(d);
        HWND list = ::GetDlgItem(d, IDC_IMPORT_LIST);
        count = ListView_GetItemCount(list);
        last = ItemText(list, kTracks - 1, 1);
        finalCaption = d.GetWindowText();
        runEnabled.push_back(IsEnabled(d, IDC_IMPORT_RUN));
        importEnabled.push_back(IsEnabled(d, IDOK));
    });
    RunImportDialog(lib.doc);
    EXPECT_TRUE(loading);
    EXPECT_EQ((std::vector<bool>{false, true}), runEnabled);
    EXPECT_EQ((std::vector<bool>{false, true}), importEnabled);
    EXPECT_EQ(L"インポート - 読み込み中", caption);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(kTracks, count);
    EXPECT_EQ(L"曲 " + std::to_wstring(kTracks - 1), last);
    EXPECT_EQ(L"インポート", finalCaption);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ImportDialog, ClosingDuringALoadEndsItsThread) {
    ASSERT_TRUE(ChooseExport(L"large.xml", Export(3000), 2));
    std::vector<bool> loading;
    // Closed with "閉じる", and destroyed with the load running.
    ScriptedDialogs dialogs([&](CDialog& d) {
        ::SendMessageW(::GetDlgItem(d, IDC_IMPORT_SOURCE), CB_SETCURSEL, 1, 0);
        Click(d, IDC_IMPORT_RUN);
        loading.push_back(static_cast<CDlgImport&>(d).IsLoading());
        if (loading.size() == 1) {
            Click(d, IDCANCEL);
            loading.push_back(static_cast<CDlgImport&>(d).IsLoading());
        }
    });
    EXPECT_FALSE(RunImportDialog(lib.doc));
    EXPECT_FALSE(RunImportDialog(lib.doc));
    EXPECT_EQ((std::vector<bool>{true, false, true}), loading);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
}

TEST_F(ImportDialog, ExportThatCannotBeReadIsReportedWhenItsThreadEnds) {
    ASSERT_TRUE(ChooseExport(L"broken.xml", "<plist><dict><key>Tracks</key><dict>"));
    bool loaded = false, runEnabled = false, importEnabled = true;
    ScriptedDialogs dialogs([&](CDialog& d) {
        ::SendMessageW(::GetDlgItem(d, IDC_IMPORT_SOURCE), CB_SETCURSEL, 1, 0);
        Click(d, IDC_IMPORT_RUN);
        loaded = PumpUntilLoaded(d);
        runEnabled = IsEnabled(d, IDC_IMPORT_RUN);
        importEnabled = IsEnabled(d, IDOK);
    });
    RunImportDialog(lib.doc);
    EXPECT_TRUE(loaded);
    EXPECT_TRUE(runEnabled);
    EXPECT_FALSE(importEnabled);
    EXPECT_EQ(std::vector<std::wstring>{L"XML load error."}, messages.texts);
}

TEST_F(ImportDialog, ManyRowsAreWrittenInBatchesThatEachCountOnceCommitted) {
    const int kRows = 2500;   // two full batches and a part
    ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\Music\\7.mp3", L"old")));
    std::wstring caption;
    ScriptedDialogs dialogs([&](CDialog& d) {
        auto& dlg = static_cast<CDlgImport&>(d);
        for (int i = 0; i < kRows; ++i) dlg.m_items.push_back(MakeTrack(L"C:\\Music\\" + std::to_wstring(i) + L".mp3", L"new"));
        Click(d, IDOK);
        caption = d.GetWindowText();
    });
    EXPECT_TRUE(RunImportDialog(lib.doc));
    EXPECT_EQ(std::vector<std::wstring>({L"2500 個の項目をインポートします。", L"インポート完了"}), messages.texts);
    EXPECT_EQ(kRows, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    EXPECT_EQ(kRows, lib.Scalar(L"SELECT COUNT(*) FROM list WHERE tagTitle='new';"));
    EXPECT_EQ(L"インポート", caption);
}

TEST_F(ImportDialog, RowsWhoseCommitFailsAreReportedAsNotWritten) {
    // Another connection reading the library keeps the commit from taking the file.
    sqlite3* reader = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open16(lib.settings.libraryPath.c_str(), &reader));
    sqlite3_stmt* read = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(reader, "BEGIN;", nullptr, nullptr, nullptr));
    ASSERT_EQ(SQLITE_OK, sqlite3_prepare_v2(reader, "SELECT COUNT(*) FROM sqlite_master;", -1, &read, nullptr));
    ASSERT_EQ(SQLITE_ROW, sqlite3_step(read));
    bool open = false;
    ScriptedDialogs dialogs([&](CDialog& d) {
        auto& dlg = static_cast<CDlgImport&>(d);
        for (int i = 0; i < 3; ++i) dlg.m_items.push_back(MakeTrack(L"C:\\" + std::to_wstring(i) + L".mp3", L"t"));
        Click(d, IDOK);
        open = !dlg.HasEnded();
    });
    EXPECT_FALSE(RunImportDialog(lib.doc));
    sqlite3_finalize(read);
    sqlite3_exec(reader, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
    EXPECT_TRUE(open);
    ASSERT_EQ(2u, messages.texts.size());
    EXPECT_NE(std::wstring::npos, messages.texts[1].find(L"3 個の項目をライブラリに書き込めませんでした。")) << messages.texts[1];
    EXPECT_NE(std::wstring::npos, messages.texts[1].find(L"(書き込んだ項目: 0 個)")) << messages.texts[1];
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
}

TEST_F(ImportDialog, RowsAfterAFullLibraryRolledItsBatchBackAreCountedAsTheyAre) {
    // The library may grow by a few pages only: a row that does not fit fails with
    // SQLITE_FULL, which rolls the whole open batch back.
    const int kRows = 2500;
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"PRAGMA max_page_count = " +
                                       std::to_wstring(lib.Scalar(L"PRAGMA page_count;") + 250) + L";"));
    ScriptedDialogs dialogs([&](CDialog& d) {
        auto& dlg = static_cast<CDlgImport&>(d);
        for (int i = 0; i < kRows; ++i) {
            TrackRecord track = MakeTrack(L"C:\\Music\\" + std::to_wstring(i) + L".mp3", L"t");
            track.tagComment.assign(400, L'x');
            dlg.m_items.push_back(track);
        }
        Click(d, IDOK);
    });
    RunImportDialog(lib.doc);
    const long long stored = lib.Scalar(L"SELECT COUNT(*) FROM list;");
    ASSERT_EQ(2u, messages.texts.size());
    int failed = -1, written = -1;
    ASSERT_EQ(2, swscanf(messages.texts[1].c_str(), L"%d 個の項目をライブラリに書き込めませんでした。\r\n(書き込んだ項目: %d 個)",
                         &failed, &written))
        << messages.texts[1];
    EXPECT_GT(failed, 0);
    EXPECT_GT(stored, 0);
    EXPECT_EQ(stored, written);   // every row reported written is there, and no other
    EXPECT_EQ(kRows, failed + written);
}

TEST_F(ImportDialog, AReadOnlyLibraryIsToldOnceAndTheRestIsNotTriedButCounted) {
    const int kRows = 2500;
    ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\Music\\7.mp3", L"old")));
    lib.db().close();
    ASSERT_EQ(SQLITE_OK, lib.db().open(lib.settings.libraryPath, true));
    for (int round = 0; round < 2; ++round) {
        messages.texts.clear();
        ScriptedDialogs dialogs([&](CDialog& d) {
            auto& dlg = static_cast<CDlgImport&>(d);
            for (int i = 0; i < kRows; ++i) dlg.m_items.push_back(MakeTrack(L"C:\\Music\\" + std::to_wstring(i) + L".mp3", L"new"));
            dlg.m_items.push_back(TrackRecord());   // no file name: neither written nor failed
            Click(d, IDOK);
        });
        EXPECT_FALSE(RunImportDialog(lib.doc));
        ASSERT_EQ(2u, messages.texts.size());
        EXPECT_NE(std::wstring::npos, messages.texts[1].find(L"2500 個の項目をライブラリに書き込めませんでした。")) << messages.texts[1];
        EXPECT_NE(std::wstring::npos, messages.texts[1].find(L"(書き込んだ項目: 0 個)")) << messages.texts[1];
    }
    ASSERT_EQ(1u, lib.host.messages.size()) << "the library is named once in the session";
    EXPECT_NE(std::wstring::npos, lib.host.messages[0].text.find(lib.settings.libraryPath));
    EXPECT_EQ(L"old", lib.Text(L"SELECT tagTitle FROM list;"));
}

TEST_F(ImportDialog, ClosingDoesNotWaitForALoadInProgressWhichThenEndsAlone) {
    ASSERT_TRUE(ChooseExport(L"large.xml", Export(2000)));
    HeldItunesReader reader;
    bool loading = false;
    ScriptedDialogs dialogs([&](CDialog& d) {
        ::SendMessageW(::GetDlgItem(d, IDC_IMPORT_SOURCE), CB_SETCURSEL, 1, 0);
        Click(d, IDC_IMPORT_RUN);
        loading = static_cast<CDlgImport&>(d).IsLoading();
        Click(d, IDCANCEL);
    });
    EXPECT_FALSE(RunImportDialog(lib.doc));   // back with the read still held in its load
    EXPECT_TRUE(loading);
    EXPECT_FALSE(reader.HasReturned(0));
    reader.Release();
    ASSERT_TRUE(reader.HasReturned(60000));   // it read the whole export for nobody
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
}
