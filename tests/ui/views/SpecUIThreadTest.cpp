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
        CSpecUIThread spec(f.parent.m_hWnd, f.settings, &f.lock, &f.status);
        ASSERT_TRUE(spec.Start(THREAD_PRIORITY_NORMAL, 5000)) << i;
        ASSERT_TRUE(::IsWindow(spec.window())) << i;
        EXPECT_EQ(3333, ::GetDlgCtrlID(spec.window()));
        EXPECT_TRUE(::GetWindowLongW(spec.window(), GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
        // Posted at once after the start: nothing may be lost.
        spec.PostColorTable(SpecColorRecord{100, RGB(255, 255, 255), RGB(32, 32, 32), RGB(1, 2, 3)});
        spec.PostMove(SpecMoveRecord{10, 20, 180, 100});
        ASSERT_TRUE(spec.Stop(5000)) << i;
        EXPECT_EQ(100u, spec.table().rows.size()) << i;
        EXPECT_EQ(180, spec.dib().width) << i;
        EXPECT_EQ(::FindWindowExW(f.parent.m_hWnd, nullptr, CSpecWnd::ClassName(), nullptr), nullptr);
    }
}

TEST(SpecUIThread, ColourTableBeforeTheFirstMoveAndANewHeightRebuildTheBitmap) {
    SpecFixture f;
    CSpecUIThread spec(f.parent.m_hWnd, f.settings, &f.lock, &f.status);
    ASSERT_TRUE(spec.Start(0, 5000));
    spec.PostColorTable(SpecColorRecord{100, RGB(255, 255, 255), RGB(0, 0, 0), RGB(1, 2, 3)});
    spec.PostMove(SpecMoveRecord{0, 0, 180, 100});
    spec.PostMove(SpecMoveRecord{0, 0, 180, 60});   // "Spec.Height" became 60
    ::EnterCriticalSection(&f.lock);
    f.status.state = PlayStatePlaying;
    for (float& v : f.status.spectrum) v = 1.0f;
    ::LeaveCriticalSection(&f.lock);
    spec.PostDraw();
    ASSERT_TRUE(spec.Stop(5000));
    ASSERT_EQ(60, spec.dib().height);
    EXPECT_EQ(spec.table().rows[0], spec.dib().At(0, 0));   // a lit bottom segment
    EXPECT_EQ(spec.table().background, spec.dib().At(17, 0));
}

TEST(SpecUIThread, PausedOrStoppedDrawClearsTheBars) {
    SpecFixture f;
    CSpecUIThread spec(f.parent.m_hWnd, f.settings, &f.lock, &f.status);
    ASSERT_TRUE(spec.Start(0, 5000));
    spec.PostColorTable(SpecColorRecord{100, RGB(255, 255, 255), RGB(0, 0, 0), RGB(1, 2, 3)});
    spec.PostMove(SpecMoveRecord{0, 0, 180, 100});
    f.status.state = PlayStatePlaying;
    for (float& v : f.status.spectrum) v = 1.0f;
    spec.PostDraw();
    // Paused: the next draw clears.
    SleepAnsweringSentMessages(50);
    ::EnterCriticalSection(&f.lock);
    f.status.state = PlayStatePaused;
    ::LeaveCriticalSection(&f.lock);
    spec.PostDraw();
    ASSERT_TRUE(spec.Stop(5000));
    for (uint32_t p : spec.dib().pixels) ASSERT_EQ(0x010203u, p);
}
