#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/EmbeddedCoverArt.h"
#include "tags/TagInfo.h"
#include "tags/WmaReader.h"
#include "tags/asf/AsfHeaderReader.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <thread>
#include <vector>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;

namespace {

asf::Attribute Attr(const wchar_t* name, asf::AttributeType type, const std::string& value) {
    asf::Attribute a;
    a.name = name;
    a.type = type;
    a.value = Bytes(value);
    return a;
}

// A header reader with fixed answers; it opens at once, or never reports anything.
class FakeHeaderReader : public asf::IHeaderReader {
public:
    bool answers = true;
    long openResult = 0;
    asf::OutputFormat format;
    std::vector<asf::Attribute> attributes;
    std::vector<asf::CodecInfo> codecs;
    int failAttributeAt = -1;
    int closes = 0;

    bool Open(const std::wstring&, asf::IReaderCallback* callback) override {
        if (answers) callback->OnStatus(asf::StatusOpened, openResult);
        return true;
    }
    void Close() override { ++closes; }
    bool GetOutputFormat(int output, asf::OutputFormat& f) override {
        if (output != 0) return false;
        f = format;
        return true;
    }
    bool GetAttributeCount(int, int& count) override {
        count = static_cast<int>(attributes.size());
        return true;
    }
    bool GetAttributeByIndex(int, int index, asf::Attribute& a) override {
        if (index == failAttributeAt) return false;
        a = attributes[static_cast<size_t>(index)];
        return true;
    }
    bool GetCodecInfoCount(int& count) override {
        count = static_cast<int>(codecs.size());
        return true;
    }
    bool GetCodecInfo(int index, asf::CodecInfo& info) override {
        info = codecs[static_cast<size_t>(index)];
        return true;
    }
};

std::string WideZ(const std::wstring& text) { return Utf16Le(text) + std::string(2, '\0'); }

// A stored "WM/Picture" value: type, data length, MIME type, description, data.
std::string PictureValue(const std::string& data, unsigned long claimedLength) {
    return std::string(1, '\x03') + Le32(claimedLength) + WideZ(L"image/png") + WideZ(L"front") + data;
}

}  // namespace

TEST(WmaReader, TagsAndStreamFromFfmpeg) {
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/tags.wma")));
    EXPECT_EQ(6, info.formatCode);
    EXPECT_EQ(512, info.tagType);
    EXPECT_EQ(0, info.yearKeyFlags);
    EXPECT_EQ(L"Windows Media Audio V8/ ", info.codecText);   // the codec list has no description
    EXPECT_EQ(1, info.channels);
    EXPECT_EQ(22050, info.samplingRate);
    EXPECT_EQ(24000, info.bitRate);
    EXPECT_EQ(0, info.vbr);
    EXPECT_EQ(2, info.seconds);   // 2.04 s
    // ffmpeg writes title and author both in the content description and as attributes.
    EXPECT_EQ(L"ダブリューエムエー; ダブリューエムエー", Get(info, L"TITLE"));
    EXPECT_EQ(L"Author1; Author1", Get(info, L"AUTHOR"));
    EXPECT_EQ(L"AlbumW", Get(info, L"WM/ALBUMTITLE"));
    EXPECT_EQ(L"Pop", Get(info, L"WM/GENRE"));
    EXPECT_EQ(L"5", Get(info, L"WM/TRACKNUMBER"));
    EXPECT_EQ(L"2003", Get(info, L"DATE"));
    EXPECT_EQ(L"Desc", Get(info, L"DESCRIPTION"));
    EXPECT_EQ(L"24000", Get(info, L"BITRATE"));
    EXPECT_EQ(L"0", Get(info, L"ISVBR"));
    EXPECT_EQ(L"20420000", Get(info, L"DURATION"));
}

TEST(WmaReader, AttributeValuesAsTextByType) {
    FakeHeaderReader reader;
    reader.format = {true, 2, 44100};
    reader.attributes = {
        Attr(L"Duration", asf::TypeQword, Le32(2000000000UL) + Le32(0)),
        Attr(L"Bitrate", asf::TypeDword, Le32(128000)),
        Attr(L"IsVBR", asf::TypeBool, Le32(1)),
        Attr(L"Negative", asf::TypeDword, Le32(0xFFFFFFFEUL)),
        Attr(L"Title", asf::TypeString, WideZ(L"曲")),
        Attr(L"Flag", asf::TypeBool, Le32(2)),   // only a first byte of 1 reads as "1"
        Attr(L"Big", asf::TypeQword, Le32(0) + Le32(1)),
        Attr(L"WM/Picture", asf::TypeBinary, "\x01\x02"),
        Attr(L"Word", asf::TypeWord, Le16(7)),
        Attr(L"Guid", asf::TypeGuid, std::string(16, 'g')),
        Attr(L"wm/year", asf::TypeString, WideZ(L"1998")),
    };
    reader.codecs = {{L"First", L"one"}, {L"Windows Media Audio 9.2", L"128 kbps, 44 kHz, stereo"}};
    TTagInfo info;
    ASSERT_EQ(1, ReadWmaInfoFrom(info, L"C:\\x.wma", reader, 1000));
    EXPECT_EQ(200, info.seconds);   // 2,000,000,000 x 100 ns
    EXPECT_EQ(128000, info.bitRate);
    EXPECT_EQ(1, info.vbr);
    EXPECT_EQ(2, info.channels);
    EXPECT_EQ(44100, info.samplingRate);
    EXPECT_EQ(L"-2", Get(info, L"NEGATIVE"));
    EXPECT_EQ(L"曲", Get(info, L"TITLE"));
    EXPECT_EQ(L"0", Get(info, L"FLAG"));
    EXPECT_EQ(L"4294967296", Get(info, L"BIG"));
    EXPECT_EQ(L"", Get(info, L"WM/PICTURE"));
    EXPECT_EQ(L"", Get(info, L"WORD"));
    EXPECT_EQ(L"", Get(info, L"GUID"));
    EXPECT_EQ(L"1998", Get(info, L"WM/YEAR"));
    EXPECT_EQ(L"Windows Media Audio 9.2/ 128 kbps, 44 kHz, stereo", info.codecText);   // the last entry stands
    EXPECT_EQ(6, info.formatCode);
    EXPECT_GE(reader.closes, 1);
}

TEST(WmaReader, FailuresByStep) {
    TTagInfo info;
    FakeHeaderReader failedOpen;
    failedOpen.openResult = static_cast<long>(0x80004005);
    EXPECT_EQ(3, ReadWmaInfoFrom(info, L"C:\\x.wma", failedOpen, 1000));

    FakeHeaderReader video;
    video.format = {false, 0, 0};
    EXPECT_EQ(4, ReadWmaInfoFrom(info, L"C:\\x.wma", video, 1000));

    FakeHeaderReader badAttribute;
    badAttribute.format = {true, 1, 8000};
    badAttribute.attributes = {Attr(L"A", asf::TypeString, WideZ(L"a")), Attr(L"B", asf::TypeString, WideZ(L"b"))};
    badAttribute.failAttributeAt = 1;
    EXPECT_EQ(4, ReadWmaInfoFrom(info, L"C:\\x.wma", badAttribute, 1000));
    EXPECT_GE(badAttribute.closes, 1);
}

// A reader that never reports its status fails as "cannot open" after the time-out instead
// of blocking the reading thread.
TEST(WmaReader, SilentReaderTimesOut) {
    FakeHeaderReader silent;
    silent.answers = false;
    TTagInfo info;
    EXPECT_EQ(3, ReadWmaInfoFrom(info, L"C:\\x.wma", silent, 50));
    EXPECT_GE(silent.closes, 1);
    std::vector<unsigned char> picture;
    EXPECT_FALSE(ReadWmaPictureFrom(L"C:\\x.wma", silent, 50, picture));
}

// The picture's data length is checked against the bytes of the attribute.
TEST(WmaPicture, DataLengthCheckedAgainstTheValue) {
    std::vector<unsigned char> picture;
    ASSERT_TRUE(ExtractWmaPictureData(Bytes(PictureValue("PNGDATA", 7)), picture));
    EXPECT_EQ(Bytes("PNGDATA"), picture);
    ASSERT_TRUE(ExtractWmaPictureData(Bytes(PictureValue("PNGDATA", 3)), picture));
    EXPECT_EQ(Bytes("PNG"), picture);
    EXPECT_FALSE(ExtractWmaPictureData(Bytes(PictureValue("PNGDATA", 8)), picture));
    EXPECT_FALSE(ExtractWmaPictureData(Bytes(PictureValue("PNGDATA", 0xFFFFFFFFUL)), picture));
    EXPECT_FALSE(ExtractWmaPictureData(Bytes(PictureValue("", 0)), picture));
    // MIME type without its terminator, and a value shorter than the fixed fields.
    EXPECT_FALSE(ExtractWmaPictureData(Bytes(std::string(1, '\x03') + Le32(2) + Utf16Le(L"image")), picture));
    EXPECT_FALSE(ExtractWmaPictureData(Bytes("\x03\x01"), picture));
}

TEST(WmaPicture, FirstPictureAttributeOfTheHeader) {
    FakeHeaderReader reader;
    reader.format = {true, 1, 8000};
    reader.attributes = {Attr(L"WM/Picture", asf::TypeString, WideZ(L"not binary")),
                         Attr(L"wm/picture", asf::TypeBinary, PictureValue("FIRST", 5)),
                         Attr(L"WM/Picture", asf::TypeBinary, PictureValue("SECOND", 6))};
    std::vector<unsigned char> picture;
    ASSERT_TRUE(ReadWmaPictureFrom(L"C:\\x.wma", reader, 1000, picture));
    EXPECT_EQ(Bytes("FIRST"), picture);

    FakeHeaderReader lying;
    lying.attributes = {Attr(L"WM/Picture", asf::TypeBinary, PictureValue("SHORT", 5000))};
    EXPECT_FALSE(ReadWmaPictureFrom(L"C:\\x.wma", lying, 1000, picture));
}

// Reads run on whatever threads call them, many at once, and each one answers.
TEST(WmaReader, ManyReadsOnSeveralThreadsAtOnce) {
    const std::wstring path = TestDataPath(L"tags/tags.wma");
    std::atomic<int> read{0}, wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 40; ++i) {
                TTagInfo info;
                if (info.Read(path) == 1 && info.formatCode == 6 && info.GetTag(L"TITLE"))
                    ++read;
                else
                    ++wrong;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(320, read.load());
    EXPECT_EQ(0, wrong.load());
}
