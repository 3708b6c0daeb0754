#include "ui/dialogs/FileNameRules.h"
#include <algorithm>

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

namespace {

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool IsPortDigit(wchar_t c) { return (c >= L'1' && c <= L'9') || c == 0x00B9 || c == 0x00B2 || c == 0x00B3; }

}  // namespace

// Windows drops the trailing dots and spaces of a name, takes the part before the first dot
// (or colon) as the base and drops that base's trailing spaces before it compares.
bool IsReservedDeviceName(const std::wstring& name) {
    const size_t last = name.find_last_not_of(L". ");
    if (last == std::wstring::npos) return false;
    std::wstring base = name.substr(0, std::min(last + 1, name.find_first_of(L".:")));
    base.erase(base.find_last_not_of(L' ') + 1);
    if (base.size() < 3 || base.size() > 4) return false;
    for (wchar_t& c : base) c = AsciiUpper(c);
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL") return true;
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           IsPortDigit(base[3]);
}
