// The equaliser band, the level meter and the spectrum, on generated signals.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio/ParamEq.h"
#include "audio/SpectrumAnalyzer.h"

using larkaudio::ParamEq;
using larkaudio::SpectrumAnalyzer;

namespace {

const double kPi = 3.14159265358979323846;

std::vector<float> Tone(double hz, double amplitude, int rate, int frames, int channels = 1) {
    std::vector<float> s(static_cast<size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) s[i * channels + c] = float(amplitude * std::sin(2 * kPi * hz * i / rate));
    return s;
}

// Peak of the second half (after the filter has settled).
double SettledPeak(const std::vector<float>& s) {
    double peak = 0;
    for (size_t i = s.size() / 2; i < s.size(); ++i) peak = std::max(peak, double(std::fabs(s[i])));
    return peak;
}

double GainOn(double toneHz, float centre, float gain, int rate = 44100) {
    ParamEq eq(rate, 1);
    EXPECT_TRUE(eq.SetParameters(centre, 18.0f, gain));
    auto s = Tone(toneHz, 0.1, rate, rate / 2);
    eq.Process(s.data(), s.size());
    return SettledPeak(s) / 0.1;
}

}  // namespace

TEST(ParamEq, BandRaisesAndLowersAToneAtItsCentre) {
    EXPECT_NEAR(std::pow(10.0, 12 / 20.0), GainOn(1000, 1000, 12), 0.05);   // +12 dB: x3.98
    EXPECT_NEAR(std::pow(10.0, -12 / 20.0), GainOn(1000, 1000, -12), 0.01); // -12 dB: x0.25
    EXPECT_NEAR(1.0, GainOn(1000, 1000, 0), 1e-4);  // flat: untouched
    // Four octaves away a band of one and a half octaves leaves the tone almost alone.
    EXPECT_NEAR(1.0, GainOn(1000, 16000, 12), 0.05);
    EXPECT_NEAR(1.0, GainOn(1000, 31, -12), 0.05);
    // Half a bandwidth away the boost is partial.
    const double side = GainOn(1000 * std::pow(2.0, 0.75), 1000, 12);
    EXPECT_GT(side, 1.2);
    EXPECT_LT(side, 3.5);
}

TEST(ParamEq, AcceptsOnlyTheEqualiserRanges) {
    ParamEq eq(44100, 2);
    EXPECT_TRUE(eq.SetParameters(31, 18, 0));
    EXPECT_TRUE(eq.SetParameters(16000, 18, 15));
    EXPECT_TRUE(eq.SetParameters(82, 1, -15));
    EXPECT_TRUE(eq.SetParameters(82, 36, 0));
    EXPECT_FALSE(eq.SetParameters(30, 18, 0));
    EXPECT_FALSE(eq.SetParameters(16001, 18, 0));
    EXPECT_FALSE(eq.SetParameters(1000, 0.5f, 0));
    EXPECT_FALSE(eq.SetParameters(1000, 37, 0));
    EXPECT_FALSE(eq.SetParameters(1000, 18, 15.5f));
    EXPECT_FALSE(eq.SetParameters(NAN, 18, 0));
    // A refused value leaves the band as it was.
    EXPECT_FLOAT_EQ(82, eq.Centre());
    EXPECT_FLOAT_EQ(36, eq.Bandwidth());
}

TEST(ParamEq, CentreAboveTheRateLimitStaysStable) {
    // 16 kHz on a 22050 Hz stream lies past Nyquist: filtered at the limit, never unstable.
    ParamEq eq(22050, 1);
    ASSERT_TRUE(eq.SetParameters(16000, 18, 15));
    auto s = Tone(440, 0.5, 22050, 22050);
    eq.Process(s.data(), s.size());
    for (float v : s) ASSERT_TRUE(std::isfinite(v));
    EXPECT_LT(SettledPeak(s), 2.0);
}

TEST(ParamEq, ChannelsAreFilteredSeparately) {
    ParamEq eq(44100, 2);
    ASSERT_TRUE(eq.SetParameters(1000, 18, -12));
    std::vector<float> s(2 * 22050);
    for (int i = 0; i < 22050; ++i) {
        s[2 * i] = float(0.1 * std::sin(2 * kPi * 1000 * i / 44100));  // at the centre
        s[2 * i + 1] = float(0.1 * std::sin(2 * kPi * 15000 * i / 44100));  // far above it
    }
    eq.Process(s.data(), 22050);
    double left = 0, right = 0;
    for (int i = 11025; i < 22050; ++i) {
        left = std::max(left, double(std::fabs(s[2 * i])));
        right = std::max(right, double(std::fabs(s[2 * i + 1])));
    }
    EXPECT_NEAR(0.025, left, 0.003);
    EXPECT_NEAR(0.1, right, 0.01);
}

TEST(SpectrumAnalyzer, PeakBinOfAOneKilohertzTone) {
    SpectrumAnalyzer analyzer;
    auto s = Tone(1000, 1.0, 44100, SpectrumAnalyzer::kSize);
    std::vector<float> bins(SpectrumAnalyzer::kBins);
    analyzer.Compute(s.data(), 1, bins.data());
    const auto peak = std::max_element(bins.begin(), bins.end()) - bins.begin();
    EXPECT_EQ(46, peak);  // 1000 Hz x 2048 / 44100 = 46.4
    EXPECT_GT(bins[46], 0.6f);
    EXPECT_LT(bins[46], 1.05f);
    EXPECT_LT(bins[200], 0.001f);
    // A full-scale tone exactly on bin 100 gives about 1.0.
    auto onBin = Tone(100.0 * 44100 / 2048, 1.0, 44100, SpectrumAnalyzer::kSize);
    analyzer.Compute(onBin.data(), 1, bins.data());
    EXPECT_NEAR(1.0, bins[100], 0.02);
}

TEST(SpectrumAnalyzer, StereoIsMixedAndSilenceIsZero) {
    SpectrumAnalyzer analyzer;
    std::vector<float> s(2 * SpectrumAnalyzer::kSize, 0.0f);
    std::vector<float> bins(SpectrumAnalyzer::kBins);
    analyzer.Compute(s.data(), 2, bins.data());
    for (float b : bins) ASSERT_EQ(0.0f, b);
    // The same tone on both sides gives what it gives in mono.
    auto stereo = Tone(1000, 0.5, 44100, SpectrumAnalyzer::kSize, 2);
    analyzer.Compute(stereo.data(), 2, bins.data());
    const float both = bins[46];
    auto mono = Tone(1000, 0.5, 44100, SpectrumAnalyzer::kSize);
    analyzer.Compute(mono.data(), 1, bins.data());
    EXPECT_NEAR(bins[46], both, 1e-4);
}

TEST(SpectrumAnalyzer, PeakLevelsOfSineAndSquare) {
    const auto sine = Tone(1000, 0.5, 44100, 882);
    DWORD level = SpectrumAnalyzer::PeakLevels(sine.data(), 882, 1);
    EXPECT_NEAR(16384, int(LOWORD(level)), 20);
    EXPECT_EQ(LOWORD(level), HIWORD(level));  // mono: both sides

    std::vector<float> stereo(2 * 882);
    for (int i = 0; i < 882; ++i) {
        stereo[2 * i] = (i / 22) % 2 ? 0.25f : -0.25f;  // square wave
        stereo[2 * i + 1] = 0.0f;
    }
    level = SpectrumAnalyzer::PeakLevels(stereo.data(), 882, 2);
    EXPECT_EQ(8192, LOWORD(level));
    EXPECT_EQ(0, HIWORD(level));
    // Over full scale the level stops at 32768.
    std::vector<float> loud(2, 1.7f);
    level = SpectrumAnalyzer::PeakLevels(loud.data(), 1, 2);
    EXPECT_EQ(32768, LOWORD(level));
    EXPECT_EQ(32768, HIWORD(level));
}
