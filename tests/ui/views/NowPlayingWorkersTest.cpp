#include "ui/views/NowPlayingWorkers.h"
#include "PlayerTestSupport.h"
#include "support/GdiplusSession.h"
#include "support/TestPictures.h"
#include "ui/views/CoverPicture.h"
#include "document/DocTestSupport.h"
#include "framework/SentMessageWait.h"
#include "tags/CoverImageBuffer.h"
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <atomic>
#include <functional>
#include <thread>

namespace {


// Stands in for the pane, the lyrics window and the cover window: records what arrives.
class Receiver : public CWnd {
public:
    LRESULT OnRefresh(WPARAM part, LPARAM) {
        refreshes.push_back(static_cast<int>(part));
        return 0;
    }
    LRESULT OnLyrics(WPARAM text, LPARAM) {
        auto* t = reinterpret_cast<wchar_t*>(text);
        lyrics.push_back(t ? std::wstring(t) : L"<none>");
        delete[] t;
        return 0;
    }
    LRESULT OnImage(WPARAM holder, LPARAM buffer) {
        auto* h = reinterpret_cast<CoverImageHolder*>(holder);
        auto* b = reinterpret_cast<tagReader::CoverImageBuffer*>(buffer);
        images.push_back({h ? static_cast<int>(h->image->GetWidth()) : 0, b != nullptr});
        delete h;
        delete b;
        return acceptImages ? 1 : 0;
    }
    struct Image {
        int width;
        bool embedded;
    };
    std::vector<int> refreshes;
    std::vector<std::wstring> lyrics;
    std::vector<Image> images;
    bool acceptImages = true;
    static UINT refreshMsg, lyricsMsg, imageMsg;
    DECLARE_MESSAGE_MAP()
};
UINT Receiver::refreshMsg = MsgDlgInfoRefresh();
UINT Receiver::lyricsMsg = MsgLyricsSetText();
UINT Receiver::imageMsg = MsgImageLayout();

BEGIN_MESSAGE_MAP(Receiver, CWnd)
    ON_REGISTERED_MESSAGE(Receiver::refreshMsg, &Receiver::OnRefresh)
    ON_REGISTERED_MESSAGE(Receiver::lyricsMsg, &Receiver::OnLyrics)
    ON_REGISTERED_MESSAGE(Receiver::imageMsg, &Receiver::OnImage)
END_MESSAGE_MAP()

// The jacket button's picture: a memory bitmap.
class MemoryJacket : public IJacketBackBuffer {
public:
    MemoryJacket(int side, COLORREF fill) {
        HDC screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        bitmap = ::CreateCompatibleBitmap(screen, side, side);
        ::ReleaseDC(nullptr, screen);
        previous = ::SelectObject(dc, bitmap);
        size = SIZE{side, side};
        RECT r{0, 0, side, side};
        HBRUSH b = ::CreateSolidBrush(fill);
        ::FillRect(dc, &r, b);
        ::DeleteObject(b);
    }
    ~MemoryJacket() override {
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
        ::DeleteObject(bitmap);
    }
    HDC BackBufferDC() override { return dc; }
    SIZE BackBufferSize() override { return size; }
    COLORREF Pixel(int x, int y) {
        NowPlayingLockGuard lock;
        return ::GetPixel(dc, x, y);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    SIZE size;
};

// The workers' safety limit is generous: a loaded machine may decode the pictures slowly.
bool PumpUntil(const std::function<bool()>& done) { return player_test::PumpUntil(done, 20000); }

const COLORREF kBackground = RGB(10, 20, 30);

struct WorkersFixture {
    WorkersFixture() : library(), jacket(64, kBackground) {
        library.settings.informationView.colorImageBackground = kBackground;
        library.settings.informationView.imageFadeWait = 0;
        library.settings.informationView.imageZoom = true;
        library.settings.generic.imageInterpolationMode = 7;
        library.settings.informationView.relatedAlbumSql =
            L"SELECT tagAlbum FROM list WHERE UPPER(tagArtist) glob UPPER('*%tagArtist%*') AND "
            L"tagAlbum<>'%tagAlbum%' AND tagAlbum<>'' GROUP BY tagAlbum ORDER BY AVG(rating) DESC;";
        receiver.CreateEx(0, nullptr, L"receiver", WS_POPUP, 0, 0, 10, 10, nullptr, 0);
        {
            NowPlayingLockGuard lock;
            tagReader::SplitPatternList(L"%_path%*.*", data->picturePatterns);
            tagReader::SplitPatternList(L"%_path%%file_title%.txt", data->lyricsPatterns);
        }
        workers = std::make_shared<CNowPlayingWorkers>(MakeNowPlayingWorkerSettings(library.settings, library.dir.path()),
                                                       data, &jacket, library.db().handle());
        workers->SetTargets(NowPlayingTargets{receiver.m_hWnd, receiver.m_hWnd, receiver.m_hWnd});
        workers->Start(0, 0, 0);
    }
    ~WorkersFixture() {
        EXPECT_TRUE(workers->Stop(5000));
        workers.reset();
        receiver.DestroyWindow();
    }
    void Play(const TrackRecord& track) {
        {
            NowPlayingLockGuard lock;
            data->track = track;
            data->lyricsText.clear();
            data->lyricsLines.clear();
            data->relatedAlbums.clear();
        }
        workers->SignalWork();
    }
    int Count(int part) const {
        int n = 0;
        for (int p : receiver.refreshes) n += p == part;
        return n;
    }

    testing_support::GdiplusSession gdiplus;
    doc_test::Library library;
    MemoryJacket jacket;
    std::shared_ptr<NowPlayingData> data = std::make_shared<NowPlayingData>();
    Receiver receiver;
    std::shared_ptr<CNowPlayingWorkers> workers;
};

TrackRecord TrackIn(const std::wstring& folder, const std::wstring& title) {
    TrackRecord t = doc_test::MakeTrack(folder + title + L".mp3", title, L"", L"", L"");
    t.file_title = title;
    t.statDuration = 60;
    t.rowid = 1;
    return t;
}

}  // namespace

TEST(NowPlayingWorkers, CoverFileFadesIntoTheJacketAndReachesTheCoverWindow) {
    WorkersFixture f;
    const std::wstring folder = f.library.dir.path();
    ASSERT_TRUE(testing_support::WriteBytes(folder + L"folder.png",
                                            testing_support::ReadBytes(testing_support::TestDataPath(L"tags/cover.png"))));
    f.Play(TrackIn(folder, L"song"));
    ASSERT_TRUE(PumpUntil([&] { return f.Count(1) >= CoverFadeStepCount && !f.receiver.images.empty(); }));
    ASSERT_EQ(1u, f.receiver.images.size());
    EXPECT_GT(f.receiver.images[0].width, 0);
    EXPECT_FALSE(f.receiver.images[0].embedded);
    // The picture covers the zoomed jacket: its middle is no longer the background.
    EXPECT_NE(kBackground, f.jacket.Pixel(32, 32));
}

TEST(NowPlayingWorkers, EmbeddedPictureWinsOverACoverFileAndAClearedTrackFadesToTheBackground) {
    WorkersFixture f;
    const std::wstring folder = f.library.dir.path();
    ASSERT_TRUE(testing_support::WriteBytes(folder + L"song.mp3",
                                            testing_support::ReadBytes(testing_support::TestDataPath(L"tags/v24.mp3"))));
    ASSERT_TRUE(testing_support::WriteBytes(folder + L"cover.jpg",
                                            testing_support::ReadBytes(testing_support::TestDataPath(L"tags/cover.jpg"))));
    TrackRecord t = TrackIn(folder, L"song");
    t.tagAPIC = L"image/png";
    t.infoTagtype = 32;
    f.Play(t);
    ASSERT_TRUE(PumpUntil([&] { return f.Count(1) >= CoverFadeStepCount; }));
    ASSERT_EQ(1u, f.receiver.images.size());
    EXPECT_TRUE(f.receiver.images[0].embedded);

    // Nothing for a cleared track: the cover window is told there is no picture.
    f.receiver.refreshes.clear();
    f.Play(TrackRecord());
    ASSERT_TRUE(PumpUntil([&] { return f.Count(1) >= CoverFadeStepCount; }));
    ASSERT_EQ(2u, f.receiver.images.size());
    EXPECT_EQ(0, f.receiver.images[1].width);
    EXPECT_EQ(kBackground, f.jacket.Pixel(32, 32));
}

// A cover file of 20,000 x 20,000 pixels (50 KB) is never decoded: no picture.
TEST(NowPlayingWorkers, APictureTooLargeToDecodeIsNoCover) {
    WorkersFixture f;
    const std::wstring folder = f.library.dir.path();
    ASSERT_TRUE(testing_support::WriteBytes(folder + L"folder.png", testing_support::MakeBlackPng(20000, 20000)));
    f.Play(TrackIn(folder, L"song"));
    ASSERT_TRUE(PumpUntil([&] { return f.Count(1) >= CoverFadeStepCount && !f.receiver.images.empty(); }));
    ASSERT_EQ(1u, f.receiver.images.size());
    EXPECT_EQ(0, f.receiver.images[0].width);
    EXPECT_EQ(kBackground, f.jacket.Pixel(32, 32));
}

TEST(NowPlayingWorkers, TimeTaggedLyricsReachThePaneAndTheLyricsWindow) {
    WorkersFixture f;
    const std::wstring folder = f.library.dir.path();
    ASSERT_TRUE(testing_support::WriteBytes(folder + L"song.txt", std::string("[00:01:00]first\r\n[00:05:50]second\r\n")));
    f.Play(TrackIn(folder, L"song"));
    ASSERT_TRUE(PumpUntil([&] { return f.Count(2) >= 1 && !f.receiver.lyrics.empty(); }));
    {
        NowPlayingLockGuard lock;
        ASSERT_EQ(2u, f.data->lyricsLines.size());
        EXPECT_FLOAT_EQ(1.0f, f.data->lyricsLines[0].seconds);
        EXPECT_EQ(L"second", f.data->lyricsLines[1].text);
        EXPECT_NE(std::wstring::npos, f.data->lyricsText.find(L"second"));
    }
    EXPECT_NE(std::wstring::npos, f.receiver.lyrics.back().find(L"first"));

    // A track without lyrics empties the pane and the window.
    f.Play(TrackIn(folder, L"other"));
    ASSERT_TRUE(PumpUntil([&] { return f.receiver.lyrics.size() >= 2; }));
    EXPECT_EQ(L"<none>", f.receiver.lyrics.back());
    NowPlayingLockGuard lock;
    EXPECT_TRUE(f.data->lyricsText.empty());
}

namespace {

void AddAlbum(doc_test::Library& lib, const std::wstring& file, const std::wstring& artist, const std::wstring& album,
              int rating) {
    TrackRecord t = doc_test::MakeTrack(lib.dir.path() + file, file, artist, album, L"1");
    t.rating = rating;
    ASSERT_TRUE(lib.Insert(t));
}

}  // namespace

TEST(NowPlayingWorkers, RelatedAlbumsComeFromTheLibraryWithoutTheNowPlayingAlbum) {
    WorkersFixture f;
    AddAlbum(f.library, L"a.mp3", L"Artist", L"Best [Disc 1]", 50);
    AddAlbum(f.library, L"b.mp3", L"Artist", L"Other", 10);
    AddAlbum(f.library, L"c.mp3", L"Artist", L"What?", 30);
    AddAlbum(f.library, L"d.mp3", L"Someone", L"Unrelated", 50);
    TrackRecord t = TrackIn(f.library.dir.path(), L"a");
    t.tagArtist = L"Artist";
    t.tagAlbum = L"Best [Disc 1]";
    f.Play(t);
    ASSERT_TRUE(PumpUntil([&] { return f.Count(0) >= 1; }));
    NowPlayingLockGuard lock;
    EXPECT_EQ((std::vector<std::wstring>{L"What?", L"Other"}), f.data->relatedAlbums);
}

TEST(NowPlayingWorkers, ARunForThePreviousTrackNeverLeavesItsAlbumsForTheNewTrack) {
    WorkersFixture f;
    AddAlbum(f.library, L"a.mp3", L"First", L"A1", 50);
    AddAlbum(f.library, L"b.mp3", L"First", L"A2", 50);
    AddAlbum(f.library, L"c.mp3", L"Second", L"B1", 50);
    AddAlbum(f.library, L"d.mp3", L"Second", L"B2", 50);
    // Another program holds the database while the first track's query starts.
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open16(f.library.settings.libraryPath.c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr));
    TrackRecord first = TrackIn(f.library.dir.path(), L"a");
    first.tagArtist = L"First";
    first.tagAlbum = L"A1";
    f.Play(first);
    TrackRecord second = TrackIn(f.library.dir.path(), L"c");
    second.rowid = 3;
    second.tagArtist = L"Second";
    second.tagAlbum = L"B1";
    f.Play(second);
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "COMMIT;", nullptr, nullptr, nullptr));
    sqlite3_close(other);
    ASSERT_TRUE(PumpUntil([&] { return f.Count(0) >= 1; }));
    NowPlayingLockGuard lock;
    EXPECT_EQ((std::vector<std::wstring>{L"B2"}), f.data->relatedAlbums);
}

TEST(NowPlayingWorkers, AnEmptyArtistRunsNoQueryAndWorkersEndOnQuit) {
    WorkersFixture f;
    AddAlbum(f.library, L"a.mp3", L"", L"Alone", 50);
    f.Play(TrackIn(f.library.dir.path(), L"a"));
    // The lyrics worker answers for this track; the related worker posts nothing.
    ASSERT_TRUE(PumpUntil([&] { return !f.receiver.lyrics.empty(); }));
    EXPECT_EQ(0, f.Count(0));
    EXPECT_TRUE(f.workers->Stop(5000));
}

namespace {

// A window on a thread of its own that answers nothing sent to it until it is released: the
// cover worker's send to it waits as a read from a share that does not answer would.
class HungWindow {
public:
    HungWindow() {
        m_release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = std::thread([this, ready] {
            window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
            ::SetEvent(ready);
            while (::WaitForSingleObject(m_release, 10) == WAIT_TIMEOUT)
                if (HIWORD(::GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) sendWaiting = true;
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);   // answers the send
            ::DestroyWindow(window);
        });
        ::WaitForSingleObject(ready, INFINITE);
        ::CloseHandle(ready);
    }
    ~HungWindow() {
        Release();
        m_thread.join();
        ::CloseHandle(m_release);
    }
    void Release() { ::SetEvent(m_release); }

    HWND window = nullptr;
    std::atomic<bool> sendWaiting{false};

private:
    HANDLE m_release;
    std::thread m_thread;
};

}  // namespace

TEST(NowPlayingWorkers, AWorkerStuckPastTheStopKeepsItsDataAndLetsGoWhenItEnds) {
    testing_support::GdiplusSession gdiplus;
    doc_test::Library library;
    library.settings.informationView.imageFadeWait = 0;
    MemoryJacket jacket(64, kBackground);
    HungWindow cover;
    auto data = std::make_shared<NowPlayingData>();
    auto workers = std::make_shared<CNowPlayingWorkers>(MakeNowPlayingWorkerSettings(library.settings, library.dir.path()),
                                                        data, &jacket, library.db().handle());
    workers->SetTargets(NowPlayingTargets{nullptr, nullptr, cover.window});
    ASSERT_TRUE(workers->Start(0, 0, 0));
    workers->SignalWork();   // no track: the cover window is told there is no picture
    ASSERT_TRUE(PumpUntil([&] { return cover.sendWaiting.load(); }));

    EXPECT_FALSE(workers->Stop(200)) << "the cover worker waits for a window that does not answer";
    workers->Detach();   // the pane goes
    std::weak_ptr<NowPlayingData> left = data;
    data.reset();
    workers.reset();
    EXPECT_FALSE(left.expired()) << "the stuck worker keeps what it uses";
    cover.Release();
    EXPECT_TRUE(PumpUntil([&] { return left.expired(); })) << "it ends by itself and lets go";
}
