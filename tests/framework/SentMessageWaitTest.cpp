// The UI thread's waits answer messages sent by the thread it waits for.
#include "framework/SentMessageWait.h"
#include <gtest/gtest.h>
#include <thread>

namespace {

// A message-only window whose procedure answers 42 to WM_USER.
HWND CreateAnsweringWindow() {
    static const wchar_t kClass[] = L"LarkSentMessageWaitTest";
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        return m == WM_USER ? 42 : DefWindowProcW(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    return CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

}  // namespace

TEST(SentMessageWait, AThreadThatSendsToTheWaiterIsAnsweredAndFinishes) {
    HWND wnd = CreateAnsweringWindow();
    ASSERT_NE(wnd, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    LRESULT answer = 0;
    std::thread worker([&] {
        answer = SendMessageW(wnd, WM_USER, 0, 0);
        SetEvent(done);
    });
    // A plain wait here would never end: the worker waits for this thread's answer.
    EXPECT_TRUE(WaitAnsweringSentMessages(done, 10000));
    worker.join();
    EXPECT_EQ(answer, 42);
    CloseHandle(done);
    DestroyWindow(wnd);
}

TEST(SentMessageWait, TimesOutOnAnUnsignalledHandleAndSleepsWithoutOne) {
    HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_FALSE(WaitAnsweringSentMessages(never, 30));
    SetEvent(never);
    EXPECT_TRUE(WaitAnsweringSentMessages(never, 0));
    CloseHandle(never);
    EXPECT_FALSE(WaitAnsweringSentMessages(nullptr, 10));
    SleepAnsweringSentMessages(10);   // returns: nothing to wait for but the time
}
