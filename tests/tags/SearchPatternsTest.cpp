#include "support/TestFiles.h"
#include "tags/SearchPatterns.h"
#include <gtest/gtest.h>
#include <windows.h>

using namespace tagReader;
using namespace testing_support;

namespace {

std::vector<std::wstring> Patterns(const std::wstring& text) {
    std::vector<SearchPatternEntry> list;
    EXPECT_TRUE(SplitPatternList(text, list));
    std::vector<std::wstring> out;
    for (const auto& e : list) {
        EXPECT_TRUE(e.enabled);
        out.push_back(e.pattern);
    }
    return out;
}

std::vector<SearchPatternEntry> List(std::initializer_list<std::wstring> patterns) {
    std::vector<SearchPatternEntry> list;
    for (const auto& p : patterns) list.push_back({p, true});
    return list;
}

void Touch(const std::wstring& path) { ASSERT_TRUE(WriteBytes(path, "x")); }

// Owns two manual-reset events, not set.
struct Events {
    HANDLE cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~Events() {
        CloseHandle(cancel);
        CloseHandle(stop);
    }
};

// Patterns without placeholders.
const PatternExpander kAsIs = [](const std::wstring& p) { return p; };

}  // namespace

TEST(SplitPatternList, SemicolonRules) {
    EXPECT_EQ((std::vector<std::wstring>{L"", L""}), Patterns(L";;"));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), Patterns(L"a;b;"));
    EXPECT_EQ((std::vector<std::wstring>{L"a"}), Patterns(L"a"));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"", L"b"}), Patterns(L"a;;b"));
    EXPECT_TRUE(Patterns(L"").empty());
    EXPECT_EQ((std::vector<std::wstring>{L"%_path%*.*", L"%_path%..\\*.*", L"%_app_path%default.jpg"}),
              Patterns(L"%_path%*.*;%_path%..\\*.*;%_app_path%default.jpg"));
}

TEST(FindCoverImageFile, FindsAnImageAmongOtherFilesInAnyCase) {
    TempDir dir;
    Touch(dir.file(L"a.txt"));
    Touch(dir.file(L"b.mp3"));
    Touch(dir.file(L"Folder.JpG"));
    Events events;
    std::vector<std::wstring> found{L"stale"};
    EXPECT_EQ(1, FindCoverImageFileWith(kAsIs, List({dir.path() + L"*.*"}), found, events.cancel, events.stop));
    EXPECT_EQ((std::vector<std::wstring>{dir.file(L"Folder.JpG")}), found);
}

TEST(FindCoverImageFile, FirstImageTheEnumerationMeetsWins) {
    TempDir dir;
    Touch(dir.file(L"cover.png"));
    Touch(dir.file(L"cover.jpg"));
    Touch(dir.file(L"cover.gif"));
    // The folder listing's own order decides, whatever it is.
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((dir.path() + L"*.*").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    std::wstring first;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") {
            first = name;
            break;
        }
    } while (FindNextFileW(h, &data));
    FindClose(h);
    Events events;
    std::vector<std::wstring> found;
    EXPECT_EQ(1, FindCoverImageFileWith(kAsIs, List({dir.path() + L"*.*"}), found, events.cancel, events.stop));
    EXPECT_EQ((std::vector<std::wstring>{dir.file(first)}), found);
}

TEST(FindCoverImageFile, PatternsInOrderSkippingDisabledAndEmptyResults) {
    TempDir dir;
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"album").c_str(), nullptr));
    Touch(dir.file(L"album\\track.txt"));
    Touch(dir.file(L"parent.bmp"));
    Touch(dir.file(L"disabled.png"));
    Events events;
    std::vector<SearchPatternEntry> list = List({dir.file(L"disabled.png"), dir.file(L"album\\*.*"),
                                                 dir.file(L"album\\..\\*.bmp"), dir.file(L"parent.bmp")});
    list[0].enabled = false;
    std::vector<std::wstring> found;
    EXPECT_EQ(1, FindCoverImageFileWith(kAsIs, list, found, events.cancel, events.stop));
    EXPECT_EQ((std::vector<std::wstring>{dir.file(L"album\\..\\parent.bmp")}), found);

    EXPECT_EQ(0, FindCoverImageFileWith(kAsIs, List({dir.file(L"album\\*.*"), dir.file(L"nothing\\*.*"), L""}),
                                        found, events.cancel, events.stop));
    EXPECT_TRUE(found.empty());
}

TEST(FindCoverImageFile, HiddenImageOnlyWhenNamedExactly) {
    TempDir dir;
    std::wstring hidden = dir.file(L"hidden.jpg");
    Touch(hidden);
    ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    Events events;
    std::vector<std::wstring> found;
    EXPECT_EQ(0, FindCoverImageFileWith(kAsIs, List({dir.path() + L"*.*"}), found, events.cancel, events.stop));
    EXPECT_EQ(1, FindCoverImageFileWith(kAsIs, List({hidden}), found, events.cancel, events.stop));
    EXPECT_EQ((std::vector<std::wstring>{hidden}), found);
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FindLyricsFile, TextAndLrcFilesHiddenOrNot) {
    TempDir dir;
    Touch(dir.file(L"cover.jpg"));
    std::wstring lrc = dir.file(L"song.LRC");
    Touch(lrc);
    ASSERT_TRUE(SetFileAttributesW(lrc.c_str(), FILE_ATTRIBUTE_HIDDEN));
    Events events;
    std::vector<std::wstring> found;
    EXPECT_EQ(1, FindLyricsFileWith(kAsIs, List({dir.path() + L"*.*"}), found, events.cancel, events.stop));
    EXPECT_EQ((std::vector<std::wstring>{lrc}), found);
    SetFileAttributesW(lrc.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FindCoverImageFile, EventsEndASearchThroughOtherFiles) {
    TempDir dir;
    for (int i = 0; i < 50; ++i) Touch(dir.file(L"f" + std::to_wstring(i) + L".txt"));
    Touch(dir.file(L"zz.jpg"));
    std::vector<std::wstring> found;
    {
        Events events;
        SetEvent(events.cancel);
        // The first pattern meets only text files: the wait after the first one ends it.
        int result = FindCoverImageFileWith(kAsIs, List({dir.path() + L"*.txt", dir.path() + L"*.jpg"}), found,
                                            events.cancel, events.stop);
        EXPECT_EQ(2, result);
        EXPECT_TRUE(found.empty());
    }
    {
        Events events;
        SetEvent(events.stop);
        EXPECT_EQ(3, FindLyricsFileWith(kAsIs, List({dir.path() + L"*.jpg"}), found, events.cancel, events.stop));
    }
    {
        Events events;
        SetEvent(events.cancel);
        SetEvent(events.stop);
        EXPECT_EQ(2, FindLyricsFileWith(kAsIs, List({dir.path() + L"*.jpg"}), found, events.cancel, events.stop));
    }
    {
        Events events;   // a failing wait ends the search as well
        EXPECT_EQ(3, FindCoverImageFileWith(kAsIs, List({dir.path() + L"*.txt"}), found, nullptr, nullptr));
    }
}

TEST(FindFilesForTrack, PlaceholdersFromTheTrack) {
    TempDir dir;
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"Music").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"app").c_str(), nullptr));
    Touch(dir.file(L"Music\\a.txt"));
    Touch(dir.file(L"app\\default.jpg"));
    TrackRecord track;
    track.file_name = dir.file(L"Music\\a.mp3");
    track.file_title = L"a";
    track.file_ext = L".mp3";
    PlaceholderContext context;
    context.programFolder = dir.file(L"app\\");
    Events events;
    std::vector<SearchPatternEntry> lyrics;
    SplitPatternList(L"%_path%%file_title%.lrc;%_path%%file_title%.txt", lyrics);
    std::vector<std::wstring> found;
    EXPECT_EQ(1, FindLyricsFile(track, context, lyrics, found, events.cancel, events.stop));
    EXPECT_EQ((std::vector<std::wstring>{dir.file(L"Music\\a.txt")}), found);

    std::vector<SearchPatternEntry> covers;
    SplitPatternList(L"%_path%*.*;%_path%..\\*.jpg;%_app_path%default.jpg", covers);
    EXPECT_EQ(1, FindCoverImageFile(track, context, covers, found, events.cancel, events.stop));
    EXPECT_EQ((std::vector<std::wstring>{dir.file(L"app\\default.jpg")}), found);
}
