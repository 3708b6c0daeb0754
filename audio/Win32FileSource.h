#pragma once
// A part of a file read through the Win32 file API, as an FFmpeg I/O context, so that any
// UTF-16 path opens and the file size is known exactly.

#include <windows.h>
#include <cstdint>
#include <string>

struct AVIOContext;

namespace larkaudio {

class Win32FileSource {
public:
    Win32FileSource() = default;
    ~Win32FileSource();
    Win32FileSource(const Win32FileSource&) = delete;
    Win32FileSource& operator=(const Win32FileSource&) = delete;

    // Opens the file for reading; offset and length select the part seen (length 0: to the
    // end). False when the file cannot be opened or the offset lies past its end.
    bool Open(const std::wstring& path, uint64_t offset, uint64_t length);

    // The I/O context reading this source; owned by the source.
    AVIOContext* Context() const { return m_avio; }
    // Size of the part seen, in bytes.
    int64_t Size() const { return m_size; }
    // Current read offset within the part.
    int64_t Position() const { return m_pos; }

private:
    static int ReadPacket(void* opaque, uint8_t* buffer, int size);
    static int64_t SeekTo(void* opaque, int64_t offset, int whence);

    HANDLE m_file = INVALID_HANDLE_VALUE;
    int64_t m_base = 0;
    int64_t m_size = 0;
    int64_t m_pos = 0;
    AVIOContext* m_avio = nullptr;
};

}  // namespace larkaudio
