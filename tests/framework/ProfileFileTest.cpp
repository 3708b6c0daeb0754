// The framework's profile file (toolbar and bar state) keeps any text and never cuts a value.
#include "framework/WinApp.h"
#include "support/TestFiles.h"
#include <gtest/gtest.h>

using namespace testing_support;

TEST(ProfileFile, NewFileIsUtf16AndLongOrForeignTextsSurvive) {
    TempDir dir;
    CWinApp app;
    app.SetProfileFile(dir.file(L"toolbar.ini"));
    const std::wstring foreign = L"帯域 ẞ \U0001F3B5";
    const std::wstring longValue(5000, L'x');
    ASSERT_TRUE(app.WriteProfileString(L"Rebar", L"Name", foreign.c_str()));
    ASSERT_TRUE(app.WriteProfileString(L"Rebar", L"Long", longValue.c_str()));
    ASSERT_TRUE(app.WriteProfileInt(L"Rebar", L"BandCount", 6));

    const std::string bytes = ReadBytes(dir.file(L"toolbar.ini"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
    EXPECT_EQ(app.GetProfileString(L"Rebar", L"Name"), foreign);
    EXPECT_EQ(app.GetProfileString(L"Rebar", L"Long"), longValue);
    EXPECT_EQ(app.GetProfileInt(L"Rebar", L"BandCount", 0), 6u);
    EXPECT_EQ(app.GetProfileString(L"Rebar", L"Missing", L"既定"), L"既定");
}
