#include "tags/Id3Frames.h"
#include "tags/StreamInfoSource.h"
#include "tags/StreamNumber.h"
#include "tags/TagReaders.h"
#include <id3tag.h>
#include <climits>
#include <cmath>

namespace tagReader {

namespace {

void StoreId3Tags(TTagInfo& info, const id3_tag* tag) {
    static const char* const kTextFrames[] = {"TIT2", "TPE1", "TALB", "TRCK"};
    std::wstring text;
    for (const char* id : kTextFrames)
        if (GetId3TextFrame(tag, id, text)) info.SetTag(std::wstring(id, id + 4), text);
    if (GetId3TextFrame(tag, "TDRC", text)) {
        if (text.size() >= 5) text.resize(4);
        info.SetTag(L"TYER", text);
    }
    if (GetId3TextFrame(tag, "TCON", text)) info.SetTag(L"TCON", text);
    if (HasId3Picture(tag, text)) info.SetTag(L"APIC", text);
    if (GetId3Comment(tag, text)) info.SetTag(L"COMM", text);
}

// Length, channels, sampling rate and the bit rate from the file size over the length.
void StoreStreamNumbers(TTagInfo& info, const std::wstring& path) {
    IStreamInfoSource* source = GetStreamInfoSource();
    StreamInfo stream;
    if (!source || !source->QueryStreamInfo(path, stream)) return;
    info.channels = ChannelCount(stream.channels);
    info.samplingRate = StreamNumber(stream.samplingRate);
    info.bitRate = 0;
    if (stream.seconds > 0.0) {
        // Kilobits per second to the nearest whole number; an unknown file end (the engine
        // reports -1) or a rate beyond an int gives none.
        double kilobits = std::trunc(static_cast<double>(stream.fileEnd) / (stream.seconds * 125.0) + 0.5);
        if (kilobits * 1000.0 <= INT_MAX) info.bitRate = static_cast<int>(kilobits) * 1000;
    }
    info.seconds = StreamNumber(stream.seconds);
}

int ReadId3File(TTagInfo& info, const std::wstring& path, bool tta) {
    bool truncated = false;
    id3_file* file = OpenId3File(path, &truncated);
    if (!file) return truncated ? TagReadNotThatFormat : TagReadCannotOpen;
    StoreId3Tags(info, id3_file_tag(file));
    if (tta) {
        info.yearKeyFlags = TagId3Tta;
        info.formatCode = FormatTta;
        info.tagType = TagId3Tta;
    } else {
        info.yearKeyFlags |= YearKeyTyer;
        info.formatCode = FormatMp3;
        info.tagType = TagId3Mpeg;
    }
    id3_file_close(file);
    StoreStreamNumbers(info, path);
    return TagReadOk;
}

}  // namespace

int ReadMp3Info(TTagInfo& info, const std::wstring& path) { return ReadId3File(info, path, false); }

int ReadTtaInfo(TTagInfo& info, const std::wstring& path) { return ReadId3File(info, path, true); }

}  // namespace tagReader
