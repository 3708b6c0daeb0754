#include "app/Formatters.h"
#include "app/SearchText.h"
#include <windows.h>
#include <shlwapi.h>
#include <gtest/gtest.h>
#include <ctime>

TEST(Formatters, NumberGrouping) {
    std::wstring s;
    FormatNumberGrouped(s, 0);
    EXPECT_EQ(L"0", s);
    FormatNumberGrouped(s, 999);
    EXPECT_EQ(L"999", s);
    FormatNumberGrouped(s, 1000);
    EXPECT_EQ(L"1,000", s);
    FormatNumberGrouped(s, 1234567);
    EXPECT_EQ(L"1,234,567", s);
    FormatNumberGrouped(s, 18446744073709551615ull);
    EXPECT_EQ(L"18,446,744,073,709,551,615", s);
}

TEST(Formatters, ByteSizes) {
    // The short text is the system's own and follows the UI language: compare with it.
    wchar_t system[260];
    ASSERT_NE(nullptr, StrFormatByteSizeW(3690987, system, 260));
    std::wstring s;
    ASSERT_TRUE(FormatByteSizeShell(s, 3690987));
    EXPECT_EQ(system, s);
    ASSERT_TRUE(FormatByteSize(s, 3690987, false));
    EXPECT_EQ(system, s);
    ASSERT_TRUE(FormatByteSize(s, 3690987, true));
    EXPECT_EQ(std::wstring(system) + L" (3,690,987 バイト)", s);
}

TEST(Formatters, Durations) {
    std::wstring d, t;
    FormatDuration(d, 0);
    FormatTimeSpan(t, 0);
    EXPECT_EQ(L"00秒", d);
    EXPECT_EQ(L"00:00", t);
    FormatDuration(d, 59);
    FormatTimeSpan(t, 59);
    EXPECT_EQ(L"59秒", d);
    EXPECT_EQ(L"00:59", t);
    FormatDuration(d, 125);
    FormatTimeSpan(t, 125);
    EXPECT_EQ(L"02分05秒", d);
    EXPECT_EQ(L"02:05", t);
    FormatDuration(d, 3725);
    FormatTimeSpan(t, 3725);
    EXPECT_EQ(L"01時間02分05秒", d);
    EXPECT_EQ(L"01:02:05", t);
    FormatDuration(d, 86400 + 3600 + 60 + 1);
    FormatTimeSpan(t, 86400 + 3600 + 60 + 1);
    EXPECT_EQ(L"1日01時間01分01秒", d);
    EXPECT_EQ(L"1/01:01:01", t);
    FormatDuration(d, 12LL * 86400 + 23 * 3600 + 59 * 60 + 59);
    FormatTimeSpan(t, 12LL * 86400 + 23 * 3600 + 59 * 60 + 59);
    EXPECT_EQ(L"12日23時間59分59秒", d);
    EXPECT_EQ(L"12/23:59:59", t);
    FormatTimeSpan(t, 86400);
    EXPECT_EQ(L"1/00:00:00", t);
}

TEST(Formatters, Channels) {
    std::wstring s;
    FormatChannels(s, 0);
    EXPECT_EQ(L"--", s);
    FormatChannels(s, 1);
    EXPECT_EQ(L"MONO", s);
    FormatChannels(s, 2);
    EXPECT_EQ(L"STEREO", s);
    FormatChannels(s, 6);
    EXPECT_EQ(L"6", s);
}

TEST(NormalizeSearchText, FoldsWidthKanaAndCase) {
    auto norm = [](const std::wstring& text) {
        std::wstring out;
        EXPECT_TRUE(NormalizeSearchText(text, out)) << text.size();
        return out;
    };
    EXPECT_EQ(L"ABC", norm(L"abc"));
    EXPECT_EQ(norm(L"abc"), norm(L"ＡＢＣ"));          // full width letters
    EXPECT_EQ(norm(L"abc123"), norm(L"ａｂｃ１２３"));
    EXPECT_EQ(norm(L"あいう"), norm(L"アイウ"));       // katakana to hiragana
    EXPECT_EQ(L"あいう", norm(L"アイウ"));
    EXPECT_EQ(norm(L"ばんど"), norm(L"バンド"));
    EXPECT_EQ(norm(L"Ｍｕｓｉｃ　ミュージック"), norm(L"music みゅーじっく"));
    EXPECT_NE(norm(L"あ"), norm(L"い"));
    EXPECT_EQ(L"", norm(L""));
}

TEST(Formatters, OnlyTimeConversionsTheRunTimeKnowsReachIt) {
    const struct {
        const wchar_t* format;
        bool known;
    } cases[] = {
        {L"", true},
        {L"%Y/%m/%d %H:%M:%S", true},
        {L"%#c", true},
        {L"%#x %#d %a %A %b %B %I %j %p %U %w %W %X %y %z %Z", true},
        {L"100%%", true},
        {L"%#%", true},
        {L"%", false},   // typed on the way to "%Y"
        {L"%Y年%", false},
        {L"%#", false},
        {L"%Q", false},
        {L"%Ey", false},
        {L"%Od", false},
        {L"%F %T", false},
        {L"%%%", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.known, IsKnownTimeFormat(c.format)) << c.format;
    EXPECT_TRUE(IsKnownTimeFormat(std::wstring(L"%Y\0%", 4))) << "the run-time stops at the NUL";

    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 9;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 3;
    t.tm_wday = 3;
    t.tm_yday = 342;
    EXPECT_EQ(L"2026/12/09 07:05:03", FormatTimeChecked(L"%Y/%m/%d %H:%M:%S", t));
    EXPECT_EQ(L"12/9 100%", FormatTimeChecked(L"%#m/%#d 100%%", t));
    EXPECT_EQ(L"2026年12月09日 07時05分", FormatTimeChecked(L"%Y年%m月%d日 %H時%M分", t));
    EXPECT_EQ(L"", FormatTimeChecked(L"%Y %", t));
    EXPECT_EQ(L"", FormatTimeChecked(L"", t));
    EXPECT_EQ(std::wstring(127, L'x'), FormatTimeChecked(std::wstring(127, L'x'), t));
    EXPECT_EQ(L"", FormatTimeChecked(std::wstring(128, L'x'), t)) << "does not fit";
}
