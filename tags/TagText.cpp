#include "tags/TagText.h"
#include <windows.h>
#include <cstring>

namespace tagReader {

namespace {

bool MultiByteToWide(UINT codePage, const char* bytes, int length, std::wstring& text) {
    if (!bytes) return false;
    if (length < 0) length = static_cast<int>(std::strlen(bytes));
    if (length == 0) return false;
    int count = MultiByteToWideChar(codePage, 0, bytes, length, nullptr, 0);
    if (count <= 0) return false;
    std::wstring out(static_cast<size_t>(count), L'\0');
    if (MultiByteToWideChar(codePage, 0, bytes, length, &out[0], count) != count) return false;
    text.swap(out);
    return true;
}

}  // namespace

bool Utf8ToWide(const char* bytes, int length, std::wstring& text) {
    return MultiByteToWide(CP_UTF8, bytes, length, text);
}

bool AnsiToWide(const char* bytes, int length, std::wstring& text) {
    return MultiByteToWide(CP_ACP, bytes, length, text);
}

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

bool SplitKeyValue(const std::wstring& text, std::wstring& key, std::wstring& value) {
    size_t pos = text.find(L'=');
    if (pos == std::wstring::npos) return false;
    key = text.substr(0, pos);
    value = text.substr(pos + 1);
    return true;
}

void WaveFormatName(int formatTag, std::wstring& text) {
    switch (formatTag) {
    case 0: text = L"unknown"; break;
    case 1: text = L"PCM"; break;
    case 2: text = L"MS ADPCM"; break;
    case 0x55: text = L"MPEG Layer-3"; break;
    default: text.clear(); break;
    }
}

}  // namespace tagReader
