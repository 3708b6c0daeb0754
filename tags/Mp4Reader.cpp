#include "tags/StreamNumber.h"
#include "tags/TagReaders.h"
#include "tags/TagText.h"
#include "tags/mp4/Mp4File.h"
#include <cstring>
#include <cwchar>

namespace tagReader {

namespace {

void StoreText(TTagInfo& info, const mp4::TextItem& item, const wchar_t* key) {
    std::wstring text;
    if (item.present && Utf8ToWide(item.utf8.c_str(), -1, text)) info.SetTag(key, text);
}

}  // namespace

int ReadMp4Info(TTagInfo& info, const std::wstring& path) {
    std::unique_ptr<mp4::Mp4File> file = mp4::Mp4File::Open(path);
    if (!file) return TagReadNotThatFormat;
    info.tagType = TagMp4;
    info.yearKeyFlags = TagMp4;

    if (file->TrackCount() > 0) {
        const mp4::TrackInfo& track = file->Track(0);
        info.seconds = StreamNumber(mp4::Mp4File::DurationSeconds(track));
        info.bitRate = StreamNumber(track.bitRate);
        info.samplingRate = StreamNumber(track.timeScale);
        info.channels = ChannelCount(track.channels);
        if (_stricmp(track.mediaDataName.c_str(), "mp4a") == 0)
            info.formatCode = FormatMp4;
        else if (_stricmp(track.mediaDataName.c_str(), "alac") == 0)
            info.formatCode = FormatAlac;
        else
            return TagReadNotThatFormat;
    }

    const mp4::Metadata& tags = file->Tags();
    StoreText(info, tags.name, L"TIT2");
    StoreText(info, tags.artist, L"TPE1");
    StoreText(info, tags.album, L"TALB");
    if (tags.hasTrack) {
        wchar_t text[32];
        swprintf(text, 32, L"%02d/%02d", tags.track, tags.totalTracks);
        info.SetTag(L"TRCK", text);
    }
    StoreText(info, tags.year, L"TYER");
    StoreText(info, tags.genre, L"TCON");
    StoreText(info, tags.comment, L"COMM");
    if (!tags.coverArt.empty()) info.SetTag(L"APIC", std::to_wstring(tags.coverArt.size()));
    return TagReadOk;
}

}  // namespace tagReader
