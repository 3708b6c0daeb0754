#include "audio/SampleHistory.h"

#include <algorithm>
#include <cstring>

namespace larkaudio {

void SampleHistory::Reset(int64_t start, size_t capacity) {
    if (capacity > m_capacity) {
        m_capacity = capacity;
        m_ring.assign(m_capacity * m_channels, 0.0f);
    }
    m_held = 0;
    m_end = start;
}

void SampleHistory::Append(const float* frames, size_t count) {
    if (m_capacity == 0) return;
    if (count > m_capacity) {  // only the newest part fits
        frames += (count - m_capacity) * m_channels;
        m_end += static_cast<int64_t>(count - m_capacity);
        count = m_capacity;
    }
    size_t at = static_cast<size_t>(m_end % static_cast<int64_t>(m_capacity));
    size_t left = count;
    while (left > 0) {
        const size_t n = std::min(left, m_capacity - at);
        std::memcpy(&m_ring[at * m_channels], frames, n * m_channels * sizeof(float));
        frames += n * m_channels;
        left -= n;
        at = (at + n) % m_capacity;
    }
    m_end += static_cast<int64_t>(count);
    m_held = std::min(m_capacity, m_held + count);
}

void SampleHistory::Copy(int64_t from, size_t count, float* out) const {
    std::memset(out, 0, count * m_channels * sizeof(float));
    const int64_t lo = std::max(from, Begin());
    const int64_t hi = std::min(from + static_cast<int64_t>(count), m_end);
    for (int64_t f = lo; f < hi; ++f) {
        const size_t at = static_cast<size_t>(f % static_cast<int64_t>(m_capacity));
        std::memcpy(out + (f - from) * m_channels, &m_ring[at * m_channels], m_channels * sizeof(float));
    }
}

}  // namespace larkaudio
