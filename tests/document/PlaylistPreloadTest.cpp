// The play list read at start on a thread of its own, against the reload it stands in for.
#include "DocTestSupport.h"
#include "document/PlayerTestSupport.h"
#include "document/PlaylistLoader.h"
#include "document/PlaylistPreload.h"
#include <gtest/gtest.h>
#include <functional>
#include <thread>

using namespace doc_test;
using player_test::PumpUntil;

namespace {

class Preload : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lib.opened);
        lib.settings.playlistView.playlistRestore = true;
        ASSERT_EQ(0, lib.db().exec(L"BEGIN;"));
        for (int i = 0; i < 300; ++i) {
            const std::wstring n = std::to_wstring(i);
            ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\m\\" + n + L".mp3", L"曲" + n, i % 3 ? L"A" : L"a",
                                             i % 7 ? L"アルバム" + std::to_wstring(i % 5) : L"", n)));
        }
        ASSERT_EQ(0, lib.db().exec(L"COMMIT;"));
        // The play list a previous run left.
        ASSERT_EQ(0, lib.db().exec(L"CREATE VIEW playlist AS SELECT * FROM list WHERE rowid % 4 <> 1 "
                                   L"ORDER BY tagAlbum DESC, rowid;"));
    }

    // file name and rating of each row, in order
    static std::vector<std::wstring> Rows(const PlaylistCache& cache) {
        std::vector<std::wstring> rows;
        for (const auto& r : cache.rows) rows.push_back(r->file_name + L"/" + std::to_wstring(r->rating));
        return rows;
    }
    static std::vector<uint64_t> Totals(const PlaylistSummary& s) {
        return {s.files, s.bytes, s.seconds, s.artists, s.albums, s.genres};
    }

    Library lib;
};

using Load = CLarkspur2006Doc::PlaylistLoad;

// True when another connection could not commit now.
bool Locked(const std::wstring& path) {
    sqlite3* other = nullptr;
    sqlite3_open16(path.c_str(), &other);
    const bool busy = sqlite3_exec(other, "BEGIN EXCLUSIVE; ROLLBACK;", nullptr, nullptr, nullptr) == SQLITE_BUSY;
    sqlite3_close(other);
    return busy;
}

}  // namespace

TEST_F(Preload, TheRowsReadAtStartAreTheReloadsOwnAndAreTakenOnce) {
    PlaylistCache expected;
    PlaylistSummary expectedTotals;
    ASSERT_TRUE(LoadPlaylistCache(lib.db(), expected, nullptr, &expectedTotals));
    ASSERT_EQ(225, expected.size());

    const std::wstring& path = lib.settings.libraryPath;
    CPlaylistPreload preload;
    ASSERT_TRUE(preload.Start(path, L"MEMORY"));
    EXPECT_FALSE(preload.Start(path));
    PlaylistCache cache;
    cache.rows.push_back(std::make_unique<TrackRecord>());
    cache.current = 0;
    PlaylistSummary totals;
    ASSERT_TRUE(preload.Take(path, cache, totals));
    EXPECT_EQ(Rows(expected), Rows(cache));
    EXPECT_EQ(-1, cache.current);
    EXPECT_EQ(Totals(expectedTotals), Totals(totals));
    for (int i = 0; i < cache.size(); ++i) EXPECT_EQ(expected.at(i)->rowid, cache.at(i)->rowid);

    EXPECT_FALSE(preload.Take(path, cache, totals));
    EXPECT_EQ(225, cache.size());
    // A sort or a temporary result of the reading goes where the document's would.
    EXPECT_EQ(2, preload.TempStore()) << "memory";

    // Another file than the one the document opened, or none at all (and none is made).
    CPlaylistPreload elsewhere, missing;
    ASSERT_TRUE(elsewhere.Start(path, L"FILE"));
    EXPECT_FALSE(elsewhere.Take(path + L".other", cache, totals));
    EXPECT_EQ(1, elsewhere.TempStore()) << "file";
    const std::wstring nowhere = lib.dir.path() + L"\\none.db";
    ASSERT_TRUE(missing.Start(nowhere));
    EXPECT_FALSE(missing.Take(nowhere, cache, totals));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(nowhere.c_str()));
    EXPECT_EQ(225, cache.size());
}

// A write made once the reading has ended is what the first reload shows: the rows read
// before it are not taken.
TEST_F(Preload, AWriteAfterTheReadingEndedIsShownByTheFirstReload) {
    const long long rowid = lib.Scalar(L"SELECT rowid FROM list WHERE file_name='C:\\m\\2.mp3';");
    lib.doc.StartPlaylistPreload();
    ASSERT_TRUE(PumpUntil([&] { return !lib.doc.GetPlaylistPreload().IsReading(); }, 60000));
    ASSERT_TRUE(lib.doc.WriteRating(rowid, 40));
    PlaylistCache cache;
    PlaylistSummary totals;
    ASSERT_EQ(Load::Loaded, lib.doc.LoadPlaylist(cache, totals));
    ASSERT_EQ(225, cache.size());
    int index = -1;
    ASSERT_NE(nullptr, cache.FindByRowid(rowid, index));
    EXPECT_EQ(40, cache.at(index)->rating);
}

// A write that meets the reading's lock stops the reading instead of waiting for it or failing.
TEST_F(Preload, AWriterThatMeetsTheReadingIsNotKeptWaiting) {
    Library endless;
    ASSERT_TRUE(endless.opened);
    endless.settings.playlistView.playlistRestore = true;
    endless.db().set_busy_timeout(0);
    ASSERT_TRUE(endless.Insert(MakeTrack(L"C:\\m\\1.mp3", L"曲")));
    ASSERT_EQ(0, endless.db().exec(L"CREATE VIEW playlist AS SELECT * FROM list WHERE (WITH RECURSIVE c(x) AS "
                                   L"(SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT count(*) FROM c) > 0;"));
    endless.doc.StartPlaylistPreload();
    ASSERT_TRUE(PumpUntil([&] { return Locked(endless.settings.libraryPath); }, 60000));
    ASSERT_TRUE(endless.doc.SetQuery(L"all", L"SELECT * FROM list;", false));
    PlaylistCache cache;
    PlaylistSummary totals;
    ASSERT_EQ(Load::Loaded, endless.doc.LoadPlaylist(cache, totals));
    ASSERT_EQ(1, cache.size());
    EXPECT_EQ(L"C:\\m\\1.mp3", cache.at(0)->file_name);
    EXPECT_TRUE(endless.errors.messages.empty());
}

namespace {

// A message-only window whose WM_USER runs `t_onMessage`.
thread_local std::function<void()> t_onMessage;
LRESULT CALLBACK CallingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m != WM_USER) return DefWindowProcW(h, m, w, l);
    t_onMessage();
    return 0;
}

}  // namespace

// The reload waits for the reading answering sent messages; one that asks for the play list
// again meanwhile reads nothing and leaves the wait alone, and Escape still ends it.
TEST_F(Preload, AReloadAskedForDuringTheWaitLeavesTheWaitAlone) {
    Library endless;
    ASSERT_TRUE(endless.opened);
    endless.settings.playlistView.playlistRestore = true;
    ASSERT_TRUE(endless.Insert(MakeTrack(L"C:\\m\\1.mp3", L"曲")));
    ASSERT_EQ(0, endless.db().exec(L"CREATE VIEW playlist AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                                   L"SELECT x + 1 FROM c) SELECT list.* FROM list, c;"));
    endless.doc.StartPlaylistPreload();

    PlaylistCache nested;
    PlaylistSummary nestedTotals;
    Load nestedLoad = Load::Loaded;
    t_onMessage = [&] { nestedLoad = endless.doc.LoadPlaylist(nested, nestedTotals); };
    WNDCLASSW wc{};
    wc.lpfnWndProc = CallingProc;
    wc.lpszClassName = L"LarkPreloadTestWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const DWORD ui = GetCurrentThreadId();
    std::thread sender([&] {
        SendMessageW(window, WM_USER, 0, 0);   // answered inside the reload's wait
        PostThreadMessageW(ui, WM_KEYDOWN, VK_ESCAPE, 0);
    });

    PlaylistCache cache;
    cache.rows.push_back(std::make_unique<TrackRecord>());
    PlaylistSummary totals;
    const Load load = endless.doc.LoadPlaylist(cache, totals);
    sender.join();
    EXPECT_EQ(Load::Busy, nestedLoad);
    EXPECT_EQ(Load::Stopped, load);
    EXPECT_EQ(1, cache.size()) << "a stopped reading leaves the play list as it was";
    EXPECT_FALSE(endless.doc.GetPlaylistPreload().IsReading());
    EXPECT_TRUE(endless.errors.messages.empty());
    DestroyWindow(window);
}

namespace {

class PreloadWhilePlaying : public player_test::PlayerFixture {};

}  // namespace

// The rows read at start know nothing of the track that plays by the time they are taken: its
// row is current in them as in rows read then.
TEST_F(PreloadWhilePlaying, ThePlayingTracksRowIsCurrentInTheRowsReadAtStart) {
    AddWavTrack(L"a.wav", 441000);
    const int64_t b = AddWavTrack(L"b.wav", 441000);
    AddWavTrack(L"c.wav", 441000);
    ASSERT_EQ(0, lib.db().exec(L"CREATE VIEW playlist AS SELECT * FROM list ORDER BY rowid DESC;"));
    StartPlayer();
    ASSERT_TRUE(Doc().Play(1, 0));
    ASSERT_EQ(b, Doc().GetNowPlaying().rowid);

    lib.settings.playlistView.playlistRestore = true;
    Doc().StartPlaylistPreload();
    ASSERT_TRUE(PumpUntil([&] { return !Doc().GetPlaylistPreload().IsReading(); }, 60000));
    PlaylistCache cache;
    PlaylistSummary totals;
    ASSERT_EQ(Load::Loaded, Doc().LoadPlaylist(cache, totals));
    ASSERT_EQ(3, cache.size());
    EXPECT_EQ(1, cache.current);
    EXPECT_EQ(b, cache.at(1)->rowid);
}
