#include "framework/Wnd.h"
#include "framework/WinApp.h"
#include <commctrl.h>
#include <exception>

namespace {
const wchar_t kObjectProp[] = L"Lark.CWnd";
const UINT_PTR kSubclassId = 0x4C41524B;   // "LARK"
}

CWnd::~CWnd() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND h = m_hWnd;
        Detach();
        ::DestroyWindow(h);
    }
}

const wchar_t* CWnd::DefaultClassName() {
    static const wchar_t name[] = L"LarkFrameworkWnd";
    static bool registered = [] {
        WNDCLASSEXW wc{sizeof wc};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &CWnd::StaticWndProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = name;
        return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    return name;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kObjectProp)) : nullptr;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kObjectProp, this);
}

void CWnd::Detach() {
    if (m_hWnd) ::RemovePropW(m_hWnd, kObjectProp);
    m_hWnd = nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW&) { return TRUE; }

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR idOrMenu, void* param) {
    return CreateEx(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, idOrMenu, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int cx, int cy, HWND parent, UINT_PTR idOrMenu, void* param) {
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className ? className : DefaultClassName();
    cs.lpszName = title;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(idOrMenu);
    cs.hInstance = ::GetModuleHandleW(nullptr);
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) return FALSE;

    // Classes registered with the framework's procedure find their object the same way.
    WNDCLASSEXW info{sizeof info};
    const bool ownClass = !className ||
                          (::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &info) &&
                           info.lpfnWndProc == &CWnd::StaticWndProc);
    // Our own class finds the object through the creation parameter; other classes are
    // subclassed right after creation.
    struct Hook { CWnd* self; void* param; } hook{this, cs.lpCreateParams};
    m_creating = true;
    HWND h = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                               cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                               ownClass ? static_cast<void*>(&hook) : cs.lpCreateParams);
    m_creating = false;
    if (!h) return FALSE;
    if (!ownClass) SubclassWindow(h);
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd) return FALSE;
    Attach(hwnd);
    m_subclassed = ::SetWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId,
                                       reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    return m_subclassed ? TRUE : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    HWND h = m_hWnd;
    if (h && m_subclassed) ::RemoveWindowSubclass(h, &CWnd::SubclassProc, kSubclassId);
    m_subclassed = false;
    Detach();
    return h;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

std::wstring CWnd::GetWindowText() const {
    int n = ::GetWindowTextLengthW(m_hWnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = ::GetWindowTextW(m_hWnd, &s[0], n + 1);
    s.resize(static_cast<size_t>(n > 0 ? n : 0));
    return s;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandlePermanent(hwnd);
    if (!self && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        struct Hook { CWnd* self; void* param; };
        auto* hook = static_cast<Hook*>(cs->lpCreateParams);
        if (hook && hook->self) {
            self = hook->self;
            self->Attach(hwnd);
            cs->lpCreateParams = hook->param;
        }
    }
    if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->Dispatch(msg, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<CWnd*>(ref);
    if (!self || self->m_hWnd != hwnd) return ::DefSubclassProc(hwnd, msg, wParam, lParam);
    return self->Dispatch(msg, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    try {
        result = WindowProc(msg, wParam, lParam);
    } catch (const std::exception& e) {
        ::OutputDebugStringA(e.what());
        result = Default(msg, wParam, lParam);
    } catch (...) {
        result = Default(msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        HWND h = m_hWnd;
        if (m_subclassed) ::RemoveWindowSubclass(h, &CWnd::SubclassProc, kSubclassId);
        m_subclassed = false;
        Detach();
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        if (!m_creating) {
            try {
                PostNcDestroy();
            } catch (...) {
            }
        }
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(msg, wParam, lParam, &result)) return result;
    return DefWindowProc(msg, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *result = 0;
            return TRUE;
        }
        return FALSE;
    }
    if (msg == WM_NOTIFY) return OnNotify(wParam, lParam, result);
    const MessageMapEntry* e = FindEntry(msg, 0, 0);
    if (!e) return FALSE;
    *result = 0;
    return e->invoke(this, wParam, lParam, *result) ? TRUE : FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // A menu or an accelerator (code 1) gives no control handle; a control's notification
    // keeps its code, so BN_CLICKED (0) of a toolbar button reaches ON_COMMAND handlers and
    // other codes only ON_CONTROL ones. Both follow the command route.
    const UINT code = lParam == 0 ? CN_COMMAND : HIWORD(wParam);
    return OnCmdMsg(LOWORD(wParam), code, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (!nm) return FALSE;
    const MessageMapEntry* e = FindEntry(WM_NOTIFY, nm->code, static_cast<UINT>(nm->idFrom));
    if (!e) return FALSE;
    *result = 0;
    return e->invoke(this, nm->idFrom, lParam, *result) ? TRUE : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(msg, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_subclassed) return ::DefSubclassProc(m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}
