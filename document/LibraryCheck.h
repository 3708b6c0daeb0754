#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include <string>

// Checks the library file with "PRAGMA quick_check" on a thread and a read-only connection
// of its own, so the start never waits for it. The check begins when the message loop of
// the thread that started it first runs, and its result comes back to that thread as a
// posted message. Stop (at close) interrupts a check that still runs.
class CLibraryCheck {
public:
    enum Outcome {
        NotRun,
        Waiting,   // for the message loop
        Running,
        Sound,
        Damaged,
        Inconclusive,   // busy, unreadable, interrupted: nothing is said
    };

    // `statement`: the check (tests give one that runs long).
    explicit CLibraryCheck(std::wstring statement = L"PRAGMA quick_check;");
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
