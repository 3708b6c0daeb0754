#include "framework/View.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CView::~CView() {
    if (m_pDocument) m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const {
    for (HWND h = m_hWnd ? ::GetParent(m_hWnd) : nullptr; h; h = ::GetParent(h))
        if (auto* f = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h))) return f;
    return nullptr;
}

BOOL CView::Create(DWORD style, const RECT& rect, HWND parent, UINT id, CCreateContext* context) {
    if (context && context->document) context->document->AddView(this);
    return CreateEx(0, nullptr, L"", style, rect, parent, id);
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(); }

BOOL CView::OnCmdMsg(UINT id, UINT code, void* extra) {
    if (CWnd::OnCmdMsg(id, code, extra)) return TRUE;
    return m_pDocument ? m_pDocument->OnCmdMsg(id, code, extra) : FALSE;
}

void CView::OnDraw(HDC) {}

void CView::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    OnDraw(dc);
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        m_destroying = true;
        if (CFrameWnd* frame = GetParentFrame())
            if (frame->GetActiveView() == this) frame->SetActiveView(nullptr);
    }
    // The view the user works in is the one commands go to first; a view going away may
    // still get the focus while its frame is destroyed, and never becomes active again.
    if (msg == WM_SETFOCUS && !m_destroying)
        if (CFrameWnd* frame = GetParentFrame()) frame->SetActiveView(this);
    return CWnd::WindowProc(msg, wParam, lParam);
}

void CView::PostNcDestroy() { delete this; }
