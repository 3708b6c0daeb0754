#pragma once
#include "audio/bass.h"
#include "document/PlayerStatus.h"
#include <windows.h>
#include <atomic>
#include <deque>
#include <vector>

// The document's status watch: the PlayerStatusBlock with PlayerStatusLock, the listener
// queue, the wake and quit events and the thread that samples the playing stream's
// position, levels and spectrum for the listeners.
class CPlayerStatusWatch {
public:
    CPlayerStatusWatch();
    ~CPlayerStatusWatch();
    CPlayerStatusWatch(const CPlayerStatusWatch&) = delete;
    CPlayerStatusWatch& operator=(const CPlayerStatusWatch&) = delete;

    // Starts `proc(arg)`, which must call Run(), at the given thread priority; clears the
    // block first. False when the thread cannot be created.
    bool Start(LPTHREAD_START_ROUTINE proc, void* arg, int priority);
    // Sets the quit event and waits for the thread while answering sent messages; when it has
    // not ended after `ms`, goes on waiting, since the thread still uses this object. True when
    // it ended within `ms`.
    bool Stop(DWORD ms);
    bool IsRunning() const { return m_thread != nullptr; }

    // The thread's loop; returns when the quit event is set. waitMs is "Watch.Wait".
    void Run(int waitMs);
    // "Watch.Wait" as the loop uses it: 1 to 1000 ms.
    static DWORD ClampWait(int waitMs) { return static_cast<DWORD>(waitMs < 1 ? 1 : (waitMs > 1000 ? 1000 : waitMs)); }
    // Wakes the thread after a state change.
    void Wake() { SetEvent(m_wake); }

    // Appends a listener (user-interface thread).
    void Register(PlayerStatusCallback callback, void* user, int divider);
    // Calls every listener once with a copy of the block, on the calling thread.
    void CallAllListeners();

    // The stream the thread samples (0 for none).
    void SetStream(HSTREAM stream) { m_stream = stream; }

    // Runs f(block) under PlayerStatusLock.
    template <typename F>
    void Update(F f) {
        EnterCriticalSection(&m_lock);
        f(m_block);
        LeaveCriticalSection(&m_lock);
    }
    // A copy of the block taken under PlayerStatusLock.
    PlayerStatusBlock Snapshot();
    int State();

    // The peak level of the current play (raised by the thread) and its valid flag.
    int Peak() const { return m_peak; }
    void ResetPeak(bool valid) {
        m_peak = 0;
        m_peakValid = valid;
    }
    bool PeakValid() const { return m_peakValid; }
    void InvalidatePeak() { m_peakValid = false; }

    // The live block, only to check that nobody is handed it.
    const PlayerStatusBlock* LiveBlock() const { return &m_block; }

    // Ticks that called at least one listener, and samples that failed (for tests).
    unsigned SampleCount() const { return m_samples; }
    unsigned FailedSampleCount() const { return m_failedSamples; }

private:
    enum WaitResult { Woken, Quit, TimedOut };
    WaitResult WaitEvents(DWORD ms);
    bool Sample(PlayerStatusBlock& copy);
    std::vector<PlayerCallbackEntry> Listeners();

    CRITICAL_SECTION m_lock;  // PlayerStatusLock
    PlayerStatusBlock m_block;
    std::deque<PlayerCallbackEntry> m_listeners;
    HANDLE m_wake;
    HANDLE m_quit;
    HANDLE m_thread = nullptr;
    std::atomic<HSTREAM> m_stream{0};
    std::atomic<int> m_peak{0};
    std::atomic<bool> m_peakValid{false};
    std::atomic<unsigned> m_samples{0};
    std::atomic<unsigned> m_failedSamples{0};
};
