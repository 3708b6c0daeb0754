#include "document/QueryFile.h"
#include "app/PathParts.h"
#include <algorithm>
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

bool CQueryFile::LineCommentsToBlocks(const std::wstring& text, std::wstring& converted) {
    converted.clear();
    converted.reserve(text.size() + 16);
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const wchar_t c = text[i];
        size_t end = i + 1;
        if (c == L'\'' || c == L'"' || c == L'`' || c == L'[') {
            // A literal or quoted name; a doubled quote inside it is one quote ("[...]" has none).
            const wchar_t close = c == L'[' ? L']' : c;
            for (;;) {
                end = text.find(close, end);
                if (end == std::wstring::npos) {
                    end = n;
                    break;
                }
                ++end;
                if (close == L']' || end >= n || text[end] != close) break;
                ++end;
            }
        } else if (c == L'/' && i + 1 < n && text[i + 1] == L'*') {
            end = text.find(L"*/", i + 2);
            end = end == std::wstring::npos ? n : end + 2;
        } else if (c == L'-' && i + 1 < n && text[i + 1] == L'-') {
            // SQLite ends a line comment at a line feed only: a lone carriage return is inside it.
            end = std::min(text.find(L'\n', i + 2), n);
            if (end < n && end > i + 2 && text[end - 1] == L'\r') --end;
            const std::wstring comment = text.substr(i + 2, end - i - 2);
            if (comment.find(L"*/") != std::wstring::npos) return false;
            converted += L"/*";
            converted += comment;
            converted += L"*/";
            i = end;
            continue;
        }
        converted.append(text, i, end - i);
        i = end;
    }
    return true;
}

bool CQueryFile::Save(const std::wstring& filePath) {
    std::wstring blocks;
    if (!LineCommentsToBlocks(sql, blocks)) return false;
    SetPath(filePath);
    // The section is rewritten as a whole, and the file replaced only when all of it is
    // written (a folder that is gone or read-only, a full disk fail the save).
    BeginWrite();
    EraseSection(L"Query");
    WriteString(L"Query", L"SQL", OneLine(blocks).c_str());
    WriteInt(L"Query", L"SortBy", sortColumn);
    WriteInt(L"Query", L"SortOrder", ascending ? 1 : 0);
    return EndWrite();
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
