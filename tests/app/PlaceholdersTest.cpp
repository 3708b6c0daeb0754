#include "app/Placeholders.h"
#include "app/ColumnModel.h"
#include "app/Formatters.h"
#include <gtest/gtest.h>

namespace {

PlaceholderContext Context() {
    PlaceholderContext c;
    c.appTitle = L"Spur";
    c.programFolder = L"C:\\Program\\";
    c.userFolder = L"C:\\Program\\users\\me\\";
    c.dateTimeFormat = L"%Y";
    c.ratingString10 = L"\u2605";
    c.ratingString00 = L"\u2606";
    return c;
}

TrackRecord Track() {
    TrackRecord t;
    t.file_name = L"D:\\Music\\a.mp3";
    t.file_title = L"a";
    t.file_ext = L".mp3";
    t.file_size = 2048;
    t.tagTitle = L"Title";
    t.displayTitle = L"Display";
    t.tagArtist = L"Artist";
    t.tagAlbum = L"Album";
    t.tagGenre = L"Genre";
    t.tagDate = L"2006";
    t.tagComment = L"Comment";
    t.tagTracknumber = L"7";
    t.infoCodec = 10;
    t.playcount = 4;
    t.rating = 30;
    t.statDuration = 65;
    t.statBitrate = 320000;
    t.statChannels = 1;
    t.statSamplingrate = 48000;
    return t;
}

std::wstring Expand(const TrackRecord& t, std::wstring text, bool escape = false, bool trim = false,
                    const PlaceholderContext& c = Context()) {
    ExpandTrackPlaceholders(t, text, escape, trim, c);
    return text;
}

}  // namespace

TEST(Placeholders, PathAndFileTitle) {
    EXPECT_EQ(L"D:\\Music\\a.txt", Expand(Track(), L"%_path%%file_title%.txt"));
}

TEST(Placeholders, EveryPlaceholder) {
    TrackRecord t = Track();
    std::wstring size, span, channels;
    FormatByteSizeShell(size, t.file_size);
    FormatTimeSpan(span, 65);
    FormatChannels(channels, 1);
    EXPECT_EQ(L"Spur|C:\\Program\\|C:\\Program\\users\\me\\|a|.mp3|" + size,
              Expand(t, L"%_app_title%|%_app_path%|%_user_path%|%file_title%|%file_ext%|%file_size%"));
    EXPECT_EQ(L"7|Title|Artist|Album|Genre|2006|Comment",
              Expand(t, L"%tagTracknumber%|%tagTitle%|%tagArtist%|%tagAlbum%|%tagGenre%|%tagDate%|%tagComment%"));
    EXPECT_EQ(L"Flac|--|4|30|\u2605\u2605\u2605\u2606\u2606",
              Expand(t, L"%infoCodec%|%lastplayed%|%playcount%|%rating%|%rating_string%"));
    EXPECT_EQ(span + L"|320 kbps|" + channels + L"|48 KHz",
              Expand(t, L"%statDuration%|%statBitrate%|%statChannels%|%statSamplingrate%"));
}

TEST(Placeholders, RepeatedAndUnknownPlaceholders) {
    EXPECT_EQ(L"Artist-Artist %tagartist% %nothing% 100%",
              Expand(Track(), L"%tagArtist%-%tagArtist% %tagartist% %nothing% 100%"));
}

TEST(Placeholders, EscapingForGlob) {
    TrackRecord t = Track();
    t.tagArtist = L"O'Ne*il";
    t.tagAlbum = L"[Live]?";
    EXPECT_EQ(L"tagArtist GLOB 'O''Ne[*]il' AND tagAlbum GLOB '[[]Live][?]'",
              Expand(t, L"tagArtist GLOB '%tagArtist%' AND tagAlbum GLOB '%tagAlbum%'", true));
    // Without escape the value goes in unchanged.
    EXPECT_EQ(L"O'Ne*il", Expand(t, L"%tagArtist%"));
}

TEST(Placeholders, RatingMarksAreNeverEscaped) {
    TrackRecord t = Track();
    PlaceholderContext c = Context();
    c.ratingString10 = L"*";
    c.ratingString00 = L"'";
    t.rating = 20;
    EXPECT_EQ(L"**'''", Expand(t, L"%rating_string%", true, false, c));
}

TEST(Placeholders, TrimStripsEachValue) {
    TrackRecord t = Track();
    t.tagTitle = L"  x";
    t.tagAlbum = L"\tA B \u3000";
    EXPECT_EQ(L"[x][A B]", Expand(t, L"[%tagTitle%][%tagAlbum%]", false, true));
    EXPECT_EQ(L"[  x]", Expand(t, L"[%tagTitle%]"));
}

TEST(Placeholders, RatingStrings) {
    TrackRecord t = Track();
    PlaceholderContext c = Context();
    c.ratingString00 = L"";
    t.rating = 0;
    EXPECT_EQ(L"", Expand(t, L"%rating_string%", false, false, c));
    t.rating = 50;
    EXPECT_EQ(L"\u2605\u2605\u2605\u2605\u2605", Expand(t, L"%rating_string%", false, false, c));
    t.rating = 49;
    EXPECT_EQ(L"\u2605\u2605\u2605\u2605", Expand(t, L"%rating_string%", false, false, c));
}

TEST(Placeholders, InsertedValuesAreNeverExpandedAgain) {
    TrackRecord t = Track();
    t.tagTitle = L"by %tagArtist%";
    EXPECT_EQ(L"by %tagArtist%", Expand(t, L"%tagTitle%"));
    t.tagTitle = L"x";
    t.tagArtist = L"%tagTitle%";
    EXPECT_EQ(L"%tagTitle%", Expand(t, L"%tagArtist%"));
    // A value that ends in a half placeholder does not join the text after it.
    t.tagArtist = L"%tag";
    EXPECT_EQ(L"%tagTitle%", Expand(t, L"%tagArtist%Title%"));
}

// Each tag names the next one thirty times: expanded again and again this text would grow
// to 30^3 copies of the genre.
TEST(Placeholders, ANestedChainOfTagsIsExpandedOnce) {
    TrackRecord t = Track();
    auto times30 = [](const std::wstring& s) {
        std::wstring r;
        for (int i = 0; i < 30; ++i) r += s;
        return r;
    };
    t.tagArtist = times30(L"%tagAlbum%");
    t.tagAlbum = times30(L"%tagGenre%");
    t.tagGenre = times30(L"%tagComment%");
    t.tagComment = L"end";
    EXPECT_EQ(t.tagArtist + L" - " + t.tagAlbum, Expand(t, L"%tagArtist% - %tagAlbum%"));
    EXPECT_EQ(L"'" + t.tagArtist + L"'", Expand(t, L"'%tagArtist%'", true));
    EXPECT_EQ(t.tagGenre + L"|end", Expand(t, L"%tagGenre%|%tagComment%", false, true));
}

// Two placeholders that share a '%' resolve as they always have: the one earlier in the
// placeholder order takes it, and of two alike the left one.
TEST(Placeholders, PlaceholdersSharingAPercentSign) {
    const struct {
        const wchar_t* text;
        const wchar_t* expanded;
    } cases[] = {
        {L"%tagArtist%tagTitle%", L"%tagArtistTitle"},
        {L"%tagTitle%tagArtist%", L"TitletagArtist%"},
        {L"%tagArtist%tagArtist%tagArtist%", L"ArtisttagArtistArtist"},
        {L"%tagArtist%tagTitle%tagAlbum%", L"%tagArtistTitletagAlbum%"},
        {L"%tagAlbum%tagArtist%tagTitle%", L"AlbumtagArtistTitle"},
        {L"%%tagTitle%%", L"%Title%"},
        {L"%_path%file_title%.txt", L"D:\\Music\\file_title%.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expanded, Expand(Track(), c.text)) << c.text;
}

TEST(Placeholders, FullWidthCharactersPassThrough) {
    TrackRecord t = Track();
    t.tagTitle = L"ＡＢＣ＊";
    EXPECT_EQ(L"ＡＢＣ＊", Expand(t, L"%tagTitle%", true));
}

TEST(Placeholders, ContextFromSettings) {
    CAppSettings s;
    s.appTitle = L"Spur";
    s.userFolder = L"C:\\u\\";
    s.generic.dateTimeFormat = L"%Y";
    s.generic.ratingString10 = L"+";
    s.generic.ratingString00 = L"-";
    PlaceholderContext c = MakePlaceholderContext(s, L"C:\\p\\");
    EXPECT_EQ(L"Spur", c.appTitle);
    EXPECT_EQ(L"C:\\p\\", c.programFolder);
    EXPECT_EQ(L"C:\\u\\", c.userFolder);
    TrackRecord t = Track();
    EXPECT_EQ(L"+++--", Expand(t, L"%rating_string%", false, false, c));
}

