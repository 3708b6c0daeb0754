#include "tags/WmaReader.h"
#include "tags/StreamNumber.h"
#include "tags/TagReaders.h"
#include "tags/WmaCallback.h"
#include "tags/asf/AsfHeaderReader.h"
#include <cwchar>

namespace tagReader {

namespace {

unsigned long long LittleEndian(const std::vector<unsigned char>& value, size_t bytes) {
    unsigned long long result = 0;
    for (size_t i = 0; i < bytes && i < value.size(); ++i) result |= static_cast<unsigned long long>(value[i]) << (8 * i);
    return result;
}

// A zero-terminated UTF-16LE text starting at `pos`; false when no terminator lies inside.
bool ReadUtf16z(const std::vector<unsigned char>& value, size_t& pos, std::wstring* text) {
    for (size_t i = pos; i + 1 < value.size(); i += 2) {
        wchar_t c = static_cast<wchar_t>(value[i] | (value[i + 1] << 8));
        if (c == 0) {
            pos = i + 2;
            return true;
        }
        if (text) text->push_back(c);
    }
    return false;
}

// The attribute value as text, by its data type.
std::wstring AttributeText(const asf::Attribute& a) {
    switch (a.type) {
    case asf::TypeDword:
        return a.value.size() >= 4 ? std::to_wstring(static_cast<int>(static_cast<unsigned>(LittleEndian(a.value, 4))))
                                   : std::wstring();
    case asf::TypeString: {
        std::wstring text;
        size_t pos = 0;
        if (!ReadUtf16z(a.value, pos, &text)) {   // unterminated: take every whole character
            text.clear();
            for (size_t i = 0; i + 1 < a.value.size(); i += 2)
                text.push_back(static_cast<wchar_t>(a.value[i] | (a.value[i + 1] << 8)));
        }
        return text;
    }
    case asf::TypeBool:
        return (!a.value.empty() && a.value[0] == 1) ? L"1" : L"0";
    case asf::TypeQword:
        return a.value.size() >= 8 ? std::to_wstring(LittleEndian(a.value, 8)) : std::wstring();
    default:
        return std::wstring();
    }
}

// Opens the reader and waits for it; false when it fails or does not answer in time.
bool OpenAndWait(asf::IHeaderReader& reader, const std::wstring& path, TWMACALLBACKEX& callback, DWORD timeoutMs) {
    if (!reader.Open(path, &callback)) return false;
    if (!callback.Wait(timeoutMs)) return false;
    return callback.Result() >= 0;
}

// Closes the reader on every path, so no callback can reach the stack after we return.
class ReaderCloser {
public:
    explicit ReaderCloser(asf::IHeaderReader& reader) : m_reader(reader) {}
    ~ReaderCloser() { m_reader.Close(); }

private:
    asf::IHeaderReader& m_reader;
};

}  // namespace

bool ExtractWmaPictureData(const std::vector<unsigned char>& value, std::vector<unsigned char>& picture) {
    // picture type (1), data length (4), MIME type, description, data
    if (value.size() < 5) return false;
    unsigned long long length = LittleEndian(std::vector<unsigned char>(value.begin() + 1, value.begin() + 5), 4);
    size_t pos = 5;
    if (!ReadUtf16z(value, pos, nullptr) || !ReadUtf16z(value, pos, nullptr)) return false;
    if (length == 0 || length > value.size() - pos) return false;
    picture.assign(value.begin() + static_cast<std::ptrdiff_t>(pos),
                   value.begin() + static_cast<std::ptrdiff_t>(pos + length));
    return true;
}

int ReadWmaInfoFrom(TTagInfo& info, const std::wstring& path, asf::IHeaderReader& reader, DWORD timeoutMs) {
    TWMACALLBACKEX callback;
    ReaderCloser closer(reader);
    if (!OpenAndWait(reader, path, callback, timeoutMs)) return TagReadCannotOpen;

    asf::OutputFormat format;
    if (!reader.GetOutputFormat(0, format)) return TagReadCannotOpen;
    if (!format.isAudio) return TagReadNotThatFormat;
    info.channels = ChannelCount(format.channels);
    info.samplingRate = StreamNumber(format.samplingRate);

    int count = 0;
    if (!reader.GetAttributeCount(0, count)) return TagReadNotThatFormat;
    for (int i = 0; i < count; ++i) {
        asf::Attribute a;
        if (!reader.GetAttributeByIndex(0, i, a)) return TagReadNotThatFormat;
        info.SetTag(a.name, AttributeText(a));
        if (_wcsicmp(a.name.c_str(), L"Bitrate") == 0 && a.type == asf::TypeDword && a.value.size() >= 4)
            info.bitRate = StreamNumber(LittleEndian(a.value, 4));
        else if (_wcsicmp(a.name.c_str(), L"IsVBR") == 0 && a.type == asf::TypeBool && !a.value.empty())
            info.vbr = a.value[0] != 0 ? 1 : info.vbr;
        else if (_wcsicmp(a.name.c_str(), L"Duration") == 0 && a.type == asf::TypeQword && a.value.size() >= 8)
            info.seconds = StreamNumber(LittleEndian(a.value, 8) / 10000000ULL);
    }

    int codecs = 0;
    if (!reader.GetCodecInfoCount(codecs)) return TagReadNotThatFormat;
    for (int i = 0; i < codecs; ++i) {
        asf::CodecInfo codec;
        if (!reader.GetCodecInfo(i, codec)) return TagReadNotThatFormat;
        info.codecText = codec.name + L"/ " + codec.description;
    }

    info.formatCode = FormatWma;
    info.tagType = TagWindowsMedia;
    return TagReadOk;
}

int ReadWmaInfo(TTagInfo& info, const std::wstring& path) {
    std::unique_ptr<asf::IHeaderReader> reader = asf::CreateHeaderReader();
    if (!reader) return TagReadCannotOpen;
    return ReadWmaInfoFrom(info, path, *reader, kWmaOpenTimeoutMs);
}

bool ReadWmaPictureFrom(const std::wstring& path, asf::IHeaderReader& reader, DWORD timeoutMs,
                        std::vector<unsigned char>& picture) {
    TWMACALLBACKEX callback;
    ReaderCloser closer(reader);
    if (!OpenAndWait(reader, path, callback, timeoutMs)) return false;
    int count = 0;
    if (!reader.GetAttributeCount(0, count)) return false;
    for (int i = 0; i < count; ++i) {
        asf::Attribute a;
        if (!reader.GetAttributeByIndex(0, i, a)) return false;
        if (a.type == asf::TypeBinary && _wcsicmp(a.name.c_str(), L"WM/Picture") == 0)
            return ExtractWmaPictureData(a.value, picture);
    }
    return false;
}

}  // namespace tagReader
