#pragma once
// Test signals for the audio engine tests: WAV files written on the fly and the paths of the
// encoded files in tests/data/audio.

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace audio_test {

// Writes a 16-bit PCM WAV file; sample(frame, channel) gives values in -1..1.
bool WriteWav(const std::wstring& path, int rate, int channels, int frames,
              const std::function<double(int frame, int channel)>& sample);

// A sine of the given frequency and amplitude.
std::function<double(int, int)> Sine(double hz, double amplitude, int rate);
// A square wave of the given frequency and amplitude.
std::function<double(int, int)> Square(double hz, double amplitude, int rate);
// A ramp that makes every frame distinct: frame f of channel c is ((f * 7 + c * 3) % 20000 - 10000) / 32768.
std::function<double(int, int)> Ramp();

// The one-second 1 kHz test tone in tests/data/audio (e.g. L"tone.mp3").
std::wstring DataFile(const std::wstring& name);

// Folder of the running test program, with a trailing backslash.
std::wstring ProgramFolder();

}  // namespace audio_test
