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
            m_started = true;
            std::thread(&SyncDispatcher::Run, this).detach();
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
        if (!event.proc || !m_isAlive(event.sync)) continue;
        try {
            event.proc(event.sync, event.channel, 0, event.user);
        } catch (...) {
            // A callback's exception must not end the thread that serves every sync.
        }
    }
}

}  // namespace larkaudio
