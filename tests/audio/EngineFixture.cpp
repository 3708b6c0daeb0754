#include "EngineFixture.h"

namespace audio_test {

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(5);
    }
    return true;
}

void CALLBACK SyncCounter::Proc(HSYNC handle, DWORD channel, DWORD, void* user) {
    auto* self = static_cast<SyncCounter*>(user);
    self->lastSync = handle;
    self->lastChannel = channel;
    ++self->calls;
}

void EngineTest::SetUp() {
    BASS_SetConfig(LARK_CONFIG_TEST_FAIL_DEVICES, 0);
    BASS_SetConfig(LARK_CONFIG_TEST_REFUSE_FLOAT, 0);
    BASS_SetConfig(LARK_CONFIG_TEST_SILENT_DEVICES, 0);
    BASS_SetConfig(BASS_CONFIG_BUFFER, 100);
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr)) << BASS_ErrorGetCode();
}

void EngineTest::TearDown() { BASS_Free(); }

std::wstring EngineTest::Wav(const std::wstring& name, int rate, int channels, int frames,
                             const std::function<double(int, int)>& sample) {
    const std::wstring path = m_dir.file(name);
    EXPECT_TRUE(WriteWav(path, rate, channels, frames, sample));
    return path;
}

}  // namespace audio_test
