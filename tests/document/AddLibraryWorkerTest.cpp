// The add-to-library worker without its dialog: a folder of real audio files scanned on a
// thread of its own, with and without subfolders, cancelled half way, through link loops and
// past files named like devices, and a list of files updated.

#include "DocTestSupport.h"
#include "document/AddLibraryWorker.h"
#include "support/FolderLink.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <mutex>

using namespace doc_test;
using testing_support::FolderLink;
using testing_support::TestDataPath;

namespace {

// Records what the worker reports; `onText` may act on a text (it runs on the worker).
class StatusRecorder : public IAddLibraryStatus {
public:
    void SetLibraryStatusText(const std::wstring& text) override {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            texts.push_back(text);
        }
        if (onText) onText(text);
    }
    void OnLibraryWorkerFinished() override { ++finished; }

    std::vector<std::wstring> texts;
    std::function<void(const std::wstring&)> onText;
    std::atomic<int> finished{0};

private:
    std::mutex m_mutex;
};

class Worker : public ::testing::Test {
protected:
    Worker() {
        // root: two files, a text file, a folder named like an audio file, and two levels below.
        root = lib.dir.file(L"音楽");
        CreateDirectoryW(root.c_str(), nullptr);
        for (const wchar_t* sub : {L"\\sub", L"\\sub\\deeper", L"\\album.mp3"})
            CreateDirectoryW((root + sub).c_str(), nullptr);
        Copy(L"tone.mp3", L"\\tone.mp3");
        Copy(L"tone.flac", L"\\tone.flac");
        Copy(L"tone.ogg", L"\\sub\\tone.ogg");
        Copy(L"tone.m4a", L"\\sub\\tone.m4a");
        Copy(L"tone.wma", L"\\sub\\deeper\\tone.wma");
        Copy(L"tone.tta", L"\\album.mp3\\tone.tta");
        testing_support::WriteBytes(root + L"\\notes.txt", std::string("not audio"));
        context.doc = &lib.doc;
        context.status = &status;
        context.folder = root;
    }
    void Copy(const wchar_t* data, const wchar_t* to) {
        ASSERT_TRUE(CopyFileW(TestDataPath(std::wstring(L"audio\\") + data).c_str(), (root + to).c_str(), FALSE));
    }
    // Runs a worker on a thread of its own and waits for it.
    void RunWorker(LPTHREAD_START_ROUTINE proc) {
        status.texts.clear();
        HANDLE thread = CreateThread(nullptr, 0, proc, &context, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        ASSERT_EQ(WaitForSingleObject(thread, 60000), WAIT_OBJECT_0);
        CloseHandle(thread);
    }
    // The "\\?\" form of a path below the root, the only one that does not name a device;
    // removed again with the fixture.
    std::wstring DeviceNamed(const wchar_t* name) {
        deviceNamed.push_back(L"\\\\?\\" + root + name);
        return deviceNamed.back();
    }
    ~Worker() override {
        // The folder's own removal would take these for devices too.
        for (auto path = deviceNamed.rbegin(); path != deviceNamed.rend(); ++path)
            if (!DeleteFileW(path->c_str())) RemoveDirectoryW(path->c_str());
    }
    std::vector<std::wstring> Rows() {
        std::vector<std::wstring> names;
        sqlite3_stmt* stmt = nullptr;
        lib.db().prepare(L"SELECT file_name FROM list;", &stmt);
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW) names.push_back(CSQlite::column_text16_or_empty(stmt, 0));
        sqlite3_finalize(stmt);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::wstring> Paths(std::initializer_list<const wchar_t*> relative) {
        std::vector<std::wstring> paths;
        for (const wchar_t* r : relative) paths.push_back(root + r);
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    bool Reported(const std::wstring& text) {
        return std::find(status.texts.begin(), status.texts.end(), text) != status.texts.end();
    }

    Library lib;
    std::wstring root;
    StatusRecorder status;
    AddLibraryContext context;
    std::vector<std::wstring> deviceNamed;
};

}  // namespace

TEST_F(Worker, FolderWithSubfoldersAddsEveryAudioFileOnceAndThenNothingUnchanged) {
    ASSERT_TRUE(lib.opened);
    RunWorker(&AddLibraryThreadProc);
    const auto all = Paths({L"\\tone.mp3", L"\\tone.flac", L"\\sub\\tone.ogg", L"\\sub\\tone.m4a",
                            L"\\sub\\deeper\\tone.wma", L"\\album.mp3\\tone.tta"});
    EXPECT_EQ(context.count, 6);
    EXPECT_EQ(Rows(), all);
    EXPECT_EQ(status.finished, 1);
    ASSERT_FALSE(status.texts.empty());
    EXPECT_EQ(status.texts.front(), root + L"\r\nを検索中...");
    EXPECT_TRUE(Reported(root + L"\\sub\\deeper\r\nを検索中..."));
    for (const auto& path : all) EXPECT_TRUE(Reported(path)) << "each file is shown while it is read";
    EXPECT_FALSE(Reported(root + L"\\notes.txt"));
    EXPECT_EQ(status.texts.back(), L"6 個のファイルが追加・更新されました。");
    EXPECT_TRUE(lib.errors.texts.empty());

    // A second scan finds every file unchanged.
    RunWorker(&AddLibraryThreadProc);
    EXPECT_EQ(context.count, 0);
    EXPECT_EQ(status.texts.back(), L"0 個のファイルが追加・更新されました。");
    EXPECT_EQ(Rows().size(), 6u);
}

TEST_F(Worker, LinksBackIntoTheWalkAreNotFollowedAgainSoEachFileIsAddedOnceAndTheWalkEnds) {
    // "sub\up" leads back to the folder above and two links in "sub\deeper" to that folder
    // itself: followed, they would add the files again at every level, in 2^n paths.
    FolderLink up(root + L"\\sub\\up", root);
    FolderLink here(root + L"\\sub\\deeper\\here", root + L"\\sub\\deeper");
    FolderLink again(root + L"\\sub\\deeper\\again", root + L"\\sub\\deeper");
    // A link out of the walk is followed as before.
    testing_support::TempDir outside;
    ASSERT_TRUE(CopyFileW(TestDataPath(L"audio\\tone.mp2").c_str(), outside.file(L"tone.mp2").c_str(), FALSE));
    FolderLink elsewhere(root + L"\\elsewhere", outside.path());
    ASSERT_TRUE(up.made() && here.made() && again.made() && elsewhere.made());

    RunWorker(&AddLibraryThreadProc);
    EXPECT_EQ(Rows(), Paths({L"\\tone.mp3", L"\\tone.flac", L"\\sub\\tone.ogg", L"\\sub\\tone.m4a",
                             L"\\sub\\deeper\\tone.wma", L"\\album.mp3\\tone.tta", L"\\elsewhere\\tone.mp2"}));
    EXPECT_EQ(context.count, 7);
    EXPECT_EQ(status.texts.back(), L"7 個のファイルが追加・更新されました。");
    EXPECT_FALSE(Reported(root + L"\\sub\\up\r\nを検索中..."));
    EXPECT_FALSE(Reported(root + L"\\sub\\deeper\\here\r\nを検索中..."));
}

TEST_F(Worker, FilesNamedLikeDevicesAreNeverOpenedAndTheWalkEnds) {
    const auto devices = {L"\\com1.mp3", L"\\CON.mp3", L"\\sub\\nul.flac", L"\\sub\\Lpt1.ogg"};
    for (const wchar_t* name : devices)
        ASSERT_TRUE(CopyFileW(TestDataPath(L"audio\\tone.mp3").c_str(), DeviceNamed(name).c_str(), FALSE));
    // A folder named like a device is a folder like any other.
    ASSERT_TRUE(CreateDirectoryW(DeviceNamed(L"\\com2").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(TestDataPath(L"audio\\tone.ogg").c_str(), DeviceNamed(L"\\com2\\tone.ogg").c_str(), FALSE));

    RunWorker(&AddLibraryThreadProc);
    EXPECT_EQ(context.count, 7);
    EXPECT_EQ(status.texts.back(), L"7 個のファイルが追加・更新されました。");
    for (const wchar_t* name : devices) EXPECT_FALSE(Reported(root + name)) << "never read";
    EXPECT_EQ(Rows(), Paths({L"\\tone.mp3", L"\\tone.flac", L"\\sub\\tone.ogg", L"\\sub\\tone.m4a",
                             L"\\sub\\deeper\\tone.wma", L"\\album.mp3\\tone.tta", L"\\com2\\tone.ogg"}));
}

TEST_F(Worker, WithoutSubfoldersAFolderNamedLikeAudioIsSkippedByTheReader) {
    context.subfolders = false;
    RunWorker(&AddLibraryThreadProc);
    EXPECT_EQ(Rows(), Paths({L"\\tone.mp3", L"\\tone.flac"}));
    EXPECT_EQ(context.count, 2);
    EXPECT_TRUE(Reported(root + L"\\album.mp3")) << "offered to the reader like a file";
    EXPECT_FALSE(Reported(root + L"\\sub\r\nを検索中..."));
    EXPECT_EQ(status.texts.back(), L"2 個のファイルが追加・更新されました。");
}

TEST_F(Worker, CancelHalfWayStopsAtEveryLevelAndSaysSo) {
    // Cancelled while the deepest folder is being read: nothing after its first entry.
    status.onText = [&](const std::wstring& text) {
        if (text == root + L"\\sub\\deeper\r\nを検索中...") context.cancel = true;
    };
    RunWorker(&AddLibraryThreadProc);
    EXPECT_EQ(status.texts.back(), L"キャンセルされました。");
    EXPECT_EQ(status.finished, 1);
    EXPECT_FALSE(Reported(root + L"\\sub\\deeper\\tone.wma"));
    // What was written before the cancel stays, and is what the count says.
    const auto rows = Rows();
    EXPECT_EQ(static_cast<int>(rows.size()), context.count.load());
    EXPECT_LT(rows.size(), 6u);
    // The levels above stopped too: nothing was shown after the cancel.
    EXPECT_EQ(status.texts[status.texts.size() - 2], root + L"\\sub\\deeper\r\nを検索中...");
}

TEST_F(Worker, ListOfFilesIsUpdatedInOrderAndCanBeCancelled) {
    lib.settings.generic.checkFileModify = false;   // re-read even unchanged files
    context.mode = AddLibraryContext::UpdateFiles;
    context.files = {root + L"\\tone.flac", root + L"\\missing.mp3", root + L"\\sub\\tone.ogg"};
    RunWorker(&UpdateLibraryThreadProc);
    EXPECT_EQ(context.count, 2) << "a file that cannot be read is skipped";
    EXPECT_EQ(Rows(), Paths({L"\\tone.flac", L"\\sub\\tone.ogg"}));
    EXPECT_EQ(status.texts, (std::vector<std::wstring>{root + L"\\tone.flac", root + L"\\missing.mp3",
                                                        root + L"\\sub\\tone.ogg",
                                                        L"2 個のファイルが更新されました。"}));

    status.onText = [&](const std::wstring& text) {
        if (text == root + L"\\tone.flac") context.cancel = true;
    };
    context.cancel = false;
    RunWorker(&UpdateLibraryThreadProc);
    EXPECT_EQ(context.count, 1);
    EXPECT_EQ(status.texts.back(), L"キャンセルされました。");
}

TEST_F(Worker, LibraryTheWorkerCannotOpenIsReportedAsError) {
    lib.settings.libraryPath = lib.dir.file(L"音楽");   // a folder
    RunWorker(&AddLibraryThreadProc);
    ASSERT_EQ(status.texts.size(), 1u);
    EXPECT_EQ(status.texts[0].rfind(L"ERROR\r\n", 0), 0u);
    EXPECT_GT(status.texts[0].size(), 7u) << "with SQLite's message";
    EXPECT_EQ(status.finished, 1);
    EXPECT_EQ(context.count, 0);
    EXPECT_TRUE(lib.errors.texts.empty()) << "shown in the dialog, not as a database error box";
}
