#include "app/SearchText.h"
#include "app/SqlEscape.h"
#include "document/SQLite.h"
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <ctime>

namespace {

class SqlFunctions : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SQLITE_OK, db.open(L":memory:")); }

    // The first column of the first row: its text, "<null>" for NULL.
    std::wstring Text(const std::wstring& sql) {
        sqlite3_stmt* stmt = nullptr;
        std::wstring result = L"<error>";
        if (db.prepare(sql, &stmt) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
            result = sqlite3_column_type(stmt, 0) == SQLITE_NULL ? L"<null>" : CSQlite::column_text16(stmt, 0);
        sqlite3_finalize(stmt);
        return result;
    }
    double Real(const std::wstring& sql) {
        sqlite3_stmt* stmt = nullptr;
        double result = -1;
        if (db.prepare(sql, &stmt) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
            result = sqlite3_column_double(stmt, 0);
        sqlite3_finalize(stmt);
        return result;
    }

    CSQlite db;
};

}  // namespace

TEST_F(SqlFunctions, AvgRatingIgnoresZeros) {
    ASSERT_EQ(SQLITE_OK, db.exec(L"CREATE TABLE t(r, g);"));
    EXPECT_DOUBLE_EQ(0.0, Real(L"SELECT AVG_RATING(r) FROM t;"));   // no rows
    for (const wchar_t* row : {L"(0,1)", L"(0,1)", L"(30,1)", L"(50,1)", L"(0,2)", L"(NULL,2)"})
        ASSERT_EQ(SQLITE_OK, db.exec(std::wstring(L"INSERT INTO t VALUES") + row + L";"));
    EXPECT_DOUBLE_EQ(40.0, Real(L"SELECT AVG_RATING(r) FROM t WHERE g=1;"));
    EXPECT_DOUBLE_EQ(0.0, Real(L"SELECT AVG_RATING(r) FROM t WHERE g=2;"));   // zeros and NULL
    EXPECT_DOUBLE_EQ(40.0, Real(L"SELECT AVG_RATING(r) FROM t;"));
    EXPECT_EQ(L"real", Text(L"SELECT typeof(AVG_RATING(r)) FROM t WHERE g=2;"));
    EXPECT_DOUBLE_EQ(0.0, Real(L"SELECT AVG_RATING(r, g) FROM t;"));   // wrong count: steps do nothing
}

// Ratings of any stored size are summed without wrapping: two of the largest int average to it.
TEST_F(SqlFunctions, AvgRatingSumsBeyondTheIntRange) {
    ASSERT_EQ(SQLITE_OK, db.exec(L"CREATE TABLE t(r);"));
    for (int i = 0; i < 3; ++i) ASSERT_EQ(SQLITE_OK, db.exec(L"INSERT INTO t VALUES(2147483647);"));
    EXPECT_DOUBLE_EQ(2147483647.0, Real(L"SELECT AVG_RATING(r) FROM t;"));
    ASSERT_EQ(SQLITE_OK, db.exec(L"UPDATE t SET r=-2147483648;"));
    EXPECT_DOUBLE_EQ(-2147483648.0, Real(L"SELECT AVG_RATING(r) FROM t;"));
}

TEST_F(SqlFunctions, LCMapUpperNormalisesLikeTheQuickSearch) {
    EXPECT_EQ(L"<null>", Text(L"SELECT LCMapUpper(NULL);"));
    EXPECT_EQ(L"", Text(L"SELECT LCMapUpper('');"));
    EXPECT_EQ(L"ABC", Text(L"SELECT LCMapUpper('abc');"));
    std::wstring expected;
    NormalizeSearchText(L"ｶﾀｶナ ａｂｃ", expected);
    EXPECT_EQ(expected, Text(L"SELECT LCMapUpper('ｶﾀｶナ ａｂｃ');"));
    EXPECT_EQ(L"<null>", Text(L"SELECT LCMapUpper('a', 'b');"));
    EXPECT_EQ(L"<null>", Text(L"SELECT LCMapUpper();"));
}

TEST_F(SqlFunctions, CurrentPathNameIsTheFolderName) {
    EXPECT_EQ(L"Artist", Text(L"SELECT current_path_name('D:\\Music\\Artist\\a.mp3');"));
    EXPECT_EQ(L"D:\\a.mp3", Text(L"SELECT current_path_name('D:\\a.mp3');"));
    EXPECT_EQ(L"share", Text(L"SELECT current_path_name('\\\\server\\share\\x.mp3');"));
    EXPECT_EQ(L"アルバム", Text(L"SELECT current_path_name('C:\\曲\\アルバム\\01.flac');"));
    EXPECT_EQ(L"a.mp3", Text(L"SELECT current_path_name('a.mp3');"));
    EXPECT_EQ(L"", Text(L"SELECT current_path_name('');"));
    EXPECT_EQ(L"<null>", Text(L"SELECT current_path_name(NULL);"));
    EXPECT_EQ(L"<null>", Text(L"SELECT current_path_name('a', 'b');"));
}

TEST_F(SqlFunctions, CurrentTimestamp64) {
    long long before = _time64(nullptr);
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(SQLITE_OK, db.prepare(L"SELECT current_timestamp64(), typeof(current_timestamp64());", &stmt));
    ASSERT_EQ(SQLITE_ROW, sqlite3_step(stmt));
    long long value = sqlite3_column_int64(stmt, 0);
    EXPECT_STREQ(L"integer", CSQlite::column_text16(stmt, 1));
    sqlite3_finalize(stmt);
    long long after = _time64(nullptr);
    EXPECT_LE(before, value);
    EXPECT_GE(after, value);
    EXPECT_EQ(L"<null>", Text(L"SELECT current_timestamp64(1);"));
}

TEST_F(SqlFunctions, EscapedGlobPatternsMatchLiterally) {
    ASSERT_EQ(SQLITE_OK, db.exec(L"CREATE TABLE t(title);"));
    for (const wchar_t* title : {L"[Live] at *", L"L", L"Live at x", L"O'Neil?", L"O'NeilZ"}) {
        ASSERT_EQ(SQLITE_OK, db.exec(L"INSERT INTO t VALUES('" + EscapeSqlQuotes(title) + L"');"));
    }
    auto count = [&](const std::wstring& text) {
        return Text(L"SELECT COUNT(*) FROM t WHERE title GLOB '*" + EscapeGlobLiteral(text) + L"*';");
    };
    EXPECT_EQ(L"1", count(L"[Live]"));   // without "[[]" this is a class matching "L"
    EXPECT_EQ(L"1", count(L"at *"));
    EXPECT_EQ(L"1", count(L"O'Neil?"));
    EXPECT_EQ(L"0", count(L"[x]"));
}

TEST_F(SqlFunctions, EveryConnectionHasTheFunctions) {
    CSQlite second;
    ASSERT_EQ(SQLITE_OK, second.open(L":memory:"));
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(SQLITE_OK, second.prepare(L"SELECT current_path_name('C:\\a\\b.mp3'), LCMapUpper('x');", &stmt));
    ASSERT_EQ(SQLITE_ROW, sqlite3_step(stmt));
    EXPECT_STREQ(L"a", CSQlite::column_text16(stmt, 0));
    EXPECT_STREQ(L"X", CSQlite::column_text16(stmt, 1));
    sqlite3_finalize(stmt);
}
