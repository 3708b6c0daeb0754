#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/TagInfo.h"
#include <gtest/gtest.h>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;


TEST(OggReader, CommentsAndStreamFromOggenc) {
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/tags.ogg")));
    EXPECT_EQ(4, info.formatCode);
    EXPECT_EQ(128, info.tagType);
    EXPECT_EQ(0, info.yearKeyFlags);
    EXPECT_EQ(1, info.vbr);
    EXPECT_EQ(1, info.channels);
    EXPECT_EQ(8000, info.samplingRate);
    EXPECT_EQ(1, info.seconds);   // 8000 samples at 8000 Hz
    EXPECT_GT(info.bitRate, 0);   // the nominal bit rate of the encoder's quality setting
    EXPECT_EQ(0u, info.codecText.find(L"Xiph.Org libVorbis")) << info.codecText;
    EXPECT_EQ(L"オッグ", Get(info, L"TITLE"));
    EXPECT_EQ(L"A; B", Get(info, L"ARTIST"));      // ARTIST and artist are one key
    EXPECT_EQ(L"x=y=z", Get(info, L"EQUATION"));   // only the first "=" splits
    EXPECT_EQ(L"2005", Get(info, L"DATE"));
    EXPECT_EQ(L"1", Get(info, L"NOEQ"));
}

TEST(OggReader, CommentWithoutEqualsSignIsSkippedAndLaterOnesRead) {
    TempDir dir;
    std::string bytes = ReadBytes(TestDataPath(L"tags/tags.ogg"));
    ASSERT_TRUE(Patch(bytes, "NOEQ=1", "NOEQ_1"));
    FixOggChecksums(bytes);
    std::wstring path = dir.file(L"noeq.ogg");
    ASSERT_TRUE(WriteBytes(path, bytes));
    TTagInfo info;
    ASSERT_EQ(1, info.Read(path));
    EXPECT_EQ(nullptr, info.GetTag(L"NOEQ"));
    EXPECT_EQ(nullptr, info.GetTag(L"NOEQ_1"));
    EXPECT_EQ(L"2005", Get(info, L"DATE"));   // written after it
    EXPECT_EQ(L"オッグ", Get(info, L"TITLE"));
}
