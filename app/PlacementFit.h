#pragma once
#include <windows.h>
#include <vector>

// Bringing a stored window placement back onto the monitors attached now, as Windows does for
// its own windows (Wine does not).

// The smallest normal size the main window is restored at: below 320 x 240 pixels the menu
// bar and the search band no longer fit a row each, and the caption, the rows of the rebar and
// the status bar leave no room for the play list.
constexpr SIZE kMinPlacementSize{320, 240};

// Where a window whose normal rectangle is `rect` (screen coordinates) goes on monitors with
// these work areas. A rectangle narrower or lower than `minimum` (or turned inside out) grows
// to it from its top-left corner, never beyond the size of the nearest work area (most overlap,
// else the shortest gap); one wider or higher than window coordinates reach (32767) shrinks to
// that work area's size. One that then lies wholly outside every work area is moved into the
// nearest one, shrunk to fit it. Anything else stays as it is; so does every rectangle when
// there are no work areas.
RECT FitWindowRect(const RECT& rect, const std::vector<RECT>& workAreas, SIZE minimum);

// The work areas of the monitors attached now.
std::vector<RECT> MonitorWorkAreas();

// Fits the normal rectangle of a placement (workspace coordinates: relative to the primary
// monitor's work area) to the monitors attached now, with FitWindowRect.
void FitPlacementToMonitors(WINDOWPLACEMENT& placement, SIZE minimum);
