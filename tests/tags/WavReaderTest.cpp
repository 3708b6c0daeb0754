#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/TagInfo.h"
#include "tags/TagReaders.h"
#include <gtest/gtest.h>
#include <windows.h>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;

TEST(WavReader, EightBitPcmFromSox) {
    // 1 s of 8 kHz mono 8-bit PCM: 8000 data bytes at 8000 bytes per second.
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/pcm8.wav")));
    EXPECT_EQ(5, info.formatCode);
    EXPECT_EQ(L"PCM", info.codecText);
    EXPECT_EQ(256, info.tagType);
    EXPECT_EQ(0, info.yearKeyFlags);
    EXPECT_EQ(1, info.channels);
    EXPECT_EQ(8000, info.samplingRate);
    EXPECT_EQ(64000, info.bitRate);   // channels x bits x rate
    EXPECT_EQ(0, info.vbr);
    EXPECT_EQ(1, info.seconds);
    EXPECT_TRUE(info.tags.empty());
}

TEST(WavReader, AdpcmHasNoBitRate) {
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/adpcm.wav")));
    EXPECT_EQ(L"MS ADPCM", info.codecText);
    EXPECT_EQ(0, info.bitRate);
    EXPECT_EQ(2, info.seconds);
    EXPECT_EQ(8000, info.samplingRate);
}

TEST(WavReader, FormatNames) {
    TempDir dir;
    struct {
        int tag;
        const wchar_t* name;
    } cases[] = {{0, L"unknown"}, {1, L"PCM"}, {2, L"MS ADPCM"}, {0x55, L"MPEG Layer-3"}, {3, L""}};
    for (const auto& c : cases) {
        std::wstring path = dir.file(L"f" + std::to_wstring(c.tag) + L".wav");
        ASSERT_TRUE(WriteBytes(path, Wave(c.tag, 2, 44100, 16, 44100 * 4 * 3)));
        TTagInfo info;
        ASSERT_EQ(1, info.Read(path));
        EXPECT_EQ(c.name, info.codecText);
        EXPECT_EQ(3, info.seconds);
        EXPECT_EQ(c.tag == 1 ? 2 * 16 * 44100 : 0, info.bitRate);
    }
}

TEST(WavReader, SixteenAndEighteenByteFormatChunksBothRead) {
    TempDir dir;
    for (int size : {16, 18}) {
        std::wstring path = dir.file(L"fmt" + std::to_wstring(size) + L".wav");
        ASSERT_TRUE(WriteBytes(path, Wave(1, 1, 22050, 16, 22050 * 2 * 2, size)));
        TTagInfo info;
        ASSERT_EQ(1, info.Read(path)) << size;
        EXPECT_EQ(22050, info.samplingRate);
        EXPECT_EQ(2, info.seconds);
    }
}

TEST(WavReader, BadFilesAreNotThatFormatAndMissingCannotOpen) {
    TempDir dir;
    std::wstring noData = dir.file(L"nodata.wav");
    ASSERT_TRUE(WriteBytes(noData, Wave(1, 1, 8000, 8, 0, 16, false)));
    std::wstring notRiff = dir.file(L"notriff.wav");
    ASSERT_TRUE(WriteBytes(notRiff, "RIFX" + Wave(1, 1, 8000, 8, 100).substr(4)));
    std::wstring shortFmt = dir.file(L"shortfmt.wav");
    ASSERT_TRUE(WriteBytes(shortFmt, "RIFF" + Le32(4 + 12 + 8) + "WAVEfmt " + Le32(4) + Le32(0x00010001) +
                                         "data" + Le32(0)));
    TTagInfo info;
    EXPECT_EQ(4, info.Read(noData));
    EXPECT_EQ(4, info.Read(notRiff));
    EXPECT_EQ(4, info.Read(shortFmt));
    EXPECT_EQ(3, info.Read(dir.file(L"missing.wav")));
}

// A wave file beyond 2 GiB reads like any other (its data is sparse here).
TEST(WavReader, FileLargerThanTwoGigabytes) {
    TempDir dir;
    const unsigned long dataBytes = 0x90000000UL;
    std::string header = Wave(1, 2, 44100, 16, 0);
    header.replace(header.size() - 4, 4, Le32(dataBytes));
    header.replace(4, 4, Le32(static_cast<unsigned long>(header.size() - 8 + dataBytes)));
    std::wstring path = dir.file(L"big.wav");
    ASSERT_TRUE(WriteBytes(path, header));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(header.size()) + dataBytes;
    bool extended = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(extended);
    TTagInfo info;
    ASSERT_EQ(1, info.Read(path));
    EXPECT_EQ(static_cast<int>(dataBytes / (44100 * 4)), info.seconds);
    EXPECT_EQ(2 * 16 * 44100, info.bitRate);
    // A data chunk that claims more than the file holds counts the bytes that are there.
    file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    end.QuadPart -= 44100 * 4 * 10;
    extended = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(extended);
    EXPECT_EQ(1, info.Read(path));
    EXPECT_EQ(static_cast<int>(dataBytes / (44100 * 4)) - 10, info.seconds);
}

// A streamed WAV (sizes 0xFFFFFFFF, as a pipe writes it) and a file cut short both read with
// the data that is there.
TEST(WavReader, DataChunkLongerThanTheFileCountsTheBytesPresent) {
    TempDir dir;
    std::string streamed = Wave(1, 1, 8000, 8, 16000);
    ASSERT_TRUE(Patch(streamed, "RIFF" + Le32(static_cast<unsigned long>(streamed.size() - 8)), "RIFF" + Le32(0xFFFFFFFFUL)));
    ASSERT_TRUE(Patch(streamed, "data" + Le32(16000), "data" + Le32(0xFFFFFFFFUL)));
    std::string cut = Wave(1, 1, 8000, 8, 24000);
    cut.resize(cut.size() - 8000);
    for (const auto& file : {std::make_pair(L"streamed.wav", streamed), std::make_pair(L"cut.wav", cut)}) {
        const std::wstring path = dir.file(file.first);
        ASSERT_TRUE(WriteBytes(path, file.second));
        TTagInfo info;
        ASSERT_EQ(1, info.Read(path)) << file.first;
        EXPECT_EQ(5, info.formatCode);
        EXPECT_EQ(8000, info.samplingRate);
        EXPECT_EQ(2, info.seconds) << file.first;   // 16000 bytes at 8000 bytes per second
    }
}
