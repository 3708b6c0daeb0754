#include "ui/controls/Clipboard.h"
#include <cstring>

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    bool stored = false;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* p = ::GlobalLock(memory)) {
            std::memcpy(p, text.c_str(), bytes);
            ::GlobalUnlock(memory);
            stored = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!stored) ::GlobalFree(memory);
    }
    ::CloseClipboard();
    return stored;
}
