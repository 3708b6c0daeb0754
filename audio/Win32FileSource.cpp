#include "audio/Win32FileSource.h"

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace larkaudio {

namespace {
constexpr int kBufferSize = 64 * 1024;
}

Win32FileSource::~Win32FileSource() {
    if (m_avio) {
        av_freep(&m_avio->buffer);
        avio_context_free(&m_avio);
    }
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
}

bool Win32FileSource::Open(const std::wstring& path, uint64_t offset, uint64_t length) {
    m_file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_file, &size)) return false;
    const uint64_t total = static_cast<uint64_t>(size.QuadPart);
    if (offset > total) return false;
    uint64_t part = total - offset;
    if (length != 0 && length < part) part = length;
    m_base = static_cast<int64_t>(offset);
    m_size = static_cast<int64_t>(part);
    m_pos = 0;

    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (!buffer) return false;
    m_avio = avio_alloc_context(buffer, kBufferSize, 0, this, &Win32FileSource::ReadPacket, nullptr,
                                &Win32FileSource::SeekTo);
    if (!m_avio) {
        av_free(buffer);
        return false;
    }
    return true;
}

int Win32FileSource::ReadPacket(void* opaque, uint8_t* buffer, int size) {
    auto* self = static_cast<Win32FileSource*>(opaque);
    const int64_t left = self->m_size - self->m_pos;
    if (left <= 0) return AVERROR_EOF;
    DWORD want = static_cast<DWORD>(size < left ? size : left);
    LARGE_INTEGER at;
    at.QuadPart = self->m_base + self->m_pos;
    if (!SetFilePointerEx(self->m_file, at, nullptr, FILE_BEGIN)) return AVERROR(EIO);
    DWORD got = 0;
    if (!ReadFile(self->m_file, buffer, want, &got, nullptr)) return AVERROR(EIO);
    if (got == 0) return AVERROR_EOF;
    self->m_pos += got;
    return static_cast<int>(got);
}

int64_t Win32FileSource::SeekTo(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<Win32FileSource*>(opaque);
    whence &= ~AVSEEK_FORCE;
    int64_t target;
    switch (whence) {
    case AVSEEK_SIZE: return self->m_size;
    case SEEK_SET: target = offset; break;
    case SEEK_CUR: target = self->m_pos + offset; break;
    case SEEK_END: target = self->m_size + offset; break;
    default: return AVERROR(EINVAL);
    }
    if (target < 0) return AVERROR(EINVAL);
    self->m_pos = target;
    return target;
}

}  // namespace larkaudio
