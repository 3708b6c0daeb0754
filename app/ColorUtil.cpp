#include "app/ColorUtil.h"
#include <algorithm>

namespace {

BYTE ToByte(float value) {
    if (value <= 0.0f) return 0;
    if (value >= 255.0f) return 255;
    return static_cast<BYTE>(value);
}

DWORD PackHLS(BYTE h, BYTE l, BYTE s) {
    return static_cast<DWORD>(h) | (static_cast<DWORD>(l) << 8) | (static_cast<DWORD>(s) << 16);
}

}  // namespace

DWORD RGBToHLS(COLORREF rgb) {
    float red = GetRValue(rgb), green = GetGValue(rgb), blue = GetBValue(rgb);
    float maxC = std::max(red, std::max(green, blue));
    float minC = std::min(red, std::min(green, blue));
    float lightness = (maxC + minC) / 510.0f;
    BYTE l = ToByte(lightness * 255.0f);
    if (maxC == minC) return PackHLS(0, l, 0);

    float diff = maxC - minC;
    float saturation = lightness <= 0.5f ? diff / (maxC + minC) : diff / (510.0f - maxC - minC);
    float hue;
    if (red == maxC)
        hue = 60.0f * (6.0f + (green - blue) / diff);
    else if (green == maxC)
        hue = 60.0f * (2.0f + (blue - red) / diff);
    else
        hue = 60.0f * (4.0f + (red - green) / diff);
    if (hue > 360.0f) hue -= 360.0f;
    return PackHLS(ToByte(hue * 255.0f / 360.0f), l, ToByte(saturation * 255.0f));
}

int HueToRGB(float m1, float m2, float hue) {
    if (hue > 360.0f)
        hue -= 360.0f;
    else if (hue < 0.0f)
        hue += 360.0f;
    float value;
    if (hue < 60.0f)
        value = m1 + (m2 - m1) * hue / 60.0f;
    else if (hue < 180.0f)
        value = m2;
    else if (hue < 240.0f)
        value = m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
    else
        value = m1;
    return ToByte(value * 255.0f);
}

COLORREF HLSToRGB(DWORD hls) {
    BYTE hueByte = static_cast<BYTE>(hls & 0xFF);
    BYTE lightByte = static_cast<BYTE>((hls >> 8) & 0xFF);
    BYTE satByte = static_cast<BYTE>((hls >> 16) & 0xFF);
    float saturation = satByte / 255.0f;
    if (saturation == 0.0f) return RGB(lightByte, lightByte, lightByte);

    float lightness = lightByte / 255.0f;
    float m2 = lightness <= 0.5f ? lightness * (1.0f + saturation)
                                 : lightness + saturation - lightness * saturation;
    float m1 = 2.0f * lightness - m2;
    float hue = hueByte * 360.0f / 255.0f;
    return RGB(HueToRGB(m1, m2, hue + 120.0f), HueToRGB(m1, m2, hue), HueToRGB(m1, m2, hue - 120.0f));
}

COLORREF AdjustColorHLS(COLORREF rgb, int lightnessPercent, int saturationPercent) {
    DWORD hls = RGBToHLS(rgb);
    int h = hls & 0xFF;
    int l = (hls >> 8) & 0xFF;
    int s = (hls >> 16) & 0xFF;
    if (lightnessPercent > 0)
        l = l + (255 - l) * lightnessPercent / 100;
    else if (lightnessPercent < 0)
        l = l * (100 + lightnessPercent) / 100;
    if (saturationPercent < 0) s = s * (100 + saturationPercent) / 100;
    l = std::min(255, std::max(0, l));
    s = std::min(255, std::max(0, s));
    return HLSToRGB(PackHLS(static_cast<BYTE>(h), static_cast<BYTE>(l), static_cast<BYTE>(s)));
}
