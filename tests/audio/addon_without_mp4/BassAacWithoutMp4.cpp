// A "bass_aac.dll" that lacks its MP4 export, as a damaged or older add-on would.

#include "audio/AddonInterface.h"

extern "C" {

__declspec(dllexport) DWORD WINAPI LarkAudio_AddonFamilies(void) { return LARK_FAMILY_AAC; }

__declspec(dllexport) HSTREAM WINAPI BASS_AAC_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length,
                                                               DWORD flags) {
    return LarkAudio_StreamCreateFamily(LARK_FAMILY_AAC, mem, file, offset, length, flags);
}

}  // extern "C"
