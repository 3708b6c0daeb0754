#pragma once
#include <string>
#include <vector>

// Builders of small audio files whose exact bytes the tests decide.
namespace tagReader { class TTagInfo; }

namespace tag_test {

// The text of a tag key, or "<none>" when the record has no such key.
std::wstring Get(const tagReader::TTagInfo& info, const wchar_t* key);

std::string Le16(unsigned value);
std::string Le32(unsigned long value);
std::string Be32(unsigned long value);
// The bytes of a string as a byte vector.
std::vector<unsigned char> Bytes(const std::string& bytes);
// UTF-16LE bytes of a text, without terminator.
std::string Utf16Le(const std::wstring& text);
// Bytes of a text in code page 932 (what Japanese taggers store as "Latin-1").
std::string Cp932(const std::wstring& text);

// An ID3v2 tag (version 3 or 4) built frame by frame.
class Id3v2Builder {
public:
    explicit Id3v2Builder(int version) : m_version(version) {}
    // A frame with raw contents (encoding byte included for text frames).
    Id3v2Builder& Frame(const char* id, const std::string& contents);
    // A text frame: the encoding byte, then the strings joined by the encoding's terminator.
    Id3v2Builder& Text(const char* id, int encoding, const std::vector<std::string>& encodedStrings);
    std::string Bytes() const;

private:
    int m_version;
    std::string m_frames;
};

// A 128-byte ID3v1 tag.
std::string Id3v1(const std::string& title, const std::string& artist, const std::string& album,
                  const std::string& year, const std::string& comment, int track, int genre);

// A Monkey's Audio file: descriptor and header (version 3990), `dataBytes` of frame data,
// then the given tags.
struct ApeItem {
    std::string key;
    std::string value;
    bool binary = false;
};
std::string ApeStream(unsigned sampleRate, unsigned channels, unsigned totalBlocks, size_t dataBytes);
std::string ApeV2Tag(const std::vector<ApeItem>& items);

// A RIFF WAVE file: format chunk of `fmtSize` bytes (16 or 18), then a data chunk.
std::string Wave(int formatTag, int channels, unsigned long rate, int bits, unsigned long dataBytes, int fmtSize = 16,
                 bool withData = true);

// Replaces the first occurrence of `from` by `to` (same length); false when not found.
bool Patch(std::string& bytes, const std::string& from, const std::string& to);
// Recomputes the checksum of every Ogg page in the bytes.
void FixOggChecksums(std::string& bytes);

// A copy of a fixture under tests/data/tags in the folder, under another name.
std::wstring CopyFixture(const std::wstring& folder, const std::wstring& fixture, const std::wstring& name);

}  // namespace tag_test
