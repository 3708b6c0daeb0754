#pragma once
#include "app/IniFile.h"
#include "app/SettingsKeys.h"
#include <windows.h>
#include <map>
#include <string>
#include <vector>

// One shown column of the play list: its column type and width in pixels.
struct ListColumnEntry {
    int type;
    int width;
};

struct EqBand {
    float centre;     // Hz
    float bandwidth;  // semitones
    float gain;       // dB
};

struct EqPreset {
    EqBand bands[10];
};

struct HotKeyEntry {
    int action = 0;
    int hotKey = 0;   // virtual key in the low byte, modifiers (Shift 1, Ctrl 2, Alt 4, ext 8) above
    std::wstring displayName;
    bool isGlobal = true;
};

// An action that a hot key can run, with the name the settings list it under (actions 35 and
// 36 put the seek seconds in their "%d").
struct HotKeyAction {
    int action;
    const wchar_t* name;
};
// Every such action, in ascending code order.
const HotKeyAction* HotKeyActionsBegin();
const HotKeyAction* HotKeyActionsEnd();

// The main window's placement and its eight pane sizes, stored as one structure.
struct MainWindowPlacement {
    WINDOWPLACEMENT placement;
    INT32 paneSizes[8];
};
static_assert(sizeof(MainWindowPlacement) == 76, "stored layout of the main window placement");

// Every user setting, read from config.ini at start-up and written back at exit.
// Fields are grouped by section and named after their keys.
class CAppSettings : public CIniFile {
public:
    CAppSettings() = default;

    static void Load(const std::wstring& appTitle, CAppSettings& settings, const std::wstring& userFolder);
    static bool Save(CAppSettings& settings);

    std::wstring appTitle;
    std::wstring userFolder;    // with trailing backslash
    std::wstring libraryPath;   // set when the database is opened
    std::wstring queryFolder;   // set by the query tree

    struct MainWindow {
        MainWindowPlacement placement{};
    } mainWindow;

    struct MainWindowOptions {
        bool noGripper = false;
        bool fullScreen = false;
        int taskTrayType = 0;
        int taskTrayClick = 0;
        int taskTrayDblClick = 0;
        int taskTrayRClick = 0;
        int taskTrayRDblClick = 0;
        int taskTrayMClick = 0;
        int taskTrayMDblClick = 0;
        int taskTrayBalloonClick = 0;
        bool infoTipEnable = false;
        int infoTipTimeout = 0;
        std::wstring infoTipTitle;
        std::wstring infoTipText;
    } mainWindowOptions;

    struct Search {
        int searchRecentMax = 0;
        std::vector<std::wstring> searchRecent;
        int searchWay = 0;
        bool searchWordNoCase = false;
        bool searchWordIncliment = false;
        int searchWordInclimentWait = 0;
    } search;

    struct QueryView {
        std::wstring fontName;
        int fontSize = 0;
        COLORREF colorBackground = 0;
        COLORREF colorText = 0;
    } queryView;

    struct GroupView {
        std::wstring fontName;
        int fontSize = 0;
        COLORREF colorBackground = 0;
        COLORREF colorText = 0;
        COLORREF colorHeaderText = 0;
        COLORREF colorBorder1 = 0;
        COLORREF colorBorder2 = 0;
        COLORREF colorGraph = 0;
        bool groupMode = false;
        bool canCollapse = false;
        int groupThresholdAlphabet = 0;
        int groupThresholdKana = 0;
        int groupThresholdKanji = 0;
        int headerMode = 0;
        bool averageIgnoreRating00 = false;
        std::wstring tagKey;
    } groupView;

    struct InformationView {
        std::wstring fontName;
        int fontSize = 0;
        std::wstring fontNameBig;
        int fontSizeBig = 0;
        std::wstring fontNameSmall;
        int fontSizeSmall = 0;
        std::wstring fontNameRelated;
        int fontSizeRelated = 0;
        COLORREF colorBackground = 0;
        COLORREF colorImageBackground = 0;
        COLORREF colorImageFrame = 0;
        COLORREF colorText = 0;
        COLORREF colorGeneric1 = 0;
        COLORREF colorGeneric2 = 0;
        COLORREF colorGeneric3 = 0;
        COLORREF colorSpecMax = 0;
        COLORREF colorSpecMin = 0;
        bool enableRelatedAlbum = false;
        std::wstring relatedAlbumSql;
        BYTE relatedAlbumAlphaIn = 0;
        BYTE relatedAlbumAlphaOut = 0;
        int imageSize = 0;
        int imageFadeWait = 0;
        bool imageDrawFrame = false;
        bool imageDrawShadow = false;
        bool imageZoom = false;
        std::wstring pictureSearchPattern;
        std::wstring lyricsSearchPattern;
        int specHeight = 0;
        int specX = 0;
        int specY = 0;   // stored under the key "Spex.Y"
    } informationView;

    // Sections "LyricsWindow" and "ImageWindow".
    struct FloatingWindow {
        WINDOWPLACEMENT placement{};
        COLORREF colorBackground = 0;
        COLORREF colorText = 0;
        std::wstring fontName;
        int fontSize = 0;
        BYTE windowAlpha = 0;
        bool windowShow = false;
    } lyricsWindow, imageWindow;

    struct PlaylistView {
        std::wstring fontName;
        int fontSize = 0;
        COLORREF colorBackground = 0;
        COLORREF colorText = 0;
        COLORREF colorTextPlaying = 0;
        COLORREF colorList1 = 0;
        COLORREF colorList2 = 0;
        COLORREF colorGrid = 0;
        int gridType = 0;
        int marginX = 0;
        bool syncPlaying = false;
        bool singleClick = false;
        bool ignoreOpenError = false;
        std::vector<ListColumnEntry> columns;   // key "Header"
        int headerSortColumn = 0;
        bool headerSortAsc = false;
        bool sortRule01 = false;
        bool sortRule02 = false;
        bool sortRule03 = false;
        bool playlistRestore = false;           // key "Playelist.Restore"
        int playlistLatestSelection = -1;       // key "Playlist,LatestSelection"
    } playlistView;

    struct Copy {
        std::wstring copyLatestDir;
        std::wstring fileName;
    } copy;

    struct Bass {
        int device = 0;
        int frequency = 0;
        bool sampleFloat = false;
        int repeatMode = 0;                     // key "RepeartMode"
        int preBuffer = 0;
        int masterVolume = 0;
        bool enableEq = false;
        int seekSeconds = 0;
        std::wstring playTriggerStart;
        std::wstring playTriggerStop;
        bool mute = false;                      // never stored
    } bass;

    struct Eq {
        std::wstring selectedEq;
        std::map<std::wstring, EqPreset> presets;
    } eq;

    struct Sqlite {
        std::wstring pragmaSynchronous;
        std::wstring pragmaTempstore;
        int busyTimeout = 0;
        int busyRetry = 0;   // kept as stored; read it through BusyTries()
        // How often a busy database is tried: "BusyRetry", at least once.
        int BusyTries() const { return busyRetry < 1 ? 1 : busyRetry; }
    } sqlite;

    struct Generic {
        std::wstring dateTimeFormat;
        std::wstring libraryLatestDir;
        int ratingType = 0;
        std::wstring ratingIcon10;
        std::wstring ratingIcon00;
        std::wstring ratingString10;
        std::wstring ratingString00;
        std::wstring appTitle;
        int imageInterpolationMode = 0;
        bool checkFileModify = false;
        int ratingImageWidth = 16;              // never stored
        int ratingImageHeight = 16;             // never stored
        HCURSOR handCursor = nullptr;           // never stored
        bool handCursorOwned = false;           // handCursor is a copy to destroy, not the shared system cursor
    } generic;

    struct Thread {
        int priorityMain = 0;
        int priorityWatch = 0;
        int priorityImageSearch = 0;
        int priorityLyricsSearch = 0;
        int priorityLinkSearch = 0;
        int prioritySpecDraw = 0;
        int watchWait = 0;
        int freqSpec = 0;
        int freqLyrics = 0;
        int freqSeek = 0;
        int watchMode = 3;                      // never stored
    } thread;

    struct GlobalHotkey {
        bool enable = false;
        std::map<int, HotKeyEntry> hotKeys;
    } globalHotkey;

    // Parses the "Header" value into `playlistView.columns`.
    void ParseHeaderColumns(const std::wstring& value);
    std::wstring FormatHeaderColumns() const;

private:
    // Reads or writes every section, in the order of the file.
    void Exchange(SettingsPass pass);
    // The sections of the main window, its views and the floating windows.
    void ExchangeViews(SettingsPass pass);
    void LoadEq();
    void SaveEq();
    void LoadGlobalHotkey();
    void SaveGlobalHotkey();
};
