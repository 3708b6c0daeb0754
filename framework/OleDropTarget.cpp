#include "framework/OleDropTarget.h"
#include "framework/View.h"
#include "framework/Wnd.h"

COleDropTarget::COleDropTarget() : m_xDropTarget(this) {}

COleDropTarget::~COleDropTarget() {
    Revoke();
}

BOOL COleDropTarget::Register(CWnd* wnd) {
    if (!wnd || !wnd->m_hWnd) return FALSE;
    Revoke();
    if (FAILED(::RegisterDragDrop(wnd->m_hWnd, &m_xDropTarget))) return FALSE;
    m_pWnd = wnd;
    m_hWndRegistered = wnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke() {
    m_dataObject.Release();
    if (m_hWndRegistered && ::IsWindow(m_hWndRegistered)) ::RevokeDragDrop(m_hWndRegistered);
    m_hWndRegistered = nullptr;
    m_pWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) {
    auto* view = dynamic_cast<CView*>(wnd);
    return view ? view->OnDragEnter(data, keyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) {
    auto* view = dynamic_cast<CView*>(wnd);
    return view ? view->OnDragOver(data, keyState, point) : DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* wnd) {
    if (auto* view = dynamic_cast<CView*>(wnd)) view->OnDragLeave();
}

BOOL COleDropTarget::OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, POINT point) {
    auto* view = dynamic_cast<CView*>(wnd);
    return view ? view->OnDrop(data, effect, point) : FALSE;
}

POINT COleDropTarget::ToClient(POINTL pt) const {
    POINT p{pt.x, pt.y};
    if (m_hWndRegistered) ::ScreenToClient(m_hWndRegistered, &p);
    return p;
}

DROPEFFECT COleDropTarget::Allowed(DROPEFFECT answer, const DWORD* allowed) {
    if (!allowed) return answer;
    // Scrolling is the target's own business; the operation must be one the source offers.
    const DROPEFFECT operation = answer & ~DROPEFFECT_SCROLL;
    if (operation && !(operation & *allowed)) return DROPEFFECT_NONE;
    return answer;
}

// ---- the OLE interface ----------------------------------------------------------------

HRESULT COleDropTarget::XDropTarget::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
        *ppv = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG COleDropTarget::XDropTarget::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_refs));
}

ULONG COleDropTarget::XDropTarget::Release() {
    return static_cast<ULONG>(::InterlockedDecrement(&m_refs));
}

HRESULT COleDropTarget::XDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL pt,
                                               DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    try {
        if (data) data->AddRef();
        m_owner->m_dataObject.Attach(data, TRUE);
        *effect = Allowed(m_owner->OnDragEnter(m_owner->m_pWnd, &m_owner->m_dataObject, keyState,
                                               m_owner->ToClient(pt)), &allowed);
    } catch (...) {
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

HRESULT COleDropTarget::XDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    try {
        *effect = Allowed(m_owner->OnDragOver(m_owner->m_pWnd, &m_owner->m_dataObject, keyState,
                                              m_owner->ToClient(pt)), &allowed);
    } catch (...) {
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

HRESULT COleDropTarget::XDropTarget::DragLeave() {
    try {
        m_owner->OnDragLeave(m_owner->m_pWnd);
    } catch (...) {
    }
    m_owner->m_dataObject.Release();
    return S_OK;
}

HRESULT COleDropTarget::XDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt,
                                          DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    try {
        if (data) data->AddRef();
        m_owner->m_dataObject.Attach(data, TRUE);
        const POINT point = m_owner->ToClient(pt);
        // The drop happens only where the target would take it; elsewhere it is a leave.
        const DROPEFFECT answer = Allowed(m_owner->OnDragOver(m_owner->m_pWnd, &m_owner->m_dataObject,
                                                              keyState, point), &allowed);
        const DROPEFFECT operation = answer & ~DROPEFFECT_SCROLL;
        if (operation != DROPEFFECT_NONE) {
            if (m_owner->OnDrop(m_owner->m_pWnd, &m_owner->m_dataObject, operation, point))
                *effect = operation;
        } else {
            m_owner->OnDragLeave(m_owner->m_pWnd);
        }
    } catch (...) {
        *effect = DROPEFFECT_NONE;
    }
    m_owner->m_dataObject.Release();
    return S_OK;
}
