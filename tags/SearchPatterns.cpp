#include "tags/SearchPatterns.h"
#include "app/PathParts.h"
#include <cwchar>

namespace tagReader {

bool SplitPatternList(const std::wstring& text, std::vector<SearchPatternEntry>& list) {
    list.clear();
    size_t start = 0;
    for (;;) {
        size_t semicolon = text.find(L';', start);
        if (semicolon == std::wstring::npos) break;
        list.push_back({text.substr(start, semicolon - start), true});
        start = semicolon + 1;
    }
    if (start < text.size()) list.push_back({text.substr(start), true});
    return true;
}

namespace {

// The folder part of a find pattern, with its trailing separator.
std::wstring PatternFolder(const std::wstring& pattern) {
    size_t pos = pattern.find_last_of(L"\\/:");
    return pos == std::wstring::npos ? std::wstring() : pattern.substr(0, pos + 1);
}

bool HasExtension(const std::wstring& path, const std::vector<std::wstring>& extensions) {
    PathParts parts;
    if (!SplitPath(parts, path)) return false;
    for (const std::wstring& ext : extensions)
        if (_wcsicmp(parts.ext.c_str(), ext.c_str()) == 0) return true;
    return false;
}

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : m_handle(h) {}
    ~FindHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) FindClose(m_handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

}  // namespace

int FindFileByPatterns(const PatternExpander& expand, const std::vector<SearchPatternEntry>& patterns,
                       const std::vector<std::wstring>& extensions, bool skipHiddenOnWildcard,
                       std::vector<std::wstring>& found, HANDLE cancelEvent, HANDLE stopEvent) {
    found.clear();
    for (const SearchPatternEntry& entry : patterns) {
        if (!entry.enabled) continue;
        std::wstring pattern = expand ? expand(entry.pattern) : entry.pattern;
        if (pattern.empty()) continue;
        bool wildcard = pattern.find(L'*') != std::wstring::npos;
        std::wstring folder = PatternFolder(pattern);

        WIN32_FIND_DATAW data;
        FindHandle find(FindFirstFileW(pattern.c_str(), &data));
        if (find.get() == INVALID_HANDLE_VALUE) continue;
        do {
            if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
            if (skipHiddenOnWildcard && wildcard && (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
            std::wstring path = folder + data.cFileName;
            if (HasExtension(path, extensions)) {
                found.push_back(path);
                return FileSearchFound;
            }
            HANDLE events[2] = {cancelEvent, stopEvent};
            DWORD r = WaitForMultipleObjects(2, events, FALSE, 1);
            if (r == WAIT_OBJECT_0) return FileSearchCancelled;
            if (r != WAIT_TIMEOUT) return FileSearchStopped;
        } while (FindNextFileW(find.get(), &data));
    }
    return FileSearchNotFound;
}

int FindCoverImageFileWith(const PatternExpander& expand, const std::vector<SearchPatternEntry>& patterns,
                           std::vector<std::wstring>& found, HANDLE cancelEvent, HANDLE stopEvent) {
    static const std::vector<std::wstring> kImages = {L".JPG", L".BMP", L".PNG", L".GIF"};
    return FindFileByPatterns(expand, patterns, kImages, true, found, cancelEvent, stopEvent);
}

int FindLyricsFileWith(const PatternExpander& expand, const std::vector<SearchPatternEntry>& patterns,
                       std::vector<std::wstring>& found, HANDLE cancelEvent, HANDLE stopEvent) {
    static const std::vector<std::wstring> kLyrics = {L".TXT", L".LRC"};
    return FindFileByPatterns(expand, patterns, kLyrics, false, found, cancelEvent, stopEvent);
}

namespace {

PatternExpander TrackExpander(const TrackRecord& track, const PlaceholderContext& context) {
    return [&track, &context](const std::wstring& pattern) {
        std::wstring text = pattern;
        ExpandTrackPlaceholders(track, text, false, false, context);
        return text;
    };
}

}  // namespace

int FindCoverImageFile(const TrackRecord& track, const PlaceholderContext& context,
                       const std::vector<SearchPatternEntry>& patterns, std::vector<std::wstring>& found,
                       HANDLE cancelEvent, HANDLE stopEvent) {
    return FindCoverImageFileWith(TrackExpander(track, context), patterns, found, cancelEvent, stopEvent);
}

int FindLyricsFile(const TrackRecord& track, const PlaceholderContext& context,
                   const std::vector<SearchPatternEntry>& patterns, std::vector<std::wstring>& found,
                   HANDLE cancelEvent, HANDLE stopEvent) {
    return FindLyricsFileWith(TrackExpander(track, context), patterns, found, cancelEvent, stopEvent);
}

}  // namespace tagReader
