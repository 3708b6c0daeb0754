// A query that never ends is read only until the user stops it, and a stopped or failed
// reading changes nothing: not the play list, not its stored view, not the start after.
#include "DocTestSupport.h"
#include "document/PlaylistLoader.h"
#include <gtest/gtest.h>
#include <atomic>
#include <vector>

using namespace doc_test;

namespace {

using Load = CLarkspur2006Doc::PlaylistLoad;

const wchar_t* const kEndless = L"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT list.* FROM list, c";

// Escape, as the user presses it on reading how to stop.
void PressEscape(const std::wstring& text) {
    if (!text.empty()) PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
}

class QueryStop : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lib.opened);
        for (int i = 1; i <= 3; ++i)
            ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\m\\" + std::to_wstring(i) + L".mp3", L"曲" + std::to_wstring(i))));
    }
    // What the library holds as `playlist`: its definition and its rows in order.
    std::wstring Stored() {
        std::wstring rows;
        PlaylistCache cache;
        if (LoadPlaylistCache(lib.db(), cache, nullptr, nullptr))
            for (const auto& r : cache.rows) rows += r->file_name + L";";
        return lib.Text(L"SELECT group_concat(sql, ' | ') FROM (SELECT sql FROM sqlite_master WHERE name='playlist' "
                        L"UNION ALL SELECT sql FROM sqlite_temp_master WHERE name='playlist');") +
               L" => " + rows;
    }
    std::wstring Shown() {
        std::wstring rows;
        for (const auto& r : lib.doc.GetPlaylistCache().rows) rows += r->file_name + L";";
        return rows;
    }
    // Runs a query and shows its rows, as the quick search and hint 20 do.
    void Show(const std::wstring& sql) {
        ASSERT_TRUE(lib.doc.SetQuery(L"前のクエリ", sql, true));
        PlaylistSummary summary;
        ASSERT_EQ(Load::Loaded, lib.doc.LoadPlaylist(lib.doc.GetPlaylistCache(), summary));
    }

    Library lib;
};

}  // namespace

TEST_F(QueryStop, AQueryStoppedByEscapeLeavesThePlayListAndItsStoredView) {
    const std::wstring endless = kEndless;
    const struct {
        const wchar_t* what;
        std::wstring sql;
    } queries[] = {
        {L"rows without end", endless + L";"},
        {L"a shuffle of them (a temporary table)", endless + L" ORDER BY random();"},
        {L"no row ever", endless + L" WHERE x < 0;"},
    };
    const struct {
        const wchar_t* what;
        const wchar_t* sql;
        bool table;
    } previous[] = {
        {L"a view", L"SELECT * FROM list WHERE rowid <= 2 ORDER BY rowid DESC;", false},
        {L"a shuffled table", L"SELECT * FROM list ORDER BY random();", true},
    };
    lib.host.onStatusText = PressEscape;
    for (const auto& before : previous) {
        for (const auto& query : queries) {
            SCOPED_TRACE(std::wstring(query.what) + L" after " + before.what);
            Show(before.sql);
            const std::wstring stored = Stored(), shown = Shown();
            const size_t history = lib.doc.GetQueryHistory().entries.size(), titles = lib.host.titles.size();
            lib.host.statusTexts.clear();

            EXPECT_FALSE(lib.doc.SetQuery(L"終わらない", query.sql, true));
            EXPECT_EQ(stored, Stored());
            EXPECT_EQ(before.table, lib.doc.IsPlaylistTable());
            EXPECT_EQ(shown, Shown());
            EXPECT_NE(0, sqlite3_get_autocommit(lib.db().handle())) << "no transaction left open";
            EXPECT_EQ(history, lib.doc.GetQueryHistory().entries.size());
            EXPECT_EQ(titles, lib.host.titles.size());
            EXPECT_TRUE(lib.errors.messages.empty()) << "the user's own stop is not an error";
            EXPECT_TRUE(lib.host.messages.empty());
            // The status bar said how to stop while it read, and no longer does.
            ASSERT_EQ(2u, lib.host.statusTexts.size());
            EXPECT_NE(std::wstring::npos, lib.host.statusTexts[0].find(L"Esc"));
            EXPECT_EQ(L"", lib.host.statusTexts[1]);

            // The reload after it shows the same rows, and the library still takes writes.
            PlaylistCache again;
            PlaylistSummary summary;
            ASSERT_EQ(Load::Loaded, lib.doc.LoadPlaylist(again, summary));
            EXPECT_EQ(lib.doc.GetPlaylistCache().size(), again.size());
            EXPECT_TRUE(lib.doc.WriteRating(lib.doc.GetPlaylistCache().at(0)->rowid, 30));
        }
    }
}

namespace {

std::atomic<bool> g_noticeShown{false};

// A test SQL function that returns 1 once the status bar has said how to stop: a query that
// calls it takes longer than the notice.
void AfterTheNotice(sqlite3_context* context, int, sqlite3_value**) {
    for (int i = 0; i < 6000 && !g_noticeShown; ++i) Sleep(10);
    sqlite3_result_int(context, g_noticeShown ? 1 : 0);
}

}  // namespace

// There is no time or row limit: a query that nobody stops is read whole however long it
// takes, and replaces the play list.
TEST_F(QueryStop, AQueryNobodyStopsIsReadWholeHoweverLongItTakes) {
    ASSERT_EQ(SQLITE_OK, sqlite3_create_function(lib.db().handle(), "after_the_notice", 0, SQLITE_UTF8, nullptr,
                                                 &AfterTheNotice, nullptr, nullptr));
    g_noticeShown = false;
    lib.host.onStatusText = [](const std::wstring& text) {
        if (!text.empty()) g_noticeShown = true;
    };
    const std::wstring sql = L"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 40000) "
                             L"SELECT list.* FROM list, c WHERE (SELECT after_the_notice()) = 1;";
    ASSERT_TRUE(lib.doc.SetQuery(L"長い", sql, true));
    EXPECT_TRUE(g_noticeShown);
    EXPECT_EQ(L"CREATE VIEW playlist AS " + sql.substr(0, sql.size() - 1), lib.Text(L"SELECT sql FROM sqlite_master WHERE name='playlist';"));
    EXPECT_EQ(L"長い", lib.doc.GetQueryHistory().entries.back().title);
    PlaylistSummary summary;
    ASSERT_EQ(Load::Loaded, lib.doc.LoadPlaylist(lib.doc.GetPlaylistCache(), summary));
    EXPECT_EQ(120000, lib.doc.GetPlaylistCache().size());
    EXPECT_EQ(120000u, summary.files);
    EXPECT_TRUE(lib.errors.messages.empty());
}

namespace {

// A library left by a previous run, and a start on it.
struct Start {
    const wchar_t* what;
    std::vector<std::wstring> stored;   // the statements that left the stored play list
    bool preload;            // read early, on the start's own connection
    bool close;              // the window is closed instead of Escape pressed
    bool reported;           // the user is told the play list could not be read
};

}  // namespace

TEST(StartRestore, AStoredPlayListThatNeverEndsOrFailsStartsEmptyAndIsReportedOnce) {
    const std::vector<std::wstring> endless = {std::wstring(L"CREATE VIEW playlist AS ") + kEndless + L";"};
    const std::vector<std::wstring> failing = {L"CREATE TABLE gone(x);", L"CREATE VIEW playlist AS SELECT list.* FROM list, gone;",
                                               L"DROP TABLE gone;"};
    const Start starts[] = {
        {L"endless, read early, Escape", endless, true, false, true},
        {L"endless, read on the document's connection, Escape", endless, false, false, true},
        {L"endless, read early, closed", endless, true, true, false},
        {L"endless, read on the document's connection, closed", endless, false, true, false},
        {L"a view over a table since dropped", failing, true, false, true},
        {L"a new library without one", {}, true, false, false},
    };
    for (const Start& start : starts) {
        SCOPED_TRACE(start.what);
        Library lib;
        ASSERT_TRUE(lib.opened);
        ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\m\\1.mp3", L"曲")));
        for (const std::wstring& sql : start.stored) ASSERT_EQ(SQLITE_OK, lib.db().exec(sql));
        lib.settings.playlistView.playlistRestore = true;
        if (start.preload) lib.doc.StartPlaylistPreload();

        HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        if (start.close)
            lib.host.onStatusText = [window](const std::wstring& text) {
                if (!text.empty()) PostMessageW(window, WM_CLOSE, 0, 0);
            };
        else
            lib.host.onStatusText = PressEscape;

        PlaylistCache cache;
        PlaylistSummary summary;
        EXPECT_NE(Load::Loaded, lib.doc.RestorePlaylist(cache, summary));
        EXPECT_EQ(0, cache.size());
        EXPECT_FALSE(lib.doc.GetPlaylistPreload().IsReading()) << "the early reading has stopped";
        ASSERT_EQ(start.reported ? 1u : 0u, lib.host.messages.size());
        if (start.reported) EXPECT_NE(std::wstring::npos, lib.host.messages[0].text.find(L"プレイリストを読み込めません"));
        MSG closing;
        EXPECT_EQ(start.close, PeekMessageW(&closing, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE)
            << "a close taken from the queue is posted again";

        // Said once: a second try says nothing more. Closing ends at once.
        lib.doc.RestorePlaylist(cache, summary);
        EXPECT_EQ(start.reported ? 1u : 0u, lib.host.messages.size());
        lib.doc.OnCloseDocument();
        EXPECT_FALSE(lib.doc.GetPlaylistPreload().IsReading());
        EXPECT_TRUE(lib.errors.messages.empty());
        DestroyWindow(window);
    }
}
