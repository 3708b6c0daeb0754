#include "ui/dialogs/HotKeyNames.h"
#include <windows.h>
#include <commctrl.h>
#include <cwchar>

namespace {
struct KeyName {
    UINT vk;
    const wchar_t* name;
};
const KeyName kNames[] = {
    {VK_BACK, L"Backspace"}, {VK_TAB, L"Tab"},
    {VK_PAUSE, L"Pause"}, {VK_CAPITAL, L"Caps Lock"}, {VK_ESCAPE, L"Esc"}, {VK_SPACE, L"Space"},
    {VK_SNAPSHOT, L"Print Screen"}, {VK_HELP, L"Help"},
    {VK_LWIN, L"Left Windows"}, {VK_RWIN, L"Right Windows"}, {VK_APPS, L"Application"},
    {VK_MULTIPLY, L"Num *"}, {VK_ADD, L"Num +"}, {VK_SEPARATOR, L"Separator"}, {VK_SUBTRACT, L"Num -"},
    {VK_DECIMAL, L"Num ."}, {VK_DIVIDE, L"Num /"}, {VK_NUMLOCK, L"Num Lock"}, {VK_SCROLL, L"Scroll Lock"},
    {VK_BROWSER_BACK, L"Browser Back"}, {VK_BROWSER_FORWARD, L"Browser Forward"},
    {VK_BROWSER_REFRESH, L"Browser Refresh"}, {VK_BROWSER_STOP, L"Browser Stop"},
    {VK_BROWSER_SEARCH, L"Browser Search"}, {VK_BROWSER_FAVORITES, L"Browser Favorites"},
    {VK_BROWSER_HOME, L"Browser Home"}, {VK_VOLUME_MUTE, L"Volume Mute"}, {VK_VOLUME_DOWN, L"Volume Down"},
    {VK_VOLUME_UP, L"Volume Up"}, {VK_MEDIA_NEXT_TRACK, L"Next Track"}, {VK_MEDIA_PREV_TRACK, L"Previous Track"},
    {VK_MEDIA_STOP, L"Stop"}, {VK_MEDIA_PLAY_PAUSE, L"Play/Pause"}, {VK_LAUNCH_MAIL, L"Mail"},
    {VK_LAUNCH_MEDIA_SELECT, L"Media"}, {VK_LAUNCH_APP1, L"App1"}, {VK_LAUNCH_APP2, L"App2"},
    {VK_CONVERT, L"変換"}, {VK_NONCONVERT, L"無変換"}, {VK_KANA, L"カタカナ/ひらがな"}, {VK_KANJI, L"半角/全角"},
};

// Keys of the navigation block that the number pad also gives (with Num Lock off): the key
// code is the same, only the extended flag tells the navigation block's key apart.
struct SharedKeyName {
    UINT vk;
    const wchar_t* extended;
    const wchar_t* numberPad;
};
const SharedKeyName kSharedNames[] = {
    {VK_PRIOR, L"Page Up", L"Num 9"}, {VK_NEXT, L"Page Down", L"Num 3"}, {VK_END, L"End", L"Num 1"},
    {VK_HOME, L"Home", L"Num 7"},     {VK_LEFT, L"Left", L"Num 4"},      {VK_UP, L"Up", L"Num 8"},
    {VK_RIGHT, L"Right", L"Num 6"},   {VK_DOWN, L"Down", L"Num 2"},      {VK_INSERT, L"Insert", L"Num 0"},
    {VK_DELETE, L"Delete", L"Num Del"}, {VK_CLEAR, L"Clear", L"Num 5"},  {VK_RETURN, L"Num Enter", L"Enter"},
};

std::wstring KeyOnly(UINT vk, bool extended) {
    for (const SharedKeyName& k : kSharedNames)
        if (k.vk == vk) return extended ? k.extended : k.numberPad;
    if ((vk >= L'0' && vk <= L'9') || (vk >= L'A' && vk <= L'Z')) return std::wstring(1, static_cast<wchar_t>(vk));
    wchar_t text[32];
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
        std::swprintf(text, 32, L"Num %u", vk - VK_NUMPAD0);
        return text;
    }
    if (vk >= VK_F1 && vk <= VK_F24) {
        std::swprintf(text, 32, L"F%u", vk - VK_F1 + 1);
        return text;
    }
    for (const KeyName& k : kNames)
        if (k.vk == vk) return k.name;
    // Punctuation keys: the character the keyboard layout gives them.
    const UINT ch = ::MapVirtualKeyW(vk, MAPVK_VK_TO_CHAR) & 0x7FFFFFFF;
    if (ch >= 0x21) return std::wstring(1, static_cast<wchar_t>(ch));
    std::swprintf(text, 32, L"0x%02X", vk);
    return text;
}
}  // namespace

std::wstring HotKeyName(int hotKey) {
    const UINT vk = static_cast<UINT>(hotKey) & 0xFF;
    const UINT modifiers = (static_cast<UINT>(hotKey) >> 8) & 0xFF;
    if (!vk && !(modifiers & (HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_ALT))) return L"";
    std::wstring text;
    if (modifiers & HOTKEYF_CONTROL) text += L"Ctrl + ";
    if (modifiers & HOTKEYF_SHIFT) text += L"Shift + ";
    if (modifiers & HOTKEYF_ALT) text += L"Alt + ";
    if (vk) text += KeyOnly(vk, (modifiers & HOTKEYF_EXT) != 0);
    return text;
}
