#include "ui/views/InfoPaneColors.h"
#include "ui/views/InfoPaneLayout.h"
#include "app/ColorUtil.h"
#include <gtest/gtest.h>

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

TEST(InfoPaneLayout, PaneOfImageSizePlus34ShowsTheJacketAtImageSizeWithStarsCentredUnderIt) {
    const int imageSize = 150, W = 900, H = imageSize + 34;
    const InfoPaneLayout l = LayoutInfoPane(W, H, 100, 16, 16);
    EXPECT_EQ(8, l.jacket.left);
    EXPECT_EQ(4, l.jacket.top);
    EXPECT_EQ(imageSize, Width(l.jacket));
    EXPECT_EQ(imageSize, Height(l.jacket));
    // Stars centred under the jacket.
    EXPECT_EQ((l.jacket.left + l.jacket.right) / 2, (l.stars.left + l.stars.right) / 2);
    EXPECT_EQ(5 * 16, Width(l.stars));
    EXPECT_EQ(H - 4, l.stars.bottom);

    EXPECT_EQ(H - 16, l.trackInfo.left);
    EXPECT_EQ(H - 26, l.trackInfo.bottom);
    EXPECT_EQ(W - 194, l.trackInfo.right);
    EXPECT_EQ(W - 398, l.related.left);
    EXPECT_EQ(W - 196, l.related.right);
    EXPECT_EQ(W - 188, l.spectrum.left);
    EXPECT_EQ(180, Width(l.spectrum));
    EXPECT_EQ((H - 100) / 2, l.spectrum.top);
    EXPECT_EQ(100, Height(l.spectrum));
    // The lyrics strip ends where the spectrum begins.
    EXPECT_EQ(l.spectrum.left, l.lyricsStrip.right);
    EXPECT_EQ(W - H - 172, Width(l.lyricsStrip));
    EXPECT_EQ(22, Height(l.lyricsStrip));
}

TEST(InfoPaneLayout, StarClicksGiveTheLeftHalfOfEachStarToTheRatingBelow) {
    const RECT stars{40, 100, 120, 116};
    const struct {
        int x;
        int rating;
    } cases[] = {
        {40, 0}, {47, 0},      // left 8 pixels of the first star
        {48, 10}, {63, 10},    // right half of star 1, left half of star 2
        {64, 20}, {111, 40},
        {112, 50}, {119, 50},  // right half of the fifth star
    };
    for (const auto& c : cases) EXPECT_EQ(c.rating, RatingFromStarClick(c.x, stars)) << c.x;
}

TEST(InfoPaneLayout, TabsAreOverlappingHexagonsAndOnlyTheOtherTabSelects) {
    const int R = 300;
    POINT p[6];
    GetInfoTabPolygon(1, R, p);
    const POINT expected[6] = {{282, 55}, {296, 55}, {298, 57}, {298, 98}, {296, 104}, {282, 124}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(expected[i].x, p[i].x) << i;
        EXPECT_EQ(expected[i].y, p[i].y) << i;
    }
    const POINT onTab0{290, 20}, onTab1{290, 90}, outside{100, 20};
    EXPECT_EQ(-1, HitInfoTab(onTab0, R, 0));   // the selected tab: nothing
    EXPECT_EQ(1, HitInfoTab(onTab1, R, 0));
    EXPECT_EQ(0, HitInfoTab(onTab0, R, 1));
    EXPECT_EQ(-1, HitInfoTab(outside, R, 0));
}

TEST(InfoPaneLayout, StatusBoxTexts) {
    EXPECT_STREQ(L"SINGLE", PlayModeBoxText(0));
    EXPECT_STREQ(L"SINGLE REPEAT", PlayModeBoxText(1));
    EXPECT_STREQ(L"LIST REPEAT", PlayModeBoxText(2));
    EXPECT_STREQ(L"LIST", PlayModeBoxText(3));
    EXPECT_STREQ(L"RANDOM", PlayModeBoxText(4));
    EXPECT_STREQ(L"PLAYING", PlayStateBoxText(0));   // drawn dim while stopped
    EXPECT_STREQ(L"PLAYING", PlayStateBoxText(1));
    EXPECT_STREQ(L"PAUSE", PlayStateBoxText(2));
    EXPECT_STREQ(L"ERROR!!", PlayStateBoxText(3));
}

TEST(InfoPaneColors, DerivedColoursScaleOnlyTheLightness) {
    CAppSettings::InformationView v;
    v.colorBackground = RGB(200, 220, 240);
    v.colorGeneric1 = RGB(224, 224, 224);
    v.colorGeneric2 = RGB(240, 240, 255);
    const InfoPaneColors c = DeriveInfoPaneColors(v);
    auto lightness = [](COLORREF rgb) { return static_cast<int>((RGBToHLS(rgb) >> 8) & 0xFF); };
    auto hue = [](COLORREF rgb) { return static_cast<int>(RGBToHLS(rgb) & 0xFF); };
    const int l = lightness(v.colorBackground);
    EXPECT_NEAR(l * 0.9, lightness(c.background90), 1.5);
    EXPECT_NEAR(l * 0.6, lightness(c.background60), 1.5);
    EXPECT_NEAR(l * 0.2, lightness(c.ink), 1.5);
    EXPECT_NEAR(hue(v.colorBackground), hue(c.background80), 2);
    EXPECT_EQ(v.colorGeneric2, c.generic2);
    EXPECT_LT(lightness(c.generic2_80), lightness(c.generic2_96));
    EXPECT_EQ(RGB(179, 179, 179), c.dim);   // grey 224 x 0.8
}

TEST(InfoPaneColors, OpacityPercentagesAreClampedToOpaque) {
    EXPECT_EQ(0, AlphaFromPercent(0));
    EXPECT_EQ(127, AlphaFromPercent(50));
    EXPECT_EQ(229, AlphaFromPercent(90));
    EXPECT_EQ(255, AlphaFromPercent(100));
    EXPECT_EQ(255, AlphaFromPercent(200));   // a stored 200 % never wraps round
    EXPECT_EQ(255, AlphaFromPercent(255));
}

TEST(InfoPaneLayout, StatusBoxesStandRightToLeftWithTwoPixelGapsAndTheirMargins) {
    const StatusBoxLayout l = LayoutStatusBoxes(600, 150, 11, 46, 80, 14);
    EXPECT_EQ(580, l.equalizer.right);
    EXPECT_EQ(14 + 4, l.equalizer.right - l.equalizer.left);
    EXPECT_EQ(l.equalizer.left - 2, l.mode.right);
    EXPECT_EQ(80 + 2, l.mode.right - l.mode.left);
    EXPECT_EQ(l.mode.left - 2, l.state.right);
    EXPECT_EQ(46 + 4, l.state.right - l.state.left);
    for (const RECT& r : {l.state, l.mode, l.equalizer}) {
        EXPECT_EQ(150 - 11 - 2, r.top);
        EXPECT_EQ(150 - 2, r.bottom);
    }
}
