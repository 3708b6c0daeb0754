#pragma once
#include <windows.h>

// The one way the UI thread waits for another thread: while it waits, messages that other
// threads send to its windows are answered, so a thread waiting on a SendMessage to the UI
// can never deadlock with it.

// Waits until `handle` is signalled or `ms` milliseconds (INFINITE allowed) have passed.
// Returns true when the handle was signalled.
bool WaitAnsweringSentMessages(HANDLE handle, DWORD ms);

// Waits `ms` milliseconds.
void SleepAnsweringSentMessages(DWORD ms);

// True while this thread is inside one of these waits. A message answered there arrives in
// the middle of whatever the thread was doing: a handler that would close a window or act on
// the document posts its message again instead, for the message loop.
bool InsideAnsweringWait();

// Marks a wait of this thread for InsideAnsweringWait while the object lives.
class AnsweringWaitScope {
public:
    AnsweringWaitScope();
    ~AnsweringWaitScope();
    AnsweringWaitScope(const AnsweringWaitScope&) = delete;
    AnsweringWaitScope& operator=(const AnsweringWaitScope&) = delete;
};
