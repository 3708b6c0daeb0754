#include "tags/StreamNumber.h"
#include "tags/TagReaders.h"
#include "tags/TagText.h"
#include <cstdio>
#include <vorbis/vorbisfile.h>

namespace tagReader {

namespace {

// vorbisfile's own file opening goes through the ANSI code page; these read a file opened
// by its wide path.
size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
    return std::fread(buffer, size, count, static_cast<FILE*>(source));
}
int SeekCallback(void* source, ogg_int64_t offset, int whence) {
    return _fseeki64(static_cast<FILE*>(source), offset, whence);
}
int CloseCallback(void* source) { return std::fclose(static_cast<FILE*>(source)); }
long TellCallback(void* source) { return static_cast<long>(_ftelli64(static_cast<FILE*>(source))); }

}  // namespace

int ReadOggInfo(TTagInfo& info, const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return TagReadCannotOpen;
    OggVorbis_File vf;
    ov_callbacks callbacks = {ReadCallback, SeekCallback, CloseCallback, TellCallback};
    if (ov_open_callbacks(file, &vf, nullptr, 0, callbacks) != 0) {
        std::fclose(file);   // not closed by a failed open
        return TagReadCannotOpen;
    }

    vorbis_info* vi = ov_info(&vf, -1);
    info.formatCode = FormatOgg;
    if (vi) {
        ogg_int64_t samples = ov_pcm_total(&vf, -1);
        info.seconds = (vi->rate > 0 && samples > 0) ? StreamNumber(samples / vi->rate) : 0;
        info.bitRate = StreamNumber(vi->bitrate_nominal);
        info.channels = ChannelCount(vi->channels);
        info.samplingRate = StreamNumber(vi->rate);
    }
    info.vbr = 1;
    info.tagType = TagOggVorbis;

    vorbis_comment* vc = ov_comment(&vf, -1);
    if (vc) {
        if (vc->vendor) Utf8ToWide(vc->vendor, -1, info.codecText);
        for (int i = 0; i < vc->comments; ++i) {
            std::wstring comment, key, value;
            if (!Utf8ToWide(vc->user_comments[i], vc->comment_lengths[i], comment)) continue;
            if (!SplitKeyValue(comment, key, value)) continue;
            info.SetTag(key, value);
        }
    }
    ov_clear(&vf);   // closes the file
    return TagReadOk;
}

}  // namespace tagReader
