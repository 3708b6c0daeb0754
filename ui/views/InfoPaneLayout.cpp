#include "ui/views/InfoPaneLayout.h"

InfoPaneLayout LayoutInfoPane(int width, int height, int specHeight, int starWidth, int starHeight) {
    InfoPaneLayout l{};
    const int jacketSide = height - 34;
    l.jacket = RECT{8, 4, 8 + jacketSide, 4 + jacketSide};
    l.trackInfo = RECT{height - 16, 4, width - 194, height - 26};
    l.related = RECT{width - 398, 20, width - 196, height - 28};
    const int specTop = (height - specHeight) / 2;
    l.spectrum = RECT{width - 188, specTop, width - 188 + 180, specTop + specHeight};
    l.lyricsStrip = RECT{height - 16, height - 28, width - 188, height - 28 + 22};
    const int starLeft = (height - 5 * starWidth - 34) / 2 + 8;
    const int starTop = height - starHeight - 4;
    l.stars = RECT{starLeft, starTop, starLeft + 5 * starWidth, starTop + starHeight};
    return l;
}

int RatingFromStarClick(int x, const RECT& stars) {
    const int offset = x - stars.left + 8;
    if (offset < 0) return 0;
    const int rating = offset / 16 * 10;
    return rating > 50 ? 50 : rating;
}

void GetInfoTabPolygon(int index, int right, POINT corners[6]) {
    const int left = right - InfoTabStripWidth;
    const int a = 54 * index;
    corners[0] = POINT{left + 2, a + 1};
    corners[1] = POINT{right - 4, a + 1};
    corners[2] = POINT{right - 2, a + 3};
    corners[3] = POINT{right - 2, a + 44};
    corners[4] = POINT{right - 4, a + 50};
    corners[5] = POINT{left + 2, a + 70};
}

namespace {

bool InPolygon(POINT p, const POINT corners[6]) {
    HRGN region = ::CreatePolygonRgn(corners, 6, ALTERNATE);
    if (!region) return false;
    const bool inside = ::PtInRegion(region, p.x, p.y) != FALSE;
    ::DeleteObject(region);
    return inside;
}

}  // namespace

int HitInfoTab(POINT point, int right, int selected) {
    POINT corners[6];
    if (selected >= 0 && selected < InfoTabCount) {
        GetInfoTabPolygon(selected, right, corners);
        if (InPolygon(point, corners)) return -1;
    }
    for (int i = 0; i < InfoTabCount; ++i) {
        if (i == selected) continue;
        GetInfoTabPolygon(i, right, corners);
        if (InPolygon(point, corners)) return i;
    }
    return -1;
}

const wchar_t* PlayModeBoxText(int repeatMode) {
    switch (repeatMode) {
    case 0: return L"SINGLE";
    case 1: return L"SINGLE REPEAT";
    case 2: return L"LIST REPEAT";
    case 3: return L"LIST";
    case 4: return L"RANDOM";
    default: return L"";
    }
}

const wchar_t* PlayStateBoxText(int playState) {
    switch (playState) {
    case 2: return L"PAUSE";
    case 3: return L"ERROR!!";
    default: return L"PLAYING";
    }
}

StatusBoxLayout LayoutStatusBoxes(int right, int bottom, int textHeight, int stateTextWidth, int modeTextWidth,
                                  int equalizerTextWidth) {
    const int top = bottom - textHeight - 2;
    StatusBoxLayout l{};
    int edge = right - 20;
    auto next = [&](int width) {
        const RECT r{edge - width, top, edge, bottom - 2};
        edge = r.left - 2;
        return r;
    };
    l.equalizer = next(equalizerTextWidth + 4);
    l.mode = next(modeTextWidth + 2);
    l.state = next(stateTextWidth + 4);
    return l;
}
