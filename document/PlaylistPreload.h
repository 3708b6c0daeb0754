#pragma once
#include "document/PlaylistCache.h"
#include "document/PlaylistLoader.h"
#include "framework/BusyWait.h"
#include <windows.h>
#include <functional>
#include <memory>
#include <string>

// The play list restored at start, read on a thread and a read-only connection of its own
// while the main window is being built. The first reload takes its rows only when nothing
// was committed to the library since they were read; otherwise it reads them itself, so
// the preload never changes what the play list shows, only when.
class CPlaylistPreload {
public:
    CPlaylistPreload() = default;
    ~CPlaylistPreload();
    CPlaylistPreload(const CPlaylistPreload&) = delete;
    CPlaylistPreload& operator=(const CPlaylistPreload&) = delete;

    // Starts reading `playlist` from the library file at `path`, which is not created when
    // missing, with "PRAGMA temp_store" set to `tempStore` (empty: SQLite's own). Once: false
    // when it cannot start or has started before.
    bool Start(const std::wstring& path, const std::wstring& tempStore = std::wstring());
    // Waits for the reading as a busy wait (WaitWhileBusy: Escape or a close stop it, `slow`
    // says when it takes long), then moves its rows (in query order, no current row) into
    // `cache` and their totals into `summary`. True only when they were read whole from
    // `path` and are still current; `waited` tells whether the wait was stopped. Once: later
    // calls, and a call made while another waits, return false and leave `cache` alone.
    bool Take(const std::wstring& path, PlaylistCache& cache, PlaylistSummary& summary,
              const std::function<void(bool slow)>& slow = nullptr, BusyWaitResult* waited = nullptr);
    // For a connection that meets the file locked by the reading, from any thread: the
    // reading stops and is not taken. True while it still holds the file, so that the
    // caller waits for it to let go.
    bool GiveWay();
    // Stops the reading and waits for its thread at most `ms`; a thread that does not end
    // by then finishes alone.
    void Stop(DWORD ms = 2000);
    // True while the reading thread runs.
    bool IsReading() const;
    // The reading connection's "PRAGMA temp_store" as it read it back (0 default, 1 file,
    // 2 memory), -1 before it has.
    int TempStore() const;

private:
    struct Shared;
    static DWORD WINAPI ThreadProc(void* shared);

    std::shared_ptr<Shared> m_shared;
    HANDLE m_thread = nullptr;
    bool m_taking = false;
};
