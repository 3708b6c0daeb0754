#pragma once
// A hidden frame with a rebar of two toolbars, a status bar and a view, as the main window
// builds its bars.
#include "framework/BarTestIds.h"
#include "framework/ControlBar.h"
#include "framework/FrameIds.h"
#include "framework/FrameWnd.h"
#include "framework/ImageList.h"
#include "framework/ReBar.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"
#include "framework/View.h"

namespace bar_test {

// Holds the update handler of command A: the route reaches the view first.
class BarView : public CView {
public:
    bool aEnabled = false;
    int aCheck = 1;
    void OnUpdateA(CCmdUI* ui) {
        ui->Enable(aEnabled);
        ui->SetCheck(aCheck);
    }
    DECLARE_MESSAGE_MAP()
};

class BarFrame : public CFrameWnd {
public:
    CReBar rebar;
    CToolBar first;     // row 1 of the rebar: A, B, a combo, C, LONG
    CToolBar second;    // row 2: the bar the toolbar toggle shows and hides
    CStatusBar status;
    CImageList images;
    HWND combo = nullptr;
    BarView* view = nullptr;
    int bCount = 0;

    // Creates the frame hidden, 640 × 480, with all its bars.
    bool Build();
    RECT ClientRect() const;
    // The rectangle of a child in the frame's client coordinates.
    RECT ChildRect(HWND child) const;

    void OnB() { ++bCount; }
    DECLARE_MESSAGE_MAP()
};

}  // namespace bar_test
