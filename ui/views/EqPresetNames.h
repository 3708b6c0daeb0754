#pragma once
#include "app/AppSettings.h"
#include <string>

// Why a new equaliser preset name is refused.
enum PresetNameCheck {
    PresetNameOk,
    PresetNameEmpty,
    PresetNameReserved,    // "Default" or "SelectedEQ" in any case
    PresetNameTaken,       // an existing preset's name in any case
    PresetNameBadChar,     // holds "=", ";", "[" or "]", which "config.ini" cannot keep
};

PresetNameCheck CheckPresetName(const std::wstring& name, const std::map<std::wstring, EqPreset>& presets);
// The message shown for a refused name; empty for PresetNameOk.
std::wstring PresetNameMessage(PresetNameCheck check);

// A band's label: "%dK" from 1000 Hz, else the hertz.
std::wstring EqBandLabel(float centre);
// A stored gain as a slider shows it: truncated, and 0 outside -15 ... 15.
int EqSliderGain(float gain);

// The wave mapper's name from its capabilities, or a fixed name when they cannot be read.
std::wstring WaveMapperName();
// The same from capabilities already asked for: `product` when they were read and it is not
// empty, else the fixed name.
std::wstring WaveMapperName(bool capsRead, const std::wstring& product);
