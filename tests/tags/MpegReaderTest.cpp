#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/StreamInfoSource.h"
#include "tags/TagInfo.h"
#include <gtest/gtest.h>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;

namespace {

// Stands in for the audio engine: answers every file with fixed numbers, or refuses.
class FakeStreamSource : public IStreamInfoSource {
public:
    bool open = true;
    StreamInfo answer;
    std::wstring lastPath;
    bool QueryStreamInfo(const std::wstring& path, StreamInfo& info) override {
        lastPath = path;
        if (!open) return false;
        info = answer;
        return true;
    }
};

// Installs a source for one test and removes it afterwards.
class SourceScope {
public:
    explicit SourceScope(IStreamInfoSource* source) { SetStreamInfoSource(source); }
    ~SourceScope() { SetStreamInfoSource(nullptr); }
};


// An ID3v2 tag in front of a few bytes that are no MPEG audio.
std::wstring WriteTagged(const TempDir& dir, const wchar_t* name, const Id3v2Builder& tag) {
    std::wstring path = dir.file(name);
    EXPECT_TRUE(WriteBytes(path, tag.Bytes() + std::string(200, '\0')));
    return path;
}

}  // namespace

TEST(MpegReader, Id3v24Utf8FramesFromFfmpeg) {
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/v24.mp3")));
    EXPECT_EQ(3, info.formatCode);
    EXPECT_EQ(32, info.tagType);
    EXPECT_EQ(0x20, info.yearKeyFlags);
    EXPECT_EQ(0, info.vbr);
    EXPECT_TRUE(info.codecText.empty());
    EXPECT_EQ(L"日本語のタイトル", Get(info, L"TIT2"));
    EXPECT_EQ(L"アーティスト", Get(info, L"TPE1"));
    EXPECT_EQ(L"アルバム", Get(info, L"TALB"));
    EXPECT_EQ(L"3/12", Get(info, L"TRCK"));
    EXPECT_EQ(L"2006", Get(info, L"TYER"));   // the full date is cut to its year
    EXPECT_EQ(L"Jazz", Get(info, L"TCON"));
    EXPECT_EQ(L"APIC", Get(info, L"APIC"));
    // ffmpeg stores the comment in a TXXX frame, which is not read; nor is TSSE.
    EXPECT_EQ(nullptr, info.GetTag(L"COMM"));
    EXPECT_EQ(nullptr, info.GetTag(L"TDRC"));
    EXPECT_EQ(7u, info.tags.size());
}

TEST(MpegReader, Id3v23Utf16FramesFromFfmpeg) {
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/v23.mp3")));
    EXPECT_EQ(L"タイトル二", Get(info, L"TIT2"));
    EXPECT_EQ(L"歌手", Get(info, L"TPE1"));
    EXPECT_EQ(L"1999", Get(info, L"TYER"));
    EXPECT_EQ(L"APIC", Get(info, L"APIC"));
}

TEST(MpegReader, Id3v1AndLatin1FramesAreCodePage932) {
    TTagInfo v1;
    ASSERT_EQ(1, v1.Read(TestDataPath(L"tags/v1.mp3")));
    EXPECT_EQ(L"曲名", Get(v1, L"TIT2"));
    EXPECT_EQ(L"歌手名", Get(v1, L"TPE1"));
    EXPECT_EQ(L"Album1", Get(v1, L"TALB"));
    EXPECT_EQ(L"2001", Get(v1, L"TYER"));
    EXPECT_EQ(L"7", Get(v1, L"TRCK"));
    EXPECT_EQ(L"Jazz", Get(v1, L"TCON"));   // ID3v1 genre 8
    EXPECT_EQ(nullptr, v1.GetTag(L"APIC"));

    TTagInfo latin1;
    ASSERT_EQ(1, latin1.Read(TestDataPath(L"tags/latin1.mp3")));
    EXPECT_EQ(L"ラテン", Get(latin1, L"TIT2"));
    EXPECT_EQ(L"Artist", Get(latin1, L"TPE1"));
}

TEST(MpegReader, Mp1Mp2AndCapitalExtensionReadAsMp3) {
    for (const wchar_t* name : {L"tags/layer.mp1", L"tags/layer.mp2", L"tags/upper.MP3"}) {
        TTagInfo info;
        ASSERT_EQ(1, info.Read(TestDataPath(name))) << name;
        EXPECT_EQ(3, info.formatCode) << name;
        EXPECT_EQ(32, info.tagType) << name;
    }
}

TEST(MpegReader, FrameEncodingsAndMultiStringFrames) {
    TempDir dir;
    Id3v2Builder tag(4);
    tag.Text("TIT2", 1, {"\xFF\xFE" + Utf16Le(L"ユーティーエフ16")})   // UTF-16 with BOM
        .Text("TPE1", 0, {"First", "Second"})                         // the last string stands
        .Text("TALB", 3, {"\xE3\x82\xA2\xE3\x83\xAB"})                // UTF-8 アル
        .Text("TRCK", 2, {"\x56\xDB\x75\x6A"})                          // UTF-16BE 四番
        .Text("TDRC", 0, {"99"})                                      // short years stay
        .Text("TCON", 0, {"17"})                                      // numeric genre reference
        .Frame("COMM", std::string("\0eng", 4) + "desc" + std::string(1, '\0') + "full comment");
    std::wstring path = WriteTagged(dir, L"enc.mp3", tag);
    TTagInfo info;
    ASSERT_EQ(1, info.Read(path));
    EXPECT_EQ(L"ユーティーエフ16", Get(info, L"TIT2"));
    EXPECT_EQ(L"Second", Get(info, L"TPE1"));
    EXPECT_EQ(L"アル", Get(info, L"TALB"));
    EXPECT_EQ(L"四番", Get(info, L"TRCK"));
    EXPECT_EQ(L"99", Get(info, L"TYER"));
    EXPECT_EQ(L"Rock", Get(info, L"TCON"));
    EXPECT_EQ(L"full comment", Get(info, L"COMM"));
    EXPECT_EQ(nullptr, info.GetTag(L"APIC"));
}

TEST(MpegReader, Id3v23GenreReferenceAndTextAfterIt) {
    TempDir dir;
    Id3v2Builder tag(3);
    tag.Text("TCON", 0, {"(8)"}).Text("TIT2", 0, {Cp932(L"日本")});
    std::wstring path = WriteTagged(dir, L"genre.mp3", tag);
    TTagInfo info;
    ASSERT_EQ(1, info.Read(path));
    EXPECT_EQ(L"Jazz", Get(info, L"TCON"));
    EXPECT_EQ(L"日本", Get(info, L"TIT2"));
}

TEST(MpegReader, CommentIsTheFullTextOfTheFirstCommFrame) {
    TempDir dir;
    Id3v2Builder tag(3);
    tag.Frame("COMM", std::string("\x01jpn", 4) + "\xFF\xFE" + Utf16Le(L"説明") + std::string(2, '\0') + "\xFF\xFE" +
                          Utf16Le(L"日本語のコメント"))
        .Frame("COMM", std::string("\0eng", 4) + "x" + std::string(1, '\0') + "second");
    TTagInfo info;
    ASSERT_EQ(1, info.Read(WriteTagged(dir, L"comm.mp3", tag)));
    EXPECT_EQ(L"日本語のコメント", Get(info, L"COMM"));
}

TEST(MpegReader, PictureMarkerNeedsMimeType) {
    TempDir dir;
    Id3v2Builder tag(3);
    tag.Frame("APIC", std::string("\0image/png\0\x03\0", 13) + "PNGDATA");
    TTagInfo info;
    ASSERT_EQ(1, info.Read(WriteTagged(dir, L"pic.mp3", tag)));
    EXPECT_EQ(L"APIC", Get(info, L"APIC"));
}

TEST(MpegReader, StreamNumbersFromTheEngine) {
    FakeStreamSource source;
    source.answer.channels = 2;
    source.answer.samplingRate = 44100;
    source.answer.seconds = 250.6;
    source.answer.fileEnd = 4000000;
    SourceScope scope(&source);
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/v23.mp3")));
    EXPECT_EQ(TestDataPath(L"tags/v23.mp3"), source.lastPath);
    EXPECT_EQ(250, info.seconds);
    EXPECT_EQ(128000, info.bitRate);   // 4 000 000 / (250.6 x 125) = 127.69 -> 128
    EXPECT_EQ(2, info.channels);
    EXPECT_EQ(44100, info.samplingRate);
    EXPECT_EQ(L"タイトル二", Get(info, L"TIT2"));
}

TEST(MpegReader, ZeroLengthOrUnknownFileEndGivesZeroBitRate) {
    FakeStreamSource source;
    source.answer.channels = 1;
    source.answer.samplingRate = 8000;
    source.answer.seconds = 0.0;
    source.answer.fileEnd = 1000;
    SourceScope scope(&source);
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/v24.mp3")));
    EXPECT_EQ(0, info.bitRate);
    EXPECT_EQ(0, info.seconds);
    EXPECT_EQ(1, info.channels);

    // The engine reports a file end it cannot tell as -1; a huge file with a few frames of
    // audio gives kilobits beyond an int's bits.
    source.answer.seconds = 2.0;
    for (unsigned long long end : {~0ULL, 6000000000ULL}) {
        source.answer.fileEnd = end;
        ASSERT_EQ(1, info.Read(TestDataPath(L"tags/v24.mp3")));
        EXPECT_EQ(0, info.bitRate) << end;
        EXPECT_EQ(2, info.seconds);
    }
}

TEST(MpegReader, UnopenableStreamKeepsTagsWithZeroNumbers) {
    FakeStreamSource source;
    source.open = false;
    SourceScope scope(&source);
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/v24.mp3")));
    EXPECT_EQ(3, info.formatCode);
    EXPECT_EQ(0, info.seconds);
    EXPECT_EQ(0, info.samplingRate);
    EXPECT_EQ(0, info.bitRate);
    EXPECT_EQ(0, info.channels);
    EXPECT_EQ(L"日本語のタイトル", Get(info, L"TIT2"));
}

TEST(TtaReader, Id3TagInFrontOfTrueAudio) {
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/tags.tta")));
    EXPECT_EQ(11, info.formatCode);
    EXPECT_EQ(4096, info.tagType);
    EXPECT_EQ(4096, info.yearKeyFlags);
    EXPECT_EQ(L"TrueAudio", Get(info, L"TIT2"));
    EXPECT_EQ(L"歌手", Get(info, L"TPE1"));
    EXPECT_EQ(L"2002", Get(info, L"TYER"));
}

TEST(TtaReader, StreamNumbersFromTheEngine) {
    FakeStreamSource source;
    source.answer.channels = 1;
    source.answer.samplingRate = 8000;
    source.answer.seconds = 1.0;
    source.answer.fileEnd = 2048;
    SourceScope scope(&source);
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/tags.tta")));
    EXPECT_EQ(1, info.seconds);
    EXPECT_EQ(16000, info.bitRate);   // 2048 bytes / 125 = 16.4 kbit/s
}
