#pragma once
#include <objidl.h>
#include <cstdint>

namespace tagReader {

// A picture's size as its header gives it, read before anything decodes it.
struct PictureSize {
    uint32_t width = 0;    // in a GIF, of the screen widened to hold every frame
    uint32_t height = 0;
    // How much a decoder may hold at once, in 32-bit pixels: width x height, and for a GIF
    // also its frames (a byte a pixel), which decoders keep all together.
    uint64_t decodedPixels = 0;
};

// The size of the PNG, JPEG, GIF or BMP picture at the start of `stream`, from its header
// bytes (a GIF's frames are walked, a JPEG's segments skipped); the stream is put back at its
// start. False for any other format, and for a header without a size.
bool ReadPictureSize(IStream* stream, PictureSize& size);

}  // namespace tagReader
