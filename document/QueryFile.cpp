#include "document/QueryFile.h"
#include "app/PathParts.h"
#include <cwctype>

bool CQueryFile::Load(const std::wstring& filePath) {
    SetPath(filePath);
    sql.clear();
    GetString(sql, L"Query", L"SQL", L"");
    if (sql.empty()) return false;
    if (sql.back() != L';') sql += L';';
    containsRandom = ContainsRandom(sql);
    sortColumn = GetInt(L"Query", L"SortBy", -1);
    ascending = GetInt(L"Query", L"SortOrder", 1) == 1;
    return true;
}

namespace {

// A profile value ends at its line: each line break of a multi-line text becomes one space.
std::wstring OneLine(const std::wstring& text) {
    std::wstring line;
    line.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            line += L' ';
        } else {
            line += text[i];
        }
    }
    return line;
}

}  // namespace

bool CQueryFile::Save(const std::wstring& filePath) {
    SetPath(filePath);
    EnsureUnicodeFile();
    EraseSection(L"Query");
    // False when any key could not be written (a folder that is gone or read-only, say).
    const bool wroteSql = WriteString(L"Query", L"SQL", OneLine(sql).c_str()) != FALSE;
    const bool wroteSort = WriteInt(L"Query", L"SortBy", sortColumn) != FALSE;
    const bool wroteOrder = WriteInt(L"Query", L"SortOrder", ascending ? 1 : 0) != FALSE;
    return wroteSql && wroteSort && wroteOrder;
}

bool CQueryFile::GetTitle(std::wstring& title) const {
    PathParts parts;
    if (!SplitPath(parts, m_path)) return false;
    title = parts.fname;
    return true;
}

bool CQueryFile::ContainsRandom(const std::wstring& text) {
    std::wstring upper = text;
    for (auto& c : upper) c = static_cast<wchar_t>(towupper(c));
    return upper.find(L"RANDOM()") != std::wstring::npos;
}
