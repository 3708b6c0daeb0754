#include "tags/ApeReader.h"
#include "tags/StreamNumber.h"
#include "tags/TagReaders.h"
#include "tags/ape/ApeDecompressor.h"
#include <vector>

namespace tagReader {

bool GetApeField(const ape::ApeTag& tag, const wchar_t* name, std::wstring& text) {
    const int kFirstSize = 4096;
    std::vector<wchar_t> buffer(kFirstSize + 1, L'\0');
    int chars = kFirstSize;
    int result = tag.GetFieldString(name, buffer.data(), &chars);
    if (result != ape::FieldOk) {
        if (result != ape::FieldBufferTooSmall || chars <= 0) return false;
        buffer.assign(static_cast<size_t>(chars) + 1, L'\0');
        if (tag.GetFieldString(name, buffer.data(), &chars) != ape::FieldOk) return false;
    }
    text.assign(buffer.data());   // up to the first zero
    return true;
}

int ReadApeInfo(TTagInfo& info, const std::wstring& path) {
    std::unique_ptr<ape::ApeDecompressor> decompressor = ape::ApeDecompressor::Create(path);
    if (!decompressor) return TagReadCannotOpen;

    info.vbr = 1;
    info.channels = ChannelCount(decompressor->GetInfo(ape::InfoChannels));
    info.samplingRate = StreamNumber(decompressor->GetInfo(ape::InfoSampleRate));
    info.seconds = StreamNumber(decompressor->GetInfo(ape::InfoLengthMs) / 1000);
    const long long kilobits = decompressor->GetInfo(ape::InfoAverageBitrate);
    info.bitRate = kilobits >= 0 && kilobits <= INT_MAX / 1000 ? StreamNumber(kilobits * 1000) : 0;

    const ape::ApeTag* tag = decompressor->GetTag();
    if (tag && (tag->HasId3Tag() || tag->HasApeTag())) {
        static const struct {
            const wchar_t* field;
            const wchar_t* key;
        } kFields[] = {
            {L"Title", L"TITLE"}, {L"Artist", L"ARTIST"}, {L"Album", L"ALBUM"}, {L"Comment", L"COMMENT"},
            {L"Year", L"DATE"},   {L"Track", L"TRACK"},   {L"Genre", L"GENRE"},
        };
        std::wstring text;
        for (const auto& f : kFields)
            if (GetApeField(*tag, f.field, text)) info.SetTag(f.key, text);
        if (tag->HasField(L"Cover Art (front)")) info.SetTag(L"APIC", L"APIC");
    }

    info.tagType = TagApe;
    info.yearKeyFlags = TagApe;
    info.formatCode = FormatApe;
    return TagReadOk;
}

}  // namespace tagReader
