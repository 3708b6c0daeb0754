#pragma once
#include <deque>
#include <string>

namespace tagReader {

// One line of time-tagged lyrics: when it starts and its text without the tags.
struct TimedLyricLine {
    float seconds = 0.0f;
    std::wstring text;
};

// Loads a lyrics file: appends its display text (every line followed by CR LF) to `text`
// and replaces `lines` by its time-tagged lines, in file order. False when the track length
// is 0 or the file cannot be read.
bool LoadLyrics(std::deque<TimedLyricLine>& lines, const std::wstring& path, std::wstring& text, int trackSeconds);

// Parses "[minutes:seconds:hundredths]text" in place: sets the time and leaves the text.
bool ParseLyricsLine(TimedLyricLine& line);

// True when the text is longer than 2 characters and has a "]" after a "["; the index is
// that of the first "]" after the first "[".
bool FindTimeTag(const std::wstring& text, size_t& index);

}  // namespace tagReader
