// The add-on decoder "bass_tta.dll": TTA files. Decoding stays in the engine DLL.

#include "audio/AddonInterface.h"

extern "C" {

__declspec(dllexport) DWORD WINAPI LarkAudio_AddonFamilies(void) { return LARK_FAMILY_TTA; }

__declspec(dllexport) HSTREAM WINAPI BASS_TTA_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length,
                                                     DWORD flags) {
    return LarkAudio_StreamCreateFamily(LARK_FAMILY_TTA, mem, file, offset, length, flags);
}

}  // extern "C"
