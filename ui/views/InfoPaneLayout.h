#pragma once
#include <windows.h>

// Where the parts of the now-playing pane go for a client size, in client pixels.
struct InfoPaneLayout {
    RECT jacket;        // cover image button
    RECT trackInfo;     // track information block
    RECT related;       // related-albums box
    RECT spectrum;      // spectrum window
    RECT lyricsStrip;   // current lyrics line
    RECT stars;         // five rating stars
};

// Lays the pane out for client size width x height, spectrum height specHeight and rating
// images starWidth x starHeight. The jacket is (height - 34) square at (8, 4), so a pane
// "Image.Size" + 34 high shows it at "Image.Size".
InfoPaneLayout LayoutInfoPane(int width, int height, int specHeight, int starWidth, int starHeight);

// The rating a click at x sets: each star's left half belongs to the rating below it.
int RatingFromStarClick(int x, const RECT& stars);

// Width of the vertical tab strip on the information pane's right edge.
constexpr int InfoTabStripWidth = 20;
constexpr int InfoTabCount = 2;

// The six corners of tab `index` of the strip whose right edge is `right`.
void GetInfoTabPolygon(int index, int right, POINT corners[6]);
// The tab a click selects: -1 when the point is on the selected tab or on no tab.
int HitInfoTab(POINT point, int right, int selected);

// Texts of the pane's status boxes.
const wchar_t* PlayModeBoxText(int repeatMode);
const wchar_t* PlayStateBoxText(int playState);

// The play-state, play-mode and equaliser boxes along the pane's bottom edge, right to left:
// the equaliser box ends 20 pixels left of `right`, each next box 2 pixels left of the one
// before; all span from bottom - textHeight - 2 to bottom - 2. The widths are the widest
// caption's drawn width plus 4 (state and equaliser) or plus 2 (mode).
struct StatusBoxLayout {
    RECT state;
    RECT mode;
    RECT equalizer;
};
StatusBoxLayout LayoutStatusBoxes(int right, int bottom, int textHeight, int stateTextWidth, int modeTextWidth,
                                  int equalizerTextWidth);
