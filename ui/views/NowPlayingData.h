#pragma once
#include "app/TrackRecord.h"
#include "document/PlayerStatus.h"
#include "tags/Lyrics.h"
#include "tags/SearchPatterns.h"
#include <windows.h>
#include <deque>
#include <string>
#include <vector>

// The process-wide lock of the now-playing pane. It lives as long as the process, so that
// no thread that still uses it can outlive it.
CRITICAL_SECTION* NowPlayingLock();

class NowPlayingLockGuard {
public:
    NowPlayingLockGuard() { ::EnterCriticalSection(NowPlayingLock()); }
    ~NowPlayingLockGuard() { ::LeaveCriticalSection(NowPlayingLock()); }
    NowPlayingLockGuard(const NowPlayingLockGuard&) = delete;
    NowPlayingLockGuard& operator=(const NowPlayingLockGuard&) = delete;
};

// What the pane shares with its workers and listeners, all under NowPlayingLock.
struct NowPlayingData {
    TrackRecord track;                                // the now-playing copy
    PlayerStatusBlock status;                         // the last copied status
    std::wstring lyricsText;
    std::deque<tagReader::TimedLyricLine> lyricsLines;
    std::vector<std::wstring> relatedAlbums;
    std::vector<tagReader::SearchPatternEntry> picturePatterns;
    std::vector<tagReader::SearchPatternEntry> lyricsPatterns;
};

// True when both records are the same file of the library.
inline bool IsSameTrack(const TrackRecord& a, const TrackRecord& b) {
    return a.rowid == b.rowid && a.file_name == b.file_name;
}

// The registered messages between the pane and its windows.
UINT MsgDlgInfoRefresh();    // posted to the pane: wParam 0 all, 1 jacket, 2 lyrics strip
UINT MsgLyricsSetText();     // posted to the lyrics window: wParam a new[]'d text or 0
UINT MsgImageLayout();       // sent to the cover window: wParam CoverImageHolder*, lParam CoverImageBuffer*

// Hands a heap copy of `text` (or 0 for none) to the lyrics window; the copy is freed here
// when it cannot be posted.
void PostLyricsText(HWND lyricsWindow, const std::wstring* text);
