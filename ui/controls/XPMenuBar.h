#pragma once
#include "framework/ControlBar.h"
#include "ui/controls/XPMenuItem.h"
#include <memory>
#include <vector>

class CFrameWnd;
class CMainFrameHook;
class CMDIClientHook;

// Where the menu bar is in its keyboard and mouse handling.
enum MenuBarTrackState {
    TRACK_NONE = 0,
    TRACK_BUTTON = 1,         // an item selected by the keyboard (Alt, F10)
    TRACK_POPUP = 2,          // an item's popup is open
    TRACK_BUTTON_HOVER = 3,   // an item selected by the mouse
};

// A flat menu bar that replaces the frame's window menu: one button per top-level entry of
// a menu resource, opening the entries' popups with the normal menu loop, with the keyboard
// behaviour of a window menu. The frame creates it (CreateBar, LoadMenuBar), lets it see
// every message first (TranslateFrameMessage) and owns the popups it opens, so their
// commands follow the frame's command routing.
class CXPMenuBar : public CControlBar {
public:
    CXPMenuBar();
    ~CXPMenuBar() override;

    // Registered messages: the frame hook answers WM_GETMENU with the bar's menu;
    // MB_SET_MENU_NULL (wParam = a frame window) removes that window's own menu.
    static UINT WM_GETMENU;
    static UINT MB_SET_MENU_NULL;

    // Creates the bar window "MenuBar" (id 59417) in `frame` and hooks the frame.
    BOOL CreateBar(CFrameWnd* frame);
    // Shows menu resource `menuId`; the frame's own window menu goes once the loop runs.
    BOOL LoadMenuBar(UINT menuId);
    // The same with a menu made by the caller; the bar owns it from now on.
    BOOL LoadMenuBar(HMENU menu);
    // Called by the frame's message pre-translation for every message; true when the bar
    // used the message up.
    bool TranslateFrameMessage(MSG* msg);

    HMENU GetMenu() const { return m_menu; }
    MenuBarTrackState GetTrackState() const { return m_trackState; }
    int GetHotIndex() const { return m_current; }
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    CXPMenuItem* GetItem(int index) const;

    // The size of the bar laid out in a row (horizontal) or a column; it never wraps.
    SIZE CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    SIZE CalcDynamicLayout(int length, DWORD mode) override;
    // In an MDI frame, shows the child's icon and buttons while the child is maximised.
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    void DoPaint(HDC dc) override;

    // Selects `index` (-1 none) in `state`; state TRACK_NONE selects none.
    void SetHotItem(int index, MenuBarTrackState state);
    // Opens the popup of item `index` and follows the user to other items until it closes.
    void TrackPopup(int index);
    // Runs a popup menu for one item, through the framework's popup-menu presenter.
    UINT TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
    // A message of the open menu's loop (the message-filter hook); true when used up.
    bool OnMenuInput(const MSG& msg);

    // What the frame hook passes on: the menu selection and the frame's activation.
    void OnFrameMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnFrameNcActivate(BOOL active);

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);
    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMenuNull(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void BuildItems();
    void FreeItems();
    void LayoutItems(bool horizontal);
    RECT InsideInsets(bool horizontal) const;     // client insets around the items
    RECT NonClientInsets(bool horizontal) const;  // border edges and gripper
    void RedrawItem(int index);
    int HitTest(POINT client) const;              // selectable item under the point, or -1
    int NextSelectable(int from, int step) const;
    int FirstSelectable() const;
    bool OpenByMnemonic(UINT key);
    HWND TopParent() const;
    void CreatePatternBrushes();
    void PostCancelMode() const;
    // Closes the open popup and makes `index` the item whose popup opens next; an item
    // without popup is only selected, in `look` (by the keyboard or the mouse).
    void SwitchTo(int index, MenuBarTrackState look);
    void UpdateMdiItems();

    static constexpr UINT_PTR kHoverTimerId = 1;

    HBRUSH m_gripperHorizontal = nullptr;
    HBRUSH m_gripperVertical = nullptr;
    std::vector<std::unique_ptr<CXPMenuItem>> m_items;
    std::unique_ptr<CMainFrameHook> m_frameHook;
    std::unique_ptr<CMDIClientHook> m_mdiHook;
    HMENU m_menu = nullptr;
    int m_current = -1;
    MenuBarTrackState m_trackState = TRACK_NONE;
    bool m_switch = false;            // open another item's popup when this one closes
    MenuBarTrackState m_switchLook = TRACK_BUTTON;   // how an item without popup is then selected
    bool m_altWhileTracking = false;  // Alt went down while a popup was open
    bool m_noSubmenu = true;          // the selected popup entry has no submenu
    bool m_ownPopup = true;           // the open menu is the item's own popup
    UINT_PTR m_hoverTimer = 0;
    POINT m_lastMenuPoint{-1, -1};
    bool m_frameActive = false;
    HWND m_frameWnd = nullptr;
    // The key (Alt or F10) that went down alone and may toggle the menu mode when it comes
    // up, and whether another key went down while it was held (an Alt accelerator).
    UINT m_menuKey = 0;
    bool m_keyWhileMenuKey = false;
    // MDI frames only.
    bool m_mdi = false;
    HWND m_mdiClient = nullptr;
    CMenuIcon* m_icon = nullptr;
    CMenuControl* m_control = nullptr;
    HWND m_activeChild = nullptr;
    HMENU m_windowMenu = nullptr;

    friend class CMainFrameHook;
    friend class CMDIClientHook;
};
