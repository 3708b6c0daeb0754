#pragma once
#include "app/AppSettings.h"
#include "app/Placeholders.h"
#include "framework/WinThread.h"
#include "ui/views/NowPlayingData.h"
#include <windows.h>
#include <memory>
#include <string>

struct sqlite3;
namespace Gdiplus { class Image; }

// A decoded cover picture handed to the cover window with "MSG_ImageLayout", with the
// stream of the file it reads from, if any (released after the image).
struct CoverImageHolder {
    explicit CoverImageHolder(Gdiplus::Image* picture, IStream* file = nullptr) : image(picture), source(file) {}
    ~CoverImageHolder();
    CoverImageHolder(const CoverImageHolder&) = delete;
    CoverImageHolder& operator=(const CoverImageHolder&) = delete;
    Gdiplus::Image* image;
    IStream* source;
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

// What the workers read of the settings: a copy, replaced when the settings change, so that
// every run uses the current values and a worker never reads the live record.
struct NowPlayingWorkerSettings {
    COLORREF imageBackground = 0;
    int imageFadeWait = 0;        // ms
    bool imageZoom = false;
    int interpolation = 7;
    std::wstring relatedAlbumSql;
    int busyTimeout = 500;
    int busyRetry = 3;
    PlaceholderContext context;   // the date format and rating marks of the expansions
};
NowPlayingWorkerSettings MakeNowPlayingWorkerSettings(const CAppSettings& settings, const std::wstring& programFolder);

// The three workers of the now-playing pane (cover image, lyrics, related albums). Each
// waits on its own work and quit events; a new track signals the three work events.
//
// Each running thread holds a reference to this object and to the pane's data, so a thread
// that cannot be stopped in time (a file read on a share that does not answer) is left to
// the end of the process with nothing freed under it. The pane detaches itself before it
// goes: from then on no worker touches the pane's jacket or posts to its windows.
class CNowPlayingWorkers : public std::enable_shared_from_this<CNowPlayingWorkers> {
public:
    // `database` is the document's connection, on which the related-albums statements run.
    CNowPlayingWorkers(const NowPlayingWorkerSettings& settings, std::shared_ptr<NowPlayingData> data,
                       IJacketBackBuffer* jacket, sqlite3* database);
    // Waits for nothing: a thread still running holds its own reference.
    ~CNowPlayingWorkers();
    CNowPlayingWorkers(const CNowPlayingWorkers&) = delete;
    CNowPlayingWorkers& operator=(const CNowPlayingWorkers&) = delete;

    void SetTargets(const NowPlayingTargets& targets);
    // The settings for the next runs.
    void SetSettings(const NowPlayingWorkerSettings& settings);
    // The object must be owned by a shared_ptr.
    bool Start(int jacketPriority, int lyricsPriority, int relatedPriority);
    // A new track: wakes the three workers.
    void SignalWork();
    // Wakes the cover worker alone (the jacket's background colour changed).
    void SignalCoverWork();
    // Sets the quit events and waits up to `ms` for all three together, interrupting the
    // related-albums statement meanwhile. True when all ended; a thread that did not is
    // left running on its own reference.
    bool Stop(DWORD ms);
    // The pane is going: no jacket, no targets and no new statement from now on.
    void Detach();

    static UINT JacketLoaderThread(void* self);
    static UINT LyricsLoaderThread(void* self);
    static UINT RelatedAlbumThread(void* self);

private:
    enum Worker { Jacket, Lyrics, Related, WorkerCount };
    enum WaitResult { Work, Quit, TimedOut };
    WaitResult Wait(Worker w, DWORD ms);
    void PostRefresh(WPARAM part);
    NowPlayingTargets Targets();
    // Runs the loop of worker `w` on the reference handed to its thread.
    static UINT RunThread(void* holder, Worker w);

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
    void SendImage(HWND cover, CoverImageHolder* holder, void* buffer);

    // Guarded by NowPlayingLock: the settings, the targets, the jacket and the detached flag.
    NowPlayingWorkerSettings m_settings;
    NowPlayingTargets m_targets;
    IJacketBackBuffer* m_jacket;
    bool m_detached = false;

    const std::shared_ptr<NowPlayingData> m_data;
    sqlite3* const m_db;
    HANDLE m_work[WorkerCount];
    HANDLE m_quit[WorkerCount];
    std::unique_ptr<CWinThread> m_threads[WorkerCount];
    Picture m_old, m_new;
    COLORREF m_pictureBackground = 0;   // what the two pictures were made with
};
