#include "ui/controls/DrawnText.h"
#include "ui/controls/DibDC.h"
#include <algorithm>

int DrawnTextWidth(HDC dc, const std::wstring& text) {
    if (text.empty()) return 0;
    SIZE advance{};
    if (!::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &advance)) return 0;
    // A text wider or taller than any screen (a tag of thousands of characters, a font size of
    // thousands of points from config.ini) is cut where it is drawn anyway; drawing it into a
    // bitmap at each paint would cost a hundred megabytes and more.
    if (advance.cx > 4096 || advance.cy > 4096) return advance.cx;
    // Draw black on white into a bitmap with room past the advance and find the last inked column.
    const int width = advance.cx + advance.cx / 4 + 8, height = std::max<LONG>(advance.cy, 1);
    CDibDC picture(dc, width, height);
    if (!picture.Ok()) return advance.cx;
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
    return std::max<int>(advance.cx, last + 1);
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
