#include "app/SettingsKeys.h"
#include "support/TestFiles.h"
#include "Utf16TestText.h"
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct Sample {
    int count = 0;
    bool flag = false;
    COLORREF colour = 0;
    COLORREF computedColour = 0;
    BYTE alpha = 0;
    std::wstring name;
    std::wstring custom;
};

COLORREF g_computed = 0;
COLORREF ComputedColour() { return g_computed; }

// Stores its text reversed, to show that the table hands the key to its own codec.
void ReadReversed(const CIniFile& ini, const wchar_t* section, const wchar_t* key, Sample& s) {
    ini.GetString(s.custom, section, key, L"");
    s.custom.assign(s.custom.rbegin(), s.custom.rend());
}

void WriteReversed(const CIniFile& ini, const wchar_t* section, const wchar_t* key, const Sample& s) {
    ini.WriteString(section, key, std::wstring(s.custom.rbegin(), s.custom.rend()).c_str());
}

const SettingKey<Sample> kSampleKeys[] = {
    {L"Name", &Sample::name, L"none"},
    {L"Count", &Sample::count, 5, Clamped<1, 9>},
    {L"Custom", ReadReversed, WriteReversed},
    {L"Flag", &Sample::flag, true},
    {L"Colour", &Sample::colour, RGB(1, 2, 3)},
    {L"Computed", &Sample::computedColour, ComputedColour},
    {L"Alpha", &Sample::alpha, 90},
};

}  // namespace

TEST(SettingsKeys, MissingKeysTakeDefaultsComputedAtLoadTime) {
    TempDir dir;
    CIniFile ini(dir.file(L"s.ini"));
    Sample s;
    g_computed = RGB(7, 8, 9);
    ExchangeKeys(ini, SettingsPass::Load, L"S", s, kSampleKeys);
    EXPECT_EQ(L"none", s.name);
    EXPECT_EQ(5, s.count);
    EXPECT_TRUE(s.flag);
    EXPECT_EQ(RGB(1, 2, 3), s.colour);
    EXPECT_EQ(RGB(7, 8, 9), s.computedColour);
    EXPECT_EQ(90, s.alpha);
    EXPECT_EQ(L"", s.custom);

    g_computed = RGB(10, 11, 12);
    ExchangeKeys(ini, SettingsPass::Load, L"S", s, kSampleKeys);
    EXPECT_EQ(RGB(10, 11, 12), s.computedColour);
}

TEST(SettingsKeys, StoredValuesPassTheirRules) {
    TempDir dir;
    CIniFile ini(dir.file(L"s.ini"));
    ini.WriteString(L"S", L"Count", L"40");
    ini.WriteString(L"S", L"Flag", L"2");        // only 1 is true
    ini.WriteString(L"S", L"Alpha", L"300");     // low 8 bits
    ini.WriteString(L"S", L"Custom", L"cba");
    Sample s;
    ExchangeKeys(ini, SettingsPass::Load, L"S", s, kSampleKeys);
    EXPECT_EQ(9, s.count);
    EXPECT_FALSE(s.flag);
    EXPECT_EQ(300 & 0xFF, s.alpha);
    EXPECT_EQ(L"abc", s.custom);
}

TEST(SettingsKeys, SaveRewritesTheSectionInTableOrder) {
    TempDir dir;
    CIniFile ini(dir.file(L"s.ini"));
    ini.WriteString(L"S", L"Stale", L"1");
    ini.WriteString(L"Other", L"Kept", L"1");
    Sample s;
    s.name = L"名前";
    s.count = 3;
    s.flag = false;
    s.colour = RGB(255, 0, 0);
    s.computedColour = RGB(0, 0, 255);
    s.alpha = 200;
    s.custom = L"xyz";
    ExchangeKeys(ini, SettingsPass::Save, L"S", s, kSampleKeys);

    std::wstring text = app_test::Utf16FileText(ReadBytes(ini.GetPath()));
    EXPECT_EQ(std::wstring::npos, text.find(L"Stale"));
    EXPECT_NE(std::wstring::npos, text.find(L"Kept=1"));
    const wchar_t* lines[] = {L"Name=名前", L"Count=3", L"Custom=zyx", L"Flag=0",
                              L"Colour=255", L"Computed=16711680", L"Alpha=200"};
    size_t last = 0;
    for (const wchar_t* line : lines) {
        size_t at = text.find(line);
        ASSERT_NE(std::wstring::npos, at) << line;
        EXPECT_GT(at, last) << line;
        last = at;
    }

    Sample back;
    ExchangeKeys(ini, SettingsPass::Load, L"S", back, kSampleKeys);
    EXPECT_EQ(s.name, back.name);
    EXPECT_EQ(s.custom, back.custom);
    EXPECT_EQ(s.computedColour, back.computedColour);
    EXPECT_EQ(s.alpha, back.alpha);
}
