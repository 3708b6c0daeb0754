// The UI thread's wait for work that may never end: what stops the work, and what the windows
// still do meanwhile.
#include "framework/BusyWait.h"
#include "framework/SentMessageWait.h"
#include <gtest/gtest.h>
#include <atomic>
#include <functional>
#include <vector>

namespace {

// A top-level window that answers WM_USER with 42 and counts its paints.
struct TestWindow {
    explicit TestWindow(bool visible) {
        static const wchar_t kClass[] = L"LarkBusyWaitTest";
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, kClass, L"", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 0, 0, 200, 100,
                               nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestWindow() { DestroyWindow(hwnd); }

    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (self && m == WM_USER) {
            self->answeredInsideWait = InsideAnsweringWait();
            return 42;
        }
        if (self && m == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(h, &ps);
            EndPaint(h, &ps);
            ++self->paints;
            return 0;
        }
        return DefWindowProcW(h, m, w, l);
    }

    HWND hwnd = nullptr;
    bool answeredInsideWait = false;
    std::atomic<int> paints{0};
};

// A thread running `body`, with the handle the wait takes.
class Work {
public:
    explicit Work(std::function<void()> body) : m_body(std::move(body)) {
        handle = CreateThread(nullptr, 0, [](void* self) -> DWORD {
            static_cast<Work*>(self)->m_body();
            return 0;
        }, this, 0, nullptr);
    }
    ~Work() {
        WaitForSingleObject(handle, INFINITE);
        CloseHandle(handle);
    }
    HANDLE handle = nullptr;

private:
    std::function<void()> m_body;
};

// Work that runs until it is stopped.
struct UntilStopped {
    UntilStopped() : stopEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)), work([this] { WaitForSingleObject(stopEvent, 60000); }) {
        calls.stop = [this] {
            ++stops;
            SetEvent(stopEvent);
        };
    }
    ~UntilStopped() { SetEvent(stopEvent); }
    HANDLE Handle() { return work.handle; }

    HANDLE stopEvent;
    Work work;
    BusyWaitCalls calls;
    int stops = 0;
};

bool Queued(HWND hwnd, UINT message, WPARAM wParam) {
    MSG m;
    if (!PeekMessageW(&m, hwnd, message, message, PM_REMOVE)) return false;
    return m.wParam == wParam;
}

}  // namespace

TEST(BusyWait, EscapeAndEveryCloseRequestStopTheWorkAndTheClosesArePostedAgain) {
    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
        bool close;
        UINT posted;   // what is in the queue afterwards (0: nothing)
        WPARAM postedWParam;
    } requests[] = {
        {"Escape", WM_KEYDOWN, VK_ESCAPE, false, 0, 0},
        {"WM_CLOSE", WM_CLOSE, 0, true, WM_CLOSE, 0},
        {"SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE, true, WM_SYSCOMMAND, SC_CLOSE},
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, true, WM_SYSCOMMAND, SC_CLOSE},
        {"the close box", WM_NCLBUTTONDOWN, HTCLOSE, true, WM_SYSCOMMAND, SC_CLOSE},
    };
    TestWindow window(false);
    for (const auto& request : requests) {
        SCOPED_TRACE(request.what);
        UntilStopped work;
        PostMessageW(window.hwnd, request.message, request.wParam, 0);
        const BusyWaitResult result = WaitWhileBusy(work.Handle(), work.calls);
        EXPECT_TRUE(result.ended);
        EXPECT_TRUE(result.stopAsked);
        EXPECT_EQ(request.close, result.closeAsked);
        EXPECT_GE(work.stops, 1);
        if (request.posted) {
            EXPECT_TRUE(Queued(window.hwnd, request.posted, request.postedWParam));
        }
        if (request.posted != request.message) {
            EXPECT_FALSE(Queued(window.hwnd, request.message, request.wParam)) << "the request itself is not handed on";
        }
    }

    // WM_QUIT too, posted again for the message loop.
    UntilStopped work;
    PostQuitMessage(3);
    const BusyWaitResult result = WaitWhileBusy(work.Handle(), work.calls);
    EXPECT_TRUE(result.closeAsked);
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, quit.wParam);
}

TEST(BusyWait, TheWindowsAnswerAndRepaintWhileOtherInputIsDroppedAndPostedMessagesWait) {
    TestWindow window(true);
    InvalidateRect(window.hwnd, nullptr, TRUE);
    const int paintsBefore = window.paints;
    PostMessageW(window.hwnd, WM_USER + 7, 0, 0);
    PostMessageW(window.hwnd, WM_LBUTTONDOWN, 0, 0);
    PostMessageW(window.hwnd, WM_KEYDOWN, 'A', 0);

    HANDLE slowShown = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<bool> slowCalls;
    BusyWaitCalls calls;
    calls.slowAfterMs = 50;
    calls.slow = [&](bool slow) {
        slowCalls.push_back(slow);
        if (slow) SetEvent(slowShown);
    };
    LRESULT answer = 0;
    // The work needs this thread's answer, then ends once it is told it takes long and the
    // window has repainted.
    BusyWaitResult result;
    {
        Work work([&] {
            answer = SendMessageW(window.hwnd, WM_USER, 0, 0);
            WaitForSingleObject(slowShown, 60000);
            for (int i = 0; i < 6000 && window.paints == paintsBefore; ++i) Sleep(10);
        });
        result = WaitWhileBusy(work.handle, calls);
    }
    CloseHandle(slowShown);

    EXPECT_TRUE(result.ended);
    EXPECT_FALSE(result.stopAsked);
    EXPECT_EQ(42, answer);
    EXPECT_TRUE(window.answeredInsideWait);
    EXPECT_FALSE(InsideAnsweringWait());
    EXPECT_GT(window.paints, paintsBefore);
    EXPECT_EQ((std::vector<bool>{true, false}), slowCalls);
    EXPECT_TRUE(Queued(window.hwnd, WM_USER + 7, 0)) << "posted messages wait for the message loop";
    EXPECT_FALSE(Queued(window.hwnd, WM_LBUTTONDOWN, 0)) << "input during the wait is dropped";
    EXPECT_FALSE(Queued(window.hwnd, WM_KEYDOWN, 'A'));
}
