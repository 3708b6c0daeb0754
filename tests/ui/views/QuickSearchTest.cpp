// The quick search's SQL and title, and the recent search words.
#include "ui/views/QuickSearch.h"
#include <gtest/gtest.h>

TEST(QuickSearch, OneColumnPlainAndAllColumnsFuzzy) {
    const QuickSearchQuery title = BuildQuickSearch(L"abc", SearchTitle, false);
    EXPECT_EQ(title.sql, L"SELECT * FROM list WHERE tagTitle glob '*abc*';");
    EXPECT_EQ(title.title, L"タイトル - abc -");
    EXPECT_EQ(title.word, L"abc");

    const QuickSearchQuery all = BuildQuickSearch(L"abc", SearchAllColumns, true);
    EXPECT_EQ(all.sql,
              L"SELECT * FROM list WHERE LCMapUpper(file_name) glob '*ABC*' OR LCMapUpper(tagTitle) glob '*ABC*' OR"
              L" LCMapUpper(tagArtist) glob '*ABC*' OR LCMapUpper(tagAlbum) glob '*ABC*' OR"
              L" LCMapUpper(tagGenre) glob '*ABC*' OR LCMapUpper(tagDate) glob '*ABC*' OR"
              L" LCMapUpper(tagComment) glob '*ABC*';");
    EXPECT_EQ(all.title, L"単語検索(あいまい検索) - abc -");
    EXPECT_EQ(BuildQuickSearch(L"abc", SearchAllColumns, false).title, L"単語検索 - abc -");

    // Several columns take the caption of the first; each way its own.
    const QuickSearchQuery two = BuildQuickSearch(L"x", SearchArtist | SearchComment, false);
    EXPECT_EQ(two.sql, L"SELECT * FROM list WHERE tagArtist glob '*x*' OR tagComment glob '*x*';");
    EXPECT_EQ(two.title, L"アーティスト - x -");
    struct Caption {
        int way;
        const wchar_t* plain;
        const wchar_t* fuzzy;
    } captions[] = {
        {SearchFileName, L"ファイル名 - x -", L"ファイル名(あいまい検索) - x -"},
        {SearchAlbum, L"アルバム - x -", L"アルバム(あいまい検索) - x -"},
        {SearchGenre, L"ジャンル - x -", L"ジャンル(あいまい検索) - x -"},
        {SearchDate, L"年 - x -", L"年(あいまい検索) - x -"},
    };
    for (const Caption& c : captions) {
        EXPECT_EQ(BuildQuickSearch(L"x", c.way, false).title, c.plain);
        EXPECT_EQ(BuildQuickSearch(L"x", c.way, true).title, c.fuzzy);
    }
    EXPECT_TRUE(BuildQuickSearch(L"x", 0, false).sql.empty()) << "a way of no column runs nothing";
}

TEST(QuickSearch, TypedWildcardsAndQuotesAreLiteralEvenAfterFuzzyMapping) {
    const QuickSearchQuery star = BuildQuickSearch(L"a*b?c'd", SearchTitle, false);
    EXPECT_EQ(star.sql, L"SELECT * FROM list WHERE tagTitle glob '*a[*]b[?]c''d*';");
    EXPECT_EQ(star.title, L"タイトル - a[*]b[?]c''d -");
    EXPECT_EQ(star.word, L"a*b?c'd");

    // Full-width apostrophe and asterisk become their narrow forms in the fuzzy mapping:
    // they must come out escaped, never closing the quoted pattern.
    const QuickSearchQuery wide = BuildQuickSearch(L"ｒｏｃｋ＇ｎ＊", SearchArtist, true);
    EXPECT_EQ(wide.sql, L"SELECT * FROM list WHERE LCMapUpper(tagArtist) glob '*ROCK''N[*]*';");
    EXPECT_EQ(wide.word, L"ｒｏｃｋ＇ｎ＊");
}

TEST(QuickSearch, SqlModeRunsTheTextWithItsClosingSemicolon) {
    const QuickSearchQuery sql = BuildQuickSearch(L"SELECT * FROM list", SearchSql, true);
    EXPECT_EQ(sql.sql, L"SELECT * FROM list;");
    EXPECT_EQ(sql.title, L"SQL検索 -SELECT * FROM list;-");
    EXPECT_EQ(sql.word, L"SELECT * FROM list;");
    EXPECT_EQ(BuildQuickSearch(L"SELECT 1;", SearchSql, false).sql, L"SELECT 1;");
}

TEST(QuickSearch, RecentWordsKeepOneCopyAndDropTheOldest) {
    std::vector<std::wstring> recent{L"a", L"b", L"c"};
    RememberSearchWord(recent, L"b", 3);
    EXPECT_EQ(recent, (std::vector<std::wstring>{L"a", L"b", L"c"})) << "a known word keeps its place";
    RememberSearchWord(recent, L"d", 3);
    EXPECT_EQ(recent, (std::vector<std::wstring>{L"b", L"c", L"d"}));
    RememberSearchWord(recent, L"B", 4);
    EXPECT_EQ(recent, (std::vector<std::wstring>{L"b", L"c", L"d", L"B"})) << "words compare exactly";
    RememberSearchWord(recent, L"e", 2);
    EXPECT_EQ(recent, (std::vector<std::wstring>{L"B", L"e"})) << "a lowered maximum drops down to it";

    // A maximum of 0 or less keeps nothing, and an empty list stays empty.
    for (int max : {0, -3}) {
        std::vector<std::wstring> words{L"x"};
        RememberSearchWord(words, L"y", max);
        EXPECT_TRUE(words.empty()) << max;
        RememberSearchWord(words, L"z", max);
        EXPECT_TRUE(words.empty()) << max;
    }
}
