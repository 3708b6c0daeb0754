#include "TestAudio.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "support/TestFiles.h"

namespace audio_test {

namespace {
void Put16(std::string& out, uint16_t v) { out.append(reinterpret_cast<const char*>(&v), 2); }
void Put32(std::string& out, uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }
}  // namespace

bool WriteWav(const std::wstring& path, int rate, int channels, int frames,
              const std::function<double(int, int)>& sample) {
    const uint32_t dataBytes = static_cast<uint32_t>(frames) * channels * 2;
    std::string out;
    out += "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(channels));
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate * channels * 2));
    Put16(out, static_cast<uint16_t>(channels * 2));
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            double v = sample(f, c);
            v = v > 1 ? 1 : (v < -1 ? -1 : v);
            Put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767.0))));
        }
    }
    return testing_support::WriteBytes(path, out);
}

std::function<double(int, int)> Sine(double hz, double amplitude, int rate) {
    return [=](int f, int) { return amplitude * std::sin(2 * 3.14159265358979323846 * hz * f / rate); };
}

std::function<double(int, int)> Square(double hz, double amplitude, int rate) {
    return [=](int f, int) {
        const double phase = std::fmod(hz * f / rate, 1.0);
        return phase < 0.5 ? amplitude : -amplitude;
    };
}

std::function<double(int, int)> Ramp() {
    return [](int f, int c) { return ((f * 7 + c * 3) % 20000 - 10000) / 32768.0; };
}

std::wstring DataFile(const std::wstring& name) { return testing_support::TestDataPath(L"audio\\" + name); }

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace audio_test
