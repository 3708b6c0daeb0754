#include "ui/views/CoverPicture.h"
#include <gtest/gtest.h>

TEST(CoverFade, TwentyOneStepsFromOldToNew) {
    EXPECT_EQ(21, CoverFadeStepCount);
    CoverFadeAlphas first = CoverFadeStep(0), middle = CoverFadeStep(10), last = CoverFadeStep(20);
    EXPECT_EQ(255, first.oldPicture);
    EXPECT_EQ(0, first.newPicture);
    EXPECT_EQ(127, middle.oldPicture);
    EXPECT_EQ(127, middle.newPicture);
    EXPECT_EQ(0, last.oldPicture);
    EXPECT_EQ(255, last.newPicture);
    for (int s = 1; s < CoverFadeStepCount; ++s) {
        EXPECT_LE(CoverFadeStep(s).oldPicture, CoverFadeStep(s - 1).oldPicture);
        EXPECT_GE(CoverFadeStep(s).newPicture, CoverFadeStep(s - 1).newPicture);
    }
}

TEST(CoverFit, SmallPicturesAreCentredUnlessZoomedAndLargeOnesKeepTheirAspect) {
    const RECT box{0, 0, 150, 150};
    const RECT centred = FitImageRect(box, 50, 30, false);
    EXPECT_EQ(50, centred.left);
    EXPECT_EQ(60, centred.top);
    EXPECT_EQ(100, centred.right);
    const RECT zoomed = FitImageRect(box, 50, 30, true);
    EXPECT_EQ(0, zoomed.left);
    EXPECT_EQ(150, zoomed.right);
    EXPECT_EQ(30, zoomed.top);   // 90 high, centred
    EXPECT_EQ(120, zoomed.bottom);
    const RECT tall = FitImageRect(box, 300, 600, false);
    EXPECT_EQ(0, tall.top);
    EXPECT_EQ(150, tall.bottom);
    EXPECT_EQ(37, tall.left);
    EXPECT_EQ(75, tall.right - tall.left);
}

TEST(CoverZoom, ChosenByPictureSizeAndNeverBelowOnePercent) {
    EXPECT_EQ(200, ChooseCoverZoom(150, 150, 1024, 768));
    EXPECT_EQ(100, ChooseCoverZoom(600, 600, 1024, 768));
    EXPECT_EQ(50, ChooseCoverZoom(800, 600, 1024, 768));
    EXPECT_EQ(100, ChooseCoverZoom(800, 100, 1024, 768));   // wide but low
    EXPECT_EQ(1, ClampCoverZoom(0));
    EXPECT_EQ(1, ClampCoverZoom(-20));
    EXPECT_EQ(37, ClampCoverZoom(37));
}

TEST(CoverZoom, DraggingABorderKeepsThePictureAspect) {
    // Frame of 16 x 39, picture 200 x 100.
    RECT window{100, 100, 100 + 316, 100 + 139};   // client 300 x 100 after a right drag
    int zoom = KeepCoverAspect(WMSZ_RIGHT, window, 16, 39, 200, 100);
    EXPECT_EQ(150 + 39, window.bottom - window.top);
    EXPECT_EQ(150, zoom);
    RECT lower{100, 100, 100 + 416, 100 + 89};   // client 400 x 50 after a bottom drag
    zoom = KeepCoverAspect(WMSZ_BOTTOM, lower, 16, 39, 200, 100);
    EXPECT_EQ(100 + 16, lower.right - lower.left);
    EXPECT_EQ(50, zoom);
    RECT corner{100, 100, 100 + 116, 100 + 300};   // client 100 wide after a top-left drag
    zoom = KeepCoverAspect(WMSZ_TOPLEFT, corner, 16, 39, 200, 100);
    EXPECT_EQ(400, corner.bottom);                 // the bottom stays, the top moves
    EXPECT_EQ(50 + 39, corner.bottom - corner.top);
    EXPECT_EQ(50, zoom);
    RECT tiny{0, 0, 16, 40};
    EXPECT_EQ(1, KeepCoverAspect(WMSZ_RIGHT, tiny, 16, 39, 2000, 1000));
}

// Up to 16,384 pixels a side and 64 megapixels in all (a GIF's frames included).
TEST(CoverSize, OnlyPicturesWithinTheBoundAreDecoded) {
    const auto decodable = [](uint32_t w, uint32_t h, uint64_t extra) {
        tagReader::PictureSize s;
        s.width = w;
        s.height = h;
        s.decodedPixels = uint64_t{w} * h + extra;
        return IsCoverSizeDecodable(s);
    };
    EXPECT_TRUE(decodable(600, 600, 0));
    EXPECT_TRUE(decodable(16384, 4096, 0));
    EXPECT_FALSE(decodable(16385, 1, 0));
    EXPECT_FALSE(decodable(1, 16385, 0));
    EXPECT_FALSE(decodable(16384, 4096, 1));
    EXPECT_FALSE(decodable(0, 10, 0));
}
