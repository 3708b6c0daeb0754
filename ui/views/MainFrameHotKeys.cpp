// The main frame's hot keys: global ones registered with the system.
#include "ui/views/MainFrame.h"
#include "app/AppSettings.h"
#include "framework/SentMessageWait.h"
#include "ui/views/HotKeyMatch.h"
#include <cwchar>

void CMainFrame::RegisterHotKeys() {
    CAppSettings& settings = Settings();
    if (!m_hWnd || !settings.globalHotkey.enable) return;
    for (auto& [code, entry] : settings.globalHotkey.hotKeys) {
        if (!entry.isGlobal || entry.hotKey == 0) continue;
        // A key that another program holds is lost until the user sets it again.
        if (!::RegisterHotKey(m_hWnd, code, GlobalHotKeyModifiers(entry.hotKey), HotKeyVirtualKey(entry.hotKey)))
            entry.hotKey = 0;
    }
}

void CMainFrame::UnregisterHotKeys() {
    if (!m_hWnd) return;
    for (const auto& [code, entry] : Settings().globalHotkey.hotKeys)
        if (entry.isGlobal) ::UnregisterHotKey(m_hWnd, code);
}

// ---- Local hot keys: a keyboard hook of the UI thread ------------------------------------

namespace {
// The frame whose hook runs; there is one main window.
CMainFrame* g_hookFrame = nullptr;
}  // namespace

void CMainFrame::InstallKeyboardHook() {
    g_hookFrame = this;
    if (!m_hook) m_hook = ::SetWindowsHookExW(WH_KEYBOARD, &CMainFrame::KeyboardHookProc, nullptr, ::GetCurrentThreadId());
    m_hookEnabled = 1;
}

void CMainFrame::RemoveKeyboardHook() {
    if (m_hook) ::UnhookWindowsHookEx(m_hook);
    m_hook = nullptr;
    if (g_hookFrame == this) g_hookFrame = nullptr;
}

bool CMainFrame::SearchHasFocus() const {
    HWND focus = ::GetFocus();
    return focus && ((m_wndSearchEdit.m_hWnd && focus == m_wndSearchEdit.m_hWnd) ||
                     (m_wndSearchText.m_hWnd && focus == m_wndSearchText.m_hWnd));
}

bool CMainFrame::KeysBelongToTyping() const {
    if (SearchHasFocus()) return true;
    // A modal dialog (the query editor, a name, the properties) has the keyboard.
    if (m_hWnd && !::IsWindowEnabled(m_hWnd)) return true;
    // Any edit field one can type in, the edit of a combo box included, takes its keys as text;
    // a read-only one (the lyrics window's) leaves them to the hot keys.
    wchar_t className[16] = L"";
    HWND focus = ::GetFocus();
    return focus && ::GetClassNameW(focus, className, 16) && _wcsicmp(className, L"Edit") == 0 &&
           !(::GetWindowLongW(focus, GWL_STYLE) & ES_READONLY);
}

LRESULT CALLBACK CMainFrame::KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    CMainFrame* frame = g_hookFrame;
    const bool keyDown = (lParam & 0x80000000) == 0;   // auto-repeats included
    // Inside a wait (a query being read) keys only stop the reading.
    if (code == HC_ACTION && frame && frame->m_hookEnabled && keyDown && !InsideAnsweringWait() &&
        !frame->KeysBelongToTyping() &&
        frame->Settings().globalHotkey.enable) {
        const int flags = KeystrokeFlags(::GetKeyState(VK_SHIFT) < 0, ::GetKeyState(VK_CONTROL) < 0,
                                         ::GetKeyState(VK_MENU) < 0, (lParam & 0x01000000) != 0);
        const int action = FindLocalHotKey(frame->Settings().globalHotkey.hotKeys, static_cast<UINT>(wParam), flags);
        if (action >= 0) {
            // Nothing may be thrown through the system's hook chain.
            try {
                frame->ExecuteAction(action);
            } catch (...) {
            }
            return 1;
        }
    }
    return ::CallNextHookEx(frame ? frame->m_hook : nullptr, code, wParam, lParam);
}

LRESULT CMainFrame::OnHotKey(WPARAM id, LPARAM) {
    if (!SearchHasFocus()) ExecuteAction(static_cast<int>(id));
    return 0;
}

void CMainFrame::RunOptions(CLarkspur2006Doc& doc) { RunOptionsSheet(doc, *this); }
