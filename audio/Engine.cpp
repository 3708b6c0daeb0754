#include "audio/Engine.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/AddonInterface.h"
#include "audio/Channel.h"
#include "audio/Decoder.h"
#include "audio/ErrorState.h"
#include "audio/OutputThread.h"

namespace larkaudio {

namespace {

std::wstring FileName(const void* file, DWORD flags) {
    if (flags & BASS_UNICODE) return std::wstring(static_cast<const wchar_t*>(file));
    const char* text = static_cast<const char*>(file);
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], n);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

}  // namespace

Engine& Engine::Instance() {
    static Engine* engine = new Engine();  // never destroyed: see the header
    return *engine;
}

Engine::Engine() : m_syncs([this](HSYNC sync) { return m_handles.Contains(sync, HandleKind::Sync); }) {}

std::shared_ptr<OutputThread> Engine::Output() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_output;
}

uint64_t Engine::Heard(const std::shared_ptr<OutputThread>& output) { return output ? output->HeardFrames() : 0; }

std::shared_ptr<Channel> Engine::FindStream(DWORD handle) {
    HandleEntry entry;
    if (!m_handles.Find(handle, &entry) || entry.kind != HandleKind::Stream) return Fail(BASS_ERROR_HANDLE, nullptr);
    return entry.channel;
}

bool Engine::SetConfig(DWORD option, DWORD value) {
    switch (option) {
    case BASS_CONFIG_BUFFER: m_bufferMs = static_cast<int>(std::min<DWORD>(5000, std::max<DWORD>(10, value))); break;
    case LARK_CONFIG_TEST_FAIL_DEVICES: m_failDevices = value; break;
    case LARK_CONFIG_TEST_REFUSE_FLOAT: m_refuseFloat = value; break;
    case LARK_CONFIG_TEST_SILENT_DEVICES: m_silentDevices = value; break;
    default: return Fail(BASS_ERROR_ILLTYPE, false);
    }
    return true;
}

bool Engine::Init(int device, DWORD freq) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_output) return Fail(BASS_ERROR_ALREADY, false);
    if (device >= -1 && device < 31 && (m_failDevices.load() & (1u << (device + 1)))) {
        return Fail(BASS_ERROR_DEVICE, false);
    }
    int error = BASS_ERROR_DEVICE;
    auto out = OpenOutputDevice(device, freq ? static_cast<int>(freq) : 44100, static_cast<int>(m_silentDevices.load()),
                                &error);
    if (!out) return Fail(error, false);
    m_output = std::make_shared<OutputThread>(
        std::move(out), [this] { return m_handles.Channels(); }, m_syncs, m_bufferMs);
    m_output->Start();
    return true;
}

bool Engine::Free() {
    std::shared_ptr<OutputThread> output;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_output) return Fail(BASS_ERROR_INIT, false);
        output.swap(m_output);
    }
    for (const auto& channel : m_handles.TakeAllStreams()) channel->MarkFreed();
    output->Stop();
    m_syncs.Stop();   // nothing posts any more: the sync thread ends with the engine
    return true;
}

HPLUGIN Engine::PluginLoad(const std::wstring& path) {
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module) return Fail(BASS_ERROR_FILEOPEN, 0u);
    auto families = reinterpret_cast<LarkAudioAddonFamiliesProc>(
        reinterpret_cast<void*>(GetProcAddress(module, LARK_AUDIO_ADDON_FAMILIES_EXPORT)));
    if (!families) {
        FreeLibrary(module);
        return Fail(BASS_ERROR_FILEFORM, 0u);
    }
    HandleEntry entry;
    entry.kind = HandleKind::Plugin;
    entry.module = module;
    entry.families = families();
    return m_handles.Add(entry);
}

bool Engine::PluginFree(HPLUGIN plugin) {
    HandleEntry entry;
    if (!m_handles.Find(plugin, &entry) || entry.kind != HandleKind::Plugin) return Fail(BASS_ERROR_HANDLE, false);
    if (!m_handles.Take(plugin, &entry)) return Fail(BASS_ERROR_HANDLE, false);
    FreeLibrary(entry.module);
    return true;
}

HSTREAM Engine::StreamCreate(DWORD families, BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
    auto output = Output();
    if (!output) return Fail(BASS_ERROR_INIT, 0u);
    if (mem || !file) return Fail(BASS_ERROR_NOTAVAIL, 0u);
    if ((flags & BASS_SAMPLE_FLOAT) && m_refuseFloat.load()) return Fail(BASS_ERROR_FORMAT, 0u);
    const auto plugins = m_handles.Plugins();
    if (families == 0) {
        families = LARK_FAMILY_CORE;
        for (const auto& p : plugins) families |= p.families;
    }
    int error = BASS_ERROR_FILEFORM;
    auto decoder = Decoder::Open(FileName(file, flags), offset, length, families, &error);
    if (!decoder) return Fail(error, 0u);
    HPLUGIN plugin = 0;
    if (!(decoder->Family() & LARK_FAMILY_CORE)) {
        // The earliest loaded add-on of the family.
        for (const auto& p : plugins) {
            if ((p.families & decoder->Family()) && (plugin == 0 || p.handle < plugin)) plugin = p.handle;
        }
    }
    auto channel = std::make_shared<Channel>(std::move(decoder), flags, plugin, output->Rate());
    HandleEntry entry;
    entry.kind = HandleKind::Stream;
    entry.channel = channel;
    const DWORD handle = m_handles.Add(entry);
    channel->SetHandle(handle);
    return handle;
}

bool Engine::StreamFree(HSTREAM stream) {
    HandleEntry entry;
    if (!m_handles.Find(stream, &entry) || entry.kind != HandleKind::Stream) return Fail(BASS_ERROR_HANDLE, false);
    if (!m_handles.Take(stream, &entry)) return Fail(BASS_ERROR_HANDLE, false);
    m_handles.Remove(entry.channel->OwnedHandles());
    entry.channel->MarkFreed();
    return true;
}

QWORD Engine::StreamGetFilePosition(HSTREAM stream, DWORD mode) {
    auto channel = FindStream(stream);
    if (!channel) return static_cast<QWORD>(-1);
    switch (mode) {
    case BASS_FILEPOS_CURRENT: return static_cast<QWORD>(channel->FilePosition());
    case BASS_FILEPOS_END: return static_cast<QWORD>(channel->FileSize());
    default: return Fail(BASS_ERROR_NOTAVAIL, static_cast<QWORD>(-1));
    }
}

bool Engine::GetInfo(DWORD handle, BASS_CHANNELINFO* info) {
    auto channel = FindStream(handle);
    if (!channel) return false;
    if (!info) return Fail(BASS_ERROR_ILLPARAM, false);
    *info = channel->Info();
    return true;
}

bool Engine::Play(DWORD handle, bool restart) {
    auto channel = FindStream(handle);
    if (!channel) return false;
    auto output = Output();
    if (!output) return Fail(BASS_ERROR_INIT, false);
    int error = BASS_OK;
    if (!channel->Play(restart, output->SubmittedFrames(), &error)) return Fail(error, false);
    output->Wake();
    return true;
}

bool Engine::Stop(DWORD handle) {
    auto channel = FindStream(handle);
    if (!channel) return false;
    channel->Stop(Heard(Output()));
    return true;
}

bool Engine::Pause(DWORD handle) {
    auto channel = FindStream(handle);
    if (!channel) return false;
    int error = BASS_OK;
    if (!channel->Pause(&error)) return Fail(error, false);
    return true;
}

QWORD Engine::GetLength(DWORD handle, DWORD mode) {
    auto channel = FindStream(handle);
    if (!channel) return static_cast<QWORD>(-1);
    if (mode != BASS_POS_BYTE) return Fail(BASS_ERROR_NOTAVAIL, static_cast<QWORD>(-1));
    return static_cast<QWORD>(channel->LengthFrames()) * channel->BytesPerFrame();
}

QWORD Engine::GetPosition(DWORD handle, DWORD mode) {
    auto channel = FindStream(handle);
    if (!channel) return static_cast<QWORD>(-1);
    if (mode != BASS_POS_BYTE) return Fail(BASS_ERROR_NOTAVAIL, static_cast<QWORD>(-1));
    return static_cast<QWORD>(channel->PositionFrames(Heard(Output()))) * channel->BytesPerFrame();
}

bool Engine::SetPosition(DWORD handle, QWORD pos, DWORD mode) {
    auto channel = FindStream(handle);
    if (!channel) return false;
    if (mode != BASS_POS_BYTE) return Fail(BASS_ERROR_NOTAVAIL, false);
    if (static_cast<int64_t>(pos) < 0) return Fail(BASS_ERROR_POSITION, false);
    int error = BASS_OK;
    if (!channel->SetPositionFrames(static_cast<int64_t>(pos / channel->BytesPerFrame()), &error)) {
        return Fail(error, false);
    }
    if (auto output = Output()) output->Wake();
    return true;
}

double Engine::Bytes2Seconds(DWORD handle, QWORD pos) {
    auto channel = FindStream(handle);
    if (!channel) return -1.0;
    const int64_t frames = static_cast<int64_t>(pos) / channel->BytesPerFrame();
    return static_cast<double>(frames) / channel->Rate();
}

QWORD Engine::Seconds2Bytes(DWORD handle, double seconds) {
    auto channel = FindStream(handle);
    if (!channel) return static_cast<QWORD>(-1);
    if (!std::isfinite(seconds)) return Fail(BASS_ERROR_ILLPARAM, static_cast<QWORD>(-1));
    const int64_t frames = static_cast<int64_t>(std::trunc(seconds * channel->Rate()));
    return static_cast<QWORD>(frames * channel->BytesPerFrame());
}

bool Engine::SetAttribute(DWORD handle, DWORD attrib, float value) {
    auto channel = FindStream(handle);
    if (!channel) return false;
    if (attrib != BASS_ATTRIB_VOL) return Fail(BASS_ERROR_ILLTYPE, false);
    if (!std::isfinite(value)) return Fail(BASS_ERROR_ILLPARAM, false);
    channel->SetVolume(value);
    return true;
}

DWORD Engine::GetLevel(DWORD handle) {
    auto channel = FindStream(handle);
    if (!channel) return static_cast<DWORD>(-1);
    return channel->Level(Heard(Output()));
}

DWORD Engine::GetData(DWORD handle, void* buffer, DWORD length) {
    auto channel = FindStream(handle);
    if (!channel) return static_cast<DWORD>(-1);
    if (length != BASS_DATA_FFT2048) return Fail(BASS_ERROR_NOTAVAIL, static_cast<DWORD>(-1));
    if (!buffer) return Fail(BASS_ERROR_ILLPARAM, static_cast<DWORD>(-1));
    channel->Spectrum(Heard(Output()), static_cast<float*>(buffer));
    return SpectrumAnalyzer::kBins * sizeof(float);
}

HSYNC Engine::SetSync(DWORD handle, DWORD type, SYNCPROC* proc, void* user) {
    auto channel = FindStream(handle);
    if (!channel) return 0;
    if (type != BASS_SYNC_END) return Fail(BASS_ERROR_ILLTYPE, 0u);
    if (!proc) return Fail(BASS_ERROR_ILLPARAM, 0u);
    HandleEntry entry;
    entry.kind = HandleKind::Sync;
    entry.channel = channel;
    entry.owner = handle;
    const HSYNC sync = m_handles.Add(entry);
    channel->AddSync(sync, proc, user);
    return sync;
}

bool Engine::RemoveSync(DWORD handle, HSYNC sync) {
    HandleEntry entry;
    if (!m_handles.Find(sync, &entry) || entry.kind != HandleKind::Sync || entry.owner != handle) {
        return Fail(BASS_ERROR_HANDLE, false);
    }
    m_handles.Remove({sync});
    entry.channel->RemoveSync(sync);
    return true;
}

HFX Engine::SetFx(DWORD handle, DWORD type, int priority) {
    auto channel = FindStream(handle);
    if (!channel) return 0;
    if (type != BASS_FX_DX8_PARAMEQ) return Fail(BASS_ERROR_ILLTYPE, 0u);
    HandleEntry entry;
    entry.kind = HandleKind::Fx;
    entry.channel = channel;
    entry.owner = handle;
    const HFX fx = m_handles.Add(entry);
    channel->AddFx(fx, priority);
    return fx;
}

bool Engine::RemoveFx(DWORD handle, HFX fx) {
    HandleEntry entry;
    if (!m_handles.Find(fx, &entry) || entry.kind != HandleKind::Fx || entry.owner != handle) {
        return Fail(BASS_ERROR_HANDLE, false);
    }
    m_handles.Remove({fx});
    entry.channel->RemoveFx(fx);
    return true;
}

bool Engine::FxSetParameters(HFX fx, const void* params) {
    HandleEntry entry;
    if (!m_handles.Find(fx, &entry) || entry.kind != HandleKind::Fx) return Fail(BASS_ERROR_HANDLE, false);
    if (!params) return Fail(BASS_ERROR_ILLPARAM, false);
    int error = BASS_OK;
    if (!entry.channel->SetFxParameters(fx, *static_cast<const BASS_DX8_PARAMEQ*>(params), &error)) {
        return Fail(error, false);
    }
    return true;
}

}  // namespace larkaudio
