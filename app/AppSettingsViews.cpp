// Sections of the main window, its views and the floating windows.
#include "app/AppSettings.h"
#include "app/Base64.h"
#include "app/ColorUtil.h"
#include "app/ColumnModel.h"
#include <array>
#include <climits>
#include <map>
#include <cwchar>
#include <cstdlib>
#include <vector>

namespace {

const wchar_t kDefaultFont[] = L"MS UI Gothic";
const wchar_t kDefaultInfoTipText[] = L"%tagArtist%\r\n%tagAlbum%\r\n%rating_string%";

// ---- MainWindow ------------------------------------------------------------------------

using MainWindow = CAppSettings::MainWindow;

void ReadMainPlacement(const CIniFile& ini, const wchar_t* s, const wchar_t* key, MainWindow& w) {
    if (ini.GetStruct(s, key, &w.placement, sizeof w.placement)) return;
    static const INT32 kPanes[8] = {200, 200, 200, 200, 0, 148, 0, 0};
    w.placement = MainWindowPlacement{};
    for (int i = 0; i < 8; ++i) w.placement.paneSizes[i] = kPanes[i];
}

void WriteMainPlacement(const CIniFile& ini, const wchar_t* s, const wchar_t* key, const MainWindow& w) {
    ini.WriteStruct(s, key, &w.placement, sizeof w.placement);
}

const SettingKey<MainWindow> kMainWindowKeys[] = {
    {L"Placement", ReadMainPlacement, WriteMainPlacement},
};

// ---- MainWindowOptions -----------------------------------------------------------------

using Options = CAppSettings::MainWindowOptions;

// Stored as Base64 of the UTF-16LE bytes, so that line breaks survive the profile file.
void ReadInfoTipText(const CIniFile& ini, const wchar_t* s, const wchar_t* key, Options& o) {
    std::wstring stored;
    ini.GetString(stored, s, key, L"");
    o.infoTipText = kDefaultInfoTipText;
    if (stored.empty()) return;
    int count = static_cast<int>(stored.size());
    std::vector<unsigned char> bytes((count / 4) * 3 + 1, 0);
    int decoded = Base64Decode(stored.c_str(), bytes.data(), static_cast<int>(bytes.size()), count);
    if (decoded <= 0) return;
    o.infoTipText.clear();
    for (int i = 0; i + 1 < decoded; i += 2) {
        wchar_t c = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == L'\0') break;
        o.infoTipText.push_back(c);
    }
}

// An empty text is not written at all, so it reads back as the default.
void WriteInfoTipText(const CIniFile& ini, const wchar_t* s, const wchar_t* key, const Options& o) {
    std::vector<unsigned char> bytes;
    bytes.reserve(o.infoTipText.size() * 2);
    for (wchar_t c : o.infoTipText) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    int count = static_cast<int>(bytes.size());
    if (count == 0) return;
    std::vector<wchar_t> chars(((count - 1) / 3) * 4 + 4);
    int written = Base64Encode(bytes.data(), chars.data(), static_cast<int>(chars.size()), count);
    if (written <= 0) return;
    ini.WriteString(s, key, std::wstring(chars.data(), written).c_str());
}

const SettingKey<Options> kMainWindowOptionsKeys[] = {
    {L"NoGripper", &Options::noGripper, false},
    {L"FullScreen", &Options::fullScreen, false},
    {L"TaskTray.Type", &Options::taskTrayType, 0},
    {L"TaskTray.Click", &Options::taskTrayClick, 31},
    {L"TaskTray.DblClick", &Options::taskTrayDblClick, 33},
    {L"TaskTray.RClick", &Options::taskTrayRClick, 22},
    {L"TaskTray.RDblClick", &Options::taskTrayRDblClick, 11},
    {L"TaskTray.MClick", &Options::taskTrayMClick, 0},
    {L"TaskTray.MDblClick", &Options::taskTrayMDblClick, 0},
    {L"TaskTray.BalloonClick", &Options::taskTrayBalloonClick, 0},
    {L"TaskTray.InfoTip.Enable", &Options::infoTipEnable, true},
    // Milliseconds, in the range the tray page accepts.
    {L"TaskTray.InfoTip.Timeout", &Options::infoTipTimeout, 5000, InRangeOr<1000, 30000, 5000>},
    {L"TaskTray.InfoTip.Title", &Options::infoTipTitle, L"%tagTitle%"},
    {L"TaskTray.InfoTip.Text", ReadInfoTipText, WriteInfoTipText},
};

// ---- Search ----------------------------------------------------------------------------

using Search = CAppSettings::Search;

// The number of a recent-word key: the part after "SearchRecent." as the key pattern writes
// it ("%02d": at least two digits, no other leading zero). False for any other key.
bool RecentWordNumber(const std::wstring& key, int& number) {
    static const wchar_t kPrefix[] = L"SearchRecent.";
    const size_t prefix = wcslen(kPrefix);
    if (key.size() <= prefix || _wcsnicmp(key.c_str(), kPrefix, prefix) != 0) return false;
    const std::wstring digits = key.substr(prefix);
    if (digits.size() > 10 || digits.find_first_not_of(L"0123456789") != std::wstring::npos) return false;
    const long long value = _wtoi64(digits.c_str());
    if (value > INT_MAX) return false;
    wchar_t text[16];
    swprintf(text, 16, L"%02d", static_cast<int>(value));
    if (digits != text) return false;
    number = static_cast<int>(value);
    return true;
}

std::wstring TrimBlanks(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// One key per word, numbered by position; empty words are skipped, their numbers unused.
// "SearchRecent.Max" may say anything up to 2147483647, so the words are taken from one read
// of the section, not by asking for every number below it. A value reads as the profile
// reader gives it: blanks trimmed, one pair of enclosing quotes removed.
void ReadRecentWords(const CIniFile& ini, const wchar_t* s, const wchar_t*, Search& se) {
    se.searchRecent.clear();
    std::map<int, std::wstring> words;
    const std::wstring section = ini.GetSection(s);
    for (size_t start = 0; start < section.size();) {
        size_t end = section.find(L'\0', start);
        if (end == std::wstring::npos) end = section.size();
        const std::wstring line = section.substr(start, end - start);
        start = end + 1;
        const size_t equals = line.find(L'=');
        int number = 0;
        if (equals == std::wstring::npos || !RecentWordNumber(TrimBlanks(line.substr(0, equals)), number)) continue;
        if (number >= se.searchRecentMax || words.count(number)) continue;   // the first of a key counts
        std::wstring value = TrimBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        words.emplace(number, value);
    }
    for (const auto& word : words)
        if (!word.second.empty()) se.searchRecent.push_back(word.second);
}

void WriteRecentWords(const CIniFile& ini, const wchar_t* s, const wchar_t* pattern, const Search& se) {
    for (size_t i = 0; i < se.searchRecent.size() && static_cast<long long>(i) < se.searchRecentMax; ++i) {
        if (se.searchRecent[i].empty()) continue;
        wchar_t key[32];
        swprintf(key, 32, pattern, static_cast<int>(i));
        ini.WriteString(s, key, se.searchRecent[i].c_str());
    }
}

const SettingKey<Search> kSearchKeys[] = {
    {L"SearchRecent.Max", &Search::searchRecentMax, 50},
    {L"SearchRecent.%02d", ReadRecentWords, WriteRecentWords},
    {L"SearchWay", &Search::searchWay, 127},
    {L"SearchWord.NoCase", &Search::searchWordNoCase, true},
    {L"SearchWord.Incliment", &Search::searchWordIncliment, false},
    // Milliseconds; a pause of more than a minute is no pause in typing.
    {L"SearchWord.Incliment.Wait", &Search::searchWordInclimentWait, 500, InRangeOr<0, 60000, 500>},
};

// ---- QueryView, GroupView --------------------------------------------------------------

using QueryView = CAppSettings::QueryView;
const SettingKey<QueryView> kQueryViewKeys[] = {
    {L"FontName", &QueryView::fontName, kDefaultFont},
    {L"FontSize", &QueryView::fontSize, 9},
    {L"Color.Background", &QueryView::colorBackground, SysColor<COLOR_WINDOW>},
    {L"Color.Text", &QueryView::colorText, SysColor<COLOR_WINDOWTEXT>},
};

using GroupView = CAppSettings::GroupView;
const SettingKey<GroupView> kGroupViewKeys[] = {
    {L"FontName", &GroupView::fontName, kDefaultFont},
    {L"FontSize", &GroupView::fontSize, 9},
    {L"Color.Background", &GroupView::colorBackground, SysColor<COLOR_WINDOW>},
    {L"Color.Text", &GroupView::colorText, SysColor<COLOR_WINDOWTEXT>},
    {L"Color.HeaderText", &GroupView::colorHeaderText, SysColor<COLOR_WINDOWTEXT>},
    {L"Color.Border1", &GroupView::colorBorder1, SysColor<COLOR_GRADIENTACTIVECAPTION>},
    {L"Color.Border2", &GroupView::colorBorder2, SysColor<COLOR_WINDOW>},
    {L"Color.Graph", &GroupView::colorGraph, RGB(240, 240, 255)},
    {L"GroupMode", &GroupView::groupMode, true},
    {L"CanCollapse", &GroupView::canCollapse, false},
    {L"GroupThreshold.Alphabet", &GroupView::groupThresholdAlphabet, 2},
    {L"GroupThreshold.Kana", &GroupView::groupThresholdKana, 2},
    {L"GroupThreshold.Kanji", &GroupView::groupThresholdKanji, 2},
    {L"Header.Mode", &GroupView::headerMode, 1},
    {L"Average.IgnoreRating00", &GroupView::averageIgnoreRating00, false},
    {L"tagKey", &GroupView::tagKey, L"tagAlbum"},
};

// ---- PlaylistView ----------------------------------------------------------------------

using PlaylistView = CAppSettings::PlaylistView;

// "type:width" items separated by "/". Only columns the play list can show are kept, each
// once (its first item), so a damaged value never gives the view more columns than it has;
// a value that names none gives the default column set.
void ParseColumns(const std::wstring& value, PlaylistView& p) {
    p.columns.clear();
    bool taken[ColLastType + 1] = {};
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
        if (!IsListColumnType(entry.type) || taken[entry.type]) continue;
        taken[entry.type] = true;
        p.columns.push_back(entry);
    }
    if (p.columns.empty()) ResetDefaultColumns(p.columns, p.marginX);
}

std::wstring FormatColumns(const PlaylistView& p) {
    std::wstring value;
    for (size_t i = 0; i < p.columns.size(); ++i) {
        wchar_t item[40];
        swprintf(item, 40, L"%d:%d", p.columns[i].type, p.columns[i].width);
        if (i) value += L'/';
        value += item;
    }
    return value;
}

// Read after "Margin.X", which the default column set takes its widths from.
void ReadHeader(const CIniFile& ini, const wchar_t* s, const wchar_t* key, PlaylistView& p) {
    std::wstring value;
    ini.GetString(value, s, key, L"");
    ParseColumns(value, p);
}

void WriteHeader(const CIniFile& ini, const wchar_t* s, const wchar_t* key, const PlaylistView& p) {
    ini.WriteString(s, key, FormatColumns(p).c_str());
}

int KnownGridType(int type) { return type == 0 || type == 2 ? type : -1; }

const SettingKey<PlaylistView> kPlaylistViewKeys[] = {
    {L"FontName", &PlaylistView::fontName, kDefaultFont},
    {L"FontSize", &PlaylistView::fontSize, 9},
    {L"Color.Background", &PlaylistView::colorBackground, SysColor<COLOR_WINDOW>},
    {L"Color.Text", &PlaylistView::colorText, SysColor<COLOR_WINDOWTEXT>},
    {L"Color.Text.Playing", &PlaylistView::colorTextPlaying, SysColor<COLOR_WINDOWTEXT>},
    {L"Color.List1", &PlaylistView::colorList1, SysColor<COLOR_WINDOW>},
    {L"Color.List2", &PlaylistView::colorList2, RGB(240, 240, 255)},
    {L"Color.Grid", &PlaylistView::colorGrid, RGB(220, 220, 220)},
    {L"GridType", &PlaylistView::gridType, 0, KnownGridType},
    {L"Margin.X", &PlaylistView::marginX, 2},
    {L"SyncPlaying", &PlaylistView::syncPlaying, true},
    {L"SingleClick", &PlaylistView::singleClick, false},
    {L"IgnoreOpenError", &PlaylistView::ignoreOpenError, false},
    {L"Header", ReadHeader, WriteHeader},
    {L"Header.SortColumn", &PlaylistView::headerSortColumn, 0},
    {L"Header.SortAsc", &PlaylistView::headerSortAsc, true},
    {L"Sort.Rule.01", &PlaylistView::sortRule01, false},
    {L"Sort.Rule.02", &PlaylistView::sortRule02, false},
    {L"Sort.Rule.03", &PlaylistView::sortRule03, false},
    {L"Playelist.Restore", &PlaylistView::playlistRestore, true},
    {L"Playlist,LatestSelection", &PlaylistView::playlistLatestSelection, -1},
};

// ---- Copy ------------------------------------------------------------------------------

using Copy = CAppSettings::Copy;
const SettingKey<Copy> kCopyKeys[] = {
    {L"CopyLatestDir", &Copy::copyLatestDir, L""},
    // %file_ext% keeps its dot, so no dot goes before it.
    {L"FileName", &Copy::fileName, L"%tagArtist%\\%tagAlbum%\\%file_title%%file_ext%"},
};

// ---- InformationView -------------------------------------------------------------------

// A darker shade of the window colour: its lightness scaled by 60%.
COLORREF ImageFrameColor() {
    DWORD hls = RGBToHLS(GetSysColor(COLOR_WINDOW));
    DWORD darker = (((hls >> 8) & 0xFF) * 60 / 100) << 8;
    return HLSToRGB((hls & 0xFF00FF) | darker);
}

using InformationView = CAppSettings::InformationView;
const SettingKey<InformationView> kInformationViewKeys[] = {
    {L"FontName", &InformationView::fontName, kDefaultFont},
    {L"FontSize", &InformationView::fontSize, 9},
    {L"FontName.Big", &InformationView::fontNameBig, kDefaultFont},
    {L"FontSize.Big", &InformationView::fontSizeBig, 18},
    {L"FontName.Small", &InformationView::fontNameSmall, L"Tahoma"},
    {L"FontSize.Small", &InformationView::fontSizeSmall, 7},
    {L"FontName.Related", &InformationView::fontNameRelated, kDefaultFont},
    {L"FontSize.Related", &InformationView::fontSizeRelated, 9},
    {L"Color.Background", &InformationView::colorBackground, SysColor<COLOR_WINDOW>},
    {L"Color.Image.Background", &InformationView::colorImageBackground, SysColor<COLOR_WINDOW>},
    {L"Color.Image.Frame", &InformationView::colorImageFrame, ImageFrameColor},
    {L"Color.Text", &InformationView::colorText, SysColor<COLOR_WINDOWTEXT>},
    {L"Color.Generic1", &InformationView::colorGeneric1, RGB(224, 224, 224)},
    {L"Color.Generic2", &InformationView::colorGeneric2, RGB(240, 240, 255)},
    {L"Color.Generic3", &InformationView::colorGeneric3, RGB(69, 98, 136)},
    {L"Color.Spec.Max", &InformationView::colorSpecMax, RGB(255, 255, 255)},
    {L"Color.Spec.Min", &InformationView::colorSpecMin, RGB(32, 32, 32)},
    {L"Enable.RelatedAlbum", &InformationView::enableRelatedAlbum, true},
    {L"RelatedAlbum.SQL", &InformationView::relatedAlbumSql,
     L"SELECT tagAlbum FROM list WHERE UPPER(tagArtist) glob UPPER('*%tagArtist%*') AND "
     L"tagAlbum<>'%tagAlbum%' AND tagAlbum<>'' GROUP BY tagAlbum ORDER BY AVG(rating) DESC;"},
    {L"RelatedAlbum.Alpha.IN", &InformationView::relatedAlbumAlphaIn, 90},
    {L"RelatedAlbum.Alpha.OUT", &InformationView::relatedAlbumAlphaOut, 20},
    {L"Image.Size", &InformationView::imageSize, 150},
    {L"Image.FadeWait", &InformationView::imageFadeWait, 50},
    {L"Image.DrawFrame", &InformationView::imageDrawFrame, true},
    {L"Image.DrawShadow", &InformationView::imageDrawShadow, true},
    {L"Image.Zoom", &InformationView::imageZoom, true},
    {L"PictureSearchPattern", &InformationView::pictureSearchPattern,
     L"%_path%*.*;%_path%..\\*.*;%_app_path%default.jpg"},
    {L"LyricsSearchPattern", &InformationView::lyricsSearchPattern, L"%_path%%file_title%.txt"},
    {L"Spec.Height", &InformationView::specHeight, 100},
    {L"Spec.X", &InformationView::specX, 30, Clamped<10, 30>},
    {L"Spex.Y", &InformationView::specY, 50, Clamped<10, 50>},
};

// ---- LyricsWindow, ImageWindow ---------------------------------------------------------

using FloatingWindow = CAppSettings::FloatingWindow;

// A missing or damaged placement reads as all zero.
void ReadWindowPlacement(const CIniFile& ini, const wchar_t* s, const wchar_t* key, FloatingWindow& w) {
    w.placement = WINDOWPLACEMENT{};
    ini.GetStruct(s, key, &w.placement, sizeof w.placement);
}

void WriteWindowPlacement(const CIniFile& ini, const wchar_t* s, const wchar_t* key, const FloatingWindow& w) {
    ini.WriteStruct(s, key, &w.placement, sizeof w.placement);
}

// The two floating windows differ only in the default text colour.
constexpr std::array<SettingKey<FloatingWindow>, 7> FloatingWindowKeys(COLORREF (*textColor)()) {
    return {{
        {L"Placement", ReadWindowPlacement, WriteWindowPlacement},
        {L"Color.Background", &FloatingWindow::colorBackground, SysColor<COLOR_WINDOW>},
        {L"Color.Text", &FloatingWindow::colorText, textColor},
        {L"FontName", &FloatingWindow::fontName, kDefaultFont},
        {L"FontSize", &FloatingWindow::fontSize, 9},
        {L"Window.Alpha", &FloatingWindow::windowAlpha, 50},
        {L"Window.Show", &FloatingWindow::windowShow, false},
    }};
}

const auto kLyricsWindowKeys = FloatingWindowKeys(SysColor<COLOR_WINDOWTEXT>);
const auto kImageWindowKeys = FloatingWindowKeys(SysColor<COLOR_GRAYTEXT>);

}  // namespace

void CAppSettings::ExchangeViews(SettingsPass pass) {
    ExchangeKeys(*this, pass, L"MainWindow", mainWindow, kMainWindowKeys);
    ExchangeKeys(*this, pass, L"MainWindowOptions", mainWindowOptions, kMainWindowOptionsKeys);
    ExchangeKeys(*this, pass, L"Search", search, kSearchKeys);
    ExchangeKeys(*this, pass, L"QueryView", queryView, kQueryViewKeys);
    ExchangeKeys(*this, pass, L"GroupView", groupView, kGroupViewKeys);
    ExchangeKeys(*this, pass, L"PlaylistView", playlistView, kPlaylistViewKeys);
    ExchangeKeys(*this, pass, L"Copy", copy, kCopyKeys);
    ExchangeKeys(*this, pass, L"InformationView", informationView, kInformationViewKeys);
    ExchangeKeys(*this, pass, L"LyricsWindow", lyricsWindow, kLyricsWindowKeys);
    ExchangeKeys(*this, pass, L"ImageWindow", imageWindow, kImageWindowKeys);
}

void CAppSettings::ParseHeaderColumns(const std::wstring& value) {
    ParseColumns(value, playlistView);
}

std::wstring CAppSettings::FormatHeaderColumns() const {
    return FormatColumns(playlistView);
}
