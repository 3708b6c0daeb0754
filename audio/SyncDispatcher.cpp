#include "audio/SyncDispatcher.h"

namespace larkaudio {

SyncDispatcher::SyncDispatcher(std::function<bool(HSYNC)> isAlive) : m_isAlive(std::move(isAlive)) {}

SyncDispatcher::~SyncDispatcher() {
    Stop();
    std::vector<Worker*> left;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        left.swap(m_stopping);
    }
    for (Worker* w : left) {
        WaitForSingleObject(w->handle, INFINITE);
        CloseHandle(w->handle);
        delete w;
    }
}

void SyncDispatcher::Post(const std::vector<SyncEvent>& events) {
    if (events.empty()) return;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ReapEnded();
        m_queue.insert(m_queue.end(), events.begin(), events.end());
        if (!m_current) {
            // A Win32 thread whose handle is kept: it is always waited for, never left to itself.
            auto* worker = new Worker;
            worker->owner = this;
            worker->handle = CreateThread(nullptr, 0, &SyncDispatcher::ThreadProc, worker, 0, nullptr);
            if (worker->handle)
                m_current = worker;
            else
                delete worker;   // tried again with the next event
        }
    }
    m_ready.notify_all();
}

void SyncDispatcher::Stop() {
    std::vector<Worker*> idle;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_queue.clear();
        if (m_current) {
            m_current->stop = true;
            m_stopping.push_back(m_current);
            m_current = nullptr;
        }
        ReapEnded();
        // Only a thread outside any callback is waited for: it ends as soon as it sees the stop.
        for (auto it = m_stopping.begin(); it != m_stopping.end();) {
            if ((*it)->busy) {
                ++it;
            } else {
                idle.push_back(*it);
                it = m_stopping.erase(it);
            }
        }
    }
    m_ready.notify_all();
    for (Worker* w : idle) {
        WaitForSingleObject(w->handle, INFINITE);
        CloseHandle(w->handle);
        delete w;
    }
}

void SyncDispatcher::ReapEnded() {
    for (auto it = m_stopping.begin(); it != m_stopping.end();) {
        if (WaitForSingleObject((*it)->handle, 0) == WAIT_OBJECT_0) {
            CloseHandle((*it)->handle);
            delete *it;
            it = m_stopping.erase(it);
        } else {
            ++it;
        }
    }
}

DWORD WINAPI SyncDispatcher::ThreadProc(void* worker) {
    auto* w = static_cast<Worker*>(worker);
    w->owner->Run(*w);
    return 0;
}

void SyncDispatcher::Run(Worker& worker) {
    std::unique_lock<std::mutex> guard(m_lock);
    for (;;) {
        m_ready.wait(guard, [&] { return worker.stop || !m_queue.empty(); });
        if (worker.stop) return;
        const SyncEvent event = m_queue.front();
        m_queue.pop_front();
        worker.busy = true;
        guard.unlock();
        try {
            if (event.proc && m_isAlive(event.sync)) event.proc(event.sync, event.channel, 0, event.user);
        } catch (...) {
            // Nothing may end the thread that serves every sync.
        }
        guard.lock();
        worker.busy = false;
    }
}

}  // namespace larkaudio
