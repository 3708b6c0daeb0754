#pragma once
#include <windows.h>
#include <ole2.h>
#include <map>
#include <string>

namespace testing_support {

// A data object such as another program puts on the clipboard or drags: it offers each
// format given to it in global memory. Created with one reference, released by its user.
class TestDataObject : public IDataObject {
public:
    TestDataObject() = default;
    void SetBytes(CLIPFORMAT format, const std::string& bytes) { m_formats[format] = bytes; }
    void SetUnicodeText(const std::wstring& text);   // CF_UNICODETEXT with its terminator
    void SetAnsiText(const std::string& text);       // CF_TEXT with its terminator
    LONG RefCount() const { return m_refs; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fe, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fe) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    virtual ~TestDataObject() = default;
    LONG m_refs = 1;
    std::map<CLIPFORMAT, std::string> m_formats;
};

// Calls OleInitialize before the first test of a program and OleUninitialize after the last.
void InstallOleEnvironment();

}  // namespace testing_support
