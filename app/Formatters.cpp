#include "app/Formatters.h"
#include <windows.h>
#include <shlwapi.h>
#include <cwchar>
#include <vector>

void FormatNumberGrouped(std::wstring& out, unsigned long long value) {
    wchar_t digits[32];
    swprintf(digits, 32, L"%I64u", value);
    std::wstring text = digits;
    for (int pos = static_cast<int>(text.size()) - 3; pos > 0; pos -= 3) text.insert(pos, 1, L',');
    out = text;
}

bool FormatByteSizeShell(std::wstring& out, long long bytes) {
    wchar_t text[260];
    if (!StrFormatByteSizeW(bytes, text, 260)) return false;
    out = text;
    return true;
}

bool FormatByteSize(std::wstring& out, long long bytes, bool exact) {
    std::wstring shortText;
    if (!FormatByteSizeShell(shortText, bytes)) return false;
    if (exact) {
        std::wstring grouped;
        FormatNumberGrouped(grouped, static_cast<unsigned long long>(bytes));
        out = shortText + L" (" + grouped + L" バイト)";
    } else {
        out = shortText;
    }
    return true;
}

namespace {

// Seconds as whole days and the hours, minutes and seconds within them, formatted with the
// first of four patterns that applies: with days, with hours, with minutes, seconds only.
void FormatDayClock(std::wstring& out, long long seconds, const wchar_t* withDays,
                    const wchar_t* withHours, const wchar_t* withMinutes, const wchar_t* secondsOnly) {
    const long long days = seconds / 86400;
    const int h = static_cast<int>(seconds / 3600 % 24);
    const int m = static_cast<int>(seconds / 60 % 60);
    const int s = static_cast<int>(seconds % 60);
    wchar_t text[64];
    if (days >= 1)
        swprintf(text, 64, withDays, days, h, m, s);
    else if (seconds >= 3600)
        swprintf(text, 64, withHours, h, m, s);
    else if (seconds >= 60)
        swprintf(text, 64, withMinutes, m, s);
    else
        swprintf(text, 64, secondsOnly, s);
    out = text;
}

}  // namespace

void FormatDuration(std::wstring& out, long long seconds) {
    FormatDayClock(out, seconds, L"%I64d日%02d時間%02d分%02d秒", L"%02d時間%02d分%02d秒", L"%02d分%02d秒", L"%02d秒");
}

void FormatTimeSpan(std::wstring& out, long long seconds) {
    FormatDayClock(out, seconds, L"%I64d/%02d:%02d:%02d", L"%02d:%02d:%02d", L"%02d:%02d", L"00:%02d");
}

void FormatChannels(std::wstring& out, int channels) {
    switch (channels) {
    case 0: out = L"--"; break;
    case 1: out = L"MONO"; break;
    case 2: out = L"STEREO"; break;
    default: out = std::to_wstring(channels); break;
    }
}

bool IsKnownTimeFormat(const std::wstring& format) {
    static const wchar_t kConversions[] = L"aAbBcdHIjmMpSUwWxXyYzZ%";
    for (const wchar_t* p = format.c_str(); *p; ++p) {
        if (*p != L'%') continue;
        if (*++p == L'#') ++p;
        if (!*p || !std::wcschr(kConversions, *p)) return false;
    }
    return true;
}

// Each conversion goes to the run-time on its own and the text between them is copied as it
// stands: Wine's run-time gives nothing for a conversion followed by a Japanese character
// ("%Y年"), so the whole preset formats would show empty there.
std::wstring FormatTimeChecked(const std::wstring& format, const std::tm& time, size_t maxChars) {
    if (format.empty() || !IsKnownTimeFormat(format)) return std::wstring();
    std::wstring out;
    wchar_t piece[128];
    for (const wchar_t* p = format.c_str(); *p && out.size() <= maxChars; ++p) {
        if (*p != L'%') {
            out += *p;
            continue;
        }
        const wchar_t* start = p;
        if (*++p == L'#') ++p;
        const std::wstring conversion(start, p + 1);
        const size_t n = std::wcsftime(piece, 128, conversion.c_str(), &time);
        if (n >= 128) return std::wstring();
        out.append(piece, n);
    }
    return out.size() <= maxChars ? out : std::wstring();
}
