#include "tags/WmaCallback.h"
#include "framework/SentMessageWait.h"

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
    return m_event && WaitAnsweringSentMessages(m_event, timeoutMs);
}

}  // namespace tagReader
