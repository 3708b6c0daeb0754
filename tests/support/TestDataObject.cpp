#include "support/TestDataObject.h"
#include <gtest/gtest.h>
#include <cstring>

namespace testing_support {

void TestDataObject::SetUnicodeText(const std::wstring& text) {
    SetBytes(CF_UNICODETEXT, std::string(reinterpret_cast<const char*>(text.c_str()),
                                         (text.size() + 1) * sizeof(wchar_t)));
}

void TestDataObject::SetAnsiText(const std::string& text) {
    SetBytes(CF_TEXT, std::string(text.c_str(), text.size() + 1));
}

HRESULT TestDataObject::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDataObject) {
        *ppv = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG TestDataObject::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

ULONG TestDataObject::Release() {
    const LONG n = ::InterlockedDecrement(&m_refs);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT TestDataObject::QueryGetData(FORMATETC* fe) {
    if (!fe) return E_INVALIDARG;
    if (!(fe->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    return m_formats.count(fe->cfFormat) ? S_OK : DV_E_FORMATETC;
}

HRESULT TestDataObject::GetData(FORMATETC* fe, STGMEDIUM* medium) {
    if (!fe || !medium) return E_INVALIDARG;
    const HRESULT hr = QueryGetData(fe);
    if (hr != S_OK) return hr;
    const std::string& bytes = m_formats[fe->cfFormat];
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
    if (!h) return E_OUTOFMEMORY;
    std::memcpy(::GlobalLock(h), bytes.data(), bytes.size());
    ::GlobalUnlock(h);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = h;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

namespace {
class OleEnvironment : public testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    void TearDown() override { ::OleUninitialize(); }
};
}

void InstallOleEnvironment() {
    static bool installed = false;
    if (!installed) testing::AddGlobalTestEnvironment(new OleEnvironment);
    installed = true;
}

}  // namespace testing_support
