#include "DocTestSupport.h"
#include "document/DBError.h"
#include "document/PlaylistLoader.h"
#include "document/QueryCheck.h"
#include <gtest/gtest.h>

using namespace doc_test;

namespace {

class QueryCheckTest : public testing::Test {
protected:
    // Artist A has two tracks: the play list that every refused text must leave in place.
    void SetUp() override {
        ASSERT_TRUE(lib.opened);
        const struct {
            const wchar_t *file, *title, *artist, *album;
        } tracks[] = {{L"C:\\m\\1.mp3", L"one", L"B", L"x"},
                      {L"C:\\m\\2.mp3", L"two", L"A", L"x"},
                      {L"C:\\m\\3.mp3", L"three", L"A", L"y"}};
        for (const auto& t : tracks) ASSERT_TRUE(lib.Insert(MakeTrack(t.file, t.title, t.artist, t.album)));
    }

    Library lib;
};

}  // namespace

// A text that would write, change the connection or is cut short is refused with its message
// before the play list is touched: afterwards the connection still writes, the library holds
// the same rows, and the previous play list (a view or a shuffled table) and its stored
// definition stay.
TEST_F(QueryCheckTest, ARefusedTextChangesNothing) {
    const wchar_t* const storedSql =
        L"SELECT group_concat(sql) FROM (SELECT sql FROM sqlite_master WHERE name='playlist' "
        L"UNION ALL SELECT sql FROM sqlite_temp_master WHERE name='playlist');";
    const wchar_t* const librarySql = L"SELECT COUNT(*) || group_concat(tagTitle) FROM list;";
    const std::wstring library = lib.Text(librarySql);
    const std::wstring copy = lib.dir.file(L"copy.db");
    const struct {
        std::wstring sql;
        const wchar_t* message;   // kIncompleteQueryText goes to the database error dialog
    } cases[] = {
        {L"PRAGMA query_only=1;", kQueryNotReadOnlyMessage},
        {L"DELETE FROM list RETURNING *;", kQueryNotReadOnlyMessage},
        {L"; DELETE FROM list RETURNING *;", kQueryNotReadOnlyMessage},
        {L"WITH a AS (SELECT file_name FROM list) DELETE FROM list WHERE file_name IN a RETURNING *;",
         kQueryNotReadOnlyMessage},
        {L"INSERT INTO list(file_name) VALUES('C:\\m\\new.mp3') RETURNING *;", kQueryNotReadOnlyMessage},
        {L"UPDATE list SET tagTitle='' RETURNING *;", kQueryNotReadOnlyMessage},
        {L"ATTACH DATABASE '" + copy + L"' AS other;", kQueryNotReadOnlyMessage},
        {L"VACUUM INTO '" + copy + L"';", kQueryNotReadOnlyMessage},
        {L"SELECT file_name FROM list;", kPlaylistColumnsMessage},
        {L"SELECT * FROM list -- x;", kIncompleteQueryText},
    };
    const int64_t rowid = lib.Scalar(L"SELECT rowid FROM list WHERE file_name='C:\\m\\2.mp3';");
    int rating = 0;
    for (const wchar_t* previous : {L"SELECT * FROM list WHERE tagArtist='A';", L"SELECT * FROM list WHERE tagArtist='A' ORDER BY RANDOM();"}) {
        ASSERT_TRUE(lib.doc.SetQuery(L"A", previous, true));
        const std::wstring stored = lib.Text(storedSql);
        const bool table = lib.doc.IsPlaylistTable();
        const size_t entries = lib.doc.GetQueryHistory().entries.size();
        for (const auto& c : cases) {
            lib.host.messages.clear();
            lib.errors.texts.clear();
            EXPECT_FALSE(lib.doc.SetQuery(L"bad", c.sql, true)) << c.sql;
            const bool dialog = c.message == kIncompleteQueryText;
            EXPECT_EQ(dialog ? 1u : 0u, lib.errors.texts.size()) << c.sql;
            EXPECT_EQ(dialog ? 0u : 1u, lib.host.messages.size()) << c.sql;
            EXPECT_EQ(c.message, dialog ? lib.errors.texts.at(0) : lib.host.messages.at(0).text) << c.sql;
            EXPECT_EQ(stored, lib.Text(storedSql)) << c.sql;
            EXPECT_EQ(table, lib.doc.IsPlaylistTable()) << c.sql;
            EXPECT_EQ(2, lib.PlaylistRows()) << c.sql;
            EXPECT_EQ(entries, lib.doc.GetQueryHistory().entries.size()) << c.sql;

            EXPECT_TRUE(lib.doc.WriteRating(rowid, ++rating)) << c.sql;
            EXPECT_EQ(rating, lib.Scalar(L"SELECT rating FROM list WHERE rowid=" + std::to_wstring(rowid) + L";"));
            EXPECT_EQ(library, lib.Text(librarySql)) << c.sql;
        }
    }
    EXPECT_FALSE(testing_support::FileExists(copy));
}

// Queries that only read still pass: the program's own SQL functions, a recursive common table
// expression, a comment before the final ";", statements after the first (never run).
TEST_F(QueryCheckTest, ReadingQueriesStillBecomeThePlaylist) {
    const struct {
        const wchar_t* sql;
        int rows;
    } cases[] = {
        {L"SELECT * FROM list WHERE LCMapUpper(tagTitle) GLOB '*ONE*' AND current_path_name(file_name)='m' "
         L"AND current_timestamp64() > 0 AND infoCodec >= (SELECT AVG_RATING(infoCodec) FROM list);", 1},
        {L"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM n WHERE x<2) "
         L"SELECT list.* FROM list, n WHERE n.x=2 AND tagAlbum='x' ORDER BY random();", 2},
        {L"SELECT * FROM list WHERE tagArtist='A' -- x\n;", 2},
        {L"SELECT *, playcount AS n FROM list; DELETE FROM list; PRAGMA query_only=1;", 3},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(lib.doc.SetQuery(L"q", c.sql, true)) << c.sql;
        EXPECT_EQ(c.rows, lib.PlaylistRows()) << c.sql;
    }
    EXPECT_TRUE(lib.host.messages.empty());
    EXPECT_TRUE(lib.errors.texts.empty());
    EXPECT_EQ(3, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    EXPECT_TRUE(lib.doc.WriteRating(1, 10));
}

TEST_F(QueryCheckTest, AClosedConnectionIsADatabaseError) {
    CSQlite closed;
    EXPECT_EQ(QueryCheck::DatabaseError, CheckPlaylistQuery(closed, L"SELECT * FROM list;").verdict);
}
