#pragma once
// Public interface of the audio engine DLL ("bass.dll"): output devices, file streams decoded
// through FFmpeg, channel control, syncs, levels and FFT data, the parametric-equaliser effect
// and add-on decoder loading.
//
// Rules every caller may rely on:
// - every function may be called from any thread;
// - a call on a freed or stale handle fails (returns the error value, BASS_ErrorGetCode gives
//   BASS_ERROR_HANDLE) and never crashes; handles are never reused within a run;
// - sync callbacks run on an engine thread that holds no engine lock; freeing a stream,
//   removing a sync or freeing the engine never waits for a running callback;
// - byte positions and lengths count the stream's own sample frames (its own rate and
//   channels) at 2 bytes per sample, or 4 with BASS_SAMPLE_FLOAT.

#include <windows.h>
#include <cstdint>

#ifdef LARK_AUDIO_ENGINE_BUILD
#define LARK_AUDIO_API __declspec(dllexport)
#else
#define LARK_AUDIO_API __declspec(dllimport)
#endif

extern "C" {

typedef uint64_t QWORD;
typedef DWORD HSTREAM;   // a file stream
typedef DWORD HSYNC;     // a sync set on a channel
typedef DWORD HFX;       // an effect set on a channel
typedef DWORD HPLUGIN;   // a loaded add-on decoder

// Devices for BASS_Init: -1 the default output, 0 the silent "no sound" device, k >= 1 the
// wave-out device k-1.

// Stream-creation flags.
#define BASS_SAMPLE_FLOAT 0x100       // samples counted as 32-bit floats (4 bytes)
#define BASS_UNICODE 0x80000000       // the file name is UTF-16

// Position modes.
#define BASS_POS_BYTE 0

// BASS_StreamGetFilePosition modes.
#define BASS_FILEPOS_CURRENT 0
#define BASS_FILEPOS_END 2            // the size of the file

// Channel attributes.
#define BASS_ATTRIB_VOL 2             // volume, 0 (silent) to 1 (full)

// Sync types.
#define BASS_SYNC_END 2               // the stream's end has been heard

// Effect types.
#define BASS_FX_DX8_PARAMEQ 7         // one peaking band, parameters BASS_DX8_PARAMEQ

// BASS_ChannelGetData.
#define BASS_DATA_FFT2048 0x80000003  // 1024 float magnitudes of a 2048-sample FFT

// Configuration options for BASS_SetConfig.
#define BASS_CONFIG_BUFFER 0          // playback buffer length in ms (10-5000, default 100)

// Test switches (BASS_SetConfig); all 0 by default.
// Bit d+1 set makes BASS_Init fail for device d (bit 0 for -1, bit 1 for 0, bit 2 for 1, ...).
#define LARK_CONFIG_TEST_FAIL_DEVICES 0x10F00
// Not 0: creating a stream with BASS_SAMPLE_FLOAT fails with BASS_ERROR_FORMAT.
#define LARK_CONFIG_TEST_REFUSE_FLOAT 0x10F01
// n > 0: the default device and wave-out devices 1..n open as silent devices (like device 0)
// and no wave-out device is used; n = 0: the machine's real devices.
#define LARK_CONFIG_TEST_SILENT_DEVICES 0x10F02

// Error codes of BASS_ErrorGetCode.
#define BASS_OK 0
#define BASS_ERROR_MEM 1
#define BASS_ERROR_FILEOPEN 2
#define BASS_ERROR_DRIVER 3
#define BASS_ERROR_HANDLE 5
#define BASS_ERROR_FORMAT 6
#define BASS_ERROR_POSITION 7
#define BASS_ERROR_INIT 8
#define BASS_ERROR_ALREADY 14
#define BASS_ERROR_ILLTYPE 19
#define BASS_ERROR_ILLPARAM 20
#define BASS_ERROR_DEVICE 23
#define BASS_ERROR_NOPLAY 24
#define BASS_ERROR_FREQ 25
#define BASS_ERROR_NOTAVAIL 37
#define BASS_ERROR_FILEFORM 41
#define BASS_ERROR_UNKNOWN -1

// Parameters of a BASS_FX_DX8_PARAMEQ effect: centre 31-16000 Hz, bandwidth 1-36 semitones,
// gain -15 to +15 dB. A new effect starts at 8000 Hz, 12 semitones, 0 dB.
typedef struct {
    float fCenter;
    float fBandwidth;
    float fGain;
} BASS_DX8_PARAMEQ;

typedef struct {
    DWORD freq;      // sample rate of the stream
    DWORD chans;     // channels
    DWORD flags;     // creation flags kept (BASS_SAMPLE_FLOAT)
    DWORD ctype;     // the format family (LARK_FAMILY_... of AddonInterface.h)
    DWORD origres;   // bits per sample of the source, 0 when compressed
    HPLUGIN plugin;  // the add-on that opened the stream, 0 for the engine's own formats
} BASS_CHANNELINFO;

typedef void(CALLBACK SYNCPROC)(HSYNC handle, DWORD channel, DWORD data, void* user);

LARK_AUDIO_API int WINAPI BASS_ErrorGetCode(void);
LARK_AUDIO_API BOOL WINAPI BASS_SetConfig(DWORD option, DWORD value);

LARK_AUDIO_API BOOL WINAPI BASS_Init(int device, DWORD freq, DWORD flags, HWND win, const void* dsguid);
LARK_AUDIO_API BOOL WINAPI BASS_Free(void);

// Add-ons: a loaded add-on also lets BASS_StreamCreateFile open its formats.
LARK_AUDIO_API HPLUGIN WINAPI BASS_PluginLoad(const char* file, DWORD flags);
LARK_AUDIO_API BOOL WINAPI BASS_PluginFree(HPLUGIN handle);

// Opens MPEG audio (layers 1-3), Ogg Vorbis and WAV files, plus the formats of loaded add-ons.
// mem must be FALSE; offset and length select a part of the file (length 0: to its end).
LARK_AUDIO_API HSTREAM WINAPI BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset,
                                                    QWORD length, DWORD flags);
LARK_AUDIO_API BOOL WINAPI BASS_StreamFree(HSTREAM handle);
LARK_AUDIO_API QWORD WINAPI BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode);

LARK_AUDIO_API BOOL WINAPI BASS_ChannelGetInfo(DWORD handle, BASS_CHANNELINFO* info);
// restart: play from the beginning; otherwise resume where it is (a stream that ended starts
// over).
LARK_AUDIO_API BOOL WINAPI BASS_ChannelPlay(DWORD handle, BOOL restart);
LARK_AUDIO_API BOOL WINAPI BASS_ChannelStop(DWORD handle);
LARK_AUDIO_API BOOL WINAPI BASS_ChannelPause(DWORD handle);
// Lengths and positions return (QWORD)-1 on failure.
LARK_AUDIO_API QWORD WINAPI BASS_ChannelGetLength(DWORD handle, DWORD mode);
LARK_AUDIO_API QWORD WINAPI BASS_ChannelGetPosition(DWORD handle, DWORD mode);
// The position is rounded down to a whole sample frame; a position past the length fails.
LARK_AUDIO_API BOOL WINAPI BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode);
// Negative on failure.
LARK_AUDIO_API double WINAPI BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos);
// Rounded toward zero to whole frames; a negative time gives the two's complement of the
// negative byte count.
LARK_AUDIO_API QWORD WINAPI BASS_ChannelSeconds2Bytes(DWORD handle, double pos);
LARK_AUDIO_API BOOL WINAPI BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value);

// Peak levels of the heard data over 20 ms, before the volume: left in the low word, right in
// the high word, 0-32768 each; 0 when the channel is not playing; (DWORD)-1 on failure.
LARK_AUDIO_API DWORD WINAPI BASS_ChannelGetLevel(DWORD handle);
// With BASS_DATA_FFT2048: 1024 floats of the heard data before the volume (a full-scale sine
// on a bin gives about 1.0); returns the byte count written (4096) or (DWORD)-1.
LARK_AUDIO_API DWORD WINAPI BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);

// Only BASS_SYNC_END; param is ignored.
LARK_AUDIO_API HSYNC WINAPI BASS_ChannelSetSync(DWORD handle, DWORD type, QWORD param,
                                                SYNCPROC* proc, void* user);
LARK_AUDIO_API BOOL WINAPI BASS_ChannelRemoveSync(DWORD handle, HSYNC sync);

// Only BASS_FX_DX8_PARAMEQ. Effects run in descending priority, in creation order within one
// priority, before the volume.
LARK_AUDIO_API HFX WINAPI BASS_ChannelSetFX(DWORD handle, DWORD type, int priority);
LARK_AUDIO_API BOOL WINAPI BASS_ChannelRemoveFX(DWORD handle, HFX fx);
LARK_AUDIO_API BOOL WINAPI BASS_FXSetParameters(HFX handle, const void* params);

}  // extern "C"
