#include "tags/PictureSize.h"
#include <algorithm>
#include <cstring>

namespace tagReader {

namespace {

// Reads a stream forward through a buffer of its own; skips past the buffer seek.
class HeaderReader {
public:
    explicit HeaderReader(IStream* stream) : m_stream(stream) {}

    // Exactly `count` bytes; false at the end of the stream.
    bool Read(void* out, size_t count) {
        auto* to = static_cast<unsigned char*>(out);
        while (count > 0) {
            if (m_at == m_size && !Fill()) return false;
            const size_t n = std::min(count, m_size - m_at);
            std::memcpy(to, m_buffer + m_at, n);
            m_at += n;
            to += n;
            count -= n;
        }
        return true;
    }
    bool Byte(unsigned& value) {
        unsigned char b;
        if (!Read(&b, 1)) return false;
        value = b;
        return true;
    }
    bool Skip(uint64_t count) {
        if (count <= m_size - m_at) {
            m_at += static_cast<size_t>(count);
            return true;
        }
        count -= m_size - m_at;
        m_at = m_size = 0;
        LARGE_INTEGER move;
        move.QuadPart = static_cast<LONGLONG>(count);
        return SUCCEEDED(m_stream->Seek(move, STREAM_SEEK_CUR, nullptr));
    }

private:
    bool Fill() {
        ULONG read = 0;
        const HRESULT hr = m_stream->Read(m_buffer, sizeof(m_buffer), &read);
        m_at = 0;
        m_size = FAILED(hr) ? 0 : read;
        return m_size > 0;
    }

    IStream* m_stream;
    unsigned char m_buffer[8192];
    size_t m_at = 0, m_size = 0;
};

uint32_t Big16(const unsigned char* p) { return (uint32_t{p[0]} << 8) | p[1]; }
uint32_t Big32(const unsigned char* p) { return (Big16(p) << 16) | Big16(p + 2); }
uint32_t Little16(const unsigned char* p) { return (uint32_t{p[1]} << 8) | p[0]; }
uint32_t Little32(const unsigned char* p) { return (Little16(p + 2) << 16) | Little16(p); }

bool SetSize(PictureSize& size, uint32_t width, uint32_t height) {
    if (width == 0 || height == 0) return false;
    size.width = width;
    size.height = height;
    size.decodedPixels = uint64_t{width} * height;
    return true;
}

// The header chunk, which a PNG must begin with.
bool ReadPng(HeaderReader& in, PictureSize& size) {
    unsigned char h[16];
    if (!in.Read(h, sizeof(h)) || std::memcmp(h + 4, "IHDR", 4) != 0) return false;
    const uint32_t width = Big32(h + 8), height = Big32(h + 12);
    return width <= 0x7FFFFFFF && height <= 0x7FFFFFFF && SetSize(size, width, height);
}

// Segment after segment up to the first frame header; the entropy-coded data begins only
// after it.
bool ReadJpeg(HeaderReader& in, PictureSize& size) {
    for (;;) {
        unsigned b, marker;
        if (!in.Byte(b) || b != 0xFF || !in.Byte(marker)) return false;
        while (marker == 0xFF)   // fill bytes
            if (!in.Byte(marker)) return false;
        if (marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) continue;   // no length
        if (marker == 0xD9 || marker == 0xDA) return false;   // the end or the data, and no frame
        unsigned char l[2];
        if (!in.Read(l, 2) || Big16(l) < 2) return false;
        const uint32_t length = Big16(l);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!frame) {
            if (!in.Skip(length - 2)) return false;
            continue;
        }
        unsigned char f[5];   // precision, height, width
        // A height of 0 is given later in the data: unknown here.
        return length >= 7 && in.Read(f, sizeof(f)) && SetSize(size, Big16(f + 3), Big16(f + 1));
    }
}

bool SkipGifSubBlocks(HeaderReader& in) {
    for (;;) {
        unsigned n;
        if (!in.Byte(n)) return false;
        if (n == 0) return true;
        if (!in.Skip(n)) return false;
    }
}

// The logical screen and every frame: decoders read all frames when they open the file.
// Walking stops where a decoder would (the trailer, the end, a block it does not know).
bool ReadGif(HeaderReader& in, PictureSize& size) {
    unsigned char s[7];
    if (!in.Read(s, sizeof(s))) return false;
    uint32_t width = Little16(s), height = Little16(s + 2);
    if ((s[4] & 0x80) && !in.Skip(3u << ((s[4] & 7) + 1))) return false;
    uint64_t framePixels = 0;
    for (;;) {
        unsigned block;
        if (!in.Byte(block) || block == 0x3B) break;
        if (block == 0x21) {
            unsigned label;
            if (!in.Byte(label) || !SkipGifSubBlocks(in)) break;
        } else if (block == 0x2C) {
            unsigned char d[9];   // left, top, width, height, flags
            if (!in.Read(d, sizeof(d))) break;
            const uint32_t w = Little16(d + 4), h = Little16(d + 6);
            width = std::max(width, Little16(d) + w);
            height = std::max(height, Little16(d + 2) + h);
            framePixels += uint64_t{w} * h;
            unsigned codeSize;
            if (((d[8] & 0x80) && !in.Skip(3u << ((d[8] & 7) + 1))) || !in.Byte(codeSize) || !SkipGifSubBlocks(in))
                break;
        } else {
            break;
        }
    }
    if (!SetSize(size, width, height)) return false;
    size.decodedPixels += (framePixels + 3) / 4;
    return true;
}

// The file header, then the size of the core header (16-bit width and height) or of any
// later one (32-bit, a negative height meaning top-down rows).
bool ReadBmp(HeaderReader& in, PictureSize& size) {
    unsigned char h[20];
    if (!in.Read(h, sizeof(h))) return false;
    const uint32_t headerSize = Little32(h + 12);
    if (headerSize == 12) return SetSize(size, Little16(h + 16), Little16(h + 18));
    unsigned char more[4];
    if (headerSize < 16 || !in.Read(more, sizeof(more))) return false;
    const int32_t width = static_cast<int32_t>(Little32(h + 16)), height = static_cast<int32_t>(Little32(more));
    if (width <= 0 || height == INT32_MIN) return false;
    return SetSize(size, static_cast<uint32_t>(width), static_cast<uint32_t>(height < 0 ? -height : height));
}

}  // namespace

bool ReadPictureSize(IStream* stream, PictureSize& size) {
    size = PictureSize();
    if (!stream) return false;
    LARGE_INTEGER start{};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return false;
    bool known = false;
    {
        HeaderReader in(stream);
        unsigned char magic[8];
        if (in.Read(magic, 2)) {
            if (magic[0] == 0x89 && magic[1] == 'P') {
                known = in.Read(magic + 2, 6) && std::memcmp(magic, "\x89PNG\r\n\x1A\n", 8) == 0 && ReadPng(in, size);
            } else if (magic[0] == 0xFF && magic[1] == 0xD8) {
                known = ReadJpeg(in, size);
            } else if (magic[0] == 'G' && magic[1] == 'I') {
                known = in.Read(magic + 2, 4) &&
                        (std::memcmp(magic, "GIF87a", 6) == 0 || std::memcmp(magic, "GIF89a", 6) == 0) &&
                        ReadGif(in, size);
            } else if (magic[0] == 'B' && magic[1] == 'M') {
                known = ReadBmp(in, size);
            }
        }
    }
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    if (!known) size = PictureSize();
    return known;
}

}  // namespace tagReader
