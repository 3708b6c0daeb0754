#include "document/PlaylistCache.h"
#include <gtest/gtest.h>
#include <algorithm>

namespace {

PlaylistCache Cache(int n) {
    PlaylistCache c;
    for (int i = 0; i < n; ++i) {
        auto t = std::make_unique<TrackRecord>();
        t->rowid = 100 + i;
        c.rows.push_back(std::move(t));
    }
    return c;
}

std::wstring Titles(const PlaylistCache& c) {
    std::wstring s;
    for (auto& r : c.rows) s += r->displayTitle;
    return s;
}

void Add(PlaylistCache& c, int64_t rowid, const std::wstring& title, const std::wstring& artist,
         int lastplayed = 0) {
    auto t = std::make_unique<TrackRecord>();
    t->rowid = rowid;
    t->displayTitle = title;
    t->tagArtist = artist;
    t->lastplayed = lastplayed;
    c.rows.push_back(std::move(t));
}

}  // namespace

TEST(PlaylistCacheSort, StableWithTiesInBothDirections) {
    PlaylistCache c;
    Add(c, 1, L"a", L"pop");
    Add(c, 2, L"b", L"Rock");
    Add(c, 3, L"c", L"Pop");
    Add(c, 4, L"d", L"rock");
    c.Sort(ColArtist, true, false, false, false);
    EXPECT_EQ(L"acbd", Titles(c));   // pop and Pop keep their order
    c.Sort(ColArtist, false, false, false, false);
    EXPECT_EQ(L"bdac", Titles(c));
    c.Sort(ColTitle, true, false, false, false);
    EXPECT_EQ(L"abcd", Titles(c));
}

TEST(PlaylistCacheSort, TheCurrentRowFollowsItsRecord) {
    PlaylistCache c;
    Add(c, 1, L"c", L"", 30);
    Add(c, 2, L"a", L"", 10);
    Add(c, 3, L"b", L"", 20);
    c.current = 0;   // "c"
    c.Sort(ColTitle, true, false, false, false);
    EXPECT_EQ(2, c.current);
    EXPECT_EQ(1, c.Current()->rowid);
    c.Sort(ColLastPlayed, false, false, false, false);
    EXPECT_EQ(L"cba", Titles(c));
    EXPECT_EQ(0, c.current);
    c.current = -1;
    c.Sort(ColTitle, true, false, false, false);
    EXPECT_EQ(-1, c.current);
}

TEST(PlaylistCacheSort, ColumnMinusOneDoesNothing) {
    PlaylistCache c;
    Add(c, 1, L"b", L"");
    Add(c, 2, L"a", L"");
    c.current = 1;
    c.Sort(-1, true, false, false, false);
    EXPECT_EQ(L"ba", Titles(c));
    EXPECT_EQ(1, c.current);
    c.Sort(99, true, false, false, false);   // an unknown column keeps the order
    EXPECT_EQ(L"ba", Titles(c));
}

TEST(PlaylistCache, FindByRowid) {
    PlaylistCache c = Cache(3);
    int index = -5;
    TrackRecord* t = c.FindByRowid(101, index);
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(1, index);
    EXPECT_EQ(nullptr, c.FindByRowid(7, index));
    EXPECT_EQ(3, index);
    c.Clear();
    EXPECT_EQ(0, c.size());
    EXPECT_EQ(-1, c.current);
}

TEST(PlaylistCacheNext, EmptyListHasNoRow) {
    for (int mode = 0; mode <= 4; ++mode) {
        PlaylistCache c;
        c.current = 3;
        EXPECT_EQ(-1, c.NextIndex(mode));
        EXPECT_EQ(-1, c.current);
        c.current = 3;
        EXPECT_EQ(-1, c.PrevIndex(mode));
        EXPECT_EQ(-1, c.current);
    }
}

TEST(PlaylistCacheNext, NoCurrentRowStartsAtTheFirst) {
    for (int mode = 0; mode <= 3; ++mode) {
        PlaylistCache c = Cache(5);
        EXPECT_EQ(0, c.NextIndex(mode)) << mode;
        EXPECT_EQ(0, c.current);
        c.current = -1;
        EXPECT_EQ(0, c.PrevIndex(mode)) << mode;
    }
}

TEST(PlaylistCacheNext, BothEndsInEveryOrderedMode) {
    for (int mode : {0, 1, 2}) {
        PlaylistCache c = Cache(3);
        c.current = 2;
        EXPECT_EQ(0, c.NextIndex(mode)) << mode;   // wraps
        c.current = 0;
        EXPECT_EQ(1, c.NextIndex(mode));
    }
    PlaylistCache c = Cache(3);
    c.current = 1;
    EXPECT_EQ(2, c.NextIndex(PlayModeList));
    EXPECT_EQ(-1, c.NextIndex(PlayModeList));   // stops after the last
    EXPECT_EQ(-1, c.current);
    for (int mode : {0, 1, 2, 3}) {
        PlaylistCache p = Cache(3);
        p.current = 0;
        EXPECT_EQ(2, p.PrevIndex(mode)) << mode;   // the last row, also in list mode
        EXPECT_EQ(1, p.PrevIndex(mode));
    }
}

TEST(PlaylistCacheNext, NegativeAndUnknownModes) {
    PlaylistCache c = Cache(3);
    c.current = 1;
    EXPECT_EQ(-1, c.NextIndex(-1));
    EXPECT_EQ(1, c.current);
    EXPECT_EQ(-1, c.PrevIndex(-1));
    EXPECT_EQ(1, c.current);
    EXPECT_EQ(-1, c.NextIndex(5));
    EXPECT_EQ(-1, c.PrevIndex(5));
    c.current = -1;
    EXPECT_EQ(0, c.NextIndex(-1));   // a fresh list starts even before the mode is looked at
}

TEST(PlaylistCacheNext, RandomPicksCoverTheWholeList) {
    SeedPlaylistRandom(12345);
    PlaylistCache c = Cache(100000);
    int highest = -1;
    for (int i = 0; i < 2000; ++i) {
        int next = i % 2 ? c.NextIndex(PlayModeRandom) : c.PrevIndex(PlayModeRandom);
        ASSERT_GE(next, 0);
        ASSERT_LT(next, 100000);
        EXPECT_EQ(next, c.current);
        highest = std::max(highest, next);
    }
    EXPECT_GT(highest, 32767);
    PlaylistCache one = Cache(1);
    EXPECT_EQ(0, one.NextIndex(PlayModeRandom));
    EXPECT_EQ(0, one.NextIndex(PlayModeRandom));   // may repeat the current row
}
