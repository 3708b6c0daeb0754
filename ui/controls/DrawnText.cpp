#include "ui/controls/DrawnText.h"
#include "ui/controls/DibDC.h"
#include <algorithm>

namespace {

// Up to this em height (pixels) a text is drawn to find its width. Wine draws the small sizes
// of some faces wider than their advance (Tahoma at 7-14 px, by up to 70 px over a long line);
// from 15 px on, in every face tried under Wine, the advance with the last letter's overhang
// reaches as far as the ink. Above it a font size of thousands of points from config.ini
// would cost megabytes of picture per line and paint for nothing.
const int kDrawnUpToEm = 24;

// The advance, and where the last letter's ink reaches further (its C width is negative).
int AdvanceWithOverhang(HDC dc, const std::wstring& text, LONG advance) {
    const wchar_t last = text.back();
    ABC abc{};
    if ((last < 0xD800 || last > 0xDFFF) && ::GetCharABCWidthsW(dc, last, last, &abc) && abc.abcC < 0)
        return static_cast<int>(advance) - abc.abcC;
    return static_cast<int>(advance);
}

}  // namespace

SIZE DrawnTextPictureSize(HDC dc, const std::wstring& text) {
    SIZE advance{};
    if (text.empty() || !::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &advance))
        return SIZE{0, 0};
    TEXTMETRICW metrics{};
    if (!::GetTextMetricsW(dc, &metrics) || metrics.tmHeight - metrics.tmInternalLeading > kDrawnUpToEm)
        return SIZE{0, 0};
    // A text wider than any screen (a tag of thousands of characters) is cut where it is drawn.
    if (advance.cx > 4096) return SIZE{0, 0};
    // Room past the advance for what Wine draws wider.
    return SIZE{advance.cx + advance.cx / 4 + 8, std::max<LONG>(std::min<LONG>(advance.cy, 4 * kDrawnUpToEm), 1)};
}

int DrawnTextWidth(HDC dc, const std::wstring& text) {
    if (text.empty()) return 0;
    SIZE advance{};
    if (!::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &advance)) return 0;
    const int measured = AdvanceWithOverhang(dc, text, advance.cx);
    const SIZE size = DrawnTextPictureSize(dc, text);
    if (size.cx <= 0) return measured;
    // Draw black on white and find the last inked column.
    const int width = size.cx, height = size.cy;
    CDibDC picture(dc, width, height);
    if (!picture.Ok()) return measured;
    HGDIOBJ oldFont = ::SelectObject(picture, ::GetCurrentObject(dc, OBJ_FONT));
    DWORD* pixels = picture.Pixels();
    std::fill(pixels, pixels + width * height, 0x00FFFFFFu);
    ::SetTextColor(picture, RGB(0, 0, 0));
    ::SetBkMode(picture, TRANSPARENT);
    ::TextOutW(picture, 0, 0, text.c_str(), static_cast<int>(text.size()));
    ::GdiFlush();
    int last = -1;
    for (int x = width - 1; x >= 0 && last < 0; --x)
        for (int y = 0; y < height; ++y)
            if ((pixels[y * width + x] & 0x00FFFFFFu) != 0x00FFFFFFu) {
                last = x;
                break;
            }
    ::SelectObject(picture, oldFont);
    return std::max<int>(measured, last + 1);
}

void DrawTextLine(HDC dc, const std::wstring& text, const RECT& box, UINT format) {
    format |= DT_SINGLELINE;
    RECT r = box;
    if (format & (DT_CENTER | DT_RIGHT)) {
        const int drawn = DrawnTextWidth(dc, text);
        const int room = box.right - box.left;
        if (drawn <= room) {
            r.left = (format & DT_RIGHT) ? box.right - drawn : box.left + (room - drawn) / 2;
            r.right = r.left + drawn;
            format &= ~static_cast<UINT>(DT_CENTER | DT_RIGHT);
        }
    }
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}
