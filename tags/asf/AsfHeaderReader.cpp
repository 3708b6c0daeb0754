#include "tags/asf/AsfHeaderReader.h"
#include <taglib/asfattribute.h>
#include <taglib/asffile.h>
#include <taglib/asfpicture.h>
#include <taglib/asfproperties.h>
#include <taglib/asftag.h>
#include <taglib/tfilestream.h>
#include <memory>

namespace asf {

namespace {

const long kResultFail = static_cast<long>(0x80004005);   // unspecified failure
const long kResultOk = 0;

void PutLe(std::vector<unsigned char>& out, unsigned long long value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutString(std::vector<unsigned char>& out, const std::wstring& text) {
    for (wchar_t c : text) PutLe(out, static_cast<unsigned short>(c), 2);
    PutLe(out, 0, 2);
}

Attribute MakeString(const wchar_t* name, const TagLib::String& text) {
    Attribute a;
    a.name = name;
    a.type = TypeString;
    PutString(a.value, text.toWString());
    return a;
}

Attribute Convert(const TagLib::String& name, const TagLib::ASF::Attribute& source) {
    Attribute a;
    a.name = name.toWString();
    switch (source.type()) {
    case TagLib::ASF::Attribute::UnicodeType:
        a.type = TypeString;
        PutString(a.value, source.toString().toWString());
        break;
    case TagLib::ASF::Attribute::BoolType:
        a.type = TypeBool;
        PutLe(a.value, source.toBool() ? 1 : 0, 4);
        break;
    case TagLib::ASF::Attribute::DWordType:
        a.type = TypeDword;
        PutLe(a.value, source.toUInt(), 4);
        break;
    case TagLib::ASF::Attribute::QWordType:
        a.type = TypeQword;
        PutLe(a.value, source.toULongLong(), 8);
        break;
    case TagLib::ASF::Attribute::WordType:
        a.type = TypeWord;
        PutLe(a.value, source.toUShort(), 2);
        break;
    case TagLib::ASF::Attribute::GuidType: {
        a.type = TypeGuid;
        TagLib::ByteVector raw = source.toByteVector();
        a.value.assign(raw.data(), raw.data() + raw.size());
        break;
    }
    default: {
        a.type = TypeBinary;
        // TagLib keeps a well-formed picture parsed and drops its raw bytes; give them back
        // in the stored layout.
        TagLib::ByteVector raw = source.toByteVector();
        if (raw.isEmpty()) {
            TagLib::ASF::Picture picture = source.toPicture();
            if (picture.isValid()) raw = picture.render();
        }
        a.value.assign(raw.data(), raw.data() + raw.size());
        break;
    }
    }
    return a;
}

// What one open found.
struct ParsedHeader {
    OutputFormat format;
    std::vector<Attribute> attributes;
    std::vector<CodecInfo> codecs;
};

bool Parse(const std::wstring& path, ParsedHeader& out) {
    // Read-only: several readers of one file may be at work at once.
    TagLib::FileStream stream(path.c_str(), true);
    TagLib::ASF::File file(&stream, true, TagLib::AudioProperties::Average);
    if (!file.isOpen() || !file.isValid()) return false;
    const TagLib::ASF::Properties* props = file.audioProperties();
    TagLib::ASF::Tag* tag = file.tag();
    if (!props || !tag) return false;

    OutputFormat format;
    format.isAudio = props->channels() > 0 && props->sampleRate() > 0;
    format.channels = props->channels();
    format.samplingRate = props->sampleRate();

    // Derived attributes first, as the runtime lists them, then the content description,
    // then the stored attributes of stream 0.
    std::vector<Attribute> attributes;
    const TagLib::ASF::AttributeListMap& stored = tag->attributeListMap();
    Attribute duration;
    duration.name = L"Duration";
    duration.type = TypeQword;
    // A play duration shorter than its preroll leaves a negative length: unknown, 0.
    const int milliseconds = props->lengthInMilliseconds();
    PutLe(duration.value, milliseconds > 0 ? static_cast<unsigned long long>(milliseconds) * 10000ULL : 0, 8);
    attributes.push_back(duration);
    Attribute bitrate;
    bitrate.name = L"Bitrate";
    bitrate.type = TypeDword;
    // Bits per second that a signed DWORD cannot hold (a damaged byte rate) are unknown, 0.
    const long long bitsPerSecond = static_cast<long long>(props->bitrate()) * 1000;
    PutLe(bitrate.value, bitsPerSecond > 0 && bitsPerSecond <= 0x7FFFFFFF ? bitsPerSecond : 0, 4);
    attributes.push_back(bitrate);
    if (!stored.contains("IsVBR")) {
        Attribute vbr;
        vbr.name = L"IsVBR";
        vbr.type = TypeBool;
        PutLe(vbr.value, 0, 4);
        attributes.push_back(vbr);
    }
    if (!tag->title().isEmpty()) attributes.push_back(MakeString(L"Title", tag->title()));
    if (!tag->artist().isEmpty()) attributes.push_back(MakeString(L"Author", tag->artist()));
    if (!tag->copyright().isEmpty()) attributes.push_back(MakeString(L"Copyright", tag->copyright()));
    if (!tag->comment().isEmpty()) attributes.push_back(MakeString(L"Description", tag->comment()));
    if (!tag->rating().isEmpty()) attributes.push_back(MakeString(L"Rating", tag->rating()));
    for (auto it = stored.begin(); it != stored.end(); ++it)
        for (const TagLib::ASF::Attribute& attribute : it->second)
            if (attribute.stream() == 0) attributes.push_back(Convert(it->first, attribute));

    std::vector<CodecInfo> codecs;
    if (!props->codecName().isEmpty() || !props->codecDescription().isEmpty())
        codecs.push_back({props->codecName().toWString(), props->codecDescription().toWString()});

    out.format = format;
    out.attributes.swap(attributes);
    out.codecs.swap(codecs);
    return true;
}

class HeaderReader : public IHeaderReader {
public:
    ~HeaderReader() override { Close(); }

    // The header is parsed on the calling thread, so the status reaches the callback before
    // Open returns and no thread is left behind.
    bool Open(const std::wstring& path, IReaderCallback* callback) override {
        Close();
        if (!callback) return false;
        auto header = std::make_unique<ParsedHeader>();
        bool parsed = false;
        try {
            parsed = Parse(path, *header);
        } catch (...) {
        }
        if (parsed) m_header = std::move(header);
        callback->OnStatus(StatusOpened, parsed ? kResultOk : kResultFail);
        return true;
    }

    void Close() override { m_header.reset(); }

    bool GetOutputFormat(int output, OutputFormat& format) override {
        const ParsedHeader* h = Ready();
        if (!h || output != 0) return false;
        format = h->format;
        return true;
    }

    bool GetAttributeCount(int stream, int& count) override {
        const ParsedHeader* h = Ready();
        if (!h) return false;
        count = stream == 0 ? static_cast<int>(h->attributes.size()) : 0;
        return true;
    }

    bool GetAttributeByIndex(int stream, int index, Attribute& attribute) override {
        const ParsedHeader* h = Ready();
        if (!h || stream != 0 || index < 0 || index >= static_cast<int>(h->attributes.size())) return false;
        attribute = h->attributes[static_cast<size_t>(index)];
        return true;
    }

    bool GetCodecInfoCount(int& count) override {
        const ParsedHeader* h = Ready();
        if (!h) return false;
        count = static_cast<int>(h->codecs.size());
        return true;
    }

    bool GetCodecInfo(int index, CodecInfo& info) override {
        const ParsedHeader* h = Ready();
        if (!h || index < 0 || index >= static_cast<int>(h->codecs.size())) return false;
        info = h->codecs[static_cast<size_t>(index)];
        return true;
    }

private:
    // The parsed header once an open has succeeded, else null.
    const ParsedHeader* Ready() const { return m_header.get(); }

    std::unique_ptr<ParsedHeader> m_header;
};

}  // namespace

std::unique_ptr<IHeaderReader> CreateHeaderReader() { return std::unique_ptr<IHeaderReader>(new HeaderReader); }

}  // namespace asf
