#pragma once
#include <windows.h>
#include <functional>

// What the waiting thread does for the work it waits for.
struct BusyWaitCalls {
    // Makes the work end soon: called when Escape or a close request comes in, then again
    // about every 100 ms until the work has ended.
    std::function<void()> stop;
    // Called with true once the work has lasted `slowAfterMs`, and with false when it has
    // ended after that.
    std::function<void(bool slow)> slow;
    DWORD slowAfterMs = 1000;
};

struct BusyWaitResult {
    bool ended = false;        // the work's handle was signalled (false: the wait failed)
    bool stopAsked = false;    // Escape or a close request asked the work to stop
    bool closeAsked = false;   // a close request or WM_QUIT came in; it is posted again
};

// The UI thread's wait for work on another thread that may last long or never end (a query
// the user typed). The windows stay alive meanwhile: sent messages are answered and windows
// repaint. Escape asks the work to stop, and so does a close request (WM_CLOSE, SC_CLOSE, the
// close box, Alt+F4) or WM_QUIT, which is posted again once the wait is over. Other keyboard
// and mouse input is dropped; other posted messages stay queued for the message loop.
// Returns when `work` is signalled (or the wait itself fails).
BusyWaitResult WaitWhileBusy(HANDLE work, const BusyWaitCalls& calls);
