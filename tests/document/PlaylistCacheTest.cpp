#include "document/PlaylistCache.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <vector>

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

// Texts whose case-insensitive order is easy to get wrong: kana in both scripts and widths,
// kanji, full-width and half-width Latin, case pairs that fold oddly (Kelvin sign, dotted
// and dotless i, long s, sigma, micro), accented Latin, ASCII symbols between the cases, a
// character outside the basic plane, an embedded NUL and the empty text.
const std::wstring kTricky[] = {
    L"", L"a", L"A", L"b", L"B", L"abc", L"ABC", L"Abc", L"abc ", L"_", L"[", L"^", L"`", L"{",
    L"10", L"9", L"あ", L"ア", L"ｱ", L"ぁ", L"が", L"か", L"カ", L"ｶﾞ", L"漢字", L"日本", L"Ａ",
    L"ａ", L"ＡＢＣ", L"ｚ", L"É", L"é", L"e", L"E", L"Ä", L"ä", L"ß", L"\u1E9E", L"Ö", L"ö",
    L"\u0130", L"\u0131", L"i", L"I", L"\u212A", L"k", L"K", L"\u017F", L"s", L"S", L"\u03A3",
    L"\u03C3", L"\u03C2", L"\u00B5", L"\u039C", L"\u03BC", L"\U0001F600", L"\U00020B9F",
    std::wstring(L"a\0b", 3), std::wstring(L"A\0", 2), L"Ω", L"ω", L"Ǆ", L"ǅ", L"ǆ"};

// Rows drawn from the tricky texts, with many equal keys so that stability shows.
std::vector<TrackRecord> TrickyRows(int n) {
    std::mt19937 random(2024);
    const auto text = [&] { return kTricky[random() % (sizeof(kTricky) / sizeof(kTricky[0]))]; };
    const wchar_t* const tracks[] = {L"", L"1", L"3b", L"12", L"02", L"x"};
    std::vector<TrackRecord> rows(n);
    for (int i = 0; i < n; ++i) {
        TrackRecord& t = rows[i];
        t.rowid = i + 1;
        t.displayTitle = text();
        t.tagArtist = text();
        t.tagAlbum = text();
        t.tagGenre = text();
        t.tagDate = text();
        t.tagComment = text();
        t.file_title = text();
        t.file_ext = text();
        t.file_name = text() + text();
        t.tagTracknumber = tracks[random() % 6];
        t.rating = 10 * static_cast<int>(random() % 6);
        t.file_size = static_cast<int64_t>(random() % 4) << 33;
        t.lastplayed = random() % 5;
        t.infoCodec = static_cast<int>(random() % 13);
        t.statBitrate = static_cast<int>(random() % 3);
        t.statChannels = static_cast<int>(random() % 3);
        t.statSamplingrate = static_cast<int>(random() % 3);
        t.statDuration = static_cast<int>(random() % 3);
        t.playcount = static_cast<int>(random() % 3);
        t.statVBR = random() % 2 == 0;
    }
    return rows;
}

std::vector<int64_t> Rowids(const PlaylistCache& c) {
    std::vector<int64_t> ids;
    for (auto& r : c.rows) ids.push_back(r->rowid);
    return ids;
}

}  // namespace

// The kept folded keys give exactly the order of the column comparison, for every column and
// rule in both directions, sort after sort (each sort starts from the previous order).
TEST(PlaylistCacheSort, EveryColumnAndRuleGivesTheOrderOfTheColumnComparison) {
    std::vector<TrackRecord> expected = TrickyRows(600);
    PlaylistCache c;
    for (const TrackRecord& t : expected) c.rows.push_back(std::make_unique<TrackRecord>(t));
    for (int rules = 0; rules < 2; ++rules) {
        for (int column = -2; column <= 19; ++column) {
            for (bool ascending : {true, false}) {
                TrackSortKey key;
                key.column = column;
                key.ascending = ascending;
                key.albumRule = key.artistRule = key.ratingRule = rules == 1;
                std::stable_sort(expected.begin(), expected.end(), [&](const TrackRecord& a, const TrackRecord& b) {
                    return CompareTracksByColumn(key, a, b);
                });
                c.Sort(column, ascending, key.albumRule, key.artistRule, key.ratingRule);
                std::vector<int64_t> ids;
                for (const TrackRecord& t : expected) ids.push_back(t.rowid);
                ASSERT_EQ(ids, Rowids(c)) << "column " << column << (ascending ? " up" : " down") << " rules "
                                          << rules;
            }
        }
    }
}

// A row added, or a text changed and announced, is sorted by its new text.
TEST(PlaylistCacheSort, KeysFollowChangedRows) {
    PlaylistCache c;
    Add(c, 1, L"b", L"");
    Add(c, 2, L"c", L"");
    c.Sort(ColTitle, true, false, false, false);
    Add(c, 3, L"A", L"");
    c.Sort(ColTitle, true, false, false, false);
    EXPECT_EQ(L"Abc", Titles(c));
    c.rows[0]->displayTitle = L"z";
    c.DropSortKeys();
    c.Sort(ColTitle, true, false, false, false);
    EXPECT_EQ(L"bcz", Titles(c));
}

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
