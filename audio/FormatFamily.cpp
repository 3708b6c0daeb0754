#include "audio/FormatFamily.h"

#include <cstring>

#include "audio/AddonInterface.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace larkaudio {

DWORD FormatFamilyOf(const char* demuxerName, int codecId) {
    if (!demuxerName) return 0;
    const auto id = static_cast<AVCodecID>(codecId);
    const auto is = [&](const char* name) { return std::strcmp(demuxerName, name) == 0; };
    if (is("mp3")) {
        return (id == AV_CODEC_ID_MP1 || id == AV_CODEC_ID_MP2 || id == AV_CODEC_ID_MP3) ? LARK_FAMILY_MPEG : 0;
    }
    if (is("ogg")) return id == AV_CODEC_ID_VORBIS ? LARK_FAMILY_OGG : 0;
    if (is("wav") || is("w64")) return id != AV_CODEC_ID_NONE ? LARK_FAMILY_WAV : 0;
    if (is("asf")) {
        return (id == AV_CODEC_ID_WMAV1 || id == AV_CODEC_ID_WMAV2 || id == AV_CODEC_ID_WMAPRO ||
                id == AV_CODEC_ID_WMALOSSLESS)
                   ? LARK_FAMILY_WMA
                   : 0;
    }
    if (is("aac")) return id == AV_CODEC_ID_AAC ? LARK_FAMILY_AAC : 0;
    if (std::strncmp(demuxerName, "mov,", 4) == 0) {
        if (id == AV_CODEC_ID_AAC) return LARK_FAMILY_MP4;
        if (id == AV_CODEC_ID_ALAC) return LARK_FAMILY_ALAC;
        return 0;
    }
    if (is("flac")) return id == AV_CODEC_ID_FLAC ? LARK_FAMILY_FLAC : 0;
    if (is("tta")) return id == AV_CODEC_ID_TTA ? LARK_FAMILY_TTA : 0;
    if (is("ape")) return id == AV_CODEC_ID_APE ? LARK_FAMILY_APE : 0;
    return 0;
}

DWORD SourceResolution(int codecId) {
    switch (static_cast<AVCodecID>(codecId)) {
    case AV_CODEC_ID_PCM_U8:
    case AV_CODEC_ID_PCM_S8:
    case AV_CODEC_ID_PCM_ALAW:
    case AV_CODEC_ID_PCM_MULAW: return 8;
    case AV_CODEC_ID_PCM_S16LE:
    case AV_CODEC_ID_PCM_S16BE: return 16;
    case AV_CODEC_ID_PCM_S24LE:
    case AV_CODEC_ID_PCM_S24BE: return 24;
    case AV_CODEC_ID_PCM_S32LE:
    case AV_CODEC_ID_PCM_S32BE:
    case AV_CODEC_ID_PCM_F32LE: return 32;
    case AV_CODEC_ID_PCM_F64LE: return 64;
    default: return 0;
    }
}

}  // namespace larkaudio
