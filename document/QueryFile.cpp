#include "document/QueryFile.h"
#include "app/IniFile.h"
#include "app/PathParts.h"
#include <cwctype>

bool CQueryFile::Load(const std::wstring& filePath) {
    path = filePath;
    CIniFile ini(filePath);
    sql.clear();
    ini.GetString(sql, L"Query", L"SQL", L"");
    if (sql.empty()) return false;
    if (sql.back() != L';') sql += L';';
    containsRandom = ContainsRandom(sql);
    sortColumn = ini.GetInt(L"Query", L"SortBy", -1);
    ascending = ini.GetInt(L"Query", L"SortOrder", 1) == 1;
    return true;
}

bool CQueryFile::Save(const std::wstring& filePath) {
    path = filePath;
    CIniFile ini(filePath);
    ini.EnsureUnicodeFile();
    ini.EraseSection(L"Query");
    ini.WriteString(L"Query", L"SQL", sql.c_str());
    ini.WriteInt(L"Query", L"SortBy", sortColumn);
    ini.WriteInt(L"Query", L"SortOrder", ascending ? 1 : 0);
    return true;
}

bool CQueryFile::GetTitle(std::wstring& title) const {
    PathParts parts;
    if (!SplitPath(parts, path)) return false;
    title = parts.fname;
    return true;
}

bool CQueryFile::ContainsRandom(const std::wstring& text) {
    std::wstring upper = text;
    for (auto& c : upper) c = static_cast<wchar_t>(towupper(c));
    return upper.find(L"RANDOM()") != std::wstring::npos;
}
