#include "ui/views/PaneViews.h"
#include "ui/views/InfoView.h"
#include "ui/views/Larkspur2006View.h"
#include "ui/views/LeftView.h"
#include "ui/views/MidView.h"
#include "ui/views/TagQueryView.h"

CView* CreateMainPaneView(MainPane pane) {
    switch (pane) {
    case MainPane::Information:
        return new CInfoView;
    case MainPane::QueryTree:
        return new CLeftView;
    case MainPane::GroupingBar:
        return new CMidView;
    case MainPane::GroupView:
        return new CTagQueryView;
    case MainPane::Playlist:
        return new CLarkspur2006View;
    default:
        return new CPlaceholderView(pane);
    }
}

namespace {
MainPaneViewFactory& InstalledFactory() {
    static MainPaneViewFactory factory;
    return factory;
}
}  // namespace

CView* MakeMainPaneView(MainPane pane) {
    const MainPaneViewFactory& factory = InstalledFactory();
    return factory ? factory(pane) : CreateMainPaneView(pane);
}

void SetMainPaneViewFactory(MainPaneViewFactory factory) { InstalledFactory() = std::move(factory); }
