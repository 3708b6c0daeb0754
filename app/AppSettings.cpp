#include "app/AppSettings.h"
#include <cwchar>
#include <cstdlib>

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

// A shared system cursor is never destroyed.
void ReleaseHandCursor(CAppSettings::Generic& g) {
    if (g.handCursor && g.handCursorOwned) DestroyCursor(g.handCursor);
    g.handCursor = nullptr;
    g.handCursorOwned = false;
}

using Generic = CAppSettings::Generic;
const SettingKey<Generic> kGenericKeys[] = {
    {L"DateTimeFormat", &Generic::dateTimeFormat, L"%#c"},
    {L"LibraryLatestDir", &Generic::libraryLatestDir, L""},
    {L"RatingType", &Generic::ratingType, 0},
    {L"RatingIcon.10", &Generic::ratingIcon10, L""},
    {L"RatingIcon.00", &Generic::ratingIcon00, L""},
    {L"RatingString.10", &Generic::ratingString10, L"\u2605"},
    {L"RatingString.00", &Generic::ratingString00, L""},
    {L"AppTitle", &Generic::appTitle, L"%tagTitle% - %_app_title%"},
    {L"ImageInterpolationMode", &Generic::imageInterpolationMode, 7},
    {L"CheckFileModify", &Generic::checkFileModify, true},
};

using Thread = CAppSettings::Thread;
const SettingKey<Thread> kThreadKeys[] = {
    {L"Priority.Main", &Thread::priorityMain, 0},
    {L"Priority.Watch", &Thread::priorityWatch, 0},
    {L"Priority.ImageSearch", &Thread::priorityImageSearch, 0},
    {L"Priority.LyricsSearch", &Thread::priorityLyricsSearch, 0},
    {L"Priority.LinkSearch", &Thread::priorityLinkSearch, 0},
    {L"Priority.SpecDraw", &Thread::prioritySpecDraw, 0},
    {L"Watch.Wait", &Thread::watchWait, 16},
    // Divisors: 0 reads as the default.
    {L"Freq.Spec", &Thread::freqSpec, 3, NonZeroOr<3>},
    {L"Freq.Lyrics", &Thread::freqLyrics, 20, NonZeroOr<20>},
    {L"Freq.Seek", &Thread::freqSeek, 20, NonZeroOr<20>},
};

using Sqlite = CAppSettings::Sqlite;
const SettingKey<Sqlite> kSqliteKeys[] = {
    {L"PRAGMA.synchronous", &Sqlite::pragmaSynchronous, L"OFF"},
    {L"PRAGMA.tempstore", &Sqlite::pragmaTempstore, L"MEMORY"},
    {L"BusyTimeout", &Sqlite::busyTimeout, 500},
    {L"BusyRetry", &Sqlite::busyRetry, 3},
};

// Play modes 1-4; anything else is the plain mode 0.
int KnownPlayMode(int mode) { return mode >= 1 && mode <= 4 ? mode : 0; }

using Bass = CAppSettings::Bass;
const SettingKey<Bass> kBassKeys[] = {
    {L"Device", &Bass::device, -1},
    {L"Frequency", &Bass::frequency, 44100},
    {L"SampleFloat", &Bass::sampleFloat, false},
    {L"RepeartMode", &Bass::repeatMode, 2, KnownPlayMode},
    {L"PreBuffer", &Bass::preBuffer, 0},
    {L"MasterVolume", &Bass::masterVolume, 100, Clamped<0, 100>},
    {L"Enable.EQ", &Bass::enableEq, false},
    {L"Seek.Seconds", &Bass::seekSeconds, 5},
    {L"PlayTrigger.Start", &Bass::playTriggerStart, L""},
    {L"PlayTrigger.Stop", &Bass::playTriggerStop, L""},
};

}  // namespace

void CAppSettings::Load(const std::wstring& appTitle, CAppSettings& settings, const std::wstring& userFolder) {
    settings.appTitle = appTitle;
    settings.userFolder = userFolder;
    if (!settings.userFolder.empty() && settings.userFolder.back() != L'\\') settings.userFolder += L'\\';
    settings.SetPath(settings.userFolder + L"config.ini");
    settings.Exchange(SettingsPass::Load);

    // Set on every load, never stored.
    settings.bass.mute = false;
    settings.thread.watchMode = 3;
    Generic& g = settings.generic;
    g.ratingImageWidth = 16;
    g.ratingImageHeight = 16;
    ReleaseHandCursor(g);
    g.handCursor = LoadHandCursor(g.handCursorOwned);
}

bool CAppSettings::Save(CAppSettings& settings) {
    settings.BeginWrite();
    settings.Exchange(SettingsPass::Save);
    const bool saved = settings.EndWrite();
    // Saving happens at exit only.
    ReleaseHandCursor(settings.generic);
    return saved;
}

// "BASS" comes before "GlobalHotkey": two hot-key names show "Seek.Seconds".
void CAppSettings::Exchange(SettingsPass pass) {
    bool load = pass == SettingsPass::Load;
    ExchangeKeys(*this, pass, L"Generic", generic, kGenericKeys);
    ExchangeKeys(*this, pass, L"Thread", thread, kThreadKeys);
    ExchangeKeys(*this, pass, L"SQLite", sqlite, kSqliteKeys);
    ExchangeKeys(*this, pass, L"BASS", bass, kBassKeys);
    if (load) LoadEq(); else SaveEq();
    ExchangeViews(pass);
    if (load) LoadGlobalHotkey(); else SaveGlobalHotkey();
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
