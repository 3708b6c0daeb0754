#include "app/ViewHints.h"
#include <gtest/gtest.h>
#include <memory>

TEST(ViewHints, PlaylistHintDefaultsKeepTheViewsSort) {
    CUpdateViewPlaylist hint;
    EXPECT_EQ(L"tagAlbum", hint.tagKey);
    EXPECT_EQ(-1, hint.sortColumn);
    EXPECT_FALSE(hint.sortAscending);
}

TEST(ViewHints, StatisticsChangeDefaultsMarkNothing) {
    CUpdateViewPlaybackStatisticsChange hint;
    EXPECT_EQ(0, hint.changed);
    EXPECT_EQ(-1, hint.rowid);
    EXPECT_EQ(0, hint.rating);
    EXPECT_EQ(0, hint.lastplayed);
    EXPECT_EQ(0, hint.playcount);
    // A started track: last played and play count, the rating untouched.
    hint.changed = CUpdateViewPlaybackStatisticsChange::LastPlayed | CUpdateViewPlaybackStatisticsChange::PlayCount;
    EXPECT_EQ(2 | 4, hint.changed);   // the stored bits: 2 last played, 4 play count
    EXPECT_FALSE(hint.changed & CUpdateViewPlaybackStatisticsChange::Rating);
}

TEST(ViewHints, HintObjectsTravelAsCObject) {
    std::unique_ptr<CObject> hint(new CUpdateViewLibrary);
    auto* library = dynamic_cast<CUpdateViewLibrary*>(hint.get());
    ASSERT_NE(nullptr, library);
    EXPECT_FALSE(library->clearLists);
    EXPECT_EQ(nullptr, dynamic_cast<CUpdateViewPlaylist*>(hint.get()));
    EXPECT_EQ(20, HintPlaylistReady);
    EXPECT_EQ(32, HintStatisticsChanged);
}
