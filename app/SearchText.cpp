#include "app/SearchText.h"
#include <windows.h>
#include <vector>

bool NormalizeSearchText(const std::wstring& text, std::wstring& result) {
    const DWORD flags = LCMAP_UPPERCASE | LCMAP_HIRAGANA | LCMAP_HALFWIDTH | LCMAP_LINGUISTIC_CASING;
    if (text.empty()) {
        result.clear();
        return true;
    }
    int length = static_cast<int>(text.size());
    int needed = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        result = text;
        return false;
    }
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    int written = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), length, buffer.data(), needed);
    if (written <= 0) {
        result = text;
        return false;
    }
    result.assign(buffer.data(), written);
    return true;
}
