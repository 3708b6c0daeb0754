// Copy targets from templates, destinations and the drive bar.
#include "app/Placeholders.h"
#include "support/TestFiles.h"
#include "ui/dialogs/CopyTargets.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace {

std::vector<std::wstring> Split(const std::wstring& list) {
    std::vector<std::wstring> out;
    size_t start = 0;
    while (start < list.size() && list[start] != L'\0') {
        size_t end = list.find(L'\0', start);
        out.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

TrackRecord Track(const std::wstring& path, const std::wstring& artist, const std::wstring& album,
                  const std::wstring& title) {
    TrackRecord t;
    t.file_name = path;
    t.file_title = title;
    t.file_ext = L".mp3";
    t.tagArtist = artist;
    t.tagAlbum = album;
    t.tagTitle = title;
    return t;
}

// A literal with the NULs inside it.
template <size_t N>
std::wstring Text(const wchar_t (&literal)[N]) {
    return std::wstring(literal, N - 1);
}

const wchar_t kDefaultTemplate[] = L"%tagArtist%\\%tagAlbum%\\%file_title%.%file_ext%";

}  // namespace

TEST(CopyTargets, NamesKeepEveryTargetInsideTheDestination) {
    const struct {
        std::wstring expanded;
        const wchar_t* name;
    } cases[] = {
        {L"AC/DC\\Back in Black\\Hells Bells.mp3", L"AC／DC\\Back in Black\\Hells Bells.mp3"},
        {L"Who?\\a:b*c\"d<e>f|g.mp3", L"Who？\\a：b＊c”d＜e＞f｜g.mp3"},
        {L"..\\..\\Windows\\x.mp3", L"_\\_\\Windows\\x.mp3"},
        {L".\\. .\\...\\x.mp3", L"_\\_\\_\\x.mp3"},
        {L"\\\\server\\share\\x.mp3", L"server\\share\\x.mp3"},
        {L"C:\\Windows\\x.mp3", L"C：\\Windows\\x.mp3"},
        {L"a..b\\.hidden\\x.mp3", L"a..b\\.hidden\\x.mp3"},
        // A NUL would end the target inside the shell's list and make the rest a path of its own.
        {Text(L"A\0\\..\\..\\x.mp3"), L"A_\\_\\_\\x.mp3"},
        {Text(L"\0C:\\x\0.mp3"), L"_C：\\x_.mp3"},
        {L"tab\there\x01\x1F\r\n.mp3", L"tab_here____.mp3"},
        {L"CON\\nul.mp3", L"CON_\\nul_.mp3"},
        {L"con.txt\\Aux\\prn .mp3", L"con_.txt\\Aux_\\prn_ .mp3"},
        {L"COM1\\lpt9.a.b\\com0\\COM10\\LPT\u00B9", L"COM1_\\lpt9_.a.b\\com0_\\COM10\\LPT\u00B9_"},
        {L"CONSOLE\\NULL.mp3\\my con.mp3\\CON-1", L"CONSOLE\\NULL.mp3\\my con.mp3\\CON-1"},
        // Trailing dots and blanks go, as Windows would drop them; a name left empty is "_".
        {L"x..\\Best of...\\t.mp3", L"x\\Best of\\t.mp3"},
        {L"  \\...\\Track. . .", L"_\\_\\Track"},
        {L"CON.\\nul . \\t.mp3", L"CON_\\nul_\\t.mp3"},
        {L" lead\\mid. dle\\.t.mp3", L" lead\\mid. dle\\.t.mp3"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.name, MakeCopyName(c.expanded)) << c.expanded;
}

TEST(CopyTargets, TrackWithANulInItsFileNameIsLeftOutOfBothLists) {
    TrackRecord a = Track(Text(L"C:\\a.mp3\0..\\b.mp3"), L"A", L"B", L"a");
    TrackRecord b = Track(L"C:\\c.mp3", L"A", L"B", L"c");
    CopyLists lists;
    ASSERT_TRUE(BuildCopyLists({&a, &b}, L"D:\\copy", L"%file_title%%file_ext%", PlaceholderContext(), lists));
    EXPECT_EQ(Text(L"C:\\c.mp3\0\0"), lists.sources);
    EXPECT_EQ(Text(L"D:\\copy\\c.mp3\0\0"), lists.targets);
}

TEST(CopyTargets, ListsFollowTheTrackOrderUnderTheDestinationWithItsBackslash) {
    TrackRecord a = Track(L"C:\\music\\a.mp3", L"AC/DC", L"Album", L"Hells Bells");
    TrackRecord b = Track(L"C:\\music\\b.mp3", L"..", L"..", L"What?");
    CopyLists lists;
    ASSERT_TRUE(BuildCopyLists({&a, &b}, L"D:\\copy", kDefaultTemplate, PlaceholderContext(), lists));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\music\\a.mp3", L"C:\\music\\b.mp3"}), Split(lists.sources));
    // "%file_ext%" holds its dot, so the default template gives two.
    EXPECT_EQ((std::vector<std::wstring>{L"D:\\copy\\AC／DC\\Album\\Hells Bells..mp3", L"D:\\copy\\_\\_\\What？..mp3"}),
              Split(lists.targets));
    EXPECT_EQ(L'\0', lists.sources.back());
    EXPECT_EQ(L'\0', lists.sources[lists.sources.size() - 2]);
    EXPECT_EQ(L'\0', lists.targets[lists.targets.size() - 2]);

    CopyLists trailing;
    ASSERT_TRUE(BuildCopyLists({&a}, L"D:\\copy\\", L"%tagArtist%\\%file_title%%file_ext%", PlaceholderContext(), trailing));
    EXPECT_EQ(L"D:\\copy\\AC／DC\\Hells Bells.mp3", Split(trailing.targets).at(0));
}

TEST(CopyTargets, TargetOfMaxPathOrMoreIsRefused) {
    TrackRecord shortOne = Track(L"C:\\a.mp3", L"A", L"B", L"t");
    const std::wstring destination = L"D:\\copy\\";   // 8 characters
    // destination + album + "\t.mp3" (6): exactly MAX_PATH - 1 is accepted, MAX_PATH is not.
    TrackRecord fits = Track(L"C:\\b.mp3", L"A", std::wstring(MAX_PATH - 1 - 8 - 6, L'x'), L"t");
    TrackRecord tooLong = Track(L"C:\\c.mp3", L"A", std::wstring(MAX_PATH - 8 - 6, L'y'), L"t");
    CopyLists lists;
    EXPECT_TRUE(BuildCopyLists({&shortOne, &fits}, destination, L"%tagAlbum%\\%file_title%%file_ext%",
                               PlaceholderContext(), lists));
    EXPECT_EQ(size_t(MAX_PATH - 1), Split(lists.targets).at(1).size());
    EXPECT_FALSE(BuildCopyLists({&shortOne, &tooLong}, destination, L"%tagAlbum%\\%file_title%%file_ext%",
                                PlaceholderContext(), lists));
    EXPECT_EQ(size_t(MAX_PATH), lists.tooLong.size());
    EXPECT_TRUE(lists.targets.empty());
}

TEST(CopyTargets, DestinationMustBeAnExistingFolderOnAUsableDrive) {
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"file.txt"), "x", 1));
    EXPECT_TRUE(IsValidCopyDestination(dir.path()));
    EXPECT_TRUE(IsValidCopyDestination(dir.path().substr(0, dir.path().size() - 1)));
    EXPECT_FALSE(IsValidCopyDestination(dir.file(L"file.txt")));
    EXPECT_FALSE(IsValidCopyDestination(dir.file(L"missing")));
    EXPECT_FALSE(IsValidCopyDestination(L""));
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'Q'; letter <= L'Y'; ++letter)
        if (!(drives & (1u << (letter - L'A')))) {
            EXPECT_FALSE(IsValidCopyDestination(std::wstring(1, letter) + L":\\"));
            break;
        }
}

TEST(CopyTargets, DriveBarShowsUsedAndSelectedShareAndNothingForADriveWithoutSize) {
    const ULONGLONG GB = 1ull << 30, MB = 1ull << 20;
    DriveBarState s = ComputeDriveBar(100 * GB, 99 * GB, 30 * MB, 3, 10, 10000);
    ASSERT_TRUE(s.available);
    EXPECT_NEAR(10 + 100, s.usedRight, 1);                // 1 % of 10000
    EXPECT_NEAR(2, s.selectionRight - s.usedRight, 1);   // 0.03 % of 10000
    EXPECT_NE(std::wstring::npos, s.text.find(L"(3 ファイル)")) << s.text;
    EXPECT_NE(std::wstring::npos, s.text.find(L"(使用中) + ")) << s.text;
    EXPECT_NE(std::wstring::npos, s.text.find(L"(全容量)")) << s.text;

    DriveBarState none = ComputeDriveBar(0, 0, 30 * MB, 3, 0, 100);
    EXPECT_FALSE(none.available);
    EXPECT_EQ(L"N/A", none.text);

    DriveBarState overflowing = ComputeDriveBar(GB, 0, 1ll << 60, 1, 0, 100);
    EXPECT_TRUE(overflowing.available);
    EXPECT_GT(overflowing.selectionRight, 100);
}
