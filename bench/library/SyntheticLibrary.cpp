#include "SyntheticLibrary.h"

const wchar_t* const kSearchWord = L"桜";

namespace {

const wchar_t* const kJapanese[] = {
    L"夜", L"空", L"海", L"風", L"花", L"雨", L"星", L"月", L"光", L"夢", L"恋", L"道", L"時間",
    L"永遠", L"約束", L"さよなら", L"ありがとう", L"君", L"僕", L"世界", L"未来", L"記憶",
    L"季節", L"春", L"夏", L"秋", L"冬", L"ひかり", L"ココロ", L"メロディー", L"ラジオ",
    L"東京", L"青い", L"白い", L"遠く", L"ずっと", L"きらきら", L"ミライ", L"スター", L"旅"};
const wchar_t* const kEnglish[] = {
    L"Love", L"Night", L"Blue", L"Dream", L"Light", L"Heart", L"Moon", L"Sky", L"Rain",
    L"Summer", L"Fire", L"Home", L"Road", L"River", L"Star", L"Time", L"World", L"Song",
    L"Dance", L"Shadow", L"Morning", L"Silver", L"Golden", L"Lonely", L"Wild", L"Sweet",
    L"Electric", L"Midnight", L"Ocean", L"Winter", L"Forever", L"Young", L"Black", L"City"};
const wchar_t* const kGenres[] = {
    L"J-Pop", L"Rock", L"Pop", L"Jazz", L"Classical", L"Anime", L"Soundtrack", L"Electronic",
    L"Hip-Hop", L"R&B", L"Metal", L"Folk", L"Blues", L"Country", L"Reggae", L"Ambient",
    L"Techno", L"House", L"Enka", L"Game", L"Punk", L"Alternative", L"Indie", L"Soul"};
const int kArtists = 2500;

template <size_t N>
const wchar_t* Pick(const wchar_t* const (&list)[N], int index) {
    return list[static_cast<size_t>(index) % N];
}

}  // namespace

SyntheticLibrary::SyntheticLibrary(uint32_t seed) : m_random(seed) {}

int SyntheticLibrary::Uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

std::wstring SyntheticLibrary::Words(int minWords, int maxWords, bool japanese) {
    int n = Uniform(minWords, maxWords);
    std::wstring s;
    for (int i = 0; i < n; ++i) {
        if (japanese) {
            s += kJapanese[Uniform(0, sizeof(kJapanese) / sizeof(kJapanese[0]) - 1)];
            if (i + 1 < n && Uniform(0, 3) == 0) s += L"の";
        } else {
            if (i) s += L' ';
            s += kEnglish[Uniform(0, sizeof(kEnglish) / sizeof(kEnglish[0]) - 1)];
        }
    }
    return s;
}

std::wstring SyntheticLibrary::ArtistName(int artist) {
    // Derived from the number alone, so that every row of one artist agrees.
    std::mt19937 r(static_cast<uint32_t>(artist) * 7919u + 17u);
    bool japanese = artist % 3 != 0;
    std::wstring s;
    int words = 1 + static_cast<int>(r() % 3);
    for (int i = 0; i < words; ++i) {
        if (japanese) {
            s += Pick(kJapanese, static_cast<int>(r() % 1000));
        } else {
            if (i) s += L' ';
            s += Pick(kEnglish, static_cast<int>(r() % 1000));
        }
    }
    s += L' ';
    s += std::to_wstring(artist);   // keeps the names apart
    return s;
}

std::wstring SyntheticLibrary::AlbumName(int artist, int album) {
    std::mt19937 r(static_cast<uint32_t>(artist) * 104729u + static_cast<uint32_t>(album) * 31u);
    bool japanese = (artist + album) % 2 == 0;
    std::wstring s;
    int words = 1 + static_cast<int>(r() % 4);
    for (int i = 0; i < words; ++i) {
        if (japanese) {
            s += Pick(kJapanese, static_cast<int>(r() % 1000));
        } else {
            if (i) s += L' ';
            s += Pick(kEnglish, static_cast<int>(r() % 1000));
        }
    }
    return s;
}

TrackRecord SyntheticLibrary::Next(int index) {
    TrackRecord t;
    // About 40 rows per artist in 1-6 albums of 8-16 tracks.
    int artist = Uniform(0, kArtists - 1);
    int album = Uniform(0, 3);
    int track = Uniform(1, 16);
    bool japanese = Uniform(0, 2) != 0;

    t.tagArtist = ArtistName(artist);
    t.tagAlbum = AlbumName(artist, album);
    t.tagTitle = Words(1, 5, japanese);
    if (Uniform(0, 99) < 2) t.tagTitle += kSearchWord;
    t.tagTracknumber = std::to_wstring(track);
    t.tagGenre = Pick(kGenres, artist * 7 + album);
    t.tagDate = std::to_wstring(1970 + (artist + album * 3) % 40);
    if (Uniform(0, 4) == 0) t.tagComment = Words(2, 8, false);
    if (Uniform(0, 2) == 0) t.tagAPIC = L"APIC";
    if (Uniform(0, 49) == 0) t.tagLyrics = Words(40, 120, true);

    wchar_t number[16];
    swprintf(number, 16, L"%02d", track);
    t.file_title = std::wstring(number) + L" " + t.tagTitle;
    static const wchar_t* const exts[] = {L".mp3", L".mp3", L".mp3", L".m4a", L".flac", L".ogg", L".wma"};
    static const int codecs[] = {3, 3, 3, 8, 10, 4, 6};
    static const wchar_t* const subs[] = {L"MPEG 1 Layer 3", L"MPEG 1 Layer 3", L"MPEG 1 Layer 3",
                                          L"AAC LC",         L"FLAC",           L"Vorbis", L"WMA"};
    int kind = Uniform(0, 6);
    t.file_ext = exts[kind];
    // The row number keeps paths unique even when two titles agree.
    t.file_name = L"D:\\Music\\" + t.tagArtist + L"\\" + t.tagAlbum + L"\\" + t.file_title + L" (" +
                  std::to_wstring(index) + L")" + t.file_ext;
    t.file_size = Uniform(2000000, 12000000);
    t.statDuration = Uniform(90, 480);
    t.statChannels = 2;
    t.statSamplingrate = kind == 4 ? 48000 : 44100;
    t.statBitrate = kind == 4 ? 900000 : 128000 + 32000 * Uniform(0, 6);
    t.statVBR = Uniform(0, 3) == 0;
    t.infoCodec = codecs[kind];
    t.infoCodec_sub = subs[kind];
    t.infoTagtype = kind == 4 ? 2048 : kind == 5 ? 128 : kind == 6 ? 512 : kind == 3 ? 1024 : 32;
    if (Uniform(0, 2) == 0) {
        t.gain = Uniform(8000, 32768);
        t.rating = 10 * Uniform(0, 5);
        t.playcount = Uniform(1, 60);
        t.lastplayed = 1100000000LL + Uniform(0, 200000000);
    }
    return t;
}
