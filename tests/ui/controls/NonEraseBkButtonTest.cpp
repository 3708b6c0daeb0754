// Buttons that never erase their background, and the back buffer that keeps a picture
// across size changes.
#include "ui/controls/NonEraseBkButton.h"
#include <gtest/gtest.h>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);

struct Parent {
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ~Parent() { ::DestroyWindow(hwnd); }
    HWND Button(int cx, int cy) const {
        return ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, cx, cy, hwnd,
                                 reinterpret_cast<HMENU>(1008), ::GetModuleHandleW(nullptr), nullptr);
    }
};

void Fill(HDC dc, RECT r, COLORREF c) {
    HBRUSH b = ::CreateSolidBrush(c);
    ::FillRect(dc, &r, b);
    ::DeleteObject(b);
}

}  // namespace

TEST(NonEraseBkButton, ErasingTheBackgroundLeavesItAlone) {
    Parent parent;
    CNonEraseBkButtonBass bass;
    ASSERT_TRUE(bass.SubclassWindow(parent.Button(30, 20)));
    CNonEraseBkButton button;
    ASSERT_TRUE(button.SubclassWindow(parent.Button(30, 20)));

    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 30, 20);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (CWnd* w : {static_cast<CWnd*>(&bass), static_cast<CWnd*>(&button)}) {
        Fill(dc, RECT{0, 0, 30, 20}, kGreen);
        EXPECT_EQ(1, w->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)));
        EXPECT_EQ(kGreen, ::GetPixel(dc, 15, 10));
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

TEST(NonEraseBkButton, BackBufferKeepsItsPictureStretchedWhenTheButtonGrows) {
    Parent parent;
    CRITICAL_SECTION lock;
    ::InitializeCriticalSection(&lock);
    {
        CNonEraseBkButton button;
        ASSERT_TRUE(button.SubclassWindow(parent.Button(20, 10)));
        EXPECT_FALSE(button.HasPicture());
        ::MoveWindow(button.m_hWnd, 0, 0, 24, 12, FALSE);   // without a buffer nothing happens
        EXPECT_EQ(nullptr, button.GetBackBufferDC());

        button.CreateBackBuffer(kRed, &lock);
        ASSERT_NE(nullptr, button.GetBackBufferDC());
        EXPECT_TRUE(button.HasPicture());
        EXPECT_EQ(24, button.GetBackBufferSize().cx);
        EXPECT_EQ(12, button.GetBackBufferSize().cy);
        EXPECT_EQ(kRed, ::GetPixel(button.GetBackBufferDC(), 23, 11));
        // The owner draws: the left half blue.
        Fill(button.GetBackBufferDC(), RECT{0, 0, 12, 12}, kBlue);

        ::MoveWindow(button.m_hWnd, 0, 0, 48, 36, FALSE);
        HDC buffer = button.GetBackBufferDC();
        EXPECT_EQ(48, button.GetBackBufferSize().cx);
        EXPECT_EQ(36, button.GetBackBufferSize().cy);
        EXPECT_EQ(kBlue, ::GetPixel(buffer, 2, 2));
        EXPECT_EQ(kBlue, ::GetPixel(buffer, 20, 33));    // the blue half, twice as wide
        EXPECT_EQ(kRed, ::GetPixel(buffer, 27, 2));
        EXPECT_EQ(kRed, ::GetPixel(buffer, 47, 35));     // no blank area

        // Minimised: 0 x 0 changes nothing.
        button.SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
        button.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 30));
        EXPECT_EQ(48, button.GetBackBufferSize().cx);
        EXPECT_EQ(36, button.GetBackBufferSize().cy);
        EXPECT_EQ(kBlue, ::GetPixel(buffer, 20, 33));

        // A new buffer starts from the fill colour again.
        button.CreateBackBuffer(kGreen, &lock);
        EXPECT_EQ(kGreen, ::GetPixel(button.GetBackBufferDC(), 2, 2));
    }
    // The lock is free again after every change and after the button is gone.
    EXPECT_TRUE(::TryEnterCriticalSection(&lock));
    ::LeaveCriticalSection(&lock);
    ::DeleteCriticalSection(&lock);
}
