#pragma once
#include <memory>
#include <string>

namespace Gdiplus { class Font; }

// A GDI+ font of `face` at `points`; a face GDI+ does not know falls back to its generic
// sans-serif face, so that text never silently vanishes. Null only when GDI+ has no font.
std::unique_ptr<Gdiplus::Font> MakeGdiplusFont(const std::wstring& face, float points, int style = 0);
