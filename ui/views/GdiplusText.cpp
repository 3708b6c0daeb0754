#include "ui/views/GdiplusText.h"
#include <windows.h>
#include <gdiplus.h>

std::unique_ptr<Gdiplus::Font> MakeGdiplusFont(const std::wstring& face, float points, int style) {
    if (points <= 0) points = 9;
    std::unique_ptr<Gdiplus::Font> font(new Gdiplus::Font(face.c_str(), points, style, Gdiplus::UnitPoint));
    if (font->GetLastStatus() == Gdiplus::Ok && font->IsAvailable()) return font;
    const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif();
    if (generic) {
        font.reset(new Gdiplus::Font(generic, points, style, Gdiplus::UnitPoint));
        if (font->GetLastStatus() == Gdiplus::Ok) return font;
    }
    return nullptr;
}
