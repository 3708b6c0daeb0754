#pragma once
#include "framework/CmdTarget.h"
#include <windows.h>

class CWnd;

// The function of a worker thread.
typedef UINT (*AFX_THREADPROC)(void* param);

// A thread of the program. A user-interface thread runs InitInstance, then the message loop
// of Run (when InitInstance returned TRUE), then ExitInstance; a worker thread runs its one
// function. Messages posted to the thread itself (no window) go through the message map
// (ON_THREAD_MESSAGE). The object is not deleted when the thread ends: its owner keeps it
// until the thread has ended.
class CWinThread : public CCmdTarget {
public:
    CWinThread() = default;
    // A worker thread that runs proc(param).
    CWinThread(AFX_THREADPROC proc, void* param) : m_pfnThreadProc(proc), m_pThreadParams(param) {}
    ~CWinThread() override;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the thread; flags may hold CREATE_SUSPENDED.
    BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0);
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }
    BOOL PostThreadMessage(UINT msg, WPARAM wp, LPARAM lp) const {
        return m_nThreadID ? ::PostThreadMessageW(m_nThreadID, msg, wp, lp) : FALSE;
    }
    // Waits (answering sent messages) for the thread to end: `ms` first, then as long as it
    // takes, since the thread still uses this object. True when it ended within `ms`.
    bool WaitForEnd(DWORD ms);
    bool IsRunning() const;

    virtual BOOL InitInstance() { return FALSE; }
    // The message loop with idle processing; returns ExitInstance's code when WM_QUIT arrives.
    virtual int Run();
    // Return TRUE for more idle time (called again with count + 1 while no message waits).
    virtual BOOL OnIdle(LONG count);
    virtual int ExitInstance() { return m_exitCode; }
    virtual BOOL PreTranslateMessage(MSG* msg);

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // The window whose destruction ends a user-interface thread (the application's frame).
    CWnd* m_pMainWnd = nullptr;
    int m_exitCode = 0;

protected:
    // A message posted to the thread itself: true when the message map took it.
    BOOL DispatchThreadMessage(MSG* msg);

private:
    static DWORD WINAPI ThreadEntry(void* self);
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    void* m_pThreadParams = nullptr;
};

// Thread message handler: void fn(WPARAM, LPARAM)
#define ON_THREAD_MESSAGE(msg, fn) \
    {(UINT)(msg), 0, 0, 0, nullptr, \
     LARK_HANDLER((self_->*(fn))(wParam_, lParam_); return true;)},
