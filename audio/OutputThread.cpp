#include "audio/OutputThread.h"

#include <algorithm>

#include "audio/Channel.h"
#include "audio/SyncDispatcher.h"

namespace larkaudio {

OutputThread::OutputThread(std::unique_ptr<OutputDevice> device, ChannelList channels, SyncDispatcher& syncs,
                           const std::atomic<int>& bufferMs)
    : m_device(std::move(device)),
      m_channels(std::move(channels)),
      m_syncs(syncs),
      m_bufferMs(bufferMs),
      m_wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_quit(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_done(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_block(static_cast<size_t>(std::max(1, m_device->Rate() / 50))) {}

OutputThread::~OutputThread() {
    Stop();
    CloseHandle(m_wake);
    CloseHandle(m_quit);
    CloseHandle(m_done);
}

void OutputThread::Start() { m_thread = std::thread(&OutputThread::Run, this); }

void OutputThread::Stop() {
    SetEvent(m_quit);
    if (!m_thread.joinable()) return;
    // The caller may be a user-interface thread: answer messages sent to it meanwhile.
    while (MsgWaitForMultipleObjects(1, &m_done, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    m_thread.join();
}

void OutputThread::Run() {
    for (;;) {
        try {
            RunLoop();
            break;
        } catch (...) {
            // Nothing may end this thread but the quit event: after a failure (out of memory)
            // it goes on with the next block.
            if (WaitForSingleObject(m_quit, 10) == WAIT_OBJECT_0) break;
        }
    }
    SetEvent(m_done);
}

void OutputThread::RunLoop() {
    std::vector<float> mix(m_block * 2);
    std::vector<SyncEvent> due;
    const int rate = m_device->Rate();
    for (;;) {
        const auto channels = m_channels();
        bool active = false;
        for (const auto& c : channels) active = c->NeedsOutput() || active;
        const uint64_t queue =
            std::max<uint64_t>(m_block, static_cast<uint64_t>(m_bufferMs.load()) * static_cast<uint64_t>(rate) / 1000);
        if (active) {
            while (m_device->SubmittedFrames() - m_device->HeardFrames() < queue) {
                std::fill(mix.begin(), mix.end(), 0.0f);
                const uint64_t start = m_device->SubmittedFrames();
                for (const auto& c : channels) c->Render(mix.data(), m_block, start);
                if (!m_device->Submit(mix.data(), m_block)) break;
            }
        }
        due.clear();
        const uint64_t heard = m_device->HeardFrames();
        for (const auto& c : channels) c->CheckEnd(heard, due);
        m_syncs.Post(due);

        DWORD timeout = INFINITE;
        if (active) {
            // Wake when one block of the queue has been heard.
            const uint64_t backlog = m_device->SubmittedFrames() - heard;
            const uint64_t low = queue > m_block ? queue - m_block : 0;
            const uint64_t frames = backlog > low ? backlog - low : 0;
            timeout = static_cast<DWORD>(std::max<uint64_t>(1, (frames * 1000 + rate - 1) / rate));
        }
        HANDLE handles[3] = {m_quit, m_wake, m_device->CompletionEvent()};
        const DWORD count = handles[2] ? 3 : 2;
        if (WaitForMultipleObjects(count, handles, FALSE, timeout) == WAIT_OBJECT_0) break;
    }
}

}  // namespace larkaudio
