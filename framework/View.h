#pragma once
#include "framework/Wnd.h"

class CDocument;
class CFrameWnd;
class CObject;
class COleDataObject;
struct CCreateContext;

// A child window that shows a document. It hears about document changes through OnUpdate.
class CView : public CWnd {
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    // Creates the view as a child of `parent` for the document in `context`.
    virtual BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id, CCreateContext* context);

    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    BOOL OnCmdMsg(UINT id, UINT code, void* extra) override;

    // Drag and drop through a COleDropTarget registered for the view (effects are
    // DROPEFFECT_* values; points in client coordinates). By default nothing is accepted.
    virtual DWORD OnDragEnter(COleDataObject*, DWORD /*keyState*/, POINT) { return DROPEFFECT_NONE; }
    virtual DWORD OnDragOver(COleDataObject*, DWORD /*keyState*/, POINT) { return DROPEFFECT_NONE; }
    virtual void OnDragLeave() {}
    virtual BOOL OnDrop(COleDataObject*, DWORD /*effect*/, POINT) { return FALSE; }

    CDocument* m_pDocument = nullptr;

protected:
    virtual void OnDraw(HDC dc);
    void OnPaint();
    // Stops the frame from routing to, laying out or focusing a view that is going away.
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    bool m_destroying = false;
};
