#pragma once
// An output device: takes blocks of 32-bit float stereo frames and tells how many frames the
// listener has heard so far, which drives every heard position of the engine.

#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <atomic>
#include <memory>

namespace larkaudio {

class OutputDevice {
public:
    virtual ~OutputDevice() = default;

    int Rate() const { return m_rate; }
    // Frames handed to Submit since the device opened.
    uint64_t SubmittedFrames() const { return m_submitted; }
    // Frames heard since the device opened (never more than submitted). Any thread.
    virtual uint64_t HeardFrames() = 0;
    // Queues frames (stereo, interleaved). Output thread only.
    virtual bool Submit(const float* frames, size_t count) = 0;
    // An event set when the device has finished a block, or null.
    virtual HANDLE CompletionEvent() const { return nullptr; }

protected:
    explicit OutputDevice(int rate) : m_rate(rate) {}
    int m_rate;
    std::atomic<uint64_t> m_submitted{0};
};

// Opens device -1 (default), 0 (no sound) or k >= 1 (wave-out device k-1) at the given rate.
// With silentDevices > 0, -1 and 1..silentDevices open as silent devices instead of wave-out.
// Null with *error set (BASS_ERROR_DEVICE, BASS_ERROR_FORMAT, BASS_ERROR_DRIVER) on failure.
std::unique_ptr<OutputDevice> OpenOutputDevice(int device, int rate, int silentDevices, int* error);

}  // namespace larkaudio
