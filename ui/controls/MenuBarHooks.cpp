#include "ui/controls/MenuBarHooks.h"
#include "ui/controls/XPMenuBar.h"
#include <string>

namespace {
constexpr UINT kFirstMdiChild = 65280;   // identifiers of the Window menu's child entries
constexpr int kListedChildren = 9;       // the tenth entry opens the full list

// Rebuilds the MDI window list at the end of the Window menu: a separator, then one entry
// per child ("&1 Title"), the active one checked, and "&More windows..." after nine.
void RebuildWindowList(HMENU windowMenu, HWND client) {
    for (int i = ::GetMenuItemCount(windowMenu) - 1; i >= 0; --i) {
        const UINT id = ::GetMenuItemID(windowMenu, i);
        if (id >= kFirstMdiChild && id != static_cast<UINT>(-1)) ::DeleteMenu(windowMenu, i, MF_BYPOSITION);
    }
    const int last = ::GetMenuItemCount(windowMenu) - 1;
    if (last >= 0 && (::GetMenuState(windowMenu, last, MF_BYPOSITION) & MF_SEPARATOR))
        ::DeleteMenu(windowMenu, last, MF_BYPOSITION);

    HWND active = reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
    int number = 0;
    for (HWND child = ::GetWindow(client, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetWindow(child, GW_OWNER)) continue;   // icon titles
        if (number == 0) ::AppendMenuW(windowMenu, MF_SEPARATOR, 0, nullptr);
        if (number == kListedChildren) {
            ::AppendMenuW(windowMenu, MF_STRING, kFirstMdiChild + number, L"&More windows...");
            break;
        }
        wchar_t title[256] = {};
        ::GetWindowTextW(child, title, 256);
        const std::wstring text = L"&" + std::to_wstring(number + 1) + L" " + title;
        ::AppendMenuW(windowMenu, MF_STRING | (child == active ? MF_CHECKED : 0), kFirstMdiChild + number,
                      text.c_str());
        ++number;
    }
}
}  // namespace

LRESULT CMainFrameHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_bar || !m_bar->m_hWnd) return CSubclassWnd::WindowProc(msg, wParam, lParam);
    if (msg == CXPMenuBar::WM_GETMENU) return reinterpret_cast<LRESULT>(m_bar->GetMenu());
    switch (msg) {
    case WM_NCACTIVATE:
        m_bar->OnFrameNcActivate(static_cast<BOOL>(wParam));
        break;
    case WM_INITMENUPOPUP:
        if (m_bar->m_mdi && !HIWORD(lParam) && reinterpret_cast<HMENU>(wParam) == m_bar->m_windowMenu)
            RebuildWindowList(m_bar->m_windowMenu, m_bar->m_mdiClient);
        break;
    case WM_MENUSELECT:
        m_bar->OnFrameMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    default:
        break;
    }
    // In an MDI frame the active child sees the commands and notifications of open menus.
    if (m_bar->m_mdi && m_bar->m_trackState == TRACK_POPUP && m_bar->m_activeChild &&
        (msg == WM_COMMAND || msg == WM_INITMENUPOPUP || msg == WM_MENUSELECT)) {
        return ::SendMessageW(m_bar->m_activeChild, msg, wParam, lParam);
    }
    return CSubclassWnd::WindowProc(msg, wParam, lParam);
}

LRESULT CMDIClientHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_bar && m_bar->m_hWnd) {
        if (msg == WM_MDISETMENU) {
            if (lParam) m_bar->m_windowMenu = reinterpret_cast<HMENU>(lParam);
            m_bar->UpdateMdiItems();
            return reinterpret_cast<LRESULT>(m_bar->GetMenu());
        }
        if (msg == WM_MDIREFRESHMENU) return 0;
    }
    return CSubclassWnd::WindowProc(msg, wParam, lParam);
}
