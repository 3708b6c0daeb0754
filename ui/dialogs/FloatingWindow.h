#pragma once
#include <windows.h>

// Helpers shared by the lyrics and cover windows.

// Moves the window to a stored placement: always when it was stored shown (show command 5),
// otherwise only when its normal rectangle lies inside the desktop; a rectangle off every
// monitor is brought onto the nearest one. A length of 0 is no placement.
void RestoreFloatingPlacement(HWND window, const WINDOWPLACEMENT& placement);
// Whether a stored placement is used (the rule above), for a desktop rectangle.
bool UseFloatingPlacement(const WINDOWPLACEMENT& placement, const RECT& desktop);

// Below 100 % the window is layered at that opacity (or opaque while `focused`); at 100 %
// and more it is not layered.
void ApplyWindowOpacity(HWND window, int alphaPercent, bool focused);

// While the main window is minimised a shown floating window keeps a taskbar button.
void SyncAppWindowStyle(HWND window, bool showing);
