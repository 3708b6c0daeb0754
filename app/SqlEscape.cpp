#include "app/SqlEscape.h"

std::wstring EscapeSqlQuotes(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + 8);
    for (wchar_t c : text) {
        out += c;
        if (c == L'\'') out += L'\'';
    }
    return out;
}

std::wstring EscapeGlobLiteral(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + 8);
    for (wchar_t c : text) {
        switch (c) {
        case L'\'': out += L"''"; break;
        case L'[': out += L"[[]"; break;
        case L'*': out += L"[*]"; break;
        case L'?': out += L"[?]"; break;
        default: out += c; break;
        }
    }
    return out;
}
