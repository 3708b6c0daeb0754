#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/EmbeddedCoverArt.h"
#include "tags/TagInfo.h"
#include <gtest/gtest.h>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;

namespace {

std::string Garbage(size_t size) {
    std::string bytes(size, '\0');
    unsigned long x = 12345;
    for (auto& b : bytes) {
        x = x * 1103515245UL + 12345UL;
        b = static_cast<char>((x >> 16) & 0xFF);
    }
    return bytes;
}

struct Sample {
    const wchar_t* extension;
    const wchar_t* fixture;   // a good file of that kind to cut short; null: built below
};

const Sample kSamples[] = {
    {L".wav", L"pcm8.wav"},   {L".mp1", L"layer.mp1"}, {L".mp2", L"layer.mp2"},     {L".mp3", L"v24.mp3"},
    {L".ogg", L"tags.ogg"},   {L".m4a", L"aac.m4a"},   {L".mp4", L"aac.mp4"},       {L".wma", L"tags.wma"},
    {L".flac", L"tags.flac"}, {L".fla", L"nocomment.fla"}, {L".tta", L"tags.tta"}, {L".ape", nullptr},
};

std::string GoodBytes(const Sample& s) {
    if (s.fixture) return ReadBytes(TestDataPath(std::wstring(L"tags/") + s.fixture));
    return ApeStream(8000, 2, 16000, 1000) + ApeV2Tag({{"Title", "t"}});
}

bool IsId3Reader(const std::wstring& ext) {
    return ext == L".mp1" || ext == L".mp2" || ext == L".mp3" || ext == L".tta";
}

}  // namespace

// Garbage of every kind fails cleanly. The ID3 readers are the exception: a file without an
// ID3 tag is an untagged file to them, and its stream numbers come from the engine.
TEST(BadFiles, GarbageOfEveryExtension) {
    TempDir dir;
    for (const Sample& s : kSamples) {
        for (size_t size : {0u, 1u, 7u, 100u, 5000u}) {
            std::wstring path = dir.file(L"garbage" + std::to_wstring(size) + s.extension);
            ASSERT_TRUE(WriteBytes(path, Garbage(size)));
            TTagInfo info;
            int result = info.Read(path);
            if (IsId3Reader(s.extension)) {
                EXPECT_EQ(1, result) << path;
                EXPECT_TRUE(info.tags.empty()) << path;
                EXPECT_EQ(0, info.seconds);
            } else {
                EXPECT_TRUE(result == 3 || result == 4) << path << " gave " << result;
                EXPECT_TRUE(info.tags.empty());
            }
        }
    }
}

// Files cut inside their headers fail cleanly; for the ID3 readers the tag header then
// claims more bytes than the file holds.
TEST(BadFiles, TruncatedFilesOfEveryExtension) {
    TempDir dir;
    for (const Sample& s : kSamples) {
        std::string good = GoodBytes(s);
        for (size_t size : {4u, 12u, 30u, 60u}) {
            ASSERT_LT(size, good.size());
            std::wstring path = dir.file(L"cut" + std::to_wstring(size) + s.extension);
            ASSERT_TRUE(WriteBytes(path, good.substr(0, size)));
            TTagInfo info;
            int result = info.Read(path);
            EXPECT_TRUE(info.tags.empty());
            // A wave file cut after its 44-byte header reads with the samples it still holds.
            if (std::wstring(s.extension) == L".wav" && size > 44) {
                EXPECT_EQ(1, result) << path;
                EXPECT_EQ(0, info.seconds);
                continue;
            }
            EXPECT_TRUE(result == 3 || result == 4) << path << " gave " << result;
        }
    }
}

TEST(BadFiles, Id3TagLengthCheckedAgainstTheFile) {
    TempDir dir;
    Id3v2Builder builder(3);
    builder.Text("TIT2", 0, {"Whole"});
    std::string tag = builder.Bytes();
    std::wstring exact = dir.file(L"exact.mp3");
    ASSERT_TRUE(WriteBytes(exact, tag));   // the tag and nothing after it
    std::wstring shortByOne = dir.file(L"short.mp3");
    ASSERT_TRUE(WriteBytes(shortByOne, tag.substr(0, tag.size() - 1)));
    std::wstring notAHeader = dir.file(L"nothdr.mp3");
    ASSERT_TRUE(WriteBytes(notAHeader, std::string("ID3\x03\x00\x00\x80\x80\x80\x80", 10) + "xxxx"));
    TTagInfo info;
    ASSERT_EQ(1, info.Read(exact));
    EXPECT_STREQ(L"Whole", info.GetTag(L"TIT2"));
    EXPECT_EQ(4, info.Read(shortByOne));
    EXPECT_EQ(1, info.Read(notAHeader));   // not a tag header: an untagged file
    EXPECT_TRUE(info.tags.empty());
}

TEST(BadFiles, MissingFilesCannotBeOpened) {
    TempDir dir;
    for (const Sample& s : kSamples) {
        TTagInfo info;
        int result = info.Read(dir.file(std::wstring(L"none") + s.extension));
        if (std::wstring(s.extension) == L".m4a" || std::wstring(s.extension) == L".mp4")
            EXPECT_EQ(4, result);   // the MP4 reader reports every open failure as not MP4
        else
            EXPECT_EQ(3, result) << s.extension;
    }
}

TEST(BadFiles, EmbeddedPicturesOfBadFilesAreAbsent) {
    TempDir dir;
    std::wstring path = dir.file(L"garbage.bin");
    ASSERT_TRUE(WriteBytes(path, Garbage(3000)));
    for (int kind = 0; kind <= 4; ++kind) {
        CoverImageBuffer buffer;
        EXPECT_FALSE(LoadEmbeddedCoverArt(path, buffer, kind)) << kind;
        EXPECT_EQ(nullptr, buffer.stream);
    }
}
