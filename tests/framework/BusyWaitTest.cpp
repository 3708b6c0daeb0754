// The UI thread's wait for work that may never end: what stops the work, and what is left for
// the message loop.
#include "framework/BusyWait.h"
#include <gtest/gtest.h>

namespace {

// Work that runs until it is stopped.
struct UntilStopped {
    UntilStopped() {
        thread = CreateThread(nullptr, 0, [](void* e) -> DWORD { return WaitForSingleObject(e, 60000); }, stopped, 0,
                              nullptr);
        calls.stop = [this] { SetEvent(stopped); };
    }
    ~UntilStopped() {
        SetEvent(stopped);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(stopped);
    }
    HANDLE stopped = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    BusyWaitCalls calls;
};

bool Take(HWND hwnd, UINT message, WPARAM wParam) {
    MSG m;
    return PeekMessageW(&m, hwnd, message, message, PM_REMOVE) && m.wParam == wParam;
}

}  // namespace

TEST(BusyWait, EscapeAndEveryCloseRequestStopTheWorkAndOnlyTheClosesReachTheMessageLoop) {
    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
        UINT after;   // what the message loop gets afterwards (0: nothing)
        WPARAM afterWParam;
    } requests[] = {
        {"Escape", WM_KEYDOWN, VK_ESCAPE, 0, 0},
        {"WM_CLOSE", WM_CLOSE, 0, WM_CLOSE, 0},
        {"SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE, WM_SYSCOMMAND, SC_CLOSE},
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, WM_SYSCOMMAND, SC_CLOSE},
        {"the close box", WM_NCLBUTTONDOWN, HTCLOSE, WM_SYSCOMMAND, SC_CLOSE},
    };
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (const auto& request : requests) {
        SCOPED_TRACE(request.what);
        UntilStopped work;
        PostMessageW(window, WM_USER + 7, 0, 0);        // another program's message
        PostMessageW(window, WM_LBUTTONDOWN, 0, 0);     // a click made meanwhile
        PostMessageW(window, request.message, request.wParam, 0);
        const BusyWaitResult result = WaitWhileBusy(work.thread, work.calls);
        EXPECT_TRUE(result.ended);
        EXPECT_TRUE(result.stopAsked);
        EXPECT_EQ(request.after != 0, result.closeAsked);
        EXPECT_TRUE(Take(window, WM_USER + 7, 0));
        EXPECT_FALSE(Take(window, WM_LBUTTONDOWN, 0));
        if (request.after) {
            EXPECT_TRUE(Take(window, request.after, request.afterWParam));
        }
        EXPECT_FALSE(Take(window, request.message, request.wParam));
    }
    UntilStopped work;
    PostQuitMessage(3);
    EXPECT_TRUE(WaitWhileBusy(work.thread, work.calls).closeAsked);
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, quit.wParam);
    DestroyWindow(window);
}
