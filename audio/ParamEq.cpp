#include "audio/ParamEq.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace larkaudio {

ParamEq::ParamEq(int sampleRate, int channels)
    : m_rate(sampleRate > 0 ? sampleRate : 44100), m_channels(std::min(std::max(channels, 1), kMaxChannels)) {
    Design();
}

bool ParamEq::SetParameters(float centre, float bandwidth, float gain) {
    // Small tolerance so that values written as text and read back still pass.
    if (!(centre >= 30.999f && centre <= 16000.001f)) return false;
    if (!(bandwidth >= 0.999f && bandwidth <= 36.001f)) return false;
    if (!(gain >= -15.001f && gain <= 15.001f)) return false;
    m_centre = centre;
    m_bandwidth = bandwidth;
    m_gain = gain;
    Design();
    return true;
}

// The peaking filter of the well-known audio-EQ cookbook, bandwidth given in octaves.
void ParamEq::Design() {
    m_flat = std::fabs(m_gain) < 1e-4f;
    const double pi = 3.14159265358979323846;
    const double centre = std::min<double>(m_centre, 0.45 * m_rate);
    const double w0 = 2.0 * pi * centre / m_rate;
    const double octaves = m_bandwidth / 12.0;
    const double sinW = std::sin(w0);
    const double alpha = sinW * std::sinh(std::log(2.0) / 2.0 * octaves * w0 / sinW);
    const double a = std::pow(10.0, m_gain / 40.0);
    const double a0 = 1.0 + alpha / a;
    m_b0 = (1.0 + alpha * a) / a0;
    m_b1 = (-2.0 * std::cos(w0)) / a0;
    m_b2 = (1.0 - alpha * a) / a0;
    m_a1 = m_b1;
    m_a2 = (1.0 - alpha / a) / a0;
}

void ParamEq::Process(float* frames, size_t count) {
    if (m_flat) return;
    for (int c = 0; c < m_channels; ++c) {
        double z1 = m_z1[c], z2 = m_z2[c];
        float* p = frames + c;
        for (size_t i = 0; i < count; ++i, p += m_channels) {
            // Transposed direct form II.
            const double x = *p;
            const double y = m_b0 * x + z1;
            z1 = m_b1 * x - m_a1 * y + z2;
            z2 = m_b2 * x - m_a2 * y;
            *p = static_cast<float>(y);
        }
        // Keep denormals out of the state.
        m_z1[c] = std::fabs(z1) < 1e-20 ? 0.0 : z1;
        m_z2[c] = std::fabs(z2) < 1e-20 ? 0.0 : z2;
    }
}

void ParamEq::Reset() {
    std::fill(std::begin(m_z1), std::end(m_z1), 0.0);
    std::fill(std::begin(m_z2), std::end(m_z2), 0.0);
}

}  // namespace larkaudio
