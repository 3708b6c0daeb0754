#include "ui/views/NowPlayingData.h"
#include <cstring>

CRITICAL_SECTION* NowPlayingLock() {
    static CRITICAL_SECTION* lock = [] {
        auto* cs = new CRITICAL_SECTION;
        ::InitializeCriticalSection(cs);
        return cs;
    }();
    return lock;
}

UINT MsgDlgInfoRefresh() {
    static const UINT id = ::RegisterWindowMessageW(L"MsgDlgInfoRefresh");
    return id;
}

UINT MsgLyricsSetText() {
    static const UINT id = ::RegisterWindowMessageW(L"_LYRICS_SET_TEXT_");
    return id;
}

UINT MsgImageLayout() {
    static const UINT id = ::RegisterWindowMessageW(L"MSG_ImageLayout");
    return id;
}

void PostLyricsText(HWND lyricsWindow, const std::wstring* text) {
    wchar_t* copy = nullptr;
    if (text) {
        copy = new wchar_t[text->size() + 1];
        std::memcpy(copy, text->c_str(), (text->size() + 1) * sizeof(wchar_t));
    }
    if (!lyricsWindow || !::PostMessageW(lyricsWindow, MsgLyricsSetText(), reinterpret_cast<WPARAM>(copy), 0))
        delete[] copy;
}
