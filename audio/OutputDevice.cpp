#include "audio/OutputDevice.h"

#include <mmsystem.h>

#include "audio/NullOutputDevice.h"
#include "audio/WaveOutDevice.h"
#include "audio/bass.h"

namespace larkaudio {

std::unique_ptr<OutputDevice> OpenOutputDevice(int device, int rate, int silentDevices, int* error) {
    if (rate < 1000 || rate > 384000) {
        *error = BASS_ERROR_FREQ;
        return nullptr;
    }
    if (device == 0) return std::make_unique<NullOutputDevice>(rate);
    if (device < -1) {
        *error = BASS_ERROR_DEVICE;
        return nullptr;
    }
    if (silentDevices > 0) {
        if (device == -1 || device <= silentDevices) return std::make_unique<NullOutputDevice>(rate);
        *error = BASS_ERROR_DEVICE;
        return nullptr;
    }
    const UINT count = waveOutGetNumDevs();
    if (count == 0 || (device > 0 && static_cast<UINT>(device - 1) >= count)) {
        *error = BASS_ERROR_DEVICE;
        return nullptr;
    }
    return WaveOutDevice::Open(device == -1 ? WAVE_MAPPER : static_cast<UINT>(device - 1), rate, error);
}

}  // namespace larkaudio
