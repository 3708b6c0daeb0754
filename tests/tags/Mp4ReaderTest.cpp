#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/TagInfo.h"
#include "tags/mp4/Mp4File.h"
#include <gtest/gtest.h>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;


TEST(Mp4Reader, AacWithTagsAndCoverFromFfmpeg) {
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/aac.m4a")));
    EXPECT_EQ(8, info.formatCode);
    EXPECT_EQ(1024, info.tagType);
    EXPECT_EQ(1024, info.yearKeyFlags);
    EXPECT_EQ(0, info.vbr);
    EXPECT_TRUE(info.codecText.empty());
    // The channel count of the sample description, where ffmpeg writes the MP4 template
    // value 2 for AAC even when the stream is mono.
    EXPECT_EQ(2, info.channels);
    EXPECT_EQ(8000, info.samplingRate);   // the track's time scale
    EXPECT_EQ(1, info.seconds);
    EXPECT_GT(info.bitRate, 8000);
    EXPECT_LT(info.bitRate, 32000);
    EXPECT_EQ(L"エム四エー", Get(info, L"TIT2"));
    EXPECT_EQ(L"Artist", Get(info, L"TPE1"));
    EXPECT_EQ(L"Album", Get(info, L"TALB"));
    EXPECT_EQ(L"02/09", Get(info, L"TRCK"));
    EXPECT_EQ(L"2004", Get(info, L"TYER"));
    EXPECT_EQ(L"Rock", Get(info, L"TCON"));
    EXPECT_EQ(L"Note", Get(info, L"COMM"));
    // The picture's size in bytes: the PNG that the script embedded.
    EXPECT_EQ(std::to_wstring(ReadBytes(TestDataPath(L"tags/cover.png")).size()), Get(info, L"APIC"));
}

TEST(Mp4Reader, AlacAndMp4Extension) {
    TTagInfo alac;
    ASSERT_EQ(1, alac.Read(TestDataPath(L"tags/alac.m4a")));
    EXPECT_EQ(9, alac.formatCode);
    EXPECT_EQ(L"ALAC", Get(alac, L"TIT2"));
    EXPECT_EQ(nullptr, alac.GetTag(L"APIC"));
    EXPECT_EQ(1, alac.seconds);

    TTagInfo mp4;
    ASSERT_EQ(1, mp4.Read(TestDataPath(L"tags/aac.mp4")));
    EXPECT_EQ(8, mp4.formatCode);
    EXPECT_EQ(L"MP4", Get(mp4, L"TIT2"));
}

TEST(Mp4Reader, MediaDataNameDecidesTheFormat) {
    TempDir dir;
    std::string original = ReadBytes(TestDataPath(L"tags/aac.m4a"));
    std::string upper = original, amr = original;
    ASSERT_TRUE(Patch(upper, "mp4a", "MP4A"));
    ASSERT_TRUE(Patch(amr, "mp4a", "samr"));
    ASSERT_TRUE(WriteBytes(dir.file(L"upper.m4a"), upper));
    ASSERT_TRUE(WriteBytes(dir.file(L"amr.m4a"), amr));
    TTagInfo info;
    EXPECT_EQ(1, info.Read(dir.file(L"upper.m4a")));
    EXPECT_EQ(8, info.formatCode);
    EXPECT_EQ(4, info.Read(dir.file(L"amr.m4a")));
    EXPECT_TRUE(info.tags.empty());
}

TEST(Mp4Layer, TrackNumbersFromTheHeaders) {
    std::unique_ptr<mp4::Mp4File> file = mp4::Mp4File::Open(TestDataPath(L"tags/alac.m4a"));
    ASSERT_TRUE(file);
    ASSERT_GE(file->TrackCount(), 1);
    const mp4::TrackInfo& track = file->Track(0);
    EXPECT_EQ("alac", track.mediaDataName);
    EXPECT_EQ(8000u, track.timeScale);
    EXPECT_EQ(8000u, track.duration);   // one second of samples
    EXPECT_EQ(1u, mp4::Mp4File::DurationSeconds(track));
    EXPECT_EQ(1, track.channels);
    EXPECT_FALSE(mp4::Mp4File::Open(TestDataPath(L"tags/pcm8.wav")));
}
