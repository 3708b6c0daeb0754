// Stream numbers that a damaged header makes impossible are stored as 0, unknown: never
// negative, never wrapped.
#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/TagInfo.h"
#include <gtest/gtest.h>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;

namespace {

// Overwrites bytes at `offset` from the first occurrence of `marker`; false when absent.
bool PatchAfter(std::string& bytes, const std::string& marker, size_t offset, const std::string& with) {
    const size_t at = bytes.find(marker);
    if (at == std::string::npos || at + offset + with.size() > bytes.size()) return false;
    bytes.replace(at + offset, with.size(), with);
    return true;
}

std::string Le64(unsigned long long value) {
    return Le32(static_cast<unsigned long>(value & 0xFFFFFFFFULL)) + Le32(static_cast<unsigned long>(value >> 32));
}

struct Numbers {
    int seconds, samplingRate, bitRate, channels;
};

void ExpectNumbers(const TTagInfo& info, const Numbers& n, const wchar_t* what) {
    EXPECT_EQ(n.seconds, info.seconds) << what;
    EXPECT_EQ(n.samplingRate, info.samplingRate) << what;
    EXPECT_EQ(n.bitRate, info.bitRate) << what;
    EXPECT_EQ(n.channels, info.channels) << what;
}

}  // namespace

TEST(StreamNumbers, ImpossibleValuesOfDamagedHeadersAreZero) {
    TempDir dir;
    auto read = [&](const wchar_t* name, const std::string& bytes, TTagInfo& info) {
        const std::wstring path = dir.file(name);
        ASSERT_TRUE(WriteBytes(path, bytes));
        ASSERT_EQ(1, info.Read(path)) << name;
    };

    // WAV: a sampling rate of FFFFFFFF.
    TTagInfo wav;
    read(L"rate.wav", Wave(1, 2, 0xFFFFFFFFUL, 16, 1000), wav);
    ExpectNumbers(wav, {0, 0, 0, 2}, L"wav");

    // MP4: a time scale of 0x80000000, which also makes the bit rate too large for an int.
    std::string m4a = ReadBytes(TestDataPath(L"tags/aac.m4a"));
    ASSERT_TRUE(PatchAfter(m4a, "mdhd", 4 + 12, Be32(0x80000000UL)));
    TTagInfo mp4;
    read(L"scale.m4a", m4a, mp4);
    ExpectNumbers(mp4, {0, 0, 0, 2}, L"mp4");

    // WMA: a play duration below its preroll, and an average byte rate of FFFFFFFE.
    std::string wmaBytes = ReadBytes(TestDataPath(L"tags/tags.wma"));
    const std::string fileProperties("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65", 16);
    const std::string streamProperties("\x91\x07\xDC\xB7\xB7\xA9\xCF\x11\x8E\xE6\x00\xC0\x0C\x20\x53\x65", 16);
    ASSERT_TRUE(PatchAfter(wmaBytes, fileProperties, 24 + 40, Le64(1000)));         // play duration
    ASSERT_TRUE(PatchAfter(wmaBytes, fileProperties, 24 + 56, Le64(3100)));         // preroll, ms
    ASSERT_TRUE(PatchAfter(wmaBytes, streamProperties, 24 + 62, Le32(0xFFFFFFFEUL)));   // average bytes per second
    TTagInfo wma;
    read(L"preroll.wma", wmaBytes, wma);
    ExpectNumbers(wma, {0, 22050, 0, 1}, L"wma");
    EXPECT_EQ(L"0", Get(wma, L"DURATION"));
    EXPECT_EQ(L"0", Get(wma, L"BITRATE"));

    // APE: a descriptor whose frame count makes a length beyond an int of milliseconds.
    std::string apeBytes = ApeStream(1000, 2, 16000, 4000);
    apeBytes.replace(52 + 12, 4, Le32(50000));
    TTagInfo ape;
    read(L"frames.ape", apeBytes, ape);
    ExpectNumbers(ape, {0, 1000, 0, 2}, L"ape");

    // Ogg: a nominal bit rate of -1, and a second audio page (the first one again) whose
    // granule position says 2^63-1 samples.
    std::string ogg = ReadBytes(TestDataPath(L"tags/tags.ogg"));
    ASSERT_TRUE(PatchAfter(ogg, "\x01vorbis", 7 + 4 + 1 + 4 + 4, Le32(0xFFFFFFFFUL)));
    const size_t audioPage = ogg.rfind("OggS");
    ASSERT_NE(std::string::npos, audioPage);
    std::string first = ogg.substr(audioPage), last = first;
    first[5] = '\0';   // not the end of the stream any more
    last.replace(6, 8, Le64(0x7FFFFFFFFFFFFFFFULL));
    last.replace(18, 4, Le32(static_cast<unsigned char>(first[18]) + 1UL));   // page sequence number
    ogg = ogg.substr(0, audioPage) + first + last;
    FixOggChecksums(ogg);
    TTagInfo vorbis;
    read(L"granule.ogg", ogg, vorbis);
    ExpectNumbers(vorbis, {0, 8000, 0, 1}, L"ogg");
}

// No format the program reads holds more than 255 channels: a larger count is damage.
TEST(StreamNumbers, AChannelCountNoFormatHoldsIsZero) {
    TempDir dir;
    const struct {
        const wchar_t* name;
        std::string bytes;
        int channels, samplingRate;
    } cases[] = {
        {L"descriptor.ape", ApeStream(86, 8704, 16000, 4000), 0, 86},
        {L"256.wav", Wave(1, 256, 8000, 16, 1024), 0, 8000},
        {L"255.wav", Wave(1, 255, 8000, 16, 1020), 255, 8000},
    };
    for (const auto& c : cases) {
        const std::wstring path = dir.file(c.name);
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        TTagInfo info;
        ASSERT_EQ(1, info.Read(path)) << c.name;
        EXPECT_EQ(c.channels, info.channels) << c.name;
        EXPECT_EQ(c.samplingRate, info.samplingRate) << c.name;
    }
}
