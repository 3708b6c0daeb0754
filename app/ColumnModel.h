#pragma once
#include "app/AppSettings.h"
#include "app/TrackRecord.h"
#include <string>
#include <vector>

// The play list's column types.
enum ListColumnType {
    ColTrackNumber = 0,
    ColTitle = 1,
    ColArtist = 2,
    ColAlbum = 3,
    ColYear = 4,
    ColGenre = 5,
    ColComment = 6,
    ColFileName = 7,
    ColFilePath = 8,
    ColFileSize = 9,
    ColCodec = 10,
    ColBitrate = 11,
    ColChannels = 12,
    ColSamplingRate = 13,
    ColVbr = 14,
    ColRating = 15,
    ColLength = 16,
    ColPlayCount = 17,
    ColLastPlayed = 18,
    ColLastType = 18,
};

// Sort column -2: rows stay in query order; -1: keep the current sort.
const int SortColumnNone = -2;
const int SortColumnKeep = -1;

struct TrackSortKey {
    int column = ColTitle;
    bool ascending = true;
    bool albumRule = false;    // "Sort.Rule.01": album, then track
    bool artistRule = false;   // "Sort.Rule.02": artist, then album, then track
    bool ratingRule = false;   // "Sort.Rule.03": rating, then album and track the other way
};

// Whether the play list can show a column of this type: 0-18, except type 14, which has a
// text and a comparison but is never a column.
bool IsListColumnType(int type);
// Caption of a column type; false and an empty text for a type above 18.
bool GetColumnCaption(int type, std::wstring& text);
// Alignment of a column type in the list: 0 left, 1 right, 2 centre.
enum ColumnAlignment { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };
int GetColumnAlignment(int type);
// Display text of one cell; for an unknown type the text is left unchanged.
void GetColumnText(const TrackRecord& track, int type, std::wstring& text,
                   const std::wstring& dateFormat);
// "MP1" ... "APE" for format codes 1-12; false (text unchanged) for any other code.
bool GetCodecName(int code, std::wstring& text);
// "--" for 0, else the local time formatted with a wcsftime format (empty on failure).
void FormatLastPlayed(int64_t time, std::wstring& text, const std::wstring& format);

// True when `a` sorts before `b` under the key. A strict weak order for every column;
// false for an unknown column.
bool CompareTracksByColumn(const TrackSortKey& key, const TrackRecord& a, const TrackRecord& b);

// The integer value of a track-number text: leading digits, 0 when there are none.
int TrackNumberValue(const std::wstring& text);

void ResetDefaultColumns(std::vector<ListColumnEntry>& columns, int marginX);
std::vector<ListColumnEntry>::iterator FindColumnEntry(std::vector<ListColumnEntry>& columns, int type);
