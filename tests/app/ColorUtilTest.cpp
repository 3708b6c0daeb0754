#include "app/ColorUtil.h"
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

int Hue(DWORD hls) { return hls & 0xFF; }
int Light(DWORD hls) { return (hls >> 8) & 0xFF; }
int Sat(DWORD hls) { return (hls >> 16) & 0xFF; }

// The conversions work in single precision and truncate, so a round trip may lose a unit
// or two per channel; the hue byte (steps of 1.41 degrees) costs a saturated colour up to
// about six units more in the channel that the hue moves.
::testing::AssertionResult Near(COLORREF expected, COLORREF actual, int tolerance = 2) {
    int dr = std::abs(GetRValue(expected) - GetRValue(actual));
    int dg = std::abs(GetGValue(expected) - GetGValue(actual));
    int db = std::abs(GetBValue(expected) - GetBValue(actual));
    if (dr <= tolerance && dg <= tolerance && db <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected (" << (int)GetRValue(expected) << ","
                                         << (int)GetGValue(expected) << "," << (int)GetBValue(expected)
                                         << ") got (" << (int)GetRValue(actual) << "," << (int)GetGValue(actual)
                                         << "," << (int)GetBValue(actual) << ")";
}

const COLORREF kSamples[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(255, 0, 0),   RGB(0, 255, 0),
                             RGB(0, 0, 255),   RGB(69, 98, 136),   RGB(240, 240, 255), RGB(12, 200, 99),
                             RGB(128, 64, 32), RGB(250, 251, 3),   RGB(1, 2, 3),       RGB(200, 10, 180)};

}  // namespace

TEST(ColorUtil, GreysAndPrimaries) {
    DWORD white = RGBToHLS(RGB(255, 255, 255));
    EXPECT_EQ(255, Light(white));
    EXPECT_EQ(0, Hue(white));
    EXPECT_EQ(0, Sat(white));
    EXPECT_EQ(0u, RGBToHLS(RGB(0, 0, 0)));

    // Red's hue is 360 degrees, not 0.
    DWORD red = RGBToHLS(RGB(255, 0, 0));
    EXPECT_EQ(255, Hue(red));
    EXPECT_EQ(127, Light(red));
    EXPECT_EQ(255, Sat(red));
    EXPECT_TRUE(Near(RGB(255, 0, 0), HLSToRGB(red)));

    DWORD green = RGBToHLS(RGB(0, 255, 0));
    EXPECT_EQ(120 * 255 / 360, Hue(green));
    DWORD blue = RGBToHLS(RGB(0, 0, 255));
    EXPECT_EQ(240 * 255 / 360, Hue(blue));
}

TEST(ColorUtil, ZeroSaturationIsGrey) {
    for (int l = 0; l < 256; l += 17) {
        for (int h = 0; h < 256; h += 51) {
            COLORREF c = HLSToRGB(static_cast<DWORD>(h | (l << 8)));
            EXPECT_EQ(RGB(l, l, l), c) << h << " " << l;
        }
    }
}

TEST(ColorUtil, RoundTripsWithinTolerance) {
    // Greys, primaries and soft colours keep within two units.
    const COLORREF soft[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(128, 128, 128), RGB(255, 0, 0),
                             RGB(0, 255, 0), RGB(0, 0, 255), RGB(69, 98, 136), RGB(240, 240, 255),
                             RGB(224, 224, 224), RGB(1, 2, 3)};
    for (COLORREF c : soft) EXPECT_TRUE(Near(c, HLSToRGB(RGBToHLS(c))));
    for (COLORREF c : soft) EXPECT_TRUE(Near(c, AdjustColorHLS(c, 0, 0)));
    // Any colour keeps within the hue step.
    for (COLORREF c : kSamples) EXPECT_TRUE(Near(c, AdjustColorHLS(c, 0, 0), 7));
    for (int v = 0; v < 256; v += 5) {
        COLORREF c = RGB(v, 255 - v, (v * 7) & 255);
        EXPECT_TRUE(Near(c, HLSToRGB(RGBToHLS(c)), 7)) << v;
    }
}

TEST(ColorUtil, HueToRgbSegments) {
    EXPECT_EQ(0, HueToRGB(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(127, HueToRGB(0.0f, 1.0f, 30.0f));
    EXPECT_EQ(255, HueToRGB(0.0f, 1.0f, 120.0f));
    EXPECT_EQ(127, HueToRGB(0.0f, 1.0f, 210.0f));
    EXPECT_EQ(0, HueToRGB(0.0f, 1.0f, 300.0f));
    EXPECT_EQ(255, HueToRGB(0.0f, 1.0f, 480.0f));    // 120 after wrapping
    EXPECT_EQ(0, HueToRGB(0.0f, 1.0f, -120.0f));     // 240 after wrapping
}

TEST(ColorUtil, AdjustLightnessAndSaturation) {
    for (COLORREF c : kSamples) {
        // White and black up to the float rounding of the algorithm.
        EXPECT_TRUE(Near(RGB(255, 255, 255), AdjustColorHLS(c, 100, 0), 1));
        EXPECT_TRUE(Near(RGB(0, 0, 0), AdjustColorHLS(c, -100, 0), 1));
        // Saturation removed: the grey of the same lightness.
        BYTE l = static_cast<BYTE>(Light(RGBToHLS(c)));
        EXPECT_EQ(RGB(l, l, l), AdjustColorHLS(c, 0, -100));
        // Saturation is never raised.
        EXPECT_EQ(AdjustColorHLS(c, 0, 0), AdjustColorHLS(c, 0, 50));
    }
    // Lighter and darker move the lightness the stated share of the way.
    COLORREF c = RGB(69, 98, 136);
    int l = Light(RGBToHLS(c));
    EXPECT_NEAR(l + (255 - l) / 2, Light(RGBToHLS(AdjustColorHLS(c, 50, 0))), 2);
    EXPECT_NEAR(l / 2, Light(RGBToHLS(AdjustColorHLS(c, -50, 0))), 2);
    EXPECT_NEAR(Sat(RGBToHLS(c)) / 2, Sat(RGBToHLS(AdjustColorHLS(c, 0, -50))), 3);
}
