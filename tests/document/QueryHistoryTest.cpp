#include "document/QueryHistory.h"
#include <gtest/gtest.h>

namespace {

QueryHistoryEntry Entry(int i) {
    return {L"SELECT " + std::to_wstring(i) + L";", L"q" + std::to_wstring(i)};
}

}  // namespace

TEST(QueryHistory, SameSqlInOtherCaseMovesToTheEnd) {
    CQueryHistory h;
    h.Record({L"SELECT * FROM list;", L"a"});
    h.Record({L"SELECT 2;", L"b"});
    h.Record({L"select * from LIST;", L"c"});
    ASSERT_EQ(2u, h.entries.size());
    EXPECT_EQ(L"b", h.entries[0].title);
    EXPECT_EQ(L"c", h.entries[1].title);
    EXPECT_EQ(1, h.current);
}

TEST(QueryHistory, NewQueryInTheMiddleGoesAfterTheCurrent) {
    CQueryHistory h;
    for (int i = 0; i < 4; ++i) h.Record(Entry(i));
    h.current = 1;
    h.Record(Entry(9));
    ASSERT_EQ(5u, h.entries.size());
    EXPECT_EQ(L"q9", h.entries[2].title);
    EXPECT_EQ(2, h.current);
    EXPECT_EQ(L"q3", h.entries[4].title);   // later entries stay reachable
    EXPECT_TRUE(h.CanGoForward());
    EXPECT_TRUE(h.CanGoBack());
}

TEST(QueryHistory, FiftyFirstEntryDropsTheOldest) {
    CQueryHistory h;
    for (int i = 0; i < 51; ++i) h.Record(Entry(i));
    ASSERT_EQ(50u, h.entries.size());
    EXPECT_EQ(L"q1", h.entries.front().title);
    EXPECT_EQ(L"q50", h.entries.back().title);
    EXPECT_EQ(49, h.current);
}

TEST(QueryHistory, FullHistoryWithTheFirstEntryCurrent) {
    CQueryHistory h;
    for (int i = 0; i < 50; ++i) h.Record(Entry(i));
    h.current = 0;
    // The new entry goes after the first one and becomes current (index 1), so the
    // trimming takes the oldest entry; the newest entries all stay.
    h.Record(Entry(99));
    ASSERT_EQ(50u, h.entries.size());
    EXPECT_EQ(L"q99", h.entries[0].title);
    EXPECT_EQ(0, h.current);
    EXPECT_EQ(L"q1", h.entries[1].title);
    EXPECT_EQ(L"q49", h.entries.back().title);
}

TEST(QueryHistory, EmptyHistoryNavigation) {
    CQueryHistory h;
    EXPECT_EQ(-1, h.current);
    EXPECT_FALSE(h.CanGoBack());
    EXPECT_FALSE(h.CanGoForward());
    h.Record(Entry(1));
    EXPECT_EQ(0, h.current);
    EXPECT_FALSE(h.CanGoBack());
    EXPECT_FALSE(h.CanGoForward());
}
