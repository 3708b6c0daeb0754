// The document's command table: each command through the command route, and the state its
// update handler shows.

#include "PlayerTestSupport.h"
#include "app/ColorUtil.h"
#include "resources/resource.h"
#include <gtest/gtest.h>

using namespace player_test;

namespace {

class Commands : public PlayerFixture {
protected:
    bool Run(UINT id) { return Doc().OnCmdMsg(id, CN_COMMAND, nullptr) != FALSE; }
    CCmdUI Update(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        EXPECT_TRUE(Doc().OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui)) << id;
        return ui;
    }
    CAppSettings& S() { return lib.settings; }
    std::vector<LPARAM> Hints() const {
        std::vector<LPARAM> codes;
        for (const auto& h : view.hints) codes.push_back(h.code);
        return codes;
    }
};

}  // namespace

TEST_F(Commands, PlayModesSetTheModeTheButtonAndTheCheck) {
    struct Case { UINT id; int mode; };
    const Case cases[] = {{ID_PLAYMODE_SINGLE, 0}, {ID_PLAYMODE_SINGLE_REPEAT, 1}, {ID_PLAYMODE_LIST, 3},
                          {ID_PLAYMODE_LIST_REPEAT, 2}, {ID_PLAYMODE_RANDOM, 4}};
    for (const Case& c : cases) {
        view.hints.clear();
        ASSERT_TRUE(Run(c.id));
        EXPECT_EQ(S().bass.repeatMode, c.mode);
        EXPECT_EQ(host.repeatButtons.back(), c.mode);
        EXPECT_EQ(Hints(), std::vector<LPARAM>{31});
        for (const Case& other : cases) EXPECT_EQ(Update(other.id).m_check, other.id == c.id ? 1 : 0);
    }

    // The repeat-mode button cycles single, single repeat, list, list repeat, random.
    const int order[] = {0, 1, 3, 2, 4, 0};
    S().bass.repeatMode = 0;
    for (int i = 1; i < 6; ++i) {
        ASSERT_TRUE(Run(ID_PLAYMODE_CYCLE));
        EXPECT_EQ(S().bass.repeatMode, order[i]) << "step " << i;
        EXPECT_EQ(host.repeatButtons.back(), order[i]);
    }
}

TEST_F(Commands, VolumeStepsStopAtTheEndsAndMoveTheSlider) {
    S().bass.masterVolume = 95;
    ASSERT_TRUE(Run(ID_VOLUME_UP));
    EXPECT_EQ(S().bass.masterVolume, 100);
    EXPECT_EQ(host.volumeSliders, std::vector<int>{100});
    S().bass.masterVolume = 5;
    ASSERT_TRUE(Run(ID_VOLUME_DOWN));
    EXPECT_EQ(S().bass.masterVolume, 0);
    EXPECT_EQ(host.volumeSliders.back(), 0);
    ASSERT_TRUE(Run(ID_VOLUME_UP));
    EXPECT_EQ(S().bass.masterVolume, 10);

    EXPECT_EQ(Update(ID_MUTE).m_check, 0);
    ASSERT_TRUE(Run(ID_MUTE));
    EXPECT_TRUE(S().bass.mute);
    EXPECT_EQ(Update(ID_MUTE).m_check, 1);
    EXPECT_EQ(host.volumeSliders.size(), 4u);
    ASSERT_TRUE(Run(ID_MUTE));
    EXPECT_FALSE(S().bass.mute);

    // Without a main window the slider is left alone.
    const HWND window = host.window;
    host.window = nullptr;
    ASSERT_TRUE(Run(ID_VOLUME_UP));
    host.window = window;
    EXPECT_EQ(host.volumeSliders.size(), 5u);
}

TEST_F(Commands, TogglesFlipTheirSettingSendTheirHintAndShowTheCheck) {
    struct Case { UINT id; bool* field; LPARAM hint; };   // hint 0: none
    CAppSettings& s = S();
    const Case cases[] = {
        {ID_SYNC_PLAYING, &s.playlistView.syncPlaying, 0},
        {ID_SINGLE_CLICK_PLAY, &s.playlistView.singleClick, 0},
        {ID_GROUP_MODE, &s.groupView.groupMode, 11},
        {ID_AVERAGE_IGNORE_UNRATED, &s.groupView.averageIgnoreRating00, 11},
        {ID_SEARCH_NOCASE, &s.search.searchWordNoCase, 0},
        {ID_SEARCH_INCREMENTAL, &s.search.searchWordIncliment, 0},
        {ID_RELATED_ALBUM, &s.informationView.enableRelatedAlbum, 32},
        {ID_LYRICS_WINDOW, &s.lyricsWindow.windowShow, 100},
        {ID_JACKET_WINDOW, &s.imageWindow.windowShow, 101},
        {ID_SORT_RULE_ALBUM, &s.playlistView.sortRule01, 0},
        {ID_SORT_RULE_ARTIST, &s.playlistView.sortRule02, 0},
        {ID_SORT_RULE_RATING, &s.playlistView.sortRule03, 0},
    };
    for (const Case& c : cases) {
        for (bool expected : {true, false}) {
            view.hints.clear();
            ASSERT_TRUE(Run(c.id)) << c.id;
            EXPECT_EQ(*c.field, expected) << c.id;
            EXPECT_EQ(Hints(), c.hint ? std::vector<LPARAM>{c.hint} : std::vector<LPARAM>{}) << c.id;
            if (c.hint == 32) EXPECT_EQ(view.hints[0].change.changed, 0) << "hint 32 without an object";
            EXPECT_EQ(Update(c.id).m_check, expected ? 1 : 0) << c.id;
        }
    }
}

TEST_F(Commands, GroupCollapseIsDisabledWhileGroupingIsOff) {
    S().groupView.groupMode = false;
    CCmdUI ui = Update(ID_GROUP_COLLAPSE);
    EXPECT_FALSE(ui.m_enabled);
    ASSERT_TRUE(Run(ID_GROUP_COLLAPSE));
    EXPECT_TRUE(S().groupView.canCollapse);
    EXPECT_TRUE(view.hints.empty()) << "no refresh while grouping is off";

    S().groupView.groupMode = true;
    ui = Update(ID_GROUP_COLLAPSE);
    EXPECT_TRUE(ui.m_enabled);
    EXPECT_EQ(ui.m_check, 1);
    ASSERT_TRUE(Run(ID_GROUP_COLLAPSE));
    EXPECT_FALSE(S().groupView.canCollapse);
    EXPECT_EQ(Hints(), std::vector<LPARAM>{11});

    // The export of the database is never available.
    ui = Update(ID_EXPORT_DATABASE);
    EXPECT_TRUE(ui.m_handled);
    EXPECT_FALSE(ui.m_enabled);
}

TEST_F(Commands, ColourSchemesSetEveryColourAndTheRatingType) {
    ASSERT_TRUE(Run(ID_COLOR_BLACK));
    EXPECT_EQ(S().generic.ratingType, 1);
    EXPECT_EQ(S().playlistView.colorTextPlaying, 0xFF8484u);
    EXPECT_EQ(S().groupView.colorBorder1, 0xFF0080u);
    EXPECT_EQ(S().informationView.colorSpecMax, 0x0A4AF5u);
    EXPECT_EQ(S().informationView.colorSpecMin, 0xBDDB57u);
    EXPECT_EQ(S().imageWindow.colorText, 0xFFFFFFu);
    EXPECT_EQ(S().queryView.colorBackground, 0u);

    ASSERT_TRUE(Run(ID_COLOR_STANDARD));
    EXPECT_EQ(S().generic.ratingType, 0);
    EXPECT_EQ(S().queryView.colorBackground, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(S().playlistView.colorTextPlaying, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(S().groupView.colorBorder1, GetSysColor(COLOR_GRADIENTACTIVECAPTION));
    EXPECT_EQ(S().imageWindow.colorText, GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(S().playlistView.colorGrid, 0xDCDCDCu);
    EXPECT_EQ(S().informationView.colorGeneric3, 0x886245u);
    // The frame colour is the window colour at 60 % of its lightness.
    const DWORD window = RGBToHLS(GetSysColor(COLOR_WINDOW));
    const DWORD frame = RGBToHLS(S().informationView.colorImageFrame);
    EXPECT_NEAR(static_cast<int>((frame >> 8) & 0xFF), static_cast<int>(((window >> 8) & 0xFF) * 60 / 100), 1);
    EXPECT_EQ(Hints(), (std::vector<LPARAM>{5, 5}));
}

TEST_F(Commands, OneFontNameForEveryView) {
    lib.host.fontChoice.clear();
    ASSERT_TRUE(Run(ID_FONT_ALL_VIEWS));
    EXPECT_EQ(lib.host.fontDialogs, 1);
    EXPECT_TRUE(view.hints.empty()) << "cancelled: nothing changes";

    lib.host.fontChoice = L"ＭＳ ゴシック";
    ASSERT_TRUE(Run(ID_FONT_ALL_VIEWS));
    const CAppSettings& s = S();
    for (const std::wstring* name : {&s.queryView.fontName, &s.groupView.fontName, &s.playlistView.fontName,
                                     &s.informationView.fontName, &s.informationView.fontNameBig,
                                     &s.informationView.fontNameSmall, &s.informationView.fontNameRelated,
                                     &s.imageWindow.fontName, &s.lyricsWindow.fontName})
        EXPECT_EQ(*name, L"ＭＳ ゴシック");
    EXPECT_EQ(Hints(), std::vector<LPARAM>{5});
}

TEST_F(Commands, PlaybackCommandsPlayPauseStopAndMove) {
    StartPlayer();
    const int64_t first = AddWavTrack(L"a.wav", 44100 * 5);
    const int64_t second = AddWavTrack(L"b.wav", 44100 * 5);
    S().bass.repeatMode = PlayModeList;

    ASSERT_TRUE(Run(ID_PLAY));
    EXPECT_EQ(Doc().GetNowPlaying().rowid, first) << "without a current row, row 0";
    EXPECT_EQ(Update(ID_PAUSE).m_check, 0);
    ASSERT_TRUE(Run(ID_PAUSE));
    EXPECT_EQ(Doc().GetPlayState(), PlayStatePaused);
    EXPECT_EQ(Update(ID_PAUSE).m_check, 1);
    ASSERT_TRUE(Run(ID_PAUSE));
    EXPECT_EQ(Doc().GetPlayState(), PlayStatePlaying);

    ASSERT_TRUE(Run(ID_NEXT));
    EXPECT_EQ(Doc().GetNowPlaying().rowid, second);
    ASSERT_TRUE(Run(ID_PREVIOUS));
    EXPECT_EQ(Doc().GetNowPlaying().rowid, first);

    ASSERT_TRUE(Run(ID_STOP));
    EXPECT_EQ(Doc().GetPlayState(), PlayStateStopped);
    EXPECT_EQ(Doc().GetNowPlaying().rowid, -1);

    // Play resumes with the current row.
    List().current = 1;
    ASSERT_TRUE(Run(ID_PLAY));
    EXPECT_EQ(Doc().GetNowPlaying().rowid, second);
}

TEST_F(Commands, LibraryDialogsReloadTheViewsOnlyWhenTheyChangedTheLibrary) {
    lib.view.hints.clear();
    ASSERT_TRUE(Run(ID_LIBRARY_PROPERTIES));
    ASSERT_TRUE(Run(ID_IMPORT_DATABASE));
    EXPECT_EQ(1, lib.host.propertiesRuns);
    EXPECT_EQ(1, lib.host.importRuns);
    EXPECT_TRUE(lib.view.hints.empty());

    lib.host.propertiesChangeLibrary = true;
    lib.host.importWritesRows = true;
    ASSERT_TRUE(Run(ID_LIBRARY_PROPERTIES));
    ASSERT_TRUE(Run(ID_IMPORT_DATABASE));
    ASSERT_EQ(2u, lib.view.hints.size());
    for (const auto& h : lib.view.hints) {
        EXPECT_EQ(HintLibraryChanged, h.code);
        EXPECT_TRUE(h.clearLists);
    }
    EXPECT_TRUE(Update(ID_IMPORT_DATABASE).m_enabled);
}
