#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/ApeReader.h"
#include "tags/TagInfo.h"
#include "tags/ape/ApeDecompressor.h"
#include <gtest/gtest.h>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;

namespace {

// 2 s of 8 kHz stereo; 4000 bytes of stream before the tag, so 16 kbit/s.
std::string Stream() { return ApeStream(8000, 2, 16000, 4000 - 52 - 24); }

std::vector<ApeItem> FullTag() {
    return {{"Title", "\xE3\x82\xA8\xE3\x83\xBC\xE3\x83\x97"},   // エープ
            {"Artist", "Artist"},
            {"Album", "Album"},
            {"Comment", "Comment"},
            {"Year", "2006"},
            {"Track", "4"},
            {"Genre", "Jazz"},
            {"Cover Art (front)", std::string("cover.jpg") + '\0' + std::string(1000, '\xAB'), true}};
}

}  // namespace

TEST(ApeReader, StreamAndApeTag) {
    TempDir dir;
    std::wstring path = dir.file(L"a.ape");
    ASSERT_TRUE(WriteBytes(path, Stream() + ApeV2Tag(FullTag())));
    TTagInfo info;
    ASSERT_EQ(1, info.Read(path));
    EXPECT_EQ(12, info.formatCode);
    EXPECT_EQ(8192, info.tagType);
    EXPECT_EQ(8192, info.yearKeyFlags);
    EXPECT_EQ(1, info.vbr);
    EXPECT_EQ(2, info.channels);
    EXPECT_EQ(8000, info.samplingRate);
    EXPECT_EQ(2, info.seconds);
    EXPECT_EQ(16000, info.bitRate);
    EXPECT_EQ(L"エープ", Get(info, L"TITLE"));
    EXPECT_EQ(L"Artist", Get(info, L"ARTIST"));
    EXPECT_EQ(L"Album", Get(info, L"ALBUM"));
    EXPECT_EQ(L"Comment", Get(info, L"COMMENT"));
    EXPECT_EQ(L"2006", Get(info, L"DATE"));
    EXPECT_EQ(L"4", Get(info, L"TRACK"));
    EXPECT_EQ(L"Jazz", Get(info, L"GENRE"));
    EXPECT_EQ(L"APIC", Get(info, L"APIC"));
    EXPECT_EQ(8u, info.tags.size());
}

TEST(ApeReader, FieldLongerThanFirstBufferIsReadWhole) {
    TempDir dir;
    std::wstring path = dir.file(L"long.ape");
    ASSERT_TRUE(WriteBytes(path, Stream() + ApeV2Tag({{"Title", std::string(5000, 't')}, {"Album", std::string(4096, 'a')}})));
    TTagInfo info;
    ASSERT_EQ(1, info.Read(path));
    EXPECT_EQ(std::wstring(5000, L't'), Get(info, L"TITLE"));
    EXPECT_EQ(std::wstring(4096, L'a'), Get(info, L"ALBUM"));
    EXPECT_EQ(nullptr, info.GetTag(L"APIC"));
}

TEST(ApeReader, GetApeFieldAsksTwiceOnlyWhenTooSmall) {
    TempDir dir;
    std::wstring path = dir.file(L"f.ape");
    ASSERT_TRUE(WriteBytes(path, Stream() + ApeV2Tag({{"Title", "short"}})));
    std::unique_ptr<ape::ApeDecompressor> file = ape::ApeDecompressor::Create(path);
    ASSERT_TRUE(file && file->GetTag());
    std::wstring text;
    EXPECT_TRUE(GetApeField(*file->GetTag(), L"TITLE", text));   // field names in any case
    EXPECT_EQ(L"short", text);
    EXPECT_FALSE(GetApeField(*file->GetTag(), L"Artist", text));

    wchar_t small[3];
    int chars = 2;
    EXPECT_EQ(ape::FieldBufferTooSmall, file->GetTag()->GetFieldString(L"Title", small, &chars));
    EXPECT_EQ(5, chars);
    chars = 2;
    EXPECT_EQ(ape::FieldMissing, file->GetTag()->GetFieldString(L"Nothing", small, &chars));
    EXPECT_EQ(0, chars);
}

TEST(ApeReader, Id3v1ReadThroughTheApeTagReader) {
    TempDir dir;
    std::wstring path = dir.file(L"v1.ape");
    ASSERT_TRUE(WriteBytes(path, Stream() + Id3v1(Cp932(L"題名"), "Singer", "Disc", "1997", "Note", 5, 8)));
    TTagInfo info;
    ASSERT_EQ(1, info.Read(path));
    EXPECT_EQ(L"題名", Get(info, L"TITLE"));
    EXPECT_EQ(L"Singer", Get(info, L"ARTIST"));
    EXPECT_EQ(L"Disc", Get(info, L"ALBUM"));
    EXPECT_EQ(L"Note", Get(info, L"COMMENT"));
    EXPECT_EQ(L"1997", Get(info, L"DATE"));
    EXPECT_EQ(L"5", Get(info, L"TRACK"));
    EXPECT_EQ(L"Jazz", Get(info, L"GENRE"));
    EXPECT_EQ(2, info.seconds);

    // Empty fields and genre 255 (none) are no fields.
    ASSERT_TRUE(WriteBytes(path, Stream() + Id3v1("Only", "", "", "", "", 0, 255)));
    ASSERT_EQ(1, info.Read(path));
    EXPECT_EQ(L"Only", Get(info, L"TITLE"));
    EXPECT_EQ(1u, info.tags.size());
}

TEST(ApeReader, UntaggedFileHasStreamButNoTags) {
    TempDir dir;
    std::wstring path = dir.file(L"none.ape");
    ASSERT_TRUE(WriteBytes(path, Stream()));
    TTagInfo info;
    ASSERT_EQ(1, info.Read(path));
    EXPECT_TRUE(info.tags.empty());
    EXPECT_EQ(2, info.seconds);
    EXPECT_EQ(12, info.formatCode);
}
