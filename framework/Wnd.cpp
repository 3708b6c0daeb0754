#include "framework/Wnd.h"
#include "framework/SubclassChain.h"
#include "framework/WinApp.h"
#include <commctrl.h>
#include <exception>
#include <memory>
#include <unordered_map>

namespace {
const UINT_PTR kSubclassId = 0x4C41524B;   // "LARK"

// The object waiting for its system-class window during CreateEx (see CreationHook).
thread_local CWnd* t_pendingCreation = nullptr;

// Plain wrappers handed out by FromHandle, per thread, one per window handle.
thread_local std::unordered_map<HWND, std::unique_ptr<CWnd>> t_wrappers;

// The object of every attached window, for all threads. Every message of an own-class window
// looks its object up here: a window property would cost a call to the Wine server each time.
SRWLOCK g_objectsLock = SRWLOCK_INIT;
std::unordered_map<HWND, CWnd*>& Objects() {
    static auto* objects = new std::unordered_map<HWND, CWnd*>;   // outlives every window
    return *objects;
}

// Forgets `hwnd` if it still names `wnd`.
void ForgetObject(HWND hwnd, const CWnd* wnd) {
    ::AcquireSRWLockExclusive(&g_objectsLock);
    auto found = Objects().find(hwnd);
    if (found != Objects().end() && found->second == wnd) Objects().erase(found);
    ::ReleaseSRWLockExclusive(&g_objectsLock);
}
}  // namespace

CWnd::~CWnd() {
    if (!m_hWnd) return;
    if (!::IsWindow(m_hWnd)) {
        ForgetObject(m_hWnd, this);
        m_hWnd = nullptr;   // a wrapper of a window that is gone; its handle may be reused
    } else if (m_ownsWindow) {
        HWND h = m_hWnd;
        if (m_subclassed) subclass_chain::Remove(h, &CWnd::SubclassProc, kSubclassId);
        m_subclassed = false;
        Detach();
        ::DestroyWindow(h);
    } else if (FromHandlePermanent(m_hWnd) == this) {
        // A control of a dialog template, say: it stays with its dialog.
        UnsubclassWindow();
    } else {
        m_hWnd = nullptr;   // a plain wrapper
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
    if (!hwnd) return nullptr;
    ::AcquireSRWLockShared(&g_objectsLock);
    auto found = Objects().find(hwnd);
    CWnd* wnd = found != Objects().end() ? found->second : nullptr;
    ::ReleaseSRWLockShared(&g_objectsLock);
    return wnd;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hwnd)) return wnd;
    auto found = t_wrappers.find(hwnd);
    if (found != t_wrappers.end()) return found->second.get();
    if (t_wrappers.size() >= 256) {
        // Wrappers of windows that are gone are dropped; callers hold them only briefly.
        for (auto it = t_wrappers.begin(); it != t_wrappers.end();)
            it = ::IsWindow(it->first) ? std::next(it) : t_wrappers.erase(it);
    }
    auto wrapper = std::make_unique<CWnd>();
    wrapper->m_hWnd = hwnd;
    CWnd* result = wrapper.get();
    t_wrappers[hwnd] = std::move(wrapper);
    return result;
}

CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

std::wstring CWnd::GetDlgItemText(int id) const {
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item) return std::wstring();
    int n = ::GetWindowTextLengthW(item);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = ::GetWindowTextW(item, &s[0], n + 1);
    s.resize(static_cast<size_t>(n > 0 ? n : 0));
    return s;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) const {
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
    if (flags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) const {
    DWORD style = GetExStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(changed));
    if (flags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    ::AcquireSRWLockExclusive(&g_objectsLock);
    Objects()[hwnd] = this;
    ::ReleaseSRWLockExclusive(&g_objectsLock);
}

void CWnd::Detach() {
    if (m_hWnd) ForgetObject(m_hWnd, this);
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

    // Our own class, and classes registered with the framework's procedure, find their
    // object through the creation parameter; any other class is subclassed by a creation
    // hook before its first message, so the map sees WM_CREATE.
    WNDCLASSEXW info{sizeof info};
    const bool ownClass = !IS_INTRESOURCE(cs.lpszClass) &&
                          (::wcscmp(cs.lpszClass, DefaultClassName()) == 0 ||
                           (::GetClassInfoExW(::GetModuleHandleW(nullptr), cs.lpszClass, &info) &&
                            info.lpfnWndProc == &CWnd::StaticWndProc));
    struct Hook { CWnd* self; void* param; } hook{this, cs.lpCreateParams};
    HHOOK cbt = nullptr;
    CWnd* outerPending = t_pendingCreation;
    if (!ownClass) {
        t_pendingCreation = this;
        cbt = ::SetWindowsHookExW(WH_CBT, &CWnd::CreationHook, nullptr, ::GetCurrentThreadId());
    }
    m_creating = true;
    m_ownsWindow = true;
    HWND h = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                               cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                               ownClass ? static_cast<void*>(&hook) : cs.lpCreateParams);
    m_creating = false;
    if (cbt) ::UnhookWindowsHookEx(cbt);
    t_pendingCreation = outerPending;
    if (!h) {
        m_ownsWindow = false;
        return FALSE;
    }
    if (!m_hWnd) SubclassWindow(h);   // the hook could not run
    m_ownsWindow = true;
    return TRUE;
}

LRESULT CALLBACK CWnd::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pendingCreation) {
        CWnd* self = t_pendingCreation;
        t_pendingCreation = nullptr;
        self->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd)) return FALSE;
    Attach(hwnd);
    m_subclassed = subclass_chain::Set(hwnd, &CWnd::SubclassProc, kSubclassId,
                                       reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    if (!m_subclassed) Detach();
    m_ownsWindow = false;
    return m_subclassed ? TRUE : FALSE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND item = parent ? ::GetDlgItem(parent->m_hWnd, static_cast<int>(id)) : nullptr;
    return item ? SubclassWindow(item) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    HWND h = m_hWnd;
    if (h && m_subclassed) subclass_chain::Remove(h, &CWnd::SubclassProc, kSubclassId);
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
    if (!self || self->m_hWnd != hwnd) return subclass_chain::DefSubclass(hwnd, msg, wParam, lParam);
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
        if (m_subclassed) subclass_chain::Remove(h, &CWnd::SubclassProc, kSubclassId);
        m_subclassed = false;
        m_ownsWindow = false;
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
    if (ReflectChildNotify(msg, wParam, lParam, result)) return TRUE;
    const MessageMapEntry* e = FindEntry(msg, 0, 0);
    if (!e) return FALSE;
    *result = 0;
    return e->invoke(this, wParam, lParam, *result) ? TRUE : FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    if (lParam && ReflectChildNotify(WM_COMMAND, wParam, lParam, &reflected)) return TRUE;
    // A menu or an accelerator (code 1) gives no control handle; a control's notification
    // keeps its code, so BN_CLICKED (0) of a toolbar button reaches ON_COMMAND handlers and
    // other codes only ON_CONTROL ones. Both follow the command route.
    const UINT code = lParam == 0 ? CN_COMMAND : HIWORD(wParam);
    return OnCmdMsg(LOWORD(wParam), code, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (!nm) return FALSE;
    if (ReflectChildNotify(WM_NOTIFY, nm->idFrom, lParam, result)) return TRUE;
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
    if (m_subclassed) return subclass_chain::DefSubclass(m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::ReflectChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        child = lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item && item->CtlType != ODT_MENU) child = item->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        // Sent before a control may even have a handle to give: found by its id.
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item && item->CtlType != ODT_MENU) child = ::GetDlgItem(m_hWnd, static_cast<int>(item->CtlID));
        break;
    }
    case WM_DELETEITEM:
        child = lParam ? reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        break;
    case WM_COMPAREITEM:
        child = lParam ? reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        break;
    default:
        return FALSE;
    }
    CWnd* control = FromHandlePermanent(child);
    if (!control || control == this) return FALSE;
    return control->OnChildNotify(msg, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    UINT code = 0;
    UINT id = 0;
    if (msg == WM_NOTIFY) {
        auto* nm = reinterpret_cast<NMHDR*>(lParam);
        code = nm->code;
        id = static_cast<UINT>(nm->idFrom);
    } else if (msg == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    }
    const MessageMapEntry* e = FindEntry(WM_REFLECT_BASE + msg, code, id);
    if (!e) return FALSE;
    LRESULT r = 0;
    if (!e->invoke(this, wParam, lParam, r)) return FALSE;
    *result = r;
    return TRUE;
}

HBRUSH CWnd::OnCtlColor(HDC dc, CWnd* wnd, UINT ctlType) {
    return reinterpret_cast<HBRUSH>(DefWindowProc(WM_CTLCOLORMSGBOX + ctlType, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(wnd ? wnd->m_hWnd : nullptr)));
}

void CWnd::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    DefWindowProc(WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(item));
}

void CWnd::OnMeasureItem(int id, LPMEASUREITEMSTRUCT item) {
    DefWindowProc(WM_MEASUREITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(item));
}

void CWnd::OnHScroll(UINT code, UINT pos, CScrollBar* bar) {
    DefWindowProc(WM_HSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(bar ? bar->m_hWnd : nullptr));
}

void CWnd::OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
    DefWindowProc(WM_VSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(bar ? bar->m_hWnd : nullptr));
}

namespace {
// The state of one item of a popup menu, addressed by position (ids may repeat).
class MenuItemCmdUI : public CCmdUI {
public:
    MenuItemCmdUI(HMENU menu, UINT index) : m_menu(menu), m_index(index) {}
    void Enable(BOOL on) override {
        CCmdUI::Enable(on);
        ::EnableMenuItem(m_menu, m_index, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    }
    void SetCheck(int check) override {
        CCmdUI::SetCheck(check);
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        if (!::GetMenuItemInfoW(m_menu, m_index, TRUE, &info)) return;
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        info.fType &= ~static_cast<UINT>(MFT_RADIOCHECK);
        info.fState = (info.fState & ~static_cast<UINT>(MFS_CHECKED)) | (check ? MFS_CHECKED : 0);
        ::SetMenuItemInfoW(m_menu, m_index, TRUE, &info);
    }
    void SetRadio(BOOL on) override {
        CCmdUI::SetCheck(on ? 1 : 0);
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        if (!::GetMenuItemInfoW(m_menu, m_index, TRUE, &info)) return;
        info.fType |= MFT_RADIOCHECK;
        info.fState = (info.fState & ~static_cast<UINT>(MFS_CHECKED)) | (on ? MFS_CHECKED : 0);
        ::SetMenuItemInfoW(m_menu, m_index, TRUE, &info);
    }
    void SetText(const wchar_t* text) override {
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<wchar_t*>(text ? text : L"");
        ::SetMenuItemInfoW(m_menu, m_index, TRUE, &info);
    }

private:
    HMENU m_menu;
    UINT m_index;
};
}  // namespace

void CWnd::UpdateMenuItems(HMENU popup, BOOL disableUnhandled) {
    const int count = popup ? ::GetMenuItemCount(popup) : 0;
    for (int i = 0; i < count; ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        // Separators, submenus and system commands have no update handlers.
        if (id == 0 || id == static_cast<UINT>(-1) || id >= 0xF000) continue;
        MenuItemCmdUI ui(popup, static_cast<UINT>(i));
        ui.m_nID = id;
        if (OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui)) continue;
        if (disableUnhandled) {
            CCmdHandlerProbe probe;
            OnCmdMsg(id, CN_COMMAND, &probe);
            ui.Enable(probe.found ? TRUE : FALSE);
        }
    }
}
