#pragma once
#include <map>
#include <string>

namespace tagReader {

// Stored in infoCodec. The readers never produce Mp1, Mp2 or Aac: ".mp1" and ".mp2" read as Mp3.
enum AudioFormatCode {
    FormatNone = 0,
    FormatMp1 = 1,
    FormatMp2 = 2,
    FormatMp3 = 3,
    FormatOgg = 4,
    FormatWav = 5,
    FormatWma = 6,
    FormatAac = 7,
    FormatMp4 = 8,
    FormatAlac = 9,
    FormatFlac = 10,
    FormatTta = 11,
    FormatApe = 12,
};

// Stored in infoTagtype: which container the tags came from.
enum TagTypeBit {
    TagId3Mpeg = 32,
    TagOggVorbis = 128,
    TagRiffWave = 256,
    TagWindowsMedia = 512,
    TagMp4 = 1024,
    TagFlacVorbis = 2048,
    TagId3Tta = 4096,
    TagApe = 8192,
};

enum TagReadResult {
    TagReadOk = 1,
    TagReadCannotOpen = 3,
    TagReadNotThatFormat = 4,
};

// Year-key flags: the year of an ID3 key set stands under "TYER" (or else "TDRC").
const int YearKeyTyer = 0x20;
const int YearKeyTdrc = 0x40;

// Replaces 'a'-'z' by 'A'-'Z'; every other character stays.
void UpperCaseAscii(std::wstring& text);

// True for the twelve extensions that have a reader, compared without regard to case.
bool IsSupportedAudioFile(const std::wstring& path);

// What one audio file holds: format, stream numbers and tag texts.
class TTagInfo {
public:
    TTagInfo() = default;

    // Clears the record and fills it from the file; 1 on success, else the record is empty.
    int Read(const std::wstring& path);

    // Everything but the four path strings.
    void Clear();

    // Keys are upper-cased in a-z; a repeated key gets "; " and the new value appended.
    void SetTag(const std::wstring& key, const std::wstring& value);
    // Null when absent; valid while the record is unchanged.
    const wchar_t* GetTag(const std::wstring& key) const;

    int formatCode = 0;
    std::wstring codecText;
    int tagType = 0;
    int yearKeyFlags = 0;
    int seconds = 0;
    int channels = 0;
    int samplingRate = 0;
    int bitRate = 0;
    unsigned char vbr = 0;
    std::map<std::wstring, std::wstring> tags;
    std::wstring fullPath;
    std::wstring folder;     // drive and directory, with the trailing backslash
    std::wstring fileTitle;  // file name without extension
    std::wstring extension;  // with the leading dot, as written

private:
    void ClearAll();
};

}  // namespace tagReader
