#pragma once
// A started engine on the "no sound" device for the engine interface tests, with helpers that
// wait for playback events.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "TestAudio.h"
#include "audio/AddonInterface.h"
#include "audio/bass.h"
#include "support/TestFiles.h"

namespace audio_test {

// Polls `done` every few milliseconds until it holds or `ms` have passed.
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 10000);

// Counts the calls of a sync and remembers the handles it was called with.
struct SyncCounter {
    std::atomic<int> calls{0};
    std::atomic<DWORD> lastSync{0};
    std::atomic<DWORD> lastChannel{0};
    static void CALLBACK Proc(HSYNC handle, DWORD channel, DWORD data, void* user);
    bool WaitFor(int n, DWORD ms = 10000) {
        return WaitUntil([&] { return calls.load() >= n; }, ms);
    }
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A WAV file in the test's folder.
    std::wstring Wav(const std::wstring& name, int rate, int channels, int frames,
                     const std::function<double(int, int)>& sample);
    static HSTREAM Open(const std::wstring& path, DWORD flags = 0) {
        return BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, flags | BASS_UNICODE);
    }
    static double PositionSeconds(HSTREAM s) {
        return BASS_ChannelBytes2Seconds(s, BASS_ChannelGetPosition(s, BASS_POS_BYTE));
    }

    testing_support::TempDir m_dir;
};

}  // namespace audio_test
