#include "app/FileNameRules.h"
#include <cwctype>

bool IsPlainFileName(const std::wstring& name) {
    if (name.empty()) return false;
    bool onlyDots = true;
    for (wchar_t c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        switch (c) {
        case L':': case L'\\': case L'/': case L'*': case L'?': case L'"': case L'<': case L'>': case L'|':
            return false;
        default:
            break;
        }
        if (c != L'.') onlyDots = false;
    }
    return !onlyDots && !IsReservedDeviceName(name);
}

bool IsReservedDeviceName(const std::wstring& name) { return ReservedDeviceNameLength(name) != 0; }

bool EndsInReservedDeviceName(const std::wstring& path) {
    size_t start = path.find_last_of(L"\\/");
    if (start != std::wstring::npos) ++start;
    else start = path.size() >= 2 && path[1] == L':' ? 2 : 0;   // "C:com1.mp3"
    return IsReservedDeviceName(path.substr(start));
}

size_t ReservedDeviceNameLength(const std::wstring& name) {
    // What Windows compares: the part before the first dot (or a stream's colon), without
    // trailing blanks.
    size_t end = name.find_first_of(L".:");
    if (end == std::wstring::npos) end = name.size();
    while (end > 0 && name[end - 1] == L' ') --end;
    auto upper = [&name](size_t i) { return static_cast<wchar_t>(towupper(name[i])); };
    auto is = [&](const wchar_t* word) {
        for (size_t i = 0; i < 3; ++i)
            if (upper(i) != word[i]) return false;
        return true;
    };
    if (end == 3 && (is(L"CON") || is(L"PRN") || is(L"AUX") || is(L"NUL"))) return 3;
    if (end == 4 && (is(L"COM") || is(L"LPT"))) {
        const wchar_t digit = name[3];
        if ((digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3')
            return 4;
    }
    return 0;
}
