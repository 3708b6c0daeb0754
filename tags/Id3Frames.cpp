#include "tags/Id3Frames.h"
#include "tags/TagText.h"
#include <fcntl.h>
#include <io.h>
#include <id3tag.h>
#include <cstdlib>
#include <cstring>

namespace tagReader {

namespace {

// False when the file begins with an ID3v2 header whose tag runs past the end of the file.
bool Id3v2TagFits(int fd) {
    unsigned char header[10];
    int got = _read(fd, header, sizeof header);
    long long size = _lseeki64(fd, 0, SEEK_END);
    _lseeki64(fd, 0, SEEK_SET);
    if (got < 3 || std::memcmp(header, "ID3", 3) != 0) return true;
    if (got < 10) return false;   // a tag header cut short
    if (header[3] == 0xFF || header[4] == 0xFF) return true;   // not a tag header at all
    for (int i = 6; i < 10; ++i)
        if (header[i] & 0x80) return true;
    long long length = 10 + ((header[6] << 21) | (header[7] << 14) | (header[8] << 7) | header[9]);
    if (header[5] & 0x10) length += 10;   // footer
    return length <= size;
}

}  // namespace

id3_file* OpenId3File(const std::wstring& path, bool* truncatedTag) {
    if (truncatedTag) *truncatedTag = false;
    int fd = _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
    if (fd < 0) return nullptr;
    if (!Id3v2TagFits(fd)) {
        _close(fd);
        if (truncatedTag) *truncatedTag = true;
        return nullptr;
    }
    id3_file* file = id3_file_fdopen(fd, ID3_FILE_MODE_READONLY);
    if (!file) _close(fd);   // the library leaves the descriptor open when it fails
    return file;
}

namespace {

const union id3_field* FindField(const id3_frame* frame, enum id3_field_type type) {
    for (unsigned i = 0; i < frame->nfields; ++i) {
        const union id3_field* field = id3_frame_field(frame, i);
        if (field && field->type == type) return field;
    }
    return nullptr;
}

// Converts one ID3 string by its frame's text encoding. Latin-1 frames of Japanese files
// really hold the ANSI code page, so they are decoded through it.
std::wstring ConvertId3String(const id3_ucs4_t* ucs4, int encoding) {
    std::wstring text;
    if (!ucs4) return text;
    if (encoding == ID3_FIELD_TEXTENCODING_ISO_8859_1) {
        id3_latin1_t* latin1 = id3_ucs4_latin1duplicate(ucs4);
        if (latin1) {
            AnsiToWide(reinterpret_cast<const char*>(latin1), -1, text);
            std::free(latin1);
        }
    } else if (encoding == ID3_FIELD_TEXTENCODING_UTF_8) {
        id3_utf8_t* utf8 = id3_ucs4_utf8duplicate(ucs4);
        if (utf8) {
            Utf8ToWide(reinterpret_cast<const char*>(utf8), -1, text);
            std::free(utf8);
        }
    } else {
        id3_utf16_t* utf16 = id3_ucs4_utf16duplicate(ucs4);
        if (utf16) {
            for (const id3_utf16_t* p = utf16; *p; ++p) text.push_back(static_cast<wchar_t>(*p));
            std::free(utf16);
        }
    }
    return text;
}

}  // namespace

bool GetId3TextFrame(const id3_tag* tag, const char* frameId, std::wstring& text) {
    if (!tag) return false;
    const id3_frame* frame = id3_tag_findframe(tag, frameId, 0);
    if (!frame) return false;
    const union id3_field* encodingField = FindField(frame, ID3_FIELD_TYPE_TEXTENCODING);
    const union id3_field* list = FindField(frame, ID3_FIELD_TYPE_STRINGLIST);
    if (!encodingField || !list) return false;
    unsigned count = id3_field_getnstrings(list);
    if (count == 0) return false;

    int encoding = static_cast<int>(id3_field_gettextencoding(encodingField));
    bool genre = std::strcmp(frameId, "TCON") == 0;
    if (genre && encoding == ID3_FIELD_TEXTENCODING_UTF_8) encoding = ID3_FIELD_TEXTENCODING_UTF_16;
    for (unsigned i = 0; i < count; ++i) {
        const id3_ucs4_t* ucs4 = id3_field_getstrings(list, i);
        if (genre && ucs4) ucs4 = id3_genre_name(ucs4);
        text = ConvertId3String(ucs4, encoding);
    }
    return true;
}

bool GetId3Comment(const id3_tag* tag, std::wstring& text) {
    if (!tag) return false;
    const id3_frame* frame = id3_tag_findframe(tag, "COMM", 0);
    if (!frame || frame->nfields <= 3) return false;
    const union id3_field* encodingField = FindField(frame, ID3_FIELD_TYPE_TEXTENCODING);
    const union id3_field* full = id3_frame_field(frame, 3);
    if (!encodingField || !full || full->type != ID3_FIELD_TYPE_STRINGFULL) return false;
    const id3_ucs4_t* ucs4 = id3_field_getfullstring(full);
    if (!ucs4) return false;
    text = ConvertId3String(ucs4, static_cast<int>(id3_field_gettextencoding(encodingField)));
    return true;
}

bool HasId3Picture(const id3_tag* tag, std::wstring& text) {
    if (!tag) return false;
    const id3_frame* frame = id3_tag_findframe(tag, "APIC", 0);
    if (!frame || frame->nfields <= 3) return false;
    const union id3_field* mime = FindField(frame, ID3_FIELD_TYPE_LATIN1);
    if (!mime || !id3_field_getlatin1(mime)) return false;
    text = L"APIC";
    return true;
}

}  // namespace tagReader
