#pragma once
#include <objidl.h>
#include <vector>

namespace tagReader {

// Which container an embedded picture is read from.
enum CoverArtKind {
    CoverArtId3v2 = 0,
    CoverArtMp4 = 1,
    CoverArtWma = 2,
    CoverArtFlac = 3,
    CoverArtApe = 4,
};

// The bytes of one embedded picture and the read-only stream made over them. The buffer
// must outlive every user of the stream.
class CoverImageBuffer {
public:
    CoverImageBuffer() = default;
    ~CoverImageBuffer() { Release(); }
    CoverImageBuffer(const CoverImageBuffer&) = delete;
    CoverImageBuffer& operator=(const CoverImageBuffer&) = delete;

    // Releases the stream and frees the bytes.
    void Release();

    std::vector<unsigned char> bytes;
    int kind = CoverArtId3v2;
    IStream* stream = nullptr;
};

}  // namespace tagReader
