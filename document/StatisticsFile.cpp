#include "document/StatisticsFile.h"
#include <windows.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>

namespace {

const UINT kAnsiCodePage = 932;

const wchar_t* const kHeader =
    L"# Format:\r\n"
    L"# ファイル名\\tTrackPeak\\t評価\\t再生回数\\t最後に再生した日時\r\n"
    L"# (\\t = タブ)\r\n";

bool FitsCodePage(const std::wstring& text) {
    if (text.empty()) return true;
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(kAnsiCodePage, WC_NO_BEST_FIT_CHARS, text.c_str(),
                                static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    return n > 0 && !usedDefault;
}

std::string Encode(const std::wstring& text, UINT codePage) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()),
                                nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n,
                            nullptr, nullptr);
    return out;
}

std::wstring Decode(const char* bytes, size_t size, UINT codePage) {
    if (size == 0) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
    std::wstring out(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), &out[0], n);
    return out;
}

// A decimal number; a text that is no number reads as 0, one out of range as the nearest int.
int Int(const std::wstring& text) { return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10)); }

}  // namespace

std::string FormatStatisticsFile(const std::vector<StatisticsLine>& lines, bool* utf8Out) {
    bool utf8 = false;
    for (const auto& line : lines) {
        if (!FitsCodePage(line.fileName)) {
            utf8 = true;
            break;
        }
    }
    std::wstring text = kHeader;
    wchar_t numbers[96];
    for (const auto& line : lines) {
        text += line.fileName;
        swprintf(numbers, 96, L"\t%d\t%d\t%d\t%llu\r\n", line.gain, line.rating, line.playcount,
                 static_cast<unsigned long long>(line.lastplayed));
        text += numbers;
    }
    if (utf8Out) *utf8Out = utf8;
    if (utf8) return "\xEF\xBB\xBF" + Encode(text, CP_UTF8);
    return Encode(text, kAnsiCodePage);
}

std::vector<StatisticsLine> ParseStatisticsFile(const std::string& bytes) {
    std::wstring text;
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text = Decode(bytes.data() + 3, bytes.size() - 3, CP_UTF8);
    else
        text = Decode(bytes.data(), bytes.size(), kAnsiCodePage);

    std::vector<StatisticsLine> result;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(L'\n', pos);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.empty() || line[0] == L'#') continue;

        std::vector<std::wstring> fields;
        size_t start = 0;
        for (;;) {
            size_t tab = line.find(L'\t', start);
            fields.push_back(line.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start));
            if (tab == std::wstring::npos) break;
            start = tab + 1;
        }
        if (fields.size() < 5) continue;
        StatisticsLine s;
        s.fileName = fields[0];
        s.gain = Int(fields[1]);
        // The values go in as the library keeps them: a rating of 0-50, no negative count or time.
        s.rating = std::min(std::max(Int(fields[2]), 0), 50);
        s.playcount = std::max(Int(fields[3]), 0);
        // Written unsigned; what reads back above the signed range was a negative time.
        const unsigned long long lastplayed = _wcstoui64(fields[4].c_str(), nullptr, 10);
        s.lastplayed = lastplayed > static_cast<unsigned long long>(INT64_MAX) ? 0 : static_cast<int64_t>(lastplayed);
        result.push_back(s);
    }
    return result;
}
