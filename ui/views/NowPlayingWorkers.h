#pragma once
#include "app/AppSettings.h"
#include "app/Placeholders.h"
#include "framework/WinThread.h"
#include "ui/views/NowPlayingData.h"
#include <windows.h>
#include <memory>

struct sqlite3;
namespace Gdiplus { class Image; }

// A decoded cover picture handed to the cover window with "MSG_ImageLayout".
struct CoverImageHolder {
    explicit CoverImageHolder(Gdiplus::Image* picture) : image(picture) {}
    ~CoverImageHolder();
    CoverImageHolder(const CoverImageHolder&) = delete;
    CoverImageHolder& operator=(const CoverImageHolder&) = delete;
    Gdiplus::Image* image;
};

// The picture that the jacket button shows; used under NowPlayingLock.
class IJacketBackBuffer {
public:
    virtual ~IJacketBackBuffer() = default;
    // Null while there is no buffer.
    virtual HDC BackBufferDC() = 0;
    virtual SIZE BackBufferSize() = 0;
};

// Draws `image` into `target` of `dc`: at its own size and centred when it fits and zoom is
// off, else scaled to fit with its aspect ratio.
void DrawImageFit(HDC dc, const RECT& target, Gdiplus::Image* image, bool zoom, int interpolation);

// Where the workers deliver their results.
struct NowPlayingTargets {
    HWND pane = nullptr;          // gets "MsgDlgInfoRefresh"
    HWND lyricsWindow = nullptr;  // gets "_LYRICS_SET_TEXT_"
    HWND coverWindow = nullptr;   // gets "MSG_ImageLayout"
};

// The three workers of the now-playing pane (cover image, lyrics, related albums). Each
// waits on its own work and quit events; a new track signals the three work events.
class CNowPlayingWorkers {
public:
    CNowPlayingWorkers(const CAppSettings& settings, NowPlayingData& data, IJacketBackBuffer& jacket,
                       sqlite3* database, const PlaceholderContext& context);
    // Ends the workers (waiting for each as long as it takes) before the events go.
    ~CNowPlayingWorkers();
    CNowPlayingWorkers(const CNowPlayingWorkers&) = delete;
    CNowPlayingWorkers& operator=(const CNowPlayingWorkers&) = delete;

    void SetTargets(const NowPlayingTargets& targets) { m_targets = targets; }
    bool Start(int jacketPriority, int lyricsPriority, int relatedPriority);
    // A new track: wakes the three workers.
    void SignalWork();
    // Sets the quit events and waits up to `ms` for all three together, then for each as
    // long as it takes, since they use this object. True when all ended in time.
    bool Stop(DWORD ms);

    static UINT JacketLoaderThread(void* self);
    static UINT LyricsLoaderThread(void* self);
    static UINT RelatedAlbumThread(void* self);

private:
    enum Worker { Jacket, Lyrics, Related, WorkerCount };
    enum WaitResult { Work, Quit, TimedOut };
    WaitResult Wait(Worker w, DWORD ms);
    void PostRefresh(WPARAM part);

    // One run of each; false when the thread is to end. `again` asks for an immediate run.
    bool RunJacket(bool& again);
    bool RunLyrics(bool& again);
    bool RunRelated(bool& again);
    void LoopOf(Worker w, bool (CNowPlayingWorkers::*run)(bool&));

    // The cover worker's two pictures, of the back buffer's size.
    struct Picture {
        HDC dc = nullptr;
        HBITMAP bitmap = nullptr;
        HGDIOBJ previous = nullptr;
        SIZE size{};
        void Create(HDC reference, SIZE s, COLORREF fill);
        void Fill(COLORREF color);
        void Destroy();
    };
    void SendImage(CoverImageHolder* holder, void* buffer);

    const CAppSettings& m_settings;
    NowPlayingData& m_data;
    IJacketBackBuffer& m_jacket;
    sqlite3* m_db;
    PlaceholderContext m_context;
    NowPlayingTargets m_targets;
    HANDLE m_work[WorkerCount];
    HANDLE m_quit[WorkerCount];
    std::unique_ptr<CWinThread> m_threads[WorkerCount];
    Picture m_old, m_new;
};
