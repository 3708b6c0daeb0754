#pragma once
#include "framework/ControlBar.h"
#include "framework/FrameIds.h"
#include <commctrl.h>
#include <string>

class CImageList;

// Button styles of CToolBar::SetButtonInfo and GetButtonInfo: the low word is the button's
// style, the high word its state (TBBS_DISABLED set means disabled).
constexpr UINT TBBS_BUTTON = BTNS_BUTTON;
constexpr UINT TBBS_SEPARATOR = BTNS_SEP;
constexpr UINT TBBS_CHECKBOX = BTNS_CHECK;
constexpr UINT TBBS_GROUP = BTNS_GROUP;
constexpr UINT TBBS_CHECKGROUP = BTNS_CHECKGROUP;
constexpr UINT TBBS_DROPDOWN = BTNS_DROPDOWN;
constexpr UINT TBBS_AUTOSIZE = BTNS_AUTOSIZE;
constexpr UINT TBBS_NOPREFIX = BTNS_NOPREFIX;
constexpr UINT TBBS_CHECKED = TBSTATE_CHECKED << 16;
constexpr UINT TBBS_PRESSED = TBSTATE_PRESSED << 16;
constexpr UINT TBBS_DISABLED = TBSTATE_ENABLED << 16;
constexpr UINT TBBS_INDETERMINATE = TBSTATE_INDETERMINATE << 16;
constexpr UINT TBBS_HIDDEN = TBSTATE_HIDDEN << 16;
constexpr UINT TBBS_WRAPPED = TBSTATE_WRAP << 16;

// The toolbar control of a CToolBar, addressed by command id unless said otherwise.
class CToolBarCtrl {
public:
    HWND m_hWnd = nullptr;
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }

    HIMAGELIST SetImageList(CImageList* list);
    HIMAGELIST SetImageList(HIMAGELIST list);
    HIMAGELIST GetImageList() const { return reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST)); }
    DWORD SetExtendedStyle(DWORD style) { return static_cast<DWORD>(SendMessage(TB_SETEXTENDEDSTYLE, 0, style)); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(TB_GETEXTENDEDSTYLE)); }
    BOOL EnableButton(int id, BOOL enable = TRUE) { return static_cast<BOOL>(SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enable, 0))); }
    BOOL CheckButton(int id, BOOL check = TRUE) { return static_cast<BOOL>(SendMessage(TB_CHECKBUTTON, id, MAKELPARAM(check, 0))); }
    BOOL HideButton(int id, BOOL hide = TRUE) { return static_cast<BOOL>(SendMessage(TB_HIDEBUTTON, id, MAKELPARAM(hide, 0))); }
    BOOL IsButtonEnabled(int id) const { return static_cast<BOOL>(SendMessage(TB_ISBUTTONENABLED, id)); }
    BOOL IsButtonChecked(int id) const { return static_cast<BOOL>(SendMessage(TB_ISBUTTONCHECKED, id)); }
    BOOL IsButtonHidden(int id) const { return static_cast<BOOL>(SendMessage(TB_ISBUTTONHIDDEN, id)); }
    int GetState(int id) const { return static_cast<int>(SendMessage(TB_GETSTATE, id)); }
    BOOL SetState(int id, UINT state) { return static_cast<BOOL>(SendMessage(TB_SETSTATE, id, MAKELPARAM(state, 0))); }
    int GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    BOOL GetButton(int index, TBBUTTON* button) const { return static_cast<BOOL>(SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(button))); }
    int CommandToIndex(UINT id) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id)); }
    BOOL GetItemRect(int index, RECT* rect) const { return static_cast<BOOL>(SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(rect))); }
    BOOL GetRect(int id, RECT* rect) const { return static_cast<BOOL>(SendMessage(TB_GETRECT, id, reinterpret_cast<LPARAM>(rect))); }
    // TBBUTTONINFOW with cbSize and dwMask filled in by the caller.
    int GetButtonInfo(int id, TBBUTTONINFOW* info) const { return static_cast<int>(SendMessage(TB_GETBUTTONINFOW, id, reinterpret_cast<LPARAM>(info))); }
    BOOL SetButtonInfo(int id, TBBUTTONINFOW* info) { return static_cast<BOOL>(SendMessage(TB_SETBUTTONINFOW, id, reinterpret_cast<LPARAM>(info))); }
    void AutoSize() { SendMessage(TB_AUTOSIZE); }
};

// A toolbar over the system's toolbar control. Buttons show images of the image list set on
// the control; a separator may hold a control (a combo box, say) laid over its rectangle.
// Tips and status prompts come from the string table entry of each button's command:
// "status prompt\ntip". At idle time the buttons follow their commands' update handlers.
class CToolBar : public CControlBar {
public:
    CToolBar() = default;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    // `ctrlStyle`: TBSTYLE_* of the control; `style`: window and bar styles.
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  RECT borders = RECT{0, 0, 0, 0}, UINT id = AFX_IDW_TOOLBAR);

    // Replaces the buttons: ID_SEPARATOR makes a separator, any other id a button whose
    // image is the next one in the image list.
    BOOL SetButtons(const UINT* ids, int count);
    // A separator's `image` is its width in pixels.
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    BOOL SetButtonText(int index, const wchar_t* text);
    std::wstring GetButtonText(int index) const;
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    void GetItemRect(int index, RECT* rect) const;
    int GetCount() const;
    // Widens the separator at `index` so that all buttons together are `width` pixels wide;
    // false (and nothing changes) when the others leave it no room.
    bool StretchSeparator(int index, int width);
    // The width of every button but the one at `index`, together.
    int WidthBeside(int index) const;

    CToolBarCtrl& GetToolBarCtrl() const { return m_ctrl; }

    // Runs the update handlers of the buttons' commands along `target`'s command route;
    // with `disableIfNoHandler`, buttons whose command nobody handles are disabled.
    void UpdateButtons(CCmdTarget* target, BOOL disableIfNoHandler);

    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override;
    SIZE CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    INT_PTR OnToolHitTest(POINT point, TOOLINFOW* ti) const override;

private:
    mutable CToolBarCtrl m_ctrl;
};
