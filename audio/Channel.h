#pragma once
// A playing file stream: its decoder, effects, volume, syncs and the bookkeeping that maps the
// device's heard frames back to the stream's own position. Every member takes the channel's
// lock; the output thread renders it and the API calls control it from any thread.

#include <windows.h>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/Decoder.h"
#include "audio/ParamEq.h"
#include "audio/SampleHistory.h"
#include "audio/SpectrumAnalyzer.h"
#include "audio/SyncEvent.h"
#include "audio/bass.h"

struct SwrContext;

namespace larkaudio {

class Channel {
public:
    enum class State { Stopped, Playing, Paused, Ended };

    Channel(std::unique_ptr<Decoder> decoder, DWORD flags, HPLUGIN plugin, int deviceRate);
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    void SetHandle(DWORD handle) { m_handle = handle; }
    int Rate() const { return m_rate; }
    int Channels() const { return m_channels; }
    // Bytes of one frame in the byte positions of the interface.
    int BytesPerFrame() const { return m_bytesPerFrame; }
    BASS_CHANNELINFO Info() const { return m_info; }
    int64_t FileSize();
    int64_t FilePosition();

    // submitted: the device's submitted frame count, heard: its heard frame count.
    bool Play(bool restart, uint64_t submitted, int* error);
    bool Pause(int* error);
    void Stop(uint64_t heard);
    State CurrentState();

    int64_t LengthFrames();
    int64_t PositionFrames(uint64_t heard);
    bool SetPositionFrames(int64_t frame, int* error);
    void SetVolume(float volume);

    DWORD Level(uint64_t heard);
    void Spectrum(uint64_t heard, float* bins);

    void AddSync(HSYNC sync, SYNCPROC* proc, void* user);
    bool RemoveSync(HSYNC sync);
    bool AddFx(HFX fx, int priority);
    bool RemoveFx(HFX fx);
    bool SetFxParameters(HFX fx, const BASS_DX8_PARAMEQ& params, int* error);
    // Handles of the syncs and effects still set.
    std::vector<DWORD> OwnedHandles();
    // After this the channel renders nothing more.
    void MarkFreed();

    // Output thread: true while the channel needs the device (playing, or its end not yet heard).
    bool NeedsOutput();
    // Output thread: adds this channel's next `frames` device frames (stereo, device rate, after
    // the volume) into mix; blockStart is the device frame number of mix[0].
    void Render(float* mix, size_t frames, uint64_t blockStart);
    // Output thread: when the end has been heard, stops and appends the end syncs to `due`.
    void CheckEnd(uint64_t heard, std::vector<SyncEvent>& due);

private:
    struct Contribution {
        uint64_t deviceStart;   // device frame of the first frame given
        uint64_t before;        // device frames given earlier since the last flush
        uint64_t count;
    };
    struct Fx {
        HFX handle;
        int priority;
        std::unique_ptr<ParamEq> eq;
    };
    struct Sync {
        HSYNC handle;
        SYNCPROC* proc;
        void* user;
    };

    void Flush(int64_t frame);
    int64_t PositionLocked(uint64_t heard);
    bool FillDeviceQueue(size_t frames);
    void ConvertToDevice(const float* frames, size_t count);
    void ReadAround(uint64_t heard, size_t count, std::vector<float>& out);

    std::mutex m_lock;
    std::unique_ptr<Decoder> m_decoder;
    DWORD m_handle = 0;
    int m_rate;
    int m_channels;
    int m_deviceRate;
    int m_bytesPerFrame;
    BASS_CHANNELINFO m_info{};
    State m_state = State::Stopped;
    bool m_freed = false;
    float m_volume = 1.0f;

    std::vector<Fx> m_fx;
    std::vector<Sync> m_syncs;

    // Conversion to the device format; null when the channel's rate matches and it has one or
    // two channels.
    SwrContext* m_swr = nullptr;
    std::vector<float> m_read;          // one chunk of decoded frames
    std::vector<float> m_device;        // device frames waiting for the next block
    size_t m_deviceOffset = 0;          // in frames
    bool m_sourceDone = false;
    bool m_endKnown = false;
    uint64_t m_endDeviceFrame = 0;

    int64_t m_base = 0;                 // stream frame at the last flush
    uint64_t m_given = 0;               // device frames given since the last flush
    std::deque<Contribution> m_contributions;

    SampleHistory m_history;
    std::unique_ptr<SpectrumAnalyzer> m_analyzer;  // made on first use
    std::vector<float> m_scratch;
};

}  // namespace larkaudio
