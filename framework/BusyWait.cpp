#include "framework/BusyWait.h"
#include "framework/SentMessageWait.h"
#include <vector>

namespace {

// The queue is looked at, and a stop repeated, at least this often: a message that arrives
// while a pass runs may have its wake-up taken by the pass's own peeks.
const DWORD kLookMs = 100;
// Paint messages handled per wake-up: a window that never validates cannot hold the wait.
const int kPaintsPerPass = 256;

struct WaitState {
    bool stopAsked = false;
    bool closeAsked = false;
    bool quit = false;
    int quitCode = 0;
    std::vector<MSG> repost;   // the close requests taken from the queue, in their order
};

void AskClose(WaitState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    s.stopAsked = s.closeAsked = true;
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    s.repost.push_back(m);
}

HWND RootOf(HWND hwnd) {
    HWND root = hwnd ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
    return root ? root : hwnd;
}

// Takes what the wait acts on from the queue; sent messages are answered by every peek.
void Pass(WaitState& s) {
    // What stays queued does not wake the next wait; what arrives from here on does.
    ::GetQueueStatus(QS_ALLINPUT);
    MSG m;
    if (::PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        s.quit = s.stopAsked = s.closeAsked = true;
        s.quitCode = static_cast<int>(m.wParam);
    }
    while (::PeekMessageW(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) AskClose(s, m.hwnd, m.message, m.wParam, m.lParam);
    while (::PeekMessageW(&m, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
        if ((m.wParam & 0xFFF0) == SC_CLOSE) AskClose(s, m.hwnd, m.message, m.wParam, m.lParam);
        else s.repost.push_back(m);   // minimise, restore: after the wait
    }
    while (::PeekMessageW(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) s.stopAsked = true;
        if (m.message == WM_SYSKEYDOWN && m.wParam == VK_F4) AskClose(s, RootOf(m.hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    bool mouse = false;
    while (::PeekMessageW(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) mouse = true;
    while (::PeekMessageW(&m, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE)) {
        mouse = true;
        if (m.message == WM_NCLBUTTONDOWN && m.wParam == HTCLOSE) AskClose(s, RootOf(m.hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    // The window under the mouse has just set its own cursor.
    if (mouse) ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    for (int i = 0; i < kPaintsPerPass && ::PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        ::DispatchMessageW(&m);
}

// The caller's calls must not end the wait early: the work may still use what the caller holds.
void Call(const std::function<void()>& f) {
    if (!f) return;
    try {
        f();
    } catch (...) {
    }
}

void CallSlow(const BusyWaitCalls& calls, bool slow) {
    if (!calls.slow) return;
    try {
        calls.slow(slow);
    } catch (...) {
    }
}

}  // namespace

BusyWaitResult WaitWhileBusy(HANDLE work, const BusyWaitCalls& calls) {
    AnsweringWaitScope scope;
    BusyWaitResult result;
    WaitState s;
    const DWORD start = ::GetTickCount();
    bool slowShown = false;
    Pass(s);   // what was queued before the wait began
    for (;;) {
        if (s.stopAsked) Call(calls.stop);
        DWORD timeout = kLookMs;
        if (!slowShown && calls.slow) {
            const DWORD elapsed = ::GetTickCount() - start;
            if (elapsed >= calls.slowAfterMs) {
                slowShown = true;
                CallSlow(calls, true);
            } else if (calls.slowAfterMs - elapsed < timeout) {
                timeout = calls.slowAfterMs - elapsed;
            }
        }
        const DWORD rc = ::MsgWaitForMultipleObjects(1, &work, FALSE, timeout, QS_ALLINPUT);
        if (rc == WAIT_OBJECT_0) {
            result.ended = true;
            break;
        }
        if (rc != WAIT_OBJECT_0 + 1 && rc != WAIT_TIMEOUT) break;
        Pass(s);
    }
    if (slowShown) CallSlow(calls, false);
    for (const MSG& m : s.repost) ::PostMessageW(m.hwnd, m.message, m.wParam, m.lParam);
    if (s.quit) ::PostQuitMessage(s.quitCode);
    result.stopAsked = s.stopAsked;
    result.closeAsked = s.closeAsked;
    return result;
}
