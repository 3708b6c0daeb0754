#include "audio/WaveOutDevice.h"

#include <algorithm>
#include <cmath>

#include "audio/bass.h"

namespace larkaudio {

std::unique_ptr<WaveOutDevice> WaveOutDevice::Open(UINT id, int rate, int* error) {
    std::unique_ptr<WaveOutDevice> device(new WaveOutDevice(rate));
    device->m_event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    const MMRESULT r = waveOutOpen(&device->m_wave, id, &format, reinterpret_cast<DWORD_PTR>(device->m_event), 0,
                                   CALLBACK_EVENT);
    if (r != MMSYSERR_NOERROR) {
        device->m_wave = nullptr;
        *error = r == WAVERR_BADFORMAT ? BASS_ERROR_FORMAT : (r == MMSYSERR_BADDEVICEID ? BASS_ERROR_DEVICE : BASS_ERROR_DRIVER);
        return nullptr;
    }
    return device;
}

WaveOutDevice::~WaveOutDevice() {
    if (m_wave) {
        waveOutReset(m_wave);
        for (auto& block : m_blocks) {
            if (block->prepared) waveOutUnprepareHeader(m_wave, &block->header, sizeof(WAVEHDR));
        }
        waveOutClose(m_wave);
    }
    if (m_event) CloseHandle(m_event);
}

uint64_t WaveOutDevice::HeardFrames() {
    std::lock_guard<std::mutex> guard(m_positionLock);
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(m_wave, &time, sizeof(time)) != MMSYSERR_NOERROR) return 0;
    uint32_t raw = time.wType == TIME_SAMPLES ? time.u.sample : (time.wType == TIME_BYTES ? time.u.cb / 4 : 0);
    if (raw < m_lastRaw) ++m_wraps;
    m_lastRaw = raw;
    const uint64_t heard = (m_wraps << 32) | raw;
    return std::min<uint64_t>(heard, m_submitted.load());
}

bool WaveOutDevice::Submit(const float* frames, size_t count) {
    Block* free = nullptr;
    for (auto& block : m_blocks) {
        if (!block->prepared || (block->header.dwFlags & WHDR_DONE)) {
            free = block.get();
            break;
        }
    }
    if (!free) {
        m_blocks.push_back(std::make_unique<Block>());
        free = m_blocks.back().get();
    }
    if (free->prepared) {
        waveOutUnprepareHeader(m_wave, &free->header, sizeof(WAVEHDR));
        free->prepared = false;
    }
    free->samples.resize(count * 2);
    for (size_t i = 0; i < count * 2; ++i) {
        const float v = std::max(-1.0f, std::min(1.0f, frames[i]));
        free->samples[i] = static_cast<int16_t>(std::lrint(v * 32767.0f));
    }
    free->header = WAVEHDR{};
    free->header.lpData = reinterpret_cast<LPSTR>(free->samples.data());
    free->header.dwBufferLength = static_cast<DWORD>(count * 4);
    if (waveOutPrepareHeader(m_wave, &free->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
    free->prepared = true;
    if (waveOutWrite(m_wave, &free->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
    m_submitted += count;
    return true;
}

}  // namespace larkaudio
