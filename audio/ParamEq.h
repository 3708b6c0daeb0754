#pragma once
// One band of the parametric equaliser: a peaking biquad filter with a centre frequency, a
// bandwidth in semitones and a gain in dB, run on interleaved float frames.

#include <cstddef>

namespace larkaudio {

class ParamEq {
public:
    static constexpr int kMaxChannels = 8;

    ParamEq(int sampleRate, int channels);

    // False, leaving the band unchanged, when a value is out of range (centre 31-16000 Hz,
    // bandwidth 1-36 semitones, gain -15 to +15 dB). A centre above 0.45 x the sample rate is
    // filtered at that limit.
    bool SetParameters(float centre, float bandwidth, float gain);
    float Centre() const { return m_centre; }
    float Bandwidth() const { return m_bandwidth; }
    float Gain() const { return m_gain; }

    void Process(float* frames, size_t count);
    // Forgets the filter history (after a seek).
    void Reset();

private:
    void Design();

    int m_rate;
    int m_channels;
    float m_centre = 8000.0f;
    float m_bandwidth = 12.0f;
    float m_gain = 0.0f;
    bool m_flat = true;
    double m_b0 = 1, m_b1 = 0, m_b2 = 0, m_a1 = 0, m_a2 = 0;
    double m_z1[kMaxChannels] = {};
    double m_z2[kMaxChannels] = {};
};

}  // namespace larkaudio
