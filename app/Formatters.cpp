#include "app/Formatters.h"
#include <windows.h>
#include <shlwapi.h>
#include <cwchar>

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

void FormatDuration(std::wstring& out, long long seconds) {
    long long days = seconds / 86400;
    int h = static_cast<int>(seconds / 3600 % 24);
    int m = static_cast<int>(seconds / 60 % 60);
    int s = static_cast<int>(seconds % 60);
    wchar_t text[64];
    if (days >= 1)
        swprintf(text, 64, L"%I64d日%02d時間%02d分%02d秒", days, h, m, s);
    else if (seconds >= 3600)
        swprintf(text, 64, L"%02d時間%02d分%02d秒", h, m, s);
    else if (seconds >= 60)
        swprintf(text, 64, L"%02d分%02d秒", m, s);
    else
        swprintf(text, 64, L"%02d秒", s);
    out = text;
}

void FormatTimeSpan(std::wstring& out, long long seconds) {
    long long days = seconds / 86400;
    int h = static_cast<int>(seconds / 3600 % 24);
    int m = static_cast<int>(seconds / 60 % 60);
    int s = static_cast<int>(seconds % 60);
    wchar_t text[64];
    if (days >= 1)
        swprintf(text, 64, L"%I64d/%02d:%02d:%02d", days, h, m, s);
    else if (seconds >= 3600)
        swprintf(text, 64, L"%02d:%02d:%02d", h, m, s);
    else if (seconds >= 60)
        swprintf(text, 64, L"%02d:%02d", m, s);
    else
        swprintf(text, 64, L"00:%02d", s);
    out = text;
}

void FormatChannels(std::wstring& out, int channels) {
    switch (channels) {
    case 0: out = L"--"; break;
    case 1: out = L"MONO"; break;
    case 2: out = L"STEREO"; break;
    default: out = std::to_wstring(channels); break;
    }
}
