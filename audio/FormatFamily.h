#pragma once
// Which format family (LARK_FAMILY_...) a demuxed audio stream belongs to.

#include <windows.h>

namespace larkaudio {

// The family of a stream found by the named FFmpeg demuxer with the given codec id, or 0 when
// the pair belongs to no family the engine plays.
DWORD FormatFamilyOf(const char* demuxerName, int codecId);

// Bits per sample of an uncompressed source codec, 0 for a compressed one.
DWORD SourceResolution(int codecId);

}  // namespace larkaudio
