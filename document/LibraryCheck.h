#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include <string>

// Checks the library file with "PRAGMA quick_check" on a thread and a read-only connection
// of its own, so the start never waits for it. The check begins when the message loop of
// the thread that started it first runs, and its result comes back to that thread as a
// posted message. Stop (at close) interrupts a check that still runs, and so does a writer
// that finds the file locked by it (GiveWay): the check's read holds the file's shared lock
// for its whole run, and no commit can wait that long. A check that gave way runs again from
// the start a few seconds later, when the thread's queue holds no other message.
class CLibraryCheck {
public:
    enum Outcome {
        NotRun,
        Waiting,   // for the message loop, or to run again after giving way
        Running,
        Sound,
        Damaged,
        Inconclusive,   // busy, unreadable, interrupted: nothing is said
    };

    CLibraryCheck();
    ~CLibraryCheck();
    CLibraryCheck(const CLibraryCheck&) = delete;
    CLibraryCheck& operator=(const CLibraryCheck&) = delete;

    // Checks the file at `path` once. When it is damaged, `onDamaged` runs on this thread
    // with what the check found. False when the check cannot start (or has started before).
    bool Start(const std::wstring& path, std::function<void(const std::wstring& findings)> onDamaged);
    // Interrupts a running check and waits for its thread at most `ms`, answering sent
    // messages; a thread that does not end by then finishes alone and reports nothing.
    // True when no check thread runs any more.
    bool Stop(DWORD ms = 2000);
    // For a connection that meets a busy file, from any thread: interrupts a running check,
    // which then says nothing and runs again later. True while the check still holds its
    // connection, so that the caller waits for it to let go.
    bool GiveWay();

    // The check to run instead of "PRAGMA quick_check" (tests give one that runs long);
    // before Start.
    void SetStatement(std::wstring statement);

    Outcome GetOutcome() const;

private:
    struct Shared;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static DWORD WINAPI ThreadProc(void* shared);
    void BeginThread();
    void OnDone();

    std::shared_ptr<Shared> m_shared;
    std::function<void(const std::wstring&)> m_onDamaged;
    HWND m_window = nullptr;
    HANDLE m_thread = nullptr;
};
