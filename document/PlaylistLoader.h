#pragma once
#include "app/TrackRecord.h"
#include "document/PlaylistCache.h"
#include "document/SQLite.h"
#include <cstdint>

// The statement whose rows ReadPlaylistRow reads: every column of `playlist`, then the
// rowid of `list`.
extern const wchar_t* const kPlaylistRowsSql;

// True when the statement's result begins with the 26 columns of `list` in table order
// (names compared without regard to case): only such a result can be read into records. A
// query may add columns after them.
bool BeginsWithListColumns(sqlite3_stmt* stmt);

// What the user is told about a query whose result does not begin with those columns.
extern const wchar_t* const kPlaylistColumnsMessage;

// Fills a record's columns of `list` (file_name to lastplayed, columns 0-24 of `stmt`). A NULL
// text column throws CSqlite_exception, or reads as empty with `nullTextAsEmpty`.
void ReadListColumns(TrackRecord& record, sqlite3_stmt* stmt, bool nullTextAsEmpty);

// Fills a record from the current row of that statement: the columns of `list` by position,
// the rowid from the last column. Throws CSqlite_exception when a text column is NULL (the
// record is then partly filled).
bool ReadPlaylistRow(TrackRecord& record, sqlite3_stmt* stmt);

// Totals of a loaded play list, for the status bar.
struct PlaylistSummary {
    uint64_t files = 0;
    uint64_t bytes = 0;
    uint64_t seconds = 0;
    uint64_t artists = 0;
    uint64_t albums = 0;
    uint64_t genres = 0;
};

// Reads `playlist` into the cache: rows with a NULL text column are left out; the row of
// the now-playing track (matched by rowid, when its file name is set) becomes current.
// False (and an empty cache) when the statement cannot be prepared, `playlist` does not
// begin with the columns of `list`, or a step fails (interrupted, say). The rows are in query order; sorting is the caller's.
bool LoadPlaylistCache(CSQlite& db, PlaylistCache& cache, const TrackRecord* nowPlaying,
                       PlaylistSummary* summary);

// The library's "PRAGMA data_version" on `db`: it changes whenever another connection, in
// this process or another, commits to the file. -1 when it cannot be read.
int64_t LibraryDataVersion(CSQlite& db);
