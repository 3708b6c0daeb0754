#include "audio/SyncDispatcher.h"

#include <thread>

namespace larkaudio {

SyncDispatcher::SyncDispatcher(std::function<bool(HSYNC)> isAlive) : m_isAlive(std::move(isAlive)) {}

void SyncDispatcher::Post(const std::vector<SyncEvent>& events) {
    if (events.empty()) return;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_queue.insert(m_queue.end(), events.begin(), events.end());
        if (!m_started) {
            std::thread(&SyncDispatcher::Run, this).detach();
            m_started = true;  // only once the thread exists: a failed start is tried again
        }
    }
    m_ready.notify_one();
}

void SyncDispatcher::Run() {
    for (;;) {
        SyncEvent event;
        {
            std::unique_lock<std::mutex> guard(m_lock);
            m_ready.wait(guard, [&] { return !m_queue.empty(); });
            event = m_queue.front();
            m_queue.pop_front();
        }
        try {
            if (!event.proc || !m_isAlive(event.sync)) continue;
            event.proc(event.sync, event.channel, 0, event.user);
        } catch (...) {
            // Nothing may end the thread that serves every sync.
        }
    }
}

}  // namespace larkaudio
