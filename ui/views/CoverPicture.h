#pragma once
#include "tags/PictureSize.h"
#include <windows.h>

// The cross-fade of the jacket button: steps 0, 5, ..., 100 per cent.
constexpr int CoverFadeStepCount = 21;
struct CoverFadeAlphas {
    BYTE oldPicture;
    BYTE newPicture;
};
CoverFadeAlphas CoverFadeStep(int step);

// Where a picture of width x height goes inside `target`: at its own size and centred when
// it fits and zoom is off, else scaled to fit with its aspect ratio and centred.
RECT FitImageRect(const RECT& target, int width, int height, bool zoom);

// The cover window's zoom for a new picture on a desktop of the given client size.
int ChooseCoverZoom(int width, int height, int desktopWidth, int desktopHeight);
// A zoom in per cent that never drops below 1.
int ClampCoverZoom(int zoom);

// While a border of the cover window is dragged (WMSZ_* edge), moves the window rectangle's
// edges so that its client area, `frameWidth` x `frameHeight` smaller, keeps the picture's
// aspect ratio. Returns the zoom that the new client width gives.
int KeepCoverAspect(int edge, RECT& window, int frameWidth, int frameHeight, int pictureWidth,
                    int pictureHeight);

// Whether a cover picture of this size is decoded: up to 16,384 pixels a side and 64
// megapixels (a 32-bit copy of 256 MB). A larger one is shown as no picture.
bool IsCoverSizeDecodable(const tagReader::PictureSize& size);
