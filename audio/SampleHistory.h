#pragma once
// The most recent frames of a channel after its effects, kept by frame number, from which the
// levels and the spectrum of the heard position are measured.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace larkaudio {

class SampleHistory {
public:
    explicit SampleHistory(int channels) : m_channels(channels) {}

    // Empties the history; the next frame appended is `start`. Keeps at least `capacity` frames.
    void Reset(int64_t start, size_t capacity);
    void Append(const float* frames, size_t count);

    // Frame numbers held: [Begin(), End()).
    int64_t Begin() const { return m_end - static_cast<int64_t>(m_held); }
    int64_t End() const { return m_end; }
    size_t Capacity() const { return m_capacity; }

    // Copies frames [from, from + count) into out (count x channels floats); frames not held
    // are zero.
    void Copy(int64_t from, size_t count, float* out) const;

private:
    int m_channels;
    std::vector<float> m_ring;
    size_t m_capacity = 0;
    size_t m_held = 0;
    int64_t m_end = 0;
};

}  // namespace larkaudio
