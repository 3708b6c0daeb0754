#include "framework/SentMessageWait.h"

namespace {

// Answers the messages sent to this thread that are waiting now.
void AnswerSentMessages() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool WaitAnsweringSentMessages(HANDLE handle, DWORD ms) {
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
