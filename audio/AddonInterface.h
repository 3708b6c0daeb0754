#pragma once
// The contract between the engine DLL and its add-on decoder DLLs. An add-on holds no decoder:
// its stream-creation export asks the engine for a stream restricted to the add-on's format
// families, and its family export tells BASS_PluginLoad which families it adds to
// BASS_StreamCreateFile. Freeing an add-on therefore never removes code a stream still runs.

#include "audio/bass.h"

// Format families (also BASS_CHANNELINFO::ctype).
#define LARK_FAMILY_MPEG 0x001   // MPEG audio layers 1-3
#define LARK_FAMILY_OGG 0x002    // Ogg Vorbis
#define LARK_FAMILY_WAV 0x004    // RIFF WAVE (and Wave64)
#define LARK_FAMILY_WMA 0x008    // ASF with WMA v1/v2/Pro/Lossless
#define LARK_FAMILY_AAC 0x010    // raw ADTS AAC
#define LARK_FAMILY_MP4 0x020    // AAC in MP4/M4A
#define LARK_FAMILY_ALAC 0x040   // ALAC in MP4/M4A
#define LARK_FAMILY_FLAC 0x080
#define LARK_FAMILY_TTA 0x100
#define LARK_FAMILY_APE 0x200
#define LARK_FAMILY_CORE (LARK_FAMILY_MPEG | LARK_FAMILY_OGG | LARK_FAMILY_WAV)

extern "C" {

// Creates a stream like BASS_StreamCreateFile, accepting only files of the given families.
LARK_AUDIO_API HSTREAM WINAPI LarkAudio_StreamCreateFamily(DWORD families, BOOL mem, const void* file,
                                                           QWORD offset, QWORD length, DWORD flags);

// Exported by every add-on under this name: the families it adds.
typedef DWORD(WINAPI* LarkAudioAddonFamiliesProc)(void);
#define LARK_AUDIO_ADDON_FAMILIES_EXPORT "LarkAudio_AddonFamilies"

}  // extern "C"
