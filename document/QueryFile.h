#pragma once
#include "app/IniFile.h"
#include <string>

// A saved query (".q"): section "Query" with "SQL", "SortBy" and "SortOrder".
class CQueryFile : public CIniFile {
public:
    bool containsRandom = false;
    std::wstring sql;
    int sortColumn = -1;     // a column type; -1 keeps the play list's sort, -2 query order
    bool ascending = true;

    // False when the file holds no SQL text. A missing final ";" is added.
    bool Load(const std::wstring& path);
    // False when the file could not be written.
    bool Save(const std::wstring& path);
    // The file's title (name without folder and extension): the query's display name.
    bool GetTitle(std::wstring& title) const;

    // True when the upper-cased text contains "RANDOM()".
    static bool ContainsRandom(const std::wstring& sql);
};
