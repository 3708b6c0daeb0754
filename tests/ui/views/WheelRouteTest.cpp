#include "ui/views/WheelRoute.h"
#include <gtest/gtest.h>
#include <atomic>
#include <thread>

namespace {
// A plain window (a static control would let the point fall through to what lies below).
HWND ShowPopupAt(int x, int y) {
    static const ATOM cls = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LarkWheelTestWnd";
        return ::RegisterClassW(&wc);
    }();
    HWND h = ::CreateWindowExW(WS_EX_TOOLWINDOW, MAKEINTATOM(cls), L"", WS_POPUP | WS_VISIBLE, x, y, 80, 80,
                               nullptr, nullptr, nullptr, nullptr);
    ::UpdateWindow(h);
    return h;
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}
}  // namespace

// The wheel goes to the window under the cursor only when this thread owns it: a window
// of another thread is never sent the message (its thread may be blocked).
TEST(WheelRoute, OnlyWindowsOfThisThreadReceiveTheWheel) {
    HWND own = ShowPopupAt(100, 100);
    ASSERT_TRUE(own);

    std::atomic<HWND> other{nullptr};
    HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread t([&] {
        other = ShowPopupAt(300, 100);
        MSG msg;
        while (::MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::DestroyWindow(other);
    });
    while (!other) ::Sleep(10);
    Pump();

    EXPECT_EQ(WheelTargetAt(POINT{140, 140}), own);
    EXPECT_EQ(::WindowFromPoint(POINT{340, 140}), other.load()) << "the other thread's window is there";
    EXPECT_EQ(WheelTargetAt(POINT{340, 140}), nullptr);

    ::SetEvent(done);
    t.join();
    ::CloseHandle(done);
    ::DestroyWindow(own);
}
