#include "tags/EmbeddedCoverArt.h"
#include "tags/Id3Frames.h"
#include "tags/MemoryStream.h"
#include "tags/TagText.h"
#include "tags/WmaCallback.h"
#include "tags/WmaReader.h"
#include "tags/ape/ApeDecompressor.h"
#include "tags/asf/AsfHeaderReader.h"
#include "tags/mp4/Mp4File.h"
#include <FLAC/metadata.h>
#include <id3tag.h>
#include <algorithm>
#include <cstring>

namespace tagReader {

bool ReadId3CoverArt(const std::wstring& path, CoverImageBuffer& buffer) {
    id3_file* file = OpenId3File(path);
    if (!file) return false;
    bool found = false;
    const id3_tag* tag = id3_file_tag(file);
    const id3_frame* frame = nullptr;
    for (unsigned i = 0; tag && (frame = id3_tag_findframe(tag, "APIC", i)) != nullptr; ++i)
        if (frame->nfields > 0) break;
    if (frame) {
        for (unsigned i = 0; i < frame->nfields; ++i) {
            const union id3_field* field = id3_frame_field(frame, i);
            if (!field || field->type != ID3_FIELD_TYPE_BINARYDATA) continue;
            id3_length_t length = 0;
            const id3_byte_t* data = id3_field_getbinarydata(field, &length);
            if (data && length > 0) {
                // A JPEG whose first five bytes were lost by a faulty tagger: put them back.
                static const unsigned char kLostStart[5] = {0x10, 0x4A, 0x46, 0x49, 0x46};
                static const unsigned char kJpegStart[5] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00};
                buffer.bytes.clear();
                if (length > 5 && std::memcmp(data, kLostStart, 5) == 0)
                    buffer.bytes.assign(kJpegStart, kJpegStart + 5);
                buffer.bytes.insert(buffer.bytes.end(), data, data + length);
                found = true;
            }
            break;
        }
    }
    id3_file_close(file);
    return found;
}

bool ReadMp4CoverArt(const std::wstring& path, CoverImageBuffer& buffer) {
    std::unique_ptr<mp4::Mp4File> file = mp4::Mp4File::Open(path);
    if (!file || file->Tags().coverArt.empty()) return false;
    buffer.bytes = file->Tags().coverArt;
    return true;
}

bool ReadWmaCoverArt(const std::wstring& path, CoverImageBuffer& buffer) {
    std::unique_ptr<asf::IHeaderReader> reader = asf::CreateHeaderReader();
    if (!reader) return false;
    std::vector<unsigned char> picture;
    if (!ReadWmaPictureFrom(path, *reader, kWmaOpenTimeoutMs, picture)) return false;
    buffer.bytes.swap(picture);
    return true;
}

bool ReadFlacCoverArt(const std::wstring& path, CoverImageBuffer& buffer) {
    FLAC__StreamMetadata* picture = nullptr;
    std::string name = WideToUtf8(path);   // libFLAC takes UTF-8 file names on Windows
    if (!FLAC__metadata_get_picture(name.c_str(), &picture, FLAC__STREAM_METADATA_PICTURE_TYPE_FRONT_COVER, nullptr,
                                    nullptr, static_cast<unsigned>(-1), static_cast<unsigned>(-1),
                                    static_cast<unsigned>(-1), static_cast<unsigned>(-1)) ||
        !picture)
        return false;
    const FLAC__StreamMetadata_Picture& p = picture->data.picture;
    bool found = p.data && p.data_length > 0;
    if (found) buffer.bytes.assign(p.data, p.data + p.data_length);
    FLAC__metadata_object_delete(picture);
    return found;
}

bool ReadApeCoverArt(const std::wstring& path, CoverImageBuffer& buffer) {
    std::unique_ptr<ape::ApeDecompressor> decompressor = ape::ApeDecompressor::Create(path);
    if (!decompressor || !decompressor->GetTag()) return false;
    std::vector<unsigned char> value;
    if (!decompressor->GetTag()->GetFieldBinary(L"Cover Art (front)", value)) return false;
    // A description ended by a zero byte, then the image.
    auto zero = std::find(value.begin(), value.end(), 0);
    if (zero == value.end() || zero + 1 == value.end()) return false;
    buffer.bytes.assign(zero + 1, value.end());
    return true;
}

bool LoadEmbeddedCoverArt(const std::wstring& path, CoverImageBuffer& buffer, int kind) {
    buffer.Release();   // a stream over old bytes must not outlive them
    buffer.kind = kind;
    bool found = false;
    switch (kind) {
    case CoverArtId3v2: found = ReadId3CoverArt(path, buffer); break;
    case CoverArtMp4: found = ReadMp4CoverArt(path, buffer); break;
    case CoverArtWma: found = ReadWmaCoverArt(path, buffer); break;
    case CoverArtFlac: found = ReadFlacCoverArt(path, buffer); break;
    case CoverArtApe: found = ReadApeCoverArt(path, buffer); break;
    default: return false;
    }
    if (!found || buffer.bytes.empty()) return false;
    const BYTE* begin = buffer.bytes.data();
    buffer.stream = MemoryStream::Create(begin, begin + buffer.bytes.size());
    return buffer.stream != nullptr;
}

bool CoverArtKindForTagType(int tagType, int& kind) {
    switch (tagType) {
    case 1: case 2: case 4: case 8: case 16: case 32: case 64: case 4096: kind = CoverArtId3v2; return true;
    case 512: kind = CoverArtWma; return true;
    case 1024: kind = CoverArtMp4; return true;
    case 2048: kind = CoverArtFlac; return true;
    case 8192: kind = CoverArtApe; return true;
    default: return false;
    }
}

}  // namespace tagReader
