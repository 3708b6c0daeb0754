// The add-on decoder "basswma.dll": WMA in ASF files. Decoding stays in the engine DLL.

#include "audio/AddonInterface.h"

extern "C" {

__declspec(dllexport) DWORD WINAPI LarkAudio_AddonFamilies(void) { return LARK_FAMILY_WMA; }

__declspec(dllexport) HSTREAM WINAPI BASS_WMA_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length,
                                                     DWORD flags) {
    return LarkAudio_StreamCreateFamily(LARK_FAMILY_WMA, mem, file, offset, length, flags);
}

}  // extern "C"
