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
    // False when the file could not be written, or when the SQL cannot be stored on one line
    // (`LineCommentsToBlocks`). The line stored is the SQL with its line comments as block
    // comments and each line break as a space.
    bool Save(const std::wstring& path);
    // The file's title (name without folder and extension): the query's display name.
    bool GetTitle(std::wstring& title) const;

    // `sql` with each "--" comment (outside string literals, quoted names and block comments)
    // written as "/*...*/", so that the text keeps its meaning on one line. False when such a
    // comment holds "*/", which would end it early.
    static bool LineCommentsToBlocks(const std::wstring& sql, std::wstring& converted);
    // True when the upper-cased text contains "RANDOM()".
    static bool ContainsRandom(const std::wstring& sql);
};
