// A query that never ends is read only until the user stops it, and a stopped or failed
// reading changes nothing: not the play list, not its stored view, not the start after.
#include "DocTestSupport.h"
#include "document/PlaylistLoader.h"
#include <gtest/gtest.h>
#include <vector>

using namespace doc_test;

namespace {

using Load = CLarkspur2006Doc::PlaylistLoad;

const std::wstring kEndless = L"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT list.* FROM list, c";

// Escape, as the user presses it on reading how to stop.
void PressEscape(const std::wstring& text) {
    if (!text.empty()) PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
}

std::wstring Files(const PlaylistCache& cache) {
    std::wstring files;
    for (const auto& r : cache.rows) files += r->file_name + L";";
    return files;
}

class QueryStop : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lib.opened);
        for (const wchar_t* name : {L"C:\\m\\1.mp3", L"C:\\m\\2.mp3", L"C:\\m\\3.mp3"}) ASSERT_TRUE(lib.Insert(MakeTrack(name, L"曲")));
    }
    // The stored `playlist`: its definition and its rows in order.
    std::wstring Stored() {
        PlaylistCache cache;
        LoadPlaylistCache(lib.db(), cache, nullptr, nullptr);
        return lib.Text(L"SELECT group_concat(sql) FROM (SELECT sql FROM sqlite_master WHERE name='playlist' "
                        L"UNION ALL SELECT sql FROM sqlite_temp_master WHERE name='playlist');") + Files(cache);
    }
    // A query and its rows shown, as the quick search and hint 20 do.
    Load Show(const std::wstring& sql) {
        PlaylistSummary summary;
        if (!lib.doc.SetQuery(L"前", sql, true)) return Load::Failed;
        return lib.doc.LoadPlaylist(lib.doc.GetPlaylistCache(), summary);
    }

    Library lib;
};

}  // namespace

TEST_F(QueryStop, AQueryStoppedByEscapeLeavesThePlayListAndItsStoredView) {
    const std::wstring queries[] = {kEndless + L";", kEndless + L" ORDER BY random();", kEndless + L" WHERE x < 0;"};
    const std::pair<const wchar_t*, bool> previous[] = {
        {L"SELECT * FROM list WHERE rowid <= 2 ORDER BY rowid DESC;", false},   // a view
        {L"SELECT * FROM list ORDER BY random();", true},                        // a shuffled table
    };
    lib.host.onStatusText = PressEscape;
    for (const auto& [before, table] : previous) {
        for (const std::wstring& query : queries) {
            SCOPED_TRACE(std::wstring(before) + L" then " + query);
            ASSERT_EQ(Load::Loaded, Show(before));
            const std::wstring stored = Stored(), shown = Files(lib.doc.GetPlaylistCache());
            const size_t history = lib.doc.GetQueryHistory().entries.size(), titles = lib.host.titles.size();
            lib.host.statusTexts.clear();

            EXPECT_FALSE(lib.doc.SetQuery(L"終わらない", query, true));
            EXPECT_EQ(stored, Stored());
            EXPECT_EQ(table, lib.doc.IsPlaylistTable());
            EXPECT_EQ(shown, Files(lib.doc.GetPlaylistCache()));
            EXPECT_NE(0, sqlite3_get_autocommit(lib.db().handle())) << "no transaction left open";
            EXPECT_EQ(history, lib.doc.GetQueryHistory().entries.size());
            EXPECT_EQ(titles, lib.host.titles.size());
            EXPECT_TRUE(lib.errors.messages.empty() && lib.host.messages.empty()) << "the user's stop is no error";
            // The status bar said how to stop while it read, and no longer does.
            EXPECT_EQ((std::vector<std::wstring>{L"読み込み中 (Esc キーで中止)", L""}), lib.host.statusTexts);
            EXPECT_TRUE(lib.doc.WriteRating(lib.doc.GetPlaylistCache().at(0)->rowid, 30));
        }
    }
}

TEST(StartRestore, AStoredPlayListThatNeverEndsOrFailsStartsEmptyAndIsReportedOnce) {
    const std::vector<std::wstring> endless = {L"CREATE VIEW playlist AS " + kEndless + L";"};
    const std::vector<std::wstring> failing = {L"CREATE TABLE gone(x);", L"CREATE VIEW playlist AS SELECT list.* FROM list, gone;",
                                               L"DROP TABLE gone;"};
    const struct {
        const wchar_t* what;
        std::vector<std::wstring> stored;   // what the previous run left
        bool early;                         // read early, on the start's own connection
        bool close;                         // the window is closed instead of Escape pressed
        bool reported;
    } starts[] = {
        {L"endless, read early, Escape", endless, true, false, true},
        {L"endless, read on the document's connection, Escape", endless, false, false, true},
        {L"endless, read early, closed", endless, true, true, false},
        {L"endless, read on the document's connection, closed", endless, false, true, false},
        {L"a view over a table since dropped", failing, true, false, true},
        {L"a new library without one", {}, true, false, false},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(start.what);
        Library lib;
        ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\m\\1.mp3", L"曲")));
        for (const std::wstring& sql : start.stored) ASSERT_EQ(SQLITE_OK, lib.db().exec(sql));
        lib.settings.playlistView.playlistRestore = true;
        if (start.early) lib.doc.StartPlaylistPreload();
        HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        lib.host.onStatusText = PressEscape;
        if (start.close)
            lib.host.onStatusText = [window](const std::wstring& text) {
                if (!text.empty()) PostMessageW(window, WM_CLOSE, 0, 0);
            };

        PlaylistCache cache;
        PlaylistSummary summary;
        EXPECT_NE(Load::Loaded, lib.doc.RestorePlaylist(cache, summary));
        EXPECT_EQ(0, cache.size());
        EXPECT_FALSE(lib.doc.GetPlaylistPreload().IsReading()) << "the early reading has stopped";
        lib.doc.RestorePlaylist(cache, summary);   // said once only
        ASSERT_EQ(start.reported ? 1u : 0u, lib.host.messages.size());
        if (start.reported) {
            EXPECT_EQ(L"前回のプレイリストを読み込めませんでした。\r\n空のプレイリストで始めます。", lib.host.messages[0].text);
        }
        MSG closing;
        EXPECT_EQ(start.close, PeekMessageW(&closing, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE)
            << "a close taken from the queue is posted again";
        lib.doc.OnCloseDocument();
        EXPECT_TRUE(lib.errors.messages.empty());
        DestroyWindow(window);
    }
}
