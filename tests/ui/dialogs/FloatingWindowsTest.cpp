#include "ui/dialogs/DlgImage.h"
#include "support/GdiplusSession.h"
#include "support/MenuLoopPresenter.h"
#include "ui/dialogs/DlgLyrics.h"
#include "ui/dialogs/FloatingWindow.h"
#include "ui/views/NowPlayingData.h"
#include "ui/views/NowPlayingWorkers.h"
#include "resources/resource.h"
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {


CAppSettings FloatingSettings(int alpha) {
    CAppSettings s;
    for (auto* w : {&s.lyricsWindow, &s.imageWindow}) {
        w->colorBackground = RGB(255, 255, 255);
        w->colorText = RGB(0, 0, 0);
        w->fontName = L"Tahoma";
        w->fontSize = 9;
        w->windowAlpha = static_cast<BYTE>(alpha);
        w->windowShow = false;
    }
    s.generic.imageInterpolationMode = 7;
    return s;
}

// A text whose freeing a test watches (through the program's delete[] below).
std::atomic<const void*> g_watchedText{nullptr};
std::atomic<bool> g_watchedTextFreed{false};

wchar_t* HeapText(const wchar_t* text) {
    auto* copy = new wchar_t[wcslen(text) + 1];
    wcscpy(copy, text);
    return copy;
}

}  // namespace

void operator delete[](void* p) noexcept {
    if (p && p == g_watchedText.load()) g_watchedTextFreed = true;
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept { ::operator delete[](p); }

TEST(FloatingWindow, ASavedPlacementPartlyOffTheDesktopIsIgnoredUnlessItWasShown) {
    const RECT desktop{0, 0, 1280, 1024};
    WINDOWPLACEMENT p{};
    EXPECT_FALSE(UseFloatingPlacement(p, desktop));   // length 0: none stored
    p.length = sizeof p;
    p.showCmd = SW_HIDE;
    p.rcNormalPosition = RECT{100, 100, 300, 300};
    EXPECT_TRUE(UseFloatingPlacement(p, desktop));
    p.rcNormalPosition = RECT{1200, 100, 1400, 300};
    EXPECT_FALSE(UseFloatingPlacement(p, desktop));
    p.showCmd = SW_SHOW;
    EXPECT_TRUE(UseFloatingPlacement(p, desktop));
}

TEST(DlgLyrics, APlacementStoredShownOffEveryMonitorOpensOnTheNearestOne) {
    CAppSettings s = FloatingSettings(100);
    WINDOWPLACEMENT& p = s.lyricsWindow.placement;
    p.length = sizeof p;
    p.showCmd = SW_SHOW;
    p.rcNormalPosition = RECT{-2000000000, -2000000000, -1999999700, -1999999600};
    CWnd owner;
    owner.CreateEx(0, nullptr, L"owner", WS_POPUP, 0, 0, 100, 100, nullptr, 0);
    CDlgLyrics lyrics(s);
    ASSERT_TRUE(lyrics.Create(&owner));
    RECT window{}, visible{};
    ::GetWindowRect(lyrics.m_hWnd, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor));
    EXPECT_TRUE(::IntersectRect(&visible, &window, &monitor.rcWork) && ::EqualRect(&visible, &window))
        << window.left << "," << window.top << "," << window.right << "," << window.bottom;
    EXPECT_EQ(window.right - window.left, 300);
    EXPECT_EQ(window.bottom - window.top, 400);
    lyrics.DestroyWindow();
    owner.DestroyWindow();
}

TEST(DlgLyrics, TakesTheWorkersTextAndEscapeHidesItForTheNextStart) {
    CAppSettings s = FloatingSettings(50);
    CWnd owner;
    owner.CreateEx(0, nullptr, L"owner", WS_POPUP, 0, 0, 100, 100, nullptr, 0);
    CDlgLyrics lyrics(s);
    ASSERT_TRUE(lyrics.Create(&owner));
    EXPECT_FALSE(lyrics.IsWindowVisible());
    EXPECT_TRUE(lyrics.GetExStyle() & WS_EX_LAYERED);
    lyrics.SendMessage(MsgLyricsSetText(), reinterpret_cast<WPARAM>(HeapText(L"line one\r\nline two")), 0);
    EXPECT_EQ(L"line one\r\nline two", lyrics.GetText());
    lyrics.SendMessage(MsgLyricsSetText(), 0, 0);
    EXPECT_EQ(L"", lyrics.GetText());

    s.lyricsWindow.windowShow = true;
    lyrics.ShowBySetting();
    EXPECT_TRUE(lyrics.IsWindowVisible());
    lyrics.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(lyrics.IsWindowVisible());
    EXPECT_FALSE(s.lyricsWindow.windowShow);

    // Opaque settings: never layered.
    s.lyricsWindow.windowAlpha = 100;
    lyrics.ApplySettings();
    EXPECT_FALSE(lyrics.GetExStyle() & WS_EX_LAYERED);
    lyrics.DestroyWindow();
    EXPECT_EQ(sizeof(WINDOWPLACEMENT), s.lyricsWindow.placement.length);   // stored at destroy
    owner.DestroyWindow();
}

namespace {

// An opaque lyrics or cover window owned by a hidden window.
template <class Window>
struct FloatingFixture {
    FloatingFixture() : s(FloatingSettings(100)), window(s) {
        owner.CreateEx(0, nullptr, L"owner", WS_POPUP, 0, 0, 100, 100, nullptr, 0);
        created = window.Create(&owner) != FALSE;
    }
    ~FloatingFixture() {
        window.DestroyWindow();
        owner.DestroyWindow();
    }
    testing_support::GdiplusSession gdiplus;
    CAppSettings s;
    CWnd owner;
    Window window;
    bool created = false;
};

}  // namespace

TEST(DlgImage, PicturesOpenAtTheirZoomWithTheSizeInTheTitle) {
    FloatingFixture<CDlgImage> f;
    ASSERT_TRUE(f.created);
    CDlgImage& image = f.window;
    EXPECT_EQ(L"ジャケットウインドウ", image.GetWindowText());
    RECT client;
    image.GetClientRect(&client);
    EXPECT_EQ(200, client.right);

    auto send = [&](int w, int h) {
        auto* bitmap = new Gdiplus::Bitmap(w, h, PixelFormat32bppARGB);
        return image.SendMessage(MsgImageLayout(), reinterpret_cast<WPARAM>(new CoverImageHolder(bitmap)), 0);
    };
    EXPECT_TRUE(send(150, 150));   // taken: the window frees the holder
    EXPECT_EQ(200, image.GetZoom());
    image.GetClientRect(&client);
    EXPECT_EQ(300, client.right);
    EXPECT_EQ(300, client.bottom);
    EXPECT_EQ(L"ジャケットウインドウ - 200% (300 x 300)", image.GetWindowText());
    send(600, 600);
    EXPECT_EQ(100, image.GetZoom());
    // No picture any more.
    EXPECT_TRUE(image.SendMessage(MsgImageLayout(), 0, 0));
    EXPECT_FALSE(image.HasPicture());
    EXPECT_EQ(L"ジャケットウインドウ", image.GetWindowText());

    // A window left off the desktop comes back at the next lay-out.
    image.SetWindowPos(nullptr, -500, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    image.UpdateLayout();
    RECT window;
    image.GetWindowRect(&window);
    EXPECT_EQ(0, window.left);
}

TEST(DlgImage, TheZoomMenuIsOwnerDrawnAndAnswersItsMnemonics) {
    FloatingFixture<CDlgImage> f;
    ASSERT_TRUE(f.created);
    MenuLoopPresenter menu(L'H');
    f.window.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(menu.OpenedOwnerDrawnAndChose(1)) << "\"半分の大きさ(&H)\" is the second item";
}

TEST(DlgLyrics, ATextStillQueuedWhenTheWindowGoesIsFreed) {
    FloatingFixture<CDlgLyrics> f;
    ASSERT_TRUE(f.created);
    wchar_t* text = HeapText(L"never shown");
    g_watchedText = text;
    g_watchedTextFreed = false;
    ASSERT_TRUE(::PostMessageW(f.window.m_hWnd, MsgLyricsSetText(), reinterpret_cast<WPARAM>(text), 0));
    f.window.DestroyWindow();   // before any message loop took the text
    EXPECT_TRUE(g_watchedTextFreed);
    g_watchedText = nullptr;
}
