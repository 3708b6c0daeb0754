#include "ui/controls/XPMenuBar.h"
#include "ui/controls/MenuBarHooks.h"
#include "framework/FrameWnd.h"

// Bar window, items, layout and painting. Keys and popups: XPMenuBarTrack.cpp.

namespace {
constexpr UINT kMenuBarId = 59417;
constexpr int kGripperWidth = 7;

constexpr DWORD kMenuBarStyle = CBRS_ALIGN_TOP | CBRS_FLYBY | CBRS_TOOLTIPS | CBRS_SIZE_FIXED;
}  // namespace

UINT CXPMenuBar::WM_GETMENU = ::RegisterWindowMessageW(L"CXPMenuBar::WM_GETMENU");
UINT CXPMenuBar::MB_SET_MENU_NULL = ::RegisterWindowMessageW(L"CXPMenuBar::MB_SET_MENU_NULL");

BEGIN_MESSAGE_MAP(CXPMenuBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_LBUTTONDOWN, &CXPMenuBar::OnLButtonDown)
    ON_MESSAGE(WM_MOUSEMOVE, &CXPMenuBar::OnMouseMove)
    ON_MESSAGE(WM_LBUTTONUP, &CXPMenuBar::OnLButtonUp)
    ON_MESSAGE(WM_NCCALCSIZE, &CXPMenuBar::OnNcCalcSize)
    ON_MESSAGE(WM_NCPAINT, &CXPMenuBar::OnNcPaint)
    ON_MESSAGE(WM_NCHITTEST, &CXPMenuBar::OnNcHitTest)
    ON_REGISTERED_MESSAGE(CXPMenuBar::MB_SET_MENU_NULL, &CXPMenuBar::OnSetMenuNull)
END_MESSAGE_MAP()

CXPMenuBar::CXPMenuBar() = default;

CXPMenuBar::~CXPMenuBar() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    FreeItems();
    if (m_menu) ::DestroyMenu(m_menu);
    if (m_gripperHorizontal) ::DeleteObject(m_gripperHorizontal);
    if (m_gripperVertical) ::DeleteObject(m_gripperVertical);
}

BOOL CXPMenuBar::CreateBar(CFrameWnd* frame) {
    if (!frame || !frame->m_hWnd) return FALSE;
    const wchar_t* cls = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
                                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return Create(cls, L"MenuBar", WS_CHILD | WS_VISIBLE | kMenuBarStyle, RECT{0, 0, 0, 0}, frame, kMenuBarId);
}

int CXPMenuBar::OnCreate(LPCREATESTRUCTW) {
    // The frame is the parent now; a rebar may become the parent later.
    HWND frame = GetParent();
    m_frameWnd = frame;
    m_frameActive = ::GetActiveWindow() == frame;
    m_frameHook = std::make_unique<CMainFrameHook>(this);
    m_frameHook->HookWindow(frame);
    // An MDI frame holds an MDI client: hook it too, and show the child's icon and buttons.
    HWND client = ::FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
    if (client) {
        m_mdi = true;
        m_mdiClient = client;
        m_mdiHook = std::make_unique<CMDIClientHook>(this);
        m_mdiHook->HookWindow(client);
    }
    CreateMenuBarFonts();
    return 0;
}

void CXPMenuBar::OnDestroy() {
    if (m_hoverTimer) ::KillTimer(m_hWnd, m_hoverTimer);
    m_hoverTimer = 0;
    if (m_frameHook) m_frameHook->HookWindow(nullptr);
    if (m_mdiHook) m_mdiHook->HookWindow(nullptr);
    FreeItems();
}

BOOL CXPMenuBar::LoadMenuBar(UINT menuId) {
    return LoadMenuBar(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId)));
}

BOOL CXPMenuBar::LoadMenuBar(HMENU menu) {
    SetBorders(2, 2, 3, 2);
    HWND frame = m_frameWnd;
    if (frame && ::GetMenu(frame))
        PostMessage(MB_SET_MENU_NULL, reinterpret_cast<WPARAM>(frame), 0);
    if (!menu) return FALSE;
    if (m_menu && m_menu != menu) ::DestroyMenu(m_menu);
    m_menu = menu;
    BuildItems();
    return TRUE;
}

LRESULT CXPMenuBar::OnSetMenuNull(WPARAM wParam, LPARAM) {
    HWND frame = reinterpret_cast<HWND>(wParam);
    if (frame && ::IsWindow(frame)) {
        ::SetMenu(frame, nullptr);
        ::DrawMenuBar(frame);
    }
    return 0;
}

void CXPMenuBar::FreeItems() {
    m_items.clear();
    m_icon = nullptr;
    m_control = nullptr;
    m_current = -1;
}

void CXPMenuBar::BuildItems() {
    FreeItems();
    if (m_mdi) {
        auto icon = std::make_unique<CMenuIcon>();
        m_icon = icon.get();
        m_items.push_back(std::move(icon));
    }
    const int count = m_menu ? ::GetMenuItemCount(m_menu) : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[513] = {};
        ::GetMenuStringW(m_menu, static_cast<UINT>(i), text, 513, MF_BYPOSITION);
        HMENU popup = ::GetSubMenu(m_menu, i);
        const UINT id = popup ? static_cast<UINT>(-1) : ::GetMenuItemID(m_menu, i);
        m_items.push_back(std::make_unique<CMenuButton>(text, popup, id));
    }
    if (m_mdi) {
        auto control = std::make_unique<CMenuControl>();
        m_control = control.get();
        m_items.push_back(std::move(control));
    }
    if (!m_frameActive)
        for (auto& item : m_items) item->m_state |= MISTATE_INACTIVE;
    if (m_hWnd) {
        LayoutItems(IsHorz());
        Invalidate();
    }
}

CXPMenuItem* CXPMenuBar::GetItem(int index) const {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

RECT CXPMenuBar::InsideInsets(bool horizontal) const {
    const RECT b = GetBorders();
    if (horizontal) return b;
    return RECT{b.top, b.left, b.bottom, b.right};
}

RECT CXPMenuBar::NonClientInsets(bool horizontal) const {
    const CXPMenuMetrics& mx = CreateMenuBarFonts();
    RECT r{0, 0, 0, 0};
    if (m_dwStyle & CBRS_BORDER_LEFT) r.left += mx.borderX2;
    if (m_dwStyle & CBRS_BORDER_RIGHT) r.right += mx.borderX2;
    if (m_dwStyle & CBRS_BORDER_TOP) r.top += mx.borderY2;
    if (m_dwStyle & CBRS_BORDER_BOTTOM) r.bottom += mx.borderY2;
    if ((m_dwStyle & CBRS_GRIPPER) && !(m_dwStyle & CBRS_FLOATING)) {
        if (horizontal)
            r.left += kGripperWidth;
        else
            r.top += kGripperWidth;
    }
    return r;
}

void CXPMenuBar::LayoutItems(bool horizontal) {
    const RECT in = InsideInsets(horizontal);
    int along = horizontal ? in.left : in.top;
    for (auto& item : m_items) {
        if (item.get() == m_control) continue;   // placed at the far end below
        along = horizontal ? item->Layout(along, in.top, true) : item->Layout(in.left, along, false);
    }
    if (m_control) {
        RECT client{0, 0, 0, 0};
        if (m_hWnd) ::GetClientRect(m_hWnd, &client);
        const SIZE s = m_control->m_size;
        const int end = horizontal ? client.right - in.right - s.cx : client.bottom - in.bottom - s.cx;
        const int at = end > along ? end : along;
        if (horizontal)
            m_control->Layout(at, in.top, true);
        else
            m_control->Layout(in.left, at, false);
    }
}

SIZE CXPMenuBar::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
    const bool horz = horizontal != FALSE;
    LayoutItems(horz);
    int length = 0, thickness = CreateMenuBarFonts().itemHeight;
    for (auto& item : m_items) {
        if (item->m_state & MISTATE_HIDDEN) continue;
        length += item->m_size.cx;
        if (item->m_size.cy > thickness) thickness = item->m_size.cy;
    }
    const RECT in = InsideInsets(horz), nc = NonClientInsets(horz);
    SIZE size;
    if (horz) {
        size.cx = length + in.left + in.right + nc.left + nc.right;
        size.cy = thickness + in.top + in.bottom + nc.top + nc.bottom;
        if (stretch) size.cx = 32767;
    } else {
        size.cx = thickness + in.left + in.right + nc.left + nc.right;
        size.cy = length + in.top + in.bottom + nc.top + nc.bottom;
        if (stretch) size.cy = 32767;
    }
    return size;
}

SIZE CXPMenuBar::CalcDynamicLayout(int, DWORD mode) {
    // The bar has a fixed size: it never wraps, so every mode lays it out in one line.
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CXPMenuBar::OnUpdateCmdUI(CFrameWnd*, BOOL) { UpdateMdiItems(); }

void CXPMenuBar::OnSize(UINT, int, int) {
    LayoutItems(IsHorz());
    Invalidate();
}

BOOL CXPMenuBar::OnEraseBkgnd(HDC) { return TRUE; }

void CXPMenuBar::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (client.right > 0 && client.bottom > 0) {
        HDC memory = ::CreateCompatibleDC(dc);
        HBITMAP bitmap = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::FillRect(memory, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        DoPaint(memory);
        ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CXPMenuBar::DoPaint(HDC dc) {
    for (auto& item : m_items)
        if (item.get() != m_control) item->Draw(dc);
    if (m_control) m_control->Draw(dc);
}

void CXPMenuBar::RedrawItem(int index) {
    CXPMenuItem* item = GetItem(index);
    if (!item || !m_hWnd) return;
    ::InvalidateRect(m_hWnd, &item->m_rect, FALSE);
}

LRESULT CXPMenuBar::OnNcCalcSize(WPARAM, LPARAM lParam) {
    auto* rc = reinterpret_cast<RECT*>(lParam);
    const RECT nc = NonClientInsets(IsHorz());
    rc->left += nc.left;
    rc->top += nc.top;
    rc->right -= nc.right;
    rc->bottom -= nc.bottom;
    if (rc->right < rc->left) rc->right = rc->left;
    if (rc->bottom < rc->top) rc->bottom = rc->top;
    return 0;
}

void CXPMenuBar::CreatePatternBrushes() {
    if (m_gripperHorizontal) return;
    // 8x8 monochrome patterns: rows alternating on and off, and the 0xAA dot columns.
    WORD rows[8], dots[8];
    for (int i = 0; i < 8; ++i) {
        rows[i] = (i % 2 == 0) ? 0xFF : 0x00;
        dots[i] = 0xAA;
    }
    HBITMAP horizontal = ::CreateBitmap(8, 8, 1, 1, rows);
    HBITMAP vertical = ::CreateBitmap(8, 8, 1, 1, dots);
    m_gripperHorizontal = ::CreatePatternBrush(horizontal);
    m_gripperVertical = ::CreatePatternBrush(vertical);
    ::DeleteObject(horizontal);
    ::DeleteObject(vertical);
}

LRESULT CXPMenuBar::OnNcPaint(WPARAM, LPARAM) {
    RECT window, client;
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::OffsetRect(&client, -window.left, -window.top);
    ::OffsetRect(&window, -window.left, -window.top);
    HDC dc = ::GetWindowDC(m_hWnd);
    ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    ::FillRect(dc, &window, ::GetSysColorBrush(COLOR_BTNFACE));
    if ((m_dwStyle & CBRS_GRIPPER) && !(m_dwStyle & CBRS_FLOATING)) {
        CreatePatternBrushes();
        const bool horizontal = IsHorz();
        RECT grip = horizontal ? RECT{window.left + 4, window.top + 6, window.left + 7, window.bottom - 6}
                               : RECT{window.left + 6, window.top + 4, window.right - 6, window.top + 7};
        const COLORREF oldText = ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
        const COLORREF oldBk = ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        ::FillRect(dc, &grip, horizontal ? m_gripperHorizontal : m_gripperVertical);
        ::SetBkColor(dc, oldBk);
        ::SetTextColor(dc, oldText);
    }
    ::ReleaseDC(m_hWnd, dc);
    return 0;
}

LRESULT CXPMenuBar::OnNcHitTest(WPARAM, LPARAM) { return HTCLIENT; }

int CXPMenuBar::HitTest(POINT client) const {
    for (size_t i = 0; i < m_items.size(); ++i) {
        const CXPMenuItem& item = *m_items[i];
        if (item.IsSelectable() && ::PtInRect(&item.m_rect, client)) return static_cast<int>(i);
    }
    return -1;
}

int CXPMenuBar::NextSelectable(int from, int step) const {
    const int count = static_cast<int>(m_items.size());
    if (count == 0) return -1;
    int i = from;
    for (int n = 0; n < count; ++n) {
        i = ((i + step) % count + count) % count;
        if (m_items[static_cast<size_t>(i)]->IsSelectable()) return i;
    }
    return -1;
}

int CXPMenuBar::FirstSelectable() const {
    if (m_items.empty()) return -1;
    if (m_items[0]->IsSelectable()) return 0;
    return NextSelectable(0, 1);
}

HWND CXPMenuBar::TopParent() const {
    HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
    return top ? top : m_frameWnd;
}

void CXPMenuBar::OnFrameNcActivate(BOOL active) {
    HWND frame = m_frameWnd;
    const bool now = frame && ::IsWindowEnabled(frame) && active != FALSE;
    if (now == m_frameActive) return;
    m_frameActive = now;
    for (auto& item : m_items) {
        if (now)
            item->m_state &= ~MISTATE_INACTIVE;
        else
            item->m_state |= MISTATE_INACTIVE;
    }
    if (m_hWnd) Invalidate(FALSE);
}

void CXPMenuBar::UpdateMdiItems() {
    if (!m_mdi || !m_mdiClient) return;
    BOOL maximised = FALSE;
    HWND child = reinterpret_cast<HWND>(::SendMessageW(m_mdiClient, WM_MDIGETACTIVE, 0,
                                                       reinterpret_cast<LPARAM>(&maximised)));
    m_activeChild = child;
    const bool show = child && maximised;
    for (CXPMenuItem* item : {static_cast<CXPMenuItem*>(m_icon), static_cast<CXPMenuItem*>(m_control)}) {
        if (!item) continue;
        const UINT before = item->m_state;
        if (show)
            item->m_state &= ~MISTATE_HIDDEN;
        else
            item->m_state |= MISTATE_HIDDEN;
        if (before != item->m_state) {
            LayoutItems(IsHorz());
            Invalidate();
        }
    }
    if (m_icon) m_icon->SetChild(child);
    if (m_control) m_control->SetChild(child);
}
