#pragma once
#include "app/TrackRecord.h"
#include <sqlite3.h>
#include <cstdint>
#include <string>
#include <vector>

// The same work as the program's code, written the plain way: raw SQLite calls and a
// vector of plain structs, as the yardstick of each measure.
struct BareRow {
    int64_t rowid = 0;
    std::wstring file_name, file_title, file_ext;
    int64_t file_size = 0;
    std::wstring tagTitle, tagArtist, tagAlbum, tagGenre, tagDate, tagComment, tagTracknumber, tagAPIC,
        tagLyrics;
    int statDuration = 0, statChannels = 0, statSamplingrate = 0, statBitrate = 0;
    bool statVBR = false;
    int infoCodec = 0;
    std::wstring infoCodec_sub;
    int infoTagtype = 0, gain = 0, rating = 0, playcount = 0;
    int64_t lastplayed = 0;
};

// sqlite3_open16 with the program's two pragmas and nothing else.
sqlite3* BareOpen(const std::wstring& path);

// Steps `sql` (every column of `list`, then the rowid) into the vector.
void BareLoad(sqlite3* db, const std::wstring& sql, std::vector<BareRow>& rows);

// "INSERT INTO list VALUES(...)" with all 26 columns, one autocommitted row per step.
int BareInsert(sqlite3* db, const std::vector<TrackRecord>& rows);

// std::stable_sort with the C library's comparison of one field.
void BareSortByTitle(std::vector<BareRow>& rows);
void BareSortByArtistAlbumTrack(std::vector<BareRow>& rows);
void BareSortByLastPlayed(std::vector<BareRow>& rows);

// Steps a grouping query (value text, average, count) into a vector of plain structs; the
// number of values.
size_t BareGroupValues(sqlite3* db, const std::wstring& sql);
