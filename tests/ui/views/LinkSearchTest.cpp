#include "ui/views/LinkSearch.h"
#include "ui/views/LyricsLinePick.h"
#include "document/SqlFunctions.h"
#include <gtest/gtest.h>
#include <sqlite3.h>

TEST(LinkSearch, TipTextsByColumn) {
    EXPECT_EQ(L"タイトルが\r\n「Song」\r\nへのリンク", MakeLinkTipText(L"tagTitle", L"Song", true));
    EXPECT_EQ(L"アーティスト「Me」", MakeLinkTipText(L"TAGARTIST", L"Me", false));
    const struct {
        const wchar_t* column;
        const wchar_t* label;
    } cases[] = {{L"tagAlbum", L"アルバム"}, {L"tagGenre", L"ジャンル"}, {L"tagDate", L"年"},
                 {L"tagComment", L"コメント"}, {L"tagTracknumber", L"TRACK"}, {L"file_name", L"file_name"}};
    for (const auto& c : cases) EXPECT_EQ(c.label, LinkColumnLabel(c.column)) << c.column;
}

TEST(LinkSearch, QuotesAreDoubledInBothFormsAndWildcardsBracketedOnlyInTheGlobForm) {
    EXPECT_EQ(L"SELECT * FROM list WHERE tagArtist IN ('Rock''n *?');",
              MakeLinkSearchSql(L"tagArtist", L"Rock'n *?", false));
    EXPECT_EQ(L"SELECT * FROM list WHERE LCMapUpper(tagArtist) glob LCMapUpper('*ROCK''N [*][?]*');",
              MakeLinkSearchSql(L"tagArtist", L"Rock'n *?", true));
    EXPECT_EQ(L"SELECT * FROM list WHERE tagAlbum='It''s';", MakeAlbumSearchSql(L"It's"));
    EXPECT_EQ(L"アルバムが「It's」", MakeAlbumSearchTitle(L"It's"));
}

TEST(LinkSearch, GlobSearchMatchesBracketsAndFullWidthWildcardsLiterally) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open16(L":memory:", &db));
    ASSERT_TRUE(RegisterSqlFunctions(db));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, "CREATE TABLE list(tagAlbum TEXT);", nullptr, nullptr, nullptr));
    const wchar_t* rows[] = {L"Live [Disc 1]", L"Live D", L"a＊b", L"aXb", L"q？", L"qZ", L"x［y］", L"xy"};
    for (const wchar_t* r : rows) {
        std::wstring sql = std::wstring(L"INSERT INTO list VALUES('") + r + L"');";
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_prepare16_v2(db, sql.c_str(), -1, &st, nullptr));
        sqlite3_step(st);
        sqlite3_finalize(st);
    }
    auto matches = [db](const std::wstring& value) {
        std::wstring sql = MakeLinkSearchSql(L"tagAlbum", value, true);
        sqlite3_stmt* st = nullptr;
        std::vector<std::wstring> found;
        if (sqlite3_prepare16_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return found;
        while (sqlite3_step(st) == SQLITE_ROW)
            found.push_back(static_cast<const wchar_t*>(sqlite3_column_text16(st, 0)));
        sqlite3_finalize(st);
        return found;
    };
    EXPECT_EQ((std::vector<std::wstring>{L"Live [Disc 1]"}), matches(L"Live [Disc 1]"));
    EXPECT_EQ((std::vector<std::wstring>{L"a＊b"}), matches(L"a＊b"));
    EXPECT_EQ((std::vector<std::wstring>{L"q？"}), matches(L"q？"));
    EXPECT_EQ((std::vector<std::wstring>{L"x［y］"}), matches(L"x［y］"));
    EXPECT_EQ((std::vector<std::wstring>{L"Live [Disc 1]"}), matches(L"live [disc"));   // any case
    sqlite3_close(db);
}

TEST(LinkSearch, LongInfoTipsAreCutWithAnEllipsis) {
    EXPECT_EQ(L"short", FitInfoTip(L"short", 80));
    const std::wstring cut = FitInfoTip(std::wstring(100, L'x'), 80);
    EXPECT_EQ(79u, cut.size());   // room for the terminator
    EXPECT_EQ(L"...", cut.substr(76));
}

TEST(LyricsLinePick, TheLastLineStartedBeforeThePositionIsShown) {
    std::deque<tagReader::TimedLyricLine> lines = {{1.0f, L"one"}, {5.5f, L"two"}, {9.0f, L"three"}};
    const struct {
        float position;
        int line;
    } cases[] = {{0.0f, -1}, {1.0f, -1}, {1.01f, 0}, {5.5f, 0}, {6.0f, 1}, {100.0f, 2}};
    for (const auto& c : cases) EXPECT_EQ(c.line, PickLyricsLine(lines, c.position)) << c.position;
    EXPECT_EQ(-1, PickLyricsLine({}, 3.0f));
}
