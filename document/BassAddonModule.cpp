#include "document/BassAddonModule.h"

BassAddonModule::BassAddonModule(const wchar_t* dll, const char* export1, const char* export2)
    : dllName(dll), exportName(export1), exportName2(export2) {}

BassAddonModule::~BassAddonModule() { Free(); }

bool BassAddonModule::Load(const std::wstring& folder) {
    if (loaded) return true;
    const std::wstring file = folder + dllName;
    HMODULE m = LoadLibraryW(file.c_str());
    if (!m) return false;
    auto find = [&](const char* name) {
        return reinterpret_cast<BassAddonStreamCreate>(reinterpret_cast<void*>(GetProcAddress(m, name)));
    };
    BassAddonStreamCreate first = find(exportName);
    BassAddonStreamCreate second = exportName2 ? find(exportName2) : nullptr;
    if (!first || (exportName2 && !second)) {
        FreeLibrary(m);
        return false;
    }
    module = m;
    create = first;
    create2 = second;
    path = file;
    loaded = true;
    plugin = BASS_PluginLoad(reinterpret_cast<const char*>(file.c_str()), BASS_UNICODE);
    return true;
}

void BassAddonModule::Free() {
    if (!loaded) return;
    if (plugin) BASS_PluginFree(plugin);
    plugin = 0;
    FreeLibrary(module);
    module = nullptr;
    create = create2 = nullptr;
    loaded = false;
    path.clear();
}
