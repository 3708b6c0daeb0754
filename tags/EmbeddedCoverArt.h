#pragma once
#include "tags/CoverImageBuffer.h"
#include <string>

namespace tagReader {

// Reads the embedded picture of the given kind and makes a stream over it (one reference,
// position at the start). False when there is no picture or the kind is unknown.
bool LoadEmbeddedCoverArt(const std::wstring& path, CoverImageBuffer& buffer, int kind);

// Each fills the buffer's bytes; false when the file has no picture of that kind.
bool ReadId3CoverArt(const std::wstring& path, CoverImageBuffer& buffer);
bool ReadMp4CoverArt(const std::wstring& path, CoverImageBuffer& buffer);
bool ReadWmaCoverArt(const std::wstring& path, CoverImageBuffer& buffer);
bool ReadFlacCoverArt(const std::wstring& path, CoverImageBuffer& buffer);
bool ReadApeCoverArt(const std::wstring& path, CoverImageBuffer& buffer);

// The kind to read for a track's tag-type bit; false for types without embedded pictures.
bool CoverArtKindForTagType(int tagType, int& kind);

}  // namespace tagReader
