#include "ui/views/SeekBarMath.h"
#include <gtest/gtest.h>
#include <climits>

namespace {
// A channel from x = 10 to 210 with a 20-pixel thumb: the thumb's centre travels 180 pixels
// from x = 20 to x = 200.
const TrackGeometry kTrack{10, 200, 20};
}  // namespace

TEST(SeekBarMath, ClickSeeksToThePlaceClickedAndNeverBeyondTheEnds) {
    struct Case { int x; int64_t expected; };
    const int64_t length = 1800;
    const Case cases[] = {
        {20, 0},        // the thumb's centre at the channel's start
        {110, 900},     // half-way
        {200, 1800},    // the end
        {0, 0},         // left of the channel
        {-500, 0},
        {211, 1800},    // right of the channel
        {5000, 1800},
    };
    for (const Case& c : cases) {
        int64_t bytes = -1;
        ASSERT_TRUE(SeekBytesAtPoint(c.x, kTrack, length, bytes)) << c.x;
        EXPECT_EQ(bytes, c.expected) << c.x;
    }
}

TEST(SeekBarMath, ATrackWithoutRoomForTheThumbSeeksNowhere) {
    for (const TrackGeometry& g : {TrackGeometry{10, 20, 20}, TrackGeometry{10, 0, 20}, TrackGeometry{0, -40, 0}}) {
        int64_t bytes = 77;
        EXPECT_FALSE(SeekBytesAtPoint(50, g, 1000, bytes));
        EXPECT_EQ(bytes, 77) << "left untouched";
        EXPECT_EQ(SecondsAtPoint(50, g, 300.0f), 0.0f);
    }
}

TEST(SeekBarMath, TooltipSecondsFollowTheCursorWithinTheTrack) {
    EXPECT_FLOAT_EQ(SecondsAtPoint(110, kTrack, 296.0f), 148.0f);
    EXPECT_FLOAT_EQ(SecondsAtPoint(-10, kTrack, 296.0f), 0.0f);
    EXPECT_FLOAT_EQ(SecondsAtPoint(900, kTrack, 296.0f), 296.0f);
    EXPECT_FLOAT_EQ(SecondsAtPoint(110, kTrack, 0.0f), 0.0f);
}

TEST(SeekBarMath, LongStreamsShrinkToTheTrackbarsRange) {
    EXPECT_EQ(SeekUnitShift(0), 0);
    EXPECT_EQ(SeekUnitShift(INT_MAX), 0);
    EXPECT_EQ(SeekUnitShift(int64_t(INT_MAX) + 1), 1);
    const int64_t huge = int64_t(40) << 30;   // 40 GiB
    const int shift = SeekUnitShift(huge);
    EXPECT_LE(huge >> shift, INT_MAX);
    EXPECT_GT(huge >> (shift - 1), INT_MAX);
}

TEST(SeekBarMath, TimeDisplayShowsElapsedOrRemaining) {
    EXPECT_EQ(FormatSeekTime(0, 83.4f, 296.9f), L"01:23 / 04:56");
    EXPECT_EQ(FormatSeekTime(1, 83.0f, 296.0f), L"-03:33 / 04:56");
    EXPECT_EQ(FormatSeekTime(0, 0.0f, 0.0f), L"00:00 / 00:00");
    EXPECT_EQ(FormatSeekTime(1, 300.0f, 296.0f), L"-00:00 / 04:56") << "never a negative remainder";
}

TEST(SeekBarMath, TimeButtonKeepsItsWidthAtTheRight) {
    const SeekBarLayout l = LayoutSeekBar(400, 31, 90);
    EXPECT_EQ(l.button.left, 310);
    EXPECT_EQ(l.button.right, 400);
    EXPECT_EQ(l.button.top, 2);
    EXPECT_EQ(l.button.bottom, 29);
    EXPECT_EQ(l.slider.left, 0);
    EXPECT_EQ(l.slider.right, 308);
    EXPECT_EQ(l.slider.bottom - l.slider.top, 27);
    const SeekBarLayout tiny = LayoutSeekBar(50, 2, 90);
    EXPECT_EQ(tiny.slider.right, 0);
    EXPECT_EQ(tiny.slider.bottom, tiny.slider.top);
}
