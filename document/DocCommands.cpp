#include "document/Larkspur2006Doc.h"
#include "app/ColorUtil.h"
#include "app/ViewHints.h"
#include "document/WaitCursor.h"
#include "resources/resource.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CLarkspur2006Doc, CDocument)
    ON_COMMAND(ID_LIBRARY_ADD_FILES, &CLarkspur2006Doc::OnAddFiles)
    ON_COMMAND(ID_LIBRARY_ADD_FOLDER, &CLarkspur2006Doc::OnAddDirectory)
    ON_COMMAND(ID_LIBRARY_PROPERTIES, &CLarkspur2006Doc::OnLibraryProperties)
    ON_COMMAND(ID_IMPORT_DATABASE, &CLarkspur2006Doc::OnImport)
    ON_COMMAND(ID_APP_OPTIONS, &CLarkspur2006Doc::OnSettings)
    ON_COMMAND(ID_MAINFRAME_APP_ABOUT, &CLarkspur2006Doc::OnAppAbout)
    ON_UPDATE_COMMAND_UI(ID_IMPORT_DATABASE, &CLarkspur2006Doc::OnUpdateImport)
    ON_COMMAND(ID_TABLE_HELP, &CLarkspur2006Doc::OnTableHelp)
    ON_UPDATE_COMMAND_UI(ID_EXPORT_DATABASE, &CLarkspur2006Doc::OnUpdateExportDatabase)
    ON_COMMAND(ID_PLAY, &CLarkspur2006Doc::OnPlay)
    ON_COMMAND(ID_PAUSE, &CLarkspur2006Doc::OnPause)
    ON_UPDATE_COMMAND_UI(ID_PAUSE, &CLarkspur2006Doc::OnUpdatePause)
    ON_COMMAND(ID_STOP, &CLarkspur2006Doc::OnStop)
    ON_COMMAND(ID_NEXT, &CLarkspur2006Doc::OnNext)
    ON_COMMAND(ID_PREVIOUS, &CLarkspur2006Doc::OnPrevious)
    ON_COMMAND(ID_PLAYMODE_SINGLE, &CLarkspur2006Doc::OnPlayModeSingle)
    ON_COMMAND(ID_PLAYMODE_SINGLE_REPEAT, &CLarkspur2006Doc::OnPlayModeSingleRepeat)
    ON_COMMAND(ID_PLAYMODE_LIST, &CLarkspur2006Doc::OnPlayModeList)
    ON_COMMAND(ID_PLAYMODE_LIST_REPEAT, &CLarkspur2006Doc::OnPlayModeListRepeat)
    ON_COMMAND(ID_PLAYMODE_RANDOM, &CLarkspur2006Doc::OnPlayModeRandom)
    ON_UPDATE_COMMAND_UI_RANGE(ID_PLAYMODE_SINGLE, ID_PLAYMODE_RANDOM, &CLarkspur2006Doc::OnUpdatePlayMode)
    ON_COMMAND(ID_PLAYMODE_CYCLE, &CLarkspur2006Doc::OnCyclePlayMode)
    ON_COMMAND(ID_SYNC_PLAYING, &CLarkspur2006Doc::OnSyncPlaying)
    ON_UPDATE_COMMAND_UI(ID_SYNC_PLAYING, &CLarkspur2006Doc::OnUpdateSyncPlaying)
    ON_COMMAND(ID_SINGLE_CLICK_PLAY, &CLarkspur2006Doc::OnSingleClick)
    ON_UPDATE_COMMAND_UI(ID_SINGLE_CLICK_PLAY, &CLarkspur2006Doc::OnUpdateSingleClick)
    ON_COMMAND(ID_VOLUME_UP, &CLarkspur2006Doc::OnVolumeUp)
    ON_COMMAND(ID_VOLUME_DOWN, &CLarkspur2006Doc::OnVolumeDown)
    ON_COMMAND(ID_MUTE, &CLarkspur2006Doc::OnMute)
    ON_UPDATE_COMMAND_UI(ID_MUTE, &CLarkspur2006Doc::OnUpdateMute)
    ON_COMMAND(ID_GROUP_MODE, &CLarkspur2006Doc::OnGroupMode)
    ON_UPDATE_COMMAND_UI(ID_GROUP_MODE, &CLarkspur2006Doc::OnUpdateGroupMode)
    ON_COMMAND(ID_GROUP_COLLAPSE, &CLarkspur2006Doc::OnGroupCollapse)
    ON_UPDATE_COMMAND_UI(ID_GROUP_COLLAPSE, &CLarkspur2006Doc::OnUpdateGroupCollapse)
    ON_COMMAND(ID_AVERAGE_IGNORE_UNRATED, &CLarkspur2006Doc::OnIgnoreRating00)
    ON_UPDATE_COMMAND_UI(ID_AVERAGE_IGNORE_UNRATED, &CLarkspur2006Doc::OnUpdateIgnoreRating00)
    ON_COMMAND(ID_QUERY_BACK, &CLarkspur2006Doc::OnQueryBack)
    ON_UPDATE_COMMAND_UI(ID_QUERY_BACK, &CLarkspur2006Doc::OnUpdateQueryBack)
    ON_COMMAND(ID_QUERY_FORWARD, &CLarkspur2006Doc::OnQueryForward)
    ON_UPDATE_COMMAND_UI(ID_QUERY_FORWARD, &CLarkspur2006Doc::OnUpdateQueryForward)
    ON_COMMAND(ID_SEARCH_NOCASE, &CLarkspur2006Doc::OnSearchNoCase)
    ON_UPDATE_COMMAND_UI(ID_SEARCH_NOCASE, &CLarkspur2006Doc::OnUpdateSearchNoCase)
    ON_COMMAND(ID_SEARCH_INCREMENTAL, &CLarkspur2006Doc::OnSearchIncremental)
    ON_UPDATE_COMMAND_UI(ID_SEARCH_INCREMENTAL, &CLarkspur2006Doc::OnUpdateSearchIncremental)
    ON_COMMAND(ID_EXPORT_STATISTICS, &CLarkspur2006Doc::OnExportStatistics)
    ON_COMMAND(ID_IMPORT_STATISTICS, &CLarkspur2006Doc::OnImportStatistics)
    ON_COMMAND(ID_RELATED_ALBUM, &CLarkspur2006Doc::OnRelatedAlbum)
    ON_UPDATE_COMMAND_UI(ID_RELATED_ALBUM, &CLarkspur2006Doc::OnUpdateRelatedAlbum)
    ON_COMMAND(ID_LYRICS_WINDOW, &CLarkspur2006Doc::OnLyricsWindow)
    ON_UPDATE_COMMAND_UI(ID_LYRICS_WINDOW, &CLarkspur2006Doc::OnUpdateLyricsWindow)
    ON_COMMAND(ID_JACKET_WINDOW, &CLarkspur2006Doc::OnJacketWindow)
    ON_UPDATE_COMMAND_UI(ID_JACKET_WINDOW, &CLarkspur2006Doc::OnUpdateJacketWindow)
    ON_COMMAND(ID_FONT_ALL_VIEWS, &CLarkspur2006Doc::OnFontNameAll)
    ON_COMMAND(ID_COLOR_STANDARD, &CLarkspur2006Doc::OnColorStandard)
    ON_COMMAND(ID_COLOR_BLACK, &CLarkspur2006Doc::OnColorBlack)
    ON_COMMAND(ID_SORT_RULE_ALBUM, &CLarkspur2006Doc::OnSortRule01)
    ON_UPDATE_COMMAND_UI(ID_SORT_RULE_ALBUM, &CLarkspur2006Doc::OnUpdateSortRule01)
    ON_COMMAND(ID_SORT_RULE_ARTIST, &CLarkspur2006Doc::OnSortRule02)
    ON_UPDATE_COMMAND_UI(ID_SORT_RULE_ARTIST, &CLarkspur2006Doc::OnUpdateSortRule02)
    ON_COMMAND(ID_SORT_RULE_RATING, &CLarkspur2006Doc::OnSortRule03)
    ON_UPDATE_COMMAND_UI(ID_SORT_RULE_RATING, &CLarkspur2006Doc::OnUpdateSortRule03)
END_MESSAGE_MAP()

void CLarkspur2006Doc::OnUpdateExportDatabase(CCmdUI* ui) { ui->Enable(FALSE); }

// ---- Library dialogs -----------------------------------------------------------------

namespace {
void SendLibraryReload(CLarkspur2006Doc& doc) {
    CUpdateViewLibrary hint;
    hint.clearLists = true;
    doc.UpdateAllViews(nullptr, HintLibraryChanged, &hint);
}
}  // namespace

void CLarkspur2006Doc::OnLibraryProperties() {
    if (GetHost().RunLibraryProperties(*this)) SendLibraryReload(*this);
}

void CLarkspur2006Doc::OnImport() {
    if (GetHost().RunImport(*this)) SendLibraryReload(*this);
}

void CLarkspur2006Doc::OnUpdateImport(CCmdUI* ui) { ui->Enable(TRUE); }

void CLarkspur2006Doc::OnTableHelp() { GetHost().RunTableHelp(); }

void CLarkspur2006Doc::OnSettings() { GetHost().RunOptions(*this); }

void CLarkspur2006Doc::OnAppAbout() { GetHost().RunAbout(*this); }

// ---- Playback ------------------------------------------------------------------------

void CLarkspur2006Doc::OnPlay() { Play(-1, 0); }
void CLarkspur2006Doc::OnPause() { TogglePause(); }
void CLarkspur2006Doc::OnUpdatePause(CCmdUI* ui) { ui->SetCheck(GetPlayState() == PlayStatePaused); }
void CLarkspur2006Doc::OnStop() { Stop(true); }
void CLarkspur2006Doc::OnNext() { PlayNext(); }
void CLarkspur2006Doc::OnPrevious() { PlayPrevious(); }

void CLarkspur2006Doc::SetPlayMode(int mode) {
    m_settings.bass.repeatMode = mode;
    GetPlayerHost().SetRepeatModeButton(mode);
    SendPlaybackHint(HintPlayStateChanged);
}

void CLarkspur2006Doc::OnPlayModeSingle() { SetPlayMode(PlayModeSingle); }
void CLarkspur2006Doc::OnPlayModeSingleRepeat() { SetPlayMode(PlayModeSingleRepeat); }
void CLarkspur2006Doc::OnPlayModeList() { SetPlayMode(PlayModeList); }
void CLarkspur2006Doc::OnPlayModeListRepeat() { SetPlayMode(PlayModeListRepeat); }
void CLarkspur2006Doc::OnPlayModeRandom() { SetPlayMode(PlayModeRandom); }

void CLarkspur2006Doc::OnUpdatePlayMode(CCmdUI* ui) {
    static const int kModeOfCommand[] = {PlayModeSingle, PlayModeSingleRepeat, PlayModeList, PlayModeListRepeat,
                                         PlayModeRandom};
    ui->SetCheck(kModeOfCommand[ui->m_nID - ID_PLAYMODE_SINGLE] == m_settings.bass.repeatMode);
}

int CLarkspur2006Doc::NextPlayMode(int mode) {
    switch (mode) {
    case PlayModeSingle: return PlayModeSingleRepeat;
    case PlayModeSingleRepeat: return PlayModeList;
    case PlayModeList: return PlayModeListRepeat;
    case PlayModeListRepeat: return PlayModeRandom;
    default: return PlayModeSingle;
    }
}

void CLarkspur2006Doc::OnCyclePlayMode() { SetPlayMode(NextPlayMode(m_settings.bass.repeatMode)); }

// ---- Volume --------------------------------------------------------------------------

void CLarkspur2006Doc::ShowVolumeOnSlider() {
    IPlayerHost& host = GetPlayerHost();
    if (host.GetMainWindow()) host.SetVolumeSlider(m_settings.bass.masterVolume);
}

void CLarkspur2006Doc::OnVolumeUp() {
    m_settings.bass.masterVolume = std::min(m_settings.bass.masterVolume + 10, 100);
    ShowVolumeOnSlider();
    ApplyVolume();
}

void CLarkspur2006Doc::OnVolumeDown() {
    m_settings.bass.masterVolume = std::max(m_settings.bass.masterVolume - 10, 0);
    ShowVolumeOnSlider();
    ApplyVolume();
}

void CLarkspur2006Doc::OnMute() {
    m_settings.bass.mute = !m_settings.bass.mute;
    ShowVolumeOnSlider();
    ApplyVolume();
}

void CLarkspur2006Doc::OnUpdateMute(CCmdUI* ui) { ui->SetCheck(m_settings.bass.mute); }

// ---- Settings toggles ----------------------------------------------------------------

void CLarkspur2006Doc::OnSyncPlaying() { m_settings.playlistView.syncPlaying = !m_settings.playlistView.syncPlaying; }
void CLarkspur2006Doc::OnUpdateSyncPlaying(CCmdUI* ui) { ui->SetCheck(m_settings.playlistView.syncPlaying); }
void CLarkspur2006Doc::OnSingleClick() { m_settings.playlistView.singleClick = !m_settings.playlistView.singleClick; }
void CLarkspur2006Doc::OnUpdateSingleClick(CCmdUI* ui) { ui->SetCheck(m_settings.playlistView.singleClick); }

void CLarkspur2006Doc::OnGroupMode() {
    ScopedWaitCursor wait;
    m_settings.groupView.groupMode = !m_settings.groupView.groupMode;
    UpdateAllViews(nullptr, HintGroupViewRefresh);
}
void CLarkspur2006Doc::OnUpdateGroupMode(CCmdUI* ui) { ui->SetCheck(m_settings.groupView.groupMode); }

void CLarkspur2006Doc::OnGroupCollapse() {
    ScopedWaitCursor wait;
    m_settings.groupView.canCollapse = !m_settings.groupView.canCollapse;
    if (m_settings.groupView.groupMode) UpdateAllViews(nullptr, HintGroupViewRefresh);
}
void CLarkspur2006Doc::OnUpdateGroupCollapse(CCmdUI* ui) {
    ui->Enable(m_settings.groupView.groupMode);
    ui->SetCheck(m_settings.groupView.canCollapse);
}

void CLarkspur2006Doc::OnIgnoreRating00() {
    m_settings.groupView.averageIgnoreRating00 = !m_settings.groupView.averageIgnoreRating00;
    UpdateAllViews(nullptr, HintGroupViewRefresh);
}
void CLarkspur2006Doc::OnUpdateIgnoreRating00(CCmdUI* ui) { ui->SetCheck(m_settings.groupView.averageIgnoreRating00); }

void CLarkspur2006Doc::OnSearchNoCase() {
    ScopedWaitCursor wait;
    m_settings.search.searchWordNoCase = !m_settings.search.searchWordNoCase;
}
void CLarkspur2006Doc::OnUpdateSearchNoCase(CCmdUI* ui) { ui->SetCheck(m_settings.search.searchWordNoCase); }

void CLarkspur2006Doc::OnSearchIncremental() {
    ScopedWaitCursor wait;
    m_settings.search.searchWordIncliment = !m_settings.search.searchWordIncliment;
}
void CLarkspur2006Doc::OnUpdateSearchIncremental(CCmdUI* ui) { ui->SetCheck(m_settings.search.searchWordIncliment); }

void CLarkspur2006Doc::OnRelatedAlbum() {
    m_settings.informationView.enableRelatedAlbum = !m_settings.informationView.enableRelatedAlbum;
    UpdateAllViews(nullptr, HintStatisticsChanged);
}
void CLarkspur2006Doc::OnUpdateRelatedAlbum(CCmdUI* ui) { ui->SetCheck(m_settings.informationView.enableRelatedAlbum); }

void CLarkspur2006Doc::OnLyricsWindow() {
    m_settings.lyricsWindow.windowShow = !m_settings.lyricsWindow.windowShow;
    UpdateAllViews(nullptr, HintLyricsWindowShown);
}
void CLarkspur2006Doc::OnUpdateLyricsWindow(CCmdUI* ui) { ui->SetCheck(m_settings.lyricsWindow.windowShow); }

void CLarkspur2006Doc::OnJacketWindow() {
    m_settings.imageWindow.windowShow = !m_settings.imageWindow.windowShow;
    UpdateAllViews(nullptr, HintCoverWindowShown);
}
void CLarkspur2006Doc::OnUpdateJacketWindow(CCmdUI* ui) { ui->SetCheck(m_settings.imageWindow.windowShow); }

void CLarkspur2006Doc::OnSortRule01() { m_settings.playlistView.sortRule01 = !m_settings.playlistView.sortRule01; }
void CLarkspur2006Doc::OnUpdateSortRule01(CCmdUI* ui) { ui->SetCheck(m_settings.playlistView.sortRule01); }
void CLarkspur2006Doc::OnSortRule02() { m_settings.playlistView.sortRule02 = !m_settings.playlistView.sortRule02; }
void CLarkspur2006Doc::OnUpdateSortRule02(CCmdUI* ui) { ui->SetCheck(m_settings.playlistView.sortRule02); }
void CLarkspur2006Doc::OnSortRule03() { m_settings.playlistView.sortRule03 = !m_settings.playlistView.sortRule03; }
void CLarkspur2006Doc::OnUpdateSortRule03(CCmdUI* ui) { ui->SetCheck(m_settings.playlistView.sortRule03); }

// ---- Fonts and colours ---------------------------------------------------------------

void CLarkspur2006Doc::OnFontNameAll() {
    std::wstring face = m_settings.playlistView.fontName;
    if (!GetHost().ChooseFontName(face)) return;
    CAppSettings& s = m_settings;
    s.queryView.fontName = face;
    s.groupView.fontName = face;
    s.playlistView.fontName = face;
    s.informationView.fontName = face;
    s.informationView.fontNameBig = face;
    s.informationView.fontNameSmall = face;
    s.informationView.fontNameRelated = face;
    s.imageWindow.fontName = face;
    s.lyricsWindow.fontName = face;
    UpdateAllViews(nullptr, HintSettingsChanged);
}

namespace {

// A darker shade of the window colour: its lightness times 0.6.
COLORREF DarkerWindowColor() {
    const DWORD hls = RGBToHLS(GetSysColor(COLOR_WINDOW));
    const DWORD lightness = (((hls >> 8) & 0xFF) * 60 / 100) << 8;
    return HLSToRGB((hls & 0xFF00FF) | lightness);
}

// Colour values are written as 0xBBGGRR.
struct ColorScheme {
    int ratingType;
    COLORREF queryBack, queryText;
    COLORREF groupBack, groupText, groupHeaderText, groupBorder1, groupBorder2, groupGraph;
    COLORREF listBack, listText, listTextPlaying, list1, list2, listGrid;
    COLORREF infoBack, infoText, infoImageBack, infoImageFrame, infoGeneric1, infoGeneric2, infoGeneric3,
        infoSpecMax, infoSpecMin;
    COLORREF lyricsBack, lyricsText, imageBack, imageText;
};

void ApplyColorScheme(CAppSettings& s, const ColorScheme& c) {
    s.generic.ratingType = c.ratingType;
    s.queryView.colorBackground = c.queryBack;
    s.queryView.colorText = c.queryText;
    s.groupView.colorBackground = c.groupBack;
    s.groupView.colorText = c.groupText;
    s.groupView.colorHeaderText = c.groupHeaderText;
    s.groupView.colorBorder1 = c.groupBorder1;
    s.groupView.colorBorder2 = c.groupBorder2;
    s.groupView.colorGraph = c.groupGraph;
    s.playlistView.colorBackground = c.listBack;
    s.playlistView.colorText = c.listText;
    s.playlistView.colorTextPlaying = c.listTextPlaying;
    s.playlistView.colorList1 = c.list1;
    s.playlistView.colorList2 = c.list2;
    s.playlistView.colorGrid = c.listGrid;
    s.informationView.colorBackground = c.infoBack;
    s.informationView.colorText = c.infoText;
    s.informationView.colorImageBackground = c.infoImageBack;
    s.informationView.colorImageFrame = c.infoImageFrame;
    s.informationView.colorGeneric1 = c.infoGeneric1;
    s.informationView.colorGeneric2 = c.infoGeneric2;
    s.informationView.colorGeneric3 = c.infoGeneric3;
    s.informationView.colorSpecMax = c.infoSpecMax;
    s.informationView.colorSpecMin = c.infoSpecMin;
    s.lyricsWindow.colorBackground = c.lyricsBack;
    s.lyricsWindow.colorText = c.lyricsText;
    s.imageWindow.colorBackground = c.imageBack;
    s.imageWindow.colorText = c.imageText;
}

}  // namespace

void CLarkspur2006Doc::OnColorStandard() {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF caption = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
    const ColorScheme standard = {
        0,
        window, text,
        window, text, text, caption, window, 0xFFF0F0,
        window, text, text, window, 0xFFF0F0, 0xDCDCDC,
        window, text, window, DarkerWindowColor(), 0xE0E0E0, 0xFFF0F0, 0x886245, 0xFFFFFF, 0x202020,
        window, text, window, grey,
    };
    ApplyColorScheme(m_settings, standard);
    UpdateAllViews(nullptr, HintSettingsChanged);
}

void CLarkspur2006Doc::OnColorBlack() {
    const ColorScheme black = {
        1,
        0x000000, 0xFFFFFF,
        0x000000, 0xFFFFFF, 0xFFFFFF, 0xFF0080, 0x000000, 0x939393,
        0x000000, 0xFFFFFF, 0xFF8484, 0x000000, 0x404040, 0xC0C0C0,
        0x000000, 0xFFFFFF, 0x000000, 0x000000, 0xE0E0E0, 0xFF8484, 0x00FFFF, 0x0A4AF5, 0xBDDB57,
        0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF,
    };
    ApplyColorScheme(m_settings, black);
    UpdateAllViews(nullptr, HintSettingsChanged);
}
