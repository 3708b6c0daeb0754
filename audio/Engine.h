#pragma once
// The engine's global state behind the exported functions: the output device and its thread,
// the handle table, the configuration and the add-ons. One instance per process, never
// destroyed (threads may still be inside it while the process ends).

#include <windows.h>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "audio/HandleTable.h"
#include "audio/SyncDispatcher.h"
#include "audio/bass.h"

namespace larkaudio {

class OutputThread;

class Engine {
public:
    static Engine& Instance();

    bool SetConfig(DWORD option, DWORD value);
    bool Init(int device, DWORD freq);
    bool Free();

    HPLUGIN PluginLoad(const std::wstring& path);
    bool PluginFree(HPLUGIN plugin);

    // families 0: the engine's own formats plus those of the loaded add-ons.
    HSTREAM StreamCreate(DWORD families, BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags);
    bool StreamFree(HSTREAM stream);
    QWORD StreamGetFilePosition(HSTREAM stream, DWORD mode);

    bool GetInfo(DWORD handle, BASS_CHANNELINFO* info);
    bool Play(DWORD handle, bool restart);
    bool Stop(DWORD handle);
    bool Pause(DWORD handle);
    QWORD GetLength(DWORD handle, DWORD mode);
    QWORD GetPosition(DWORD handle, DWORD mode);
    bool SetPosition(DWORD handle, QWORD pos, DWORD mode);
    double Bytes2Seconds(DWORD handle, QWORD pos);
    QWORD Seconds2Bytes(DWORD handle, double seconds);
    bool SetAttribute(DWORD handle, DWORD attrib, float value);
    DWORD GetLevel(DWORD handle);
    DWORD GetData(DWORD handle, void* buffer, DWORD length);
    HSYNC SetSync(DWORD handle, DWORD type, SYNCPROC* proc, void* user);
    bool RemoveSync(DWORD handle, HSYNC sync);
    HFX SetFx(DWORD handle, DWORD type, int priority);
    bool RemoveFx(DWORD handle, HFX fx);
    bool FxSetParameters(HFX fx, const void* params);

private:
    Engine();

    std::shared_ptr<Channel> FindStream(DWORD handle);
    std::shared_ptr<OutputThread> Output();
    uint64_t Heard(const std::shared_ptr<OutputThread>& output);

    HandleTable m_handles;
    SyncDispatcher m_syncs;
    std::mutex m_lock;  // guards m_output
    std::shared_ptr<OutputThread> m_output;
    std::atomic<int> m_bufferMs{100};
    std::atomic<DWORD> m_failDevices{0};
    std::atomic<DWORD> m_refuseFloat{0};
    std::atomic<DWORD> m_silentDevices{0};
};

}  // namespace larkaudio
