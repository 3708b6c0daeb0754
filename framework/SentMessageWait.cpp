#include "framework/SentMessageWait.h"

namespace {

thread_local int t_waitDepth = 0;

// Answers the messages sent to this thread that are waiting now.
void AnswerSentMessages() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

AnsweringWaitScope::AnsweringWaitScope() { ++t_waitDepth; }
AnsweringWaitScope::~AnsweringWaitScope() { --t_waitDepth; }

bool InsideAnsweringWait() { return t_waitDepth > 0; }

bool WaitAnsweringSentMessages(HANDLE handle, DWORD ms) {
    AnsweringWaitScope scope;
    const DWORD count = handle ? 1 : 0;
    const DWORD messageArrived = WAIT_OBJECT_0 + count;
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (ms != INFINITE) {
            const DWORD elapsed = ::GetTickCount() - start;
            if (elapsed >= ms) return handle && ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
            left = ms - elapsed;
        }
        const DWORD rc = ::MsgWaitForMultipleObjects(count, handle ? &handle : nullptr, FALSE, left,
                                                     QS_SENDMESSAGE);
        if (handle && rc == WAIT_OBJECT_0) return true;
        if (rc != messageArrived) return false;   // time-out or failure
        AnswerSentMessages();
    }
}

void SleepAnsweringSentMessages(DWORD ms) {
    WaitAnsweringSentMessages(nullptr, ms);
}
