// The main frame as the document's window: the document's start and close, the end of a
#include "support/MessageBoxRecorder.h"
// track handed over through "BassSyncMsg".
#include "document/PlayerTestSupport.h"
#include "framework/DocTemplate.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "ui/controls/BrowseForFolder.h"
#include "ui/views/MainFrame.h"
#include "ui/views/PaneViews.h"
#include <shlobj.h>
#include <clocale>
#include <cstring>
#include <memory>

using namespace doc_test;
using player_test::PlaybackView;
using player_test::PumpUntil;

namespace {

// What the views and the document saw, kept apart from objects the frame deletes.
struct Record {
    int closeCalls = 0;
    int closesThatRan = 0;
    int viewsDestroyed = 0;
    bool closedBeforeViewsWent = true;
    bool destroyed = false;
    bool frameWasHostWhenDestroyed = false;
    std::vector<LPARAM> hints;
};

class TestDoc : public CLarkspur2006Doc {
public:
    TestDoc(CAppSettings& settings, Record& record) : CLarkspur2006Doc(settings), m_record(record) {}
    ~TestDoc() override {
        m_record.destroyed = true;
        m_record.frameWasHostWhenDestroyed = dynamic_cast<CMainFrame*>(&GetPlayerHost()) != nullptr ||
                                             dynamic_cast<CMainFrame*>(&GetHost()) != nullptr;
    }
    void OnCloseDocument() override {
        ++m_record.closeCalls;
        if (!IsClosed()) ++m_record.closesThatRan;
        CLarkspur2006Doc::OnCloseDocument();
    }

private:
    Record& m_record;
};

class TestView : public CView {
public:
    explicit TestView(Record& record) : m_record(record) {}
    void OnUpdate(CView*, LPARAM hint, CObject*) override { m_record.hints.push_back(hint); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_DESTROY) {
            ++m_record.viewsDestroyed;
            auto* doc = dynamic_cast<CLarkspur2006Doc*>(GetDocument());
            if (!doc || !doc->IsClosed()) m_record.closedBeforeViewsWent = false;
        }
        return CView::WindowProc(msg, wParam, lParam);
    }

private:
    Record& m_record;
};

using MessageRecorder = testing_support::MessageBoxRecorder;

// The program's document template with a test document and view, in a hidden frame.
class FrameFixture : public ::testing::Test {
protected:
    FrameFixture() {
        app.m_nCmdShow = SW_HIDE;
        // The play list's pane holds a view that records what reaches it.
        SetMainPaneViewFactory([this](MainPane pane) -> CView* {
            if (pane == MainPane::Playlist) return new TestView(record);
            return new CPlaceholderView(pane);
        });
        settings = MakeSettings(dir.path());
        settings.bass.device = 0;   // the no-sound device
        settings.bass.frequency = 44100;
        settings.bass.masterVolume = 100;
        settings.thread.watchWait = 16;
    }
    ~FrameFixture() override {
        CloseFrame();
        SetMainPaneViewFactory(nullptr);
    }

    // Creates the document and the frame as the program's start does.
    TestDoc* Open() {
        record = Record();
        tmpl = std::make_unique<CSingleDocTemplate>(
            IDR_MAINFRAME, [this] { return static_cast<CDocument*>(new TestDoc(settings, record)); },
            [] { return static_cast<CFrameWnd*>(new CMainFrame); },
            [this] { return static_cast<CView*>(new TestView(record)); });
        doc = static_cast<TestDoc*>(tmpl->OpenDocumentFile(nullptr));
        frame = doc ? static_cast<CMainFrame*>(app.m_pMainWnd) : nullptr;
        return doc;
    }
    void CloseFrame() {
        if (frame && IsWindow(frame->m_hWnd)) SendMessageW(frame->m_hWnd, WM_CLOSE, 0, 0);
        frame = nullptr;
        doc = nullptr;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    CWinApp app;
    testing_support::TempDir dir;
    CAppSettings settings;
    DBErrorRecorder errors;
    Record record;
    std::unique_ptr<CSingleDocTemplate> tmpl;
    TestDoc* doc = nullptr;
    CMainFrame* frame = nullptr;
};

}  // namespace

TEST_F(FrameFixture, StartOpensLibraryAndEngineAndCloseRunsOnceBeforeTheViewsGo) {
    setlocale(LC_ALL, "C");
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(doc->IsStarted());
    EXPECT_TRUE(testing_support::FileExists(dir.file(L"library.db")));
    EXPECT_EQ(settings.libraryPath, dir.file(L"library.db"));
    EXPECT_TRUE(doc->GetStatusWatch().IsRunning());
    EXPECT_NE(std::strstr(setlocale(LC_ALL, nullptr), "932"), nullptr) << "the Japanese code page for narrow files";
    // Hints 5 and 31 from the start, then the views' initial update.
    ASSERT_GE(record.hints.size(), 2u);
    EXPECT_EQ(std::vector<LPARAM>(record.hints.begin(), record.hints.begin() + 2), (std::vector<LPARAM>{5, 31}));
    EXPECT_EQ(doc->GetPlaylistName(), L"Default");
    EXPECT_EQ(&doc->GetPlayerHost(), static_cast<IPlayerHost*>(frame));
    EXPECT_EQ(&doc->GetHost(), static_cast<IDocumentHost*>(frame));
    EXPECT_EQ(frame->GetMainWindow(), frame->m_hWnd);

    // The player's caption goes to the window.
    doc->GetPlayerHost().SetCaption(L"曲名 - Spur");
    EXPECT_EQ(frame->GetWindowText(), L"曲名 - Spur");

    // A row written now is there at the next start.
    TrackRecord t = MakeTrack(dir.file(L"a.wav"), L"残る曲");
    sqlite3_stmt* insert = nullptr;
    ASSERT_EQ(doc->GetDatabase().prepare(doc->GetSqlInsert(), &insert), 0);
    ASSERT_TRUE(BindTrackForInsert(insert, t));
    sqlite3_finalize(insert);

    SendMessageW(frame->m_hWnd, WM_CLOSE, 0, 0);
    frame = nullptr;
    doc = nullptr;
    EXPECT_EQ(record.closesThatRan, 1);
    EXPECT_EQ(record.closeCalls, 2) << "from WM_CLOSE and again, without effect, from WM_DESTROY";
    EXPECT_EQ(record.viewsDestroyed, 1);
    EXPECT_TRUE(record.closedBeforeViewsWent);

    // An existing profile: the same library opens with its rows.
    ASSERT_NE(Open(), nullptr);
    CSQlite& db = doc->GetDatabase();
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(db.prepare(L"SELECT tagTitle FROM list;", &stmt), 0);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(CSQlite::column_text16_or_empty(stmt, 0), L"残る曲");
    sqlite3_finalize(stmt);
    EXPECT_TRUE(errors.texts.empty());
}

TEST_F(FrameFixture, DestroyingTheWindowClosesTheDocumentOnce) {
    ASSERT_NE(Open(), nullptr);
    DestroyWindow(frame->m_hWnd);
    frame = nullptr;
    doc = nullptr;
    EXPECT_EQ(record.closesThatRan, 1);
    EXPECT_EQ(record.closeCalls, 1);
    EXPECT_TRUE(record.closedBeforeViewsWent);
    EXPECT_TRUE(record.destroyed) << "the frame deletes its document";
    EXPECT_FALSE(record.frameWasHostWhenDestroyed) << "a document outliving the window never calls it";
}

TEST_F(FrameFixture, LibraryThatCannotOpenFailsTheStartWithItsMessage) {
    // A folder where the library file should be.
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"library.db").c_str(), nullptr));
    MessageRecorder boxes;
    EXPECT_EQ(Open(), nullptr);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], L"データベースが開けませんでした。");
    EXPECT_EQ(boxes.types[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(app.m_pMainWnd, nullptr) << "the frame is gone";
    EXPECT_EQ(record.closesThatRan, 1);
}

TEST_F(FrameFixture, TrackEndHeardThroughTheFrameAdvancesByPlayMode) {
    ASSERT_NE(Open(), nullptr);
    std::vector<int64_t> rows;
    for (const wchar_t* name : {L"one.wav", L"two.wav"}) {
        std::vector<int16_t> samples(4410, 1000);   // 0.1 s
        const std::wstring path = dir.file(name);
        ASSERT_TRUE(testing_support::WriteBytes(path, PcmWaveBytes(1, 44100, samples)));
        TrackRecord t = MakeTrack(path, name);
        t.infoCodec = 5;
        sqlite3_stmt* insert = nullptr;
        ASSERT_EQ(doc->GetDatabase().prepare(doc->GetSqlInsert(), &insert), 0);
        ASSERT_TRUE(BindTrackForInsert(insert, t));
        sqlite3_finalize(insert);
        t.rowid = sqlite3_last_insert_rowid(doc->GetDatabase().handle());
        rows.push_back(t.rowid);
        doc->GetPlaylistCache().rows.push_back(std::make_unique<TrackRecord>(t));
    }
    auto playCount = [&](int64_t rowid) {
        sqlite3_stmt* stmt = nullptr;
        doc->GetDatabase().prepare(L"SELECT playcount FROM list WHERE rowid=" + std::to_wstring(rowid) + L";", &stmt);
        int n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
        sqlite3_finalize(stmt);
        return n;
    };

    settings.bass.repeatMode = PlayModeList;
    ASSERT_TRUE(doc->Play(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return doc->GetNowPlaying().rowid == rows[1]; }));
    EXPECT_EQ(playCount(rows[0]), 1);
    // The last row ends the list: stopped and cleared.
    ASSERT_TRUE(PumpUntil([&] { return doc->GetPlayState() == PlayStateStopped; }));
    EXPECT_EQ(playCount(rows[1]), 1);
    EXPECT_EQ(doc->GetNowPlaying().rowid, -1);
    EXPECT_EQ(frame->GetWindowText(), settings.appTitle) << "the caption returns to the program's title";

    // Single repeat starts the same track again.
    settings.bass.repeatMode = PlayModeSingleRepeat;
    ASSERT_TRUE(doc->Play(1, 0));
    ASSERT_TRUE(PumpUntil([&] { return playCount(rows[1]) >= 3; }));
    EXPECT_EQ(doc->GetNowPlaying().rowid, rows[1]);
    EXPECT_EQ(doc->GetPlayState(), PlayStatePlaying);
}

TEST_F(FrameFixture, FolderForTheDocumentIsChosenInTheFolderChooser) {
    ASSERT_NE(Open(), nullptr);
    std::wstring opened;
    auto previous = CBrowseForFolder::SetDialogRunner([&](BROWSEINFOW& info) -> PIDLIST_ABSOLUTE {
        opened = CBrowseForFolder::StartFolder();
        EXPECT_EQ(info.hwndOwner, frame->m_hWnd);
        return ILCreateFromPathW(dir.path().c_str());
    });
    std::wstring folder = L"C:\\";
    bool subfolders = false;
    EXPECT_EQ(doc->GetHost().BrowseForFolder(folder, subfolders), 1);
    EXPECT_EQ(opened, L"C:\\");
    EXPECT_EQ(folder + L"\\", dir.path());
    EXPECT_TRUE(subfolders) << "the check box starts ticked";

    CBrowseForFolder::SetDialogRunner([](BROWSEINFOW&) -> PIDLIST_ABSOLUTE { return nullptr; });
    EXPECT_EQ(doc->GetHost().BrowseForFolder(folder, subfolders), 2);
    CBrowseForFolder::SetDialogRunner(previous);
}
