#include "ui/controls/OleDropTargetText.h"
#include "framework/Wnd.h"
#include <algorithm>
#include <cstring>

namespace {

bool OffersText(COleDataObject* data) {
    return data && (data->IsDataAvailable(CF_UNICODETEXT) || data->IsDataAvailable(CF_TEXT));
}

// The bytes of a global memory block; the text ends at its first terminator or at the end
// of the block, whichever comes first, so data without a terminator is read safely.
std::string BlockBytes(HGLOBAL block) {
    std::string bytes;
    if (!block) return bytes;
    const SIZE_T size = ::GlobalSize(block);
    if (const void* p = ::GlobalLock(block)) {
        bytes.assign(static_cast<const char*>(p), size);
        ::GlobalUnlock(block);
    }
    ::GlobalFree(block);
    return bytes;
}

}  // namespace

bool COleDropTargetText::ReadText(COleDataObject* data, std::wstring& text) {
    if (!data) return false;
    if (data->IsDataAvailable(CF_UNICODETEXT)) {
        HGLOBAL block = data->GetGlobalData(CF_UNICODETEXT);
        if (!block) return false;
        const std::string bytes = BlockBytes(block);
        std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
        if (!wide.empty()) std::memcpy(&wide[0], bytes.data(), wide.size() * sizeof(wchar_t));
        text = wide.substr(0, std::min(wide.size(), wide.find(L'\0')));
        return true;
    }
    if (data->IsDataAvailable(CF_TEXT)) {
        HGLOBAL block = data->GetGlobalData(CF_TEXT);
        if (!block) return false;
        std::string bytes = BlockBytes(block);
        bytes.resize(std::min(bytes.size(), bytes.find('\0')));
        text.clear();
        if (bytes.empty()) return true;
        const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        if (n <= 0) return false;
        text.resize(static_cast<size_t>(n));
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], n);
        return true;
    }
    return false;
}

DROPEFFECT COleDropTargetText::OnDragEnter(CWnd*, COleDataObject* data, DWORD, POINT) {
    return OffersText(data) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTargetText::OnDragOver(CWnd*, COleDataObject* data, DWORD, POINT) {
    return OffersText(data) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

BOOL COleDropTargetText::OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT, POINT) {
    std::wstring text;
    if (wnd && wnd->m_hWnd && ReadText(data, text)) ::SetWindowTextW(wnd->m_hWnd, text.c_str());
    return FALSE;
}
