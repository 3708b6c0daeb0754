#include "app/AppSettings.h"
#include "app/Base64.h"
#include "app/ColorUtil.h"
#include <cwchar>
#include <cstdlib>

void CAppSettings::Load(const std::wstring& appTitle, CAppSettings& settings, const std::wstring& userFolder) {
    settings.appTitle = appTitle;
    settings.userFolder = userFolder;
    if (!settings.userFolder.empty() && settings.userFolder.back() != L'\\') settings.userFolder += L'\\';
    settings.SetPath(settings.userFolder + L"config.ini");

    settings.LoadGeneric();
    settings.LoadThread();
    settings.LoadSqlite();
    settings.LoadBass();
    settings.LoadEq();
    settings.LoadMainWindow();
    settings.LoadMainWindowOptions();
    settings.LoadSearch();
    settings.LoadQueryView();
    settings.LoadGroupView();
    settings.LoadPlaylistView();
    settings.LoadCopy();
    settings.LoadInformationView();
    settings.LoadFloatingWindow(L"LyricsWindow", settings.lyricsWindow, GetSysColor(COLOR_WINDOWTEXT));
    settings.LoadFloatingWindow(L"ImageWindow", settings.imageWindow, GetSysColor(COLOR_GRAYTEXT));
    settings.LoadGlobalHotkey();
}

bool CAppSettings::Save(CAppSettings& settings) {
    settings.SaveGeneric();
    settings.SaveThread();
    settings.SaveSqlite();
    settings.SaveBass();
    settings.SaveEq();
    settings.SaveMainWindow();
    settings.SaveMainWindowOptions();
    settings.SaveSearch();
    settings.SaveQueryView();
    settings.SaveGroupView();
    settings.SavePlaylistView();
    settings.SaveCopy();
    settings.SaveInformationView();
    settings.SaveFloatingWindow(L"LyricsWindow", settings.lyricsWindow);
    settings.SaveFloatingWindow(L"ImageWindow", settings.imageWindow);
    settings.SaveGlobalHotkey();
    return true;
}

// ---- Generic -------------------------------------------------------------------------

namespace {

// The system's hand cursor, else a copy of the one in winhlp32.exe; `owned` tells
// whether the handle is a copy that must be destroyed.
HCURSOR LoadHandCursor(bool& owned) {
    owned = false;
    HCURSOR cursor = LoadCursorW(nullptr, IDC_HAND);
    if (cursor) return cursor;
    wchar_t windows[MAX_PATH];
    UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    std::wstring path = windows;
    if (path.back() != L'\\') path += L'\\';
    path += L"winhlp32.exe";
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return nullptr;
    HCURSOR copy = nullptr;
    if (HCURSOR shared = LoadCursorW(module, MAKEINTRESOURCEW(106))) {
        copy = reinterpret_cast<HCURSOR>(CopyIcon(reinterpret_cast<HICON>(shared)));
    }
    FreeLibrary(module);
    owned = copy != nullptr;
    return copy;
}

}  // namespace

void CAppSettings::LoadGeneric() {
    const wchar_t* s = L"Generic";
    GetString(generic.dateTimeFormat, s, L"DateTimeFormat", L"%#c");
    GetString(generic.libraryLatestDir, s, L"LibraryLatestDir", L"");
    generic.ratingType = GetInt(s, L"RatingType", 0);
    GetString(generic.ratingIcon10, s, L"RatingIcon.10", L"");
    GetString(generic.ratingIcon00, s, L"RatingIcon.00", L"");
    GetString(generic.ratingString10, s, L"RatingString.10", L"\u2605");
    GetString(generic.ratingString00, s, L"RatingString.00", L"");
    GetString(generic.appTitle, s, L"AppTitle", L"%tagTitle% - %_app_title%");
    generic.imageInterpolationMode = GetInt(s, L"ImageInterpolationMode", 7);
    generic.checkFileModify = GetBool(s, L"CheckFileModify", true);
    generic.ratingImageWidth = 16;
    generic.ratingImageHeight = 16;
    if (generic.handCursor && generic.handCursorOwned) DestroyCursor(generic.handCursor);
    generic.handCursor = LoadHandCursor(generic.handCursorOwned);
}

void CAppSettings::SaveGeneric() {
    const wchar_t* s = L"Generic";
    EraseSection(s);
    WriteString(s, L"DateTimeFormat", generic.dateTimeFormat.c_str());
    WriteString(s, L"LibraryLatestDir", generic.libraryLatestDir.c_str());
    WriteInt(s, L"RatingType", generic.ratingType);
    WriteString(s, L"RatingIcon.10", generic.ratingIcon10.c_str());
    WriteString(s, L"RatingIcon.00", generic.ratingIcon00.c_str());
    WriteString(s, L"RatingString.10", generic.ratingString10.c_str());
    WriteString(s, L"RatingString.00", generic.ratingString00.c_str());
    WriteString(s, L"AppTitle", generic.appTitle.c_str());
    WriteInt(s, L"ImageInterpolationMode", generic.imageInterpolationMode);
    WriteBool(s, L"CheckFileModify", generic.checkFileModify);
    // The section is written at exit only; a shared system cursor is never destroyed.
    if (generic.handCursor && generic.handCursorOwned) DestroyCursor(generic.handCursor);
    generic.handCursor = nullptr;
    generic.handCursorOwned = false;
}

// ---- Thread ----------------------------------------------------------------------------

void CAppSettings::LoadThread() {
    const wchar_t* s = L"Thread";
    thread.priorityMain = GetInt(s, L"Priority.Main", 0);
    thread.priorityWatch = GetInt(s, L"Priority.Watch", 0);
    thread.priorityImageSearch = GetInt(s, L"Priority.ImageSearch", 0);
    thread.priorityLyricsSearch = GetInt(s, L"Priority.LyricsSearch", 0);
    thread.priorityLinkSearch = GetInt(s, L"Priority.LinkSearch", 0);
    thread.prioritySpecDraw = GetInt(s, L"Priority.SpecDraw", 0);
    thread.watchWait = GetInt(s, L"Watch.Wait", 16);
    thread.freqSpec = GetInt(s, L"Freq.Spec", 3);
    if (thread.freqSpec == 0) thread.freqSpec = 3;
    thread.freqLyrics = GetInt(s, L"Freq.Lyrics", 20);
    if (thread.freqLyrics == 0) thread.freqLyrics = 20;
    thread.freqSeek = GetInt(s, L"Freq.Seek", 20);
    if (thread.freqSeek == 0) thread.freqSeek = 20;
    thread.watchMode = 3;
}

void CAppSettings::SaveThread() {
    const wchar_t* s = L"Thread";
    EraseSection(s);
    WriteInt(s, L"Priority.Main", thread.priorityMain);
    WriteInt(s, L"Priority.Watch", thread.priorityWatch);
    WriteInt(s, L"Priority.ImageSearch", thread.priorityImageSearch);
    WriteInt(s, L"Priority.LyricsSearch", thread.priorityLyricsSearch);
    WriteInt(s, L"Priority.LinkSearch", thread.priorityLinkSearch);
    WriteInt(s, L"Priority.SpecDraw", thread.prioritySpecDraw);
    WriteInt(s, L"Watch.Wait", thread.watchWait);
    WriteInt(s, L"Freq.Spec", thread.freqSpec);
    WriteInt(s, L"Freq.Lyrics", thread.freqLyrics);
    WriteInt(s, L"Freq.Seek", thread.freqSeek);
}

// ---- SQLite ----------------------------------------------------------------------------

void CAppSettings::LoadSqlite() {
    const wchar_t* s = L"SQLite";
    GetString(sqlite.pragmaSynchronous, s, L"PRAGMA.synchronous", L"OFF");
    GetString(sqlite.pragmaTempstore, s, L"PRAGMA.tempstore", L"MEMORY");
    sqlite.busyTimeout = GetInt(s, L"BusyTimeout", 500);
    sqlite.busyRetry = GetInt(s, L"BusyRetry", 3);
}

void CAppSettings::SaveSqlite() {
    const wchar_t* s = L"SQLite";
    EraseSection(s);
    WriteString(s, L"PRAGMA.synchronous", sqlite.pragmaSynchronous.c_str());
    WriteString(s, L"PRAGMA.tempstore", sqlite.pragmaTempstore.c_str());
    WriteInt(s, L"BusyTimeout", sqlite.busyTimeout);
    WriteInt(s, L"BusyRetry", sqlite.busyRetry);
}

// ---- BASS ------------------------------------------------------------------------------

void CAppSettings::LoadBass() {
    const wchar_t* s = L"BASS";
    bass.device = GetInt(s, L"Device", -1);
    bass.frequency = GetInt(s, L"Frequency", 44100);
    bass.sampleFloat = GetBool(s, L"SampleFloat", false);
    bass.repeatMode = GetInt(s, L"RepeartMode", 2);
    if (bass.repeatMode < 1 || bass.repeatMode > 4) bass.repeatMode = 0;
    bass.preBuffer = GetInt(s, L"PreBuffer", 0);
    bass.masterVolume = GetInt(s, L"MasterVolume", 100);
    if (bass.masterVolume > 100) bass.masterVolume = 100;
    if (bass.masterVolume < 0) bass.masterVolume = 0;
    bass.enableEq = GetBool(s, L"Enable.EQ", false);
    bass.seekSeconds = GetInt(s, L"Seek.Seconds", 5);
    GetString(bass.playTriggerStart, s, L"PlayTrigger.Start", L"");
    GetString(bass.playTriggerStop, s, L"PlayTrigger.Stop", L"");
    bass.mute = false;
}

void CAppSettings::SaveBass() {
    const wchar_t* s = L"BASS";
    EraseSection(s);
    WriteInt(s, L"Device", bass.device);
    WriteInt(s, L"Frequency", bass.frequency);
    WriteBool(s, L"SampleFloat", bass.sampleFloat);
    WriteInt(s, L"RepeartMode", bass.repeatMode);
    WriteInt(s, L"PreBuffer", bass.preBuffer);
    WriteInt(s, L"MasterVolume", bass.masterVolume);
    WriteBool(s, L"Enable.EQ", bass.enableEq);
    WriteInt(s, L"Seek.Seconds", bass.seekSeconds);
    WriteString(s, L"PlayTrigger.Start", bass.playTriggerStart.c_str());
    WriteString(s, L"PlayTrigger.Stop", bass.playTriggerStop.c_str());
}

// ---- EQ --------------------------------------------------------------------------------

namespace {

EqPreset DefaultEqPreset() {
    static const float kCentres[10] = {31, 82, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
    EqPreset preset;
    for (int i = 0; i < 10; ++i) preset.bands[i] = EqBand{kCentres[i], 18.0f, 0.0f};
    return preset;
}

// The 30 "/"-separated floats of a preset line; false when fewer than 30 fields.
bool ParseEqPreset(const std::wstring& value, EqPreset& preset) {
    float numbers[30];
    size_t pos = 0;
    for (int i = 0; i < 30; ++i) {
        if (pos > value.size()) return false;
        size_t slash = value.find(L'/', pos);
        std::wstring field = value.substr(pos, slash == std::wstring::npos ? std::wstring::npos : slash - pos);
        numbers[i] = static_cast<float>(wcstod(field.c_str(), nullptr));
        pos = slash == std::wstring::npos ? value.size() + 1 : slash + 1;
    }
    for (int b = 0; b < 10; ++b) preset.bands[b] = EqBand{numbers[b * 3], numbers[b * 3 + 1], numbers[b * 3 + 2]};
    return true;
}

}  // namespace

void CAppSettings::LoadEq() {
    eq.presets.clear();
    std::wstring section = GetSection(L"EQ");
    size_t start = 0;
    while (start < section.size()) {
        size_t end = section.find(L'\0', start);
        if (end == std::wstring::npos) end = section.size();
        std::wstring line = section.substr(start, end - start);
        start = end + 1;

        // Split like a tokenizer at "=": empty pieces do not count.
        size_t keyStart = line.find_first_not_of(L'=');
        if (keyStart == std::wstring::npos) continue;
        size_t keyEnd = line.find(L'=', keyStart);
        if (keyEnd == std::wstring::npos) continue;
        size_t valueStart = line.find_first_not_of(L'=', keyEnd);
        if (valueStart == std::wstring::npos) continue;
        size_t valueEnd = line.find(L'=', valueStart);
        std::wstring key = line.substr(keyStart, keyEnd - keyStart);
        std::wstring value = line.substr(valueStart, valueEnd == std::wstring::npos ? std::wstring::npos
                                                                                   : valueEnd - valueStart);
        if (_wcsicmp(key.c_str(), L"SelectedEQ") == 0) {
            eq.selectedEq = value;
            continue;
        }
        EqPreset preset;
        if (ParseEqPreset(value, preset)) eq.presets.emplace(key, preset);
    }
    if (eq.presets.find(L"Default") == eq.presets.end()) eq.presets.emplace(L"Default", DefaultEqPreset());
}

void CAppSettings::SaveEq() {
    const wchar_t* s = L"EQ";
    EraseSection(s);
    WriteString(s, L"SelectedEQ", eq.selectedEq.c_str());
    for (const auto& entry : eq.presets) {
        std::wstring value;
        for (int b = 0; b < 10; ++b) {
            const EqBand& band = entry.second.bands[b];
            wchar_t text[128];
            swprintf(text, 128, L"%f/%f/%f", band.centre, band.bandwidth, band.gain);
            if (b) value += L'/';
            value += text;
        }
        WriteString(s, entry.first.c_str(), value.c_str());
    }
}
