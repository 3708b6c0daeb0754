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
