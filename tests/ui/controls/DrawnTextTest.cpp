// The width of a line as it is drawn: every inked pixel lies within it, at small sizes
// (which Wine draws wider than their advance) and at large ones (measured without drawing).
#include "ui/controls/DibDC.h"
#include "ui/controls/DrawnText.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>

namespace {

// A font of `pixels` em height selected into a screen-compatible context for its life.
class FontDC {
public:
    FontDC(const wchar_t* face, int pixels, int weight) {
        m_dc = ::CreateCompatibleDC(nullptr);
        LOGFONTW lf{};
        lf.lfHeight = -pixels;
        lf.lfWeight = weight;
        lf.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        m_font = ::CreateFontIndirectW(&lf);
        m_old = ::SelectObject(m_dc, m_font);
    }
    ~FontDC() {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_font);
        ::DeleteDC(m_dc);
    }
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
};

// One past the rightmost pixel `text` inks when drawn at x = 0 with the font of `dc`.
int InkRight(HDC dc, const std::wstring& text) {
    SIZE advance{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &advance);
    const int width = advance.cx * 2 + 64, height = advance.cy + 8;
    CDibDC picture(dc, width, height);
    if (!picture.Ok()) return -1;
    HGDIOBJ old = ::SelectObject(picture, ::GetCurrentObject(dc, OBJ_FONT));
    std::fill(picture.Pixels(), picture.Pixels() + width * height, 0x00FFFFFFu);
    ::SetBkMode(picture, TRANSPARENT);
    ::SetTextColor(picture, RGB(0, 0, 0));
    ::TextOutW(picture, 0, 0, text.c_str(), static_cast<int>(text.size()));
    ::GdiFlush();
    ::SelectObject(picture, old);
    for (int x = width - 1; x >= 0; --x)
        for (int y = 0; y < height; ++y)
            if ((picture.Pixels()[y * width + x] & 0x00FFFFFFu) != 0x00FFFFFFu) return x + 1;
    return 0;
}

}  // namespace

TEST(DrawnText, EveryInkedPixelLiesWithinTheWidthAtSmallAndLargeSizes) {
    const wchar_t* const faces[] = {L"Tahoma", L"MS UI Gothic"};
    const wchar_t* const texts[] = {L"Wf", L"再生中 - アーティスト", L"The quick brown fox jumps over the lazy dog 0123456789"};
    for (const wchar_t* face : faces)
        for (int weight : {FW_NORMAL, FW_BOLD})
            for (int pixels : {7, 9, 12, 16, 30, 60, 90})
                for (const wchar_t* text : texts) {
                    FontDC dc(face, pixels, weight);
                    const int ink = InkRight(dc, text);
                    ASSERT_GE(ink, 0);
                    EXPECT_GE(DrawnTextWidth(dc, text), ink) << face << " " << weight << " " << pixels << " px " << text;
                }
}

TEST(DrawnText, OnlySmallFontsAreDrawnToMeasureThem) {
    const std::wstring text = L"再生中 Now Playing";
    {
        FontDC dc(L"Tahoma", 9, FW_NORMAL);
        const SIZE picture = DrawnTextPictureSize(dc, text);
        SIZE advance{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &advance);
        EXPECT_GT(picture.cx, advance.cx) << "room past the advance";
        EXPECT_GT(picture.cy, 0);
    }
    // A font size of thousands of points, as config.ini may hold, is measured by the font.
    for (int pixels : {60, 4000}) {
        FontDC dc(L"Tahoma", pixels, FW_BOLD);
        const SIZE picture = DrawnTextPictureSize(dc, text);
        EXPECT_EQ(0, picture.cx) << pixels;
        EXPECT_EQ(0, picture.cy) << pixels;
        SIZE advance{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &advance);
        EXPECT_GE(DrawnTextWidth(dc, text), advance.cx) << pixels;
    }
    FontDC dc(L"Tahoma", 9, FW_NORMAL);
    EXPECT_EQ(0, DrawnTextPictureSize(dc, L"").cx);
    EXPECT_EQ(0, DrawnTextWidth(dc, L""));
}
