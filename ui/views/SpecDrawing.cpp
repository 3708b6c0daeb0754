#include "ui/views/SpecDrawing.h"
#include <algorithm>
#include <cmath>

void SpecDibBuffer::Create(int w, int h) {
    if (w < 1 || h < 1) {
        width = height = 0;
        pixels.clear();
    } else {
        width = w;
        height = h;
        pixels.assign(static_cast<size_t>(w) * h, 0);
    }
    header = BITMAPINFOHEADER{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
}

void SpecDibBuffer::Fill(uint32_t pixel) { std::fill(pixels.begin(), pixels.end(), pixel); }

uint32_t SpecPixel(COLORREF color) {
    return (static_cast<uint32_t>(GetRValue(color)) << 16) | (static_cast<uint32_t>(GetGValue(color)) << 8) |
           GetBValue(color);
}

void BuildSpecColorTable(int height, COLORREF maxColor, COLORREF minColor, COLORREF background,
                         SpecColorTable& table) {
    table.rows.clear();
    table.background = SpecPixel(background);
    if (height < 1) return;
    table.rows.resize(height);
    auto channel = [height](int lo, int hi, int i) { return static_cast<uint32_t>(lo + i * (hi - lo) / height); };
    for (int i = 0; i < height; ++i) {
        const uint32_t r = channel(GetRValue(minColor), GetRValue(maxColor), i);
        const uint32_t g = channel(GetGValue(minColor), GetGValue(maxColor), i);
        const uint32_t b = channel(GetBValue(minColor), GetBValue(maxColor), i);
        table.rows[i] = (r << 16) | (g << 8) | b;
    }
}

std::vector<int> SpecBarUpperBins(int barCount) {
    std::vector<int> bins;
    if (barCount < 1) return bins;
    int previous = 0;
    for (int i = 0; i < barCount; ++i) {
        const double exponent = barCount > 1 ? 10.0 * i / (barCount - 1) : 0.0;
        int upper = static_cast<int>(std::pow(2.0, exponent));
        if (upper > 1023) upper = 1023;
        if (upper < previous + 1) upper = previous + 1;
        if (upper > 1023) break;   // every bin is taken: no further bar has any
        bins.push_back(upper);
        previous = upper;
    }
    return bins;
}

void DrawSpecBars(SpecDibBuffer& dib, const SpecColorTable& table, const float* spectrum, int barCount,
                  int segmentCount) {
    if (dib.Empty() || table.rows.empty() || !spectrum || barCount < 1 || segmentCount < 1) return;
    const int W = dib.width, H = dib.height;
    // A window narrower than the bar count or lower than the segment count still gets
    // one-pixel bars and segments instead of none.
    const int barWidth = std::max(1, W / barCount);
    const int segment = std::max(1, H / segmentCount);
    const int lastTableRow = static_cast<int>(table.rows.size()) - 1;
    const std::vector<int> bins = SpecBarUpperBins(barCount);

    int lower = 0;
    for (size_t i = 0; i < bins.size(); ++i) {
        const int upper = bins[i];
        const int left = barWidth * static_cast<int>(i);
        if (left >= W) break;
        const int right = std::min(W - 1, left + std::max(barWidth - 2, 0));
        double sum = 0;
        for (int b = lower + 1; b <= upper; ++b) sum += spectrum[b];
        double value = std::sqrt(std::max(sum, 0.0) / std::log10(upper - lower + 10.0)) * 1.6 * H;
        const int v = value >= H ? H : static_cast<int>(value);
        lower = upper;

        for (int k = 0; k * segment < H; ++k) {
            const int bottom = k * segment;
            const int top = std::min(H - 1, bottom + std::max(segment - 2, 0));
            const uint32_t pixel =
                bottom < v ? table.rows[std::min(bottom, lastTableRow)] : table.background;
            for (int y = bottom; y <= top; ++y) {
                uint32_t* row = &dib.pixels[static_cast<size_t>(y) * W];
                for (int x = left; x <= right; ++x) row[x] = pixel;
            }
        }
    }
}
