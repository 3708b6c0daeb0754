#include "app/TextFile.h"
#include <windows.h>
#include <cstring>

bool IsValidUtf8(size_t count, const unsigned char* bytes) {
    size_t i = 0;
    while (i < count) {
        unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t extra;
        unsigned value;
        unsigned minimum;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1; value = lead & 0x1F; minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2; value = lead & 0x0F; minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3; value = lead & 0x07; minimum = 0x10000;
        } else {
            return false;   // a continuation byte without a lead, or 0xF8-0xFF
        }
        if (count - i <= extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char b = bytes[i + k];
            if ((b & 0xC0) != 0x80) return false;
            value = (value << 6) | (b & 0x3F);
        }
        if (value < minimum) return false;                      // overlong form
        if (value > 0x10FFFF) return false;
        if (value >= 0xD800 && value <= 0xDFFF) return false;  // surrogate halves
        i += extra + 1;
    }
    return true;
}

namespace {

bool ReadWholeFile(const std::wstring& path, std::string& data) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF;
    if (ok) {
        data.assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        ok = data.empty() ||
             (ReadFile(file, &data[0], static_cast<DWORD>(data.size()), &read, nullptr) && read == data.size());
    }
    CloseHandle(file);
    return ok;
}

bool ConvertLine(const std::string& bytes, UINT codePage, std::wstring& line) {
    line.clear();
    if (bytes.empty()) return true;
    DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    int n = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return false;
    line.assign(n, L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), &line[0], n);
    return true;
}

bool IsBreak(unsigned c) { return c == '\r' || c == '\n'; }

bool SplitBytes(TextFileLines& lines, const std::string& data, size_t start, UINT codePage) {
    std::string current;
    std::wstring converted;
    for (size_t i = start; i < data.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(data[i]);
        if (!IsBreak(c)) {
            current.push_back(static_cast<char>(c));
            continue;
        }
        if (i + 1 < data.size() && IsBreak(static_cast<unsigned char>(data[i + 1]))) ++i;
        current += "\r\n";
        if (!ConvertLine(current, codePage, converted)) return false;
        lines.lines.push_back(converted);
        current.clear();
    }
    if (!ConvertLine(current, codePage, converted)) return false;
    lines.lines.push_back(converted);
    return true;
}

void SplitUtf16(TextFileLines& lines, const std::string& data) {
    size_t units = data.size() / 2;   // a final odd byte is ignored
    auto unitAt = [&data](size_t i) {
        return static_cast<wchar_t>(static_cast<unsigned char>(data[i * 2]) |
                                    (static_cast<unsigned char>(data[i * 2 + 1]) << 8));
    };
    size_t i = 0;
    if (units > 0 && unitAt(0) == 0xFEFF) i = 1;   // the byte-order mark is not text
    std::wstring current;
    for (; i < units; ++i) {
        wchar_t c = unitAt(i);
        if (!IsBreak(c)) {
            current.push_back(c);
            continue;
        }
        if (i + 1 < units && IsBreak(unitAt(i + 1))) ++i;
        current += L"\r\n";
        lines.lines.push_back(current);
        current.clear();
    }
    lines.lines.push_back(current);
}

}  // namespace

bool LoadTextFile(TextFileLines& lines, const std::wstring& path) {
    lines.lines.clear();
    lines.encoding = TextFileLines::Short;
    std::string data;
    if (!ReadWholeFile(path, data)) return false;

    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data.data());
    size_t size = data.size();
    size_t start = 0;
    // A UTF-8 byte-order mark decides by itself. Otherwise a zero byte, which never occurs in
    // UTF-8 or ANSI text, means UTF-16: such text without a byte-order mark may well pass the
    // UTF-8 test.
    const bool utf8Bom = size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
    const bool hasZero = memchr(bytes, 0, size) != nullptr;
    const bool utf16Bom = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    if (utf8Bom) {
        lines.encoding = TextFileLines::Utf8Bom;
        start = 3;
    } else if (hasZero || utf16Bom)
        lines.encoding = TextFileLines::Utf16Le;
    else if (size < 3)
        lines.encoding = TextFileLines::Short;
    else if (IsValidUtf8(size, bytes))
        lines.encoding = TextFileLines::Utf8;
    else
        lines.encoding = TextFileLines::Ansi;

    bool ok = true;
    if (lines.encoding == TextFileLines::Utf16Le)
        SplitUtf16(lines, data);
    else
        ok = SplitBytes(lines, data, start, lines.encoding == TextFileLines::Ansi ? CP_ACP : CP_UTF8);
    if (!ok) lines.lines.clear();
    return ok;
}
