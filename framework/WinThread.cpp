#include "framework/WinThread.h"
#include "framework/SentMessageWait.h"
#include "framework/Wnd.h"

CWinThread::~CWinThread() {
    if (m_hThread) ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD flags, UINT stackSize) {
    if (m_hThread) return FALSE;
    m_hThread = ::CreateThread(nullptr, stackSize, &CWinThread::ThreadEntry, this, flags, &m_nThreadID);
    return m_hThread != nullptr;
}

DWORD WINAPI CWinThread::ThreadEntry(void* param) {
    auto* self = static_cast<CWinThread*>(param);
    DWORD code = 0;
    // Nothing thrown on this thread may end the process.
    try {
        if (self->m_pfnThreadProc) {
            code = self->m_pfnThreadProc(self->m_pThreadParams);
        } else if (self->InitInstance()) {
            code = static_cast<DWORD>(self->Run());
        } else {
            code = static_cast<DWORD>(self->ExitInstance());
        }
    } catch (...) {
        code = static_cast<DWORD>(-1);
    }
    return code;
}

bool CWinThread::WaitForEnd(DWORD ms) {
    if (!m_hThread) return true;
    const bool inTime = WaitAnsweringSentMessages(m_hThread, ms);
    if (!inTime) WaitAnsweringSentMessages(m_hThread, INFINITE);
    return inTime;
}

bool CWinThread::IsRunning() const {
    return m_hThread && ::WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT;
}

BOOL CWinThread::OnIdle(LONG) { return FALSE; }

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        CWnd* wnd = CWnd::FromHandlePermanent(h);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (m_pMainWnd && h == m_pMainWnd->m_hWnd) return FALSE;
    }
    return FALSE;
}

BOOL CWinThread::DispatchThreadMessage(MSG* msg) {
    const MessageMapEntry* e = FindEntry(msg->message, 0, 0);
    if (!e) return FALSE;
    LRESULT ignored = 0;
    return e->invoke(this, msg->wParam, msg->lParam, ignored) ? TRUE : FALSE;
}

namespace {
// Messages after which idle processing does not start again: paints and timers (idle work
// that repaints would otherwise never stop) and a mouse move that did not move.
bool IsIdleMessage(const MSG& msg, MSG& lastMouse) {
    switch (msg.message) {
    case WM_PAINT:
    case WM_TIMER:
    case 0x0118:   // the system's caret-blink timer
        return true;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
        const bool same = msg.message == lastMouse.message && msg.pt.x == lastMouse.pt.x &&
                          msg.pt.y == lastMouse.pt.y;
        lastMouse = msg;
        return same;
    }
    default:
        return false;
    }
}
}  // namespace

int CWinThread::Run() {
    MSG msg;
    MSG lastMouse{};
    LONG idleCount = 0;
    bool idle = true;
    for (;;) {
        // Nothing thrown by idle work or message translation may end the loop: the program
        // would then exit without writing its settings.
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            bool more = false;
            try {
                more = OnIdle(idleCount++) != FALSE;
            } catch (...) {
            }
            if (!more) idle = false;
        }
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            m_exitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
            return ExitInstance();
        }
        bool handled = false;
        try {
            handled = (msg.hwnd == nullptr && DispatchThreadMessage(&msg)) || PreTranslateMessage(&msg) != FALSE;
        } catch (...) {
        }
        if (!handled) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        // Idle processing starts again after every action, so menus and buttons update.
        if (!IsIdleMessage(msg, lastMouse)) {
            idle = true;
            idleCount = 0;
        }
    }
}
