#include "framework/Document.h"
#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include <algorithm>

CDocument::~CDocument() {
    for (CView* v : m_views) v->m_pDocument = nullptr;
    if (auto* t = dynamic_cast<CSingleDocTemplate*>(m_template)) t->DocumentClosed(this);
}

void CDocument::AddView(CView* view) {
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end()) {
        m_views.push_back(view);
        view->m_pDocument = this;
    }
}

void CDocument::RemoveView(CView* view) {
    auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it != m_views.end()) {
        m_views.erase(it);
        view->m_pDocument = nullptr;
    }
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject) {
    // A view may be added or removed while it is being updated: walk a copy.
    std::vector<CView*> views = m_views;
    for (CView* v : views)
        if (v != sender && std::find(m_views.begin(), m_views.end(), v) != m_views.end())
            v->OnUpdate(sender, hint, hintObject);
}

void CDocument::SetTitle(const std::wstring& title) {
    m_title = title;
    for (CView* v : m_views)
        if (CFrameWnd* f = v->GetParentFrame()) f->OnUpdateFrameTitle(TRUE);
}

BOOL CDocument::OnNewDocument() { return TRUE; }

void CDocument::OnCloseDocument() {}
