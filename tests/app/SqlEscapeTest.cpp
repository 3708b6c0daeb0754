#include "app/SqlEscape.h"
#include <gtest/gtest.h>

TEST(SqlEscape, QuotesAreDoubled) {
    EXPECT_EQ(L"O''Neil''s", EscapeSqlQuotes(L"O'Neil's"));
    EXPECT_EQ(L"a*b?[c]", EscapeSqlQuotes(L"a*b?[c]"));
    EXPECT_EQ(L"", EscapeSqlQuotes(L""));
}

TEST(SqlEscape, GlobSpecialCharactersBecomeLiterals) {
    EXPECT_EQ(L"O''Ne[*]il", EscapeGlobLiteral(L"O'Ne*il"));
    EXPECT_EQ(L"why[?]", EscapeGlobLiteral(L"why?"));
    // "[" must not open a character class; the brackets added for "*" are not escaped again.
    EXPECT_EQ(L"[[]live] [*]", EscapeGlobLiteral(L"[live] *"));
    EXPECT_EQ(L"ＡＢＣ＊？", EscapeGlobLiteral(L"ＡＢＣ＊？"));   // full-width forms are plain text
}
