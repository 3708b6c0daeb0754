#include "app/AppSettings.h"
#include "app/RatingImages.h"
#include "support/TestFiles.h"
#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <vector>

using namespace testing_support;

namespace {

class RatingImagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
        settings.generic.imageInterpolationMode = 7;
    }
    void TearDown() override {
        if (list) ImageList_Destroy(list);
        Gdiplus::GdiplusShutdown(token);
    }

    // A solid square PNG of the given size and colour.
    std::wstring WritePng(const std::wstring& name, int size, Gdiplus::Color colour) {
        std::wstring path = dir.file(name);
        Gdiplus::Bitmap bitmap(size, size, PixelFormat32bppARGB);
        {
            Gdiplus::Graphics g(&bitmap);
            g.Clear(colour);
        }
        CLSID png{};
        UINT count = 0, bytes = 0;
        Gdiplus::GetImageEncodersSize(&count, &bytes);
        std::vector<BYTE> buffer(bytes);
        auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
        Gdiplus::GetImageEncoders(count, bytes, codecs);
        for (UINT i = 0; i < count; ++i)
            if (wcscmp(codecs[i].MimeType, L"image/png") == 0) png = codecs[i].Clsid;
        EXPECT_EQ(Gdiplus::Ok, bitmap.Save(path.c_str(), &png, nullptr));
        return path;
    }

    // The colour at (x, y) of image `index` drawn over blue.
    COLORREF DrawnPixel(int index, int x, int y) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, 16, 16};
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(dc, &all, blue);
        DeleteObject(blue);
        ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT);
        COLORREF c = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return c;
    }

    ULONG_PTR token = 0;
    TempDir dir;
    CAppSettings settings;
    HIMAGELIST list = nullptr;
};

}  // namespace

TEST_F(RatingImagesTest, BuiltInIconPairs) {
    for (int type : {0, 1}) {
        settings.generic.ratingType = type;
        ASSERT_TRUE(CreateRatingImageList(list, settings, true));
        EXPECT_EQ(2, ImageList_GetImageCount(list)) << type;
        int w = 0, h = 0;
        ImageList_GetIconSize(list, &w, &h);
        EXPECT_EQ(16, w);
        EXPECT_EQ(16, h);
        // The star's corners are transparent; its middle is drawn (the full star is filled).
        EXPECT_EQ(RGB(0, 0, 255), DrawnPixel(1, 0, 0)) << type;
        EXPECT_NE(RGB(0, 0, 255), DrawnPixel(1, 8, 8)) << type;
    }
    settings.generic.ratingType = 5;
    ASSERT_TRUE(CreateRatingImageList(list, settings, true));
    EXPECT_EQ(0, ImageList_GetImageCount(list));
}

TEST_F(RatingImagesTest, ImageFilesSmallOnesCentredOnWhite) {
    settings.generic.ratingType = -1;
    settings.generic.ratingIcon00 = WritePng(L"empty.png", 8, Gdiplus::Color(255, 0, 128, 0));
    settings.generic.ratingIcon10 = WritePng(L"full.png", 32, Gdiplus::Color(255, 255, 0, 0));
    ASSERT_TRUE(CreateRatingImageList(list, settings, true));
    EXPECT_EQ(-1, settings.generic.ratingType);
    ASSERT_EQ(2, ImageList_GetImageCount(list));
    // The 8x8 image sits at (4, 4) on white; white, the top-left colour, is transparent.
    EXPECT_EQ(RGB(0, 0, 255), DrawnPixel(0, 1, 1));
    EXPECT_EQ(RGB(0, 128, 0), DrawnPixel(0, 4, 4));
    EXPECT_EQ(RGB(0, 128, 0), DrawnPixel(0, 11, 11));
    EXPECT_EQ(RGB(0, 0, 255), DrawnPixel(0, 12, 12));
    // The larger image is scaled to the whole cell.
    EXPECT_EQ(RGB(255, 0, 0), DrawnPixel(1, 8, 8));
}

TEST_F(RatingImagesTest, UnloadableImageFiles) {
    settings.generic.ratingType = -1;
    settings.generic.ratingIcon00 = dir.file(L"missing.png");
    settings.generic.ratingIcon10 = WritePng(L"full.png", 16, Gdiplus::Color(255, 255, 0, 0));
    // Without verification: blank images, settings kept.
    ASSERT_TRUE(CreateRatingImageList(list, settings, false));
    EXPECT_EQ(2, ImageList_GetImageCount(list));
    EXPECT_EQ(-1, settings.generic.ratingType);
    EXPECT_EQ(RGB(0, 0, 255), DrawnPixel(0, 8, 8));

    // With verification: back to the built-in icons and no paths.
    ASSERT_TRUE(CreateRatingImageList(list, settings, true));
    EXPECT_EQ(0, settings.generic.ratingType);
    EXPECT_TRUE(settings.generic.ratingIcon00.empty());
    EXPECT_TRUE(settings.generic.ratingIcon10.empty());
    EXPECT_EQ(2, ImageList_GetImageCount(list));
}
