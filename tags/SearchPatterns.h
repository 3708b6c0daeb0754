#pragma once
#include "app/Placeholders.h"
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace tagReader {

// One search pattern of the cover or lyrics search, with placeholders.
struct SearchPatternEntry {
    std::wstring pattern;
    bool enabled = true;
};

// Results of a file search.
enum FileSearchResult {
    FileSearchNotFound = 0,
    FileSearchFound = 1,
    FileSearchCancelled = 2,   // the first event was set
    FileSearchStopped = 3,     // the second event was set, or waiting failed
};

// Splits at each ";": the pieces before each ";" (empty ones too), then the rest when it is
// not empty. Always true.
bool SplitPatternList(const std::wstring& text, std::vector<SearchPatternEntry>& list);

// Fills the placeholders of a pattern for the track being searched for.
typedef std::function<std::wstring(const std::wstring& pattern)> PatternExpander;

// Tries the enabled patterns in order and appends the first file whose extension is one of
// `extensions` (with the dot, any case) to `found`. After each other match it waits 1 ms on
// the two events, so that a search can be ended. With skipHiddenOnWildcard, hidden files
// are skipped for patterns holding "*".
int FindFileByPatterns(const PatternExpander& expand, const std::vector<SearchPatternEntry>& patterns,
                       const std::vector<std::wstring>& extensions, bool skipHiddenOnWildcard,
                       std::vector<std::wstring>& found, HANDLE cancelEvent, HANDLE stopEvent);

// Cover image files: ".jpg", ".bmp", ".png", ".gif"; hidden files only when named exactly.
int FindCoverImageFileWith(const PatternExpander& expand, const std::vector<SearchPatternEntry>& patterns,
                           std::vector<std::wstring>& found, HANDLE cancelEvent, HANDLE stopEvent);
// Lyrics files: ".txt", ".lrc".
int FindLyricsFileWith(const PatternExpander& expand, const std::vector<SearchPatternEntry>& patterns,
                       std::vector<std::wstring>& found, HANDLE cancelEvent, HANDLE stopEvent);

// The searches for one track: each pattern's placeholders are filled from the track
// (no escaping, no trimming).
int FindCoverImageFile(const TrackRecord& track, const PlaceholderContext& context,
                       const std::vector<SearchPatternEntry>& patterns, std::vector<std::wstring>& found,
                       HANDLE cancelEvent, HANDLE stopEvent);
int FindLyricsFile(const TrackRecord& track, const PlaceholderContext& context,
                   const std::vector<SearchPatternEntry>& patterns, std::vector<std::wstring>& found,
                   HANDLE cancelEvent, HANDLE stopEvent);

}  // namespace tagReader
