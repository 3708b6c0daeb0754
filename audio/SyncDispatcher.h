#pragma once
// The thread that runs sync callbacks. It holds no engine lock while a callback runs, so a
// callback may wait for a thread that is itself calling into the engine; nothing ever waits
// for this thread. It lives as long as the process.

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

    void Post(const std::vector<SyncEvent>& events);

private:
    void Run();

    std::function<bool(HSYNC)> m_isAlive;
    std::mutex m_lock;
    std::condition_variable m_ready;
    std::deque<SyncEvent> m_queue;
    bool m_started = false;
};

}  // namespace larkaudio
