// The frame's control bars: layout, toggles, dock state, message pane and pane switching.
#include "framework/FrameWnd.h"
#include "framework/ControlBar.h"
#include "framework/DockState.h"
#include "framework/FrameIds.h"
#include "framework/MessageBox.h"
#include "framework/ReBar.h"
#include "framework/ToolTips.h"
#include "framework/View.h"
#include <algorithm>

void CFrameWnd::AddControlBar(CControlBar* bar) {
    if (bar && std::find(m_controlBars.begin(), m_controlBars.end(), bar) == m_controlBars.end())
        m_controlBars.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar) {
    m_controlBars.erase(std::remove(m_controlBars.begin(), m_controlBars.end(), bar), m_controlBars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const {
    for (CControlBar* bar : m_controlBars)
        if (bar->m_hWnd && static_cast<UINT>(::GetDlgCtrlID(bar->m_hWnd)) == id) return bar;
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay) {
    if (!bar || !bar->m_hWnd) return;
    if (auto* rebar = dynamic_cast<CReBar*>(CWnd::FromHandlePermanent(::GetParent(bar->m_hWnd))))
        rebar->ShowBandOf(bar->m_hWnd, show);
    ::ShowWindow(bar->m_hWnd, show ? SW_SHOWNA : SW_HIDE);
    if (!delay) RecalcLayout();
}

void CFrameWnd::RepositionBars(RECT& client) {
    if (m_inBarLayout) {
        // A bar changed its size while being placed (a rebar wrapping its bands): the
        // running layout goes round once more.
        m_barLayoutAgain = true;
        return;
    }
    m_inBarLayout = true;
    const RECT whole = client;
    for (int round = 0; round < 3; ++round) {
        m_barLayoutAgain = false;
        client = whole;
        // Copy: a bar may leave the list while it is moved.
        const std::vector<CControlBar*> bars = m_controlBars;
        for (CControlBar* bar : bars) {
            if (!bar->m_hWnd || ::GetParent(bar->m_hWnd) != m_hWnd || !bar->IsVisible()) continue;
            const DWORD style = bar->GetBarStyle();
            const bool horz = (style & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) == 0;
            const SIZE want = (style & CBRS_SIZE_DYNAMIC)
                                  ? bar->CalcDynamicLayout(-1, horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK)
                                  : bar->CalcFixedLayout(TRUE, horz);
            const int width = client.right - client.left;
            const int height = client.bottom - client.top;
            RECT r = client;
            if (horz) {
                const int cy = std::max(0, std::min<int>(want.cy, height));
                if (style & CBRS_ALIGN_BOTTOM) {
                    r.top = client.bottom - cy;
                    client.bottom -= cy;
                } else {
                    r.bottom = client.top + cy;
                    client.top += cy;
                }
                r.right = r.left + std::max(0, std::min<int>(want.cx, width));
            } else {
                const int cx = std::max(0, std::min<int>(want.cx, width));
                if (style & CBRS_ALIGN_RIGHT) {
                    r.left = client.right - cx;
                    client.right -= cx;
                } else {
                    r.right = client.left + cx;
                    client.left += cx;
                }
                r.bottom = r.top + std::max(0, std::min<int>(want.cy, height));
            }
            ::SetWindowPos(bar->m_hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (!m_barLayoutAgain) break;
    }
    m_inBarLayout = false;
}

void CFrameWnd::OnBarCheck(UINT id) {
    CControlBar* bar = GetControlBar(id);
    if (bar) ShowControlBar(bar, !bar->IsVisible(), FALSE);
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* ui) {
    CControlBar* bar = GetControlBar(ui->m_nID);
    ui->Enable(bar != nullptr);
    ui->SetCheck(bar && bar->IsVisible() ? 1 : 0);
}

namespace {
// The views of a frame that can take the focus, in window order (pane by pane).
std::vector<CView*> FocusableViews(HWND frame) {
    std::vector<CView*> views;
    ::EnumChildWindows(frame, [](HWND h, LPARAM lp) -> BOOL {
        auto* view = dynamic_cast<CView*>(CWnd::FromHandlePermanent(h));
        RECT r;
        if (view && ::IsWindowEnabled(h) && ::GetClientRect(h, &r) && r.right > 0 && r.bottom > 0) {
            bool shown = true;
            for (HWND p = h; p && (::GetWindowLongPtrW(p, GWL_STYLE) & WS_CHILD); p = ::GetParent(p))
                if (!(::GetWindowLongPtrW(p, GWL_STYLE) & WS_VISIBLE)) shown = false;
            if (shown) reinterpret_cast<std::vector<CView*>*>(lp)->push_back(view);
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&views));
    return views;
}
}  // namespace

void CFrameWnd::OnNextPane(UINT id) {
    const std::vector<CView*> views = FocusableViews(m_hWnd);
    if (views.empty()) return;
    // The current pane: the active view, else the view that holds the focus.
    auto current = std::find(views.begin(), views.end(), m_activeView);
    if (current == views.end()) {
        for (HWND f = ::GetFocus(); f && current == views.end(); f = ::GetParent(f))
            current = std::find(views.begin(), views.end(), dynamic_cast<CView*>(CWnd::FromHandlePermanent(f)));
    }
    const int n = static_cast<int>(views.size());
    int index = current == views.end() ? (id == ID_PREV_PANE ? 0 : n - 1) : static_cast<int>(current - views.begin());
    index = (index + (id == ID_PREV_PANE ? n - 1 : 1)) % n;
    SetActiveView(views[index]);
    ::SetFocus(views[index]->m_hWnd);
}

void CFrameWnd::OnUpdateNextPane(CCmdUI* ui) {
    ui->Enable(FocusableViews(m_hWnd).size() > 1);
}

CWnd* CFrameWnd::GetMessageBar() const {
    return GetControlBar(AFX_IDW_STATUS_BAR);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM id, LPARAM text) {
    const UINT previous = m_lastMessageId;
    std::wstring shown;
    if (text) shown = reinterpret_cast<const wchar_t*>(text);
    else if (id == AFX_IDS_IDLEMESSAGE) shown = AfxLoadString(AFX_IDS_IDLEMESSAGE);
    else if (id != 0) shown = AfxLoadStringPart(static_cast<UINT>(id), 0);
    m_lastMessageId = static_cast<UINT>(id);
    if (CWnd* bar = GetMessageBar()) {
        ::SetWindowTextW(bar->m_hWnd, shown.c_str());
        ::UpdateWindow(bar->m_hWnd);
    }
    return previous;
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    const UINT item = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    UINT id = 0;
    if (flags == 0xFFFF && lParam == 0) id = AFX_IDS_IDLEMESSAGE;   // the menu closed
    else if (!(flags & (MF_POPUP | MF_SEPARATOR)) && !((flags & MF_SYSMENU) && item >= 0xF000)) id = item;
    OnSetMessageString(id, 0);
    return 0;
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (nm && nm->code == RBN_HEIGHTCHANGE) RecalcLayout();
    if (CWnd::OnNotify(wParam, lParam, result)) return TRUE;
    if (nm && nm->code == TTN_NEEDTEXTW && AfxDefaultToolTipText(nm)) {
        *result = 0;
        return TRUE;
    }
    return FALSE;
}

void CFrameWnd::GetDockState(CDockState& state) const {
    state.Clear();
    for (CControlBar* bar : m_controlBars) {
        const int id = bar->m_hWnd ? ::GetDlgCtrlID(bar->m_hWnd) : 0;
        if (id > 0) state.m_bars.push_back({static_cast<UINT>(id), bar->IsVisible() != FALSE});
    }
}

void CFrameWnd::SetDockState(const CDockState& state) {
    for (const CDockState::BarInfo& info : state.m_bars) {
        CControlBar* bar = GetControlBar(info.id);
        if (bar && (bar->IsVisible() != FALSE) != info.visible) ShowControlBar(bar, info.visible, TRUE);
    }
    RecalcLayout();
}

void CFrameWnd::SaveBarState(const wchar_t* name) const {
    CDockState state;
    GetDockState(state);
    state.SaveState(name);
}

void CFrameWnd::LoadBarState(const wchar_t* name) {
    CDockState state;
    if (state.LoadState(name)) SetDockState(state);
}
