#pragma once
#include <string>

// Whether an SQLite result says that the library file takes no writes at all: read-only (the
// file, its folder or the medium), an I/O error, a full disk, or a journal that cannot be
// created. Such a write fails the same way each time it is tried again.
bool IsLibraryWriteFailure(int rc);

// The message that tells, once, that the library at `path` keeps nothing new.
std::wstring LibraryWriteFailureMessage(const std::wstring& path);
