#pragma once
#include "app/AppSettings.h"
#include <windows.h>

// A colour with its HLS lightness multiplied by `factor`.
COLORREF ScaleLightness(COLORREF color, float factor);

// The now-playing pane's colours derived from its settings.
struct InfoPaneColors {
    COLORREF background90, background80, background70, background60;
    COLORREF ink;              // the pane's own text colour: "Color.Background" x 0.2
    COLORREF generic2;         // "Color.Generic2" itself
    COLORREF generic2_96, generic2_92, generic2_88, generic2_84, generic2_80;
    COLORREF dim;              // "Color.Generic1" x 0.8
};

InfoPaneColors DeriveInfoPaneColors(const CAppSettings::InformationView& view);

// The 0-255 alpha of an opacity percentage; 100 and more are opaque.
BYTE AlphaFromPercent(int percent);
