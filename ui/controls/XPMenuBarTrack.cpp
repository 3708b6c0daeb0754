#include "ui/controls/XPMenuBar.h"
#include "framework/PopupMenu.h"

// The menu bar's keyboard and mouse handling and the tracking of its popups.

namespace {

// The bar whose popup is open, for the message-filter hook of the menu loop.
CXPMenuBar* g_trackingBar = nullptr;
HHOOK g_menuHook = nullptr;

LRESULT CALLBACK MenuHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && g_trackingBar && lParam) {
        try {
            if (g_trackingBar->OnMenuInput(*reinterpret_cast<MSG*>(lParam))) return TRUE;
        } catch (...) {
        }
    }
    return ::CallNextHookEx(g_menuHook, code, wParam, lParam);
}

bool IsKeyDown(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

bool IsLetterOrDigit(UINT vk) { return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'); }

bool WithAlt(const MSG& msg) { return (msg.lParam & (1 << 29)) != 0; }

bool IsMouseButton(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

}  // namespace

void CXPMenuBar::SetHotItem(int index, MenuBarTrackState state) {
    if (m_trackState == TRACK_BUTTON_HOVER && state != TRACK_BUTTON_HOVER) m_altWhileTracking = false;
    if (CXPMenuItem* old = GetItem(m_current)) {
        old->m_state &= ~(MISTATE_HOT | MISTATE_PRESSED);
        RedrawItem(m_current);
    }
    m_trackState = state;
    if (state == TRACK_NONE || !GetItem(index)) {
        m_trackState = TRACK_NONE;
        m_current = -1;
        m_noSubmenu = true;
        m_ownPopup = true;
        return;
    }
    CXPMenuItem* item = GetItem(index);
    item->m_state |= (state == TRACK_POPUP) ? MISTATE_PRESSED : MISTATE_HOT;
    m_current = index;
    RedrawItem(index);
    m_noSubmenu = true;
    m_ownPopup = true;
}

bool CXPMenuBar::TranslateFrameMessage(MSG* msg) {
    if (!msg || !m_hWnd) return false;
    // A hidden bar shows no selection: it leaves every key to the frame.
    if (!IsVisible()) {
        if (m_trackState != TRACK_NONE) SetHotItem(-1, TRACK_NONE);
        m_menuKey = 0;
        return false;
    }
    const UINT message = msg->message;

    if (IsMouseButton(message)) {
        if (m_trackState != TRACK_NONE && msg->hwnd != m_hWnd) SetHotItem(-1, TRACK_NONE);
        return false;
    }
    if (!IsKeyDown(message) && message != WM_SYSKEYUP && message != WM_KEYUP) return false;

    const UINT vk = static_cast<UINT>(msg->wParam);
    const bool down = IsKeyDown(message);
    const bool alt = WithAlt(*msg);
    const bool f10Alone = vk == VK_F10 && ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 && !alt;

    // Alt or F10 on its own toggles the keyboard mode when it comes up, unless another key
    // went down while it was held (an accelerator such as Alt+A or Alt+Left).
    if (vk == VK_MENU || f10Alone) {
        if (message == WM_KEYUP) {   // Alt let go after an accelerator arrives as a plain key-up
            m_menuKey = 0;
            return false;
        }
        if (down) {
            const bool repeat = (msg->lParam & (1 << 30)) != 0;
            if (!repeat || m_menuKey != vk) {
                m_menuKey = vk;
                m_keyWhileMenuKey = false;
            }
            return true;
        }
        const bool alone = m_menuKey == vk && !m_keyWhileMenuKey;
        m_menuKey = 0;
        m_keyWhileMenuKey = false;
        if (!alone) {
            m_altWhileTracking = false;
            return true;
        }
        if (m_trackState == TRACK_NONE) {
            if (m_altWhileTracking)
                m_altWhileTracking = false;
            else
                SetHotItem(FirstSelectable(), TRACK_BUTTON);
        } else if (m_trackState == TRACK_BUTTON) {
            SetHotItem(-1, TRACK_NONE);
        }
        return true;
    }
    if (!down) return false;
    if (m_menuKey) m_keyWhileMenuKey = true;

    if (m_trackState == TRACK_BUTTON) {
        const bool horizontal = IsHorz();
        const UINT openA = horizontal ? VK_UP : VK_LEFT, openB = horizontal ? VK_DOWN : VK_RIGHT;
        const UINT previous = horizontal ? VK_LEFT : VK_UP, next = horizontal ? VK_RIGHT : VK_DOWN;
        if (vk == VK_ESCAPE) {
            SetHotItem(-1, TRACK_NONE);
            return true;
        }
        if (vk == VK_SPACE || vk == openA || vk == openB) {
            TrackPopup(m_current);
            return true;
        }
        if (vk == previous || vk == next) {
            const int to = NextSelectable(m_current, vk == next ? 1 : -1);
            if (to >= 0) SetHotItem(to, TRACK_BUTTON);
            return true;
        }
    }

    if (IsLetterOrDigit(vk) && ((message == WM_SYSKEYDOWN && alt) || m_trackState == TRACK_BUTTON)) {
        if (OpenByMnemonic(vk)) return true;
        if (m_trackState == TRACK_BUTTON && !alt) return true;
    }

    if (m_trackState == TRACK_BUTTON || m_trackState == TRACK_POPUP) SetHotItem(-1, TRACK_NONE);
    return false;
}

bool CXPMenuBar::OpenByMnemonic(UINT key) {
    for (size_t i = 0; i < m_items.size(); ++i) {
        const CXPMenuItem& item = *m_items[i];
        if (item.IsSelectable() && item.m_mnemonic && static_cast<UINT>(item.m_mnemonic) == key) {
            SetHotItem(-1, TRACK_NONE);
            TrackPopup(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

LRESULT CXPMenuBar::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (m_control && m_control->OnClick(pt)) return 0;
    const int hit = HitTest(pt);
    if (hit >= 0) {
        TrackPopup(hit);
        return 0;
    }
    return Default(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT CXPMenuBar::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
    return Default(WM_LBUTTONUP, wParam, lParam);
}

LRESULT CXPMenuBar::OnMouseMove(WPARAM, LPARAM lParam) {
    const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const int hit = HitTest(pt);
    if (hit < 0) {
        if (m_trackState != TRACK_NONE) SetHotItem(-1, TRACK_NONE);
    } else if (hit != m_current) {
        SetHotItem(hit, TRACK_BUTTON_HOVER);
        if (!m_hoverTimer) m_hoverTimer = ::SetTimer(m_hWnd, kHoverTimerId, 100, nullptr);
    }
    return 0;
}

void CXPMenuBar::OnTimer(UINT_PTR id) {
    if (id != kHoverTimerId) return;
    if (m_trackState == TRACK_BUTTON_HOVER) {
        POINT cursor;
        RECT window;
        ::GetCursorPos(&cursor);
        ::GetWindowRect(m_hWnd, &window);
        if (::PtInRect(&window, cursor)) return;
        SetHotItem(-1, TRACK_NONE);
    }
    // Nothing hovers any more: the timer has done its work.
    ::KillTimer(m_hWnd, kHoverTimerId);
    m_hoverTimer = 0;
}

void CXPMenuBar::TrackPopup(int index) {
    CXPMenuItem* item = GetItem(index);
    if (!item || g_trackingBar) return;
    HWND owner = TopParent();
    m_current = index;
    m_switch = true;
    bool first = true;
    while (m_switch) {
        m_switch = false;
        item = GetItem(m_current);
        if (!item) break;
        // Moving on from an open popup to an entry without one only selects it: its command
        // runs when the entry itself is clicked or opened.
        auto* button = dynamic_cast<CMenuButton*>(item);
        if (!first && button && !button->Popup()) {
            SetHotItem(m_current, m_switchLook);
            if (m_switchLook == TRACK_BUTTON_HOVER && !m_hoverTimer)
                m_hoverTimer = ::SetTimer(m_hWnd, kHoverTimerId, 100, nullptr);
            return;
        }
        first = false;
        UpdateWindow();
        SetHotItem(m_current, TRACK_POPUP);
        m_lastMenuPoint = POINT{-1, -1};
        g_trackingBar = this;
        g_menuHook = ::SetWindowsHookExW(WH_MSGFILTER, &MenuHookProc, nullptr, ::GetCurrentThreadId());
        item->TrackPopup(this, owner);
        if (g_menuHook) ::UnhookWindowsHookEx(g_menuHook);
        g_menuHook = nullptr;
        g_trackingBar = nullptr;
    }
    // A click on the open item's own button leaves it selected for the keyboard.
    if (m_trackState == TRACK_POPUP) SetHotItem(-1, TRACK_NONE);
}

void CXPMenuBar::PostCancelMode() const { ::PostMessageW(TopParent(), WM_CANCELMODE, 0, 0); }

void CXPMenuBar::SwitchTo(int index, MenuBarTrackState look) {
    PostCancelMode();
    m_switchLook = look;
    if (CXPMenuItem* old = GetItem(m_current)) {
        old->m_state &= ~(MISTATE_HOT | MISTATE_PRESSED);
        RedrawItem(m_current);
    }
    m_current = index;
    m_switch = true;
}

bool CXPMenuBar::OnMenuInput(const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN: {
        if (!IsHorz()) return false;
        int to = -1;
        if (msg.wParam == VK_LEFT && m_ownPopup)
            to = NextSelectable(m_current, -1);
        else if (msg.wParam == VK_RIGHT && m_noSubmenu)
            to = NextSelectable(m_current, 1);
        else
            return false;
        if (to < 0) return false;
        SwitchTo(to, TRACK_BUTTON);
        return true;
    }
    case WM_SYSKEYDOWN:
        m_altWhileTracking = true;
        return false;
    case WM_MOUSEMOVE: {
        if (msg.pt.x == m_lastMenuPoint.x && msg.pt.y == m_lastMenuPoint.y) return false;
        m_lastMenuPoint = msg.pt;
        POINT client = msg.pt;
        ::ScreenToClient(m_hWnd, &client);
        const int hit = HitTest(client);
        if (hit >= 0 && hit != m_current) SwitchTo(hit, TRACK_BUTTON_HOVER);
        return false;
    }
    case WM_LBUTTONDOWN: {
        POINT client = msg.pt;
        ::ScreenToClient(m_hWnd, &client);
        if (HitTest(client) != m_current || m_current < 0) return false;
        PostCancelMode();
        SetHotItem(m_current, TRACK_BUTTON);
        return true;
    }
    default:
        return false;
    }
}

void CXPMenuBar::OnFrameMenuSelect(UINT, UINT flags, HMENU menu) {
    if (m_trackState != TRACK_POPUP) return;
    if (flags == 0xFFFF && !menu) return;   // the menu is closing
    m_noSubmenu = (flags & MF_POPUP) == 0;
    auto* button = dynamic_cast<CMenuButton*>(GetItem(m_current));
    m_ownPopup = button && menu == button->Popup();
}

UINT CXPMenuBar::TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
    return static_cast<UINT>(AfxTrackPopupMenu(menu, flags, x, y, owner, params));
}
