#include "ui/controls/SubclassWnd.h"
#include "framework/SubclassChain.h"
#include <commctrl.h>
#include <exception>

namespace {
const UINT_PTR kHookSubclassId = 0x484F4F4B;   // "HOOK"

// The window whose message the hooks of this thread are handling now, so that a hook that
// took itself out of the chain while handling a message can still pass it on.
thread_local HWND t_currentWindow = nullptr;
}

CSubclassWnd::~CSubclassWnd() {
    if (m_hWnd) HookWindow(nullptr);
}

BOOL CSubclassWnd::HookWindow(HWND hwnd) {
    if (hwnd) {
        if (m_hWnd) HookWindow(nullptr);   // one window at a time
        CSubclassWndMap::GetHookMap().Add(hwnd, this);
        m_hWnd = hwnd;
    } else if (m_hWnd) {
        CSubclassWndMap::GetHookMap().Remove(this);
        m_hWnd = nullptr;
        m_pNext = nullptr;
    }
    return TRUE;
}

LRESULT CSubclassWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_pNext) return m_pNext->WindowProc(msg, wParam, lParam);
    HWND hwnd = m_hWnd ? m_hWnd : t_currentWindow;
    return subclass_chain::DefSubclass(hwnd, msg, wParam, lParam);
}

CSubclassWndMap& CSubclassWndMap::GetHookMap() {
    static CSubclassWndMap map;
    return map;
}

CSubclassWnd* CSubclassWndMap::Lookup(HWND hwnd) const {
    auto it = m_first.find(hwnd);
    return it == m_first.end() ? nullptr : it->second;
}

void CSubclassWndMap::Add(HWND hwnd, CSubclassWnd* hook) {
    CSubclassWnd* first = Lookup(hwnd);
    hook->m_pNext = first;
    m_first[hwnd] = hook;
    if (!first) subclass_chain::Set(hwnd, &HookWndProc, kHookSubclassId, 0);
}

void CSubclassWndMap::Remove(CSubclassWnd* hook) {
    HWND hwnd = hook->m_hWnd;
    CSubclassWnd* first = Lookup(hwnd);
    if (!first) return;
    if (first == hook) {
        if (hook->m_pNext) {
            m_first[hwnd] = hook->m_pNext;
        } else {
            m_first.erase(hwnd);
            subclass_chain::Remove(hwnd, &HookWndProc, kHookSubclassId);
        }
        return;
    }
    for (CSubclassWnd* h = first; h->m_pNext; h = h->m_pNext) {
        if (h->m_pNext == hook) {
            h->m_pNext = hook->m_pNext;
            return;
        }
    }
}

LRESULT CALLBACK HookWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
    CSubclassWndMap& map = CSubclassWndMap::GetHookMap();
    if (msg == WM_NCDESTROY) {
        // Every hook lets go before the window's own procedure sees its last message.
        while (CSubclassWnd* first = map.Lookup(hwnd)) first->HookWindow(nullptr);
        return subclass_chain::DefSubclass(hwnd, msg, wParam, lParam);
    }
    CSubclassWnd* first = map.Lookup(hwnd);
    if (!first) return subclass_chain::DefSubclass(hwnd, msg, wParam, lParam);
    HWND outer = t_currentWindow;
    t_currentWindow = hwnd;
    LRESULT result = 0;
    try {
        result = first->WindowProc(msg, wParam, lParam);
    } catch (const std::exception& e) {
        ::OutputDebugStringA(e.what());
        result = subclass_chain::DefSubclass(hwnd, msg, wParam, lParam);
    } catch (...) {
        result = subclass_chain::DefSubclass(hwnd, msg, wParam, lParam);
    }
    t_currentWindow = outer;
    return result;
}
