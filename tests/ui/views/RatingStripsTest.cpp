// The copied star strips give the pixels of the five image-list draws they replace.
#include "ui/views/RatingStrips.h"
#include "app/AppSettings.h"
#include "app/RatingImages.h"
#include "ui/controls/DibDC.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A 32-bit picture filled with `back` and what `draw` puts on it.
template <class Draw>
std::vector<uint32_t> Picture(COLORREF back, Draw draw) {
    const int w = 120, h = 24;
    CDibDC picture(nullptr, w, h);
    HBRUSH brush = ::CreateSolidBrush(back);
    const RECT all{0, 0, w, h};
    ::FillRect(picture, &all, brush);
    ::DeleteObject(brush);
    draw(static_cast<HDC>(picture));
    ::GdiFlush();
    return std::vector<uint32_t>(picture.Pixels(), picture.Pixels() + w * h);
}

}  // namespace

TEST(RatingStrips, EveryRatingOverEveryBackgroundIsWhatFiveDrawsGive) {
    CAppSettings settings;
    for (int type : {0, 1}) {
        settings.generic.ratingType = type;
        HIMAGELIST images = nullptr;
        ASSERT_TRUE(CreateRatingImageList(images, settings, false));
        CRatingStrips strips;
        for (int spacing : {16, 12, 20}) {          // apart, overlapping, with gaps
            for (COLORREF back : {RGB(255, 255, 255), RGB(240, 240, 250), RGB(10, 36, 106)}) {
                for (int rating : {0, 9, 10, 25, 40, 50, 100}) {
                    SCOPED_TRACE(std::to_string(type) + " " + std::to_string(spacing) + " " +
                                 std::to_string(back) + " " + std::to_string(rating));
                    const auto expected = Picture(back, [&](HDC dc) {
                        const COLORREF old = ImageList_SetBkColor(images, CLR_NONE);
                        DrawRatingStars(dc, images, rating, 3, 4, spacing);
                        ImageList_SetBkColor(images, old);
                    });
                    // Twice: drawn into the cache, then copied from it.
                    for (int pass = 0; pass < 2; ++pass)
                        EXPECT_EQ(expected, Picture(back, [&](HDC dc) {
                                      strips.Draw(dc, images, rating, 3, 4, spacing, back, RECT{0, 2, 110, 22});
                                  }));
                    // A row lower than the stars, a column narrower than them: drawn one by one,
                    // nothing outside the stars.
                    for (const RECT& cell : {RECT{0, 5, 110, 12}, RECT{0, 2, 40, 22}})
                        EXPECT_EQ(expected, Picture(back, [&](HDC dc) {
                                      strips.Draw(dc, images, rating, 3, 4, spacing, RGB(1, 2, 3), cell);
                                  }));
                }
            }
        }
        ImageList_Destroy(images);
    }
}
