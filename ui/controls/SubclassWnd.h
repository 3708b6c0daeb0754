#pragma once
#include "framework/Object.h"
#include <windows.h>
#include <unordered_map>

// Lets an object see every message of a window that belongs to somebody else, without
// deriving from that window's class. Several hooks may watch one window: they form a chain,
// newest first, and each passes on what it does not use up by ending in the base WindowProc.
//
// The chain sits on the window through comctl32's subclass stack, like CWnd's own
// subclassing, so that a hook and a CWnd may be put on and taken off one window in any order
// without either one throwing the other out.
class CSubclassWnd : public CObject {
public:
    CSubclassWnd() = default;
    ~CSubclassWnd() override;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // With a window: puts this hook at the head of that window's chain. With null: takes it
    // out of its chain. Always TRUE.
    BOOL HookWindow(HWND hwnd);
    BOOL IsHooked() const { return m_hWnd != nullptr; }
    HWND GetHookedWindow() const { return m_hWnd; }

    // Passes the message on: to the next (older) hook, or after the last one to the window's
    // own procedure. Hooks override it for the messages they want and call it for the rest.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    friend class CSubclassWndMap;
    friend LRESULT CALLBACK HookWndProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND m_hWnd = nullptr;
    CSubclassWnd* m_pNext = nullptr;
};

// The process-wide map from a hooked window to the first (newest) hook of its chain.
class CSubclassWndMap {
public:
    static CSubclassWndMap& GetHookMap();

    void Add(HWND hwnd, CSubclassWnd* hook);
    void Remove(CSubclassWnd* hook);
    // The window's first hook, or null when nothing hooks it.
    CSubclassWnd* Lookup(HWND hwnd) const;

private:
    CSubclassWndMap() = default;
    std::unordered_map<HWND, CSubclassWnd*> m_first;
};

// The one procedure that runs every hooked window's chain (a comctl32 subclass procedure).
LRESULT CALLBACK HookWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                             DWORD_PTR ref);
