#include "app/ColumnModel.h"
#include "app/Formatters.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <ctime>
#include <vector>

namespace {

TrackRecord Track(const std::wstring& title, const std::wstring& artist = L"",
                  const std::wstring& album = L"", const std::wstring& track = L"") {
    TrackRecord t;
    t.displayTitle = title;
    t.tagTitle = title;
    t.tagArtist = artist;
    t.tagAlbum = album;
    t.tagTracknumber = track;
    return t;
}

TrackSortKey Key(int column, bool ascending) {
    TrackSortKey k;
    k.column = column;
    k.ascending = ascending;
    return k;
}

std::wstring Text(const TrackRecord& t, int type, const std::wstring& format = L"%Y") {
    std::wstring s = L"unchanged";
    GetColumnText(t, type, s, format);
    return s;
}

}  // namespace

TEST(ColumnModel, CaptionsOfAllTypes) {
    std::wstring c;
    EXPECT_TRUE(GetColumnCaption(0, c));
    EXPECT_EQ(L"", c);
    EXPECT_TRUE(GetColumnCaption(1, c));
    EXPECT_EQ(L"タイトル", c);
    EXPECT_TRUE(GetColumnCaption(13, c));
    EXPECT_EQ(L"サンプリングレート", c);
    EXPECT_TRUE(GetColumnCaption(14, c));
    EXPECT_EQ(L"VBR", c);
    EXPECT_TRUE(GetColumnCaption(18, c));
    EXPECT_EQ(L"最終再生日時", c);
    c = L"x";
    EXPECT_FALSE(GetColumnCaption(19, c));
    EXPECT_EQ(L"", c);
    EXPECT_FALSE(GetColumnCaption(-1, c));
}

TEST(ColumnModel, CodecNames) {
    std::wstring s = L"keep";
    EXPECT_TRUE(GetCodecName(10, s));
    EXPECT_EQ(L"Flac", s);
    EXPECT_TRUE(GetCodecName(12, s));
    EXPECT_EQ(L"APE", s);
    s = L"keep";
    EXPECT_FALSE(GetCodecName(0, s));
    EXPECT_FALSE(GetCodecName(13, s));
    EXPECT_EQ(L"keep", s);
}

TEST(ColumnModel, NumericCellTexts) {
    TrackRecord t;
    EXPECT_EQ(L"--", Text(t, ColBitrate));
    EXPECT_EQ(L"--", Text(t, ColSamplingRate));
    t.statBitrate = 128000;
    t.statSamplingrate = 44100;
    EXPECT_EQ(L"128 kbps", Text(t, ColBitrate));
    EXPECT_EQ(L"44 KHz", Text(t, ColSamplingRate));
    t.statBitrate = 999;   // truncates
    EXPECT_EQ(L"0 kbps", Text(t, ColBitrate));
    EXPECT_EQ(L"CBR", Text(t, ColVbr));
    t.statVBR = true;
    EXPECT_EQ(L"VBR", Text(t, ColVbr));
    t.rating = 30;
    t.playcount = 12;
    EXPECT_EQ(L"30", Text(t, ColRating));
    EXPECT_EQ(L"12", Text(t, ColPlayCount));
    EXPECT_EQ(L"--", Text(t, ColLastPlayed));
    t.infoCodec = 3;
    EXPECT_EQ(L"MP3", Text(t, ColCodec));
}

TEST(ColumnModel, TextsThatComeFromTheFormatters) {
    TrackRecord t;
    t.file_size = 3690000;
    t.statChannels = 2;
    t.statDuration = 3725;
    std::wstring size, channels, span;
    FormatByteSizeShell(size, t.file_size);
    FormatChannels(channels, 2);
    FormatTimeSpan(span, 3725);
    EXPECT_EQ(size, Text(t, ColFileSize));
    EXPECT_EQ(channels, Text(t, ColChannels));
    EXPECT_EQ(span, Text(t, ColLength));
}

TEST(ColumnModel, TextCellsAndUnknownType) {
    TrackRecord t = Track(L"表示", L"Artist", L"Album", L"3b");
    t.tagTitle = L"";   // the display title is what type 1 shows
    t.file_title = L"a";
    t.file_ext = L".mp3";
    t.file_name = L"D:\\Music\\a.mp3";
    t.tagDate = L"2006";
    EXPECT_EQ(L"表示", Text(t, ColTitle));
    EXPECT_EQ(L"3b", Text(t, ColTrackNumber));
    EXPECT_EQ(L"a.mp3", Text(t, ColFileName));
    EXPECT_EQ(L"D:\\Music\\a.mp3", Text(t, ColFilePath));
    EXPECT_EQ(L"2006", Text(t, ColYear));
    EXPECT_EQ(L"unchanged", Text(t, 19));
    EXPECT_EQ(L"unchanged", Text(t, -3));
}

TEST(ColumnModel, LastPlayedUsesTheLocalTimeAndTheFormat) {
    __time64_t now = _time64(nullptr);
    struct tm local;
    ASSERT_EQ(0, _localtime64_s(&local, &now));
    wchar_t expected[128];
    wcsftime(expected, 128, L"%Y/%m/%d %H:%M", &local);
    std::wstring s;
    FormatLastPlayed(now, s, L"%Y/%m/%d %H:%M");
    EXPECT_EQ(expected, s);
    // msvcrt gives an empty text for an invalid format instead of failing hard.
    FormatLastPlayed(now, s, L"%Q");
    EXPECT_EQ(L"", s);
    FormatLastPlayed(0, s, L"%Y");
    EXPECT_EQ(L"--", s);
}

// A stored time the run-time cannot convert (before 1970, past the year 3000) shows empty,
// in the play list and wherever the column's text is used.
TEST(ColumnModel, LastPlayedOutsideTheRuntimesRangeIsEmpty) {
    TrackRecord t;
    for (const int64_t time : {int64_t{-1}, INT64_MIN, kMaxRuntimeTime + 1, INT64_MAX}) {
        t.lastplayed = time;
        EXPECT_EQ(L"", Text(t, ColLastPlayed, L"%Y/%m/%d")) << time;
    }
    t.lastplayed = 32486443200LL;   // 2999-06-15 12:00 UTC
    EXPECT_EQ(L"2999", Text(t, ColLastPlayed));
}

TEST(ColumnModel, TrackNumbersCompareByTheirLeadingDigits) {
    EXPECT_EQ(3, TrackNumberValue(L"3b"));
    EXPECT_EQ(0, TrackNumberValue(L""));
    EXPECT_EQ(0, TrackNumberValue(L"b3"));
    EXPECT_EQ(12, TrackNumberValue(L"12/14"));
    TrackRecord a = Track(L"", L"", L"", L"3b"), b = Track(L"", L"", L"", L"4");
    EXPECT_TRUE(CompareTracksByColumn(Key(ColTrackNumber, true), a, b));
    EXPECT_FALSE(CompareTracksByColumn(Key(ColTrackNumber, true), b, a));
    EXPECT_TRUE(CompareTracksByColumn(Key(ColTrackNumber, false), b, a));
    TrackRecord c = Track(L"", L"", L"", L"3");
    EXPECT_FALSE(CompareTracksByColumn(Key(ColTrackNumber, true), a, c));
    EXPECT_FALSE(CompareTracksByColumn(Key(ColTrackNumber, true), c, a));
}

TEST(ColumnModel, CodecSortsHigherCodeFirstWhenAscending) {
    TrackRecord ape, mp3;
    ape.infoCodec = 12;
    mp3.infoCodec = 3;
    EXPECT_TRUE(CompareTracksByColumn(Key(ColCodec, true), ape, mp3));
    EXPECT_FALSE(CompareTracksByColumn(Key(ColCodec, true), mp3, ape));
    EXPECT_TRUE(CompareTracksByColumn(Key(ColCodec, false), mp3, ape));
}

TEST(ColumnModel, ExactAndCaseInsensitiveTextColumns) {
    TrackRecord rock, pop;
    rock.tagGenre = L"Rock";
    pop.tagGenre = L"pop";
    // Exact: upper case sorts before lower case.
    EXPECT_TRUE(CompareTracksByColumn(Key(ColGenre, true), rock, pop));
    EXPECT_FALSE(CompareTracksByColumn(Key(ColGenre, true), pop, rock));
    // A proper prefix first.
    TrackRecord y1, y2;
    y1.tagDate = L"200";
    y2.tagDate = L"2006";
    EXPECT_TRUE(CompareTracksByColumn(Key(ColYear, true), y1, y2));
    // Case-insensitive: equal both ways.
    TrackRecord a = Track(L"", L"pop"), b = Track(L"", L"Pop");
    EXPECT_FALSE(CompareTracksByColumn(Key(ColArtist, true), a, b));
    EXPECT_FALSE(CompareTracksByColumn(Key(ColArtist, true), b, a));
    TrackRecord f1, f2;
    f1.file_title = L"A";
    f1.file_ext = L".mp3";
    f2.file_title = L"a";
    f2.file_ext = L".MP4";
    EXPECT_TRUE(CompareTracksByColumn(Key(ColFileName, true), f1, f2));
}

TEST(ColumnModel, ArtistRuleBreaksTiesByAlbumThenTrack) {
    TrackRecord a = Track(L"", L"X", L"B", L"1"), b = Track(L"", L"x", L"A", L"9"),
                c = Track(L"", L"X", L"A", L"2");
    TrackSortKey key = Key(ColArtist, true);
    EXPECT_FALSE(CompareTracksByColumn(key, b, a));   // without the rule: ties
    key.artistRule = true;
    EXPECT_TRUE(CompareTracksByColumn(key, b, a));    // album A before B
    EXPECT_TRUE(CompareTracksByColumn(key, c, b));    // same album: track 2 before 9
    EXPECT_FALSE(CompareTracksByColumn(key, b, c));
}

TEST(ColumnModel, AlbumRuleBreaksTiesByTrack) {
    TrackRecord a = Track(L"", L"", L"Album", L"10"), b = Track(L"", L"", L"album", L"2");
    TrackSortKey key = Key(ColAlbum, true);
    EXPECT_FALSE(CompareTracksByColumn(key, b, a));
    key.albumRule = true;
    EXPECT_TRUE(CompareTracksByColumn(key, b, a));
    key.ascending = false;
    EXPECT_TRUE(CompareTracksByColumn(key, a, b));
}

TEST(ColumnModel, RatingRuleSortedDescendingKeepsAlbumsAndTracksAscending) {
    std::vector<TrackRecord> rows = {
        Track(L"1", L"", L"B", L"2"), Track(L"2", L"", L"A", L"2"), Track(L"3", L"", L"B", L"1"),
        Track(L"4", L"", L"A", L"1"), Track(L"5", L"", L"Z", L"1"),
    };
    rows[0].rating = 50;
    rows[1].rating = 50;
    rows[2].rating = 50;
    rows[3].rating = 50;
    rows[4].rating = 30;
    TrackSortKey key = Key(ColRating, false);
    key.ratingRule = true;
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const TrackRecord& a, const TrackRecord& b) { return CompareTracksByColumn(key, a, b); });
    std::wstring order;
    for (auto& r : rows) order += r.displayTitle;
    EXPECT_EQ(L"42315", order);   // 50: A1 A2 B1 B2, then 30
}

TEST(ColumnModel, NumericColumnsAndVbr) {
    TrackRecord a, b;
    a.lastplayed = 1LL << 33;
    b.lastplayed = 5;
    EXPECT_TRUE(CompareTracksByColumn(Key(ColLastPlayed, true), b, a));
    a.file_size = 1LL << 40;
    EXPECT_TRUE(CompareTracksByColumn(Key(ColFileSize, true), b, a));
    a.statVBR = true;
    EXPECT_TRUE(CompareTracksByColumn(Key(ColVbr, true), b, a));
    EXPECT_FALSE(CompareTracksByColumn(Key(ColVbr, true), a, b));
    a.playcount = 2;
    EXPECT_TRUE(CompareTracksByColumn(Key(ColPlayCount, false), a, b));
}

TEST(ColumnModel, UnknownColumnIsAStrictWeakOrder) {
    TrackRecord a, b;
    for (int column : {19, 100, -2}) {
        EXPECT_FALSE(CompareTracksByColumn(Key(column, true), a, b));
        EXPECT_FALSE(CompareTracksByColumn(Key(column, true), a, a));
        EXPECT_FALSE(CompareTracksByColumn(Key(column, false), b, a));
    }
    // Sorting by a bad column from a file keeps the order.
    std::vector<TrackRecord> rows = {Track(L"c"), Track(L"a"), Track(L"b")};
    std::stable_sort(rows.begin(), rows.end(), [](const TrackRecord& x, const TrackRecord& y) {
        return CompareTracksByColumn(Key(42, true), x, y);
    });
    EXPECT_EQ(L"c", rows[0].displayTitle);
    EXPECT_EQ(L"b", rows[2].displayTitle);
}

TEST(ColumnModel, DefaultColumnSet) {
    std::vector<ListColumnEntry> columns = {{5, 10}};
    ResetDefaultColumns(columns, 4);
    ASSERT_EQ(8u, columns.size());
    const int types[] = {0, 1, 2, 3, 15, 16, 17, 18};
    // The rating column is twice the margin wide, plus 80.
    const int widths[] = {50, 200, 200, 200, 2 * 4 + 80, 70, 70, 140};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(types[i], columns[i].type);
        EXPECT_EQ(widths[i], columns[i].width);
    }
    EXPECT_EQ(columns.begin() + 4, FindColumnEntry(columns, 15));
    EXPECT_EQ(columns.end(), FindColumnEntry(columns, 14));
}

TEST(ColumnModel, AlignmentOfEveryType) {
    const int expected[] = {AlignCentre, AlignLeft, AlignLeft, AlignLeft, AlignRight, AlignLeft, AlignLeft,
                            AlignLeft, AlignLeft, AlignRight, AlignLeft, AlignRight, AlignCentre, AlignRight,
                            AlignLeft, AlignLeft, AlignRight, AlignRight, AlignRight};
    for (int type = 0; type <= ColLastType; ++type) EXPECT_EQ(GetColumnAlignment(type), expected[type]) << type;
}
