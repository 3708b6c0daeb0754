#include "ui/views/DdData.h"
#include "framework/OleDataObject.h"
#include <cstring>

namespace {

HGLOBAL NewGlobalBlock(const void* bytes, size_t size) {
    HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!global) return nullptr;
    void* p = ::GlobalLock(global);
    if (!p) {
        ::GlobalFree(global);
        return nullptr;
    }
    std::memcpy(p, bytes, size);
    ::GlobalUnlock(global);
    return global;
}

}  // namespace

CLIPFORMAT GetDdDataFormat() {
    static const CLIPFORMAT format =
        static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Larkspur2006 DDData"));
    return format;
}

void PackDdDataBlock(const DdDataCell& cell, unsigned char (&block)[kDdDataBlockSize]) {
    std::memset(block, 0, sizeof block);
    const uint64_t rowid = static_cast<uint64_t>(cell.rowid);
    for (int i = 0; i < 8; ++i) block[i] = static_cast<unsigned char>(rowid >> (8 * i));
    const uint32_t type = static_cast<uint32_t>(cell.columnType);
    for (int i = 0; i < 4; ++i) block[8 + i] = static_cast<unsigned char>(type >> (8 * i));
}

DdDataCell UnpackDdDataBlock(const unsigned char (&block)[kDdDataBlockSize]) {
    uint64_t rowid = 0;
    for (int i = 7; i >= 0; --i) rowid = (rowid << 8) | block[i];
    uint32_t type = 0;
    for (int i = 3; i >= 0; --i) type = (type << 8) | block[8 + i];
    DdDataCell cell;
    cell.rowid = static_cast<int64_t>(rowid);
    cell.columnType = static_cast<int32_t>(type);
    return cell;
}

bool ReadDdData(const COleDataObject& data, DdDataCell& cell) {
    HGLOBAL global = data.GetGlobalData(GetDdDataFormat());
    if (!global) return false;
    bool ok = false;
    if (::GlobalSize(global) >= kDdDataBlockSize) {
        if (const void* p = ::GlobalLock(global)) {
            unsigned char block[kDdDataBlockSize];
            std::memcpy(block, p, sizeof block);
            ::GlobalUnlock(global);
            cell = UnpackDdDataBlock(block);
            ok = true;
        }
    }
    ::GlobalFree(global);
    return ok;
}

void CDdData::OfferFormats() {
    Empty();
    if (!m_text.empty()) {
        DelayRenderData(CF_TEXT);
        DelayRenderData(CF_UNICODETEXT);
    }
    DelayRenderData(GetDdDataFormat());
}

BOOL CDdData::OnRenderGlobalData(const FORMATETC* fe, HGLOBAL* global) {
    if (!fe || !global) return FALSE;
    if (fe->cfFormat == GetDdDataFormat()) {
        unsigned char block[kDdDataBlockSize];
        PackDdDataBlock(DdDataCell{m_rowid, m_columnType}, block);
        *global = NewGlobalBlock(block, sizeof block);
        return *global != nullptr;
    }
    if (m_text.empty()) return FALSE;
    if (fe->cfFormat == CF_UNICODETEXT) {
        *global = NewGlobalBlock(m_text.c_str(), (m_text.size() + 1) * sizeof(wchar_t));
        return *global != nullptr;
    }
    if (fe->cfFormat == CF_TEXT) {
        const int size = ::WideCharToMultiByte(CP_THREAD_ACP, 0, m_text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        if (size <= 0) return FALSE;
        std::string ansi(static_cast<size_t>(size), '\0');
        ::WideCharToMultiByte(CP_THREAD_ACP, 0, m_text.c_str(), -1, &ansi[0], size, nullptr, nullptr);
        *global = NewGlobalBlock(ansi.data(), ansi.size());
        return *global != nullptr;
    }
    return FALSE;
}
