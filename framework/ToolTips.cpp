#include "framework/ToolTips.h"
#include "framework/ControlBar.h"
#include "framework/FrameIds.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/Wnd.h"

namespace {

// What the tip of this thread shows: the tool last found, in the window that described it.
struct ToolTipState {
    HWND tip = nullptr;
    HWND window = nullptr;      // the window whose OnToolHitTest found the tool
    INT_PTR hit = -1;
    TOOLINFOW tool{};
    HWND flyByFrame = nullptr;  // the frame whose message pane shows a bar's prompt
};
thread_local ToolTipState t_state;

bool IsClientMouseMessage(UINT msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL && msg != WM_MOUSEHWHEEL;
}

bool IsNonClientMouseMessage(UINT msg) {
    return msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK;
}

HWND EnsureTip(HWND window) {
    HWND owner = ::GetAncestor(window, GA_ROOT);
    if (t_state.tip && ::IsWindow(t_state.tip) && ::GetWindow(t_state.tip, GW_OWNER) == owner) return t_state.tip;
    if (t_state.tip && ::IsWindow(t_state.tip)) ::DestroyWindow(t_state.tip);
    t_state.tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    return t_state.tip;
}

void RemoveTool() {
    if (t_state.hit != -1 && t_state.tip && ::IsWindow(t_state.tip)) {
        ::SendMessageW(t_state.tip, TTM_POP, 0, 0);
        ::SendMessageW(t_state.tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&t_state.tool));
    }
    t_state.hit = -1;
    t_state.tool = TOOLINFOW{};
}

// Shows the status prompt of `hit` (or the idle text) in the message pane of the frame of a
// fly-by bar; a frame that showed a prompt before gets the idle text back when the mouse
// leaves its bars.
void ShowFlyBy(CWnd* window, INT_PTR hit) {
    HWND frame = nullptr;
    auto* bar = dynamic_cast<CControlBar*>(window);
    if (bar && (bar->GetBarStyle() & CBRS_FLYBY) && bar->GetDockingFrame())
        frame = bar->GetDockingFrame()->m_hWnd;
    if (t_state.flyByFrame && t_state.flyByFrame != frame && ::IsWindow(t_state.flyByFrame))
        ::SendMessageW(t_state.flyByFrame, WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
    t_state.flyByFrame = frame;
    if (frame) {
        const WPARAM id = hit != -1 ? static_cast<WPARAM>(hit) : AFX_IDS_IDLEMESSAGE;
        ::SendMessageW(frame, WM_SETMESSAGESTRING, id, 0);
    }
}

void ChangeTool(CWnd* window, INT_PTR hit, const TOOLINFOW& found) {
    RemoveTool();
    t_state.window = window ? window->m_hWnd : nullptr;
    if (window && hit != -1) {
        HWND tip = EnsureTip(window->m_hWnd);
        if (tip) {
            t_state.tool = found;
            t_state.tool.cbSize = sizeof(TOOLINFOW);
            t_state.tool.lpszText = LPSTR_TEXTCALLBACKW;
            if (::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&t_state.tool))) {
                t_state.hit = hit;
                ::SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
            }
        }
    }
    if (!window) t_state.window = nullptr;
}

}  // namespace

INT_PTR CWnd::OnToolHitTest(POINT point, TOOLINFOW* ti) const {
    HWND child = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
    if (!child || child == m_hWnd) return -1;
    if (ti) {
        ti->hwnd = m_hWnd;
        ti->uId = reinterpret_cast<UINT_PTR>(child);
        ti->uFlags |= TTF_IDISHWND;
        ti->lpszText = LPSTR_TEXTCALLBACKW;
    }
    return ::GetDlgCtrlID(child);
}

void AfxRelayToolTipMessage(const MSG* msg) {
    if (!msg || !msg->hwnd) return;
    const bool client = IsClientMouseMessage(msg->message);
    if (!client && !IsNonClientMouseMessage(msg->message)) return;

    // The nearest window, up to the top-level one, that shows tips.
    CWnd* window = nullptr;
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        CWnd* w = CWnd::FromHandlePermanent(h);
        if (w && w->WantsToolTips()) {
            window = w;
            break;
        }
        if (!(::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) break;
    }
    if (!window) {
        if (t_state.window || t_state.flyByFrame) {
            ChangeTool(nullptr, -1, TOOLINFOW{});
            ShowFlyBy(nullptr, -1);
        }
        return;
    }

    INT_PTR hit = -1;
    TOOLINFOW found{};
    found.cbSize = sizeof found;
    POINT pt{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
    if (client) {
        ::MapWindowPoints(msg->hwnd, window->m_hWnd, &pt, 1);
        hit = window->OnToolHitTest(pt, &found);
        if (hit != -1 && !found.hwnd) found.hwnd = window->m_hWnd;
    }
    const bool sameTool = window->m_hWnd == t_state.window && hit == t_state.hit &&
                          (hit == -1 || (found.hwnd == t_state.tool.hwnd && found.uId == t_state.tool.uId));
    if (!sameTool) {
        ChangeTool(window, hit, found);
        ShowFlyBy(window, hit);
    }
    if (t_state.hit == -1 || !t_state.tip) return;

    // The tip finds its tool by the window the message is for: the tool's own window for a
    // window tool, else the window that described it.
    MSG relay = *msg;
    relay.hwnd = (t_state.tool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(t_state.tool.uId)
                                                       : t_state.tool.hwnd;
    POINT rp{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
    ::MapWindowPoints(msg->hwnd, relay.hwnd, &rp, 1);
    relay.lParam = MAKELPARAM(rp.x, rp.y);
    ::SendMessageW(t_state.tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}

void AfxCancelToolTips() {
    RemoveTool();
    t_state.window = nullptr;
}

void AfxHideThreadToolTips() {
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND tip, LPARAM) -> BOOL {
        wchar_t name[32] = {};
        if (!::GetClassNameW(tip, name, 32) || lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
        ::SendMessageW(tip, TTM_POP, 0, 0);
        // A tip whose delay runs shows only if the mouse is still on the tool it was last told
        // of: tell it the mouse is far from every tool.
        MSG away{};
        away.hwnd = ::GetWindow(tip, GW_OWNER);
        away.message = WM_MOUSEMOVE;
        away.lParam = MAKELPARAM(-30000, -30000);
        if (away.hwnd) ::SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&away));
        return TRUE;
    }, 0);
}

void AfxSetToolTipText(NMHDR* nm, const std::wstring& text) {
    if (!nm) return;
    auto* ttt = reinterpret_cast<NMTTDISPINFOW*>(nm);
    constexpr size_t capacity = sizeof ttt->szText / sizeof ttt->szText[0];
    const size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    text.copy(ttt->szText, n);
    ttt->szText[n] = L'\0';
    ttt->lpszText = ttt->szText;
    ttt->hinst = nullptr;
}

BOOL AfxDefaultToolTipText(NMHDR* nm) {
    if (!nm) return FALSE;
    auto* ttt = reinterpret_cast<NMTTDISPINFOW*>(nm);
    UINT_PTR id = nm->idFrom;
    if (ttt->uFlags & TTF_IDISHWND) id = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(id)));
    if (id == 0 || id > 0xFFFF) return FALSE;
    AfxSetToolTipText(nm, AfxLoadStringPart(static_cast<UINT>(id), 1));
    return TRUE;
}

std::wstring AfxLoadStringPart(UINT id, int index) {
    const std::wstring all = AfxLoadString(id);
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = all.find(L'\n', start);
        if (start == std::wstring::npos) return std::wstring();
        ++start;
    }
    const size_t end = all.find(L'\n', start);
    return all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}
