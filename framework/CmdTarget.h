#pragma once
#include <windows.h>

class CCmdTarget;
class CCmdUI;

// One row of a message map. `invoke` unpacks the message for the handler and calls it;
// it returns false when the handler declines (the message then goes on to the next map).
struct MessageMapEntry {
    UINT message;               // window message, WM_COMMAND or WM_NOTIFY; 0 ends the table
    UINT code;                  // notification code for WM_COMMAND and WM_NOTIFY
    UINT idFirst;
    UINT idLast;
    const UINT* registered;     // for registered messages: where the message number lives
    bool (*invoke)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries;
};

// Pseudo notification code of the command-state query (menu items, toolbar buttons).
constexpr UINT CN_UPDATE_COMMAND_UI = 0xFFFFFFFFu;
constexpr UINT CN_COMMAND = 0;

// Messages a parent reflects to the control that sent them arrive at the control's object as
// WM_REFLECT_BASE + the original message (see the *_REFLECT rows below and CWnd::OnChildNotify).
constexpr UINT WM_REFLECT_BASE = 0xBC00;

// Passed as `extra` with CN_COMMAND, asks OnCmdMsg whether anyone along the route handles the
// command, without running the handler.
struct CCmdHandlerProbe {
    bool found = false;
};

// Anything that handles commands through a message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Handles command `id` with notification `code` (CN_UPDATE_COMMAND_UI with a CCmdUI*
    // in `extra`) through this target's map. Command routing overrides add other targets.
    virtual BOOL OnCmdMsg(UINT id, UINT code, void* extra);

    static const MessageMap* GetThisMessageMap();

protected:
    virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

    // Finds the first matching row along the chain of maps from this class to the root.
    const MessageMapEntry* FindEntry(UINT message, UINT code, UINT id) const;
    friend class CWnd;
};

// State of one command's user interface (menu item or toolbar button), filled by handlers
// registered with ON_UPDATE_COMMAND_UI.
class CCmdUI {
public:
    UINT m_nID = 0;
    bool m_enabled = true;
    int m_check = 0;
    bool m_handled = false;
    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL on = TRUE) { m_enabled = on != FALSE; m_handled = true; }
    virtual void SetCheck(int check = 1) { m_check = check; m_handled = true; }
    virtual void SetRadio(BOOL on = TRUE) { SetCheck(on ? 1 : 0); }
    virtual void SetText(const wchar_t*) {}
};

// ---------------------------------------------------------------------------------------
// Message maps, written as tables:
//
//   BEGIN_MESSAGE_MAP(CMyFrame, CFrameWnd)
//       ON_WM_CREATE()
//       ON_COMMAND(ID_APP_EXIT, &CMyFrame::OnAppExit)
//   END_MESSAGE_MAP()

#define DECLARE_MESSAGE_MAP()                                        \
public:                                                              \
    static const MessageMap* GetThisMessageMap();                    \
protected:                                                           \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                   \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap() {                           \
        using ThisClass = theClass;                                             \
        using TheBaseClass = baseClass;                                         \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                       \
            {0, 0, 0, 0, nullptr, nullptr}};                                    \
        static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                            \
    }

#define LARK_HANDLER(body) \
    [](CCmdTarget* t_, WPARAM wParam_, LPARAM lParam_, LRESULT& result_) -> bool { \
        auto* self_ = static_cast<ThisClass*>(t_); (void)self_; (void)wParam_;     \
        (void)lParam_; (void)result_; body }

#define ON_COMMAND(id, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, \
     LARK_HANDLER((self_->*(fn))(); return true;)},
#define ON_COMMAND_RANGE(idFirst, idLast, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(idFirst), (UINT)(idLast), nullptr, \
     LARK_HANDLER((self_->*(fn))((UINT)wParam_); return true;)},
#define ON_UPDATE_COMMAND_UI(id, fn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), nullptr, \
     LARK_HANDLER((self_->*(fn))(reinterpret_cast<CCmdUI*>(lParam_)); return true;)},
#define ON_UPDATE_COMMAND_UI_RANGE(idFirst, idLast, fn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(idFirst), (UINT)(idLast), nullptr, \
     LARK_HANDLER((self_->*(fn))(reinterpret_cast<CCmdUI*>(lParam_)); return true;)},
// Control notification through WM_COMMAND (e.g. EN_CHANGE): void fn()
#define ON_CONTROL(code, id, fn) \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), nullptr, \
     LARK_HANDLER((self_->*(fn))(); return true;)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
// WM_NOTIFY: void fn(NMHDR*, LRESULT*)
#define ON_NOTIFY(code, id, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), nullptr, \
     LARK_HANDLER((self_->*(fn))(reinterpret_cast<NMHDR*>(lParam_), &result_); return true;)},
// WM_NOTIFY from any id in a range: void fn(UINT id, NMHDR*, LRESULT*). Tips of window tools
// (TTF_IDISHWND) carry a window handle as their id: take them with the range 0 to 0xFFFFFFFF.
#define ON_NOTIFY_RANGE(code, idFirst, idLast, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(idFirst), (UINT)(idLast), nullptr, \
     LARK_HANDLER((self_->*(fn))((UINT)wParam_, reinterpret_cast<NMHDR*>(lParam_), &result_); return true;)},
// The same with BOOL fn(UINT id, NMHDR*, LRESULT*): FALSE leaves the notification to others.
#define ON_NOTIFY_EX_RANGE(code, idFirst, idLast, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(idFirst), (UINT)(idLast), nullptr, \
     LARK_HANDLER(return (self_->*(fn))((UINT)wParam_, reinterpret_cast<NMHDR*>(lParam_), &result_) != FALSE;)},
// Any message: LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(msg, fn) \
    {(UINT)(msg), 0, 0, 0, nullptr, \
     LARK_HANDLER(result_ = (self_->*(fn))(wParam_, lParam_); return true;)},
// A registered message whose number is kept in the UINT variable `var`.
#define ON_REGISTERED_MESSAGE(var, fn) \
    {0xFFFFFFFFu, 0, 0, 0, &(var), \
     LARK_HANDLER(result_ = (self_->*(fn))(wParam_, lParam_); return true;)},

// Common window messages with unpacked arguments (handler names fixed, as usual).
#define ON_WM_CREATE() {WM_CREATE, 0, 0, 0, nullptr, LARK_HANDLER( \
    result_ = self_->OnCreate(reinterpret_cast<LPCREATESTRUCTW>(lParam_)); return true;)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, nullptr, LARK_HANDLER(self_->OnDestroy(); return true;)},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, nullptr, LARK_HANDLER(self_->OnClose(); return true;)},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnSize((UINT)wParam_, (short)LOWORD(lParam_), (short)HIWORD(lParam_)); return true;)},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, nullptr, LARK_HANDLER(self_->OnPaint(); return true;)},
#define ON_WM_ERASEBKGND() {WM_ERASEBKGND, 0, 0, 0, nullptr, LARK_HANDLER( \
    result_ = self_->OnEraseBkgnd(reinterpret_cast<HDC>(wParam_)); return true;)},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnTimer((UINT_PTR)wParam_); return true;)},
#define ON_WM_SETFOCUS() {WM_SETFOCUS, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnSetFocus(reinterpret_cast<HWND>(wParam_)); return true;)},
#define ON_WM_KILLFOCUS() {WM_KILLFOCUS, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnKillFocus(reinterpret_cast<HWND>(wParam_)); return true;)},
#define ON_WM_CONTEXTMENU() {WM_CONTEXTMENU, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnContextMenu(reinterpret_cast<HWND>(wParam_), POINT{(short)LOWORD(lParam_), (short)HIWORD(lParam_)}); return true;)},
#define ON_WM_INITMENUPOPUP() {WM_INITMENUPOPUP, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam_), LOWORD(lParam_), HIWORD(lParam_)); return true;)},
#define ON_WM_LBUTTONDOWN() LARK_MOUSE_ROW(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() LARK_MOUSE_ROW(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() LARK_MOUSE_ROW(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() LARK_MOUSE_ROW(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() LARK_MOUSE_ROW(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MOUSEMOVE() LARK_MOUSE_ROW(WM_MOUSEMOVE, OnMouseMove)
#define LARK_MOUSE_ROW(msg, fn) {msg, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->fn((UINT)wParam_, POINT{(short)LOWORD(lParam_), (short)HIWORD(lParam_)}); return true;)},
// BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message)
#define ON_WM_SETCURSOR() {WM_SETCURSOR, 0, 0, 0, nullptr, LARK_HANDLER( \
    result_ = self_->OnSetCursor(reinterpret_cast<HWND>(wParam_), LOWORD(lParam_), HIWORD(lParam_)); return true;)},
// void OnKeyDown(UINT key, UINT repeat, UINT flags)
#define ON_WM_KEYDOWN() {WM_KEYDOWN, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnKeyDown((UINT)wParam_, LOWORD(lParam_), HIWORD(lParam_)); return true;)},
#define ON_WM_CANCELMODE() {WM_CANCELMODE, 0, 0, 0, nullptr, LARK_HANDLER(self_->OnCancelMode(); return true;)},

// Sent by controls to their parent: void OnDrawItem(int id, LPDRAWITEMSTRUCT),
// void OnMeasureItem(int id, LPMEASUREITEMSTRUCT), HBRUSH OnCtlColor(HDC, CWnd*, UINT ctlType)
// (a null brush leaves the colours to the default handling), void OnHScroll(UINT code,
// UINT pos, CScrollBar*) and OnVScroll alike. A control's own object sees them first.
#define ON_WM_DRAWITEM() {WM_DRAWITEM, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnDrawItem((int)wParam_, reinterpret_cast<LPDRAWITEMSTRUCT>(lParam_)); result_ = TRUE; return true;)},
#define ON_WM_MEASUREITEM() {WM_MEASUREITEM, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnMeasureItem((int)wParam_, reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam_)); result_ = TRUE; return true;)},
#define LARK_CTLCOLOR_ROW(msg) {msg, 0, 0, 0, nullptr, LARK_HANDLER( \
    HBRUSH b_ = self_->OnCtlColor(reinterpret_cast<HDC>(wParam_), CWnd::FromHandle(reinterpret_cast<HWND>(lParam_)), \
                                  (msg) - WM_CTLCOLORMSGBOX); \
    if (!b_) return false; result_ = reinterpret_cast<LRESULT>(b_); return true;)},
#define ON_WM_CTLCOLOR() LARK_CTLCOLOR_ROW(WM_CTLCOLORMSGBOX) LARK_CTLCOLOR_ROW(WM_CTLCOLOREDIT) \
    LARK_CTLCOLOR_ROW(WM_CTLCOLORLISTBOX) LARK_CTLCOLOR_ROW(WM_CTLCOLORBTN) LARK_CTLCOLOR_ROW(WM_CTLCOLORDLG) \
    LARK_CTLCOLOR_ROW(WM_CTLCOLORSCROLLBAR) LARK_CTLCOLOR_ROW(WM_CTLCOLORSTATIC)
#define ON_WM_HSCROLL() {WM_HSCROLL, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnHScroll(LOWORD(wParam_), HIWORD(wParam_), CScrollBar::FromHandle(reinterpret_cast<HWND>(lParam_))); return true;)},
#define ON_WM_VSCROLL() {WM_VSCROLL, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->OnVScroll(LOWORD(wParam_), HIWORD(wParam_), CScrollBar::FromHandle(reinterpret_cast<HWND>(lParam_))); return true;)},

// Rows of a control's own map for what its parent reflects. The _EX forms return BOOL:
// FALSE lets the parent handle the message too.
// void fn(NMHDR*, LRESULT*)
#define ON_NOTIFY_REFLECT(code, fn) \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0xFFFFFFFFu, nullptr, \
     LARK_HANDLER((self_->*(fn))(reinterpret_cast<NMHDR*>(lParam_), &result_); return true;)},
#define ON_NOTIFY_REFLECT_EX(code, fn) \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0xFFFFFFFFu, nullptr, \
     LARK_HANDLER(return (self_->*(fn))(reinterpret_cast<NMHDR*>(lParam_), &result_) != FALSE;)},
// void fn() for a WM_COMMAND notification code (BN_CLICKED, EN_CHANGE, CBN_SELCHANGE, ...)
#define ON_CONTROL_REFLECT(code, fn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0xFFFFFFFFu, nullptr, \
     LARK_HANDLER((self_->*(fn))(); return true;)},
#define ON_CONTROL_REFLECT_EX(code, fn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0xFFFFFFFFu, nullptr, \
     LARK_HANDLER(return (self_->*(fn))() != FALSE;)},
// void DrawItem(LPDRAWITEMSTRUCT), void MeasureItem(LPMEASUREITEMSTRUCT)
#define ON_WM_DRAWITEM_REFLECT() {WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam_)); result_ = TRUE; return true;)},
#define ON_WM_MEASUREITEM_REFLECT() {WM_REFLECT_BASE + WM_MEASUREITEM, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam_)); result_ = TRUE; return true;)},
// HBRUSH CtlColor(HDC, UINT ctlType): a null brush leaves the colours to the parent.
#define LARK_CTLCOLOR_REFLECT_ROW(msg) {WM_REFLECT_BASE + (msg), 0, 0, 0, nullptr, LARK_HANDLER( \
    HBRUSH b_ = self_->CtlColor(reinterpret_cast<HDC>(wParam_), (msg) - WM_CTLCOLORMSGBOX); \
    if (!b_) return false; result_ = reinterpret_cast<LRESULT>(b_); return true;)},
#define ON_WM_CTLCOLOR_REFLECT() LARK_CTLCOLOR_REFLECT_ROW(WM_CTLCOLOREDIT) LARK_CTLCOLOR_REFLECT_ROW(WM_CTLCOLORLISTBOX) \
    LARK_CTLCOLOR_REFLECT_ROW(WM_CTLCOLORBTN) LARK_CTLCOLOR_REFLECT_ROW(WM_CTLCOLORSCROLLBAR) \
    LARK_CTLCOLOR_REFLECT_ROW(WM_CTLCOLORSTATIC)
// void HScroll(UINT code, UINT pos), void VScroll(UINT code, UINT pos)
#define ON_WM_HSCROLL_REFLECT() {WM_REFLECT_BASE + WM_HSCROLL, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->HScroll(LOWORD(wParam_), HIWORD(wParam_)); return true;)},
#define ON_WM_VSCROLL_REFLECT() {WM_REFLECT_BASE + WM_VSCROLL, 0, 0, 0, nullptr, LARK_HANDLER( \
    self_->VScroll(LOWORD(wParam_), HIWORD(wParam_)); return true;)},
