#include "framework/WinThread.h"
#include <gtest/gtest.h>
#include <atomic>
#include <vector>

namespace {

constexpr UINT kAddMsg = WM_APP + 1;

// Signals once its queue exists; sums what is posted to it and ends on WM_QUIT.
class SummingThread : public CWinThread {
public:
    SummingThread() { ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~SummingThread() override { ::CloseHandle(ready); }
    BOOL InitInstance() override {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        ::SetEvent(ready);
        return TRUE;
    }
    int ExitInstance() override { return sum; }
    void OnAdd(WPARAM wp, LPARAM) { sum += static_cast<int>(wp); }
    HANDLE ready;
    int sum = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SummingThread, CWinThread)
    ON_THREAD_MESSAGE(kAddMsg, &SummingThread::OnAdd)
END_MESSAGE_MAP()

UINT Worker(void* param) {
    static_cast<std::atomic<int>*>(param)->store(42);
    return 7;
}

}  // namespace

TEST(WinThread, UserInterfaceThreadDispatchesThreadMessagesThroughItsMapAndEndsOnQuit) {
    SummingThread t;
    ASSERT_TRUE(t.CreateThread(CREATE_SUSPENDED));
    t.SetThreadPriority(THREAD_PRIORITY_BELOW_NORMAL);
    t.ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(t.ready, 5000));
    for (int i = 1; i <= 10; ++i) ASSERT_TRUE(t.PostThreadMessage(kAddMsg, i, 0));
    ASSERT_TRUE(t.PostThreadMessage(WM_QUIT, 0, 0));
    EXPECT_TRUE(t.WaitForEnd(5000));
    DWORD code = 0;
    ::GetExitCodeThread(t.m_hThread, &code);
    EXPECT_EQ(55u, code);
    EXPECT_FALSE(t.IsRunning());
}

TEST(WinThread, WorkerThreadRunsItsFunction) {
    std::atomic<int> value{0};
    CWinThread t(&Worker, &value);
    ASSERT_TRUE(t.CreateThread());
    t.WaitForEnd(5000);
    DWORD code = 0;
    ::GetExitCodeThread(t.m_hThread, &code);
    EXPECT_EQ(7u, code);
    EXPECT_EQ(42, value.load());
}

namespace {

UINT SlowWorker(void* param) {
    ::WaitForSingleObject(static_cast<HANDLE>(param), INFINITE);
    ::Sleep(200);
    return 1;
}

}  // namespace

TEST(WinThread, AThreadLateToEndIsWaitedForUntilItHasEnded) {
    HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        CWinThread t(&SlowWorker, go);
        ASSERT_TRUE(t.CreateThread());
        ::SetEvent(go);
        EXPECT_FALSE(t.WaitForEnd(0));   // not ended in time...
        EXPECT_FALSE(t.IsRunning());     // ...but ended before the wait returned
    }
    ::CloseHandle(go);
}
