#include "OptionsTestSupport.h"
#include <string>

namespace opt_test {

namespace {
std::wstring Text(const std::wstring& s) { return s; }
std::wstring Text(int v) { return std::to_wstring(v); }
std::wstring Text(unsigned long v) { return std::to_wstring(v); }
std::wstring Text(BYTE v) { return std::to_wstring(v); }
std::wstring Text(bool v) { return v ? L"true" : L"false"; }
}  // namespace

#define LARK_FIELD(name, expr) fields[name] = Text(expr)

std::map<std::string, std::wstring> EditedFields(const CAppSettings& s) {
    std::map<std::string, std::wstring> fields;
    // Basic page.
    LARK_FIELD("Generic.DateTimeFormat", s.generic.dateTimeFormat);
    LARK_FIELD("Generic.ImageInterpolationMode", s.generic.imageInterpolationMode);
    LARK_FIELD("Generic.AppTitle", s.generic.appTitle);
    LARK_FIELD("Generic.CheckFileModify", s.generic.checkFileModify);
    LARK_FIELD("BASS.PlayTrigger.Start", s.bass.playTriggerStart);
    LARK_FIELD("BASS.PlayTrigger.Stop", s.bass.playTriggerStop);
    LARK_FIELD("PlaylistView.Playelist.Restore", s.playlistView.playlistRestore);
    LARK_FIELD("Generic.RatingType", s.generic.ratingType);
    LARK_FIELD("Generic.RatingIcon.10", s.generic.ratingIcon10);
    LARK_FIELD("Generic.RatingIcon.00", s.generic.ratingIcon00);
    // Visual page.
    LARK_FIELD("QueryView.FontName", s.queryView.fontName);
    LARK_FIELD("QueryView.FontSize", s.queryView.fontSize);
    LARK_FIELD("QueryView.Color.Background", s.queryView.colorBackground);
    LARK_FIELD("QueryView.Color.Text", s.queryView.colorText);
    LARK_FIELD("GroupView.FontName", s.groupView.fontName);
    LARK_FIELD("GroupView.FontSize", s.groupView.fontSize);
    LARK_FIELD("GroupView.Color.Background", s.groupView.colorBackground);
    LARK_FIELD("GroupView.Color.Text", s.groupView.colorText);
    LARK_FIELD("GroupView.Color.HeaderText", s.groupView.colorHeaderText);
    LARK_FIELD("GroupView.Color.Border1", s.groupView.colorBorder1);
    LARK_FIELD("GroupView.Color.Border2", s.groupView.colorBorder2);
    LARK_FIELD("GroupView.Color.Graph", s.groupView.colorGraph);
    LARK_FIELD("GroupView.GroupThreshold.Alphabet", s.groupView.groupThresholdAlphabet);
    LARK_FIELD("GroupView.GroupThreshold.Kana", s.groupView.groupThresholdKana);
    LARK_FIELD("GroupView.GroupThreshold.Kanji", s.groupView.groupThresholdKanji);
    LARK_FIELD("PlaylistView.FontName", s.playlistView.fontName);
    LARK_FIELD("PlaylistView.FontSize", s.playlistView.fontSize);
    LARK_FIELD("PlaylistView.Color.Background", s.playlistView.colorBackground);
    LARK_FIELD("PlaylistView.Color.Text", s.playlistView.colorText);
    LARK_FIELD("PlaylistView.Color.Text.Playing", s.playlistView.colorTextPlaying);
    LARK_FIELD("PlaylistView.Color.List1", s.playlistView.colorList1);
    LARK_FIELD("PlaylistView.Color.List2", s.playlistView.colorList2);
    LARK_FIELD("PlaylistView.Color.Grid", s.playlistView.colorGrid);
    LARK_FIELD("PlaylistView.GridType", s.playlistView.gridType);
    LARK_FIELD("PlaylistView.Margin.X", s.playlistView.marginX);
    // Now-playing display page.
    const CAppSettings::InformationView& v = s.informationView;
    LARK_FIELD("InformationView.FontName", v.fontName);
    LARK_FIELD("InformationView.FontSize", v.fontSize);
    LARK_FIELD("InformationView.FontName.Big", v.fontNameBig);
    LARK_FIELD("InformationView.FontSize.Big", v.fontSizeBig);
    LARK_FIELD("InformationView.FontName.Small", v.fontNameSmall);
    LARK_FIELD("InformationView.FontSize.Small", v.fontSizeSmall);
    LARK_FIELD("InformationView.FontName.Related", v.fontNameRelated);
    LARK_FIELD("InformationView.FontSize.Related", v.fontSizeRelated);
    LARK_FIELD("InformationView.Color.Background", v.colorBackground);
    LARK_FIELD("InformationView.Color.Text", v.colorText);
    LARK_FIELD("InformationView.Color.Image.Background", v.colorImageBackground);
    LARK_FIELD("InformationView.Color.Image.Frame", v.colorImageFrame);
    LARK_FIELD("InformationView.Color.Generic1", v.colorGeneric1);
    LARK_FIELD("InformationView.Color.Generic2", v.colorGeneric2);
    LARK_FIELD("InformationView.Color.Generic3", v.colorGeneric3);
    LARK_FIELD("InformationView.Color.Spec.Max", v.colorSpecMax);
    LARK_FIELD("InformationView.Color.Spec.Min", v.colorSpecMin);
    LARK_FIELD("InformationView.Image.FadeWait", v.imageFadeWait);
    LARK_FIELD("InformationView.Image.DrawFrame", v.imageDrawFrame);
    LARK_FIELD("InformationView.Image.DrawShadow", v.imageDrawShadow);
    LARK_FIELD("InformationView.Image.Zoom", v.imageZoom);
    LARK_FIELD("InformationView.RelatedAlbum.Alpha.IN", v.relatedAlbumAlphaIn);
    LARK_FIELD("InformationView.RelatedAlbum.Alpha.OUT", v.relatedAlbumAlphaOut);
    LARK_FIELD("Thread.Freq.Spec", s.thread.freqSpec);
    // Images and lyrics page.
    LARK_FIELD("InformationView.PictureSearchPattern", v.pictureSearchPattern);
    LARK_FIELD("InformationView.LyricsSearchPattern", v.lyricsSearchPattern);
    for (const auto& w : {std::make_pair("ImageWindow", &s.imageWindow), std::make_pair("LyricsWindow", &s.lyricsWindow)}) {
        const std::string section = w.first;
        LARK_FIELD(section + ".FontName", w.second->fontName);
        LARK_FIELD(section + ".FontSize", w.second->fontSize);
        LARK_FIELD(section + ".Color.Background", w.second->colorBackground);
        LARK_FIELD(section + ".Color.Text", w.second->colorText);
        LARK_FIELD(section + ".Window.Alpha", w.second->windowAlpha);
    }
    // Task-tray page.
    const CAppSettings::MainWindowOptions& o = s.mainWindowOptions;
    LARK_FIELD("MainWindowOptions.TaskTray.Type", o.taskTrayType);
    LARK_FIELD("MainWindowOptions.TaskTray.Click", o.taskTrayClick);
    LARK_FIELD("MainWindowOptions.TaskTray.DblClick", o.taskTrayDblClick);
    LARK_FIELD("MainWindowOptions.TaskTray.RClick", o.taskTrayRClick);
    LARK_FIELD("MainWindowOptions.TaskTray.RDblClick", o.taskTrayRDblClick);
    LARK_FIELD("MainWindowOptions.TaskTray.MClick", o.taskTrayMClick);
    LARK_FIELD("MainWindowOptions.TaskTray.MDblClick", o.taskTrayMDblClick);
    LARK_FIELD("MainWindowOptions.TaskTray.BalloonClick", o.taskTrayBalloonClick);
    LARK_FIELD("MainWindowOptions.TaskTray.InfoTip.Enable", o.infoTipEnable);
    LARK_FIELD("MainWindowOptions.TaskTray.InfoTip.Timeout", o.infoTipTimeout);
    LARK_FIELD("MainWindowOptions.TaskTray.InfoTip.Title", o.infoTipTitle);
    LARK_FIELD("MainWindowOptions.TaskTray.InfoTip.Text", o.infoTipText);
    // Hot-key page: the flag and the whole map.
    LARK_FIELD("GlobalHotkey.Enable", s.globalHotkey.enable);
    std::wstring map;
    for (const auto& e : s.globalHotkey.hotKeys)
        map += std::to_wstring(e.first) + L"=" + std::to_wstring(e.second.hotKey) + (e.second.isGlobal ? L"g;" : L"l;");
    fields["GlobalHotkey.Map"] = map;
    return fields;
}

void SeedFields(CAppSettings& s, int seed) {
    const std::wstring tag = L"s" + std::to_wstring(seed);
    const COLORREF c = RGB(seed * 10, seed * 20, seed * 30);
    s.generic.dateTimeFormat = L"%Y " + tag;
    s.generic.imageInterpolationMode = seed;
    s.generic.appTitle = L"title " + tag;
    s.generic.checkFileModify = seed % 2 == 1;
    s.bass.playTriggerStart = L"start " + tag;
    s.bass.playTriggerStop = L"stop " + tag;
    s.playlistView.playlistRestore = seed % 2 == 1;
    s.generic.ratingType = seed % 2;
    s.generic.ratingIcon10 = L"full " + tag;
    s.generic.ratingIcon00 = L"empty " + tag;
    s.queryView.fontName = L"Q" + tag;
    s.queryView.fontSize = 8 + seed;
    s.queryView.colorBackground = c + 1;
    s.queryView.colorText = c + 2;
    s.groupView.fontName = L"G" + tag;
    s.groupView.fontSize = 9 + seed;
    s.groupView.colorBackground = c + 3;
    s.groupView.colorText = c + 4;
    s.groupView.colorHeaderText = c + 5;
    s.groupView.colorBorder1 = c + 6;
    s.groupView.colorBorder2 = c + 7;
    s.groupView.colorGraph = c + 8;
    s.groupView.groupThresholdAlphabet = seed;
    s.groupView.groupThresholdKana = seed + 1;
    s.groupView.groupThresholdKanji = seed + 2;
    s.playlistView.fontName = L"P" + tag;
    s.playlistView.fontSize = 10 + seed;
    s.playlistView.colorBackground = c + 9;
    s.playlistView.colorText = c + 10;
    s.playlistView.colorTextPlaying = c + 11;
    s.playlistView.colorList1 = c + 12;
    s.playlistView.colorList2 = c + 13;
    s.playlistView.colorGrid = c + 14;
    s.playlistView.gridType = seed % 2 == 1 ? 0 : 2;
    s.playlistView.marginX = seed;
    CAppSettings::InformationView& v = s.informationView;
    v.fontName = L"I" + tag;
    v.fontSize = 9 + seed;
    v.fontNameBig = L"B" + tag;
    v.fontSizeBig = 14 + seed;
    v.fontNameSmall = L"S" + tag;
    v.fontSizeSmall = 7 + seed;
    v.fontNameRelated = L"R" + tag;
    v.fontSizeRelated = 8 + seed;
    v.colorBackground = c + 15;
    v.colorText = c + 16;
    v.colorImageBackground = c + 17;
    v.colorImageFrame = c + 18;
    v.colorGeneric1 = c + 19;
    v.colorGeneric2 = c + 20;
    v.colorGeneric3 = c + 21;
    v.colorSpecMax = c + 22;
    v.colorSpecMin = c + 23;
    v.imageFadeWait = seed % 2 == 1 ? 30 : 75;
    v.imageDrawFrame = seed % 2 == 1;
    v.imageDrawShadow = seed % 2 == 0;
    v.imageZoom = seed % 2 == 1;
    v.relatedAlbumAlphaIn = static_cast<BYTE>(10 * seed);
    v.relatedAlbumAlphaOut = static_cast<BYTE>(10 * seed + 20);
    s.thread.freqSpec = seed;
    v.pictureSearchPattern = L"*.jpg;" + tag;
    v.lyricsSearchPattern = L"*.txt;" + tag;
    int k = 24;
    for (CAppSettings::FloatingWindow* w : {&s.imageWindow, &s.lyricsWindow}) {
        w->fontName = L"W" + tag;
        w->fontSize = 10 + seed;
        w->colorBackground = c + k++;
        w->colorText = c + k++;
        w->windowAlpha = static_cast<BYTE>(10 * seed + 30);
    }
    CAppSettings::MainWindowOptions& o = s.mainWindowOptions;
    o.taskTrayType = seed;
    o.taskTrayClick = 10 + seed;
    o.taskTrayDblClick = 11 + seed;
    o.taskTrayRClick = 12 + seed;
    o.taskTrayRDblClick = 13 + seed;
    o.taskTrayMClick = 30 + seed;
    o.taskTrayMDblClick = 31 + seed;
    o.taskTrayBalloonClick = 32 + seed;
    o.infoTipEnable = seed % 2 == 1;
    o.infoTipTimeout = 3000 + seed;
    o.infoTipTitle = L"%tagTitle% " + tag;
    o.infoTipText = L"%tagArtist% " + tag;
    s.globalHotkey.enable = seed % 2 == 1;
    s.globalHotkey.hotKeys.clear();
    for (int action : {10, 30, 31, 37}) {
        HotKeyEntry e;
        e.action = action;
        e.hotKey = (HOTKEYF_CONTROL << 8) | ('A' + action % 26 + seed);
        e.displayName = L"action " + std::to_wstring(action);
        e.isGlobal = (action + seed) % 2 == 0;
        s.globalHotkey.hotKeys[action] = e;
    }
}

}  // namespace opt_test
