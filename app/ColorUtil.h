#pragma once
#include <windows.h>

// Packed HLS: hue (0-360 mapped to 0-255) in bits 0-7, lightness in 8-15, saturation in 16-23.
DWORD RGBToHLS(COLORREF rgb);
COLORREF HLSToRGB(DWORD hls);
int HueToRGB(float m1, float m2, float hue);
// Lighter (l > 0) or darker (l < 0) by percent, and less saturated (s < 0) by percent.
COLORREF AdjustColorHLS(COLORREF rgb, int lightnessPercent, int saturationPercent);
