#include "framework/ProfileFile.h"
#include <algorithm>
#include <vector>

DWORD ReadProfileString(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                        const wchar_t* def, std::wstring& value, DWORD initialChars) {
    DWORD size = std::max<DWORD>(initialChars, 2);
    std::vector<wchar_t> buffer;
    DWORD read = 0;
    for (;;) {
        buffer.assign(size, L'\0');
        read = ::GetPrivateProfileStringW(section, key, def, buffer.data(), size, file.c_str());
        // size - 1 means the value (or the default) was cut: retry with more room.
        if (read < size - 1 || size >= 0x10000000) break;
        size *= 2;
    }
    read = std::min<DWORD>(read, size);
    value.assign(buffer.data(), read);
    return read;
}

void CreateUnicodeProfileFile(const std::wstring& file) {
    if (file.empty()) return;
    HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;   // exists already, or cannot be created
    static const unsigned char kBom[2] = {0xFF, 0xFE};
    DWORD written = 0;
    ::WriteFile(h, kBom, sizeof kBom, &written, nullptr);
    ::CloseHandle(h);
}
