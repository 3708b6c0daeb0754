#include "app/PlacementFit.h"
#include <gtest/gtest.h>
#include <climits>

namespace {
// Two monitors side by side, the primary one with a taskbar of 40 pixels at its foot, and a
// smaller one on the right, set lower.
const std::vector<RECT> kTwoMonitors = {RECT{0, 0, 1920, 1040}, RECT{1920, 200, 3200, 1224}};
const SIZE kMinimum{320, 240};

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}
}  // namespace

TEST(PlacementFit, RectanglesOnAMonitorStayAsStored) {
    const RECT cases[] = {
        {100, 100, 900, 700},        // inside the primary monitor
        {1800, 500, 2600, 1100},     // across both
        {-700, -500, 20, 10},        // mostly off, but one corner on screen
        {3000, 1000, 4000, 2000},    // mostly off the second monitor
        {-4000, -4000, 8000, 8000},  // larger than the desktop
    };
    for (const RECT& r : cases) EXPECT_EQ(Text(FitWindowRect(r, kTwoMonitors, kMinimum)), Text(r));
    EXPECT_EQ(Text(FitWindowRect(RECT{-5000, 0, -4000, 10}, {}, kMinimum)), "-5000,0,-4000,10") << "no monitor";
}

TEST(PlacementFit, RectanglesOffEveryMonitorAreMovedOntoTheNearestWorkArea) {
    struct Case {
        RECT stored;
        const char* fitted;
    };
    const Case cases[] = {
        // Far up and left, as a damaged config.ini holds it: the primary monitor's corner.
        {{-2000000000, -2000000000, -1999999200, -1999999400}, "0,0,800,600"},
        {{LONG_MIN, LONG_MIN, LONG_MIN + 800, LONG_MIN + 600}, "0,0,800,600"},
        // Right of the second monitor: moved left onto it, the height kept.
        {{5000, 300, 5800, 900}, "2400,300,3200,900"},
        // Below the taskbar of the primary monitor only.
        {{100, 1045, 900, 1300}, "100,785,900,1040"},
        // Far right and down: the second monitor; too large for it, cut to its size.
        {{2000000000, 2000000000, 2000003000, 2000002000}, "1920,200,3200,1224"},
        // Above both, nearer to the lower monitor than to the primary one.
        {{2500, -400, 3100, -100}, "2500,200,3100,500"},
    };
    for (const Case& c : cases) EXPECT_EQ(Text(FitWindowRect(c.stored, kTwoMonitors, kMinimum)), c.fitted) << Text(c.stored);
}

TEST(PlacementFit, AbsurdSizesGrowToTheMinimumOrShrinkToAWorkArea) {
    struct Case {
        RECT stored;
        const char* fitted;
    };
    const Case cases[] = {
        {{100, 100, 101, 101}, "100,100,420,340"},
        {{100, 100, 900, 110}, "100,100,900,340"},       // only too low
        {{500, 400, 100, 100}, "500,400,820,640"},       // inside out
        {{0, 0, 0, 0}, "0,0,320,240"},                   // all zero
        {{1900, 1030, 1901, 1031}, "1900,1030,2220,1270"},  // grows past the corner: still on screen
        {{-2000000000, 5, -2000000000, 5}, "0,5,320,245"},  // small and far off
        // Wider or higher than any window can be: the size of the work area it covers most.
        {{-2000000000, -2000000000, 2000000000, 2000000000}, "0,0,1920,1040"},
        {{100, 100, 40100, 700}, "100,100,2020,700"},
        {{2000, 300, 2600, 100000}, "2000,300,2600,1324"},
    };
    for (const Case& c : cases) EXPECT_EQ(Text(FitWindowRect(c.stored, kTwoMonitors, kMinimum)), c.fitted) << Text(c.stored);
    // Never beyond a work area smaller than the minimum.
    EXPECT_EQ(Text(FitWindowRect(RECT{0, 0, 10, 10}, {RECT{0, 0, 300, 200}}, kMinimum)), "0,0,300,200");
}
