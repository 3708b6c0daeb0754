// The add-on decoder "bass_aac.dll": raw ADTS AAC, and AAC in MP4 files. Decoding stays in the engine DLL.

#include "audio/AddonInterface.h"

extern "C" {

__declspec(dllexport) DWORD WINAPI LarkAudio_AddonFamilies(void) { return LARK_FAMILY_AAC | LARK_FAMILY_MP4; }

__declspec(dllexport) HSTREAM WINAPI BASS_AAC_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length,
                                                     DWORD flags) {
    return LarkAudio_StreamCreateFamily(LARK_FAMILY_AAC, mem, file, offset, length, flags);
}

__declspec(dllexport) HSTREAM WINAPI BASS_MP4_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length,
                                                     DWORD flags) {
    return LarkAudio_StreamCreateFamily(LARK_FAMILY_MP4, mem, file, offset, length, flags);
}

}  // extern "C"
