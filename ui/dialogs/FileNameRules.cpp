#include "ui/dialogs/FileNameRules.h"

bool IsPlainFileName(const std::wstring& name) {
    if (name.empty()) return false;
    bool onlyDots = true;
    for (wchar_t c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        switch (c) {
        case L':': case L'\\': case L'/': case L'*': case L'?': case L'"': case L'<': case L'>': case L'|':
            return false;
        default:
            break;
        }
        if (c != L'.') onlyDots = false;
    }
    return !onlyDots;
}
