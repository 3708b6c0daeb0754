// The play list read at start on a thread of its own, against the reload it stands in for.
#include "DocTestSupport.h"
#include "document/PlayerTestSupport.h"
#include "document/PlaylistLoader.h"
#include "document/PlaylistPreload.h"
#include <gtest/gtest.h>

using namespace doc_test;

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
        ASSERT_TRUE(lib.doc.SetQuery(L"q", L"SELECT * FROM list WHERE rowid % 4 <> 1 ORDER BY tagAlbum DESC, rowid;", false));
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
    ASSERT_TRUE(preload.Start(path));
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

    // Another file than the one the document opened, or none at all (and none is made).
    CPlaylistPreload elsewhere, missing;
    ASSERT_TRUE(elsewhere.Start(path));
    EXPECT_FALSE(elsewhere.Take(path + L".other", cache, totals));
    const std::wstring nowhere = lib.dir.path() + L"\\none.db";
    ASSERT_TRUE(missing.Start(nowhere));
    EXPECT_FALSE(missing.Take(nowhere, cache, totals));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(nowhere.c_str()));
    EXPECT_EQ(225, cache.size());
}

// Whatever is written after the start is what the first reload shows, and a write that meets
// the reading's lock stops the reading instead of waiting for it or failing.
TEST_F(Preload, WhatIsWrittenAfterTheStartIsShownAndAWriterIsNotKeptWaiting) {
    const long long rowid = lib.Scalar(L"SELECT rowid FROM list WHERE file_name='C:\\m\\2.mp3';");
    lib.doc.StartPlaylistPreload();
    ASSERT_TRUE(lib.doc.WriteRating(rowid, 40));
    PlaylistCache cache;
    PlaylistSummary totals;
    ASSERT_TRUE(lib.doc.LoadPlaylist(cache, totals));
    int index = -1;
    ASSERT_NE(nullptr, cache.FindByRowid(rowid, index));
    EXPECT_EQ(40, cache.at(index)->rating);

    // A play list that reads until it is stopped, then a new query written over it.
    Library endless;
    ASSERT_TRUE(endless.opened);
    endless.settings.playlistView.playlistRestore = true;
    endless.db().set_busy_timeout(0);
    ASSERT_TRUE(endless.Insert(MakeTrack(L"C:\\m\\1.mp3", L"曲")));
    ASSERT_TRUE(endless.doc.SetQuery(
        L"endless", L"SELECT * FROM list WHERE (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                    L"SELECT count(*) FROM c) > 0;", false));
    endless.doc.StartPlaylistPreload();
    ASSERT_TRUE(player_test::PumpUntil([&] { return Locked(endless.settings.libraryPath); }, 60000));
    ASSERT_TRUE(endless.doc.SetQuery(L"all", L"SELECT * FROM list;", false));
    ASSERT_TRUE(endless.doc.LoadPlaylist(cache, totals));
    ASSERT_EQ(1, cache.size());
    EXPECT_EQ(L"C:\\m\\1.mp3", cache.at(0)->file_name);
    EXPECT_TRUE(endless.errors.messages.empty());
}
