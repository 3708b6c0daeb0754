#include "ui/views/EqPresetNames.h"
#include <mmsystem.h>
#include <cwchar>

PresetNameCheck CheckPresetName(const std::wstring& name, const std::map<std::wstring, EqPreset>& presets) {
    if (name.empty()) return PresetNameEmpty;
    if (_wcsicmp(name.c_str(), L"Default") == 0 || _wcsicmp(name.c_str(), L"SelectedEQ") == 0)
        return PresetNameReserved;
    if (name.find_first_of(L"=;[]") != std::wstring::npos) return PresetNameBadChar;
    for (const auto& entry : presets)
        if (_wcsicmp(entry.first.c_str(), name.c_str()) == 0) return PresetNameTaken;
    return PresetNameOk;
}

std::wstring PresetNameMessage(PresetNameCheck check) {
    switch (check) {
    case PresetNameEmpty: return L"名前を入力してください。";
    case PresetNameReserved: return L"この名前は使用できません。";
    case PresetNameTaken: return L"同じ名前のプリセットがすでにあります。";
    case PresetNameBadChar: return L"名前に「=」「;」「[」「]」は使用できません。";
    default: return std::wstring();
    }
}

std::wstring EqBandLabel(float centre) {
    const int hz = static_cast<int>(centre);
    if (centre >= 1000.0f) return std::to_wstring(hz / 1000) + L"K";
    return std::to_wstring(hz);
}

int EqSliderGain(float gain) {
    if (!(gain > -16.0f && gain < 16.0f)) return 0;   // NaN too
    const int whole = static_cast<int>(gain);
    return whole < -15 || whole > 15 ? 0 : whole;
}

std::wstring WaveMapperName() {
    WAVEOUTCAPSW caps{};
    const bool read = ::waveOutGetDevCapsW(WAVE_MAPPER, &caps, sizeof caps) == MMSYSERR_NOERROR;
    return WaveMapperName(read, read ? std::wstring(caps.szPname, wcsnlen(caps.szPname, MAXPNAMELEN)) : L"");
}

std::wstring WaveMapperName(bool capsRead, const std::wstring& product) {
    return capsRead && !product.empty() ? product : L"Microsoft Sound Mapper";
}
