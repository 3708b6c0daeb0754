#include "framework/ProfileText.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring Trimmed(const std::wstring& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::wstring Folded(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::wstring OneLine(const wchar_t* text) {
    std::wstring line = text;
    for (wchar_t& c : line)
        if (c == L'\r' || c == L'\n') c = L' ';
    return line;
}

// The name of a section header ("[name]", blanks allowed around both).
bool HeaderName(const std::wstring& line, std::wstring& name) {
    const std::wstring text = Trimmed(line);
    if (text.empty() || text[0] != L'[') return false;
    const size_t close = text.find(L']', 1);
    name = Trimmed(text.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
    return true;
}

// The key of a line: the text before "=", or the whole line when it has none. False for a
// blank line and a comment.
bool KeyName(const std::wstring& line, std::wstring& key) {
    const size_t equals = line.find(L'=');
    key = Trimmed(line.substr(0, equals));
    if (equals == std::wstring::npos && key.empty()) return false;
    return key.empty() || key[0] != L';';
}

std::wstring Decode(const std::vector<BYTE>& bytes, CProfileText::Encoding& encoding) {
    using Encoding = CProfileText::Encoding;
    const size_t n = bytes.size();
    std::wstring text;
    if (n >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        const bool little = bytes[0] == 0xFF;
        encoding = little ? Encoding::Utf16Le : Encoding::Utf16Be;
        text.reserve((n - 2) / 2);
        for (size_t i = 2; i + 1 < n; i += 2)
            text += static_cast<wchar_t>(little ? bytes[i] | bytes[i + 1] << 8 : bytes[i] << 8 | bytes[i + 1]);
        return text;
    }
    if (n == 0) {
        encoding = Encoding::Utf16Le;
        return text;
    }
    const bool utf8 = n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
    encoding = utf8 ? Encoding::Utf8 : Encoding::Ansi;
    const char* data = reinterpret_cast<const char*>(bytes.data()) + (utf8 ? 3 : 0);
    const int size = static_cast<int>(n - (utf8 ? 3 : 0));
    const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
    const int chars = size ? ::MultiByteToWideChar(codePage, 0, data, size, nullptr, 0) : 0;
    if (chars <= 0) return text;
    text.resize(static_cast<size_t>(chars));
    ::MultiByteToWideChar(codePage, 0, data, size, &text[0], chars);
    return text;
}

std::vector<BYTE> Utf16Bytes(const std::wstring& text, bool little) {
    std::vector<BYTE> bytes;
    bytes.reserve(2 + text.size() * 2);
    bytes.push_back(little ? 0xFF : 0xFE);
    bytes.push_back(little ? 0xFE : 0xFF);
    for (wchar_t c : text) {
        const BYTE low = static_cast<BYTE>(c & 0xFF), high = static_cast<BYTE>(c >> 8);
        bytes.push_back(little ? low : high);
        bytes.push_back(little ? high : low);
    }
    return bytes;
}

// False when the code page cannot hold the text (ANSI) or it cannot be converted.
bool MultiByteBytes(const std::wstring& text, UINT codePage, std::vector<BYTE>& bytes) {
    if (text.empty()) return true;
    BOOL lossy = FALSE;
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* usedDefault = codePage == CP_UTF8 ? nullptr : &lossy;
    const int size = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, usedDefault);
    if (length <= 0 || lossy) return false;
    const size_t start = bytes.size();
    bytes.resize(start + static_cast<size_t>(length));
    return ::WideCharToMultiByte(codePage, flags, text.data(), size, reinterpret_cast<char*>(&bytes[start]), length,
                                 nullptr, usedDefault) == length &&
           !lossy;
}

}  // namespace

void CProfileText::Parse(const std::vector<BYTE>& bytes) {
    m_sections.assign(1, Section());
    m_index.clear();
    const std::wstring text = Decode(bytes, m_encoding);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == L'\r') --stop;
        AddLine(text.substr(start, stop - start));
        start = end + 1;
    }
}

void CProfileText::AddKeyLine(Section& section, Line line) {
    std::wstring key;
    if (KeyName(line.text, key)) section.keys[Folded(key)].push_back(section.lines.size());
    section.lines.push_back(std::move(line));
}

void CProfileText::AddLine(std::wstring line) {
    std::wstring name;
    if (HeaderName(line, name)) {
        m_sections.emplace_back();
        m_sections.back().header = std::move(line);
        m_index[Folded(name)].push_back(m_sections.size() - 1);
        return;
    }
    if (m_sections.empty()) m_sections.emplace_back();
    AddKeyLine(m_sections.back(), Line{std::move(line)});
}

void CProfileText::Write(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    if (!section) return;
    if (m_sections.empty()) m_sections.emplace_back();
    const std::wstring name = Trimmed(OneLine(section));
    auto found = m_index.find(Folded(name));
    if (!key) {
        if (found == m_index.end()) return;
        for (size_t i : found->second) {
            m_sections[i].erased = true;
            m_sections[i].lines.clear();
            m_sections[i].keys.clear();
        }
        m_index.erase(found);
        return;
    }
    const std::wstring keyName = Trimmed(OneLine(key));
    const std::wstring foldedKey = Folded(keyName);
    if (!value) {
        if (found == m_index.end()) return;
        Section& s = m_sections[found->second.front()];
        auto lines = s.keys.find(foldedKey);
        if (lines == s.keys.end()) return;
        for (size_t i : lines->second) s.lines[i].erased = true;
        s.keys.erase(lines);
        return;
    }
    if (found == m_index.end()) {
        m_sections.emplace_back();
        m_sections.back().header = L"[" + name + L"]";
        found = m_index.emplace(Folded(name), std::vector<size_t>{m_sections.size() - 1}).first;
    }
    Section& s = m_sections[found->second.front()];
    auto lines = s.keys.find(foldedKey);
    if (lines == s.keys.end()) {
        AddKeyLine(s, Line{keyName + L"=" + OneLine(value)});
        return;
    }
    Line& line = s.lines[lines->second.front()];
    std::wstring spelling;
    KeyName(line.text, spelling);
    line.text = spelling + L"=" + OneLine(value);
}

std::vector<BYTE> CProfileText::Bytes() const {
    std::wstring text;
    for (size_t i = 0; i < m_sections.size(); ++i) {
        const Section& s = m_sections[i];
        if (s.erased) continue;
        if (i != 0) text += s.header + L"\r\n";
        for (const Line& line : s.lines) {
            if (line.erased) continue;
            text += line.text;
            text += L"\r\n";
        }
    }
    std::vector<BYTE> bytes;
    switch (m_encoding) {
    case Encoding::Utf16Be:
        return Utf16Bytes(text, false);
    case Encoding::Utf8:
        bytes = {0xEF, 0xBB, 0xBF};
        if (MultiByteBytes(text, CP_UTF8, bytes)) return bytes;
        break;
    case Encoding::Ansi:
        if (MultiByteBytes(text, CP_ACP, bytes)) return bytes;
        break;
    case Encoding::Utf16Le:
        break;
    }
    return Utf16Bytes(text, true);
}
