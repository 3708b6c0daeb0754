#pragma once
#include "framework/CmdTarget.h"
#include "framework/OleDataObject.h"
#include <windows.h>
#include <ole2.h>

class CWnd;

// A combination of DROPEFFECT_* values.
typedef DWORD DROPEFFECT;

// Makes a window an OLE drop target. The drag calls arrive as virtual calls with the point
// in the window's client coordinates; by default they go to the window when it is a view
// (CView's drop handlers), else nothing is accepted.
// The program (or test) must have called OleInitialize on the window's thread.
class COleDropTarget : public CCmdTarget {
public:
    COleDropTarget();
    ~COleDropTarget() override;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // Registers with OLE for `wnd`; FALSE when the window has no handle or OLE refuses.
    BOOL Register(CWnd* wnd);
    void Revoke();
    CWnd* GetWindow() const { return m_pWnd; }

    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point);
    virtual void OnDragLeave(CWnd* wnd);
    // TRUE when the data was taken; FALSE reports no effect to the source.
    virtual BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, POINT point);

    // The interface OLE calls (what RegisterDragDrop was given).
    IDropTarget* GetInterface() { return &m_xDropTarget; }

private:
    class XDropTarget : public IDropTarget {
    public:
        explicit XDropTarget(COleDropTarget* owner) : m_owner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt,
                                            DWORD* effect) override;
        HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
        HRESULT STDMETHODCALLTYPE DragLeave() override;
        HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt,
                                       DWORD* effect) override;

    private:
        COleDropTarget* m_owner;
        LONG m_refs = 0;   // the owner's lifetime decides; the count only answers OLE
    };

    POINT ToClient(POINTL pt) const;
    // The effect a handler answered, limited to what the source allows.
    static DROPEFFECT Allowed(DROPEFFECT answer, const DWORD* allowed);

    XDropTarget m_xDropTarget;
    CWnd* m_pWnd = nullptr;
    // The registered window's handle, kept apart so that revoking never touches a window
    // object that may already be gone.
    HWND m_hWndRegistered = nullptr;
    // The data of the drag in progress, from DragEnter to DragLeave or Drop.
    COleDataObject m_dataObject;
};
