// The import readers' walks over the two COM components: MSXML's DOM for the iTunes export
// and the Windows Media Player automation object, reached through its dispatch interface.
#include "app/TextFile.h"
#include "framework/MessageBox.h"
#include "ui/dialogs/ImportReaders.h"
#include <windows.h>
#include <mlang.h>
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
    ~ByteArray() { Reset(); }
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
    void Reset() {
        if (m_array) SafeArrayDestroy(m_array);
        m_array = nullptr;
    }

private:
    SAFEARRAY* m_array = nullptr;
};

// The whole file in a byte array; false when it cannot be read or is empty or too large.
bool ReadWholeFile(const std::wstring& path, ByteArray& array, size_t& count) {
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
    count = read;
    return ok;
}

// The encoding that the XML declaration at the start of `text` names, in lower case; empty
// when there is no declaration or it names none. A declaration is short: only the first
// kilobyte is looked at.
std::string DeclaredEncoding(const char* text, size_t count) {
    if (count < 5 || memcmp(text, "<?xml", 5) != 0) return std::string();
    const char* limit = text + std::min<size_t>(count, 1024);
    std::string declaration(text, std::search(text, limit, "?>", "?>" + 2));
    for (char& c : declaration) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    size_t at = declaration.find("encoding");
    if (at == std::string::npos || (at = declaration.find_first_of("\"'", at)) == std::string::npos) return std::string();
    const size_t close = declaration.find(declaration[at], at + 1);
    return close == std::string::npos ? std::string() : declaration.substr(at + 1, close - at - 1);
}

bool IsUtf8Name(const std::string& name) { return name.empty() || name == "utf-8" || name == "utf8"; }

// The code page Windows reads the named encoding with (from the system's table of
// character sets); 0 when it knows none.
UINT CodePageOfEncoding(const std::string& name) {
    static const CLSID kClsidMultiLanguage = {0x275C23E2, 0x3747, 0x11D0, {0x9F, 0xEA, 0x00, 0xAA, 0x00, 0x3F, 0x86, 0x46}};
    static const IID kIidMultiLanguage2 = {0xDCCFC164, 0x2B38, 0x11D2, {0xB7, 0xEC, 0x00, 0xC0, 0x4F, 0x8F, 0x5D, 0x9A}};
    if (name.size() >= 50 || name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-_.:") != std::string::npos)
        return 0;
    ComRef<IMultiLanguage2> languages;
    if (FAILED(CoCreateInstance(kClsidMultiLanguage, nullptr, CLSCTX_INPROC_SERVER, kIidMultiLanguage2,
                                reinterpret_cast<void**>(languages.Out()))) ||
        !languages)
        return 0;
    Bstr charset(std::wstring(name.begin(), name.end()));
    MIMECSETINFO info{};
    if (FAILED(languages->GetCharsetInfo(charset.get(), &info))) return 0;
    return info.uiInternetEncoding;
}

// UTF-16 text in a BSTR, freed when it goes.
class WideText {
public:
    WideText() = default;
    ~WideText() { SysFreeString(m_text); }
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;
    wchar_t* Create(size_t length) {
        SysFreeString(m_text);
        m_text = length < 0x3FFFFFFF ? SysAllocStringLen(nullptr, static_cast<UINT>(length)) : nullptr;
        return m_text;
    }
    BSTR get() const { return m_text; }

private:
    BSTR m_text = nullptr;
};

// UTF-16 code units (after a byte-order mark), in either byte order.
bool Utf16ToText(const unsigned char* bytes, size_t count, bool bigEndian, WideText& text) {
    if (count % 2 != 0) return false;
    wchar_t* out = text.Create(count / 2);
    if (!out) return false;
    for (size_t i = 0; i < count / 2; ++i)
        out[i] = static_cast<wchar_t>(bigEndian ? (bytes[2 * i] << 8) | bytes[2 * i + 1] : bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return true;
}

bool CodePageToText(const unsigned char* bytes, size_t count, UINT codePage, WideText& text) {
    const char* in = reinterpret_cast<const char*>(bytes);
    const int inCount = static_cast<int>(count);
    DWORD flags = MB_ERR_INVALID_CHARS;
    int length = MultiByteToWideChar(codePage, flags, in, inCount, nullptr, 0);
    if (length <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {   // code pages that take no flags
        flags = 0;
        length = MultiByteToWideChar(codePage, flags, in, inCount, nullptr, 0);
    }
    wchar_t* out = length > 0 ? text.Create(static_cast<size_t>(length)) : nullptr;
    return out && MultiByteToWideChar(codePage, flags, in, inCount, out, length) == length;
}

// How an export reaches MSXML. Loading from the path goes through a stream that the
// platform's MSXML grows by copying, which costs time by the square of the file's size;
// a byte array (read as UTF-8) and UTF-16 text given to `loadXML` are parsed in place.
enum class ExportForm { Unreadable, Utf8Bytes, Text, Path };

// Reads the export and decides its form: UTF-8 (with or without its byte-order mark, or
// as declared) as bytes; UTF-16 (by its byte-order mark or its first characters) and other
// declared encodings decoded here into `text`. Only an encoding that Windows has no code
// page for is left to MSXML's own reading from the path. A file that is not what it claims
// or looks like (invalid UTF-8, an odd UTF-16 length, a NUL) is unreadable.
ExportForm ReadExport(const std::wstring& path, ByteArray& array, WideText& text) {
    size_t count = 0;
    if (!ReadWholeFile(path, array, count)) return ExportForm::Unreadable;
    unsigned char* bytes = static_cast<unsigned char*>(array.get()->pvData);
    const bool utf16le = count >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (count >= 4 && !memcmp(bytes, "<\0?\0", 4)));
    const bool utf16be = count >= 2 && ((bytes[0] == 0xFE && bytes[1] == 0xFF) || (count >= 4 && !memcmp(bytes, "\0<\0?", 4)));
    bool converted;
    if (utf16le || utf16be) {
        const size_t skip = bytes[0] >= 0xFE ? 2 : 0;
        converted = Utf16ToText(bytes + skip, count - skip, utf16be, text);
    } else {
        const bool bom = count >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0;
        if (bom) {
            memmove(bytes, bytes + 3, count - 3);
            count -= 3;
            if (count == 0 || !array.Shrink(static_cast<ULONG>(count))) return ExportForm::Unreadable;
        }
        const std::string encoding = DeclaredEncoding(reinterpret_cast<const char*>(bytes), count);
        const UINT codePage = IsUtf8Name(encoding) ? CP_UTF8 : CodePageOfEncoding(encoding);
        if (bom || codePage == CP_UTF8) {
            // A mark that contradicts the declaration, or a NUL (which would end the text early
            // for some readers): such a file is not well-formed anyway.
            if (codePage != CP_UTF8 || memchr(bytes, 0, count) || !IsValidUtf8(count, bytes)) return ExportForm::Unreadable;
            return ExportForm::Utf8Bytes;
        }
        if (codePage == 0 || !IsValidCodePage(codePage)) return ExportForm::Path;
        converted = CodePageToText(bytes, count, codePage, text);
    }
    array.Reset();   // the text alone is kept from here
    if (!converted) return ExportForm::Unreadable;
    wchar_t* wide = text.get();
    const size_t length = SysStringLen(text.get());
    if (std::find(wide, wide + length, L'\0') != wide + length) return ExportForm::Unreadable;
    // The declaration names the encoding of the bytes that are gone: blanked, so that the
    // text is read as the UTF-16 it is now.
    if (length >= 5 && wcsncmp(wide, L"<?xml", 5) == 0) {
        wchar_t* end = std::search(wide, wide + std::min<size_t>(length, 1024), L"?>", L"?>" + 2);
        if (end != wide + std::min<size_t>(length, 1024)) std::fill(wide, end + 2, L' ');
    }
    return ExportForm::Text;
}

bool LoadDocument(IXMLDOMDocument* document, const std::wstring& path) {
    VARIANT_BOOL loaded = VARIANT_FALSE;
    ByteArray bytes;
    WideText text;
    switch (ReadExport(path, bytes, text)) {
    case ExportForm::Unreadable:
        return false;
    case ExportForm::Utf8Bytes: {
        VARIANT source;
        VariantInit(&source);
        source.vt = VT_ARRAY | VT_UI1;
        source.parray = bytes.get();
        return document->load(source, &loaded) == S_OK && loaded == VARIANT_TRUE;
    }
    case ExportForm::Text:
        return document->loadXML(text.get(), &loaded) == S_OK && loaded == VARIANT_TRUE;
    case ExportForm::Path:
        break;
    }
    VARIANT source;
    VariantInit(&source);
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
