#include "app/LarkspurCmdLine.h"
#include "app/FileNameRules.h"
#include <cwchar>

const wchar_t kLongestProfileFileName[] = L"library.db-journal";

void CLarkspurCmdLine::ParseParam(const wchar_t* param, BOOL isSwitch, BOOL) {
    if (!isSwitch || !param) return;
    if (const wchar_t* colon = std::wcschr(param, L':')) {
        profileName = colon + 1;
        profileArgument = CurrentArgument();
    }
}

bool IsUsableProfileName(const std::wstring& name, const std::wstring& programFolder) {
    if (name.empty()) return true;
    if (!IsPlainFileName(name) || name.back() == L'.' || name.back() == L' ') return false;
    const size_t longest = programFolder.size() + std::wcslen(L"users\\") + name.size() + 1 +
                           std::wcslen(kLongestProfileFileName);
    return longest < MAX_PATH;
}
