// The size of a picture read from its header, before anything decodes it.
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "tags/MemoryStream.h"
#include "tags/PictureSize.h"
#include <gtest/gtest.h>
#include <climits>

using namespace tagReader;

namespace {

struct Stream {
    explicit Stream(const std::string& b) : bytes(b) {
        const BYTE* begin = reinterpret_cast<const BYTE*>(bytes.data());
        stream = MemoryStream::Create(begin, begin + bytes.size());
    }
    ~Stream() { stream->Release(); }
    std::string bytes;
    IStream* stream;
};

std::string Little16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Little32(uint32_t v) { return Little16(v & 0xFFFF) + Little16(v >> 16); }
std::string Big16(unsigned v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }

// A JPEG segment: marker and length, then the payload.
std::string Segment(unsigned char marker, const std::string& payload) {
    return std::string("\xFF", 1) + static_cast<char>(marker) + Big16(static_cast<unsigned>(payload.size() + 2)) +
           payload;
}
std::string Sof(unsigned char marker, unsigned width, unsigned height) {
    return Segment(marker, "\x08" + Big16(height) + Big16(width) + std::string("\x03\x01\x22\x00", 4));
}
const std::string kSoi("\xFF\xD8", 2);

// A GIF frame: descriptor with a local colour table of two entries, and one data block.
std::string GifFrame(unsigned left, unsigned top, unsigned width, unsigned height) {
    return "\x2C" + Little16(left) + Little16(top) + Little16(width) + Little16(height) + "\x80" +
           std::string(6, '\0') + "\x02\x02\x44\x01" + std::string(1, '\0');
}
std::string Gif(unsigned width, unsigned height, const std::string& blocks) {
    return "GIF89a" + Little16(width) + Little16(height) + std::string("\x81\x00\x00", 3) + std::string(12, '\0') +
           blocks;
}

std::string Bmp(uint32_t headerSize, const std::string& sizeFields) {
    return "BM" + Little32(1000) + Little32(0) + Little32(54) + Little32(headerSize) + sizeFields +
           std::string(40, '\0');
}

}  // namespace

TEST(PictureSize, HeadersOfTheFourFormatsGiveTheirSize) {
    const std::string comment = Segment(0xFE, "a comment with \xFF\xC0 inside");
    const std::string exif = Segment(0xE1, "Exif" + std::string(60000, '\xC0'));   // larger than a read
    const struct {
        const char* name;
        std::string bytes;
        uint32_t width, height;
        uint64_t decodedPixels;
    } cases[] = {
        {"png", testing_support::MakeBlackPng(20000, 20000), 20000, 20000, 400000000ull},
        {"baseline jpeg", kSoi + Segment(0xE0, "JFIF") + comment + exif + Sof(0xC0, 640, 480), 640, 480, 307200},
        {"progressive jpeg after fill bytes", kSoi + "\xFF\xFF\xFF" + Sof(0xC2, 4000, 3000).substr(1), 4000, 3000,
         12000000},
        {"gif and its frames", Gif(10, 10, "\x21\xF9\x04" + std::string(5, '\0') + GifFrame(0, 0, 10, 10) +
                                               GifFrame(5, 5, 30000, 2) + "\x3B"),
         30005, 10, 30005 * 10 + (100 + 60000 + 3) / 4},   // the screen grows to hold every frame
        {"gif without its trailer", Gif(300, 200, GifFrame(0, 0, 300, 200)), 300, 200, 60000 + 15000},
        {"bmp core header", Bmp(12, Little16(300) + Little16(200)), 300, 200, 60000},
        {"bmp, rows top-down", Bmp(40, Little32(700) + Little32(static_cast<uint32_t>(-500))), 700, 500, 350000},
    };
    for (const auto& c : cases) {
        Stream s(c.bytes);
        PictureSize size;
        ASSERT_TRUE(ReadPictureSize(s.stream, size)) << c.name;
        EXPECT_EQ(c.width, size.width) << c.name;
        EXPECT_EQ(c.height, size.height) << c.name;
        EXPECT_EQ(c.decodedPixels, size.decodedPixels) << c.name;
        ULARGE_INTEGER at{};
        s.stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &at);
        EXPECT_EQ(0u, at.QuadPart) << c.name << ": the stream is back at its start";
    }
}

TEST(PictureSize, OtherFormatsAndHeadersWithoutASizeGiveNone) {
    const std::string png = testing_support::MakeBlackPng(10, 10);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"tiff", std::string("II*\0", 4) + std::string(100, '\0')},
        {"png of no width", png.substr(0, 16) + std::string(4, '\0') + png.substr(20)},
        {"png without its header chunk", png.substr(0, 12) + "IDAT" + png.substr(16)},
        {"jpeg data before any frame", kSoi + Segment(0xDA, "xx") + Sof(0xC0, 10, 10)},
        {"jpeg frame of height 0, given later", kSoi + Sof(0xC0, 640, 0)},
        {"jpeg cut in a segment", kSoi + Segment(0xE1, std::string(100, 'x')).substr(0, 50)},
        {"gif of no size", Gif(0, 0, "\x3B")},
        {"bmp of the least height", Bmp(40, Little32(10) + Little32(static_cast<uint32_t>(INT_MIN)))},
    };
    for (const auto& c : cases) {
        Stream s(c.bytes);
        PictureSize size;
        size.width = 1;
        EXPECT_FALSE(ReadPictureSize(s.stream, size)) << c.name;
        EXPECT_EQ(0u, size.width) << c.name;
    }
    PictureSize size;
    EXPECT_FALSE(ReadPictureSize(nullptr, size));
}
