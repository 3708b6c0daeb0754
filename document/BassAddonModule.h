#pragma once
#include "audio/bass.h"
#include <windows.h>
#include <string>

// The stream-creation export of an add-on decoder: the arguments of BASS_StreamCreateFile.
typedef HSTREAM(WINAPI* BassAddonStreamCreate)(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags);

// One add-on decoder DLL of the audio engine: where it was loaded from and its stream-creation
// export(s). Destroying a loaded module frees its library.
struct BassAddonModule {
    std::wstring dllName;
    std::wstring path;                        // the file it was loaded from
    bool loaded = false;
    HMODULE module = nullptr;
    BassAddonStreamCreate create = nullptr;
    BassAddonStreamCreate create2 = nullptr;  // "bass_aac.dll": the MP4 export
    HPLUGIN plugin = 0;

    // Not loaded; with the export names of the module (export2 only for "bass_aac.dll").
    BassAddonModule(const wchar_t* dll, const char* export1, const char* export2 = nullptr);
    ~BassAddonModule();
    BassAddonModule(const BassAddonModule&) = delete;
    BassAddonModule& operator=(const BassAddonModule&) = delete;

    // Loads the DLL from the folder (with its trailing backslash) and finds the export(s);
    // when one is missing the library is freed again. Registers a loaded module with the
    // engine as a plug-in. True when loaded.
    bool Load(const std::wstring& folder);
    // Frees the plug-in, then the library; forgets the path.
    void Free();

    const char* exportName;
    const char* exportName2;
};

