#include "ui/views/SpecDrawing.h"
#include <gtest/gtest.h>
#include <vector>

TEST(SpecColorTable, RowsRunFromTheMinimumColourTowardsTheMaximum) {
    SpecColorTable t;
    BuildSpecColorTable(100, RGB(255, 255, 255), RGB(32, 32, 32), RGB(1, 2, 3), t);
    ASSERT_EQ(100u, t.rows.size());
    EXPECT_EQ(0x202020u, t.rows[0]);
    EXPECT_EQ(0x8F8F8Fu, t.rows[50]);   // 32 + 50 * 223 / 100 = 143
    EXPECT_EQ(0xFCFCFCu, t.rows[99]);   // 32 + 99 * 223 / 100 = 252
    EXPECT_EQ(0x010203u, t.background);
    BuildSpecColorTable(0, RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), t);
    EXPECT_TRUE(t.rows.empty());
    BuildSpecColorTable(-5, RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), t);
    EXPECT_TRUE(t.rows.empty());
}

TEST(SpecBins, UpperBinsRiseStrictlyAndReachButNeverExceed1023) {
    for (int bars = 10; bars <= 30; ++bars) {
        const std::vector<int> bins = SpecBarUpperBins(bars);
        ASSERT_EQ(static_cast<size_t>(bars), bins.size());
        EXPECT_EQ(1, bins.front());
        EXPECT_EQ(1023, bins.back());
        for (size_t i = 1; i < bins.size(); ++i) EXPECT_LT(bins[i - 1], bins[i]) << bars << " " << i;
    }
}

namespace {

struct Spectrum {
    SpecDibBuffer dib;
    SpecColorTable table;
    std::vector<float> fft = std::vector<float>(1024, 0.0f);
    Spectrum(int w, int h, int tableHeight) {
        dib.Create(w, h);
        BuildSpecColorTable(tableHeight, RGB(255, 255, 255), RGB(0, 0, 0), RGB(9, 9, 9), table);
        dib.Fill(table.background);
    }
};

}  // namespace

TEST(SpecBars, TenByTenBarsOn180x100AreSeventeenPixelsWideWithNinePixelSegments) {
    Spectrum s(180, 100, 100);
    std::fill(s.fft.begin(), s.fft.end(), 1.0f);   // every bar full height
    DrawSpecBars(s.dib, s.table, s.fft.data(), 10, 10);
    const uint32_t bg = s.table.background;
    // Bar 0: columns 0-16 lit, column 17 the gap. Segment 0: rows 0-8, row 9 the gap.
    EXPECT_EQ(s.table.rows[0], s.dib.At(0, 0));
    EXPECT_EQ(s.table.rows[0], s.dib.At(16, 8));
    EXPECT_EQ(bg, s.dib.At(17, 0));
    EXPECT_EQ(bg, s.dib.At(0, 9));
    EXPECT_EQ(s.table.rows[10], s.dib.At(0, 10));   // segment 1 takes its lowest row's colour
    EXPECT_EQ(s.table.rows[90], s.dib.At(18, 98));  // bar 1, top segment
    EXPECT_EQ(s.table.rows[0], s.dib.At(162, 0));   // last bar
}

TEST(SpecBars, QuietBinsLightNothingAndTheSteadyComponentIsNeverUsed) {
    Spectrum s(180, 100, 100);
    s.fft[0] = 1000.0f;   // only the steady component
    DrawSpecBars(s.dib, s.table, s.fft.data(), 30, 50);
    for (uint32_t p : s.dib.pixels) ASSERT_EQ(s.table.background, p);
    s.fft[1] = 0.01f;     // bar 0's one bin: a low bar
    DrawSpecBars(s.dib, s.table, s.fft.data(), 30, 50);
    EXPECT_EQ(s.table.rows[0], s.dib.At(0, 0));
    EXPECT_EQ(s.table.background, s.dib.At(0, 98));
}

TEST(SpecBars, NoBitmapOrTableOrTinyHeightsNeverLoopOrReadPastTheTable) {
    std::vector<float> fft(1024, 1.0f);
    SpecDibBuffer none;
    SpecColorTable table;
    BuildSpecColorTable(100, RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), table);
    DrawSpecBars(none, table, fft.data(), 30, 50);   // no bitmap: nothing
    EXPECT_TRUE(none.Empty());

    SpecDibBuffer dib;
    dib.Create(180, 100);
    SpecColorTable empty;
    DrawSpecBars(dib, empty, fft.data(), 30, 50);    // no table: nothing
    for (uint32_t p : dib.pixels) ASSERT_EQ(0u, p);

    // A window lower than the segment count, and a table shorter than the window.
    SpecColorTable shortTable;
    BuildSpecColorTable(5, RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), shortTable);
    SpecDibBuffer low;
    low.Create(20, 30);
    DrawSpecBars(low, shortTable, fft.data(), 30, 50);
    EXPECT_EQ(shortTable.rows[4], low.At(0, 29));

    SpecDibBuffer zero;
    zero.Create(180, 0);
    EXPECT_TRUE(zero.Empty());
    zero.Create(180, -3);
    DrawSpecBars(zero, table, fft.data(), 30, 50);
    EXPECT_TRUE(zero.Empty());
}

TEST(SpecDib, HeaderDescribesABottomUp32BitBitmap) {
    SpecDibBuffer d;
    d.Create(180, 100);
    EXPECT_EQ(40u, d.header.biSize);
    EXPECT_EQ(180, d.header.biWidth);
    EXPECT_EQ(100, d.header.biHeight);
    EXPECT_EQ(32, d.header.biBitCount);
    EXPECT_EQ(180u * 100u, d.pixels.size());
}
