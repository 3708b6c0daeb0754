#include "ui/views/NowPlayingWorkers.h"
#include "app/Placeholders.h"
#include "tags/EmbeddedCoverArt.h"
#include "tags/PictureSize.h"
#include "ui/views/CoverPicture.h"
#include "ui/views/RelatedAlbumsQuery.h"
#include "framework/SentMessageWait.h"
#include <gdiplus.h>
#include <shlwapi.h>
#include <sqlite3.h>
#include <algorithm>

CoverImageHolder::~CoverImageHolder() {
    delete image;
    if (source) source->Release();
}

namespace {

// The picture at the start of `stream`, or null when GDI+ cannot read it or its header gives
// no size or one too large to decode (read first: GDI+ may decode the whole picture at once).
Gdiplus::Image* LoadCoverImage(IStream* stream) {
    tagReader::PictureSize size;
    if (!tagReader::ReadPictureSize(stream, size) || !IsCoverSizeDecodable(size)) return nullptr;
    Gdiplus::Image* image = Gdiplus::Image::FromStream(stream);
    if (image && (image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0)) {
        delete image;
        image = nullptr;
    }
    return image;
}

// The same for a cover file, kept open through `stream` with nobody writing to it, so that
// what GDI+ reads later is what was measured.
Gdiplus::Image* LoadCoverImageFile(const std::wstring& path, IStream*& stream) {
    stream = nullptr;
    if (FAILED(::SHCreateStreamOnFileEx(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, FILE_ATTRIBUTE_NORMAL, FALSE,
                                        nullptr, &stream)))
        return nullptr;
    Gdiplus::Image* image = LoadCoverImage(stream);
    if (!image) {
        stream->Release();
        stream = nullptr;
    }
    return image;
}

}  // namespace

void DrawImageFit(HDC dc, const RECT& target, Gdiplus::Image* image, bool zoom, int interpolation) {
    if (!dc || !image) return;
    const RECT r = FitImageRect(target, static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()), zoom);
    Gdiplus::Graphics graphics(dc);
    graphics.SetInterpolationMode(static_cast<Gdiplus::InterpolationMode>(interpolation));
    graphics.DrawImage(image, Gdiplus::Rect(r.left, r.top, r.right - r.left, r.bottom - r.top));
}

// ---- pictures --------------------------------------------------------------------------

void CNowPlayingWorkers::Picture::Create(HDC reference, SIZE s, COLORREF fill) {
    Destroy();
    dc = ::CreateCompatibleDC(reference);
    bitmap = ::CreateCompatibleBitmap(reference, s.cx > 0 ? s.cx : 1, s.cy > 0 ? s.cy : 1);
    previous = ::SelectObject(dc, bitmap);
    size = s;
    Fill(fill);
}

void CNowPlayingWorkers::Picture::Fill(COLORREF color) {
    if (!dc) return;
    RECT r{0, 0, size.cx, size.cy};
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
}

void CNowPlayingWorkers::Picture::Destroy() {
    if (dc) {
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
    }
    if (bitmap) ::DeleteObject(bitmap);
    dc = nullptr;
    bitmap = nullptr;
    previous = nullptr;
    size = SIZE{};
}

// ---- settings --------------------------------------------------------------------------

NowPlayingWorkerSettings MakeNowPlayingWorkerSettings(const CAppSettings& settings, const std::wstring& programFolder) {
    NowPlayingWorkerSettings w;
    const auto& v = settings.informationView;
    w.imageBackground = v.colorImageBackground;
    w.imageFadeWait = v.imageFadeWait > 0 ? v.imageFadeWait : 0;
    w.imageZoom = v.imageZoom;
    w.interpolation = settings.generic.imageInterpolationMode;
    w.relatedAlbumSql = v.relatedAlbumSql;
    w.busyTimeout = settings.sqlite.busyTimeout;
    w.busyRetry = settings.sqlite.busyRetry;
    w.context = MakePlaceholderContext(settings, programFolder);
    return w;
}

// ---- life ------------------------------------------------------------------------------

CNowPlayingWorkers::CNowPlayingWorkers(const NowPlayingWorkerSettings& settings, std::shared_ptr<NowPlayingData> data,
                                       IJacketBackBuffer* jacket, sqlite3* database)
    : m_settings(settings), m_jacket(jacket), m_data(std::move(data)), m_db(database) {
    for (int i = 0; i < WorkerCount; ++i) {
        m_work[i] = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
        m_quit[i] = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
}

CNowPlayingWorkers::~CNowPlayingWorkers() {
    // The last reference goes when the pane has let go and every thread has ended, so
    // nothing waits here (this may run on a worker thread itself).
    for (int i = 0; i < WorkerCount; ++i) {
        ::CloseHandle(m_work[i]);
        ::CloseHandle(m_quit[i]);
    }
    m_old.Destroy();
    m_new.Destroy();
}

void CNowPlayingWorkers::SetTargets(const NowPlayingTargets& targets) {
    NowPlayingLockGuard lock;
    if (!m_detached) m_targets = targets;
}

void CNowPlayingWorkers::SetSettings(const NowPlayingWorkerSettings& settings) {
    NowPlayingLockGuard lock;
    m_settings = settings;
}

NowPlayingTargets CNowPlayingWorkers::Targets() {
    NowPlayingLockGuard lock;
    return m_targets;
}

void CNowPlayingWorkers::Detach() {
    NowPlayingLockGuard lock;
    m_detached = true;
    m_jacket = nullptr;
    m_targets = NowPlayingTargets();
}

bool CNowPlayingWorkers::Start(int jacketPriority, int lyricsPriority, int relatedPriority) {
    static const AFX_THREADPROC procs[WorkerCount] = {&JacketLoaderThread, &LyricsLoaderThread, &RelatedAlbumThread};
    const int priorities[WorkerCount] = {jacketPriority, lyricsPriority, relatedPriority};
    bool all = true;
    for (int i = 0; i < WorkerCount; ++i) {
        if (m_threads[i]) continue;
        ::ResetEvent(m_quit[i]);
        // The thread's own reference, taken over by the thread.
        auto* reference = new std::shared_ptr<CNowPlayingWorkers>(shared_from_this());
        m_threads[i].reset(new CWinThread(procs[i], reference));
        if (!m_threads[i]->CreateThread(CREATE_SUSPENDED)) {
            delete reference;
            m_threads[i].reset();
            all = false;
            continue;
        }
        if (priorities[i] != 0) m_threads[i]->SetThreadPriority(priorities[i]);
        m_threads[i]->ResumeThread();
    }
    return all;
}

void CNowPlayingWorkers::SignalWork() {
    for (HANDLE e : m_work) ::SetEvent(e);
}

void CNowPlayingWorkers::SignalCoverWork() { ::SetEvent(m_work[Jacket]); }

bool CNowPlayingWorkers::Stop(DWORD ms) {
    for (HANDLE e : m_quit) ::SetEvent(e);
    const DWORD start = ::GetTickCount();
    for (;;) {
        HANDLE running = nullptr;
        bool relatedRuns = false;
        for (int i = 0; i < WorkerCount; ++i) {
            if (!m_threads[i] || !m_threads[i]->IsRunning()) continue;
            if (!running) running = m_threads[i]->m_hThread;
            if (i == Related) relatedRuns = true;
        }
        if (!running) return true;
        // A slow "RelatedAlbum.SQL" ends at its next step. Interrupted on every round: an
        // interruption while no statement runs is dropped when the next one starts.
        if (relatedRuns && m_db) sqlite3_interrupt(m_db);
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms) return false;
        WaitAnsweringSentMessages(running, std::min<DWORD>(ms - elapsed, 20));
    }
}

CNowPlayingWorkers::WaitResult CNowPlayingWorkers::Wait(Worker w, DWORD ms) {
    HANDLE pair[2] = {m_work[w], m_quit[w]};
    switch (::WaitForMultipleObjects(2, pair, FALSE, ms)) {
    case WAIT_OBJECT_0: return Work;
    case WAIT_TIMEOUT: return TimedOut;
    default: return Quit;   // the quit event, or a wait that failed
    }
}

void CNowPlayingWorkers::PostRefresh(WPARAM part) {
    if (HWND pane = Targets().pane) ::PostMessageW(pane, MsgDlgInfoRefresh(), part, 0);
}

void CNowPlayingWorkers::LoopOf(Worker w, bool (CNowPlayingWorkers::*run)(bool&)) {
    for (;;) {
        if (Wait(w, INFINITE) != Work) return;
        bool again = true;
        while (again) {
            again = false;
            if (!(this->*run)(again)) return;
        }
    }
}

UINT CNowPlayingWorkers::RunThread(void* param, Worker w) {
    std::shared_ptr<CNowPlayingWorkers> self;
    {
        std::unique_ptr<std::shared_ptr<CNowPlayingWorkers>> reference(
            static_cast<std::shared_ptr<CNowPlayingWorkers>*>(param));
        if (reference) self = std::move(*reference);
    }
    if (!self) return 0;
    static bool (CNowPlayingWorkers::*const runs[WorkerCount])(bool&) = {
        &CNowPlayingWorkers::RunJacket, &CNowPlayingWorkers::RunLyrics, &CNowPlayingWorkers::RunRelated};
    self->LoopOf(w, runs[w]);
    return 0;   // the reference goes last: the object may end here, on this thread
}

UINT CNowPlayingWorkers::JacketLoaderThread(void* reference) {
    // GDI+ is started by the process; COM is needed for the picture streams.
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    RunThread(reference, Jacket);
    ::CoUninitialize();
    return 0;
}

UINT CNowPlayingWorkers::LyricsLoaderThread(void* reference) { return RunThread(reference, Lyrics); }

UINT CNowPlayingWorkers::RelatedAlbumThread(void* reference) { return RunThread(reference, Related); }

// ---- cover -----------------------------------------------------------------------------

void CNowPlayingWorkers::SendImage(HWND cover, CoverImageHolder* holder, void* buffer) {
    auto* picture = static_cast<tagReader::CoverImageBuffer*>(buffer);
    LRESULT taken = 0;
    if (cover && ::IsWindow(cover))
        taken = ::SendMessageW(cover, MsgImageLayout(), reinterpret_cast<WPARAM>(holder), reinterpret_cast<LPARAM>(picture));
    if (!taken) {   // nobody took them: the image first, since it reads the buffer's stream
        delete holder;
        delete picture;
    }
}

bool CNowPlayingWorkers::RunJacket(bool& again) {
    NowPlayingWorkerSettings settings;
    std::vector<tagReader::SearchPatternEntry> patterns;
    TrackRecord track;
    HWND cover;
    {
        NowPlayingLockGuard lock;
        if (m_detached) return false;
        settings = m_settings;
        cover = m_targets.coverWindow;
        patterns = m_data->picturePatterns;
        track = m_data->track;
        HDC back = m_jacket ? m_jacket->BackBufferDC() : nullptr;
        const SIZE size = m_jacket ? m_jacket->BackBufferSize() : SIZE{};
        // A new size or background colour: the button shows the plain background now.
        if (back && (size.cx != m_old.size.cx || size.cy != m_old.size.cy || !m_old.dc ||
                     settings.imageBackground != m_pictureBackground)) {
            m_old.Create(back, size, settings.imageBackground);
            m_new.Create(back, size, settings.imageBackground);
            m_pictureBackground = settings.imageBackground;
        }
    }
    const COLORREF background = settings.imageBackground;
    const DWORD fadeWait = static_cast<DWORD>(settings.imageFadeWait);
    const bool zoom = settings.imageZoom;
    const int interpolation = settings.interpolation;
    const RECT whole{0, 0, m_new.size.cx, m_new.size.cy};

    bool made = false;
    int kind = 0;
    if (!track.file_name.empty() && !track.tagAPIC.empty() && tagReader::CoverArtKindForTagType(track.infoTagtype, kind)) {
        auto* buffer = new tagReader::CoverImageBuffer;
        Gdiplus::Image* image = nullptr;
        if (tagReader::LoadEmbeddedCoverArt(track.file_name, *buffer, kind) && buffer->stream)
            image = LoadCoverImage(buffer->stream);
        if (image) {
            DrawImageFit(m_new.dc, whole, image, zoom, interpolation);
            SendImage(cover, new CoverImageHolder(image), buffer);
            made = true;
        } else {
            delete buffer;
        }
    }
    if (!made && !track.file_name.empty()) {
        std::vector<std::wstring> found;
        const int result = tagReader::FindCoverImageFile(track, settings.context, patterns, found, m_work[Jacket], m_quit[Jacket]);
        if (result == tagReader::FileSearchCancelled) {
            again = true;
            return true;
        }
        if (result == tagReader::FileSearchStopped) return false;
        if (!found.empty()) {
            IStream* source = nullptr;
            if (Gdiplus::Image* image = LoadCoverImageFile(found.front(), source)) {   // the holder takes both
                DrawImageFit(m_new.dc, whole, image, zoom, interpolation);
                SendImage(cover, new CoverImageHolder(image, source), nullptr);
                made = true;
            }
        }
    }
    if (!made) {
        m_new.Fill(background);
        SendImage(cover, nullptr, nullptr);
    }

    for (int step = 0; step < CoverFadeStepCount; ++step) {
        {
            NowPlayingLockGuard lock;
            HDC back = m_jacket ? m_jacket->BackBufferDC() : nullptr;
            const SIZE now = m_jacket ? m_jacket->BackBufferSize() : SIZE{};
            if (back && m_old.dc && now.cx == m_old.size.cx && now.cy == m_old.size.cy) {
                const CoverFadeAlphas alphas = CoverFadeStep(step);
                BLENDFUNCTION blend{AC_SRC_OVER, 0, alphas.oldPicture, 0};
                ::GdiAlphaBlend(back, 0, 0, now.cx, now.cy, m_old.dc, 0, 0, now.cx, now.cy, blend);
                blend.SourceConstantAlpha = alphas.newPicture;
                ::GdiAlphaBlend(back, 0, 0, now.cx, now.cy, m_new.dc, 0, 0, now.cx, now.cy, blend);
            }
        }
        PostRefresh(1);
        const WaitResult w = Wait(Jacket, fadeWait);
        if (w == Quit) return false;
        if (w == Work) {
            // The half-faded picture becomes the old one.
            {
                NowPlayingLockGuard lock;
                HDC back = m_jacket ? m_jacket->BackBufferDC() : nullptr;
                if (back && m_old.dc) ::BitBlt(m_old.dc, 0, 0, m_old.size.cx, m_old.size.cy, back, 0, 0, SRCCOPY);
            }
            m_new.Fill(background);
            again = true;
            return true;
        }
    }
    if (m_old.dc) ::BitBlt(m_old.dc, 0, 0, m_old.size.cx, m_old.size.cy, m_new.dc, 0, 0, SRCCOPY);
    m_new.Fill(background);
    return true;
}

// ---- lyrics ----------------------------------------------------------------------------

bool CNowPlayingWorkers::RunLyrics(bool& again) {
    std::vector<tagReader::SearchPatternEntry> patterns;
    TrackRecord track;
    PlaceholderContext context;
    {
        NowPlayingLockGuard lock;
        if (m_detached) return false;
        patterns = m_data->lyricsPatterns;
        track = m_data->track;
        context = m_settings.context;
    }
    auto clear = [&] {
        {
            NowPlayingLockGuard lock;
            if (!IsSameTrack(m_data->track, track)) return;
            m_data->lyricsText.clear();
            m_data->lyricsLines.clear();
        }
        PostLyricsText(Targets().lyricsWindow, nullptr);
    };
    std::vector<std::wstring> found;
    int result = tagReader::FileSearchNotFound;
    if (track.statDuration != 0 && !track.file_name.empty())
        result = tagReader::FindLyricsFile(track, context, patterns, found, m_work[Lyrics], m_quit[Lyrics]);
    if (result == tagReader::FileSearchCancelled) {
        again = true;
        return true;
    }
    if (result == tagReader::FileSearchStopped) return false;
    if (result == tagReader::FileSearchNotFound || found.empty()) {
        clear();
        return true;
    }
    std::deque<tagReader::TimedLyricLine> lines;
    std::wstring text;
    if (!tagReader::LoadLyrics(lines, found.front(), text, track.statDuration)) {
        PostLyricsText(Targets().lyricsWindow, nullptr);
        return true;
    }
    {
        NowPlayingLockGuard lock;
        // A run for a track that is no longer playing leaves the pane alone.
        if (!IsSameTrack(m_data->track, track)) return true;
        m_data->lyricsText = text;
        m_data->lyricsLines = lines;
    }
    PostLyricsText(Targets().lyricsWindow, &text);
    PostRefresh(2);
    return true;
}

// ---- related albums --------------------------------------------------------------------

bool CNowPlayingWorkers::RunRelated(bool& again) {
    TrackRecord track;
    NowPlayingWorkerSettings settings;
    {
        NowPlayingLockGuard lock;
        if (m_detached) return false;   // the document's connection may be closing
        track = m_data->track;
        settings = m_settings;
    }
    std::wstring sql = settings.relatedAlbumSql;
    ExpandTrackPlaceholders(track, sql, true, false, settings.context);
    if (track.tagArtist.empty() || !m_db) return true;

    std::vector<std::wstring> albums;
    CRelatedAlbumsStatement statement(m_db);
    const RelatedRunOutcome outcome = RunRelatedAlbumsQuery(
        statement, sql, settings.busyTimeout, settings.busyRetry,
        [this](DWORD ms) {
            switch (Wait(Related, ms)) {
            case Work: return RelatedWaitWork;
            case Quit: return RelatedWaitQuit;
            default: return RelatedWaitTimedOut;
            }
        },
        albums);
    switch (outcome) {
    case RelatedRunQuit: return false;
    case RelatedRunRestart: again = true; return true;
    case RelatedRunGaveUp: return true;
    case RelatedRunDone: break;
    }
    // The stored query compares the album with a GLOB-escaped text, which lets an album with
    // "[", "*" or "?" in its name through.
    DropNowPlayingAlbum(albums, track.tagAlbum);
    {
        NowPlayingLockGuard lock;
        if (!IsSameTrack(m_data->track, track)) return true;
        m_data->relatedAlbums = albums;
    }
    PostRefresh(0);
    return true;
}
