#pragma once
#include "app/AppSettings.h"
#include <windows.h>
#include <map>

// A hot-key code holds the virtual key in its low byte and these flags in the byte above
// (the hot-key control's own flags).
enum HotKeyFlag { HotKeyShift = 1, HotKeyControl = 2, HotKeyAlt = 4, HotKeyExtended = 8 };

inline UINT HotKeyVirtualKey(int hotKey) { return static_cast<UINT>(hotKey & 0xFF); }
inline int HotKeyFlags(int hotKey) { return (hotKey >> 8) & 0xFF; }

// The system hot-key modifiers (MOD_*) of a code; the extended flag has none.
UINT GlobalHotKeyModifiers(int hotKey);

// The flags of a keystroke, in the hot-key code's form.
int KeystrokeFlags(bool shift, bool control, bool alt, bool extended);

// The action of the first local (not global) entry, in ascending code order, whose key is
// `virtualKey` and whose flags are exactly `flags`; -1 when none is.
int FindLocalHotKey(const std::map<int, HotKeyEntry>& keys, UINT virtualKey, int flags);
