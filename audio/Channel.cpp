#include "audio/Channel.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace larkaudio {

namespace {
constexpr size_t kReadChunk = 1024;
// Frames kept behind the heard position and ahead of it: the longest playback buffer plus
// the analysis windows.
constexpr double kHistorySeconds = 5.3;
}  // namespace

Channel::Channel(std::unique_ptr<Decoder> decoder, DWORD flags, HPLUGIN plugin, int deviceRate)
    : m_decoder(std::move(decoder)),
      m_rate(m_decoder->Rate()),
      m_channels(m_decoder->Channels()),
      m_deviceRate(deviceRate),
      m_history(m_decoder->Channels()) {
    const bool isFloat = (flags & BASS_SAMPLE_FLOAT) != 0;
    m_bytesPerFrame = m_channels * (isFloat ? 4 : 2);
    m_info.freq = static_cast<DWORD>(m_rate);
    m_info.chans = static_cast<DWORD>(m_channels);
    m_info.flags = flags & BASS_SAMPLE_FLOAT;
    m_info.ctype = m_decoder->Family();
    m_info.origres = m_decoder->Resolution();
    m_info.plugin = plugin;
    m_base = m_decoder->Position();
    if (m_rate != m_deviceRate || m_channels > 2) {
        AVChannelLayout in{}, out{};
        av_channel_layout_default(&in, m_channels);
        av_channel_layout_default(&out, 2);
        if (swr_alloc_set_opts2(&m_swr, &out, AV_SAMPLE_FMT_FLT, m_deviceRate, &in, AV_SAMPLE_FMT_FLT, m_rate, 0,
                                nullptr) < 0 ||
            swr_init(m_swr) < 0) {
            swr_free(&m_swr);
        }
        av_channel_layout_uninit(&in);
        av_channel_layout_uninit(&out);
    }
}

Channel::~Channel() { swr_free(&m_swr); }

int64_t Channel::FileSize() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_decoder->FileSize();
}

int64_t Channel::FilePosition() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_decoder->FilePosition();
}

Channel::State Channel::CurrentState() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_state;
}

// Drops everything decoded ahead and goes on from `frame`.
void Channel::Flush(int64_t frame) {
    m_decoder->Seek(frame);
    m_base = m_decoder->Position();
    m_given = 0;
    m_contributions.clear();
    m_device.clear();
    m_deviceOffset = 0;
    m_sourceDone = false;
    m_endKnown = false;
    if (m_swr) swr_init(m_swr);  // re-initialising clears its buffered frames
    for (auto& fx : m_fx) fx.eq->Reset();
    if (m_history.Capacity() > 0) m_history.Reset(m_base, m_history.Capacity());
}

bool Channel::Play(bool restart, uint64_t submitted, int* error) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_freed) {
        *error = BASS_ERROR_HANDLE;
        return false;
    }
    if (restart || m_state == State::Ended) Flush(0);
    if (m_state == State::Paused && m_endKnown && m_endDeviceFrame < submitted) {
        // The end was rendered before the pause: it is heard with the next block.
        m_endDeviceFrame = submitted;
    }
    m_state = State::Playing;
    return true;
}

bool Channel::Pause(int* error) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_state == State::Paused) {
        *error = BASS_ERROR_ALREADY;
        return false;
    }
    if (m_state != State::Playing) {
        *error = BASS_ERROR_NOPLAY;
        return false;
    }
    m_state = State::Paused;
    return true;
}

void Channel::Stop(uint64_t heard) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_state == State::Ended) return;
    const int64_t at = PositionLocked(heard);
    m_state = State::Stopped;
    Flush(at);
}

int64_t Channel::LengthFrames() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_decoder->Length();
}

int64_t Channel::PositionFrames(uint64_t heard) {
    std::lock_guard<std::mutex> guard(m_lock);
    return PositionLocked(heard);
}

int64_t Channel::PositionLocked(uint64_t heard) {
    const int64_t length = m_decoder->Length();
    if (m_state == State::Ended) return length;
    // The newest block of this flush that has begun to be heard.
    while (m_contributions.size() > 1 && m_contributions[1].deviceStart <= heard) m_contributions.pop_front();
    uint64_t given = 0;
    if (!m_contributions.empty() && m_contributions.front().deviceStart <= heard) {
        const Contribution& c = m_contributions.front();
        given = c.before + std::min<uint64_t>(heard - c.deviceStart, c.count);
    }
    int64_t position = m_base;
    if (m_rate == m_deviceRate) {
        position += static_cast<int64_t>(given);
    } else {
        position += static_cast<int64_t>(static_cast<double>(given) * m_rate / m_deviceRate);
    }
    return std::min(position, length);
}

bool Channel::SetPositionFrames(int64_t frame, int* error) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (frame < 0 || frame > m_decoder->Length()) {
        *error = BASS_ERROR_POSITION;
        return false;
    }
    Flush(frame);
    if (m_state == State::Ended) m_state = State::Stopped;
    return true;
}

void Channel::SetVolume(float volume) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_volume = std::max(0.0f, std::min(1.0f, volume));
}

// Copies `count` frames centred on the heard position into out.
void Channel::ReadAround(uint64_t heard, size_t count, std::vector<float>& out) {
    out.resize(count * m_channels);
    const int64_t at = PositionLocked(heard) - static_cast<int64_t>(count / 2);
    m_history.Copy(at, count, out.data());
}

DWORD Channel::Level(uint64_t heard) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_state != State::Playing || m_history.Capacity() == 0) return 0;
    ReadAround(heard, static_cast<size_t>(m_rate / 50), m_scratch);
    return SpectrumAnalyzer::PeakLevels(m_scratch.data(), m_scratch.size() / m_channels, m_channels);
}

void Channel::Spectrum(uint64_t heard, float* bins) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_analyzer) m_analyzer = std::make_unique<SpectrumAnalyzer>();
    if (m_history.Capacity() == 0 || m_state == State::Ended) {
        std::fill(bins, bins + SpectrumAnalyzer::kBins, 0.0f);
        return;
    }
    ReadAround(heard, SpectrumAnalyzer::kSize, m_scratch);
    m_analyzer->Compute(m_scratch.data(), m_channels, bins);
}

void Channel::AddSync(HSYNC sync, SYNCPROC* proc, void* user) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_syncs.push_back(Sync{sync, proc, user});
}

bool Channel::RemoveSync(HSYNC sync) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = std::find_if(m_syncs.begin(), m_syncs.end(), [&](const Sync& s) { return s.handle == sync; });
    if (it == m_syncs.end()) return false;
    m_syncs.erase(it);
    return true;
}

bool Channel::AddFx(HFX fx, int priority) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto eq = std::make_unique<ParamEq>(m_rate, m_channels);
    // Descending priority; a new effect goes after those of the same priority.
    auto at = std::find_if(m_fx.begin(), m_fx.end(), [&](const Fx& f) { return f.priority < priority; });
    m_fx.insert(at, Fx{fx, priority, std::move(eq)});
    return true;
}

bool Channel::RemoveFx(HFX fx) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = std::find_if(m_fx.begin(), m_fx.end(), [&](const Fx& f) { return f.handle == fx; });
    if (it == m_fx.end()) return false;
    m_fx.erase(it);
    return true;
}

bool Channel::SetFxParameters(HFX fx, const BASS_DX8_PARAMEQ& params, int* error) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = std::find_if(m_fx.begin(), m_fx.end(), [&](const Fx& f) { return f.handle == fx; });
    if (it == m_fx.end()) {
        *error = BASS_ERROR_HANDLE;
        return false;
    }
    if (!it->eq->SetParameters(params.fCenter, params.fBandwidth, params.fGain)) {
        *error = BASS_ERROR_ILLPARAM;
        return false;
    }
    return true;
}

std::vector<DWORD> Channel::OwnedHandles() {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<DWORD> handles;
    for (const auto& s : m_syncs) handles.push_back(s.handle);
    for (const auto& f : m_fx) handles.push_back(f.handle);
    return handles;
}

void Channel::MarkFreed() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_freed = true;
    m_state = State::Stopped;
    m_syncs.clear();
}

bool Channel::NeedsOutput() {
    std::lock_guard<std::mutex> guard(m_lock);
    return !m_freed && m_state == State::Playing;
}

void Channel::ConvertToDevice(const float* frames, size_t count) {
    if (m_deviceOffset > 0) {
        m_device.erase(m_device.begin(), m_device.begin() + m_deviceOffset * 2);
        m_deviceOffset = 0;
    }
    if (!m_swr) {
        const size_t at = m_device.size();
        m_device.resize(at + count * 2);
        float* out = m_device.data() + at;
        if (m_channels == 1) {
            for (size_t i = 0; i < count; ++i) out[2 * i] = out[2 * i + 1] = frames[i];
        } else {
            std::memcpy(out, frames, count * 2 * sizeof(float));
        }
        return;
    }
    const int capacity = swr_get_out_samples(m_swr, static_cast<int>(count));
    if (capacity <= 0) return;
    const size_t at = m_device.size();
    m_device.resize(at + static_cast<size_t>(capacity) * 2);
    uint8_t* out[1] = {reinterpret_cast<uint8_t*>(m_device.data() + at)};
    const uint8_t* in[1] = {reinterpret_cast<const uint8_t*>(frames)};
    const int got = swr_convert(m_swr, out, capacity, frames ? in : nullptr, static_cast<int>(count));
    m_device.resize(at + static_cast<size_t>(std::max(got, 0)) * 2);
}

// Decodes until `frames` device frames wait, or the source ends.
bool Channel::FillDeviceQueue(size_t frames) {
    m_read.resize(kReadChunk * m_channels);
    while (m_device.size() / 2 - m_deviceOffset < frames && !m_sourceDone) {
        const int64_t start = m_decoder->Position();
        const size_t got = m_decoder->Read(m_read.data(), kReadChunk);
        if (got == 0) {
            if (m_swr) ConvertToDevice(nullptr, 0);  // what the resampler still holds
            m_sourceDone = true;
            break;
        }
        for (auto& fx : m_fx) fx.eq->Process(m_read.data(), got);
        if (m_history.End() != start || m_history.Capacity() == 0) {
            m_history.Reset(start, static_cast<size_t>(m_rate * kHistorySeconds) + 2 * SpectrumAnalyzer::kSize);
        }
        m_history.Append(m_read.data(), got);
        ConvertToDevice(m_read.data(), got);
    }
    return true;
}

void Channel::Render(float* mix, size_t frames, uint64_t blockStart) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_freed || m_state != State::Playing) return;
    FillDeviceQueue(frames);
    const size_t waiting = m_device.size() / 2 - m_deviceOffset;
    const size_t take = std::min(waiting, frames);
    const float* src = m_device.data() + m_deviceOffset * 2;
    for (size_t i = 0; i < take * 2; ++i) mix[i] += src[i] * m_volume;
    m_deviceOffset += take;
    if (take > 0) {
        m_contributions.push_back(Contribution{blockStart, m_given, take});
        m_given += take;
    }
    if (m_sourceDone && take == waiting && !m_endKnown) {
        m_endKnown = true;
        m_endDeviceFrame = blockStart + take;
    }
}

void Channel::CheckEnd(uint64_t heard, std::vector<SyncEvent>& due) {
    std::lock_guard<std::mutex> guard(m_lock);
    // Blocks heard more than a second ago are no longer needed for the position, even when
    // nobody asks for it (a late reader still finds the block it needs).
    const uint64_t margin = static_cast<uint64_t>(m_deviceRate);
    while (m_contributions.size() > 1 && m_contributions[1].deviceStart + margin <= heard) m_contributions.pop_front();
    if (m_freed || m_state != State::Playing || !m_endKnown || heard < m_endDeviceFrame) return;
    m_state = State::Ended;
    m_contributions.clear();
    for (const auto& s : m_syncs) due.push_back(SyncEvent{s.handle, m_handle, s.proc, s.user});
}

}  // namespace larkaudio
