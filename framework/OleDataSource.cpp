#include "framework/OleDataSource.h"
#include <shlobj.h>

// ---- the data object OLE holds ---------------------------------------------------------

class COleDataSource::XDataObject : public IDataObject {
public:
    explicit XDataObject(COleDataSource* owner) : m_owner(owner) {}
    void Disconnect() { m_owner = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = ::InterlockedDecrement(&m_refs);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fe, STGMEDIUM* medium) override {
        if (!fe || !medium) return E_INVALIDARG;
        *medium = STGMEDIUM{};
        if (!m_owner) return E_UNEXPECTED;
        const FORMATETC* offered = m_owner->FindOffered(fe);
        if (!offered) return DV_E_FORMATETC;
        FORMATETC asked = *fe;
        asked.tymed &= offered->tymed;
        if (!m_owner->OnRenderData(&asked, medium)) return DV_E_FORMATETC;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fe) override {
        if (!fe) return E_INVALIDARG;
        if (!m_owner) return E_UNEXPECTED;
        return m_owner->FindOffered(fe) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (!out) return E_INVALIDARG;
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_INVALIDARG;
        *out = nullptr;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        if (!m_owner) return E_UNEXPECTED;
        const auto& formats = m_owner->m_formats;
        return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.empty() ? nullptr : formats.data(), out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~XDataObject() = default;
    COleDataSource* m_owner;
    LONG m_refs = 1;
};

// ---- the drop source of a drag ---------------------------------------------------------

namespace {

// Drops when the buttons that started the drag are all released; Escape cancels.
class DropSource : public IDropSource {
public:
    explicit DropSource(DWORD buttons) : m_buttons(buttons) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *ppv = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack of the drag: the count only answers OLE.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keyState) override {
        if (escape) return DRAGDROP_S_CANCEL;
        if ((keyState & m_buttons) == 0) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    DWORD m_buttons;
};

class SystemDragDropRunner : public IDragDropRunner {
public:
    DROPEFFECT Run(IDataObject* data, DWORD allowedEffects) override {
        DWORD buttons = 0;
        if (::GetKeyState(VK_LBUTTON) < 0) buttons |= MK_LBUTTON;
        if (::GetKeyState(VK_RBUTTON) < 0) buttons |= MK_RBUTTON;
        if (::GetKeyState(VK_MBUTTON) < 0) buttons |= MK_MBUTTON;
        if (buttons == 0) return DROPEFFECT_NONE;   // the button went up before the drag began
        DropSource source(buttons);
        DWORD effect = DROPEFFECT_NONE;
        const HRESULT hr = ::DoDragDrop(data, &source, allowedEffects, &effect);
        return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
    }
};

SystemDragDropRunner g_systemRunner;
IDragDropRunner* g_runner = nullptr;

}  // namespace

IDragDropRunner* AfxSetDragDropRunner(IDragDropRunner* runner) {
    IDragDropRunner* previous = g_runner;
    g_runner = runner;
    return previous;
}

// ---- COleDataSource ----------------------------------------------------------------------

COleDataSource::COleDataSource() : m_object(new XDataObject(this)) {}

COleDataSource::~COleDataSource() {
    m_object->Disconnect();
    m_object->Release();
}

void COleDataSource::DelayRenderData(CLIPFORMAT format, const FORMATETC* formatEtc) {
    FORMATETC fe = formatEtc ? *formatEtc : FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    fe.cfFormat = format;
    fe.ptd = nullptr;
    for (FORMATETC& existing : m_formats) {
        if (existing.cfFormat == format && existing.dwAspect == fe.dwAspect) {
            existing = fe;
            return;
        }
    }
    m_formats.push_back(fe);
}

void COleDataSource::Empty() { m_formats.clear(); }

const FORMATETC* COleDataSource::FindOffered(const FORMATETC* fe) const {
    for (const FORMATETC& offered : m_formats) {
        if (offered.cfFormat == fe->cfFormat && offered.dwAspect == fe->dwAspect &&
            (offered.tymed & fe->tymed) != 0)
            return &offered;
    }
    return nullptr;
}

IDataObject* COleDataSource::GetDataObject() {
    m_object->AddRef();
    return m_object;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD effects, const RECT*) {
    IDataObject* data = GetDataObject();
    DROPEFFECT result = DROPEFFECT_NONE;
    IDragDropRunner* runner = g_runner ? g_runner : &g_systemRunner;
    result = runner->Run(data, effects);
    data->Release();
    return result;
}

BOOL COleDataSource::OnRenderGlobalData(const FORMATETC*, HGLOBAL*) { return FALSE; }

BOOL COleDataSource::OnRenderData(const FORMATETC* fe, STGMEDIUM* medium) {
    if (!(fe->tymed & TYMED_HGLOBAL)) return FALSE;
    HGLOBAL global = nullptr;
    if (!OnRenderGlobalData(fe, &global) || !global) return FALSE;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = global;
    medium->pUnkForRelease = nullptr;
    return TRUE;
}
