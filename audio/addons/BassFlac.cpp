// The add-on decoder "bassflac.dll": FLAC files. Decoding stays in the engine DLL.

#include "audio/AddonInterface.h"

extern "C" {

__declspec(dllexport) DWORD WINAPI LarkAudio_AddonFamilies(void) { return LARK_FAMILY_FLAC; }

__declspec(dllexport) HSTREAM WINAPI BASS_FLAC_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length,
                                                     DWORD flags) {
    return LarkAudio_StreamCreateFamily(LARK_FAMILY_FLAC, mem, file, offset, length, flags);
}

}  // extern "C"
