#pragma once
#include <string>

// The text of a hot-key code (virtual key in the low byte; Shift 1, Ctrl 2, Alt 4, extended 8
// above), as the hot-key control shows it: "Ctrl + Shift + Alt + A". Empty for 0. Rendered
// here because not every platform's hot-key control gives its text.
std::wstring HotKeyName(int hotKey);
