#include "ui/views/RatingStrips.h"

namespace {
int FullStars(int rating) {
    int full = 0;
    for (int k = 1; k <= 5; ++k) full += rating >= 10 * k ? 1 : 0;
    return full;
}
}  // namespace

void DrawRatingStars(HDC dc, HIMAGELIST images, int rating, int x, int y, int spacing) {
    for (int k = 1; k <= 5; ++k)
        ImageList_Draw(images, rating >= 10 * k ? 1 : 0, dc, x + (k - 1) * spacing, y, ILD_NORMAL);
}

void CRatingStrips::Clear() {
    for (auto& strip : m_strips) ::DeleteObject(strip.second);
    m_strips.clear();
    m_images = nullptr;
    m_spacing = 0;
}

HBITMAP CRatingStrips::Strip(HDC dc, HIMAGELIST images, int full, int spacing, COLORREF back, SIZE size) {
    if (images != m_images || spacing != m_spacing) {
        Clear();
        m_images = images;
        m_spacing = spacing;
    }
    const auto key = std::make_pair(full, back);
    auto found = m_strips.find(key);
    if (found != m_strips.end()) return found->second;

    HDC memory = ::CreateCompatibleDC(dc);
    HBITMAP strip = memory ? ::CreateCompatibleBitmap(dc, size.cx, size.cy) : nullptr;
    if (!strip) {
        if (memory) ::DeleteDC(memory);
        return nullptr;
    }
    HGDIOBJ old = ::SelectObject(memory, strip);
    HBRUSH brush = ::CreateSolidBrush(back);
    const RECT all{0, 0, size.cx, size.cy};
    ::FillRect(memory, &all, brush);
    ::DeleteObject(brush);
    const COLORREF oldBack = ImageList_SetBkColor(images, CLR_NONE);
    DrawRatingStars(memory, images, full * 10, 0, 0, spacing);
    ImageList_SetBkColor(images, oldBack);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    m_strips.emplace(key, strip);
    return strip;
}

void CRatingStrips::Draw(HDC dc, HIMAGELIST images, int rating, int x, int y, int spacing, COLORREF back,
                         const RECT& cell) {
    int cx = 0, cy = 0;
    if (!images || !ImageList_GetIconSize(images, &cx, &cy) || cx <= 0 || cy <= 0 || spacing < 0) return;
    const SIZE size{4 * spacing + cx, cy};
    const bool inside = x >= cell.left && x + size.cx <= cell.right && y >= cell.top && y + size.cy <= cell.bottom;
    HBITMAP strip = inside ? Strip(dc, images, FullStars(rating), spacing, back, size) : nullptr;
    if (!strip) {
        DrawRatingStars(dc, images, rating, x, y, spacing);
        return;
    }
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, strip);
    ::BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}
