// The import readers' walks over the two COM components: MSXML's DOM for the iTunes export
// and the Windows Media Player automation object, reached through its dispatch interface.
#include "app/TextFile.h"
#include "framework/MessageBox.h"
#include "ui/dialogs/ImportReaders.h"
#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

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
    void Take(ComRef& other) {
        Reset();
        m_p = other.Detach();
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

// Moves `node` on to the next of its siblings; false (and `node` empty) after the last.
bool NextSibling(ComRef<IXMLDOMNode>& node) {
    ComRef<IXMLDOMNode> next;
    if (node->get_nextSibling(next.Out()) != S_OK) next.Reset();
    node.Take(next);
    return static_cast<bool>(node);
}

bool FirstChild(IXMLDOMNode* parent, ComRef<IXMLDOMNode>& child) {
    return parent->get_firstChild(child.Out()) == S_OK && child;
}

// The key/value pairs of one track dictionary, until a key or a value is missing. Siblings
// are followed one by one: a child list answers by index, which costs more the longer it is.
std::vector<std::pair<std::wstring, std::wstring>> DictionaryPairs(IXMLDOMNode* dict) {
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    ComRef<IXMLDOMNode> key;
    if (!FirstChild(dict, key)) return pairs;
    for (;;) {
        ComRef<IXMLDOMNode> value;
        if (key->get_nextSibling(value.Out()) != S_OK || !value) break;
        std::pair<std::wstring, std::wstring> pair;
        if (!NodeText(key.get(), pair.first)) break;
        if (IsItunesTrackKey(pair.first) && !NodeText(value.get(), pair.second)) break;
        pairs.push_back(std::move(pair));
        if (!NextSibling(value)) break;
        key.Take(value);
    }
    return pairs;
}

bool IsElementNamed(IXMLDOMNode* node, const wchar_t* name) {
    DOMNodeType type = NODE_INVALID;
    if (FAILED(node->get_nodeType(&type)) || type != NODE_ELEMENT) return false;
    Bstr nodeName;
    return SUCCEEDED(node->get_nodeName(nodeName.Out())) && nodeName.get() && wcscmp(nodeName.get(), name) == 0;
}

// What "//dict/dict" selects first: the first "dict" element, in document order, whose parent
// is a "dict" element. Walked node by node up to that element, since the selection itself
// gathers every match of the whole document first.
bool FindTrackDictionary(IXMLDOMDocument* document, ComRef<IXMLDOMNode>& found) {
    // From the root element: its siblings (the declaration, the document type) hold no
    // elements, and the platform's MSXML cannot step past a document type node.
    ComRef<IXMLDOMElement> root;
    if (document->get_documentElement(root.Out()) != S_OK || !root) return false;
    ComRef<IXMLDOMNode> node;
    if (FAILED(root->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(node.Out()))) || !node) return false;
    std::vector<bool> parentIsDict{false};   // for each level down to the current node
    for (;;) {
        const bool isDict = IsElementNamed(node.get(), L"dict");
        if (isDict && parentIsDict.back()) {
            found.Take(node);
            return true;
        }
        ComRef<IXMLDOMNode> child;
        if (FirstChild(node.get(), child)) {
            parentIsDict.push_back(isDict);
            node.Take(child);
            continue;
        }
        // No children: the next sibling of the node or of its nearest ancestor that has one.
        for (;;) {
            if (parentIsDict.size() == 1) return false;   // back at the root element
            ComRef<IXMLDOMNode> next;
            if (node->get_nextSibling(next.Out()) == S_OK && next) {
                node.Take(next);
                break;
            }
            ComRef<IXMLDOMNode> parent;
            if (node->get_parentNode(parent.Out()) != S_OK || !parent) return false;
            parentIsDict.pop_back();
            node.Take(parent);
        }
    }
}

// A one-dimensional array of bytes, destroyed when it goes.
class ByteArray {
public:
    ByteArray() = default;
    ~ByteArray() {
        if (m_array) SafeArrayDestroy(m_array);
    }
    ByteArray(const ByteArray&) = delete;
    ByteArray& operator=(const ByteArray&) = delete;
    unsigned char* Create(ULONG size) {
        m_array = SafeArrayCreateVector(VT_UI1, 0, size);
        return m_array ? static_cast<unsigned char*>(m_array->pvData) : nullptr;
    }
    bool Shrink(ULONG size) {
        SAFEARRAYBOUND bound = {size, 0};
        return SUCCEEDED(SafeArrayRedim(m_array, &bound));
    }
    SAFEARRAY* get() const { return m_array; }

private:
    SAFEARRAY* m_array = nullptr;
};

// The bytes of a file in UTF-8 (without its byte-order mark) whose XML declaration names no
// other encoding; false for any other file, which is left to MSXML's own reading.
bool ReadUtf8Document(const std::wstring& path, ByteArray& array) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    unsigned char* bytes = nullptr;
    DWORD read = 0;
    const bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < 0x7FFFFFFF &&
                    (bytes = array.Create(static_cast<ULONG>(size.QuadPart))) != nullptr &&
                    ReadFile(file, bytes, static_cast<DWORD>(size.QuadPart), &read, nullptr) && read == size.QuadPart;
    CloseHandle(file);
    if (!ok) return false;
    size_t count = read;
    if (count >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) {
        memmove(bytes, bytes + 3, count - 3);
        count -= 3;
        if (count == 0 || !array.Shrink(static_cast<ULONG>(count))) return false;
    }
    // A NUL would end the text early for some readers: such a file is not well-formed anyway.
    if (memchr(bytes, 0, count) || !IsValidUtf8(count, bytes)) return false;
    if (count >= 5 && memcmp(bytes, "<?xml", 5) == 0) {
        const char* text = reinterpret_cast<const char*>(bytes);
        const char* limit = text + std::min<size_t>(count, 1024);   // a declaration is short
        const char* end = std::search(text, limit, "?>", "?>" + 2);
        std::string declaration(text, end);
        for (char& c : declaration) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        const size_t encoding = declaration.find("encoding");
        if (encoding != std::string::npos && declaration.find("utf-8", encoding) == std::string::npos) return false;
    }
    return true;
}

// The export read into the document. A UTF-8 file is handed over as its bytes: loading from
// the path goes through a stream that the platform's MSXML grows by copying, which costs time
// by the square of the file's size. Any other file is loaded from its path.
bool LoadDocument(IXMLDOMDocument* document, const std::wstring& path) {
    VARIANT_BOOL loaded = VARIANT_FALSE;
    VARIANT source;
    VariantInit(&source);
    {
        ByteArray bytes;
        if (ReadUtf8Document(path, bytes)) {
            source.vt = VT_ARRAY | VT_UI1;
            source.parray = bytes.get();
            return document->load(source, &loaded) == S_OK && loaded == VARIANT_TRUE;
        }
    }
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
    const HRESULT hr = document->load(source, &loaded);
    VariantClear(&source);
    return SUCCEEDED(hr) && loaded == VARIANT_TRUE;
}

}  // namespace

ImportReadResult ParseItunesLibraryXml(const std::wstring& path, const ImportSink& sink, const std::atomic<bool>* cancel) {
    ImportReadResult result;
    auto fail = [&result](const wchar_t* message) {
        result.failed = true;
        result.error = message;
        return result;
    };
    ComRef<IXMLDOMDocument> document;
    if (FAILED(CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_INPROC_SERVER, kIidDomDocument,
                                reinterpret_cast<void**>(document.Out()))) ||
        !document)
        return fail(L"MSXML initialize error.");
    document->put_async(VARIANT_FALSE);
    // The export names Apple's DTD on the web: never fetch or validate against it.
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    if (!LoadDocument(document.get(), path)) return fail(L"XML load error.");
    ComRef<IXMLDOMNode> tracks;
    if (!FindTrackDictionary(document.get(), tracks)) return fail(L"XML format error.");
    ComRef<IXMLDOMNode> key;
    if (!FirstChild(tracks.get(), key)) return result;
    for (;;) {
        if (cancel && cancel->load()) break;
        ComRef<IXMLDOMNode> value;
        if (key->get_nextSibling(value.Out()) != S_OK || !value) break;
        TrackRecord record;
        // A track that cannot be imported is passed over; the ones after it still are.
        if (MapItunesTrack(DictionaryPairs(value.get()), record) == ItunesTrackResult::Taken) {
            ++result.taken;
            sink(std::move(record));
        } else {
            ++result.skipped;
        }
        if (!NextSibling(value)) break;
        key.Take(value);
    }
    return result;
}

ImportReadResult ReadItunesLibraryXml(const std::wstring& path, const ImportSink& sink) {
    ImportReadResult result = ParseItunesLibraryXml(path, sink, nullptr);
    if (result.failed) AfxMessageBox(result.error, MB_OK | MB_ICONERROR);
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
