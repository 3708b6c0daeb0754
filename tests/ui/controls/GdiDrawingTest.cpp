// The buffered device context and the scoped GDI selectors, drawn into bitmaps whose
// pixels the tests read back.
#include "ui/controls/BufferDC.h"
#include "ui/controls/GdiSelectors.h"
#include <gtest/gtest.h>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// A screen-compatible memory device context over a bitmap filled with white.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {
        HDC screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(screen);
        m_bitmap = ::CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(nullptr, screen);
        m_old = ::SelectObject(m_dc, m_bitmap);
        Fill(RECT{0, 0, width, height}, kWhite);
    }
    ~Canvas() {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    void Fill(const RECT& r, COLORREF c) const { Fill(m_dc, r, c); }
    static void Fill(HDC dc, const RECT& r, COLORREF c) {
        HBRUSH b = ::CreateSolidBrush(c);
        ::FillRect(dc, &r, b);
        ::DeleteObject(b);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

}  // namespace

TEST(BufferDC, EmptyRectangleCoversTheTargetsClipBox) {
    Canvas canvas(60, 40);
    {
        CBufferDC buffer(RECT{}, canvas.dc());
        EXPECT_EQ(0, buffer.GetRect().left);
        EXPECT_EQ(0, buffer.GetRect().top);
        EXPECT_EQ(60, buffer.GetRect().right);
        EXPECT_EQ(40, buffer.GetRect().bottom);
        Canvas::Fill(buffer, RECT{0, 0, 60, 40}, kRed);
        EXPECT_EQ(kWhite, canvas.At(30, 20));   // nothing reaches the target before the end
    }
    for (int y = 0; y < canvas.height(); y += 13)
        for (int x = 0; x < canvas.width(); x += 11) EXPECT_EQ(kRed, canvas.At(x, y)) << x << "," << y;

    HRGN clip = ::CreateRectRgn(5, 6, 25, 16);
    ::SelectClipRgn(canvas.dc(), clip);
    ::DeleteObject(clip);
    CBufferDC clipped(RECT{}, canvas.dc());
    EXPECT_EQ(5, clipped.GetRect().left);
    EXPECT_EQ(6, clipped.GetRect().top);
    EXPECT_EQ(25, clipped.GetRect().right);
    EXPECT_EQ(16, clipped.GetRect().bottom);
}

TEST(BufferDC, CopiesBackOnlyItsRectangleInTheTargetsCoordinates) {
    Canvas canvas(60, 40);
    {
        CBufferDC buffer(RECT{10, 10, 40, 30}, canvas.dc());
        Canvas::Fill(buffer, RECT{0, 0, 60, 40}, kRed);   // spills over on every side
        ::SetPixel(buffer, 10, 10, kBlue);
        ::SetPixel(buffer, 39, 29, kBlue);
    }
    EXPECT_EQ(kBlue, canvas.At(10, 10));
    EXPECT_EQ(kBlue, canvas.At(39, 29));
    EXPECT_EQ(kRed, canvas.At(11, 10));
    EXPECT_EQ(kRed, canvas.At(25, 20));
    const POINT outside[] = {{9, 9}, {9, 20}, {25, 9}, {40, 20}, {25, 30}, {40, 30}, {0, 0}, {59, 39}};
    for (POINT p : outside) EXPECT_EQ(kWhite, canvas.At(p.x, p.y)) << p.x << "," << p.y;
}

TEST(GdiSelectors, PenAndBrushAreSelectedAndThePreviousOnesRestored) {
    Canvas canvas(10, 10);
    HGDIOBJ pen = ::GetCurrentObject(canvas.dc(), OBJ_PEN);
    HGDIOBJ brush = ::GetCurrentObject(canvas.dc(), OBJ_BRUSH);
    {
        CPenSelector penSel(canvas.dc(), RGB(1, 2, 3));
        LOGPEN lp{};
        ASSERT_TRUE(::GetObjectW(::GetCurrentObject(canvas.dc(), OBJ_PEN), sizeof lp, &lp));
        EXPECT_EQ(static_cast<UINT>(PS_SOLID), lp.lopnStyle);
        EXPECT_EQ(1, lp.lopnWidth.x);
        EXPECT_EQ(RGB(1, 2, 3), lp.lopnColor);

        CBrushSelector brushSel(canvas.dc(), RGB(4, 5, 6));
        LOGBRUSH lb{};
        ASSERT_TRUE(::GetObjectW(::GetCurrentObject(canvas.dc(), OBJ_BRUSH), sizeof lb, &lb));
        EXPECT_EQ(static_cast<UINT>(BS_SOLID), lb.lbStyle);
        EXPECT_EQ(RGB(4, 5, 6), lb.lbColor);
        {
            CBrushSelector none(canvas.dc(), static_cast<COLORREF>(-1));
            EXPECT_EQ(::GetStockObject(NULL_BRUSH), ::GetCurrentObject(canvas.dc(), OBJ_BRUSH));
        }
        ASSERT_TRUE(::GetObjectW(::GetCurrentObject(canvas.dc(), OBJ_BRUSH), sizeof lb, &lb));
        EXPECT_EQ(RGB(4, 5, 6), lb.lbColor);
    }
    EXPECT_EQ(pen, ::GetCurrentObject(canvas.dc(), OBJ_PEN));
    EXPECT_EQ(brush, ::GetCurrentObject(canvas.dc(), OBJ_BRUSH));
}

TEST(GdiSelectors, BoldFontSelectorChangesOnlyTheWeightAndOnlyWhenNeeded) {
    Canvas canvas(10, 10);
    auto makeFont = [](LONG weight) {
        LOGFONTW lf{};
        lf.lfHeight = -13;
        lf.lfWeight = weight;
        lf.lfItalic = TRUE;
        lf.lfCharSet = DEFAULT_CHARSET;
        wcscpy(lf.lfFaceName, L"Tahoma");
        return ::CreateFontIndirectW(&lf);
    };
    auto currentFont = [&] { return static_cast<HFONT>(::GetCurrentObject(canvas.dc(), OBJ_FONT)); };
    auto weightOf = [](HFONT f) {
        LOGFONTW lf{};
        ::GetObjectW(f, sizeof lf, &lf);
        return lf;
    };
    HFONT normal = makeFont(FW_NORMAL);
    HFONT bold = makeFont(FW_BOLD);
    HGDIOBJ original = ::SelectObject(canvas.dc(), normal);

    struct Case {
        const char* name;
        HFONT start;
        bool askBold;
        bool selects;
        LONG weight;
    } cases[] = {
        {"bold asked on a normal font", normal, true, true, FW_BOLD},
        {"bold asked on a bold font", bold, true, false, FW_BOLD},
        {"normal asked on a bold font", bold, false, true, FW_NORMAL},
        {"normal asked on a normal font", normal, false, false, FW_NORMAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::SelectObject(canvas.dc(), c.start);
        {
            CBoldFontSelector sel(c.askBold, canvas.dc());
            EXPECT_EQ(c.selects, currentFont() != c.start);
            const LOGFONTW lf = weightOf(currentFont());
            EXPECT_EQ(c.weight, lf.lfWeight);
            EXPECT_TRUE(lf.lfItalic);
            EXPECT_STREQ(L"Tahoma", lf.lfFaceName);
        }
        EXPECT_EQ(c.start, currentFont());
    }
    ::SelectObject(canvas.dc(), original);
    ::DeleteObject(normal);
    ::DeleteObject(bold);
}
