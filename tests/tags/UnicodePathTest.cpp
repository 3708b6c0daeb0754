#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/EmbeddedCoverArt.h"
#include "tags/TagInfo.h"
#include <gtest/gtest.h>
#include <windows.h>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;

// Every reader opens files by their wide path: Japanese names and characters outside code
// page 932 (Hangul, Latin with macron) read like any other.
TEST(UnicodePaths, EveryFormatReadsFromANonAnsiPath) {
    TempDir dir;
    std::wstring folder = dir.file(L"日本語フォルダ_한글_\u0101\\");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    struct {
        const wchar_t* fixture;
        const wchar_t* name;
        int code;
    } cases[] = {
        {L"pcm8.wav", L"曲_한_\u0101.wav", 5},     {L"v24.mp3", L"曲_한_\u0101.mp3", 3},
        {L"layer.mp2", L"曲_한_\u0101.mp2", 3},    {L"tags.ogg", L"曲_한_\u0101.ogg", 4},
        {L"aac.m4a", L"曲_한_\u0101.m4a", 8},      {L"aac.mp4", L"曲_한_\u0101.mp4", 8},
        {L"tags.wma", L"曲_한_\u0101.wma", 6},     {L"tags.flac", L"曲_한_\u0101.flac", 10},
        {L"nocomment.fla", L"曲_한_\u0101.fla", 10}, {L"tags.tta", L"曲_한_\u0101.tta", 11},
        {L"layer.mp1", L"曲_한_\u0101.mp1", 3},
    };
    for (const auto& c : cases) {
        std::wstring path = CopyFixture(folder, c.fixture, c.name);
        TTagInfo info;
        ASSERT_EQ(1, info.Read(path)) << c.fixture;
        EXPECT_EQ(c.code, info.formatCode) << c.fixture;
    }
    // Tags that only a real open can give.
    TTagInfo mp3, ogg, flac, wav;
    ASSERT_EQ(1, mp3.Read(folder + L"曲_한_\u0101.mp3"));
    EXPECT_STREQ(L"日本語のタイトル", mp3.GetTag(L"TIT2"));
    ASSERT_EQ(1, ogg.Read(folder + L"曲_한_\u0101.ogg"));
    EXPECT_STREQ(L"オッグ", ogg.GetTag(L"TITLE"));
    ASSERT_EQ(1, flac.Read(folder + L"曲_한_\u0101.flac"));
    EXPECT_STREQ(L"フラック", flac.GetTag(L"TITLE"));
    EXPECT_GT(flac.bitRate, 0);   // the file size comes from the wide path too
    ASSERT_EQ(1, wav.Read(folder + L"曲_한_\u0101.wav"));
    EXPECT_EQ(8000, wav.samplingRate);

    std::wstring ape = folder + L"曲_한_\u0101.ape";
    ASSERT_TRUE(WriteBytes(ape, ApeStream(8000, 1, 8000, 500) + ApeV2Tag({{"Title", "ape"}})));
    TTagInfo apeInfo;
    ASSERT_EQ(1, apeInfo.Read(ape));
    EXPECT_STREQ(L"ape", apeInfo.GetTag(L"TITLE"));

    // Embedded pictures as well.
    for (const auto& p : {std::make_pair(L"曲_한_\u0101.mp3", 0), std::make_pair(L"曲_한_\u0101.m4a", 1),
                          std::make_pair(L"曲_한_\u0101.flac", 3)}) {
        CoverImageBuffer buffer;
        EXPECT_TRUE(LoadEmbeddedCoverArt(folder + p.first, buffer, p.second)) << p.second;
    }
}
