#include "audio/NullOutputDevice.h"

#include <algorithm>

namespace larkaudio {

NullOutputDevice::NullOutputDevice(int rate) : OutputDevice(rate) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    m_frequency = static_cast<double>(f.QuadPart);
    m_start = Now();
}

double NullOutputDevice::Now() const {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / m_frequency;
}

uint64_t NullOutputDevice::HeardFrames() {
    std::lock_guard<std::mutex> guard(m_lock);
    const double played = (Now() - m_start) * m_rate;
    if (played <= 0) return 0;
    return std::min<uint64_t>(m_queued, static_cast<uint64_t>(played));
}

bool NullOutputDevice::Submit(const float*, size_t count) {
    std::lock_guard<std::mutex> guard(m_lock);
    const double now = Now();
    // Ran dry: the clock restarts from the data now queued, as a real device would.
    if ((now - m_start) * m_rate >= static_cast<double>(m_queued)) {
        m_start = now - static_cast<double>(m_queued) / m_rate;
    }
    m_queued += count;
    m_submitted += count;
    return true;
}

}  // namespace larkaudio
