#pragma once
#include "app/AppSettings.h"
#include "document/SQLite.h"
#include <cstdint>
#include <deque>
#include <string>

// One line of the property list.
enum PropertyRowKind {
    RowGroupTitle = 0,     // caption in bold
    RowGroupLine = 1,      // the gradient underline
    RowText = 2,
    RowRating = 3,         // value drawn as five stars
    RowPath = 4,           // value cut with a path ellipsis
    RowDistribution = 5,   // caption drawn as five stars
};

struct PropertyRow {
    std::wstring caption;
    std::wstring value;
    int kind = RowText;
};

using PropertyRows = std::deque<PropertyRow>;

// A group: its title row and its underline row.
void AddPropertyGroup(PropertyRows& rows, const std::wstring& title);
void AddPropertyRow(PropertyRows& rows, const std::wstring& caption, const std::wstring& value, int kind = RowText);

// "--" for 0, "±0.00 dB" for full scale, else "-6.02 dB / 0.5000".
std::wstring PeakText(int gain);

// Every stored value of one row of `list`, in five groups. False (after the database error
// dialog) when the row cannot be read; `rows` is then empty.
bool FillTrackPropertyRows(CSQlite& db, int64_t rowid, const CAppSettings& settings, PropertyRows& rows);

// Facts of the library file and statistics of the whole table. Statements that fail leave
// zeros, empty texts or no distribution rows.
void FillDatabasePropertyRows(CSQlite& db, const CAppSettings& settings, PropertyRows& rows);

// FormatDuration of the seconds, followed by " (N秒)" above one minute.
std::wstring TotalTimeText(int64_t seconds);
// "007 / 120 (5.83%)": the count padded to the width of the total.
std::wstring DistributionText(int64_t count, int64_t total);
