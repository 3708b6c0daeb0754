#include "framework/OleDataObject.h"
#include <cstring>

namespace {
FORMATETC GlobalFormat(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}
}

void COleDataObject::Attach(IDataObject* dataObject, BOOL autoRelease) {
    Release();
    m_pDataObject = dataObject;
    m_autoRelease = autoRelease;
}

IDataObject* COleDataObject::Detach() {
    IDataObject* p = m_pDataObject;
    m_pDataObject = nullptr;
    m_autoRelease = FALSE;
    return p;
}

void COleDataObject::Release() {
    if (m_pDataObject && m_autoRelease) m_pDataObject->Release();
    m_pDataObject = nullptr;
    m_autoRelease = FALSE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format) const {
    if (!m_pDataObject) return FALSE;
    FORMATETC fe = GlobalFormat(format);
    return m_pDataObject->QueryGetData(&fe) == S_OK ? TRUE : FALSE;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format) const {
    if (!m_pDataObject) return nullptr;
    FORMATETC fe = GlobalFormat(format);
    STGMEDIUM medium{};
    if (FAILED(m_pDataObject->GetData(&fe, &medium))) return nullptr;
    HGLOBAL copy = nullptr;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        // The medium belongs to the source: hand out a copy of our own.
        const SIZE_T size = ::GlobalSize(medium.hGlobal);
        const void* src = ::GlobalLock(medium.hGlobal);
        if (src) {
            copy = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
            if (void* dst = copy ? ::GlobalLock(copy) : nullptr) {
                std::memcpy(dst, src, size);
                ::GlobalUnlock(copy);
            }
            ::GlobalUnlock(medium.hGlobal);
        }
    }
    ::ReleaseStgMedium(&medium);
    return copy;
}
