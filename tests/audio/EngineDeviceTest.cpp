// Starting and freeing the engine on the numbered devices, and the device test switches.

#include <gtest/gtest.h>

#include "EngineFixture.h"

namespace {

class EngineDevice : public ::testing::Test {
protected:
    void SetUp() override {
        BASS_Free();
        BASS_SetConfig(LARK_CONFIG_TEST_FAIL_DEVICES, 0);
        BASS_SetConfig(LARK_CONFIG_TEST_SILENT_DEVICES, 0);
    }
    void TearDown() override {
        BASS_Free();
        BASS_SetConfig(LARK_CONFIG_TEST_FAIL_DEVICES, 0);
        BASS_SetConfig(LARK_CONFIG_TEST_SILENT_DEVICES, 0);
    }
};

}  // namespace

TEST_F(EngineDevice, NoSoundDeviceAlwaysStartsOnceUntilFreed) {
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_FALSE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ERROR_ALREADY, BASS_ErrorGetCode());
    EXPECT_TRUE(BASS_Free());
    EXPECT_FALSE(BASS_Free());
    EXPECT_EQ(BASS_ERROR_INIT, BASS_ErrorGetCode());
    // Any usual rate.
    for (DWORD rate : {22050u, 48000u, 96000u, 192000u}) {
        ASSERT_TRUE(BASS_Init(0, rate, 0, nullptr, nullptr)) << rate;
        ASSERT_TRUE(BASS_Free());
    }
}

TEST_F(EngineDevice, StreamsNeedAStartedEngine) {
    const std::wstring tone = audio_test::DataFile(L"tone.mp3");
    EXPECT_EQ(0u, BASS_StreamCreateFile(FALSE, tone.c_str(), 0, 0, BASS_UNICODE));
    EXPECT_EQ(BASS_ERROR_INIT, BASS_ErrorGetCode());
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    const HSTREAM s = BASS_StreamCreateFile(FALSE, tone.c_str(), 0, 0, BASS_UNICODE);
    EXPECT_NE(0u, s);
    EXPECT_EQ(BASS_OK, BASS_ErrorGetCode());
    // Freeing the engine frees its streams.
    ASSERT_TRUE(BASS_Free());
    EXPECT_FALSE(BASS_ChannelPlay(s, TRUE));
    EXPECT_EQ(BASS_ERROR_HANDLE, BASS_ErrorGetCode());
    EXPECT_FALSE(BASS_StreamFree(s));
}

TEST_F(EngineDevice, WaveOutNumberingFollowsTheDeviceCount) {
    // Without a sound card every wave-out number fails; with the machine's devices the first
    // one past their count fails.
    const int count = static_cast<int>(waveOutGetNumDevs());
    EXPECT_FALSE(BASS_Init(count + 1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ERROR_DEVICE, BASS_ErrorGetCode());
    EXPECT_FALSE(BASS_Init(-2, 44100, 0, nullptr, nullptr));
    if (count == 0) {
        EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
        EXPECT_FALSE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    }
    EXPECT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
}

TEST_F(EngineDevice, SilentDeviceSwitchStandsInForWaveOut) {
    BASS_SetConfig(LARK_CONFIG_TEST_SILENT_DEVICES, 2);
    for (int device : {-1, 1, 2}) {
        ASSERT_TRUE(BASS_Init(device, 44100, 0, nullptr, nullptr)) << device;
        ASSERT_TRUE(BASS_Free());
    }
    EXPECT_FALSE(BASS_Init(3, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ERROR_DEVICE, BASS_ErrorGetCode());
}

TEST_F(EngineDevice, FailSwitchMakesChosenDevicesFail) {
    BASS_SetConfig(LARK_CONFIG_TEST_SILENT_DEVICES, 2);
    // Bit d+1 fails device d: here -1 and 0.
    BASS_SetConfig(LARK_CONFIG_TEST_FAIL_DEVICES, 0x3);
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ERROR_DEVICE, BASS_ErrorGetCode());
    EXPECT_FALSE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    ASSERT_TRUE(BASS_Free());
    BASS_SetConfig(LARK_CONFIG_TEST_FAIL_DEVICES, 0);
    EXPECT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
}

TEST_F(EngineDevice, ConfigOptions) {
    EXPECT_TRUE(BASS_SetConfig(BASS_CONFIG_BUFFER, 500));
    EXPECT_TRUE(BASS_SetConfig(BASS_CONFIG_BUFFER, 100));
    EXPECT_FALSE(BASS_SetConfig(0x12345, 1));
    EXPECT_EQ(BASS_ERROR_ILLTYPE, BASS_ErrorGetCode());
}
