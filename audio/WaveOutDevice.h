#pragma once
// A wave-out device (or the wave mapper) fed 16-bit stereo PCM blocks.

#include "audio/OutputDevice.h"

#include <mmsystem.h>
#include <memory>
#include <mutex>
#include <vector>

namespace larkaudio {

class WaveOutDevice : public OutputDevice {
public:
    ~WaveOutDevice() override;
    // Opens wave-out device `id` (WAVE_MAPPER for the default); null with *error on failure.
    static std::unique_ptr<WaveOutDevice> Open(UINT id, int rate, int* error);

    uint64_t HeardFrames() override;
    bool Submit(const float* frames, size_t count) override;
    HANDLE CompletionEvent() const override { return m_event; }

private:
    struct Block {
        WAVEHDR header{};
        std::vector<int16_t> samples;
        bool prepared = false;
    };
    explicit WaveOutDevice(int rate) : OutputDevice(rate) {}

    HWAVEOUT m_wave = nullptr;
    HANDLE m_event = nullptr;
    std::vector<std::unique_ptr<Block>> m_blocks;
    std::mutex m_positionLock;
    uint32_t m_lastRaw = 0;
    uint64_t m_wraps = 0;
};

}  // namespace larkaudio
