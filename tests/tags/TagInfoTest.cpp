#include "support/TestFiles.h"
#include "tags/TagInfo.h"
#include <gtest/gtest.h>
#include <windows.h>

using namespace tagReader;
using namespace testing_support;

TEST(UpperCaseAscii, ChangesOnlyAsciiLetters) {
    std::wstring text = L"artist wm/Year \u00e9\uff41\u3042z";
    UpperCaseAscii(text);
    EXPECT_EQ(L"ARTIST WM/YEAR \u00e9\uff41\u3042Z", text);   // accented and full-width stay
}

TEST(TagInfoTags, RepeatedKeysJoinInOrderWhateverTheirCase) {
    TTagInfo info;
    info.SetTag(L"ARTIST", L"A");
    info.SetTag(L"artist", L"B");
    info.SetTag(L"Artist", L"C");
    ASSERT_NE(nullptr, info.GetTag(L"ARTIST"));
    EXPECT_STREQ(L"A; B; C", info.GetTag(L"artist"));
    EXPECT_EQ(1u, info.tags.size());
}

TEST(TagInfoTags, LowerCaseLookupFindsUpperCaseKeyAndMissingIsNull) {
    TTagInfo info;
    info.SetTag(L"TIT2", L"Title");
    EXPECT_STREQ(L"Title", info.GetTag(L"tit2"));
    EXPECT_EQ(nullptr, info.GetTag(L"TPE1"));
}

TEST(TagInfoTags, ClearKeepsThePathStrings) {
    TTagInfo info;
    info.formatCode = 3;
    info.codecText = L"x";
    info.tagType = 32;
    info.yearKeyFlags = 0x20;
    info.seconds = info.channels = info.samplingRate = info.bitRate = 1;
    info.vbr = 1;
    info.SetTag(L"A", L"B");
    info.fullPath = L"C:\\a.mp3";
    info.Clear();
    EXPECT_EQ(0, info.formatCode);
    EXPECT_TRUE(info.codecText.empty());
    EXPECT_EQ(0, info.tagType + info.yearKeyFlags + info.seconds + info.channels + info.samplingRate + info.bitRate);
    EXPECT_EQ(0, info.vbr);
    EXPECT_TRUE(info.tags.empty());
    EXPECT_EQ(L"C:\\a.mp3", info.fullPath);
}

TEST(IsSupportedAudioFile, TwelveExtensionsInAnyCase) {
    for (const wchar_t* ext : {L".wav", L".mp1", L".mp2", L".mp3", L".ogg", L".m4a", L".mp4", L".wma", L".flac",
                               L".fla", L".tta", L".ape", L".MP3", L".Flac"})
        EXPECT_TRUE(IsSupportedAudioFile(std::wstring(L"C:\\music\\a") + ext)) << ext;
    for (const wchar_t* path : {L"C:\\music\\a.aac", L"C:\\music\\a", L"C:\\music.mp3\\a", L"C:\\a.mp3.txt", L""})
        EXPECT_FALSE(IsSupportedAudioFile(path)) << path;
}

TEST(TagInfoRead, UnsupportedExtensionFailsWithEverythingEmpty) {
    TempDir dir;
    std::wstring path = dir.file(L"song.aac");
    ASSERT_TRUE(WriteBytes(path, std::string(100, 'x')));
    TTagInfo info;
    info.SetTag(L"OLD", L"value");
    EXPECT_NE(1, info.Read(path));
    EXPECT_TRUE(info.tags.empty());
    EXPECT_EQ(0, info.formatCode);
    EXPECT_TRUE(info.fullPath.empty() && info.folder.empty() && info.fileTitle.empty() && info.extension.empty());
}

TEST(TagInfoRead, SuccessStoresThePathParts) {
    TempDir dir;
    std::wstring path = dir.file(L"Song.Name.MP3");
    ASSERT_TRUE(WriteBytes(path, ReadBytes(TestDataPath(L"tags/v24.mp3"))));
    TTagInfo info;
    ASSERT_EQ(1, info.Read(path));
    EXPECT_EQ(path, info.fullPath);
    EXPECT_EQ(dir.path(), info.folder);
    EXPECT_EQ(L"Song.Name", info.fileTitle);
    EXPECT_EQ(L".MP3", info.extension);
    EXPECT_EQ(3, info.formatCode);
    EXPECT_EQ(32, info.tagType);
}

TEST(TagInfoRead, FailedReadEmptiesAnEarlierResult) {
    TTagInfo info;
    ASSERT_EQ(1, info.Read(TestDataPath(L"tags/pcm8.wav")));
    EXPECT_EQ(3, info.Read(TestDataPath(L"tags/missing.wav")));
    EXPECT_EQ(0, info.formatCode);
    EXPECT_EQ(0, info.samplingRate);
    EXPECT_TRUE(info.fullPath.empty() && info.folder.empty() && info.fileTitle.empty() && info.extension.empty());
}

// Paths are split without fixed-size buffers: a folder path far beyond 256 characters
// still gives the right folder, title and extension.
TEST(TagInfoRead, VeryLongPathSplitsCorrectly) {
    TempDir dir;
    std::wstring folder = dir.path();
    std::wstring real = dir.file(L"t.wav");
    ASSERT_TRUE(WriteBytes(real, ReadBytes(TestDataPath(L"tags/pcm8.wav"))));
    // "sub\..\" repeated resolves to the temp folder itself.
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"sub").c_str(), nullptr));
    std::wstring longFolder = folder;
    while (longFolder.size() < 400) longFolder += L"sub\\..\\";
    TTagInfo info;
    ASSERT_TRUE(WriteBytes(dir.file(L"t.mp3"), ReadBytes(TestDataPath(L"tags/v24.mp3"))));
    EXPECT_EQ(1, info.Read(longFolder + L"t.mp3"));
    std::wstring longPath = longFolder + L"t.wav";
    ASSERT_EQ(1, info.Read(longPath));
    EXPECT_EQ(longFolder, info.folder);
    EXPECT_EQ(L"t", info.fileTitle);
    EXPECT_EQ(L".wav", info.extension);
    EXPECT_EQ(5, info.formatCode);
}
