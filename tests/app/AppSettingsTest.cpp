#include "app/AppSettings.h"
#include "app/ColorUtil.h"
#include "support/FailingProfileStore.h"
#include "support/TestFiles.h"
#include "Utf16TestText.h"
#include <gtest/gtest.h>

using namespace testing_support;
using app_test::Utf16FileText;
using app_test::Utf16LeBytes;

namespace {

// A profile folder with an optional config.ini of the given text (stored as UTF-16).
class SettingsFixture : public ::testing::Test {
protected:
    std::wstring ConfigPath() const { return dir.file(L"config.ini"); }

    void WriteConfig(const std::wstring& text) {
        ASSERT_TRUE(WriteBytes(ConfigPath(), "\xFF\xFE" + Utf16LeBytes(text)));
    }

    void Load(CAppSettings& s) { CAppSettings::Load(L"Larkspur2006", s, dir.path()); }

    std::wstring ReadKey(const wchar_t* section, const wchar_t* key) {
        CIniFile ini(ConfigPath());
        std::wstring value;
        ini.GetString(value, section, key, L"<missing>");
        return value;
    }

    TempDir dir;
};

// Every stored field set to a value that differs from its default.
void ChangeEverything(CAppSettings& s) {
    s.mainWindow.placement.placement.length = sizeof(WINDOWPLACEMENT);
    s.mainWindow.placement.placement.showCmd = SW_SHOWMAXIMIZED;
    s.mainWindow.placement.placement.rcNormalPosition = RECT{10, 20, 810, 620};
    for (int i = 0; i < 8; ++i) s.mainWindow.placement.paneSizes[i] = 100 + i;

    auto& o = s.mainWindowOptions;
    o.noGripper = true; o.fullScreen = true; o.taskTrayType = 2; o.taskTrayClick = 10;
    o.taskTrayDblClick = 11; o.taskTrayRClick = 12; o.taskTrayRDblClick = 13; o.taskTrayMClick = 14;
    o.taskTrayMDblClick = 15; o.taskTrayBalloonClick = 16; o.infoTipEnable = false; o.infoTipTimeout = 1234;
    o.infoTipTitle = L"題名 %tagTitle%"; o.infoTipText = L"一行目\r\n二行目 \U0001F3B5";

    auto& se = s.search;
    se.searchRecentMax = 7; se.searchRecent = {L"検索", L"word"}; se.searchWay = 4;
    se.searchWordNoCase = false; se.searchWordIncliment = true; se.searchWordInclimentWait = 250;

    s.queryView = {L"Arial", 11, RGB(1, 2, 3), RGB(4, 5, 6)};

    auto& g = s.groupView;
    g.fontName = L"Meiryo"; g.fontSize = 12; g.colorBackground = 1; g.colorText = 2; g.colorHeaderText = 3;
    g.colorBorder1 = 4; g.colorBorder2 = 5; g.colorGraph = 6; g.groupMode = false; g.canCollapse = true;
    g.groupThresholdAlphabet = 3; g.groupThresholdKana = 4; g.groupThresholdKanji = 5; g.headerMode = 0;
    g.averageIgnoreRating00 = true; g.tagKey = L"tagArtist";

    auto& v = s.informationView;
    v.fontName = L"F1"; v.fontSize = 10; v.fontNameBig = L"F2"; v.fontSizeBig = 20; v.fontNameSmall = L"F3";
    v.fontSizeSmall = 8; v.fontNameRelated = L"F4"; v.fontSizeRelated = 11; v.colorBackground = 11;
    v.colorImageBackground = 12; v.colorImageFrame = 13; v.colorText = 14; v.colorGeneric1 = 15;
    v.colorGeneric2 = 16; v.colorGeneric3 = 17; v.colorSpecMax = 18; v.colorSpecMin = 19;
    v.enableRelatedAlbum = false; v.relatedAlbumSql = L"SELECT 1;"; v.relatedAlbumAlphaIn = 200;
    v.relatedAlbumAlphaOut = 0; v.imageSize = 99; v.imageFadeWait = 7; v.imageDrawFrame = false;
    v.imageDrawShadow = false; v.imageZoom = false; v.pictureSearchPattern = L"%_path%cover.jpg";
    v.lyricsSearchPattern = L"%_path%歌詞.txt"; v.specHeight = 80; v.specX = 12; v.specY = 40;

    for (CAppSettings::FloatingWindow* w : {&s.lyricsWindow, &s.imageWindow}) {
        w->placement.length = sizeof(WINDOWPLACEMENT);
        w->placement.showCmd = SW_SHOWNORMAL;
        w->placement.rcNormalPosition = RECT{1, 2, 300, 400};
        w->colorBackground = 21; w->colorText = 22; w->fontName = L"Tahoma"; w->fontSize = 14;
        w->windowAlpha = 255; w->windowShow = true;
    }
    s.imageWindow.fontSize = 15;

    auto& p = s.playlistView;
    p.fontName = L"Verdana"; p.fontSize = 13; p.colorBackground = 31; p.colorText = 32; p.colorTextPlaying = 33;
    p.colorList1 = 34; p.colorList2 = 35; p.colorGrid = 36; p.gridType = 2; p.marginX = 4; p.syncPlaying = false;
    p.singleClick = true; p.ignoreOpenError = true; p.columns = {{1, 300}, {18, 99}};
    p.headerSortColumn = 3; p.headerSortAsc = false; p.sortRule01 = true; p.sortRule02 = true;
    p.sortRule03 = true; p.playlistRestore = false; p.playlistLatestSelection = 42;

    s.copy = {L"D:\\コピー先\\", L"%tagTitle%%file_ext%"};

    auto& b = s.bass;
    b.device = 3; b.frequency = 48000; b.sampleFloat = true; b.repeatMode = 4; b.preBuffer = 10;
    b.masterVolume = 55; b.enableEq = true; b.seekSeconds = 9; b.playTriggerStart = L"start.exe";
    b.playTriggerStop = L"stop.exe";

    s.eq.selectedEq = L"ロック";
    EqPreset rock{};
    for (int i = 0; i < 10; ++i) rock.bands[i] = EqBand{100.0f * (i + 1), 12.5f, i - 4.25f};
    s.eq.presets[L"ロック"] = rock;

    s.sqlite = {L"NORMAL", L"FILE", 900, 5};

    auto& ge = s.generic;
    ge.dateTimeFormat = L"%Y/%m/%d"; ge.libraryLatestDir = L"C:\\Music\\"; ge.ratingType = 1;
    ge.ratingIcon10 = L"full.png"; ge.ratingIcon00 = L"empty.png"; ge.ratingString10 = L"*";
    ge.ratingString00 = L"-"; ge.appTitle = L"%tagArtist%"; ge.imageInterpolationMode = 2;
    ge.checkFileModify = false;

    auto& t = s.thread;
    t.priorityMain = 1; t.priorityWatch = 2; t.priorityImageSearch = -1; t.priorityLyricsSearch = -2;
    t.priorityLinkSearch = 15; t.prioritySpecDraw = -15; t.watchWait = 30; t.freqSpec = 4;
    t.freqLyrics = 5; t.freqSeek = 6;

    s.globalHotkey.enable = true;
    s.globalHotkey.hotKeys[31].hotKey = 0x0220;
    s.globalHotkey.hotKeys[31].isGlobal = false;
    s.globalHotkey.hotKeys[33].hotKey = 1090;
}

}  // namespace

TEST_F(SettingsFixture, NoFileGivesEveryDefault) {
    CAppSettings s;
    Load(s);
    EXPECT_EQ(L"Larkspur2006", s.appTitle);
    EXPECT_EQ(dir.path(), s.userFolder);
    EXPECT_EQ(dir.file(L"config.ini"), s.GetPath());
    EXPECT_TRUE(s.libraryPath.empty());

    EXPECT_EQ(0u, s.mainWindow.placement.placement.length);
    const INT32 panes[8] = {200, 200, 200, 200, 0, 148, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(panes[i], s.mainWindow.placement.paneSizes[i]);

    EXPECT_EQ(31, s.mainWindowOptions.taskTrayClick);
    EXPECT_EQ(33, s.mainWindowOptions.taskTrayDblClick);
    EXPECT_EQ(22, s.mainWindowOptions.taskTrayRClick);
    EXPECT_EQ(11, s.mainWindowOptions.taskTrayRDblClick);
    EXPECT_TRUE(s.mainWindowOptions.infoTipEnable);
    EXPECT_EQ(5000, s.mainWindowOptions.infoTipTimeout);
    EXPECT_EQ(L"%tagTitle%", s.mainWindowOptions.infoTipTitle);
    EXPECT_EQ(L"%tagArtist%\r\n%tagAlbum%\r\n%rating_string%", s.mainWindowOptions.infoTipText);

    EXPECT_EQ(50, s.search.searchRecentMax);
    EXPECT_TRUE(s.search.searchRecent.empty());
    EXPECT_EQ(127, s.search.searchWay);
    EXPECT_TRUE(s.search.searchWordNoCase);
    EXPECT_EQ(500, s.search.searchWordInclimentWait);

    EXPECT_EQ(L"MS UI Gothic", s.queryView.fontName);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), s.queryView.colorBackground);
    EXPECT_EQ(GetSysColor(COLOR_GRADIENTACTIVECAPTION), s.groupView.colorBorder1);
    EXPECT_EQ(16773360u, s.groupView.colorGraph);
    EXPECT_EQ(L"tagAlbum", s.groupView.tagKey);

    EXPECT_EQ(L"Tahoma", s.informationView.fontNameSmall);
    EXPECT_EQ(8938053u, s.informationView.colorGeneric3);
    EXPECT_EQ(90, s.informationView.relatedAlbumAlphaIn);
    EXPECT_EQ(L"%_path%*.*;%_path%..\\*.*;%_app_path%default.jpg", s.informationView.pictureSearchPattern);
    EXPECT_EQ(30, s.informationView.specX);
    EXPECT_EQ(50, s.informationView.specY);
    // A darker shade of the window colour: lightness scaled by 60%.
    DWORD hls = RGBToHLS(GetSysColor(COLOR_WINDOW));
    DWORD expectedHls = (hls & 0xFF00FF) | ((((hls >> 8) & 0xFF) * 60 / 100) << 8);
    EXPECT_EQ(HLSToRGB(expectedHls), s.informationView.colorImageFrame);

    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), s.lyricsWindow.colorText);
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), s.imageWindow.colorText);
    EXPECT_EQ(50, s.imageWindow.windowAlpha);
    EXPECT_EQ(0u, s.lyricsWindow.placement.length);

    ASSERT_EQ(8u, s.playlistView.columns.size());
    EXPECT_EQ(L"0:50/1:200/2:200/3:200/15:84/16:70/17:70/18:140", s.FormatHeaderColumns());
    EXPECT_TRUE(s.playlistView.playlistRestore);
    EXPECT_EQ(-1, s.playlistView.playlistLatestSelection);

    EXPECT_EQ(L"%tagArtist%\\%tagAlbum%\\%file_title%%file_ext%", s.copy.fileName);

    EXPECT_EQ(-1, s.bass.device);
    EXPECT_EQ(44100, s.bass.frequency);
    EXPECT_EQ(2, s.bass.repeatMode);
    EXPECT_EQ(100, s.bass.masterVolume);

    ASSERT_EQ(1u, s.eq.presets.size());
    const EqPreset& def = s.eq.presets.at(L"Default");
    EXPECT_EQ(31.0f, def.bands[0].centre);
    EXPECT_EQ(16000.0f, def.bands[9].centre);
    EXPECT_EQ(18.0f, def.bands[5].bandwidth);
    EXPECT_EQ(0.0f, def.bands[5].gain);

    EXPECT_EQ(L"OFF", s.sqlite.pragmaSynchronous);
    EXPECT_EQ(L"MEMORY", s.sqlite.pragmaTempstore);
    EXPECT_EQ(L"%#c", s.generic.dateTimeFormat);
    EXPECT_EQ(L"\u2605", s.generic.ratingString10);
    EXPECT_EQ(7, s.generic.imageInterpolationMode);
    EXPECT_NE(nullptr, s.generic.handCursor);
    EXPECT_EQ(16, s.generic.ratingImageWidth);
    EXPECT_EQ(3, s.thread.freqSpec);
    EXPECT_EQ(16, s.thread.watchWait);
    EXPECT_EQ(3, s.thread.watchMode);

    EXPECT_FALSE(s.globalHotkey.enable);
    EXPECT_EQ(33u, s.globalHotkey.hotKeys.size());
    EXPECT_EQ(0u, s.globalHotkey.hotKeys.count(20));
    EXPECT_EQ(L"シーク : 5 秒前へ", s.globalHotkey.hotKeys.at(35).displayName);
    EXPECT_EQ(L"シーク : 5 秒次へ", s.globalHotkey.hotKeys.at(36).displayName);
    EXPECT_EQ(0, s.globalHotkey.hotKeys.at(10).hotKey);
    EXPECT_TRUE(s.globalHotkey.hotKeys.at(10).isGlobal);
}

TEST_F(SettingsFixture, SaveWritesEverySectionInOrder) {
    CAppSettings s;
    Load(s);
    EXPECT_TRUE(CAppSettings::Save(s));
    EXPECT_EQ(nullptr, s.generic.handCursor);

    std::string bytes = ReadBytes(ConfigPath());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(std::string("\xFF\xFE", 2), bytes.substr(0, 2));
    std::wstring text = Utf16FileText(bytes);
    const wchar_t* order[] = {L"[Generic]", L"[Thread]", L"[SQLite]", L"[BASS]", L"[EQ]", L"[MainWindow]",
                              L"[MainWindowOptions]", L"[Search]", L"[QueryView]", L"[GroupView]",
                              L"[PlaylistView]", L"[Copy]", L"[InformationView]", L"[LyricsWindow]",
                              L"[ImageWindow]", L"[GlobalHotkey]"};
    size_t last = 0;
    for (const wchar_t* section : order) {
        size_t at = text.find(section);
        ASSERT_NE(std::wstring::npos, at) << section;
        EXPECT_GE(at, last) << section;
        last = at;
    }
    EXPECT_EQ(L"0:50/1:200/2:200/3:200/15:84/16:70/17:70/18:140", ReadKey(L"PlaylistView", L"Header"));
    EXPECT_EQ(L"31.000000/18.000000/0.000000/82.000000/18.000000/0.000000/125.000000/18.000000/0.000000/"
              L"250.000000/18.000000/0.000000/500.000000/18.000000/0.000000/1000.000000/18.000000/0.000000/"
              L"2000.000000/18.000000/0.000000/4000.000000/18.000000/0.000000/8000.000000/18.000000/0.000000/"
              L"16000.000000/18.000000/0.000000",
              ReadKey(L"EQ", L"Default"));
    // Placements are structures: 76 bytes and 44 bytes, plus the checksum, as hex.
    EXPECT_EQ(154u, ReadKey(L"MainWindow", L"Placement").size());
    EXPECT_EQ(90u, ReadKey(L"LyricsWindow", L"Placement").size());
    EXPECT_EQ(90u, ReadKey(L"ImageWindow", L"Placement").size());
    EXPECT_EQ(L"0/1", ReadKey(L"GlobalHotkey", L"Hotkey.0031"));
    EXPECT_EQ(L"%tagArtist%\\%tagAlbum%\\%file_title%%file_ext%", ReadKey(L"Copy", L"FileName"));
    // The misspelt keys are the stored names.
    EXPECT_EQ(L"2", ReadKey(L"BASS", L"RepeartMode"));
    EXPECT_EQ(L"1", ReadKey(L"PlaylistView", L"Playelist.Restore"));
    EXPECT_EQ(L"-1", ReadKey(L"PlaylistView", L"Playlist,LatestSelection"));
    EXPECT_EQ(L"50", ReadKey(L"InformationView", L"Spex.Y"));
    EXPECT_EQ(L"0", ReadKey(L"Search", L"SearchWord.Incliment"));
    // Never-stored fields stay out of the file.
    EXPECT_EQ(L"<missing>", ReadKey(L"BASS", L"Mute"));
    EXPECT_EQ(std::wstring::npos, text.find(L"Mute"));
}

TEST_F(SettingsFixture, ASaveThatFailsPartWayLeavesConfigIniAsItWasAndSaysSo) {
    WriteConfig(L"[Generic]\r\nRatingType=1\r\n[Mine]\r\nkept=手で書いた値\r\n");
    CAppSettings s;
    Load(s);
    ASSERT_TRUE(CAppSettings::Save(s));
    EXPECT_EQ(L"手で書いた値", ReadKey(L"Mine", L"kept")) << "a section the program does not own survives";
    const std::string saved = ReadBytes(ConfigPath());

    for (const bool failReplace : {false, true}) {
        Load(s);
        ChangeEverything(s);
        testing_support::FailingProfileStore store(failReplace);
        EXPECT_FALSE(CAppSettings::Save(s)) << failReplace;
        EXPECT_EQ(1, store.writes) << "the file is written once, whole";
        EXPECT_EQ(saved, ReadBytes(ConfigPath())) << failReplace;
        EXPECT_FALSE(FileExists(ConfigPath() + L".new"));
    }
}

// What the save writes is what the system's profile writer makes of the same keys in the same
// order, so config.ini keeps its format.
TEST_F(SettingsFixture, SavedFileHasTheBytesTheSystemWriterGivesIt) {
    CAppSettings s;
    Load(s);
    ChangeEverything(s);
    ASSERT_TRUE(CAppSettings::Save(s));
    const std::wstring replay = dir.file(L"replay.ini");
    ASSERT_TRUE(WriteBytes(replay, std::string("\xFF\xFE")));
    std::vector<wchar_t> names(65536), lines(1 << 20);
    GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), ConfigPath().c_str());
    int sections = 0;
    for (const wchar_t* name = names.data(); *name; name += wcslen(name) + 1, ++sections) {
        GetPrivateProfileSectionW(name, lines.data(), static_cast<DWORD>(lines.size()), ConfigPath().c_str());
        for (const wchar_t* line = lines.data(); *line; line += wcslen(line) + 1) {
            const std::wstring entry = line;
            const size_t equals = entry.find(L'=');
            ASSERT_NE(std::wstring::npos, equals) << entry;
            WritePrivateProfileStringW(name, entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(),
                                       replay.c_str());
        }
    }
    EXPECT_EQ(16, sections);
    EXPECT_EQ(ReadBytes(replay), ReadBytes(ConfigPath()));
}

TEST_F(SettingsFixture, DefaultsRoundTripUnchanged) {
    CAppSettings first;
    Load(first);
    CAppSettings::Save(first);
    std::string saved = ReadBytes(ConfigPath());

    CAppSettings second;
    Load(second);
    CAppSettings::Save(second);
    EXPECT_EQ(saved, ReadBytes(ConfigPath()));
    EXPECT_EQ(first.FormatHeaderColumns(), second.FormatHeaderColumns());
    EXPECT_EQ(first.mainWindowOptions.infoTipText, second.mainWindowOptions.infoTipText);
    EXPECT_EQ(0, memcmp(&first.mainWindow.placement, &second.mainWindow.placement, sizeof(MainWindowPlacement)));
}

TEST_F(SettingsFixture, EverySectionRoundTripsChangedValues) {
    CAppSettings changed;
    Load(changed);
    ChangeEverything(changed);
    CAppSettings::Save(changed);
    std::string saved = ReadBytes(ConfigPath());

    CAppSettings s;
    Load(s);
    // Saving what was read reproduces the file byte for byte: no key was lost or altered.
    CAppSettings::Save(s);
    EXPECT_EQ(Utf16FileText(saved), Utf16FileText(ReadBytes(ConfigPath())));

    CAppSettings expected;
    Load(expected);   // from the file just written, so handCursor is loaded like `s`'s
    ChangeEverything(expected);
    EXPECT_EQ(0, memcmp(&expected.mainWindow.placement, &s.mainWindow.placement, sizeof(MainWindowPlacement)));
    EXPECT_EQ(0, memcmp(&expected.lyricsWindow.placement, &s.lyricsWindow.placement, sizeof(WINDOWPLACEMENT)));
    EXPECT_EQ(L"一行目\r\n二行目 \U0001F3B5", s.mainWindowOptions.infoTipText);
    EXPECT_EQ(L"題名 %tagTitle%", s.mainWindowOptions.infoTipTitle);
    EXPECT_EQ(16, s.mainWindowOptions.taskTrayBalloonClick);
    EXPECT_EQ((std::vector<std::wstring>{L"検索", L"word"}), s.search.searchRecent);
    EXPECT_TRUE(s.search.searchWordIncliment);
    EXPECT_EQ(RGB(4, 5, 6), s.queryView.colorText);
    EXPECT_EQ(L"tagArtist", s.groupView.tagKey);
    EXPECT_EQ(200, s.informationView.relatedAlbumAlphaIn);
    EXPECT_EQ(L"%_path%歌詞.txt", s.informationView.lyricsSearchPattern);
    EXPECT_EQ(12, s.informationView.specX);
    EXPECT_EQ(40, s.informationView.specY);
    EXPECT_EQ(14, s.lyricsWindow.fontSize);
    EXPECT_EQ(15, s.imageWindow.fontSize);
    EXPECT_EQ(255, s.imageWindow.windowAlpha);
    EXPECT_EQ(L"1:300/18:99", s.FormatHeaderColumns());
    EXPECT_EQ(2, s.playlistView.gridType);
    EXPECT_FALSE(s.playlistView.playlistRestore);
    EXPECT_EQ(42, s.playlistView.playlistLatestSelection);
    EXPECT_EQ(L"D:\\コピー先\\", s.copy.copyLatestDir);
    EXPECT_EQ(4, s.bass.repeatMode);
    EXPECT_EQ(55, s.bass.masterVolume);
    EXPECT_EQ(L"ロック", s.eq.selectedEq);
    ASSERT_EQ(2u, s.eq.presets.count(L"ロック") + s.eq.presets.count(L"Default"));
    for (int i = 0; i < 10; ++i) {
        EXPECT_FLOAT_EQ(100.0f * (i + 1), s.eq.presets.at(L"ロック").bands[i].centre);
        EXPECT_FLOAT_EQ(12.5f, s.eq.presets.at(L"ロック").bands[i].bandwidth);
        EXPECT_FLOAT_EQ(i - 4.25f, s.eq.presets.at(L"ロック").bands[i].gain);
    }
    EXPECT_EQ(L"FILE", s.sqlite.pragmaTempstore);
    EXPECT_EQ(900, s.sqlite.busyTimeout);
    EXPECT_EQ(L"%Y/%m/%d", s.generic.dateTimeFormat);
    EXPECT_EQ(1, s.generic.ratingType);
    EXPECT_FALSE(s.generic.checkFileModify);
    EXPECT_EQ(-15, s.thread.prioritySpecDraw);
    EXPECT_EQ(6, s.thread.freqSeek);
    EXPECT_TRUE(s.globalHotkey.enable);
    EXPECT_EQ(0x0220, s.globalHotkey.hotKeys.at(31).hotKey);
    EXPECT_FALSE(s.globalHotkey.hotKeys.at(31).isGlobal);
    EXPECT_EQ(1090, s.globalHotkey.hotKeys.at(33).hotKey);
    EXPECT_TRUE(s.globalHotkey.hotKeys.at(33).isGlobal);
    EXPECT_EQ(L"シーク : 9 秒次へ", s.globalHotkey.hotKeys.at(36).displayName);
}

TEST_F(SettingsFixture, OutOfRangeValuesAreReplaced) {
    WriteConfig(L"[BASS]\r\nMasterVolume=150\r\nRepeartMode=7\r\n"
                L"[PlaylistView]\r\nGridType=1\r\n"
                L"[InformationView]\r\nSpec.X=5\r\nSpex.Y=80\r\nRelatedAlbum.Alpha.IN=300\r\n"
                L"[Thread]\r\nFreq.Spec=0\r\nFreq.Lyrics=0\r\nFreq.Seek=0\r\n"
                L"[MainWindowOptions]\r\nNoGripper=2\r\nFullScreen=1\r\n");
    CAppSettings s;
    Load(s);
    EXPECT_EQ(100, s.bass.masterVolume);
    EXPECT_EQ(0, s.bass.repeatMode);
    EXPECT_EQ(-1, s.playlistView.gridType);
    EXPECT_EQ(10, s.informationView.specX);
    EXPECT_EQ(50, s.informationView.specY);
    EXPECT_EQ(300 & 0xFF, s.informationView.relatedAlbumAlphaIn);
    EXPECT_EQ(3, s.thread.freqSpec);
    EXPECT_EQ(20, s.thread.freqLyrics);
    EXPECT_EQ(20, s.thread.freqSeek);
    EXPECT_FALSE(s.mainWindowOptions.noGripper);
    EXPECT_TRUE(s.mainWindowOptions.fullScreen);

    // The replaced values are what goes back.
    CAppSettings::Save(s);
    EXPECT_EQ(L"10", ReadKey(L"InformationView", L"Spec.X"));
    EXPECT_EQ(L"50", ReadKey(L"InformationView", L"Spex.Y"));
    EXPECT_EQ(L"44", ReadKey(L"InformationView", L"RelatedAlbum.Alpha.IN"));
    EXPECT_EQ(L"0", ReadKey(L"MainWindowOptions", L"NoGripper"));
}

TEST_F(SettingsFixture, LowerBoundsAndKeptValues) {
    WriteConfig(L"[BASS]\r\nMasterVolume=-5\r\nRepeartMode=3\r\n"
                L"[PlaylistView]\r\nGridType=2\r\n"
                L"[InformationView]\r\nSpec.X=31\r\nSpex.Y=9\r\n");
    CAppSettings s;
    Load(s);
    EXPECT_EQ(0, s.bass.masterVolume);
    EXPECT_EQ(3, s.bass.repeatMode);
    EXPECT_EQ(2, s.playlistView.gridType);
    EXPECT_EQ(30, s.informationView.specX);
    EXPECT_EQ(10, s.informationView.specY);
}

TEST_F(SettingsFixture, TimerValuesOutOfRangeFallBackToTheirDefaults) {
    const struct {
        const wchar_t* timeout;
        const wchar_t* wait;
        int timeoutRead, waitRead;
    } cases[] = {
        {L"-1", L"-1", 5000, 500},
        {L"-2147483648", L"-100", 5000, 500},
        {L"4294967295", L"4294967295", 5000, 500},
        {L"2147483647", L"60001", 5000, 500},
        {L"30001", L"100000", 5000, 500},
        {L"999", L"0", 5000, 0},
        {L"1000", L"60000", 1000, 60000},
        {L"30000", L"250", 30000, 250},
    };
    for (const auto& c : cases) {
        WriteConfig(std::wstring(L"[MainWindowOptions]\r\nTaskTray.InfoTip.Timeout=") + c.timeout +
                    L"\r\n[Search]\r\nSearchWord.Incliment.Wait=" + c.wait + L"\r\n");
        CAppSettings s;
        Load(s);
        EXPECT_EQ(c.timeoutRead, s.mainWindowOptions.infoTipTimeout) << c.timeout;
        EXPECT_EQ(c.waitRead, s.search.searchWordInclimentWait) << c.wait;
    }
}

TEST_F(SettingsFixture, MalformedNumbersReadAsZero) {
    WriteConfig(L"[BASS]\r\nFrequency=abc\r\nSeek.Seconds=\r\n[PlaylistView]\r\nMargin.X=7px\r\n");
    CAppSettings s;
    Load(s);
    EXPECT_EQ(0, s.bass.frequency);
    EXPECT_EQ(7, s.playlistView.marginX);
    // The default column set takes its rating width from the margin.
    EXPECT_EQ(2 * 7 + 80, s.playlistView.columns[4].width);
}

TEST_F(SettingsFixture, MisspeltKeysAreTheOnesRead) {
    WriteConfig(L"[BASS]\r\nRepeatMode=4\r\nRepeartMode=1\r\n"
                L"[PlaylistView]\r\nPlaylist.Restore=1\r\nPlayelist.Restore=0\r\n"
                L"Playlist.LatestSelection=9\r\nPlaylist,LatestSelection=5\r\n"
                L"[InformationView]\r\nSpec.Y=20\r\nSpex.Y=30\r\n"
                L"[Search]\r\nSearchWord.Increment=0\r\nSearchWord.Incliment=1\r\n");
    CAppSettings s;
    Load(s);
    EXPECT_EQ(1, s.bass.repeatMode);
    EXPECT_FALSE(s.playlistView.playlistRestore);
    EXPECT_EQ(5, s.playlistView.playlistLatestSelection);
    EXPECT_EQ(30, s.informationView.specY);
    EXPECT_TRUE(s.search.searchWordIncliment);
    // Keys not in the tables disappear at the next save.
    CAppSettings::Save(s);
    EXPECT_EQ(L"<missing>", ReadKey(L"BASS", L"RepeatMode"));
    EXPECT_EQ(L"<missing>", ReadKey(L"InformationView", L"Spec.Y"));
}

TEST_F(SettingsFixture, RecentWordsAreRenumbered) {
    WriteConfig(L"[Search]\r\nSearchRecent.Max=5\r\nSearchRecent.00=最初\r\nSearchRecent.02=third\r\n"
                L"SearchRecent.05=beyond max\r\n");
    CAppSettings s;
    Load(s);
    EXPECT_EQ((std::vector<std::wstring>{L"最初", L"third"}), s.search.searchRecent);
    CAppSettings::Save(s);
    EXPECT_EQ(L"最初", ReadKey(L"Search", L"SearchRecent.00"));
    EXPECT_EQ(L"third", ReadKey(L"Search", L"SearchRecent.01"));
    EXPECT_EQ(L"<missing>", ReadKey(L"Search", L"SearchRecent.02"));
    EXPECT_EQ(L"<missing>", ReadKey(L"Search", L"SearchRecent.05"));

    // Entries at or past the maximum and empty entries are not written; numbers are positions.
    s.search.searchRecentMax = 3;
    s.search.searchRecent = {L"a", L"", L"c", L"d"};
    CAppSettings::Save(s);
    EXPECT_EQ(L"a", ReadKey(L"Search", L"SearchRecent.00"));
    EXPECT_EQ(L"<missing>", ReadKey(L"Search", L"SearchRecent.01"));
    EXPECT_EQ(L"c", ReadKey(L"Search", L"SearchRecent.02"));
    EXPECT_EQ(L"<missing>", ReadKey(L"Search", L"SearchRecent.03"));
}

// A hand-edited maximum costs nothing: only the keys in the file are read, in number order,
// each as the profile reader would give it.
TEST_F(SettingsFixture, RecentWordsWithAHugeMaximumAreReadFromTheKeysPresent) {
    for (const wchar_t* max : {L"2147483647", L"99999999999"}) {
        WriteConfig(std::wstring(L"[Search]\r\nSearchRecent.Max=") + max +
                    L"\r\nSearchRecent.123=fourth\r\nSearchRecent.10=third\r\nSearchRecent.00=最初\r\n"
                    L"searchrecent.02 = \"  second \"\r\nSearchRecent.5=not a key of the list\r\n"
                    L"SearchRecent.007=nor this\r\nSearchRecent.03=\r\nSearchRecent.00=a second 00\r\n"
                    L"SearchRecent.99999999999=too large\r\nSearchWay=4\r\n[Other]\r\nSearchRecent.01=elsewhere\r\n");
        CAppSettings s;
        Load(s);
        EXPECT_EQ((std::vector<std::wstring>{L"最初", L"  second ", L"third", L"fourth"}), s.search.searchRecent) << max;
        EXPECT_EQ(4, s.search.searchWay);
    }
    // Numbers at or past a small maximum still stay out.
    WriteConfig(L"[Search]\r\nSearchRecent.Max=3\r\nSearchRecent.02=c\r\nSearchRecent.03=d\r\nSearchRecent.01='b'\r\n");
    CAppSettings s;
    Load(s);
    EXPECT_EQ((std::vector<std::wstring>{L"b", L"c"}), s.search.searchRecent);
}

TEST(AppSettingsHeader, ParsesColumnItems) {
    CAppSettings s;
    s.playlistView.marginX = 2;
    s.ParseHeaderColumns(L"5:70/:20/abc");
    ASSERT_EQ(2u, s.playlistView.columns.size());
    EXPECT_EQ(5, s.playlistView.columns[0].type);
    EXPECT_EQ(70, s.playlistView.columns[0].width);
    EXPECT_EQ(0, s.playlistView.columns[1].type);
    EXPECT_EQ(0, s.playlistView.columns[1].width);

    // An item without a colon is a width; empty items and a trailing "/" add nothing;
    // a type the play list cannot show (above 18, negative, 14) is dropped, and a type named
    // again keeps its first item.
    s.ParseHeaderColumns(L"120//99:30/7:x/-1:5/14:40/1:80/7:90/0:10/");
    EXPECT_EQ(L"0:120/7:0/1:80", s.FormatHeaderColumns());

    // Nothing left, like nothing stored, gives the default set.
    for (const wchar_t* value : {L"", L"99:30/14:20/-3:5"}) {
        s.ParseHeaderColumns(value);
        EXPECT_EQ(L"0:50/1:200/2:200/3:200/15:84/16:70/17:70/18:140", s.FormatHeaderColumns()) << value;
    }
}

TEST_F(SettingsFixture, ThousandStoredHeaderEntriesLoadAndSaveAsTheKnownColumnsOnce) {
    // 1,000 entries: every type from -5 to 24 again and again, in a shifting order.
    std::wstring header;
    for (int i = 0; i < 1000; ++i) {
        if (i) header += L'/';
        header += std::to_wstring((i * 7) % 30 - 5) + L":" + std::to_wstring(40 + i);
    }
    WriteConfig(L"[PlaylistView]\r\nHeader=" + header + L"\r\n");
    CAppSettings s;
    Load(s);
    // The first item of each type the play list can show, in the stored order.
    std::wstring expected;
    bool seen[30] = {};
    for (int i = 0; i < 1000; ++i) {
        const int type = (i * 7) % 30 - 5;
        if (type < 0 || type > 18 || type == 14 || seen[type + 5]) continue;
        seen[type + 5] = true;
        expected += (expected.empty() ? L"" : L"/") + std::to_wstring(type) + L":" + std::to_wstring(40 + i);
    }
    EXPECT_EQ(18u, s.playlistView.columns.size());
    EXPECT_EQ(expected, s.FormatHeaderColumns());
    ASSERT_TRUE(CAppSettings::Save(s));
    EXPECT_EQ(expected, ReadKey(L"PlaylistView", L"Header")) << "written back bounded";
}

TEST_F(SettingsFixture, EqualiserSectionEdgeCases) {
    std::wstring thirty, twentyNine;
    for (int i = 0; i < 30; ++i) thirty += (i ? L"/" : L"") + std::to_wstring(i) + L".5";
    for (int i = 0; i < 29; ++i) twentyNine += (i ? L"/" : L"") + std::to_wstring(i);
    std::wstring withEmpty = L"1//3";
    for (int i = 3; i < 30; ++i) withEmpty += L"/7";
    WriteConfig(L"[EQ]\r\nselectedeq=Mine\r\nMine=" + thirty + L"/99/99\r\nShort=" + twentyNine +
                L"\r\nGaps=" + withEmpty + L"\r\nNoValue=\r\nJustText\r\n");
    CAppSettings s;
    s.eq.presets[L"Stale"] = EqPreset{};
    Load(s);
    EXPECT_EQ(L"Mine", s.eq.selectedEq);
    EXPECT_EQ(0u, s.eq.presets.count(L"Stale"));
    EXPECT_EQ(0u, s.eq.presets.count(L"Short"));     // 29 values: dropped
    EXPECT_EQ(0u, s.eq.presets.count(L"NoValue"));
    ASSERT_EQ(1u, s.eq.presets.count(L"Default"));   // added when missing
    ASSERT_EQ(1u, s.eq.presets.count(L"Mine"));
    EXPECT_FLOAT_EQ(0.5f, s.eq.presets.at(L"Mine").bands[0].centre);
    EXPECT_FLOAT_EQ(29.5f, s.eq.presets.at(L"Mine").bands[9].gain);   // extra fields ignored
    ASSERT_EQ(1u, s.eq.presets.count(L"Gaps"));
    EXPECT_FLOAT_EQ(1.0f, s.eq.presets.at(L"Gaps").bands[0].centre);
    EXPECT_FLOAT_EQ(0.0f, s.eq.presets.at(L"Gaps").bands[0].bandwidth);   // empty field
    EXPECT_FLOAT_EQ(3.0f, s.eq.presets.at(L"Gaps").bands[0].gain);
    EXPECT_EQ(3u, s.eq.presets.size());

    // Without a "SelectedEQ" key the field keeps what it had.
    WriteConfig(L"[EQ]\r\nDefault=" + thirty + L"\r\n");
    CAppSettings t;
    t.eq.selectedEq = L"Before";
    Load(t);
    EXPECT_EQ(L"Before", t.eq.selectedEq);
    EXPECT_EQ(1u, t.eq.presets.size());
    EXPECT_FLOAT_EQ(0.5f, t.eq.presets.at(L"Default").bands[0].centre);   // the stored one wins
}

TEST_F(SettingsFixture, HotKeyValues) {
    WriteConfig(L"[BASS]\r\nSeek.Seconds=12\r\n"
                L"[GlobalHotkey]\r\nEnable=1\r\nHotkey.0031=1090\r\nHotkey.0032=1090/0\r\n"
                L"Hotkey.0033=1090/5\r\nHotkey.0034=abc/0\r\nHotkey.0020=77/1\r\nHotkey.0099=5/1\r\n");
    CAppSettings s;
    Load(s);
    EXPECT_TRUE(s.globalHotkey.enable);
    EXPECT_EQ(1090, s.globalHotkey.hotKeys.at(31).hotKey);
    EXPECT_TRUE(s.globalHotkey.hotKeys.at(31).isGlobal);
    EXPECT_EQ(1090, s.globalHotkey.hotKeys.at(32).hotKey);
    EXPECT_FALSE(s.globalHotkey.hotKeys.at(32).isGlobal);
    EXPECT_TRUE(s.globalHotkey.hotKeys.at(33).isGlobal);
    EXPECT_EQ(0, s.globalHotkey.hotKeys.at(34).hotKey);
    EXPECT_FALSE(s.globalHotkey.hotKeys.at(34).isGlobal);
    EXPECT_EQ(0u, s.globalHotkey.hotKeys.count(20));
    EXPECT_EQ(0u, s.globalHotkey.hotKeys.count(99));
    EXPECT_EQ(31, s.globalHotkey.hotKeys.at(31).action);
    EXPECT_EQ(L"プレイバック : 再生/一時停止", s.globalHotkey.hotKeys.at(31).displayName);
    EXPECT_EQ(L"シーク : 12 秒前へ", s.globalHotkey.hotKeys.at(35).displayName);

    CAppSettings::Save(s);
    EXPECT_EQ(L"1090/1", ReadKey(L"GlobalHotkey", L"Hotkey.0031"));
    EXPECT_EQ(L"1090/0", ReadKey(L"GlobalHotkey", L"Hotkey.0032"));
    EXPECT_EQ(L"0/1", ReadKey(L"GlobalHotkey", L"Hotkey.0071"));
    EXPECT_EQ(L"<missing>", ReadKey(L"GlobalHotkey", L"Hotkey.0020"));
    EXPECT_EQ(L"<missing>", ReadKey(L"GlobalHotkey", L"Hotkey.0099"));
}

TEST_F(SettingsFixture, InfoTipTextEncoding) {
    CAppSettings s;
    Load(s);
    s.mainWindowOptions.infoTipText.clear();
    CAppSettings::Save(s);
    EXPECT_EQ(L"<missing>", ReadKey(L"MainWindowOptions", L"TaskTray.InfoTip.Text"));
    CAppSettings t;
    Load(t);
    EXPECT_EQ(L"%tagArtist%\r\n%tagAlbum%\r\n%rating_string%", t.mainWindowOptions.infoTipText);

    // "ab" as UTF-16LE bytes 61 00 62 00.
    t.mainWindowOptions.infoTipText = L"ab";
    CAppSettings::Save(t);
    EXPECT_EQ(L"YQBiAA==", ReadKey(L"MainWindowOptions", L"TaskTray.InfoTip.Text"));
}

TEST_F(SettingsFixture, HandEditedInfoTipTextIsDecodedSafely) {
    struct Case {
        const wchar_t* stored;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"YQBiAA==", L"ab"},
        {L"YQBiAGM=", L"ab"},          // odd byte count: the last half character is dropped
        {L"YQBiAGMAZA", L"abc"},       // no padding: the cut-off group is ignored
        {L"YQAAAGIA", L"a"},           // a zero character ends the text
        {L"====", L"%tagArtist%\r\n%tagAlbum%\r\n%rating_string%"},   // no byte: the default
        {L"!!!!", std::wstring()},     // foreign characters decode as zero bits
    };
    for (const Case& c : cases) {
        WriteConfig(std::wstring(L"[MainWindowOptions]\r\nTaskTray.InfoTip.Text=") + c.stored + L"\r\n");
        CAppSettings s;
        Load(s);
        EXPECT_EQ(c.expected, s.mainWindowOptions.infoTipText) << c.stored;
    }
}

TEST_F(SettingsFixture, TinyFileNeverCutsDefaults) {
    // A file of about 100 bytes without the SQL key: the default is read whole
    // and written back whole.
    WriteConfig(L"[InformationView]\r\nFontSize=10\r\n[Generic]\r\nRatingType=1\r\n");
    ASSERT_LT(ReadBytes(ConfigPath()).size(), 160u);
    CAppSettings s;
    Load(s);
    const std::wstring sql =
        L"SELECT tagAlbum FROM list WHERE UPPER(tagArtist) glob UPPER('*%tagArtist%*') AND "
        L"tagAlbum<>'%tagAlbum%' AND tagAlbum<>'' GROUP BY tagAlbum ORDER BY AVG(rating) DESC;";
    EXPECT_EQ(sql, s.informationView.relatedAlbumSql);
    EXPECT_EQ(10, s.informationView.fontSize);
    EXPECT_EQ(1, s.generic.ratingType);
    CAppSettings::Save(s);
    EXPECT_EQ(sql, ReadKey(L"InformationView", L"RelatedAlbum.SQL"));

    // An empty file behaves the same.
    WriteConfig(L"");
    CAppSettings e;
    Load(e);
    EXPECT_EQ(sql, e.informationView.relatedAlbumSql);
}

TEST_F(SettingsFixture, InvalidPlacementsReadAsDefaults) {
    CAppSettings s;
    Load(s);
    ChangeEverything(s);
    CAppSettings::Save(s);
    // Damage the checksum of the main placement and shorten the lyrics window placement.
    CIniFile ini(ConfigPath());
    std::wstring main;
    ini.GetString(main, L"MainWindow", L"Placement", L"");
    main.back() = main.back() == L'0' ? L'1' : L'0';
    ini.WriteString(L"MainWindow", L"Placement", main.c_str());
    std::wstring lyrics;
    ini.GetString(lyrics, L"LyricsWindow", L"Placement", L"");
    ini.WriteString(L"LyricsWindow", L"Placement", lyrics.substr(2).c_str());

    CAppSettings t;
    Load(t);
    EXPECT_EQ(0u, t.mainWindow.placement.placement.length);
    EXPECT_EQ(200, t.mainWindow.placement.paneSizes[0]);
    EXPECT_EQ(148, t.mainWindow.placement.paneSizes[5]);
    EXPECT_EQ(0u, t.lyricsWindow.placement.length);
    EXPECT_EQ(0, t.lyricsWindow.placement.rcNormalPosition.right);
    EXPECT_EQ(sizeof(WINDOWPLACEMENT), t.imageWindow.placement.length);   // untouched one still reads
    EXPECT_EQ(300, t.imageWindow.placement.rcNormalPosition.right);
}
