#pragma once
#include "document/SQLite.h"
#include <string>

class CLarkspur2006Doc;

// The root of a path's drive or share ("C:\", "\\server\share\"); empty when it has none.
std::wstring PathRoot(const std::wstring& path);

// What deleting the rows of missing files did.
struct MissingFilesResult {
    bool failed = false;     // a statement failed (the database error dialog was shown)
    int deleted = 0;         // rows really deleted
    int unreachable = 0;     // rows kept because their drive or share cannot be reached
};

// Deletes the rows whose files are gone. A file only counts as gone while the root of its
// drive or share answers: an unplugged disk or an offline share keeps its rows.
MissingFilesResult DeleteMissingFiles(CSQlite& db);

// Stops playback, drops and recreates the table and its indexes, and compacts the file.
void InitialiseLibrary(CLarkspur2006Doc& doc);
// Compacts the library file.
void OptimiseLibrary(CSQlite& db);
