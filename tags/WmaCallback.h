#pragma once
#include "tags/asf/AsfHeaderReader.h"
#include <windows.h>

namespace tagReader {

// Makes the asynchronous open of a Windows Media file synchronous: the reader reports its
// status here and the reading thread waits on the event. Lives on the reading thread's stack.
class TWMACALLBACKEX : public asf::IReaderCallback {
public:
    TWMACALLBACKEX();
    ~TWMACALLBACKEX();
    TWMACALLBACKEX(const TWMACALLBACKEX&) = delete;
    TWMACALLBACKEX& operator=(const TWMACALLBACKEX&) = delete;

    void OnStatus(asf::ReaderStatus status, long result) override;
    long OnSample(const unsigned char* data, size_t length) override;

    // True when a status arrived within the time-out (sent messages are handled meanwhile).
    bool Wait(DWORD timeoutMs);
    long Result() const { return m_result; }

private:
    volatile long m_result = 0;
    HANDLE m_event;
};

// How long a Windows Media reader may take to open a file before it counts as unopenable.
const DWORD kWmaOpenTimeoutMs = 30000;

}  // namespace tagReader
