#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ape {

// What GetInfo can tell about the stream.
enum InfoField {
    InfoSampleRate = 1003,
    InfoChannels = 1006,
    InfoLengthMs = 1017,
    InfoAverageBitrate = 2005,   // kilobits per second
};

enum FieldResult {
    FieldOk = 0,
    FieldBufferTooSmall = 1,   // *chars tells the needed count
    FieldMissing = 2,          // *chars is 0
};

// The tag of a Monkey's Audio file: the APE tag, or an ID3v1 tag presented under the APE
// field names "Title", "Artist", "Album", "Comment", "Year", "Track" and "Genre".
// Field names compare without regard to case.
class ApeTag {
public:
    bool HasId3Tag() const { return m_hasId3; }
    bool HasApeTag() const { return m_hasApe; }

    // Copies the text of a field into a buffer of *chars characters plus the terminator.
    // On success *chars is the text's length.
    int GetFieldString(const wchar_t* name, wchar_t* buffer, int* chars) const;
    // The raw value of a field (of any type).
    bool GetFieldBinary(const wchar_t* name, std::vector<unsigned char>& data) const;
    bool HasField(const wchar_t* name) const;

private:
    friend class ApeDecompressor;
    struct Field {
        std::wstring text;
        std::vector<unsigned char> bytes;
    };
    void SetText(const std::wstring& name, const std::wstring& text);
    static std::wstring Key(const wchar_t* name);

    bool m_hasId3 = false;
    bool m_hasApe = false;
    std::map<std::wstring, Field> m_fields;
};

// Opens a Monkey's Audio file for its stream information and tag.
class ApeDecompressor {
public:
    // Null when the file cannot be opened or its header cannot be read.
    static std::unique_ptr<ApeDecompressor> Create(const std::wstring& path);

    long long GetInfo(InfoField field) const;
    // Null when the file has neither an APE nor an ID3v1 tag.
    const ApeTag* GetTag() const { return (m_tag.HasApeTag() || m_tag.HasId3Tag()) ? &m_tag : nullptr; }

private:
    int m_sampleRate = 0;
    int m_channels = 0;
    long long m_lengthMs = 0;
    int m_bitrate = 0;
    ApeTag m_tag;
};

}  // namespace ape
