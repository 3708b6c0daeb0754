#include "tags/StreamNumber.h"
#include "tags/TagReaders.h"
#include "tags/TagText.h"
#include <windows.h>
#include <FLAC/metadata.h>
#include <climits>

namespace tagReader {

namespace {

bool GetFileSize64(const std::wstring& path, unsigned long long& size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

void StoreComments(TTagInfo& info, const FLAC__StreamMetadata_VorbisComment& comments) {
    for (FLAC__uint32 i = 0; i < comments.num_comments; ++i) {
        const FLAC__StreamMetadata_VorbisComment_Entry& entry = comments.comments[i];
        std::wstring text, key, value;
        if (!entry.entry || entry.length > 0x7fffffffu) continue;
        if (!Utf8ToWide(reinterpret_cast<const char*>(entry.entry), static_cast<int>(entry.length), text))
            continue;
        if (!SplitKeyValue(text, key, value)) continue;
        info.SetTag(key, value);
    }
}

// Owns a metadata chain.
class FlacChain {
public:
    FlacChain() : m_chain(FLAC__metadata_chain_new()) {}
    ~FlacChain() {
        if (m_chain) FLAC__metadata_chain_delete(m_chain);
    }
    FlacChain(const FlacChain&) = delete;
    FlacChain& operator=(const FlacChain&) = delete;
    FLAC__Metadata_Chain* get() const { return m_chain; }

private:
    FLAC__Metadata_Chain* m_chain;
};

}  // namespace

int ReadFlacInfo(TTagInfo& info, const std::wstring& path) {
    // libFLAC takes UTF-8 file names on Windows.
    std::string name = WideToUtf8(path);

    FLAC__StreamMetadata streamInfo;
    if (!FLAC__metadata_get_streaminfo(name.c_str(), &streamInfo)) return TagReadCannotOpen;
    const FLAC__StreamMetadata_StreamInfo& si = streamInfo.data.stream_info;

    unsigned long long size = 0;
    GetFileSize64(path, size);
    info.channels = ChannelCount(si.channels);
    info.samplingRate = StreamNumber(si.sample_rate);
    info.formatCode = FormatFlac;
    info.vbr = 1;
    if (si.sample_rate != 0 && si.total_samples != 0) {
        long double millis = static_cast<long double>(si.total_samples) * 1000.0L / si.sample_rate;
        long double bitRate = static_cast<long double>(size) * 8.0L / millis * 1000.0L;
        info.bitRate = StreamNumber(bitRate);   // none for a lying sample count
        info.seconds = StreamNumber(si.total_samples / si.sample_rate);
    }
    info.tagType = TagFlacVorbis;

    // A file without a comment block reads as untagged; only a file whose blocks cannot be
    // read fails.
    FlacChain chain;
    if (!chain.get() || !FLAC__metadata_chain_read(chain.get(), name.c_str())) return TagReadCannotOpen;
    FLAC__Metadata_Iterator* it = FLAC__metadata_iterator_new();
    if (!it) return TagReadCannotOpen;
    FLAC__metadata_iterator_init(it, chain.get());
    bool haveComments = false;
    bool havePicture = false;
    do {
        const FLAC__StreamMetadata* block = FLAC__metadata_iterator_get_block(it);
        if (!block) continue;
        if (block->type == FLAC__METADATA_TYPE_VORBIS_COMMENT && !haveComments) {
            StoreComments(info, block->data.vorbis_comment);
            haveComments = true;
        } else if (block->type == FLAC__METADATA_TYPE_PICTURE && !havePicture &&
                   block->data.picture.type == FLAC__STREAM_METADATA_PICTURE_TYPE_FRONT_COVER) {
            info.SetTag(L"APIC", L"APIC");
            havePicture = true;
        }
    } while (FLAC__metadata_iterator_next(it));
    FLAC__metadata_iterator_delete(it);
    return TagReadOk;
}

}  // namespace tagReader
