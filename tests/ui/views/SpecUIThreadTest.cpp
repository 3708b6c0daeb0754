#include "ui/views/SpecUIThread.h"
#include "framework/SentMessageWait.h"
#include <gtest/gtest.h>

namespace {

// A hidden parent standing in for the now-playing pane.
struct SpecFixture {
    SpecFixture() {
        ::InitializeCriticalSection(&lock);
        settings.informationView.colorBackground = RGB(1, 2, 3);
        settings.informationView.specX = 10;
        settings.informationView.specY = 10;
        parent.CreateEx(0, nullptr, L"pane", WS_POPUP, 0, 0, 400, 200, nullptr, 0);
    }
    ~SpecFixture() {
        parent.DestroyWindow();
        ::DeleteCriticalSection(&lock);
    }
    CAppSettings settings;
    CRITICAL_SECTION lock;
    PlayerStatusBlock status;
    CWnd parent;
};

}  // namespace

TEST(SpecUIThread, StartsAndEndsCleanlyFiftyTimesInARow) {
    SpecFixture f;
    ASSERT_TRUE(f.parent.m_hWnd);
    for (int i = 0; i < 50; ++i) {
        CSpecUIThread spectrum(f.parent.m_hWnd, f.settings, &f.lock, &f.status);
        ASSERT_TRUE(spectrum.Start(THREAD_PRIORITY_NORMAL, 5000)) << i;
        ASSERT_TRUE(::IsWindow(spectrum.window())) << i;
        EXPECT_EQ(3333, ::GetDlgCtrlID(spectrum.window()));
        EXPECT_TRUE(::GetWindowLongW(spectrum.window(), GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
        // Posted at once after the start: nothing may be lost.
        spectrum.PostColorTable(SpecColorRecord{100, RGB(255, 255, 255), RGB(32, 32, 32), RGB(1, 2, 3)});
        spectrum.PostMove(SpecMoveRecord{10, 20, 180, 100});
        ASSERT_TRUE(spectrum.Stop(5000)) << i;
        EXPECT_EQ(100u, spectrum.table().rows.size()) << i;
        EXPECT_EQ(180, spectrum.dib().width) << i;
        EXPECT_EQ(::FindWindowExW(f.parent.m_hWnd, nullptr, CSpecWnd::ClassName(), nullptr), nullptr);
    }
}

TEST(SpecUIThread, ColourTableBeforeTheFirstMoveAndANewHeightRebuildTheBitmap) {
    SpecFixture f;
    CSpecUIThread spectrum(f.parent.m_hWnd, f.settings, &f.lock, &f.status);
    ASSERT_TRUE(spectrum.Start(0, 5000));
    spectrum.PostColorTable(SpecColorRecord{100, RGB(255, 255, 255), RGB(0, 0, 0), RGB(1, 2, 3)});
    spectrum.PostMove(SpecMoveRecord{0, 0, 180, 100});
    spectrum.PostMove(SpecMoveRecord{0, 0, 180, 60});   // "Spec.Height" became 60
    ::EnterCriticalSection(&f.lock);
    f.status.state = PlayStatePlaying;
    for (float& v : f.status.spectrum) v = 1.0f;
    ::LeaveCriticalSection(&f.lock);
    spectrum.PostDraw();
    ASSERT_TRUE(spectrum.Stop(5000));
    ASSERT_EQ(60, spectrum.dib().height);
    EXPECT_EQ(spectrum.table().rows[0], spectrum.dib().At(0, 0));   // a lit bottom segment
    EXPECT_EQ(spectrum.table().background, spectrum.dib().At(17, 0));
}

TEST(SpecUIThread, PausedOrStoppedDrawClearsTheBars) {
    SpecFixture f;
    CSpecUIThread spectrum(f.parent.m_hWnd, f.settings, &f.lock, &f.status);
    ASSERT_TRUE(spectrum.Start(0, 5000));
    spectrum.PostColorTable(SpecColorRecord{100, RGB(255, 255, 255), RGB(0, 0, 0), RGB(1, 2, 3)});
    spectrum.PostMove(SpecMoveRecord{0, 0, 180, 100});
    f.status.state = PlayStatePlaying;
    for (float& v : f.status.spectrum) v = 1.0f;
    spectrum.PostDraw();
    // Paused: the next draw clears.
    SleepAnsweringSentMessages(50);
    ::EnterCriticalSection(&f.lock);
    f.status.state = PlayStatePaused;
    ::LeaveCriticalSection(&f.lock);
    spectrum.PostDraw();
    ASSERT_TRUE(spectrum.Stop(5000));
    for (uint32_t p : spectrum.dib().pixels) ASSERT_EQ(0x010203u, p);
}

TEST(SpecUIThread, ColoursAndPlacePostedBeforeTheThreadRunsReachItWhenItStarts) {
    SpecFixture f;
    f.status.state = PlayStatePlaying;
    for (float& v : f.status.spectrum) v = 1.0f;
    CSpecUIThread spectrum(f.parent.m_hWnd, f.settings, &f.lock, &f.status);
    // The pane gave up waiting for the start: its posts find no queue yet.
    spectrum.PostMove(SpecMoveRecord{10, 20, 180, 100});
    spectrum.PostColorTable(SpecColorRecord{100, RGB(255, 255, 255), RGB(0, 0, 0), RGB(4, 5, 6)});
    ASSERT_TRUE(spectrum.Start(0, 5000));
    RECT placed{};
    ::GetWindowRect(spectrum.window(), &placed);
    ::MapWindowPoints(nullptr, f.parent.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
    spectrum.PostDraw();
    ASSERT_TRUE(spectrum.Stop(5000));
    EXPECT_EQ(10, placed.left);
    EXPECT_EQ(20, placed.top);
    EXPECT_EQ(180, placed.right - placed.left);
    EXPECT_EQ(100, placed.bottom - placed.top);
    ASSERT_EQ(100u, spectrum.table().rows.size());
    EXPECT_EQ(SpecPixel(RGB(4, 5, 6)), spectrum.table().background);
    ASSERT_EQ(180, spectrum.dib().width);
    EXPECT_EQ(spectrum.table().rows[0], spectrum.dib().At(0, 0)) << "the first draw shows the bars";
}
