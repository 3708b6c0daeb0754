#include "app/RatingImages.h"
#include "app/AppSettings.h"
#include "resources/resource.h"
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <memory>

namespace {

std::unique_ptr<Gdiplus::Bitmap> LoadImageFile(const std::wstring& path) {
    if (path.empty()) return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromFile(path.c_str()));
    if (!image || image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0 || image->GetHeight() == 0)
        return nullptr;
    return image;
}

// Draws the image (or nothing) on white in one cell and adds it, the colour of the
// top-left pixel being transparent.
void AddImageCell(HIMAGELIST list, Gdiplus::Bitmap* image, int width, int height, int interpolation) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    {
        Gdiplus::Graphics graphics(dc);
        graphics.SetInterpolationMode(static_cast<Gdiplus::InterpolationMode>(interpolation));
        graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
        if (image) {
            int w = static_cast<int>(image->GetWidth());
            int h = static_cast<int>(image->GetHeight());
            if (w < width && h < height)
                graphics.DrawImage(image, (width - w) / 2, (height - h) / 2, w, h);
            else
                graphics.DrawImage(image, 0, 0, width, height);
        }
    }
    COLORREF transparent = GetPixel(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(list, bitmap, transparent);
    DeleteObject(bitmap);
}

void AddIconResource(HIMAGELIST list, int id, int width, int height) {
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                               width, height, LR_DEFAULTCOLOR));
    if (!icon) return;
    ImageList_AddIcon(list, icon);
    DestroyIcon(icon);
}

}  // namespace

bool CreateRatingImageList(HIMAGELIST& imageList, CAppSettings& settings, bool verify) {
    CAppSettings::Generic& g = settings.generic;
    int width = g.ratingImageWidth;
    int height = g.ratingImageHeight;
    if (imageList) ImageList_Destroy(imageList);
    imageList = ImageList_Create(width, height, ILC_MASK | ILC_COLORDDB, 0, 5);
    if (!imageList) return false;

    if (g.ratingType == -1) {
        std::unique_ptr<Gdiplus::Bitmap> empty = LoadImageFile(g.ratingIcon00);
        std::unique_ptr<Gdiplus::Bitmap> full = LoadImageFile(g.ratingIcon10);
        if (verify && (!empty || !full)) {
            g.ratingType = 0;
            g.ratingIcon00.clear();
            g.ratingIcon10.clear();
        } else {
            AddImageCell(imageList, empty.get(), width, height, g.imageInterpolationMode);
            AddImageCell(imageList, full.get(), width, height, g.imageInterpolationMode);
            return true;
        }
    }
    if (g.ratingType == 0) {
        AddIconResource(imageList, IDI_RATING0_EMPTY, width, height);
        AddIconResource(imageList, IDI_RATING0_FULL, width, height);
    } else if (g.ratingType == 1) {
        AddIconResource(imageList, IDI_RATING1_EMPTY, width, height);
        AddIconResource(imageList, IDI_RATING1_FULL, width, height);
    }
    return true;
}
