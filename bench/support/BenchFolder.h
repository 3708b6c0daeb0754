#pragma once
// Removing a benchmark's scratch folder with all it holds.
#include <windows.h>
#include <shellapi.h>
#include <string>

namespace bench_support {

inline void RemoveFolder(const std::wstring& folder) {
    std::wstring from = folder;
    if (!from.empty() && from.back() == L'\\') from.pop_back();
    from.push_back(L'\0');   // the list of paths ends with an empty one
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

}  // namespace bench_support
