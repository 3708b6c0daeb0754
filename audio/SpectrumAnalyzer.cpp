#include "audio/SpectrumAnalyzer.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/mem.h>
#include <libavutil/tx.h>
}

namespace larkaudio {

SpectrumAnalyzer::SpectrumAnalyzer() : m_window(kSize) {
    m_in = static_cast<float*>(av_malloc(2 * kSize * sizeof(float)));
    m_out = static_cast<float*>(av_malloc(2 * kSize * sizeof(float)));
    const double pi = 3.14159265358979323846;
    double sum = 0;
    for (int i = 0; i < kSize; ++i) {
        m_window[i] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * pi * i / kSize));
        sum += m_window[i];
    }
    m_scale = static_cast<float>(2.0 / sum);
    const float unit = 1.0f;
    av_tx_fn fn = nullptr;
    if (m_in && m_out && av_tx_init(&m_tx, &fn, AV_TX_FLOAT_FFT, 0, kSize, &unit, 0) == 0) m_fn = fn;
}

SpectrumAnalyzer::~SpectrumAnalyzer() {
    av_tx_uninit(&m_tx);
    av_free(m_in);
    av_free(m_out);
}

void SpectrumAnalyzer::Compute(const float* frames, int channels, float* bins) {
    if (!m_fn) {
        std::fill(bins, bins + kBins, 0.0f);
        return;
    }
    const float mix = 1.0f / static_cast<float>(channels);
    for (int i = 0; i < kSize; ++i) {
        float s = 0;
        for (int c = 0; c < channels; ++c) s += frames[i * channels + c];
        m_in[2 * i] = s * mix * m_window[i];
        m_in[2 * i + 1] = 0.0f;
    }
    m_fn(m_tx, m_out, m_in, 2 * sizeof(float));
    for (int k = 0; k < kBins; ++k) {
        const float re = m_out[2 * k], im = m_out[2 * k + 1];
        bins[k] = std::sqrt(re * re + im * im) * (k == 0 ? m_scale / 2 : m_scale);
    }
}

DWORD SpectrumAnalyzer::PeakLevels(const float* frames, size_t count, int channels) {
    float left = 0, right = 0;
    for (size_t i = 0; i < count; ++i) {
        const float* f = frames + i * channels;
        left = std::max(left, std::fabs(f[0]));
        right = std::max(right, std::fabs(channels > 1 ? f[1] : f[0]));
    }
    const auto level = [](float v) { return static_cast<DWORD>(std::lround(std::min(v, 1.0f) * 32768.0f)); };
    return level(left) | (level(right) << 16);
}

}  // namespace larkaudio
