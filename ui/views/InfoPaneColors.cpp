#include "ui/views/InfoPaneColors.h"
#include "app/ColorUtil.h"

COLORREF ScaleLightness(COLORREF color, float factor) {
    DWORD hls = RGBToHLS(color);
    float lightness = static_cast<float>((hls >> 8) & 0xFF) * factor;
    if (lightness < 0.0f) lightness = 0.0f;
    if (lightness > 255.0f) lightness = 255.0f;
    hls = (hls & ~0xFF00u) | (static_cast<DWORD>(lightness) << 8);
    return HLSToRGB(hls);
}

InfoPaneColors DeriveInfoPaneColors(const CAppSettings::InformationView& view) {
    InfoPaneColors c{};
    c.background90 = ScaleLightness(view.colorBackground, 0.9f);
    c.background80 = ScaleLightness(view.colorBackground, 0.8f);
    c.background70 = ScaleLightness(view.colorBackground, 0.7f);
    c.background60 = ScaleLightness(view.colorBackground, 0.6f);
    c.ink = ScaleLightness(view.colorBackground, 0.2f);
    c.generic2 = view.colorGeneric2;
    c.generic2_96 = ScaleLightness(view.colorGeneric2, 0.96f);
    c.generic2_92 = ScaleLightness(view.colorGeneric2, 0.92f);
    c.generic2_88 = ScaleLightness(view.colorGeneric2, 0.88f);
    c.generic2_84 = ScaleLightness(view.colorGeneric2, 0.84f);
    c.generic2_80 = ScaleLightness(view.colorGeneric2, 0.8f);
    c.dim = ScaleLightness(view.colorGeneric1, 0.8f);
    return c;
}

BYTE AlphaFromPercent(int percent) {
    if (percent >= 100) return 255;
    if (percent <= 0) return 0;
    return static_cast<BYTE>(percent * 255 / 100);
}
