#include "tags/WmaCallback.h"

namespace tagReader {

TWMACALLBACKEX::TWMACALLBACKEX() : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

TWMACALLBACKEX::~TWMACALLBACKEX() {
    if (m_event) CloseHandle(m_event);
}

void TWMACALLBACKEX::OnStatus(asf::ReaderStatus status, long result) {
    switch (status) {
    case asf::StatusOpened:
    case asf::StatusEndOfFile:
    case asf::StatusStarted:
    case asf::StatusStopped:
        m_result = result;
        if (m_event) SetEvent(m_event);
        break;
    }
}

long TWMACALLBACKEX::OnSample(const unsigned char*, size_t) { return 0; }

bool TWMACALLBACKEX::Wait(DWORD timeoutMs) {
    if (!m_event) return false;
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0;
        DWORD r = MsgWaitForMultipleObjects(1, &m_event, FALSE, timeoutMs - elapsed, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return false;
        MSG msg;   // let messages sent to this thread's windows through
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace tagReader
