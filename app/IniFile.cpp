#include "app/IniFile.h"
#include "framework/ProfileFile.h"
#include <algorithm>
#include <vector>

namespace {

// Below this the string reader starts with a fixed buffer: an empty or tiny file would
// otherwise make it grow from a handful of characters.
const DWORD kMinStringBuffer = 256;

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

}  // namespace

DWORD CIniFile::GetBufferSize() const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data)) return 32768;
    if (data.nFileSizeHigh != 0 || data.nFileSizeLow > 0x7FFFFFF) return 0x7FFFFFF;
    return data.nFileSizeLow;
}

bool CIniFile::GetString(std::wstring& target, const wchar_t* section, const wchar_t* key,
                         const wchar_t* def) const {
    return ReadProfileString(m_path, section, key, def, target,
                             std::max(GetBufferSize(), kMinStringBuffer)) > 0;
}

int CIniFile::GetInt(const wchar_t* section, const wchar_t* key, int def) const {
    return static_cast<int>(GetPrivateProfileIntW(section, key, def, m_path.c_str()));
}

bool CIniFile::GetBool(const wchar_t* section, const wchar_t* key, bool def) const {
    return GetInt(section, key, def ? 1 : 0) == 1;
}

bool CIniFile::GetStruct(const wchar_t* section, const wchar_t* key, void* data, UINT size) const {
    std::wstring text;
    if (!GetString(text, section, key, L"")) return false;
    if (text.size() != (static_cast<size_t>(size) + 1) * 2) return false;
    std::vector<unsigned char> bytes(size + 1);
    for (size_t i = 0; i < bytes.size(); ++i) {
        int hi = HexDigit(text[i * 2]);
        int lo = HexDigit(text[i * 2 + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    unsigned sum = 0;
    for (UINT i = 0; i < size; ++i) sum += bytes[i];
    if ((sum & 0xFF) != bytes[size]) return false;
    if (size) memcpy(data, bytes.data(), size);
    return true;
}

std::wstring CIniFile::GetSection(const wchar_t* section) const {
    DWORD size = std::max(GetBufferSize(), kMinStringBuffer);
    std::vector<wchar_t> buffer;
    DWORD read = 0;
    for (;;) {
        buffer.assign(size, L'\0');
        read = GetPrivateProfileSectionW(section, buffer.data(), size, m_path.c_str());
        // size - 2 means the section did not fit.
        if (read < size - 2 || size >= 0x10000000) break;
        size *= 2;
    }
    return std::wstring(buffer.data(), std::min<DWORD>(read, size));
}

BOOL CIniFile::WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) const {
    return m_writer.Write(m_path, section, key, value);
}

BOOL CIniFile::WriteInt(const wchar_t* section, const wchar_t* key, int value) const {
    wchar_t text[16];
    swprintf(text, 16, L"%d", value);
    return WriteString(section, key, text);
}

BOOL CIniFile::WriteBool(const wchar_t* section, const wchar_t* key, bool value) const {
    return WriteString(section, key, value ? L"1" : L"0");
}

BOOL CIniFile::WriteStruct(const wchar_t* section, const wchar_t* key, const void* data,
                           UINT size) const {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    std::wstring text;
    text.reserve((static_cast<size_t>(size) + 1) * 2);
    unsigned sum = 0;
    for (UINT i = 0; i < size; ++i) {
        text.push_back(kHex[bytes[i] >> 4]);
        text.push_back(kHex[bytes[i] & 15]);
        sum += bytes[i];
    }
    text.push_back(kHex[(sum >> 4) & 15]);
    text.push_back(kHex[sum & 15]);
    return WriteString(section, key, text.c_str());
}

BOOL CIniFile::EraseSection(const wchar_t* section) const {
    return m_writer.Write(m_path, section, nullptr, nullptr);
}

void CIniFile::EnsureUnicodeFile() const {
    CreateUnicodeProfileFile(m_path);
}
