#pragma once
#include <windows.h>
#include <commctrl.h>

class CAppSettings;

// Fills `imageList` with the empty (index 0) and full (index 1) rating star. With `verify`
// an image file that cannot be loaded switches the settings back to the built-in icons.
bool CreateRatingImageList(HIMAGELIST& imageList, CAppSettings& settings, bool verify);
