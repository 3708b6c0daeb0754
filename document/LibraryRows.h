#pragma once
#include "app/AppSettings.h"
#include "app/TrackRecord.h"
#include "document/SQLite.h"
#include "tags/TagInfo.h"
#include <functional>
#include <string>

class CLarkspur2006Doc;

// Sets the "BusyTimeout" busy time-out, then runs "PRAGMA synchronous" and
// "PRAGMA temp_store" with the settings' values. True when both pragmas ran.
bool ApplyPragmas(CSQlite& db, const CAppSettings& settings);

// The page cache and memory-mapped reads of a connection that reads the whole library (the
// play list's reload joins every row with the file_name index).
void ApplyReadPragmas(CSQlite& db);

// Reset, bind the record in the order of the insert (update) text and step once.
// True only when the step completed (SQLITE_DONE). Texts are bound without copying.
bool BindTrackForInsert(sqlite3_stmt* insert, const TrackRecord& track);
bool BindTrackForUpdate(sqlite3_stmt* update, const TrackRecord& track);

// The tag columns, stream values and file parts of a read file, by its tag type.
void MapTagInfoToTrack(const tagReader::TTagInfo& info, TrackRecord& track);

// What the library already holds for a file.
struct ExistingLibraryRow {
    bool exists = false;
    int gain = 0;
    int rating = 0;
    int playcount = 0;
    int64_t lastplayed = 0;
    int64_t modify = 0;
};
// Looks the file up on `db` (a failed prepare counts as no row).
ExistingLibraryRow LookupLibraryRow(CSQlite& db, const std::wstring& path);

// The file's last write time in seconds since 1970; false when it cannot be read.
bool GetFileModifyTime(const std::wstring& path, int64_t& seconds);

using TagReadFunction = std::function<int(tagReader::TTagInfo& info, const std::wstring& path)>;

// Brings one file into the library: skips it when unchanged since its row was written
// ("CheckFileModify"), reads its tags, keeps the row's statistics and inserts or updates; a
// file named like a device ("com1.mp3") is never opened. True when a row was written.
// Existing rows are looked up on `lookup`; the statements belong to the caller's connection.
// `stepResult`, when given, receives the SQLite result of the insert or update (left alone
// when none was run).
bool AddFileToLibrary(sqlite3_stmt* update, const std::wstring& path, CSQlite& lookup,
                      const CAppSettings& settings, sqlite3_stmt* insert,
                      const TagReadFunction& read = TagReadFunction(), int* stepResult = nullptr);
// The same with the document's connection and settings.
bool AddFileToLibrary(sqlite3_stmt* update, const std::wstring& path, CLarkspur2006Doc& doc,
                      sqlite3_stmt* insert, int* stepResult = nullptr);
