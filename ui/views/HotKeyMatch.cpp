#include "ui/views/HotKeyMatch.h"

UINT GlobalHotKeyModifiers(int hotKey) {
    const int flags = HotKeyFlags(hotKey);
    UINT modifiers = 0;
    if (flags & HotKeyControl) modifiers |= MOD_CONTROL;
    if (flags & HotKeyShift) modifiers |= MOD_SHIFT;
    if (flags & HotKeyAlt) modifiers |= MOD_ALT;
    return modifiers;
}

int KeystrokeFlags(bool shift, bool control, bool alt, bool extended) {
    return (shift ? HotKeyShift : 0) | (control ? HotKeyControl : 0) | (alt ? HotKeyAlt : 0) |
           (extended ? HotKeyExtended : 0);
}

int FindLocalHotKey(const std::map<int, HotKeyEntry>& keys, UINT virtualKey, int flags) {
    for (const auto& [code, entry] : keys) {
        if (entry.isGlobal || entry.hotKey == 0) continue;
        if (HotKeyVirtualKey(entry.hotKey) == virtualKey && HotKeyFlags(entry.hotKey) == flags) return code;
    }
    return -1;
}
