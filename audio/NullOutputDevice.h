#pragma once
// The "no sound" device: discards the frames but hears them in real time, stalling like a real
// device when it runs out of data.

#include "audio/OutputDevice.h"

#include <mutex>

namespace larkaudio {

class NullOutputDevice : public OutputDevice {
public:
    explicit NullOutputDevice(int rate);

    uint64_t HeardFrames() override;
    bool Submit(const float* frames, size_t count) override;

private:
    double Now() const;

    std::mutex m_lock;
    double m_frequency = 1;
    double m_start = 0;           // clock time at which frame 0 would have been heard
    uint64_t m_queued = 0;        // submitted, as the clock thread sees it
};

}  // namespace larkaudio
