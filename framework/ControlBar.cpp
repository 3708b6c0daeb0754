#include "framework/ControlBar.h"
#include "framework/FrameWnd.h"
#include "framework/ToolTips.h"
#include <set>
#include <string>
#include <vector>

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::~CControlBar() {
    // While the window lives, so does its frame; afterwards the frame has let go already.
    if (m_hWnd && ::IsWindow(m_hWnd)) DetachFromFrame();
}

BOOL CControlBar::Create(const wchar_t* className, const wchar_t* title, DWORD style,
                         const RECT& rect, CWnd* parent, UINT id) {
    m_dwStyle = style & CBRS_ALL;
    if (!CreateEx(0, className, title, style & ~CBRS_ALL, rect, parent ? parent->m_hWnd : nullptr, id))
        return FALSE;
    AttachToFrame();
    return TRUE;
}

CFrameWnd* CControlBar::FindParentFrame(HWND hwnd) {
    for (HWND h = hwnd ? ::GetParent(hwnd) : nullptr; h; h = ::GetParent(h))
        if (auto* f = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h))) return f;
    return nullptr;
}

void CControlBar::AttachToFrame() {
    if (m_pDockSite || !m_hWnd) return;
    m_pDockSite = FindParentFrame(m_hWnd);
    if (m_pDockSite) m_pDockSite->AddControlBar(this);
    WNDCLASSEXW info{sizeof info};
    m_paintsItself = ::GetClassInfoExW(::GetModuleHandleW(nullptr), CWnd::DefaultClassName(), &info) &&
                     reinterpret_cast<WNDPROC>(::GetClassLongPtrW(m_hWnd, GCLP_WNDPROC)) == info.lpfnWndProc;
}

void CControlBar::DetachFromFrame() {
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
}

SIZE CControlBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    SIZE size{0, 0};
    RECT borders = GetBorders();
    size.cx = borders.left + borders.right;
    size.cy = borders.top + borders.bottom;
    if (stretch) {
        // The frame gives the bar the whole length of its edge.
        if (horz) size.cx = 32767;
        else size.cy = 32767;
    }
    return size;
}

SIZE CControlBar::CalcDynamicLayout(int, DWORD mode) {
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CControlBar::DoPaint(HDC) {}

void CControlBar::SetBorders(int left, int top, int right, int bottom) {
    m_cxLeftBorder = left;
    m_cyTopBorder = top;
    m_cxRightBorder = right;
    m_cyBottomBorder = bottom;
}

RECT CControlBar::GetBorders() const {
    return RECT{m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder};
}

BOOL CControlBar::IsVisible() const {
    return m_hWnd && (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_VISIBLE) ? TRUE : FALSE;
}

bool CControlBar::WantsToolTips() const {
    return (m_dwStyle & (CBRS_TOOLTIPS | CBRS_FLYBY)) != 0 || CWnd::WantsToolTips();
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (IsVisible() && m_pDockSite) OnUpdateCmdUI(m_pDockSite, static_cast<BOOL>(wParam));
    return 0;
}

LRESULT CControlBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        LRESULT result = CWnd::WindowProc(msg, wParam, lParam);
        if (result != -1) AttachToFrame();
        return result;
    }
    case WM_NCDESTROY:
        DetachFromFrame();
        break;
    case WM_PAINT:
        if (m_paintsItself) {
            LRESULT result = 0;
            if (OnWndMsg(msg, wParam, lParam, &result)) return result;
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(m_hWnd, &ps);
            DoPaint(dc);
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        break;
    default:
        break;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

// Commands and notifications go on to the parent, which offers them to the control that sent
// them (reflection) before its own map. The bar does not reflect them itself: a control would
// see the same notification once at every level up to the frame.
BOOL CControlBar::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT code = lParam == 0 ? CN_COMMAND : HIWORD(wParam);
    if (OnCmdMsg(LOWORD(wParam), code, nullptr)) return TRUE;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return FALSE;
    ::SendMessageW(parent, WM_COMMAND, wParam, lParam);
    return TRUE;
}

BOOL CControlBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (!nm) return FALSE;
    if (const MessageMapEntry* e = FindEntry(WM_NOTIFY, nm->code, static_cast<UINT>(nm->idFrom))) {
        *result = 0;
        if (e->invoke(this, nm->idFrom, lParam, *result)) return TRUE;
    }
    // A tip of this bar's own tools reads its text from the string table unless a handler
    // above gave one.
    if (nm->code == TTN_NEEDTEXTW && AfxDefaultToolTipText(nm)) {
        *result = 0;
        return TRUE;
    }
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return FALSE;
    *result = ::SendMessageW(parent, WM_NOTIFY, wParam, lParam);
    return TRUE;
}

const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    static std::set<std::wstring> names;
    wchar_t name[96];
    ::swprintf(name, 96, L"LarkWnd:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
               static_cast<void*>(background), static_cast<void*>(icon));
    auto found = names.find(name);
    if (found != names.end()) return found->c_str();

    WNDCLASSEXW base{sizeof base};
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    if (!::GetClassInfoExW(inst, CWnd::DefaultClassName(), &base)) return CWnd::DefaultClassName();
    auto inserted = names.insert(name).first;
    const std::wstring& stored = *inserted;
    WNDCLASSEXW wc{sizeof wc};
    wc.style = classStyle;
    wc.lpfnWndProc = base.lpfnWndProc;
    wc.hInstance = inst;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = stored.c_str();
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        names.erase(inserted);
        return CWnd::DefaultClassName();
    }
    return stored.c_str();
}

void AfxUpdateIdleCmdUI(HWND mainWnd) {
    if (!mainWnd) return;
    // Collected first: an update may create or destroy windows.
    std::vector<HWND> windows{mainWnd};
    ::EnumChildWindows(mainWnd, [](HWND h, LPARAM lp) -> BOOL {
        if (CWnd::FromHandlePermanent(h)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));
    for (HWND h : windows)
        if (::IsWindow(h) && CWnd::FromHandlePermanent(h)) ::SendMessageW(h, WM_IDLEUPDATECMDUI, TRUE, 0);
}
