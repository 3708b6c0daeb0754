#pragma once
// The thread that runs sync callbacks. It holds no engine lock while a callback runs, so a
// callback may wait for a thread that is itself calling into the engine. It starts with the
// first sync that falls due and ends when the engine is freed.

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "audio/SyncEvent.h"

namespace larkaudio {

class SyncDispatcher {
public:
    // isAlive tells whether a sync is still set when its turn comes (a removed sync, or one of
    // a freed stream, is skipped).
    explicit SyncDispatcher(std::function<bool(HSYNC)> isAlive);
    // Ends the thread and waits for it, also for a callback that is still running.
    ~SyncDispatcher();
    SyncDispatcher(const SyncDispatcher&) = delete;
    SyncDispatcher& operator=(const SyncDispatcher&) = delete;

    void Post(const std::vector<SyncEvent>& events);

    // Drops the events still queued and ends the thread. An idle thread is waited for here; a
    // thread inside a callback is not (the callback may be waiting for the caller): it ends
    // when the callback returns and is waited for by a later Stop or Post. The next Post
    // starts a new thread.
    void Stop();

private:
    struct Worker {
        SyncDispatcher* owner = nullptr;
        HANDLE handle = nullptr;
        bool stop = false;   // guarded by m_lock
        bool busy = false;   // inside a callback; guarded by m_lock
    };

    static DWORD WINAPI ThreadProc(void* worker);
    void Run(Worker& worker);
    // Closes the threads that have ended; m_lock held.
    void ReapEnded();

    std::function<bool(HSYNC)> m_isAlive;
    std::mutex m_lock;
    std::condition_variable m_ready;
    std::deque<SyncEvent> m_queue;
    Worker* m_current = nullptr;
    std::vector<Worker*> m_stopping;   // told to stop, not yet waited for
};

}  // namespace larkaudio
