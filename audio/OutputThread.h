#pragma once
// The engine's output thread: mixes the playing channels into blocks for the device, keeps the
// device's queue at the playback buffer length, and notices when a channel's end is heard.

#include <windows.h>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "audio/OutputDevice.h"

namespace larkaudio {

class Channel;
class SyncDispatcher;

class OutputThread {
public:
    using ChannelList = std::function<std::vector<std::shared_ptr<Channel>>()>;

    // bufferMs: the playback buffer length, read before every block.
    OutputThread(std::unique_ptr<OutputDevice> device, ChannelList channels, SyncDispatcher& syncs,
                 const std::atomic<int>& bufferMs);
    ~OutputThread();
    OutputThread(const OutputThread&) = delete;
    OutputThread& operator=(const OutputThread&) = delete;

    void Start();
    // Ends the thread and waits for it, answering sent messages; the thread never waits for
    // anything but the device.
    void Stop();
    // Renders at once (after play, resume, seek).
    void Wake() { SetEvent(m_wake); }

    int Rate() const { return m_device->Rate(); }
    uint64_t HeardFrames() { return m_device->HeardFrames(); }
    uint64_t SubmittedFrames() const { return m_device->SubmittedFrames(); }

private:
    void Run();
    void RunLoop();

    std::unique_ptr<OutputDevice> m_device;
    ChannelList m_channels;
    SyncDispatcher& m_syncs;
    const std::atomic<int>& m_bufferMs;
    HANDLE m_wake;
    HANDLE m_quit;
    HANDLE m_done;  // set when Run has returned
    std::thread m_thread;
    size_t m_block;  // frames per block: 20 ms
};

}  // namespace larkaudio
