#pragma once
#include <windows.h>

// Scoped selection of a GDI object into a device context: the constructor selects, the
// destructor puts the previous object back and deletes what the selector made.

// A solid pen one pixel wide.
class CPenSelector {
public:
    CPenSelector(HDC dc, COLORREF color);
    ~CPenSelector();
    CPenSelector(const CPenSelector&) = delete;
    CPenSelector& operator=(const CPenSelector&) = delete;

private:
    HDC m_dc;
    HPEN m_pen;
    HGDIOBJ m_old;
};

// A solid brush, or the stock null brush for the colour -1 (CLR_INVALID).
class CBrushSelector {
public:
    CBrushSelector(HDC dc, COLORREF color);
    ~CBrushSelector();
    CBrushSelector(const CBrushSelector&) = delete;
    CBrushSelector& operator=(const CBrushSelector&) = delete;

private:
    HDC m_dc;
    HBRUSH m_brush = nullptr;   // null for the stock brush, which is never deleted
    HGDIOBJ m_old;
};

// The device context's current font made bold (weight 700) or normal (weight 400); selects
// nothing when the font already has the asked weight.
class CBoldFontSelector {
public:
    CBoldFontSelector(bool bold, HDC dc);
    ~CBoldFontSelector();
    CBoldFontSelector(const CBoldFontSelector&) = delete;
    CBoldFontSelector& operator=(const CBoldFontSelector&) = delete;

private:
    HDC m_dc;
    HFONT m_font = nullptr;
    HGDIOBJ m_old = nullptr;
};

// Fills or frames (one pixel) a rectangle in a solid colour.
void FillSolidRect(HDC dc, const RECT& rect, COLORREF color);
void FrameSolidRect(HDC dc, const RECT& rect, COLORREF color);
