#include "tags/ape/ApeDecompressor.h"
#include <taglib/apefile.h>
#include <taglib/apeitem.h>
#include <taglib/apeproperties.h>
#include <taglib/apetag.h>
#include <taglib/id3v1tag.h>
#include <taglib/tfilestream.h>
#include <windows.h>
#include <cwctype>
#include <mutex>
#include <cstring>

namespace ape {

namespace {

// ID3v1 texts of Japanese files are in the ANSI code page, not Latin-1.
class AnsiStringHandler : public TagLib::ID3v1::StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override {
        int length = 0;
        while (length < static_cast<int>(data.size()) && data[length] != 0) ++length;
        std::wstring text;
        int count = length ? MultiByteToWideChar(CP_ACP, 0, data.data(), length, nullptr, 0) : 0;
        if (count > 0) {
            text.resize(static_cast<size_t>(count));
            MultiByteToWideChar(CP_ACP, 0, data.data(), length, &text[0], count);
        }
        while (!text.empty() && (text.back() == L' ' || text.back() == L'\0')) text.pop_back();
        return TagLib::String(text);
    }
};

void UseAnsiForId3v1() {
    static AnsiStringHandler handler;
    static std::once_flag once;
    std::call_once(once, [] { TagLib::ID3v1::Tag::setStringHandler(&handler); });
}

}  // namespace

std::wstring ApeTag::Key(const wchar_t* name) {
    std::wstring key = name ? name : L"";
    for (auto& c : key) c = static_cast<wchar_t>(std::towupper(c));
    return key;
}

void ApeTag::SetText(const std::wstring& name, const std::wstring& text) {
    if (text.empty()) return;   // an empty ID3v1 field is no field, as in an MP3's ID3v1 tag
    Field field;
    field.text = text;
    std::string utf8 = TagLib::String(text).to8Bit(true);
    field.bytes.assign(utf8.begin(), utf8.end());
    m_fields[Key(name.c_str())] = field;
}

int ApeTag::GetFieldString(const wchar_t* name, wchar_t* buffer, int* chars) const {
    auto it = m_fields.find(Key(name));
    if (it == m_fields.end()) {
        *chars = 0;
        return FieldMissing;
    }
    const std::wstring& text = it->second.text;
    if (static_cast<int>(text.size()) > *chars) {
        *chars = static_cast<int>(text.size());
        return FieldBufferTooSmall;
    }
    std::memcpy(buffer, text.data(), text.size() * sizeof(wchar_t));
    buffer[text.size()] = L'\0';
    *chars = static_cast<int>(text.size());
    return FieldOk;
}

bool ApeTag::GetFieldBinary(const wchar_t* name, std::vector<unsigned char>& data) const {
    auto it = m_fields.find(Key(name));
    if (it == m_fields.end()) return false;
    data = it->second.bytes;
    return true;
}

bool ApeTag::HasField(const wchar_t* name) const { return m_fields.count(Key(name)) != 0; }

std::unique_ptr<ApeDecompressor> ApeDecompressor::Create(const std::wstring& path) {
    UseAnsiForId3v1();
    // Read-only: several readers of one file may be at work at once.
    TagLib::FileStream stream(path.c_str(), true);
    TagLib::APE::File file(&stream, true, TagLib::AudioProperties::Average);
    if (!file.isOpen() || !file.isValid()) return nullptr;
    const TagLib::APE::Properties* props = file.audioProperties();
    if (!props || props->sampleRate() <= 0 || props->channels() <= 0) return nullptr;

    std::unique_ptr<ApeDecompressor> result(new ApeDecompressor);
    result->m_sampleRate = props->sampleRate();
    result->m_channels = props->channels();
    result->m_lengthMs = props->lengthInMilliseconds();
    result->m_bitrate = props->bitrate();

    ApeTag& tag = result->m_tag;
    if (file.hasAPETag()) {
        tag.m_hasApe = true;
        const TagLib::APE::ItemListMap& items = file.APETag()->itemListMap();
        for (auto it = items.begin(); it != items.end(); ++it) {
            const TagLib::APE::Item& item = it->second;
            ApeTag::Field field;
            if (item.type() == TagLib::APE::Item::Text) {
                // A text item holds its values as UTF-8, separated by zero bytes.
                TagLib::StringList values = item.values();
                if (!values.isEmpty()) field.text = values.front().toWString();
                for (auto v = values.begin(); v != values.end(); ++v) {
                    if (v != values.begin()) field.bytes.push_back(0);
                    std::string utf8 = v->to8Bit(true);
                    field.bytes.insert(field.bytes.end(), utf8.begin(), utf8.end());
                }
            } else {
                TagLib::ByteVector raw = item.binaryData();
                field.bytes.assign(raw.data(), raw.data() + raw.size());
            }
            tag.m_fields[ApeTag::Key(item.key().toWString().c_str())] = field;
        }
    }
    if (file.hasID3v1Tag()) {
        tag.m_hasId3 = true;
        if (!tag.m_hasApe) {
            TagLib::ID3v1::Tag* v1 = file.ID3v1Tag();
            tag.SetText(L"Title", v1->title().toWString());
            tag.SetText(L"Artist", v1->artist().toWString());
            tag.SetText(L"Album", v1->album().toWString());
            tag.SetText(L"Comment", v1->comment().toWString());
            if (v1->year()) tag.SetText(L"Year", std::to_wstring(v1->year()));
            if (v1->track()) tag.SetText(L"Track", std::to_wstring(v1->track()));
            tag.SetText(L"Genre", v1->genre().toWString());
        }
    }
    return result;
}

long long ApeDecompressor::GetInfo(InfoField field) const {
    switch (field) {
    case InfoSampleRate: return m_sampleRate;
    case InfoChannels: return m_channels;
    case InfoLengthMs: return m_lengthMs;
    case InfoAverageBitrate: return m_bitrate;
    }
    return 0;
}

}  // namespace ape
