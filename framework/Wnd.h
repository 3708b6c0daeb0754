#pragma once
#include "framework/CmdTarget.h"
#include <windows.h>
#include <commctrl.h>
#include <string>

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
    // Takes over an existing window (a control created by a dialog, say).
    BOOL SubclassWindow(HWND hwnd);
    HWND UnsubclassWindow();
    virtual BOOL DestroyWindow();

    // The object of a window created or subclassed by this framework, else null.
    static CWnd* FromHandlePermanent(HWND hwnd);

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

    // Command routing entry for every WM_COMMAND, menu command or control notification.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Lets a window translate a message before it is dispatched (accelerators, dialogs).
    virtual BOOL PreTranslateMessage(MSG* msg);

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
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    // Called after the last message; windows created on the heap delete themselves here.
    virtual void PostNcDestroy() {}

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR ref);

private:
    void Attach(HWND hwnd);
    void Detach();
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    bool m_subclassed = false;
    bool m_toolTips = false;
    // While CreateEx runs, a window destroyed by its own creation (WM_CREATE returning -1)
    // does not run PostNcDestroy: the creator gets FALSE and disposes of the object itself.
    bool m_creating = false;
};
