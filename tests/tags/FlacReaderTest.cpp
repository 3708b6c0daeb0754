#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/TagInfo.h"
#include <gtest/gtest.h>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;

TEST(FlacReader, CommentsPictureAndStream) {
    TTagInfo info;
    std::wstring path = TestDataPath(L"tags/tags.flac");
    ASSERT_EQ(1, info.Read(path));
    EXPECT_EQ(10, info.formatCode);
    EXPECT_EQ(2048, info.tagType);
    EXPECT_EQ(0, info.yearKeyFlags);
    EXPECT_EQ(1, info.vbr);
    EXPECT_TRUE(info.codecText.empty());
    EXPECT_EQ(1, info.channels);
    EXPECT_EQ(8000, info.samplingRate);
    EXPECT_EQ(1, info.seconds);
    // One second of audio: the bit rate is the file's size in bits.
    EXPECT_EQ(static_cast<int>(ReadBytes(path).size() * 8), info.bitRate);
    EXPECT_EQ(L"フラック", Get(info, L"TITLE"));
    EXPECT_EQ(L"A; B", Get(info, L"ARTIST"));
    EXPECT_EQ(L"APIC", Get(info, L"APIC"));
}

// An untagged FLAC file (no comment block at all) reads like an untagged MP3.
TEST(FlacReader, FileWithoutCommentBlockReadsWithoutTags) {
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/nocomment.fla")));
    EXPECT_EQ(10, info.formatCode);
    EXPECT_EQ(2048, info.tagType);
    EXPECT_EQ(8000, info.samplingRate);
    EXPECT_EQ(1, info.seconds);
    EXPECT_TRUE(info.tags.empty());

    // A stream header claiming a single sample would give a bit rate beyond an int.
    std::string bytes = ReadBytes(TestDataPath(L"tags/nocomment.fla"));
    ASSERT_EQ("fLaC", bytes.substr(0, 4));
    bytes[21] = static_cast<char>(bytes[21] & 0xF0);
    bytes.replace(22, 4, std::string("\0\0\0\1", 4));
    bytes += std::string(40000, '\0');
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.file(L"one.flac"), bytes));
    ASSERT_EQ(1, info.Read(dir.file(L"one.flac")));
    EXPECT_EQ(0, info.seconds);
    EXPECT_EQ(0, info.bitRate);
}

TEST(FlacReader, PictureOfAnotherTypeIsNoCover) {
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/backcover.flac")));
    EXPECT_EQ(L"Back", Get(info, L"TITLE"));
    EXPECT_EQ(nullptr, info.GetTag(L"APIC"));
}
