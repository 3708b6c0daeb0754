#include "TagTestFiles.h"
#include "tags/TagInfo.h"
#include "support/TestFiles.h"
#include <windows.h>

namespace tag_test {

std::wstring Get(const tagReader::TTagInfo& info, const wchar_t* key) {
    const wchar_t* value = info.GetTag(key);
    return value ? value : L"<none>";
}

std::string Le16(unsigned v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

std::string Le32(unsigned long v) {
    return Le16(v & 0xFFFF) + Le16((v >> 16) & 0xFFFF);
}

std::string Be32(unsigned long v) {
    return std::string{static_cast<char>((v >> 24) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
                       static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}

std::vector<unsigned char> Bytes(const std::string& bytes) {
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

std::string Utf16Le(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += Le16(static_cast<unsigned>(c));
    return out;
}

std::string Cp932(const std::wstring& text) {
    int n = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

namespace {

std::string SyncSafe(unsigned long v) {
    return std::string{static_cast<char>((v >> 21) & 0x7F), static_cast<char>((v >> 14) & 0x7F),
                       static_cast<char>((v >> 7) & 0x7F), static_cast<char>(v & 0x7F)};
}

}  // namespace

Id3v2Builder& Id3v2Builder::Frame(const char* id, const std::string& contents) {
    m_frames += std::string(id, 4);
    m_frames += m_version == 4 ? SyncSafe(contents.size()) : Be32(contents.size());
    m_frames += std::string(2, '\0');
    m_frames += contents;
    return *this;
}

Id3v2Builder& Id3v2Builder::Text(const char* id, int encoding, const std::vector<std::string>& strings) {
    std::string separator = (encoding == 1 || encoding == 2) ? std::string(2, '\0') : std::string(1, '\0');
    std::string contents(1, static_cast<char>(encoding));
    for (size_t i = 0; i < strings.size(); ++i) {
        if (i) contents += separator;
        contents += strings[i];
    }
    return Frame(id, contents);
}

std::string Id3v2Builder::Bytes() const {
    std::string padding(64, '\0');
    std::string out = "ID3";
    out += static_cast<char>(m_version);
    out += '\0';
    out += '\0';
    out += SyncSafe(m_frames.size() + padding.size());
    return out + m_frames + padding;
}

std::string Id3v1(const std::string& title, const std::string& artist, const std::string& album,
                  const std::string& year, const std::string& comment, int track, int genre) {
    auto field = [](const std::string& s, size_t n) {
        std::string f = s.substr(0, n);
        f.resize(n, '\0');
        return f;
    };
    std::string out = "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
                      field(comment, 28);
    out += '\0';
    out += static_cast<char>(track);
    out += static_cast<char>(genre);
    return out;
}

std::string ApeStream(unsigned sampleRate, unsigned channels, unsigned totalBlocks, size_t dataBytes) {
    std::string d = "MAC ";
    d += Le16(3990) + Le16(0);
    d += Le32(52) + Le32(24) + Le32(0) + Le32(0) + Le32(static_cast<unsigned long>(dataBytes)) + Le32(0) +
         Le32(0);
    d += std::string(16, '\x11');   // MD5, not checked
    std::string h = Le16(2000) + Le16(0);
    h += Le32(73728) + Le32(totalBlocks) + Le32(1);   // blocks per frame, final frame blocks, frames
    h += Le16(16) + Le16(channels) + Le32(sampleRate);
    std::string data(dataBytes, '\0');
    for (size_t i = 0; i < dataBytes; ++i) data[i] = static_cast<char>(i * 7);
    return d + h + data;
}

std::string ApeV2Tag(const std::vector<ApeItem>& items) {
    std::string body;
    for (const ApeItem& item : items) {
        body += Le32(static_cast<unsigned long>(item.value.size()));
        body += Le32(item.binary ? 2 : 0);   // item type in bits 1-2
        body += item.key;
        body += '\0';
        body += item.value;
    }
    auto block = [&](unsigned long flags) {
        return "APETAGEX" + Le32(2000) + Le32(static_cast<unsigned long>(body.size() + 32)) +
               Le32(static_cast<unsigned long>(items.size())) + Le32(flags) + std::string(8, '\0');
    };
    const unsigned long hasHeader = 0x80000000UL, isHeader = 0x20000000UL;
    return block(hasHeader | isHeader) + body + block(hasHeader);
}

std::string Wave(int formatTag, int channels, unsigned long rate, int bits, unsigned long dataBytes, int fmtSize,
                 bool withData) {
    unsigned blockAlign = static_cast<unsigned>(channels * bits / 8);
    std::string fmt = Le16(static_cast<unsigned>(formatTag)) + Le16(static_cast<unsigned>(channels)) + Le32(rate) +
                      Le32(rate * blockAlign) + Le16(blockAlign) + Le16(static_cast<unsigned>(bits));
    if (fmtSize == 18) fmt += Le16(0);
    std::string chunks = "fmt " + Le32(static_cast<unsigned long>(fmt.size())) + fmt;
    if (withData) chunks += "data" + Le32(dataBytes) + std::string(dataBytes, '\x80');
    else chunks += "LIST" + Le32(4) + "INFO";
    return "RIFF" + Le32(static_cast<unsigned long>(4 + chunks.size())) + "WAVE" + chunks;
}

bool Patch(std::string& bytes, const std::string& from, const std::string& to) {
    size_t pos = bytes.find(from);
    if (pos == std::string::npos || from.size() != to.size()) return false;
    bytes.replace(pos, from.size(), to);
    return true;
}

void FixOggChecksums(std::string& bytes) {
    static unsigned long table[256];
    static bool ready = false;
    if (!ready) {
        for (unsigned long i = 0; i < 256; ++i) {
            unsigned long r = i << 24;
            for (int k = 0; k < 8; ++k) r = (r & 0x80000000UL) ? ((r << 1) ^ 0x04C11DB7UL) : (r << 1);
            table[i] = r & 0xFFFFFFFFUL;
        }
        ready = true;
    }
    size_t pos = 0;
    while ((pos = bytes.find("OggS", pos)) != std::string::npos && pos + 27 <= bytes.size()) {
        unsigned segments = static_cast<unsigned char>(bytes[pos + 26]);
        size_t length = 27 + segments;
        for (unsigned s = 0; s < segments && pos + 27 + s < bytes.size(); ++s)
            length += static_cast<unsigned char>(bytes[pos + 27 + s]);
        if (pos + length > bytes.size()) break;
        for (int i = 0; i < 4; ++i) bytes[pos + 22 + i] = '\0';
        unsigned long crc = 0;
        for (size_t i = 0; i < length; ++i)
            crc = ((crc << 8) ^ table[((crc >> 24) & 0xFF) ^ static_cast<unsigned char>(bytes[pos + i])]) & 0xFFFFFFFFUL;
        std::string c = Le32(crc);
        bytes.replace(pos + 22, 4, c);
        pos += length;
    }
}

std::wstring CopyFixture(const std::wstring& folder, const std::wstring& fixture, const std::wstring& name) {
    std::wstring target = folder + name;
    testing_support::WriteBytes(target, testing_support::ReadBytes(testing_support::TestDataPath(L"tags/" + fixture)));
    return target;
}

}  // namespace tag_test
