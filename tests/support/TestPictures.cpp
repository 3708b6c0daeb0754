#include "support/TestPictures.h"
#include <zlib.h>
#include <vector>

namespace testing_support {

namespace {

void PutBig32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    PutBig32(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                              static_cast<uInt>(typed.size()))));
}

}  // namespace

std::string MakeBlackPng(uint32_t width, uint32_t height) {
    std::string header;
    PutBig32(header, width);
    PutBig32(header, height);
    header += std::string("\x01\x00\x00\x00\x00", 5);   // 1 bit, grey, deflate, no filter type, not interlaced

    // Each row: filter byte 0 and width / 8 bytes of zero, compressed a row at a time.
    const std::vector<unsigned char> row(1 + (width + 7) / 8, 0);
    std::string data;
    z_stream z{};
    deflateInit(&z, Z_BEST_COMPRESSION);
    unsigned char out[65536];
    for (uint32_t y = 0; y <= height; ++y) {
        const bool last = y == height;
        z.next_in = const_cast<unsigned char*>(row.data());
        z.avail_in = last ? 0 : static_cast<uInt>(row.size());
        do {
            z.next_out = out;
            z.avail_out = sizeof(out);
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            data.append(reinterpret_cast<char*>(out), sizeof(out) - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);

    std::string png("\x89PNG\r\n\x1A\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", data);
    PutChunk(png, "IEND", std::string());
    return png;
}

}  // namespace testing_support
