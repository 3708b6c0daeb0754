#include "ui/views/TipText.h"
#include <gtest/gtest.h>

TEST(TipText, TextAndTerminatorFitTheBuffer) {
    NMTTDISPINFOW info{};
    SetTipText(info, L"ボリューム : 40%");
    EXPECT_STREQ(info.lpszText, L"ボリューム : 40%");
    EXPECT_EQ(info.lpszText, info.szText);

    const size_t capacity = sizeof info.szText / sizeof info.szText[0];
    std::fill(std::begin(info.szText), std::end(info.szText), L'#');
    SetTipText(info, std::wstring(500, L'あ'));
    EXPECT_EQ(std::wstring(info.szText), std::wstring(capacity - 1, L'あ'));

    SetTipText(info, L"");
    EXPECT_STREQ(info.szText, L"");
}
