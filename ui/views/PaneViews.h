#pragma once
#include "framework/View.h"
#include <functional>

// The five panes of the main window's splitter layout.
enum class MainPane {
    QueryTree,     // left, row 0
    GroupingBar,   // left, row 1
    GroupView,     // left, row 2
    Information,   // right, row 0
    Playlist       // right, row 1
};

// The view of one pane, made on the heap (the view deletes itself with its window). A pane
// whose view is not written yet gets a CPlaceholderView.
CView* CreateMainPaneView(MainPane pane);

// What the main frame calls to fill a pane: CreateMainPaneView unless a test has put a factory
// of its own in place (an empty one puts CreateMainPaneView back).
using MainPaneViewFactory = std::function<CView*(MainPane)>;
CView* MakeMainPaneView(MainPane pane);
void SetMainPaneViewFactory(MainPaneViewFactory factory);

// An empty view that holds a pane's place.
class CPlaceholderView : public CView {
public:
    explicit CPlaceholderView(MainPane pane) : m_pane(pane) {}
    MainPane GetPane() const { return m_pane; }

private:
    MainPane m_pane;
};
