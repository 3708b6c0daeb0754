#pragma once
#include "framework/CmdTarget.h"
#include <windows.h>
#include <commctrl.h>
#include <string>

class CScrollBar;


// A window owned by a C++ object. Messages go through WindowProc: the message map first,
// then the default procedure (or the procedure the window had before it was subclassed).
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creates a window of the framework's own class, or of `className` when given.
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  const RECT& rect, HWND parent, UINT_PTR idOrMenu, void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  int x, int y, int cx, int cy, HWND parent, UINT_PTR idOrMenu, void* param = nullptr);
    // Takes over an existing window (a control created by a dialog, say). A window taken
    // over is given back, not destroyed, when the object dies before it.
    BOOL SubclassWindow(HWND hwnd);
    // Takes over the child `id` of `parent` (a dialog template's control).
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual BOOL DestroyWindow();

    // The object of a window created or subclassed by this framework, else null.
    static CWnd* FromHandlePermanent(HWND hwnd);
    // The object of `hwnd`, or a plain wrapper of it that lives as long as the window does.
    static CWnd* FromHandle(HWND hwnd);

    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(m_hWnd, msg, wp, lp); }
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    void MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) const { ::MoveWindow(m_hWnd, x, y, cx, cy, repaint); }
    void MoveWindow(const RECT& r, BOOL repaint = TRUE) const { MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, repaint); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const { return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags); }
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
    void ScreenToClient(POINT* p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(RECT* r) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(r), 2); }
    void ClientToScreen(POINT* p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(RECT* r) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(r), 2); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    // Adds and removes style bits; `flags` other than 0 also refreshes the frame (SetWindowPos flags).
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0) const;
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0) const;
    void SetFont(HFONT font, BOOL redraw = TRUE) const { ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
    BOOL RedrawWindow(const RECT* r = nullptr, HRGN rgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) const { return ::RedrawWindow(m_hWnd, r, rgn, flags); }
    void InvalidateRect(const RECT* r, BOOL erase = TRUE) const { ::InvalidateRect(m_hWnd, r, erase); }

    // Children by control id.
    CWnd* GetDlgItem(int id) const;
    void SetDlgItemText(int id, const std::wstring& text) const { ::SetDlgItemTextW(m_hWnd, id, text.c_str()); }
    std::wstring GetDlgItemText(int id) const;
    UINT GetDlgItemInt(int id, BOOL* ok = nullptr, BOOL isSigned = TRUE) const { return ::GetDlgItemInt(m_hWnd, id, ok, isSigned); }
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) const { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    void CheckDlgButton(int id, UINT check) const { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendDlgItemMessageW(m_hWnd, id, msg, wp, lp); }

    // Command routing entry for every WM_COMMAND, menu command or control notification.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Lets a window translate a message before it is dispatched (accelerators, dialogs).
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Runs the update handlers of `popup`'s items along this window's command route:
    // items nobody handles are disabled when `disableUnhandled` is set.
    void UpdateMenuItems(HMENU popup, BOOL disableUnhandled);

    // Name of the window class registered for framework windows.
    static const wchar_t* DefaultClassName();

    // Tool tips. A window that shows them describes the tool under a client point in
    // OnToolHitTest (its id, or -1 for none); the tip then asks the tool's window for its
    // text with TTN_NEEDTEXTW. The default tool is the child window under the point.
    void EnableToolTips(BOOL enable = TRUE) { m_toolTips = enable != FALSE; }
    virtual bool WantsToolTips() const { return m_toolTips; }
    virtual INT_PTR OnToolHitTest(POINT point, TOOLINFOW* ti) const;

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The message map; true when a handler took the message.
    virtual BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called on a control with a message its parent reflects (WM_NOTIFY, a control's
    // WM_COMMAND, WM_DRAWITEM, WM_MEASUREITEM, WM_DELETEITEM, WM_COMPAREITEM, WM_CTLCOLOR*,
    // WM_HSCROLL, WM_VSCROLL); true when the control's map took it.
    virtual BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Offers a parent's message to the control it came from.
    BOOL ReflectChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // The default handling of what controls send their parent, for handlers that pass on.
    HBRUSH OnCtlColor(HDC dc, CWnd* wnd, UINT ctlType);
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    // Called after the last message; windows created on the heap delete themselves here.
    virtual void PostNcDestroy() {}

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR ref);

    // Whether this object made the window (and so destroys it when it dies first).
    bool m_ownsWindow = false;

private:
    void Attach(HWND hwnd);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    void Detach();
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    bool m_subclassed = false;
    bool m_toolTips = false;
    // While CreateEx runs, a window destroyed by its own creation (WM_CREATE returning -1)
    // does not run PostNcDestroy: the creator gets FALSE and disposes of the object itself.
    bool m_creating = false;
};

// The scroll bar control as scroll handlers receive it (null for a window's own scroll bars).
class CScrollBar : public CWnd {
public:
    static CScrollBar* FromHandle(HWND hwnd) { return hwnd ? static_cast<CScrollBar*>(CWnd::FromHandle(hwnd)) : nullptr; }
};
