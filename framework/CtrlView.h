#pragma once
#include "framework/CommonCtrls.h"
#include "framework/View.h"

// A view that is a system control (a list or a tree): the control keeps its own painting,
// and the notifications it sends its parent come back to the view's map through the
// reflected rows (ON_NOTIFY_REFLECT, ON_WM_DRAWITEM_REFLECT, ...).
class CCtrlView : public CView {
public:
    CCtrlView(const wchar_t* className, DWORD style) : m_className(className), m_style(style) {}

protected:
    // Makes the window of the control's class with its styles; derived views add theirs.
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    DECLARE_MESSAGE_MAP()

private:
    const wchar_t* m_className;
    DWORD m_style;
};

// A view over a list-view control.
class CListView : public CCtrlView {
public:
    CListView() : CCtrlView(WC_LISTVIEWW, 0) {}
    // The control, as a wrapper of the view's own window.
    CListCtrl& GetListCtrl() const;

private:
    mutable CListCtrl m_control;
};

// A view over a tree-view control.
class CTreeView : public CCtrlView {
public:
    CTreeView() : CCtrlView(WC_TREEVIEWW, 0) {}
    CTreeCtrl& GetTreeCtrl() const;

private:
    mutable CTreeCtrl m_control;
};
