#include "ui/views/PaneViews.h"
#include "ui/views/InfoView.h"
#include "ui/views/Larkspur2006View.h"

CView* CreateMainPaneView(MainPane pane) {
    switch (pane) {
    case MainPane::Information:
        return new CInfoView;
    case MainPane::Playlist:
        return new CLarkspur2006View;
    default:
        return new CPlaceholderView(pane);
    }
}
