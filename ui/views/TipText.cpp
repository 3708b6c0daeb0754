#include "ui/views/TipText.h"
#include <algorithm>

void SetTipText(NMTTDISPINFOW& info, const std::wstring& text) {
    const size_t capacity = sizeof info.szText / sizeof info.szText[0];
    const size_t n = std::min(text.size(), capacity - 1);
    text.copy(info.szText, n);
    info.szText[n] = L'\0';
    info.lpszText = info.szText;
    info.hinst = nullptr;
}
