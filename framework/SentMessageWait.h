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
