#include "framework/CtrlView.h"

BEGIN_MESSAGE_MAP(CCtrlView, CView)
    // Declines the view's own painting, so the control paints itself.
    {WM_PAINT, 0, 0, 0, nullptr, LARK_HANDLER(return false;)},
END_MESSAGE_MAP()

BOOL CCtrlView::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.lpszClass = m_className;
    cs.style |= m_style;
    return CView::PreCreateWindow(cs);
}

CListCtrl& CListView::GetListCtrl() const {
    m_control.m_hWnd = m_hWnd;
    return m_control;
}

CTreeCtrl& CTreeView::GetTreeCtrl() const {
    m_control.m_hWnd = m_hWnd;
    return m_control;
}
