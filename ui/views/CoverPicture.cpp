#include "ui/views/CoverPicture.h"

CoverFadeAlphas CoverFadeStep(int step) {
    if (step < 0) step = 0;
    if (step >= CoverFadeStepCount) step = CoverFadeStepCount - 1;
    const int s = step * 5;
    return CoverFadeAlphas{static_cast<BYTE>((100 - s) * 255 / 100), static_cast<BYTE>(s * 255 / 100)};
}

RECT FitImageRect(const RECT& target, int width, int height, bool zoom) {
    const int tw = target.right - target.left;
    const int th = target.bottom - target.top;
    if (width <= 0 || height <= 0 || tw <= 0 || th <= 0) return RECT{target.left, target.top, target.left, target.top};
    if (!zoom && width <= tw && height <= th) {
        const int x = target.left + (tw - width) / 2;
        const int y = target.top + (th - height) / 2;
        return RECT{x, y, x + width, y + height};
    }
    int w, h;
    if (width > height) {
        w = tw;
        h = static_cast<int>(static_cast<long long>(height) * tw / width);
        if (h > th) {   // a wide target that is lower than the scaled picture
            h = th;
            w = static_cast<int>(static_cast<long long>(width) * th / height);
        }
    } else {
        h = th;
        w = static_cast<int>(static_cast<long long>(width) * th / height);
        if (w > tw) {
            w = tw;
            h = static_cast<int>(static_cast<long long>(height) * tw / width);
        }
    }
    const int x = target.left + (tw - w) / 2;
    const int y = target.top + (th - h) / 2;
    return RECT{x, y, x + w, y + h};
}

int ChooseCoverZoom(int width, int height, int desktopWidth, int desktopHeight) {
    if (width > desktopWidth * 0.7 && height > desktopHeight * 0.7) return 50;
    if (width < 200 && height < 200) return 200;
    return 100;
}

int ClampCoverZoom(int zoom) { return zoom < 1 ? 1 : zoom; }

int KeepCoverAspect(int edge, RECT& window, int frameWidth, int frameHeight, int pictureWidth,
                    int pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return 100;
    int clientWidth = window.right - window.left - frameWidth;
    int clientHeight = window.bottom - window.top - frameHeight;
    if (clientWidth < 1) clientWidth = 1;
    if (clientHeight < 1) clientHeight = 1;
    const bool heightLeads = edge == WMSZ_TOP || edge == WMSZ_BOTTOM;
    if (heightLeads) {
        clientWidth = static_cast<int>(static_cast<long long>(clientHeight) * pictureWidth / pictureHeight);
        if (clientWidth < 1) clientWidth = 1;
        window.right = window.left + clientWidth + frameWidth;
    } else {
        clientHeight = static_cast<int>(static_cast<long long>(clientWidth) * pictureHeight / pictureWidth);
        if (clientHeight < 1) clientHeight = 1;
        // A drag at a top corner moves the top edge; every other drag moves the bottom.
        if (edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
            window.top = window.bottom - clientHeight - frameHeight;
        else
            window.bottom = window.top + clientHeight + frameHeight;
    }
    return ClampCoverZoom(static_cast<int>(static_cast<long long>(clientWidth) * 100 / pictureWidth));
}

bool IsCoverSizeDecodable(const tagReader::PictureSize& size) {
    const uint32_t kMaxSide = 16384;
    const uint64_t kMaxPixels = 64ull * 1024 * 1024;
    return size.width > 0 && size.height > 0 && size.width <= kMaxSide && size.height <= kMaxSide &&
           size.decodedPixels <= kMaxPixels;
}
