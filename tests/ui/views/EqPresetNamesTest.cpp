#include "ui/views/EqPresetNames.h"
#include "document/Larkspur2006Doc.h"
#include <gtest/gtest.h>

TEST(EqPresetNames, NamesThatWouldCollideInTheSettingsFileAreRefused) {
    std::map<std::wstring, EqPreset> presets;
    InitEqPreset(presets[L"Default"], 0);
    InitEqPreset(presets[L"Rock"], 0);
    const struct {
        const wchar_t* name;
        PresetNameCheck check;
    } cases[] = {
        {L"Jazz", PresetNameOk},          {L"ジャズ", PresetNameOk},
        {L"", PresetNameEmpty},           {L"default", PresetNameReserved},
        {L"SELECTEDEQ", PresetNameReserved}, {L"rock", PresetNameTaken},
        {L"Rock", PresetNameTaken},       {L"a=b", PresetNameBadChar},
        {L"a;b", PresetNameBadChar},      {L"[x", PresetNameBadChar},
        {L"x]", PresetNameBadChar},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.check, CheckPresetName(c.name, presets)) << testing::PrintToString(std::wstring(c.name));
        EXPECT_EQ(c.check == PresetNameOk, PresetNameMessage(c.check).empty());
    }
}

TEST(EqPresetNames, BandLabelsAndSliderGains) {
    const struct {
        float centre;
        const wchar_t* label;
    } labels[] = {{31, L"31"}, {82, L"82"}, {125, L"125"}, {500, L"500"}, {999, L"999"},
                  {1000, L"1K"}, {2000, L"2K"}, {16000, L"16K"}};
    for (const auto& l : labels) EXPECT_EQ(l.label, EqBandLabel(l.centre));
    EXPECT_EQ(0, EqSliderGain(20.0f));
    EXPECT_EQ(0, EqSliderGain(-16.0f));
    EXPECT_EQ(15, EqSliderGain(15.7f));
    EXPECT_EQ(-3, EqSliderGain(-3.9f));
}

TEST(EqPresetNames, TheWaveMapperIsNamedByItsCapabilitiesOrByAFixedNameWhenThoseFail) {
    EXPECT_EQ(L"Wine Sound Mapper", WaveMapperName(true, L"Wine Sound Mapper"));
    EXPECT_EQ(L"Microsoft Sound Mapper", WaveMapperName(true, L""));
    EXPECT_EQ(L"Microsoft Sound Mapper", WaveMapperName(false, L"left over"));
}
