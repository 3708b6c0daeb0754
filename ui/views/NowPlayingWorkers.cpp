#include "ui/views/NowPlayingWorkers.h"
#include "app/Placeholders.h"
#include "tags/EmbeddedCoverArt.h"
#include "ui/views/CoverPicture.h"
#include "ui/views/RelatedAlbumsQuery.h"
#include <gdiplus.h>
#include <sqlite3.h>

CoverImageHolder::~CoverImageHolder() { delete image; }

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

// ---- life ------------------------------------------------------------------------------

CNowPlayingWorkers::CNowPlayingWorkers(const CAppSettings& settings, NowPlayingData& data, IJacketBackBuffer& jacket,
                                       sqlite3* database, const PlaceholderContext& context)
    : m_settings(settings), m_data(data), m_jacket(jacket), m_db(database), m_context(context) {
    for (int i = 0; i < WorkerCount; ++i) {
        m_work[i] = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
        m_quit[i] = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
}

CNowPlayingWorkers::~CNowPlayingWorkers() {
    Stop(500);
    for (int i = 0; i < WorkerCount; ++i) {
        ::CloseHandle(m_work[i]);
        ::CloseHandle(m_quit[i]);
    }
    m_old.Destroy();
    m_new.Destroy();
}

bool CNowPlayingWorkers::Start(int jacketPriority, int lyricsPriority, int relatedPriority) {
    static const AFX_THREADPROC procs[WorkerCount] = {&JacketLoaderThread, &LyricsLoaderThread, &RelatedAlbumThread};
    const int priorities[WorkerCount] = {jacketPriority, lyricsPriority, relatedPriority};
    bool all = true;
    for (int i = 0; i < WorkerCount; ++i) {
        if (m_threads[i]) continue;
        ::ResetEvent(m_quit[i]);
        m_threads[i].reset(new CWinThread(procs[i], this));
        if (!m_threads[i]->CreateThread(CREATE_SUSPENDED)) {
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

bool CNowPlayingWorkers::Stop(DWORD ms) {
    bool any = false;
    for (auto& t : m_threads) any = any || t;
    if (!any) return true;
    for (HANDLE e : m_quit) ::SetEvent(e);
    // All three within `ms` together; a late one is waited for as long as it takes, since it
    // still uses this object, the events and the lock.
    const DWORD start = ::GetTickCount();
    bool inTime = true;
    for (auto& t : m_threads) {
        if (!t) continue;
        const DWORD elapsed = ::GetTickCount() - start;
        if (!t->WaitForEnd(elapsed >= ms ? 0 : ms - elapsed)) inTime = false;
        t.reset();
    }
    return inTime;
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
    if (m_targets.pane) ::PostMessageW(m_targets.pane, MsgDlgInfoRefresh(), part, 0);
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

UINT CNowPlayingWorkers::JacketLoaderThread(void* self) {
    // GDI+ is started by the process; COM is needed for the picture streams.
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    static_cast<CNowPlayingWorkers*>(self)->LoopOf(Jacket, &CNowPlayingWorkers::RunJacket);
    ::CoUninitialize();
    return 0;
}

UINT CNowPlayingWorkers::LyricsLoaderThread(void* self) {
    static_cast<CNowPlayingWorkers*>(self)->LoopOf(Lyrics, &CNowPlayingWorkers::RunLyrics);
    return 0;
}

UINT CNowPlayingWorkers::RelatedAlbumThread(void* self) {
    static_cast<CNowPlayingWorkers*>(self)->LoopOf(Related, &CNowPlayingWorkers::RunRelated);
    return 0;
}

// ---- cover -----------------------------------------------------------------------------

void CNowPlayingWorkers::SendImage(CoverImageHolder* holder, void* buffer) {
    auto* picture = static_cast<tagReader::CoverImageBuffer*>(buffer);
    LRESULT taken = 0;
    HWND cover = m_targets.coverWindow;
    if (cover && ::IsWindow(cover))
        taken = ::SendMessageW(cover, MsgImageLayout(), reinterpret_cast<WPARAM>(holder), reinterpret_cast<LPARAM>(picture));
    if (!taken) {   // nobody took them: the image first, since it reads the buffer's stream
        delete holder;
        delete picture;
    }
}

bool CNowPlayingWorkers::RunJacket(bool& again) {
    COLORREF background;
    DWORD fadeWait;
    bool zoom;
    int interpolation;
    std::vector<tagReader::SearchPatternEntry> patterns;
    TrackRecord track;
    SIZE size{};
    {
        NowPlayingLockGuard lock;
        background = m_settings.informationView.colorImageBackground;
        fadeWait = static_cast<DWORD>(m_settings.informationView.imageFadeWait > 0 ? m_settings.informationView.imageFadeWait : 0);
        patterns = m_data.picturePatterns;
        track = m_data.track;
        zoom = m_settings.informationView.imageZoom;
        interpolation = m_settings.generic.imageInterpolationMode;
        HDC back = m_jacket.BackBufferDC();
        size = m_jacket.BackBufferSize();
        if (back && (size.cx != m_old.size.cx || size.cy != m_old.size.cy || !m_old.dc)) {
            m_old.Create(back, size, background);
            m_new.Create(back, size, background);
        }
    }
    const RECT whole{0, 0, m_new.size.cx, m_new.size.cy};

    bool made = false;
    int kind = 0;
    if (!track.file_name.empty() && !track.tagAPIC.empty() && tagReader::CoverArtKindForTagType(track.infoTagtype, kind)) {
        auto* buffer = new tagReader::CoverImageBuffer;
        Gdiplus::Image* image = nullptr;
        if (tagReader::LoadEmbeddedCoverArt(track.file_name, *buffer, kind) && buffer->stream) {
            image = Gdiplus::Image::FromStream(buffer->stream);
            if (image && (image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0)) {
                delete image;
                image = nullptr;
            }
        }
        if (image) {
            DrawImageFit(m_new.dc, whole, image, zoom, interpolation);
            SendImage(new CoverImageHolder(image), buffer);
            made = true;
        } else {
            delete buffer;
        }
    }
    if (!made && !track.file_name.empty()) {
        std::vector<std::wstring> found;
        const int result = tagReader::FindCoverImageFile(track, m_context, patterns, found, m_work[Jacket], m_quit[Jacket]);
        if (result == tagReader::FileSearchCancelled) {
            again = true;
            return true;
        }
        if (result == tagReader::FileSearchStopped) return false;
        if (!found.empty()) {
            Gdiplus::Image* image = Gdiplus::Image::FromFile(found.front().c_str());
            if (image && image->GetLastStatus() == Gdiplus::Ok && image->GetWidth() > 0) {
                DrawImageFit(m_new.dc, whole, image, zoom, interpolation);
                SendImage(new CoverImageHolder(image), nullptr);
                made = true;
            } else {
                delete image;
            }
        }
    }
    if (!made) {
        m_new.Fill(background);
        SendImage(nullptr, nullptr);
    }

    for (int step = 0; step < CoverFadeStepCount; ++step) {
        {
            NowPlayingLockGuard lock;
            HDC back = m_jacket.BackBufferDC();
            const SIZE now = m_jacket.BackBufferSize();
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
                HDC back = m_jacket.BackBufferDC();
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
    {
        NowPlayingLockGuard lock;
        patterns = m_data.lyricsPatterns;
        track = m_data.track;
    }
    auto clear = [&] {
        {
            NowPlayingLockGuard lock;
            if (!IsSameTrack(m_data.track, track)) return;
            m_data.lyricsText.clear();
            m_data.lyricsLines.clear();
        }
        PostLyricsText(m_targets.lyricsWindow, nullptr);
    };
    std::vector<std::wstring> found;
    int result = tagReader::FileSearchNotFound;
    if (track.statDuration != 0 && !track.file_name.empty())
        result = tagReader::FindLyricsFile(track, m_context, patterns, found, m_work[Lyrics], m_quit[Lyrics]);
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
        PostLyricsText(m_targets.lyricsWindow, nullptr);
        return true;
    }
    {
        NowPlayingLockGuard lock;
        // A run for a track that is no longer playing leaves the pane alone.
        if (!IsSameTrack(m_data.track, track)) return true;
        m_data.lyricsText = text;
        m_data.lyricsLines = lines;
    }
    PostLyricsText(m_targets.lyricsWindow, &text);
    PostRefresh(2);
    return true;
}

// ---- related albums --------------------------------------------------------------------

bool CNowPlayingWorkers::RunRelated(bool& again) {
    TrackRecord track;
    std::wstring sql;
    {
        NowPlayingLockGuard lock;
        track = m_data.track;
        sql = m_settings.informationView.relatedAlbumSql;
    }
    ExpandTrackPlaceholders(track, sql, true, false, m_context);
    if (track.tagArtist.empty() || !m_db) return true;

    std::vector<std::wstring> albums;
    CRelatedAlbumsStatement statement(m_db);
    const RelatedRunOutcome outcome = RunRelatedAlbumsQuery(
        statement, sql, m_settings.sqlite.busyTimeout, m_settings.sqlite.busyRetry,
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
        if (!IsSameTrack(m_data.track, track)) return true;
        m_data.relatedAlbums = albums;
    }
    PostRefresh(0);
    return true;
}
