#pragma once
// Level and spectrum measurements of interleaved float frames.

#include <windows.h>
#include <cstddef>
#include <vector>

struct AVTXContext;

namespace larkaudio {

class SpectrumAnalyzer {
public:
    static constexpr int kSize = 2048;
    static constexpr int kBins = kSize / 2;

    SpectrumAnalyzer();
    ~SpectrumAnalyzer();
    SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
    SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

    // Magnitudes of kSize frames (channels mixed to mono, Hann window) into kBins floats,
    // scaled so that a full-scale sine on a bin gives about 1.0.
    void Compute(const float* frames, int channels, float* bins);

    // Peak levels of `count` frames: left in the low word, right in the high word, 0-32768.
    // A mono source gives the same level on both sides.
    static DWORD PeakLevels(const float* frames, size_t count, int channels);

private:
    AVTXContext* m_tx = nullptr;
    void (*m_fn)(AVTXContext*, void*, void*, ptrdiff_t) = nullptr;
    std::vector<float> m_window;
    float m_scale = 1.0f;
    // Complex, interleaved re/im; allocated by FFmpeg, whose transforms need aligned buffers.
    float* m_in = nullptr;
    float* m_out = nullptr;
};

}  // namespace larkaudio
