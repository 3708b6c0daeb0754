#pragma once
#include <windows.h>
#include <commctrl.h>
#include <map>
#include <utility>

// The five rating stars of a play-list row as one picture: drawn once per (stars, background)
// and copied after, instead of five image-list draws per row (about a millisecond per row
// under Wine, most of a paint). The picture is what the five draws give over that background.
class CRatingStrips {
public:
    CRatingStrips() = default;
    CRatingStrips(const CRatingStrips&) = delete;
    CRatingStrips& operator=(const CRatingStrips&) = delete;
    ~CRatingStrips() { Clear(); }

    void Clear();

    // The stars of `rating` (star k full from 10 * k on) at `x`, `y`, `spacing` pixels apart,
    // over a background of `back`, as ImageList_Draw(images, full ? 1 : 0, ..., ILD_NORMAL)
    // five times would draw them. `cell` bounds the copy: where the stars reach beyond it (a
    // narrow column, a low row), they are drawn one by one, so that what lies around them shows.
    void Draw(HDC dc, HIMAGELIST images, int rating, int x, int y, int spacing, COLORREF back, const RECT& cell);

private:
    HBITMAP Strip(HDC dc, HIMAGELIST images, int full, int spacing, COLORREF back, SIZE size);

    HIMAGELIST m_images = nullptr;   // the cache holds strips of this list at this spacing
    int m_spacing = 0;
    std::map<std::pair<int, COLORREF>, HBITMAP> m_strips;
};

// The five image-list draws of the stars, one by one.
void DrawRatingStars(HDC dc, HIMAGELIST images, int rating, int x, int y, int spacing);
