// The import readers' mapping: URL decoding, dates, iTunes keys, Media Player attributes.
#include "DialogTestSupport.h"
#include "ui/dialogs/ImportReaders.h"
#include <gtest/gtest.h>
#include <climits>
#include <ctime>
#include <map>

namespace {

struct LocalFields {
    int year, month, day, hour, minute, second;
};

LocalFields FieldsOf(int64_t time) {
    __time64_t t = time;
    struct tm f = {};
    _localtime64_s(&f, &t);
    return {f.tm_year + 1900, f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec};
}

using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;

Pairs FileTrack(const std::wstring& location) {
    return {{L"Track ID", L"1"}, {L"Name", L"名前"}, {L"Kind", L"MPEG オーディオファイル"}, {L"Track Type", L"File"},
            {L"Location", location}};
}

using lib_test::FakeItem;

class FakeCollection : public IWmpMediaCollection {
public:
    int GetCount() override { return static_cast<int>(items.size()) + 1; }   // one index that fails
    std::unique_ptr<IWmpMediaItem> GetItem(int index) override {
        if (index >= static_cast<int>(items.size())) return nullptr;
        return std::make_unique<FakeItem>(items[static_cast<size_t>(index)]);
    }
    std::vector<std::map<std::wstring, std::wstring>> items;
};

std::map<std::wstring, std::wstring> AudioItem(const std::wstring& url, const std::wstring& rating) {
    return {{L"MediaType", L"audio"}, {L"FileType", L"wma"}, {L"SourceURL", url}, {L"UserRating", rating}};
}

}  // namespace

TEST(ImportMapping, HexPairsAndPercentDecoding) {
    EXPECT_EQ(0x20, HexPairToByte(L'2', L'0'));
    EXPECT_EQ(0xAF, HexPairToByte(L'a', L'F'));
    EXPECT_EQ(0x71, HexPairToByte(L'G', L'1'));
    std::string bytes;
    EXPECT_FALSE(PercentDecodeUrl(nullptr, bytes));
    ASSERT_TRUE(PercentDecodeUrl(L"file:///C:/Music/a%20b+c.mp3", bytes));
    EXPECT_EQ("file:///C:/Music/a b+c.mp3", bytes);
    ASSERT_TRUE(PercentDecodeUrl(L"a%2541\r\nb%4", bytes));
    EXPECT_EQ("a%41b%4", bytes);   // decoded once only; a short escape at the end stays
}

TEST(ImportMapping, LocationsDecodeOnceThroughUtf8IntoWindowsPaths) {
    const struct {
        const wchar_t* location;
        const wchar_t* path;   // null: not a local file
    } cases[] = {
        {L"file://localhost/C:/Music/%E6%97%A5%E6%9C%AC%E8%AA%9E/100%25%20a+b.mp3", L"C:\\Music\\日本語\\100% a+b.mp3"},
        {L"file:///D:/%E3%83%86%E3%82%B9%E3%83%88%2541.m4a", L"D:\\テスト%41.m4a"},
        {L"file://localhost/E:/生の日本語.mp3", L"E:\\生の日本語.mp3"},
        {L"file://nas/share/a%20b.mp3", L"\\\\nas\\share\\a b.mp3"},
        {L"http://example.com/stream.mp3", nullptr},
        {L"file://localhost/Users/me/Music/a.mp3", nullptr},
        {L"file://localhost/C:/bad%FF%FE.mp3", nullptr},
    };
    for (const auto& c : cases) {
        std::wstring path;
        EXPECT_EQ(c.path != nullptr, DecodeItunesLocation(c.location, path)) << c.location;
        if (c.path) {
            EXPECT_EQ(c.path, path) << c.location;
        }
    }
}

TEST(ImportMapping, OnlyPlainLocalAndShareFilePathsAreTaken) {
    const struct {
        const wchar_t* location;
        const wchar_t* path;   // null: refused
    } cases[] = {
        {L"file://localhost/C:/Music/./a/../b.mp3", L"C:\\Music\\b.mp3"},
        {L"file:///d:/a//b.mp3", L"d:\\a\\b.mp3"},
        {L"file://nas/share/x/../y.mp3", L"\\\\nas\\share\\y.mp3"},
        {L"file://localhost/C:/Music/%00../x.mp3", nullptr},             // NUL
        {L"file://localhost/C:/Music/a%09b.mp3", nullptr},               // a control character
        {L"file://localhost/C:/Music/a%0Db.mp3", nullptr},               // a CR from its escape
        {L"file://./C:/x.mp3", nullptr},                                   // "\\.\C:\x.mp3"
        {L"file://./PhysicalDrive0/x", nullptr},
        {L"file://./pipe/name", nullptr},
        {L"file://%3F/C:/x.mp3", nullptr},                                 // "\\?\C:\x.mp3"
        {L"file://C:/x.mp3", nullptr},                                     // not "\\C:\x.mp3"
        {L"file://localhost/C:/Music/CON", nullptr},
        {L"file://localhost/C:/nul.mp3", nullptr},
        {L"file://localhost/C:/com1.txt/a.mp3", nullptr},
        {L"file://nas/LPT1/a.mp3", nullptr},
        {L"file://localhost/1:/a.mp3", nullptr},
        {L"file://localhost/C:/a.mp3:stream", nullptr},
        {L"file://localhost/C:/*.mp3", nullptr},
        {L"file://localhost/C:/a%3F.mp3", nullptr},
        {L"file://localhost/C:/../x.mp3", nullptr},
        {L"file://localhost/C:/a/../../x.mp3", nullptr},
        {L"file://localhost/C:/a%5C..%5C..%5Cx.mp3", nullptr},
        {L"file://localhost/C:/.../x.mp3", nullptr},
        {L"file://localhost/C:/Music/", nullptr},
        {L"file://nas//a.mp3", nullptr},                                   // an empty share
        {L"file://nas/share", nullptr},
        {L"file://nas/../x.mp3", nullptr},                                 // "\\nas\..\x.mp3"
        {L"file://../share/a.mp3", nullptr},
        {L"file://nas/. /a.mp3", nullptr},
        {L"file://nas/.../a.mp3", nullptr},
        {L"file://.%20/share/a.mp3", nullptr},
        {L"file://nas%5C..%5Cx/a.mp3", nullptr},                           // "\\nas\..\x\a.mp3"
        {L"file://127.0.0.1/pipe/x", nullptr},                             // a named pipe
        {L"file://nas/PIPE/x", nullptr},
        {L"file://nas/MailSlot/x", nullptr},
        {L"file://nas/pipes/a.mp3", L"\\\\nas\\pipes\\a.mp3"},
        {L"file://nas/.share/a.mp3", L"\\\\nas\\.share\\a.mp3"},
    };
    for (const auto& c : cases) {
        std::wstring path;
        const bool taken = DecodeItunesLocation(c.location, path);
        EXPECT_EQ(c.path != nullptr, taken) << c.location;
        if (c.path) {
            EXPECT_EQ(c.path, path) << c.location;
        }
    }
    const wchar_t* const sourceUrls[] = {L"\\\\.\\PhysicalDrive0", L"\\\\?\\C:\\a.mp3", L"\\\\.\\pipe\\x", L"CON",
                                         L"a.mp3", L"\\a.mp3", L"C:a.mp3", L"http://example.com/a.mp3", L"\\\\\\share\\a.mp3"};
    for (const wchar_t* url : sourceUrls) {
        std::wstring path;
        EXPECT_FALSE(MakeWholeFilePath(url, path)) << url;
    }
    std::wstring path;
    ASSERT_TRUE(MakeWholeFilePath(L"C:/Music\\a/b.mp3", path));
    EXPECT_EQ(L"C:\\Music\\a\\b.mp3", path);
}

TEST(ImportMapping, PlayDatesAreExactOnTheCalendarAcrossYears) {
    const struct {
        const wchar_t* value;
        LocalFields fields;
    } cases[] = {
        {L"3239384645", {2006, 8, 25, 21, 4, 5}},
        {L"3187382399", {2004, 12, 31, 23, 59, 59}},
        {L"3187382400", {2005, 1, 1, 0, 0, 0}},
        {L"3287131200", {2008, 2, 29, 12, 0, 0}},
        {L"2082931200", {1970, 1, 2, 0, 0, 0}},
        {L"34569288000", {2999, 6, 15, 12, 0, 0}},
    };
    for (const auto& c : cases) {
        const int64_t t = ItunesPlayDateToTime(c.value);
        ASSERT_NE(0, t) << c.value;
        const LocalFields f = FieldsOf(t);
        EXPECT_EQ(c.fields.year, f.year) << c.value;
        EXPECT_EQ(c.fields.month, f.month) << c.value;
        EXPECT_EQ(c.fields.day, f.day) << c.value;
        EXPECT_EQ(c.fields.hour, f.hour) << c.value;
        EXPECT_EQ(c.fields.minute, f.minute) << c.value;
        EXPECT_EQ(c.fields.second, f.second) << c.value;
    }
    // Dates the run-time cannot convert give no play date, and never reach it.
    for (const wchar_t* value : {L"-5", L"1000", L"-9223372036854775808",   // before 1970
                                 L"34618060800",                            // one second past the year 3000
                                 L"99999999999999", L"9223372036854775807", L"99999999999999999999999"})
        EXPECT_EQ(0, ItunesPlayDateToTime(value)) << value;
}

TEST(ImportMapping, ItunesKeysFillTheRecord) {
    Pairs pairs = FileTrack(L"file://localhost/C:/Music/a.m4a");
    pairs.insert(pairs.end(), {{L"artist", L"アーティスト"}, {L"Album", L"アルバム"}, {L"Genre", L"Rock"},
                               {L"Year", L"2006"}, {L"Comments", L"c"}, {L"Kind", L"AAC オーディオファイル"},
                               {L"Size", L"5000000000"}, {L"Total Time", L"254999"}, {L"Track Number", L"3"},
                               {L"Track Count", L"12"}, {L"Bit Rate", L"256"}, {L"Sample Rate", L"44100"},
                               {L"Artwork Count", L"1"}, {L"Rating", L"100"}, {L"Play Count", L"7"},
                               {L"Play Date", L"3239384645"}, {L"Persistent ID", L"ignored"}});
    TrackRecord r;
    ASSERT_EQ(ItunesTrackResult::Taken, MapItunesTrack(pairs, r));
    EXPECT_EQ(-1, r.rowid);
    EXPECT_EQ(L"C:\\Music\\a.m4a", r.file_name);
    EXPECT_EQ(L"a", r.file_title);
    EXPECT_EQ(L".m4a", r.file_ext);
    EXPECT_EQ(L"名前", r.tagTitle);
    EXPECT_EQ(L"アーティスト", r.tagArtist);
    EXPECT_EQ(L"アルバム", r.tagAlbum);
    EXPECT_EQ(L"Rock", r.tagGenre);
    EXPECT_EQ(L"2006", r.tagDate);
    EXPECT_EQ(L"c", r.tagComment);
    EXPECT_EQ(8, r.infoCodec);   // the later "Kind" wins
    EXPECT_EQ(1024, r.infoTagtype);
    EXPECT_EQ(5000000000LL, r.file_size);
    EXPECT_EQ(254, r.statDuration);
    EXPECT_EQ(L"3/12", r.tagTracknumber);
    EXPECT_EQ(256000, r.statBitrate);
    EXPECT_EQ(44100, r.statSamplingrate);
    EXPECT_EQ(L"APIC", r.tagAPIC);
    EXPECT_EQ(50, r.rating);
    EXPECT_EQ(7, r.playcount);
    EXPECT_EQ(2006, FieldsOf(r.lastplayed).year);
    EXPECT_EQ(0, r.statChannels);
    EXPECT_FALSE(r.statVBR);

    const struct {
        const wchar_t* kind;
        int codec, tagType;
    } kinds[] = {{L"Apple Lossless オーディオファイル", 9, 1024}, {L"MPEG オーディオファイル", 3, 32}, {L"WAV オーディオファイル", 5, 0}};
    for (const auto& k : kinds) {
        Pairs p = FileTrack(L"file:///C:/a.x");
        p[2].second = k.kind;
        ASSERT_EQ(ItunesTrackResult::Taken, MapItunesTrack(p, r)) << k.kind;
        EXPECT_EQ(k.codec, r.infoCodec) << k.kind;
        EXPECT_EQ(k.tagType, r.infoTagtype) << k.kind;
    }

    Pairs countOnly = FileTrack(L"file:///C:/a.mp3");
    countOnly.push_back({L"Track Count", L"12"});
    ASSERT_EQ(ItunesTrackResult::Taken, MapItunesTrack(countOnly, r));
    EXPECT_EQ(L"12", r.tagTracknumber);
}

TEST(ImportMapping, ItunesTracksThatCannotBeImportedSaySo) {
    TrackRecord r;
    Pairs url = FileTrack(L"http://radio.example/stream");
    url[3].second = L"URL";
    EXPECT_EQ(ItunesTrackResult::NotAFile, MapItunesTrack(url, r));
    Pairs video = FileTrack(L"file:///C:/a.mov");
    video[2].second = L"QuickTime ムービーファイル";
    EXPECT_EQ(ItunesTrackResult::UnknownKind, MapItunesTrack(video, r));
    EXPECT_EQ(ItunesTrackResult::NotLocal, MapItunesTrack(FileTrack(L"file://localhost/Users/a.mp3"), r));
    Pairs noLocation = FileTrack(L"");
    noLocation.pop_back();
    EXPECT_EQ(ItunesTrackResult::NotLocal, MapItunesTrack(noLocation, r));
}

TEST(ImportMapping, ImpossibleNumbersAreKeptInTheLibrarysRanges) {
    const struct {
        const wchar_t *size, *time, *bitRate, *sampleRate, *rating, *playCount;
        int64_t fileSize;
        int duration, bitrate, samplingrate, stars, plays;
    } itunes[] = {
        {L"-5", L"-254999", L"-256", L"-44100", L"-100", L"-7", 0, 0, 0, 0, 0, 0},
        {L"99999999999", L"99999999999", L"2147484", L"99999999999", L"101", L"99999999999",
         99999999999LL, 2147483, 0, 2147483647, 50, 2147483647},
        {L"1", L"1000", L"2147483", L"1", L"100", L"1", 1, 1, 2147483000, 1, 50, 1},
        {L"x", L"", L"99999999999", L"", L"99999999999", L"", 0, 0, 0, 0, 50, 0},
    };
    for (const auto& c : itunes) {
        Pairs pairs = FileTrack(L"file:///C:/a.mp3");
        pairs.insert(pairs.end(), {{L"Size", c.size}, {L"Total Time", c.time}, {L"Bit Rate", c.bitRate},
                                   {L"Sample Rate", c.sampleRate}, {L"Rating", c.rating}, {L"Play Count", c.playCount}});
        TrackRecord r;
        ASSERT_EQ(ItunesTrackResult::Taken, MapItunesTrack(pairs, r)) << c.size;
        EXPECT_EQ(c.fileSize, r.file_size) << c.size;
        EXPECT_EQ(c.duration, r.statDuration) << c.time;
        EXPECT_EQ(c.bitrate, r.statBitrate) << c.bitRate;
        EXPECT_EQ(c.samplingrate, r.statSamplingrate) << c.sampleRate;
        EXPECT_EQ(c.stars, r.rating) << c.rating;
        EXPECT_EQ(c.plays, r.playcount) << c.playCount;
    }

    FakeCollection collection;
    collection.items.push_back({{L"MediaType", L"Audio"}, {L"FileType", L"MP3"}, {L"SourceURL", L"C:\\a.mp3"},
                                {L"FileSize", L"-4096"}, {L"Duration", L"-215"}, {L"Bitrate", L"-192000"},
                                {L"PeakValue", L"-1"}, {L"UserRating", L"-99"}, {L"UserPlayCount", L"-12"}});
    collection.items.push_back({{L"MediaType", L"Audio"}, {L"FileType", L"MP3"}, {L"SourceURL", L"C:\\b.mp3"},
                                {L"FileSize", L"5000000000"}, {L"Duration", L"99999999999"}, {L"Bitrate", L"99999999999"},
                                {L"PeakValue", L"40000"}, {L"UserRating", L"2000"}, {L"UserPlayCount", L"99999999999"}});
    std::vector<TrackRecord> read;
    ReadWmpCollection(collection, [&](TrackRecord&& r) { read.push_back(std::move(r)); });
    ASSERT_EQ(2u, read.size());
    for (const TrackRecord& r : read) {
        EXPECT_GE(r.file_size, 0) << r.file_name;
        EXPECT_GE(r.statDuration, 0) << r.file_name;
        EXPECT_GE(r.statBitrate, 0) << r.file_name;
        EXPECT_EQ(0, r.gain) << r.file_name;
        EXPECT_GE(r.playcount, 0) << r.file_name;
    }
    EXPECT_EQ(0, read[0].rating);
    EXPECT_EQ(0, read[0].file_size);
    EXPECT_EQ(50, read[1].rating);
    EXPECT_EQ(5000000000LL, read[1].file_size);
}

TEST(ImportMapping, ImportedTextsEndAtTheirFirstNulAndLocationsWithANulAreRefused) {
    const std::wstring nul(1, L'\0');
    Pairs pairs = FileTrack(L"file:///C:/a.mp3");
    pairs.insert(pairs.end(), {{L"Name", L"Title" + nul + L"..\\..\\x"}, {L"Artist", nul + L"hidden"},
                               {L"Album", L"Album" + nul}});
    TrackRecord r;
    ASSERT_EQ(ItunesTrackResult::Taken, MapItunesTrack(pairs, r));
    EXPECT_EQ(L"Title", r.tagTitle);
    EXPECT_EQ(L"", r.tagArtist);
    EXPECT_EQ(L"Album", r.tagAlbum);
    EXPECT_EQ(ItunesTrackResult::NotLocal, MapItunesTrack(FileTrack(L"file:///C:/a.mp3" + nul + L"b"), r));

    FakeCollection collection;
    collection.items.push_back({{L"MediaType", L"Audio"}, {L"FileType", L"MP3"}, {L"SourceURL", L"C:\\a.mp3"},
                                {L"Title", L"Title" + nul + L"rest"}, {L"WM/Lyrics", L"line" + nul + L"more"}});
    collection.items.push_back({{L"MediaType", L"Audio"}, {L"FileType", L"MP3"},
                                {L"SourceURL", L"C:\\Music\\a.mp3" + nul + L"..\\..\\Windows\\x.mp3"}});
    collection.items.push_back({{L"MediaType", L"Audio"}, {L"FileType", L"MP3"}, {L"SourceURL", L"\\\\.\\PhysicalDrive0"}});
    collection.items.push_back({{L"MediaType", L"Audio"}, {L"FileType", L"MP3"}, {L"SourceURL", L"C:\\Music\\aux.wma"}});
    std::vector<TrackRecord> read;
    const ImportReadResult result = ReadWmpCollection(collection, [&](TrackRecord&& t) { read.push_back(std::move(t)); });
    EXPECT_EQ(1, result.taken);
    EXPECT_EQ(3, result.skipped);
    ASSERT_EQ(1u, read.size());
    EXPECT_EQ(L"Title", read[0].tagTitle);
    EXPECT_EQ(L"line", read[0].tagLyrics);
}

TEST(ImportMapping, MediaPlayerRatingsAndLastPlayedTimes) {
    const int ratings[][2] = {{0, 0},   {1, 10},  {25, 20}, {50, 30},  {75, 40},
                              {99, 50}, {60, 30}, {10, 0},  {45, 20},  {100, 50},
                              {2000, 50}, {-1, 0}, {-99, 0}, {INT_MAX, 50}, {INT_MIN, 0}};
    for (const auto& r : ratings) EXPECT_EQ(r[1], WmpRatingToRating(r[0])) << r[0];

    const LocalFields f = FieldsOf(ParseWmpLastPlayed(L"2006-08-25 21:04:05"));
    EXPECT_EQ(2006, f.year);
    EXPECT_EQ(8, f.month);
    EXPECT_EQ(25, f.day);
    EXPECT_EQ(21, f.hour);
    EXPECT_EQ(4, f.minute);
    EXPECT_EQ(5, f.second);
    EXPECT_EQ(0, ParseWmpLastPlayed(L""));
    EXPECT_EQ(0, ParseWmpLastPlayed(L"2006-08-25 21.04.05"));
    EXPECT_EQ(0, ParseWmpLastPlayed(L"2006-08-25 21:04"));
}

TEST(ImportMapping, MediaPlayerItemsMapThroughTheCollection) {
    FakeCollection collection;
    collection.items.push_back({{L"MediaType", L"Audio"}, {L"FileType", L"MP3"},
                                {L"SourceURL", L"C:\\Music\\曲.mp3"}, {L"FileSize", L"4096"},
                                {L"Title", L"タイトル"}, {L"Author", L""}, {L"WM/AlbumArtist", L"アルバムアーティスト"},
                                {L"WM/AlbumTitle", L"アルバム"}, {L"WM/Genre", L"Pop"}, {L"WM/Year", L"2005"},
                                {L"Description", L"説明"}, {L"WM/TrackNumber", L"4"}, {L"WM/Lyrics", L"歌詞"},
                                {L"Duration", L"215"}, {L"Bitrate", L"192000"}, {L"IsVBR", L"1"},
                                {L"PeakValue", L"30000"}, {L"UserRating", L"99"}, {L"UserPlayCount", L"12"},
                                {L"UserLastPlayedTime", L"2006-08-25 21:04:05"}});
    collection.items.push_back({{L"MediaType", L"video"}, {L"FileType", L"wmv"}, {L"SourceURL", L"C:\\v.wmv"}});
    collection.items.push_back({{L"MediaType", L"audio"}, {L"SourceURL", L"C:\\no-type.mp3"}});
    collection.items.push_back(AudioItem(L"C:\\b.wma", L"60"));
    collection.items.push_back({{L"MediaType", L"audio"}, {L"FileType", L"ogg"}, {L"SourceURL", L"C:\\c.ogg"}});
    collection.items.push_back(AudioItem(L"", L"10"));

    std::vector<TrackRecord> read;
    ImportReadResult result = ReadWmpCollection(collection, [&](TrackRecord&& r) { read.push_back(std::move(r)); });
    ASSERT_EQ(3u, read.size());
    EXPECT_EQ(3, result.taken);
    EXPECT_EQ(1, result.skipped);   // the item without a file name

    const TrackRecord& a = read[0];
    EXPECT_EQ(-1, a.rowid);
    EXPECT_EQ(3, a.infoCodec);
    EXPECT_EQ(32, a.infoTagtype);
    EXPECT_EQ(L"C:\\Music\\曲.mp3", a.file_name);
    EXPECT_EQ(L"曲", a.file_title);
    EXPECT_EQ(L".mp3", a.file_ext);
    EXPECT_EQ(4096, a.file_size);
    EXPECT_EQ(L"タイトル", a.tagTitle);
    EXPECT_EQ(L"アルバムアーティスト", a.tagArtist);
    EXPECT_EQ(L"アルバム", a.tagAlbum);
    EXPECT_EQ(L"Pop", a.tagGenre);
    EXPECT_EQ(L"2005", a.tagDate);
    EXPECT_EQ(L"説明", a.tagComment);
    EXPECT_EQ(L"4", a.tagTracknumber);
    EXPECT_EQ(L"歌詞", a.tagLyrics);
    EXPECT_EQ(215, a.statDuration);
    EXPECT_EQ(192000, a.statBitrate);
    EXPECT_TRUE(a.statVBR);
    EXPECT_EQ(30000, a.gain);
    EXPECT_EQ(50, a.rating);
    EXPECT_EQ(12, a.playcount);
    EXPECT_EQ(21, FieldsOf(a.lastplayed).hour);

    EXPECT_EQ(6, read[1].infoCodec);
    EXPECT_EQ(512, read[1].infoTagtype);
    EXPECT_EQ(30, read[1].rating);
    EXPECT_EQ(0, read[1].lastplayed);
    EXPECT_EQ(0, read[2].infoCodec);   // a file type without a known codec is taken as it is
    EXPECT_EQ(L"C:\\c.ogg", read[2].file_name);
}
