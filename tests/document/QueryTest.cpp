#include "DocTestSupport.h"
#include "app/ViewHints.h"
#include "document/LibrarySql.h"
#include "document/PlaylistLoader.h"
#include "framework/CmdTarget.h"
#include "tags/TagText.h"
#include <gtest/gtest.h>
#include <cwchar>

using namespace doc_test;

namespace {

class Queries : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lib.opened);
        ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\m\\1.mp3", L"one", L"B", L"x", L"1")));
        ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\m\\2.mp3", L"two", L"A", L"x", L"2")));
        ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\m\\3.mp3", L"", L"A", L"y", L"1")));
    }
    long long PlaylistObjects(const wchar_t* type) {
        return lib.Scalar(std::wstring(L"SELECT (SELECT COUNT(*) FROM sqlite_master WHERE name='playlist' AND type='") +
                          type + L"') + (SELECT COUNT(*) FROM sqlite_temp_master WHERE name='playlist' AND type='" +
                          type + L"');");
    }
    int Rows() { return lib.PlaylistRows(); }

    Library lib;
};

}  // namespace

TEST_F(Queries, QueryBecomesTheViewAndIsRecorded) {
    ASSERT_TRUE(lib.doc.SetQuery(L"全曲", L"SELECT * FROM list;", true));
    EXPECT_FALSE(lib.doc.IsPlaylistTable());
    EXPECT_EQ(1, PlaylistObjects(L"view"));
    EXPECT_EQ(3, Rows());
    ASSERT_EQ(1u, lib.doc.GetQueryHistory().entries.size());
    EXPECT_EQ(L"全曲", lib.doc.GetQueryHistory().entries[0].title);
    ASSERT_EQ(1u, lib.host.titles.size());
    EXPECT_EQ(L"全曲", lib.host.titles[0]);
    EXPECT_EQ(500, lib.db().busy_timeout());
    EXPECT_TRUE(lib.view.hints.empty());   // the caller sends hint 20

    ASSERT_TRUE(lib.doc.SetQuery(nullptr, L"SELECT * FROM list WHERE tagArtist='A';", true));
    EXPECT_EQ(2, Rows());
    EXPECT_EQ(L"SELECT * FROM list WHERE tagArtist='A';", lib.doc.GetQueryHistory().entries[1].title);
    EXPECT_EQ(L"", lib.host.titles.back());
    ASSERT_TRUE(lib.doc.SetQuery(L"t", L"SELECT * FROM list;", false));
    EXPECT_EQ(2u, lib.doc.GetQueryHistory().entries.size());
}

TEST_F(Queries, IncompleteSqlIsRejected) {
    ASSERT_TRUE(lib.doc.SetQuery(L"a", L"SELECT * FROM list;", true));
    EXPECT_FALSE(lib.doc.SetQuery(L"b", L"SELECT * FROM list", true));
    EXPECT_EQ(1u, lib.errors.messages.size());
    EXPECT_EQ(L"データベースでエラーが起こりました。", lib.errors.messages[0]);
    EXPECT_EQ(1u, lib.doc.GetQueryHistory().entries.size());
    EXPECT_EQ(1u, lib.host.titles.size());
    EXPECT_EQ(3, Rows());   // the previous play list is still there
}

TEST_F(Queries, FailingCreateIsReported) {
    EXPECT_FALSE(lib.doc.SetQuery(L"x", L"SELECT * FROM list WHERE;", true));
    EXPECT_EQ(1u, lib.errors.messages.size());
    EXPECT_TRUE(lib.doc.GetQueryHistory().entries.empty());
}

TEST_F(Queries, RandomQueryIsFrozenInATemporaryTable) {
    ASSERT_TRUE(lib.doc.SetQuery(L"r", L"SELECT * FROM list ORDER BY random();", true));
    EXPECT_TRUE(lib.doc.IsPlaylistTable());
    EXPECT_EQ(1, PlaylistObjects(L"table"));
    EXPECT_EQ(0, PlaylistObjects(L"view"));
    EXPECT_EQ(3, Rows());
    // The next query drops the table, not a view.
    ASSERT_TRUE(lib.doc.SetQuery(L"v", L"SELECT * FROM list;", true));
    EXPECT_FALSE(lib.doc.IsPlaylistTable());
    EXPECT_EQ(0, PlaylistObjects(L"table"));
    EXPECT_EQ(1, PlaylistObjects(L"view"));
    EXPECT_TRUE(lib.errors.messages.empty());
}

TEST_F(Queries, TheKindChangesOnlyWhenTheCreateSucceeded) {
    lib.settings.sqlite.busyRetry = 1;
    ASSERT_TRUE(lib.doc.SetQuery(L"v", L"SELECT * FROM list;", true));
    {
        // Another connection locks the database: the drop stays busy, the create fails.
        CSQlite other;
        ASSERT_EQ(SQLITE_OK, other.open(lib.settings.libraryPath));
        ASSERT_EQ(SQLITE_OK, other.exec(L"BEGIN EXCLUSIVE;"));
        EXPECT_FALSE(lib.doc.SetQuery(L"r", L"SELECT * FROM list ORDER BY RANDOM();", true));
        EXPECT_EQ(1u, lib.errors.messages.size());
        EXPECT_FALSE(lib.doc.IsPlaylistTable());
        ASSERT_EQ(SQLITE_OK, other.exec(L"COMMIT;"));
    }
    // The view is still there, and the next query drops it as a view.
    ASSERT_TRUE(lib.doc.SetQuery(L"w", L"SELECT * FROM list WHERE tagAlbum='x';", true));
    EXPECT_EQ(2, Rows());
    EXPECT_EQ(1u, lib.errors.messages.size());
}

TEST_F(Queries, BackAndForwardRunTheHistory) {
    ASSERT_TRUE(lib.doc.SetQuery(L"all", L"SELECT * FROM list;", true));
    ASSERT_TRUE(lib.doc.SetQuery(L"A", L"SELECT * FROM list WHERE tagArtist='A';", true));
    CCmdUI ui;
    lib.doc.OnUpdateQueryForward(&ui);
    EXPECT_FALSE(ui.m_enabled);
    lib.doc.OnUpdateQueryBack(&ui);
    EXPECT_TRUE(ui.m_enabled);

    lib.doc.OnQueryBack();
    EXPECT_EQ(0, lib.doc.GetQueryHistory().current);
    EXPECT_EQ(3, Rows());
    ASSERT_EQ(1u, lib.view.hints.size());
    EXPECT_EQ(20, lib.view.hints[0].code);
    EXPECT_EQ(nullptr, lib.view.hints[0].object);
    EXPECT_EQ(L"all", lib.host.titles.back());
    EXPECT_EQ(2u, lib.doc.GetQueryHistory().entries.size());   // not recorded again

    lib.doc.OnQueryBack();   // at the start: nothing
    EXPECT_EQ(1u, lib.view.hints.size());
    lib.doc.OnUpdateQueryBack(&ui);
    EXPECT_FALSE(ui.m_enabled);

    lib.doc.OnQueryForward();
    EXPECT_EQ(1, lib.doc.GetQueryHistory().current);
    EXPECT_EQ(2, Rows());
    EXPECT_EQ(2u, lib.view.hints.size());
    lib.doc.OnQueryForward();   // at the end: nothing
    EXPECT_EQ(2u, lib.view.hints.size());
}

TEST_F(Queries, AFailingHistoryQueryKeepsTheIndex) {
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"CREATE TABLE extra AS SELECT * FROM list;"));
    ASSERT_TRUE(lib.doc.SetQuery(L"gone", L"SELECT * FROM extra ORDER BY RANDOM();", true));
    ASSERT_TRUE(lib.doc.SetQuery(L"all", L"SELECT * FROM list;", true));
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"DROP TABLE extra;"));
    lib.doc.OnQueryBack();
    EXPECT_EQ(1, lib.doc.GetQueryHistory().current);
    EXPECT_EQ(1u, lib.errors.messages.size());
    EXPECT_TRUE(lib.view.hints.empty());
}

TEST_F(Queries, PlaylistCacheDefaultIsCreatedOnce) {
    PlaylistCache& a = lib.doc.GetPlaylistCache();
    EXPECT_EQ(-1, a.current);
    EXPECT_EQ(&a, &lib.doc.GetPlaylistCache());
    EXPECT_EQ(L"Default", lib.doc.GetPlaylistName());
    lib.doc.FreePlaylistCaches();
    EXPECT_EQ(0, lib.doc.GetPlaylistCache().size());
}

TEST_F(Queries, LoadingThePlaylist) {
    ASSERT_TRUE(lib.doc.SetQuery(L"all", L"SELECT * FROM list ORDER BY file_name;", true));
    // A row whose text column is NULL is left out.
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"INSERT INTO list(file_name, file_title) VALUES('C:\\m\\4.mp3', NULL);"));
    PlaylistCache& cache = lib.doc.GetPlaylistCache();
    TrackRecord nowPlaying;
    nowPlaying.file_name = L"C:\\m\\2.mp3";
    nowPlaying.rowid = lib.Scalar(L"SELECT rowid FROM list WHERE file_name='C:\\m\\2.mp3';");
    PlaylistSummary summary;
    ASSERT_TRUE(LoadPlaylistCache(lib.db(), cache, &nowPlaying, &summary));
    ASSERT_EQ(3, cache.size());
    EXPECT_EQ(1, cache.current);
    EXPECT_EQ(L"one", cache.at(0)->displayTitle);
    EXPECT_EQ(L"3", cache.at(2)->displayTitle);   // no title: the file title
    EXPECT_EQ(L"x", cache.at(0)->tagAlbum);
    EXPECT_EQ(3, cache.at(0)->infoCodec);
    EXPECT_EQ(nowPlaying.rowid, cache.at(1)->rowid);
    EXPECT_EQ(3u, summary.files);
    // Distinct values of the whole play list, NULL not counted: A and B; x and y.
    EXPECT_EQ(2u, summary.artists);
    EXPECT_EQ(2u, summary.albums);
    // Without a now-playing track nothing is current.
    TrackRecord none;
    none.rowid = nowPlaying.rowid;
    ASSERT_TRUE(LoadPlaylistCache(lib.db(), cache, &none, nullptr));
    EXPECT_EQ(-1, cache.current);
}

// The artists, albums and genres of the status bar, counted from the loaded rows, are the
// numbers the grouping statements over `playlist` give: NULL not counted, the empty text and
// each case variant counted, rows left out of the list (a NULL text) counted all the same, a
// blob apart from the text of the same bytes; and with a collation in the query, in a view it
// reads from or on a column of `list`, its grouping.
TEST_F(Queries, TheSummaryCountsWhatTheGroupingStatementsCount) {
    ASSERT_EQ(SQLITE_OK, lib.db().exec(
        L"INSERT INTO list(file_name,file_title,file_ext,tagTitle,tagArtist,tagAlbum,tagGenre,tagDate,tagComment,"
        L"tagTracknumber,tagAPIC,tagLyrics,infoCodec_sub) VALUES"
        L"('C:\\m\\4.mp3','4','.mp3','','a','X','Pop','','','','','',''),"
        L"('C:\\m\\5.mp3','5','.mp3','',NULL,NULL,NULL,'','','','','',''),"
        L"('C:\\m\\6.mp3','6','.mp3','','','','','','','','','',''),"
        L"('C:\\m\\7.mp3','7','.mp3','','あ','ア','pop','','','','','',''),"
        L"('C:\\m\\8.mp3','8','.mp3',NULL,'Ａ','ｱ','POP','','','','','',''),"
        L"('C:\\m\\9.mp3','9','.mp3','',X'41',X'78','Pop ','','','','','','');"));
    const auto statement = [&](const wchar_t* column) {
        return static_cast<uint64_t>(lib.Scalar(std::wstring(L"SELECT COUNT(") + column + L") FROM (SELECT " +
                                                column + L" FROM playlist GROUP BY " + column + L");"));
    };
    std::wstring nocase = L"SELECT ";
    for (int i = 0; i < kLibraryColumnCount; ++i) {
        const std::wstring name = LibraryColumnName(i);
        nocase += (i ? L"," : L"") + (i >= 5 && i <= 7 ? name + L" COLLATE NOCASE AS " + name : name);
    }
    nocase += L" FROM list";
    const auto exec = [&](const std::wstring& sql) {
        return sqlite3_exec(lib.db().handle(), tagReader::WideToUtf8(sql).c_str(), nullptr, nullptr, nullptr);
    };
    ASSERT_EQ(SQLITE_OK, exec(L"CREATE VIEW folded AS " + nocase + L"; CREATE VIEW outer_view AS SELECT * FROM folded;"));
    // The same rows in a `list` whose grouped columns declare a collation.
    std::wstring collated = LibraryCreateTableSql();
    collated.replace(collated.find(L"list("), 5, L"list2(");
    for (const wchar_t* column : {L"\ttagArtist TEXT", L"\ttagAlbum TEXT", L"\ttagGenre TEXT"}) {
        const size_t at = collated.find(column);
        ASSERT_NE(std::wstring::npos, at);
        collated.insert(at + wcslen(column), L" COLLATE NOCASE");
    }
    const std::wstring collateList = L"DROP VIEW outer_view; DROP VIEW folded; DROP TABLE IF EXISTS temp.playlist; "
                                     L"DROP VIEW IF EXISTS main.playlist; " + collated +
                                     L" INSERT INTO list2 SELECT * FROM list; DROP TABLE list; "
                                     L"ALTER TABLE list2 RENAME TO list;";
    const std::wstring queries[] = {L"SELECT * FROM list;", L"SELECT * FROM list ORDER BY random();",
                                    L"SELECT * FROM list ORDER BY tagArtist COLLATE NOCASE;", nocase + L";",
                                    nocase + L" ORDER BY random();", L"SELECT * FROM outer_view;",
                                    L"SELECT * FROM outer_view ORDER BY random();", collateList,
                                    L"SELECT * FROM list;", L"SELECT * FROM list ORDER BY random();"};
    for (const std::wstring& sql : queries) {
        if (sql == collateList) {
            ASSERT_EQ(SQLITE_OK, exec(sql)) << sqlite3_errmsg(lib.db().handle());
            continue;
        }
        ASSERT_TRUE(lib.doc.SetQuery(L"q", sql.c_str(), true)) << sql;
        PlaylistCache cache;
        PlaylistSummary summary;
        ASSERT_TRUE(LoadPlaylistCache(lib.db(), cache, nullptr, &summary));
        EXPECT_EQ(statement(L"tagArtist"), summary.artists) << sql;
        EXPECT_EQ(statement(L"tagAlbum"), summary.albums) << sql;
        EXPECT_EQ(statement(L"tagGenre"), summary.genres) << sql;
        EXPECT_EQ(static_cast<uint64_t>(cache.size()), summary.files);
    }
}

TEST_F(Queries, RowsComeInTheQuerysOwnOrderAndRowsGoneFromTheLibraryAreLeftOut) {
    ASSERT_TRUE(lib.doc.SetQuery(L"desc", L"SELECT * FROM list ORDER BY tagTracknumber DESC, tagTitle DESC;", true));
    PlaylistCache cache;
    ASSERT_TRUE(LoadPlaylistCache(lib.db(), cache, nullptr, nullptr));
    ASSERT_EQ(3, cache.size());
    EXPECT_EQ(L"two", cache.at(0)->displayTitle);
    EXPECT_EQ(L"one", cache.at(1)->displayTitle);
    EXPECT_EQ(L"3", cache.at(2)->displayTitle);
    for (int i = 0; i < cache.size(); ++i)
        EXPECT_EQ(cache.at(i)->rowid,
                  lib.Scalar(L"SELECT rowid FROM list WHERE file_name='" + cache.at(i)->file_name + L"';"));

    // A shuffled list is a table of its own: a row deleted from the library afterwards is not shown.
    ASSERT_TRUE(lib.doc.SetQuery(L"r", L"SELECT * FROM list ORDER BY random();", true));
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"DELETE FROM list WHERE tagTitle='one';"));
    PlaylistSummary summary;
    ASSERT_TRUE(LoadPlaylistCache(lib.db(), cache, nullptr, &summary));
    ASSERT_EQ(2, cache.size());
    for (int i = 0; i < cache.size(); ++i) EXPECT_NE(L"one", cache.at(i)->displayTitle);
    EXPECT_EQ(2u, summary.files);
}

TEST_F(Queries, LoadingWithoutAPlaylistGivesAnEmptyCache) {
    PlaylistCache cache;
    cache.rows.push_back(std::make_unique<TrackRecord>());
    EXPECT_FALSE(LoadPlaylistCache(lib.db(), cache, nullptr, nullptr));
    EXPECT_EQ(0, cache.size());
}

TEST_F(Queries, AQueryThatCannotRunKeepsThePlaylistAndHistory) {
    struct Case {
        const wchar_t* sql;
        const wchar_t* sqliteText;   // part of SQLite's message
    } cases[] = {
        {L"SELECT * FROM list WHERE;", L"syntax error"},
        {L"SELECT * FROM lst;", L"no such table"},
        {L"SELECT * FROM list WHERE nosuch=1;", L"no such column"},
    };
    // Once over a view, once over the temporary table of a shuffled query.
    for (const wchar_t* good : {L"SELECT * FROM list WHERE tagArtist='A';", L"SELECT * FROM list WHERE tagArtist='A' ORDER BY RANDOM();"}) {
        ASSERT_TRUE(lib.doc.SetQuery(L"A", good, true));
        const bool table = lib.doc.IsPlaylistTable();
        const size_t entries = lib.doc.GetQueryHistory().entries.size();
        const size_t titles = lib.host.titles.size();
        for (const Case& c : cases) {
            lib.errors.texts.clear();
            EXPECT_FALSE(lib.doc.SetQuery(L"bad", c.sql, true)) << c.sql;
            ASSERT_EQ(1u, lib.errors.texts.size()) << c.sql;
            EXPECT_NE(std::wstring::npos, lib.errors.texts[0].find(c.sqliteText)) << lib.errors.texts[0];
            EXPECT_EQ(2, Rows()) << c.sql;
            EXPECT_EQ(table, lib.doc.IsPlaylistTable());
            EXPECT_EQ(entries, lib.doc.GetQueryHistory().entries.size());
            EXPECT_EQ(titles, lib.host.titles.size());
        }
    }
    EXPECT_TRUE(lib.host.messages.empty());
}

TEST_F(Queries, OnlyAResultThatBeginsWithTheColumnsOfListBecomesThePlaylist) {
    ASSERT_TRUE(lib.doc.SetQuery(L"B", L"SELECT * FROM list WHERE tagArtist='B';", true));
    // Columns of its own after those of `list` are fine; the rowid still comes from `list`.
    ASSERT_TRUE(lib.doc.SetQuery(L"n", L"SELECT *, playcount AS n, 'x' AS file_name2 FROM list ORDER BY file_name;", true));
    PlaylistCache cache;
    ASSERT_TRUE(LoadPlaylistCache(lib.db(), cache, nullptr, nullptr));
    ASSERT_EQ(3, cache.size());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lib.Scalar(L"SELECT rowid FROM list WHERE file_name='" + cache.at(i)->file_name + L"';"), cache.at(i)->rowid);

    // Anything else is refused with a message, and the play list stays.
    for (const wchar_t* sql : {L"SELECT file_name, tagTitle FROM list;", L"SELECT rowid, * FROM list;",
                               L"SELECT tagArtist, COUNT(*) FROM list GROUP BY tagArtist;", L";", L" -- x\n;"}) {
        lib.host.messages.clear();
        EXPECT_FALSE(lib.doc.SetQuery(L"bad", sql, true)) << sql;
        ASSERT_EQ(1u, lib.host.messages.size()) << sql;
        EXPECT_EQ(kPlaylistColumnsMessage, lib.host.messages[0].text);
        EXPECT_EQ(3, Rows());
        EXPECT_EQ(2u, lib.doc.GetQueryHistory().entries.size());
    }
    EXPECT_TRUE(lib.errors.messages.empty());

    // A view of another layout left in the database is not read by position.
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"DROP VIEW playlist;"));
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"CREATE VIEW playlist AS SELECT rowid AS id, * FROM list;"));
    EXPECT_FALSE(LoadPlaylistCache(lib.db(), cache, nullptr, nullptr));
    EXPECT_EQ(0, cache.size());
}

TEST_F(Queries, BusyRetryBelowOneCountsAsOne) {
    for (int retry : {0, -5}) {
        lib.settings.sqlite.busyRetry = retry;
        ASSERT_TRUE(lib.doc.SetQuery(L"all", L"SELECT * FROM list;", true)) << retry;
        ASSERT_TRUE(lib.doc.SetQuery(L"A", L"SELECT * FROM list WHERE tagArtist='A';", true)) << retry;
        EXPECT_EQ(2, Rows());
        ASSERT_TRUE(lib.doc.SetQuery(L"r", L"SELECT * FROM list ORDER BY RANDOM();", true)) << retry;
        ASSERT_TRUE(lib.doc.SetQuery(L"all", L"SELECT * FROM list;", true)) << retry;
        EXPECT_EQ(3, Rows());
    }
    EXPECT_TRUE(lib.errors.messages.empty());
    EXPECT_EQ(1, lib.settings.sqlite.BusyTries());
    EXPECT_EQ(-5, lib.settings.sqlite.busyRetry);   // kept as stored
}
