#pragma once
#include <windows.h>
#include <string>

// Single-line text measured as it is drawn. Wine draws some small faces (Tahoma at 7 pt,
// bold or not) up to a tenth wider than GetTextExtentPoint32 and DrawText's DT_CALCRECT
// measure them, so a box sized from that measure, or text aligned by it, loses its last
// letters. These functions use the width the text's pixels actually take.

// The width `text` takes when drawn with the font selected into `dc`: its advance width
// (with the last letter's overhang), or the extent of its drawn pixels where those reach
// further. Only small fonts are drawn to find it.
int DrawnTextWidth(HDC dc, const std::wstring& text);
// The picture DrawnTextWidth draws `text` into, or 0 x 0 where the font's own measures are
// used: a small font's text no wider than a screen.
SIZE DrawnTextPictureSize(HDC dc, const std::wstring& text);

// DrawTextW of one line (DT_SINGLELINE is added), except that centred and right-aligned
// text that fits `box` is placed by its drawn width, so that it shows whole.
void DrawTextLine(HDC dc, const std::wstring& text, const RECT& box, UINT format);
