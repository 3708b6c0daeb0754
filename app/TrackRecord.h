#pragma once
#include <cstdint>
#include <string>

// One row of the library table `list` in memory: the element of every play list and the
// now-playing track. Field names follow the column names of `list`.
struct TrackRecord {
    int64_t rowid = 0;
    int spare = 0;              // set to 0 when a play list is loaded
    std::wstring displayTitle;  // tagTitle, or file_title when that is empty

    std::wstring file_name;     // full path
    std::wstring file_title;    // name without folder and extension
    std::wstring file_ext;      // extension as stored, with its dot
    int64_t file_size = 0;

    std::wstring tagTitle;
    std::wstring tagArtist;
    std::wstring tagAlbum;
    std::wstring tagGenre;
    std::wstring tagDate;
    std::wstring tagComment;
    std::wstring tagTracknumber;
    std::wstring tagAPIC;
    std::wstring tagLyrics;

    int statDuration = 0;       // seconds
    int statChannels = 0;
    int statSamplingrate = 0;   // Hz
    int statBitrate = 0;        // bits per second
    bool statVBR = false;

    int infoCodec = 0;          // format code 1-12
    std::wstring infoCodec_sub;
    int infoTagtype = 0;
    int gain = 0;               // peak level 0-32768
    int rating = 0;             // 0-50
    int playcount = 0;
    int64_t lastplayed = 0;     // seconds since 1970, 0 never
};
