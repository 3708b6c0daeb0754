// The import readers' walks over the two COM components: MSXML's DOM for the iTunes export
// and the Windows Media Player automation object, reached through its dispatch interface.
#include "framework/MessageBox.h"
#include "ui/dialogs/ImportReaders.h"
#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>

namespace {

const CLSID kClsidDomDocument = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
const IID kIidDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const CLSID kClsidWmp = {0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
const IID kIidWmpCore = {0x6BF52A4F, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};

// A COM pointer released when it goes.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T** Out() {
        Reset();
        return &m_p;
    }
    T* operator->() const { return m_p; }
    T* get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    void Reset() {
        if (m_p) m_p->Release();
        m_p = nullptr;
    }
    T* Detach() {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

private:
    T* m_p = nullptr;
};

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text) : m_b(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(m_b); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR* Out() {
        SysFreeString(m_b);
        m_b = nullptr;
        return &m_b;
    }
    BSTR get() const { return m_b; }
    std::wstring str() const { return m_b ? std::wstring(m_b, SysStringLen(m_b)) : std::wstring(); }

private:
    BSTR m_b = nullptr;
};

bool NodeText(IXMLDOMNode* node, std::wstring& text) {
    Bstr value;
    if (FAILED(node->get_text(value.Out()))) return false;
    text = value.str();
    return true;
}

// The key/value pairs of one track dictionary, until a key or a value is missing.
std::vector<std::pair<std::wstring, std::wstring>> DictionaryPairs(IXMLDOMNode* dict) {
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    ComRef<IXMLDOMNodeList> children;
    if (FAILED(dict->get_childNodes(children.Out())) || !children) return pairs;
    for (;;) {
        ComRef<IXMLDOMNode> key, value;
        if (children->nextNode(key.Out()) != S_OK || !key) break;
        if (children->nextNode(value.Out()) != S_OK || !value) break;
        std::pair<std::wstring, std::wstring> pair;
        if (!NodeText(key.get(), pair.first) || !NodeText(value.get(), pair.second)) break;
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

}  // namespace

ImportReadResult ReadItunesLibraryXml(const std::wstring& path, const ImportSink& sink) {
    ImportReadResult result;
    ComRef<IXMLDOMDocument> document;
    if (FAILED(CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_INPROC_SERVER, kIidDomDocument,
                                reinterpret_cast<void**>(document.Out()))) ||
        !document) {
        AfxMessageBox(L"MSXML initialize error.", MB_OK | MB_ICONERROR);
        result.failed = true;
        return result;
    }
    document->put_async(VARIANT_FALSE);
    // The export names Apple's DTD on the web: never fetch or validate against it.
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
    VARIANT_BOOL loaded = VARIANT_FALSE;
    const HRESULT hr = document->load(source, &loaded);
    VariantClear(&source);
    if (FAILED(hr) || loaded != VARIANT_TRUE) {
        AfxMessageBox(L"XML load error.", MB_OK | MB_ICONERROR);
        result.failed = true;
        return result;
    }
    ComRef<IXMLDOMNode> tracks;
    Bstr query(L"//dict/dict");
    if (document->selectSingleNode(query.get(), tracks.Out()) != S_OK || !tracks) {
        AfxMessageBox(L"XML format error.", MB_OK | MB_ICONERROR);
        result.failed = true;
        return result;
    }
    ComRef<IXMLDOMNodeList> children;
    if (FAILED(tracks->get_childNodes(children.Out())) || !children) return result;
    for (;;) {
        ComRef<IXMLDOMNode> key, value;
        if (children->nextNode(key.Out()) != S_OK || !key) break;
        if (children->nextNode(value.Out()) != S_OK || !value) break;
        TrackRecord record;
        // A track that cannot be imported is passed over; the ones after it still are.
        if (MapItunesTrack(DictionaryPairs(value.get()), record) != ItunesTrackResult::Taken) {
            ++result.skipped;
            continue;
        }
        ++result.taken;
        sink(std::move(record));
    }
    return result;
}

// ---- Windows Media Player ------------------------------------------------------------

namespace {

// Property get or method call `name` on `object` with up to one argument.
bool Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* argument, VARIANT& result) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    DISPPARAMS params = {argument, nullptr, argument ? 1u : 0u, 0};
    VariantInit(&result);
    return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, nullptr, nullptr));
}

bool GetObject(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* argument, ComRef<IDispatch>& out) {
    VARIANT v;
    if (!Invoke(object, name, flags, argument, v)) return false;
    const bool ok = v.vt == VT_DISPATCH && v.pdispVal;
    if (ok) {
        *out.Out() = v.pdispVal;
        v.pdispVal->AddRef();
    }
    VariantClear(&v);
    return ok;
}

class DispatchItem : public IWmpMediaItem {
public:
    explicit DispatchItem(IDispatch* media) : m_media(media) {}
    ~DispatchItem() override { m_media->Release(); }
    bool GetItemInfo(const wchar_t* name, std::wstring& value) override {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_BSTR;
        argument.bstrVal = SysAllocString(name);
        VARIANT v;
        const bool called = Invoke(m_media, L"getItemInfo", DISPATCH_METHOD, &argument, v);
        VariantClear(&argument);
        if (!called) return false;
        const bool ok = SUCCEEDED(VariantChangeType(&v, &v, 0, VT_BSTR));
        value = ok && v.bstrVal ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal)) : std::wstring();
        VariantClear(&v);
        return ok;
    }

private:
    IDispatch* m_media;
};

class DispatchCollection : public IWmpMediaCollection {
public:
    DispatchCollection(IDispatch* player, IDispatch* all) : m_player(player), m_all(all) {}
    ~DispatchCollection() override {
        m_all->Release();
        m_player->Release();
    }
    int GetCount() override {
        VARIANT v;
        if (!Invoke(m_all, L"count", DISPATCH_PROPERTYGET, nullptr, v)) return 0;
        const bool ok = SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4));
        const int count = ok ? v.lVal : 0;
        VariantClear(&v);
        return count;
    }
    std::unique_ptr<IWmpMediaItem> GetItem(int index) override {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_I4;
        argument.lVal = index;
        ComRef<IDispatch> media;
        if (!GetObject(m_all, L"item", DISPATCH_PROPERTYGET | DISPATCH_METHOD, &argument, media)) return nullptr;
        return std::make_unique<DispatchItem>(media.Detach());
    }

private:
    IDispatch* m_player;
    IDispatch* m_all;
};

}  // namespace

std::unique_ptr<IWmpMediaCollection> OpenWmpLibrary() {
    ComRef<IUnknown> core;
    if (FAILED(CoCreateInstance(kClsidWmp, nullptr, CLSCTX_INPROC_SERVER, kIidWmpCore,
                                reinterpret_cast<void**>(core.Out()))) ||
        !core)
        return nullptr;
    ComRef<IDispatch> player;
    if (FAILED(core->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(player.Out()))) || !player) return nullptr;
    ComRef<IDispatch> collection, all;
    if (!GetObject(player.get(), L"mediaCollection", DISPATCH_PROPERTYGET, nullptr, collection)) return nullptr;
    if (!GetObject(collection.get(), L"getAll", DISPATCH_METHOD, nullptr, all)) return nullptr;
    return std::make_unique<DispatchCollection>(player.Detach(), all.Detach());
}

ImportReadResult ReadWmpLibrary(const ImportSink& sink) {
    std::unique_ptr<IWmpMediaCollection> collection = OpenWmpLibrary();
    if (!collection) return ImportReadResult();
    return ReadWmpCollection(*collection, sink);
}
