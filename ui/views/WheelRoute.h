#pragma once
#include <windows.h>

// The window that a wheel turned with the cursor at `screenPoint` scrolls: the window
// under the cursor, so an unfocused pane scrolls too. Only a window of the calling
// thread qualifies; for any other (another program, or a window of another thread that
// may be blocked) the result is null and the wheel goes its usual way.
HWND WheelTargetAt(POINT screenPoint);
