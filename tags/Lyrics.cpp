#include "tags/Lyrics.h"
#include "app/TextFile.h"
#include <cwchar>

namespace tagReader {

namespace {

// Decimal value of a text: leading blanks and a sign allowed, stops at the first non-digit.
long DecimalValue(const std::wstring& text) { return std::wcstol(text.c_str(), nullptr, 10); }

// The text without each "[" ... "]" group, taken from left to right (a "[" without a "]"
// after it and what follows stay), in one pass.
std::wstring WithoutBracketedGroups(const std::wstring& text) {
    std::wstring kept;
    size_t from = 0;
    for (;;) {
        const size_t open = text.find(L'[', from);
        const size_t close = open == std::wstring::npos ? open : text.find(L']', open + 1);
        if (close == std::wstring::npos) break;
        kept.append(text, from, open - from);
        from = close + 1;
    }
    kept.append(text, from, std::wstring::npos);
    return kept;
}

}  // namespace

bool FindTimeTag(const std::wstring& text, size_t& index) {
    if (text.size() <= 2) return false;
    size_t open = text.find(L'[');
    if (open == std::wstring::npos) return false;
    size_t close = text.find(L']', open + 1);
    if (close == std::wstring::npos) return false;
    index = close;
    return true;
}

bool ParseLyricsLine(TimedLyricLine& line) {
    size_t close = 0;
    if (!FindTimeTag(line.text, close)) return false;
    // A line is expected to begin with its tag.
    std::wstring tag = close > 1 ? line.text.substr(1, close - 1) : std::wstring();
    std::wstring rest = line.text.substr(close + 1);

    size_t colon = tag.find(L':');
    if (tag.empty() || colon == std::wstring::npos) return false;
    long minutes = DecimalValue(tag.substr(0, colon));
    std::wstring after = tag.substr(colon + 1);

    colon = after.find(L':');
    if (after.empty() || colon == std::wstring::npos) return false;
    size_t width = colon;
    long secs = DecimalValue(after.substr(0, width));
    after = after.substr(colon + 1);
    // The hundredths take as many characters as the seconds field had.
    long hundredths = after.empty() ? 0 : DecimalValue(after.substr(0, width));

    // A time before the start is no time.
    if (minutes < 0 || secs < 0 || hundredths < 0) return false;

    line.text = WithoutBracketedGroups(rest);

    float minutePart = static_cast<float>(minutes * 60.0);
    float hundredthPart = static_cast<float>(hundredths / 100.0);
    line.seconds = minutePart + static_cast<float>(secs) + hundredthPart;
    return true;
}

bool LoadLyrics(std::deque<TimedLyricLine>& lines, const std::wstring& path, std::wstring& text, int trackSeconds) {
    if (trackSeconds == 0) return false;
    TextFileLines file;
    if (!LoadTextFile(file, path)) return false;
    lines.clear();

    bool tagged = false;
    for (const std::wstring& raw : file.lines) {
        TimedLyricLine line;
        line.text = raw.substr(0, raw.find_first_of(L"\r\n"));
        size_t index;
        if (!tagged && FindTimeTag(line.text, index)) tagged = true;
        lines.push_back(line);
    }

    if (tagged) {
        std::deque<TimedLyricLine> timed;
        for (TimedLyricLine& line : lines) {
            std::wstring original = line.text;
            if (ParseLyricsLine(line)) {
                text += line.text + L"\r\n";
                timed.push_back(line);
            } else {
                text += original + L"\r\n";
            }
        }
        lines.swap(timed);
    } else {
        // Plain lyrics carry no times: the lyrics window gets no timed lines for them.
        for (const TimedLyricLine& line : lines) text += line.text + L"\r\n";
        lines.clear();
    }
    return true;
}

}  // namespace tagReader
