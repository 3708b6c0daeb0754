#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>

// The spectrum's 32-bit bottom-up bitmap (row 0 is the bottom row), pixels 0x00RRGGBB.
struct SpecDibBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    BITMAPINFOHEADER header{};

    // A zeroed bitmap of the size; a size below 1 gives an empty buffer.
    void Create(int w, int h);
    bool Empty() const { return pixels.empty(); }
    void Fill(uint32_t pixel);
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// One colour per pixel row of the spectrum's height, and the background.
struct SpecColorTable {
    std::vector<uint32_t> rows;
    uint32_t background = 0;
};

// A COLORREF as a bitmap pixel.
uint32_t SpecPixel(COLORREF color);

// Row i of `height` runs from the minimum colour (bottom) towards the maximum.
void BuildSpecColorTable(int height, COLORREF maxColor, COLORREF minColor, COLORREF background,
                         SpecColorTable& table);

// The upper FFT bin of each of `barCount` bars: strictly rising, at most 1023.
std::vector<int> SpecBarUpperBins(int barCount);

// Draws `barCount` bars of `segmentCount` segments from the 1024 magnitudes into the bitmap.
// Nothing happens without a bitmap or a colour table.
void DrawSpecBars(SpecDibBuffer& dib, const SpecColorTable& table, const float* spectrum, int barCount,
                  int segmentCount);
