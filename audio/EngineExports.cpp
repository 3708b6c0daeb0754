// The functions the engine DLL exports: each clears the thread's error, then hands the call to
// the engine, which sets the error on failure. No C++ exception crosses this C interface: one
// thrown inside (out of memory) fails the call.

#include "audio/AddonInterface.h"
#include "audio/Engine.h"
#include "audio/ErrorState.h"
#include "audio/bass.h"

#include <new>

using larkaudio::Engine;
using larkaudio::SetEngineError;

namespace {
Engine& E() {
    SetEngineError(BASS_OK);
    return Engine::Instance();
}

template <typename T, typename F>
T Guard(T failure, F call) {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return larkaudio::Fail(BASS_ERROR_MEM, failure);
    } catch (...) {
        return larkaudio::Fail(BASS_ERROR_UNKNOWN, failure);
    }
}
}  // namespace

extern "C" {

int WINAPI BASS_ErrorGetCode(void) { return larkaudio::EngineError(); }

BOOL WINAPI BASS_SetConfig(DWORD option, DWORD value) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().SetConfig(option, value); });
}

BOOL WINAPI BASS_Init(int device, DWORD freq, DWORD, HWND, const void*) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().Init(device, freq); });
}

BOOL WINAPI BASS_Free(void) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().Free(); });
}

HPLUGIN WINAPI BASS_PluginLoad(const char* file, DWORD flags) {
    return Guard<HPLUGIN>(0u, [&]() -> HPLUGIN {
        Engine& engine = E();
        if (!file) return larkaudio::Fail(BASS_ERROR_ILLPARAM, 0u);
        if (flags & BASS_UNICODE) return engine.PluginLoad(reinterpret_cast<const wchar_t*>(file));
        const int n = MultiByteToWideChar(CP_ACP, 0, file, -1, nullptr, 0);
        std::wstring path(static_cast<size_t>(n > 0 ? n : 1), L'\0');
        MultiByteToWideChar(CP_ACP, 0, file, -1, &path[0], n);
        path.resize(wcslen(path.c_str()));
        return engine.PluginLoad(path);
    });
}

BOOL WINAPI BASS_PluginFree(HPLUGIN handle) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().PluginFree(handle); });
}

HSTREAM WINAPI BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
    return Guard<HSTREAM>(0u, [&]() -> HSTREAM { return E().StreamCreate(0, mem, file, offset, length, flags); });
}

HSTREAM WINAPI LarkAudio_StreamCreateFamily(DWORD families, BOOL mem, const void* file, QWORD offset, QWORD length,
                                            DWORD flags) {
    return Guard<HSTREAM>(0u, [&]() -> HSTREAM {
        Engine& engine = E();
        if (families == 0) return larkaudio::Fail(BASS_ERROR_ILLPARAM, 0u);
        return engine.StreamCreate(families, mem, file, offset, length, flags);
    });
}

BOOL WINAPI BASS_StreamFree(HSTREAM handle) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().StreamFree(handle); });
}

QWORD WINAPI BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode) {
    return Guard<QWORD>(static_cast<QWORD>(-1), [&]() -> QWORD { return E().StreamGetFilePosition(handle, mode); });
}

BOOL WINAPI BASS_ChannelGetInfo(DWORD handle, BASS_CHANNELINFO* info) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().GetInfo(handle, info); });
}

BOOL WINAPI BASS_ChannelPlay(DWORD handle, BOOL restart) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().Play(handle, restart != FALSE); });
}

BOOL WINAPI BASS_ChannelStop(DWORD handle) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().Stop(handle); });
}

BOOL WINAPI BASS_ChannelPause(DWORD handle) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().Pause(handle); });
}

QWORD WINAPI BASS_ChannelGetLength(DWORD handle, DWORD mode) {
    return Guard<QWORD>(static_cast<QWORD>(-1), [&]() -> QWORD { return E().GetLength(handle, mode); });
}

QWORD WINAPI BASS_ChannelGetPosition(DWORD handle, DWORD mode) {
    return Guard<QWORD>(static_cast<QWORD>(-1), [&]() -> QWORD { return E().GetPosition(handle, mode); });
}

BOOL WINAPI BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().SetPosition(handle, pos, mode); });
}

double WINAPI BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos) {
    return Guard<double>(-1.0, [&]() -> double { return E().Bytes2Seconds(handle, pos); });
}

QWORD WINAPI BASS_ChannelSeconds2Bytes(DWORD handle, double pos) {
    return Guard<QWORD>(static_cast<QWORD>(-1), [&]() -> QWORD { return E().Seconds2Bytes(handle, pos); });
}

BOOL WINAPI BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().SetAttribute(handle, attrib, value); });
}

DWORD WINAPI BASS_ChannelGetLevel(DWORD handle) {
    return Guard<DWORD>(static_cast<DWORD>(-1), [&]() -> DWORD { return E().GetLevel(handle); });
}

DWORD WINAPI BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    return Guard<DWORD>(static_cast<DWORD>(-1), [&]() -> DWORD { return E().GetData(handle, buffer, length); });
}

HSYNC WINAPI BASS_ChannelSetSync(DWORD handle, DWORD type, QWORD, SYNCPROC* proc, void* user) {
    return Guard<HSYNC>(0u, [&]() -> HSYNC { return E().SetSync(handle, type, proc, user); });
}

BOOL WINAPI BASS_ChannelRemoveSync(DWORD handle, HSYNC sync) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().RemoveSync(handle, sync); });
}

HFX WINAPI BASS_ChannelSetFX(DWORD handle, DWORD type, int priority) {
    return Guard<HFX>(0u, [&]() -> HFX { return E().SetFx(handle, type, priority); });
}

BOOL WINAPI BASS_ChannelRemoveFX(DWORD handle, HFX fx) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().RemoveFx(handle, fx); });
}

BOOL WINAPI BASS_FXSetParameters(HFX handle, const void* params) {
    return Guard<BOOL>(FALSE, [&]() -> BOOL { return E().FxSetParameters(handle, params); });
}

}  // extern "C"
