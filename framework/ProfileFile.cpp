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
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) &&
        (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0))
        return;   // a file with text keeps its encoding
    // Missing, or there but empty: the profile writer would start either as ANSI.
    HANDLE h = ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;   // cannot be created, or in use
    LARGE_INTEGER size;
    if (::GetFileSizeEx(h, &size) && size.QuadPart == 0) {
        static const unsigned char kBom[2] = {0xFF, 0xFE};
        DWORD written = 0;
        ::WriteFile(h, kBom, sizeof kBom, &written, nullptr);
    }
    ::CloseHandle(h);
}
