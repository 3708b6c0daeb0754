// Sections of the main window, its views and the floating windows.
#include "app/AppSettings.h"
#include "app/Base64.h"
#include "app/ColorUtil.h"
#include "app/ColumnModel.h"
#include <cwchar>
#include <cstdlib>
#include <vector>

namespace {

const wchar_t kDefaultFont[] = L"MS UI Gothic";
const wchar_t kDefaultInfoTipText[] = L"%tagArtist%\r\n%tagAlbum%\r\n%rating_string%";

COLORREF GetColor(const CIniFile& ini, const wchar_t* section, const wchar_t* key, COLORREF def) {
    return static_cast<COLORREF>(ini.GetInt(section, key, static_cast<int>(def)));
}

void WriteColor(const CIniFile& ini, const wchar_t* section, const wchar_t* key, COLORREF value) {
    ini.WriteInt(section, key, static_cast<int>(value));
}

// Stored as Base64 of the UTF-16LE bytes, so that line breaks survive the profile file.
std::wstring DecodeInfoTipText(const std::wstring& stored) {
    if (stored.empty()) return kDefaultInfoTipText;
    int count = static_cast<int>(stored.size());
    std::vector<unsigned char> bytes((count / 4) * 3 + 1, 0);
    int decoded = Base64Decode(stored.c_str(), bytes.data(), static_cast<int>(bytes.size()), count);
    if (decoded <= 0) return kDefaultInfoTipText;
    std::wstring text;
    for (int i = 0; i + 1 < decoded; i += 2) {
        wchar_t c = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == L'\0') break;
        text.push_back(c);
    }
    return text;
}

std::wstring EncodeInfoTipText(const std::wstring& text) {
    std::vector<unsigned char> bytes;
    bytes.reserve(text.size() * 2);
    for (wchar_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    int count = static_cast<int>(bytes.size());
    if (count == 0) return std::wstring();
    std::vector<wchar_t> chars(((count - 1) / 3) * 4 + 4);
    int written = Base64Encode(bytes.data(), chars.data(), static_cast<int>(chars.size()), count);
    if (written <= 0) return std::wstring();
    return std::wstring(chars.data(), written);
}

}  // namespace

// ---- MainWindow ------------------------------------------------------------------------

void CAppSettings::LoadMainWindow() {
    MainWindowPlacement stored{};
    if (GetStruct(L"MainWindow", L"Placement", &stored, sizeof stored)) {
        mainWindow.placement = stored;
    } else {
        static const INT32 kPanes[8] = {200, 200, 200, 200, 0, 148, 0, 0};
        mainWindow.placement = MainWindowPlacement{};
        for (int i = 0; i < 8; ++i) mainWindow.placement.paneSizes[i] = kPanes[i];
    }
}

void CAppSettings::SaveMainWindow() {
    EraseSection(L"MainWindow");
    WriteStruct(L"MainWindow", L"Placement", &mainWindow.placement, sizeof mainWindow.placement);
}

// ---- MainWindowOptions -----------------------------------------------------------------

void CAppSettings::LoadMainWindowOptions() {
    const wchar_t* s = L"MainWindowOptions";
    MainWindowOptions& o = mainWindowOptions;
    o.noGripper = GetBool(s, L"NoGripper", false);
    o.fullScreen = GetBool(s, L"FullScreen", false);
    o.taskTrayType = GetInt(s, L"TaskTray.Type", 0);
    o.taskTrayClick = GetInt(s, L"TaskTray.Click", 31);
    o.taskTrayDblClick = GetInt(s, L"TaskTray.DblClick", 33);
    o.taskTrayRClick = GetInt(s, L"TaskTray.RClick", 22);
    o.taskTrayRDblClick = GetInt(s, L"TaskTray.RDblClick", 11);
    o.taskTrayMClick = GetInt(s, L"TaskTray.MClick", 0);
    o.taskTrayMDblClick = GetInt(s, L"TaskTray.MDblClick", 0);
    o.taskTrayBalloonClick = GetInt(s, L"TaskTray.BalloonClick", 0);
    o.infoTipEnable = GetBool(s, L"TaskTray.InfoTip.Enable", true);
    o.infoTipTimeout = GetInt(s, L"TaskTray.InfoTip.Timeout", 5000);
    GetString(o.infoTipTitle, s, L"TaskTray.InfoTip.Title", L"%tagTitle%");
    std::wstring stored;
    GetString(stored, s, L"TaskTray.InfoTip.Text", L"");
    o.infoTipText = DecodeInfoTipText(stored);
}

void CAppSettings::SaveMainWindowOptions() {
    const wchar_t* s = L"MainWindowOptions";
    const MainWindowOptions& o = mainWindowOptions;
    EraseSection(s);
    WriteBool(s, L"NoGripper", o.noGripper);
    WriteBool(s, L"FullScreen", o.fullScreen);
    WriteInt(s, L"TaskTray.Type", o.taskTrayType);
    WriteInt(s, L"TaskTray.Click", o.taskTrayClick);
    WriteInt(s, L"TaskTray.DblClick", o.taskTrayDblClick);
    WriteInt(s, L"TaskTray.RClick", o.taskTrayRClick);
    WriteInt(s, L"TaskTray.RDblClick", o.taskTrayRDblClick);
    WriteInt(s, L"TaskTray.MClick", o.taskTrayMClick);
    WriteInt(s, L"TaskTray.MDblClick", o.taskTrayMDblClick);
    WriteInt(s, L"TaskTray.BalloonClick", o.taskTrayBalloonClick);
    WriteBool(s, L"TaskTray.InfoTip.Enable", o.infoTipEnable);
    WriteInt(s, L"TaskTray.InfoTip.Timeout", o.infoTipTimeout);
    WriteString(s, L"TaskTray.InfoTip.Title", o.infoTipTitle.c_str());
    std::wstring encoded = EncodeInfoTipText(o.infoTipText);
    if (!encoded.empty()) WriteString(s, L"TaskTray.InfoTip.Text", encoded.c_str());
}

// ---- Search ----------------------------------------------------------------------------

void CAppSettings::LoadSearch() {
    const wchar_t* s = L"Search";
    search.searchRecentMax = GetInt(s, L"SearchRecent.Max", 50);
    search.searchRecent.clear();
    for (int i = 0; i < search.searchRecentMax; ++i) {
        wchar_t key[32];
        swprintf(key, 32, L"SearchRecent.%02d", i);
        std::wstring word;
        GetString(word, s, key, L"");
        if (!word.empty()) search.searchRecent.push_back(word);
    }
    search.searchWay = GetInt(s, L"SearchWay", 127);
    search.searchWordNoCase = GetBool(s, L"SearchWord.NoCase", true);
    search.searchWordIncliment = GetBool(s, L"SearchWord.Incliment", false);
    search.searchWordInclimentWait = GetInt(s, L"SearchWord.Incliment.Wait", 500);
}

void CAppSettings::SaveSearch() {
    const wchar_t* s = L"Search";
    EraseSection(s);
    WriteInt(s, L"SearchRecent.Max", search.searchRecentMax);
    for (size_t i = 0; i < search.searchRecent.size() && static_cast<long long>(i) < search.searchRecentMax; ++i) {
        if (search.searchRecent[i].empty()) continue;
        wchar_t key[32];
        swprintf(key, 32, L"SearchRecent.%02d", static_cast<int>(i));
        WriteString(s, key, search.searchRecent[i].c_str());
    }
    WriteInt(s, L"SearchWay", search.searchWay);
    WriteBool(s, L"SearchWord.NoCase", search.searchWordNoCase);
    WriteBool(s, L"SearchWord.Incliment", search.searchWordIncliment);
    WriteInt(s, L"SearchWord.Incliment.Wait", search.searchWordInclimentWait);
}

// ---- QueryView -------------------------------------------------------------------------

void CAppSettings::LoadQueryView() {
    const wchar_t* s = L"QueryView";
    GetString(queryView.fontName, s, L"FontName", kDefaultFont);
    queryView.fontSize = GetInt(s, L"FontSize", 9);
    queryView.colorBackground = GetColor(*this, s, L"Color.Background", GetSysColor(COLOR_WINDOW));
    queryView.colorText = GetColor(*this, s, L"Color.Text", GetSysColor(COLOR_WINDOWTEXT));
}

void CAppSettings::SaveQueryView() {
    const wchar_t* s = L"QueryView";
    EraseSection(s);
    WriteString(s, L"FontName", queryView.fontName.c_str());
    WriteInt(s, L"FontSize", queryView.fontSize);
    WriteColor(*this, s, L"Color.Background", queryView.colorBackground);
    WriteColor(*this, s, L"Color.Text", queryView.colorText);
}

// ---- GroupView -------------------------------------------------------------------------

void CAppSettings::LoadGroupView() {
    const wchar_t* s = L"GroupView";
    GroupView& g = groupView;
    GetString(g.fontName, s, L"FontName", kDefaultFont);
    g.fontSize = GetInt(s, L"FontSize", 9);
    g.colorBackground = GetColor(*this, s, L"Color.Background", GetSysColor(COLOR_WINDOW));
    g.colorText = GetColor(*this, s, L"Color.Text", GetSysColor(COLOR_WINDOWTEXT));
    g.colorHeaderText = GetColor(*this, s, L"Color.HeaderText", GetSysColor(COLOR_WINDOWTEXT));
    g.colorBorder1 = GetColor(*this, s, L"Color.Border1", GetSysColor(COLOR_GRADIENTACTIVECAPTION));
    g.colorBorder2 = GetColor(*this, s, L"Color.Border2", GetSysColor(COLOR_WINDOW));
    g.colorGraph = GetColor(*this, s, L"Color.Graph", RGB(240, 240, 255));
    g.groupMode = GetBool(s, L"GroupMode", true);
    g.canCollapse = GetBool(s, L"CanCollapse", false);
    g.groupThresholdAlphabet = GetInt(s, L"GroupThreshold.Alphabet", 2);
    g.groupThresholdKana = GetInt(s, L"GroupThreshold.Kana", 2);
    g.groupThresholdKanji = GetInt(s, L"GroupThreshold.Kanji", 2);
    g.headerMode = GetInt(s, L"Header.Mode", 1);
    g.averageIgnoreRating00 = GetBool(s, L"Average.IgnoreRating00", false);
    GetString(g.tagKey, s, L"tagKey", L"tagAlbum");
}

void CAppSettings::SaveGroupView() {
    const wchar_t* s = L"GroupView";
    const GroupView& g = groupView;
    EraseSection(s);
    WriteString(s, L"FontName", g.fontName.c_str());
    WriteInt(s, L"FontSize", g.fontSize);
    WriteColor(*this, s, L"Color.Background", g.colorBackground);
    WriteColor(*this, s, L"Color.Text", g.colorText);
    WriteColor(*this, s, L"Color.HeaderText", g.colorHeaderText);
    WriteColor(*this, s, L"Color.Border1", g.colorBorder1);
    WriteColor(*this, s, L"Color.Border2", g.colorBorder2);
    WriteColor(*this, s, L"Color.Graph", g.colorGraph);
    WriteBool(s, L"GroupMode", g.groupMode);
    WriteBool(s, L"CanCollapse", g.canCollapse);
    WriteInt(s, L"GroupThreshold.Alphabet", g.groupThresholdAlphabet);
    WriteInt(s, L"GroupThreshold.Kana", g.groupThresholdKana);
    WriteInt(s, L"GroupThreshold.Kanji", g.groupThresholdKanji);
    WriteInt(s, L"Header.Mode", g.headerMode);
    WriteBool(s, L"Average.IgnoreRating00", g.averageIgnoreRating00);
    WriteString(s, L"tagKey", g.tagKey.c_str());
}

// ---- PlaylistView ----------------------------------------------------------------------

void CAppSettings::ParseHeaderColumns(const std::wstring& value) {
    if (value.empty()) {
        ResetDefaultColumns(playlistView.columns, playlistView.marginX);
        return;
    }
    playlistView.columns.clear();
    size_t start = 0;
    while (start <= value.size()) {
        size_t slash = value.find(L'/', start);
        std::wstring item = value.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start);
        start = slash == std::wstring::npos ? value.size() + 1 : slash + 1;
        if (item.empty()) continue;
        size_t colon = item.find(L':');
        if (colon == 0) continue;
        ListColumnEntry entry;
        if (colon == std::wstring::npos) {
            entry.type = 0;
            entry.width = _wtoi(item.c_str());
        } else {
            entry.type = _wtoi(item.substr(0, colon).c_str());
            entry.width = _wtoi(item.c_str() + colon + 1);
        }
        playlistView.columns.push_back(entry);
    }
}

std::wstring CAppSettings::FormatHeaderColumns() const {
    std::wstring value;
    for (size_t i = 0; i < playlistView.columns.size(); ++i) {
        wchar_t item[40];
        swprintf(item, 40, L"%d:%d", playlistView.columns[i].type, playlistView.columns[i].width);
        if (i) value += L'/';
        value += item;
    }
    return value;
}

void CAppSettings::LoadPlaylistView() {
    const wchar_t* s = L"PlaylistView";
    PlaylistView& p = playlistView;
    GetString(p.fontName, s, L"FontName", kDefaultFont);
    p.fontSize = GetInt(s, L"FontSize", 9);
    p.colorBackground = GetColor(*this, s, L"Color.Background", GetSysColor(COLOR_WINDOW));
    p.colorText = GetColor(*this, s, L"Color.Text", GetSysColor(COLOR_WINDOWTEXT));
    p.colorTextPlaying = GetColor(*this, s, L"Color.Text.Playing", GetSysColor(COLOR_WINDOWTEXT));
    p.colorList1 = GetColor(*this, s, L"Color.List1", GetSysColor(COLOR_WINDOW));
    p.colorList2 = GetColor(*this, s, L"Color.List2", RGB(240, 240, 255));
    p.colorGrid = GetColor(*this, s, L"Color.Grid", RGB(220, 220, 220));
    p.gridType = GetInt(s, L"GridType", 0);
    if (p.gridType != 0 && p.gridType != 2) p.gridType = -1;
    p.marginX = GetInt(s, L"Margin.X", 2);
    p.syncPlaying = GetBool(s, L"SyncPlaying", true);
    p.singleClick = GetBool(s, L"SingleClick", false);
    p.ignoreOpenError = GetBool(s, L"IgnoreOpenError", false);
    std::wstring header;
    GetString(header, s, L"Header", L"");
    ParseHeaderColumns(header);
    p.headerSortColumn = GetInt(s, L"Header.SortColumn", 0);
    p.headerSortAsc = GetBool(s, L"Header.SortAsc", true);
    p.sortRule01 = GetBool(s, L"Sort.Rule.01", false);
    p.sortRule02 = GetBool(s, L"Sort.Rule.02", false);
    p.sortRule03 = GetBool(s, L"Sort.Rule.03", false);
    p.playlistRestore = GetBool(s, L"Playelist.Restore", true);
    p.playlistLatestSelection = GetInt(s, L"Playlist,LatestSelection", -1);
}

void CAppSettings::SavePlaylistView() {
    const wchar_t* s = L"PlaylistView";
    const PlaylistView& p = playlistView;
    EraseSection(s);
    WriteString(s, L"FontName", p.fontName.c_str());
    WriteInt(s, L"FontSize", p.fontSize);
    WriteColor(*this, s, L"Color.Background", p.colorBackground);
    WriteColor(*this, s, L"Color.Text", p.colorText);
    WriteColor(*this, s, L"Color.Text.Playing", p.colorTextPlaying);
    WriteColor(*this, s, L"Color.List1", p.colorList1);
    WriteColor(*this, s, L"Color.List2", p.colorList2);
    WriteColor(*this, s, L"Color.Grid", p.colorGrid);
    WriteInt(s, L"GridType", p.gridType);
    WriteInt(s, L"Margin.X", p.marginX);
    WriteBool(s, L"SyncPlaying", p.syncPlaying);
    WriteBool(s, L"SingleClick", p.singleClick);
    WriteBool(s, L"IgnoreOpenError", p.ignoreOpenError);
    WriteString(s, L"Header", FormatHeaderColumns().c_str());
    WriteInt(s, L"Header.SortColumn", p.headerSortColumn);
    WriteBool(s, L"Header.SortAsc", p.headerSortAsc);
    WriteBool(s, L"Sort.Rule.01", p.sortRule01);
    WriteBool(s, L"Sort.Rule.02", p.sortRule02);
    WriteBool(s, L"Sort.Rule.03", p.sortRule03);
    WriteBool(s, L"Playelist.Restore", p.playlistRestore);
    WriteInt(s, L"Playlist,LatestSelection", p.playlistLatestSelection);
}

// ---- Copy ------------------------------------------------------------------------------

void CAppSettings::LoadCopy() {
    GetString(copy.copyLatestDir, L"Copy", L"CopyLatestDir", L"");
    // %file_ext% keeps its dot, so no dot goes before it.
    GetString(copy.fileName, L"Copy", L"FileName", L"%tagArtist%\\%tagAlbum%\\%file_title%%file_ext%");
}

void CAppSettings::SaveCopy() {
    EraseSection(L"Copy");
    WriteString(L"Copy", L"CopyLatestDir", copy.copyLatestDir.c_str());
    WriteString(L"Copy", L"FileName", copy.fileName.c_str());
}

// ---- InformationView -------------------------------------------------------------------

void CAppSettings::LoadInformationView() {
    const wchar_t* s = L"InformationView";
    InformationView& v = informationView;
    GetString(v.fontName, s, L"FontName", kDefaultFont);
    v.fontSize = GetInt(s, L"FontSize", 9);
    GetString(v.fontNameBig, s, L"FontName.Big", kDefaultFont);
    v.fontSizeBig = GetInt(s, L"FontSize.Big", 18);
    GetString(v.fontNameSmall, s, L"FontName.Small", L"Tahoma");
    v.fontSizeSmall = GetInt(s, L"FontSize.Small", 7);
    GetString(v.fontNameRelated, s, L"FontName.Related", kDefaultFont);
    v.fontSizeRelated = GetInt(s, L"FontSize.Related", 9);

    COLORREF window = GetSysColor(COLOR_WINDOW);
    DWORD hls = RGBToHLS(window);
    DWORD darker = (((hls >> 8) & 0xFF) * 60 / 100) << 8;
    COLORREF frame = HLSToRGB((hls & 0xFF00FF) | darker);
    v.colorBackground = GetColor(*this, s, L"Color.Background", window);
    v.colorImageBackground = GetColor(*this, s, L"Color.Image.Background", window);
    v.colorImageFrame = GetColor(*this, s, L"Color.Image.Frame", frame);
    v.colorText = GetColor(*this, s, L"Color.Text", GetSysColor(COLOR_WINDOWTEXT));
    v.colorGeneric1 = GetColor(*this, s, L"Color.Generic1", RGB(224, 224, 224));
    v.colorGeneric2 = GetColor(*this, s, L"Color.Generic2", RGB(240, 240, 255));
    v.colorGeneric3 = GetColor(*this, s, L"Color.Generic3", RGB(69, 98, 136));
    v.colorSpecMax = GetColor(*this, s, L"Color.Spec.Max", RGB(255, 255, 255));
    v.colorSpecMin = GetColor(*this, s, L"Color.Spec.Min", RGB(32, 32, 32));
    v.enableRelatedAlbum = GetBool(s, L"Enable.RelatedAlbum", true);
    GetString(v.relatedAlbumSql, s, L"RelatedAlbum.SQL",
              L"SELECT tagAlbum FROM list WHERE UPPER(tagArtist) glob UPPER('*%tagArtist%*') AND "
              L"tagAlbum<>'%tagAlbum%' AND tagAlbum<>'' GROUP BY tagAlbum ORDER BY AVG(rating) DESC;");
    v.relatedAlbumAlphaIn = static_cast<BYTE>(GetInt(s, L"RelatedAlbum.Alpha.IN", 90));
    v.relatedAlbumAlphaOut = static_cast<BYTE>(GetInt(s, L"RelatedAlbum.Alpha.OUT", 20));
    v.imageSize = GetInt(s, L"Image.Size", 150);
    v.imageFadeWait = GetInt(s, L"Image.FadeWait", 50);
    v.imageDrawFrame = GetBool(s, L"Image.DrawFrame", true);
    v.imageDrawShadow = GetBool(s, L"Image.DrawShadow", true);
    v.imageZoom = GetBool(s, L"Image.Zoom", true);
    GetString(v.pictureSearchPattern, s, L"PictureSearchPattern",
              L"%_path%*.*;%_path%..\\*.*;%_app_path%default.jpg");
    GetString(v.lyricsSearchPattern, s, L"LyricsSearchPattern", L"%_path%%file_title%.txt");
    v.specHeight = GetInt(s, L"Spec.Height", 100);
    v.specX = GetInt(s, L"Spec.X", 30);
    if (v.specX > 30) v.specX = 30;
    if (v.specX < 10) v.specX = 10;
    v.specY = GetInt(s, L"Spex.Y", 50);
    if (v.specY > 50) v.specY = 50;
    if (v.specY < 10) v.specY = 10;
}

void CAppSettings::SaveInformationView() {
    const wchar_t* s = L"InformationView";
    const InformationView& v = informationView;
    EraseSection(s);
    WriteString(s, L"FontName", v.fontName.c_str());
    WriteInt(s, L"FontSize", v.fontSize);
    WriteString(s, L"FontName.Big", v.fontNameBig.c_str());
    WriteInt(s, L"FontSize.Big", v.fontSizeBig);
    WriteString(s, L"FontName.Small", v.fontNameSmall.c_str());
    WriteInt(s, L"FontSize.Small", v.fontSizeSmall);
    WriteString(s, L"FontName.Related", v.fontNameRelated.c_str());
    WriteInt(s, L"FontSize.Related", v.fontSizeRelated);
    WriteColor(*this, s, L"Color.Background", v.colorBackground);
    WriteColor(*this, s, L"Color.Image.Background", v.colorImageBackground);
    WriteColor(*this, s, L"Color.Image.Frame", v.colorImageFrame);
    WriteColor(*this, s, L"Color.Text", v.colorText);
    WriteColor(*this, s, L"Color.Generic1", v.colorGeneric1);
    WriteColor(*this, s, L"Color.Generic2", v.colorGeneric2);
    WriteColor(*this, s, L"Color.Generic3", v.colorGeneric3);
    WriteColor(*this, s, L"Color.Spec.Max", v.colorSpecMax);
    WriteColor(*this, s, L"Color.Spec.Min", v.colorSpecMin);
    WriteBool(s, L"Enable.RelatedAlbum", v.enableRelatedAlbum);
    WriteString(s, L"RelatedAlbum.SQL", v.relatedAlbumSql.c_str());
    WriteInt(s, L"RelatedAlbum.Alpha.IN", v.relatedAlbumAlphaIn);
    WriteInt(s, L"RelatedAlbum.Alpha.OUT", v.relatedAlbumAlphaOut);
    WriteInt(s, L"Image.Size", v.imageSize);
    WriteInt(s, L"Image.FadeWait", v.imageFadeWait);
    WriteBool(s, L"Image.DrawFrame", v.imageDrawFrame);
    WriteBool(s, L"Image.DrawShadow", v.imageDrawShadow);
    WriteBool(s, L"Image.Zoom", v.imageZoom);
    WriteString(s, L"PictureSearchPattern", v.pictureSearchPattern.c_str());
    WriteString(s, L"LyricsSearchPattern", v.lyricsSearchPattern.c_str());
    WriteInt(s, L"Spec.Height", v.specHeight);
    WriteInt(s, L"Spec.X", v.specX);
    WriteInt(s, L"Spex.Y", v.specY);
}

// ---- LyricsWindow, ImageWindow ---------------------------------------------------------

void CAppSettings::LoadFloatingWindow(const wchar_t* s, FloatingWindow& w, COLORREF defText) {
    w.placement = WINDOWPLACEMENT{};
    WINDOWPLACEMENT stored{};
    if (GetStruct(s, L"Placement", &stored, sizeof stored)) w.placement = stored;
    w.colorBackground = GetColor(*this, s, L"Color.Background", GetSysColor(COLOR_WINDOW));
    w.colorText = GetColor(*this, s, L"Color.Text", defText);
    GetString(w.fontName, s, L"FontName", kDefaultFont);
    w.fontSize = GetInt(s, L"FontSize", 9);
    w.windowAlpha = static_cast<BYTE>(GetInt(s, L"Window.Alpha", 50));
    w.windowShow = GetBool(s, L"Window.Show", false);
}

void CAppSettings::SaveFloatingWindow(const wchar_t* s, const FloatingWindow& w) {
    EraseSection(s);
    WriteStruct(s, L"Placement", &w.placement, sizeof w.placement);
    WriteColor(*this, s, L"Color.Background", w.colorBackground);
    WriteColor(*this, s, L"Color.Text", w.colorText);
    WriteString(s, L"FontName", w.fontName.c_str());
    WriteInt(s, L"FontSize", w.fontSize);
    WriteInt(s, L"Window.Alpha", w.windowAlpha);
    WriteBool(s, L"Window.Show", w.windowShow);
}
