// Playback on the "no sound" device: end syncs, heard positions, pause, seek, levels, spectrum,
// equaliser and volume.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "EngineFixture.h"

using audio_test::EngineTest;
using audio_test::SyncCounter;
using audio_test::WaitUntil;

namespace {

double Seconds() {
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return double(c.QuadPart) / double(f.QuadPart);
}

// A level read while the stream plays: left and right.
std::pair<int, int> Levels(HSTREAM s) {
    const DWORD level = BASS_ChannelGetLevel(s);
    return {LOWORD(level), HIWORD(level)};
}

}  // namespace

TEST_F(EngineTest, EndSyncFiresOncePerEnd) {
    const HSTREAM s = Open(Wav(L"short.wav", 44100, 1, 8820, audio_test::Sine(440, 0.5, 44100)));
    ASSERT_NE(0u, s);
    SyncCounter ended, removed;
    const HSYNC sync = BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &SyncCounter::Proc, &ended);
    const HSYNC gone = BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &SyncCounter::Proc, &removed);
    ASSERT_TRUE(sync && gone);
    ASSERT_TRUE(BASS_ChannelRemoveSync(s, gone));
    EXPECT_FALSE(BASS_ChannelRemoveSync(s, gone));

    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(ended.WaitFor(1));
    EXPECT_EQ(sync, ended.lastSync.load());
    EXPECT_EQ(s, ended.lastChannel.load());
    // At the end: the whole length heard, nothing playing, no level.
    EXPECT_EQ(BASS_ChannelGetLength(s, BASS_POS_BYTE), BASS_ChannelGetPosition(s, BASS_POS_BYTE));
    EXPECT_EQ(0u, BASS_ChannelGetLevel(s));
    EXPECT_FALSE(BASS_ChannelPause(s));
    Sleep(300);
    EXPECT_EQ(1, ended.calls.load());

    // A restart plays it again and ends again; so does playing a stream that has ended.
    ASSERT_TRUE(BASS_ChannelPlay(s, TRUE));
    EXPECT_LT(BASS_ChannelGetPosition(s, BASS_POS_BYTE), BASS_ChannelGetLength(s, BASS_POS_BYTE));
    ASSERT_TRUE(ended.WaitFor(2));
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(ended.WaitFor(3));
    Sleep(200);
    EXPECT_EQ(3, ended.calls.load());
    EXPECT_EQ(0, removed.calls.load());
}

TEST_F(EngineTest, PositionAdvancesInRealTime) {
    const HSTREAM s = Open(Wav(L"long.wav", 44100, 2, 3 * 44100, audio_test::Sine(440, 0.5, 44100)));
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(s) > 0.05; }));
    // Each position is read between two clock readings, so a pause of the test's own thread
    // widens the window instead of failing the comparison.
    const double t0a = Seconds(), p0 = PositionSeconds(s), t0b = Seconds();
    // Longer than the second after which the engine forgets heard blocks nobody asked about.
    Sleep(1400);
    const double t1a = Seconds(), p1 = PositionSeconds(s), t1b = Seconds();
    // The heard position follows the clock (well inside the 10 ms it is read to).
    EXPECT_GE(p1 - p0, (t1a - t0b) - 0.05);
    EXPECT_LE(p1 - p0, (t1b - t0a) + 0.05);
}

TEST_F(EngineTest, PauseHoldsThePositionAndResumeGoesOn) {
    const HSTREAM s = Open(Wav(L"long.wav", 44100, 1, 3 * 44100, audio_test::Sine(440, 0.5, 44100)));
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(s) > 0.2; }));
    const double readAt = Seconds();
    const double atPause = PositionSeconds(s);
    ASSERT_TRUE(BASS_ChannelPause(s));
    const double pausedAt = Seconds();
    EXPECT_FALSE(BASS_ChannelPause(s));
    EXPECT_EQ(BASS_ERROR_ALREADY, BASS_ErrorGetCode());
    Sleep(300);  // what was queued has been heard: the device's clock, not its thread, says so
    const double held = PositionSeconds(s);
    // The pause took effect within one buffer length (100 ms) and a block, after playing on
    // for the time between the reading and the pause.
    EXPECT_GE(held, atPause);
    EXPECT_LT(held - atPause, 0.13 + (pausedAt - readAt));
    EXPECT_EQ(0u, BASS_ChannelGetLevel(s));
    Sleep(200);
    EXPECT_EQ(held, PositionSeconds(s));

    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(s) > held + 0.05; }));
    // It went on from where it stopped, not from the start.
    EXPECT_LT(PositionSeconds(s), held + 1.0);
}

TEST_F(EngineTest, SeekMovesTheHeardPositionAtOnce) {
    const HSTREAM s = Open(Wav(L"long.wav", 44100, 1, 3 * 44100, audio_test::Sine(440, 0.5, 44100)));
    SyncCounter ended;
    BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &SyncCounter::Proc, &ended);
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(s) > 0.1; }));
    const double seekAt = Seconds();
    ASSERT_TRUE(BASS_ChannelSetPosition(s, BASS_ChannelSeconds2Bytes(s, 2.0), BASS_POS_BYTE));
    const double after = PositionSeconds(s);
    EXPECT_GE(after, 2.0);
    EXPECT_LT(after, 2.05 + (Seconds() - seekAt));  // playing on since the seek
    ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(s) > 2.1; }));
    // Backwards, while paused: the position is the target and stays there.
    ASSERT_TRUE(BASS_ChannelPause(s));
    ASSERT_TRUE(BASS_ChannelSetPosition(s, BASS_ChannelSeconds2Bytes(s, 0.5), BASS_POS_BYTE));
    EXPECT_DOUBLE_EQ(0.5, PositionSeconds(s));
    Sleep(200);
    EXPECT_DOUBLE_EQ(0.5, PositionSeconds(s));
    // To the very end: the end is heard and synced.
    ASSERT_TRUE(BASS_ChannelSetPosition(s, BASS_ChannelGetLength(s, BASS_POS_BYTE), BASS_POS_BYTE));
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    EXPECT_TRUE(ended.WaitFor(1));
}

TEST_F(EngineTest, StopHoldsThePositionForTheNextPlay) {
    const HSTREAM s = Open(Wav(L"long.wav", 44100, 1, 3 * 44100, audio_test::Sine(440, 0.5, 44100)));
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(s) > 0.2; }));
    ASSERT_TRUE(BASS_ChannelStop(s));
    const double stopped = PositionSeconds(s);
    Sleep(200);
    EXPECT_EQ(stopped, PositionSeconds(s));
    EXPECT_FALSE(BASS_ChannelPause(s));
    EXPECT_EQ(BASS_ERROR_NOPLAY, BASS_ErrorGetCode());
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(s) > stopped + 0.05; }));
}

TEST_F(EngineTest, LevelsOfASineAndASquareBeforeTheVolume) {
    // Left: sine at half scale; right: square wave at a quarter.
    const auto sine = audio_test::Sine(1000, 0.5, 44100);
    const auto square = audio_test::Square(250, 0.25, 44100);
    const HSTREAM s = Open(Wav(L"lr.wav", 44100, 2, 4 * 44100, [&](int f, int c) { return c == 0 ? sine(f, 0) : square(f, 0); }));
    EXPECT_EQ(0u, BASS_ChannelGetLevel(s));  // not playing yet
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(s) > 0.1; }));
    for (float volume : {1.0f, 0.0f, 0.3f}) {
        ASSERT_TRUE(BASS_ChannelSetAttribute(s, BASS_ATTRIB_VOL, volume));
        Sleep(150);
        const auto level = Levels(s);
        EXPECT_NEAR(16384, level.first, 100) << volume;
        EXPECT_NEAR(8192, level.second, 4) << volume;
    }
}

TEST_F(EngineTest, SpectrumOfTheHeardTone) {
    const HSTREAM s = Open(Wav(L"k.wav", 44100, 1, 4 * 44100, audio_test::Sine(1000, 0.5, 44100)));
    std::vector<float> bins(1024, -1.0f);
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(s) > 0.2; }));
    ASSERT_EQ(4096u, BASS_ChannelGetData(s, bins.data(), BASS_DATA_FFT2048));
    EXPECT_EQ(46, std::max_element(bins.begin(), bins.end()) - bins.begin());
    EXPECT_NEAR(0.45, bins[46], 0.1);  // half scale, 0.4 of a bin off centre
    // Mute changes nothing in the spectrum.
    ASSERT_TRUE(BASS_ChannelSetAttribute(s, BASS_ATTRIB_VOL, 0.0f));
    Sleep(150);
    std::vector<float> muted(1024);
    ASSERT_EQ(4096u, BASS_ChannelGetData(s, muted.data(), BASS_DATA_FFT2048));
    EXPECT_NEAR(bins[46], muted[46], 0.02);
    EXPECT_EQ(0xFFFFFFFFu, BASS_ChannelGetData(s, muted.data(), 4096));  // only the FFT
}

TEST_F(EngineTest, EqualiserBandRaisesAndLowersTheHeardTone) {
    const HSTREAM s = Open(Wav(L"eq.wav", 44100, 1, 6 * 44100, audio_test::Sine(1000, 0.1, 44100)));
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return Levels(s).first > 3000; }));
    EXPECT_NEAR(3277, Levels(s).first, 60);
    const HFX fx = BASS_ChannelSetFX(s, BASS_FX_DX8_PARAMEQ, 0);
    ASSERT_NE(0u, fx);
    BASS_DX8_PARAMEQ up{1000, 18, 12};
    ASSERT_TRUE(BASS_FXSetParameters(fx, &up));
    // Effects act on data decoded from now on: within a buffer length the level settles at
    // the new gain (a reading taken while old and new data share the window lies between).
    const auto settlesNear = [&](int expected, int tolerance) {
        return WaitUntil([&] { return std::abs(Levels(s).first - expected) <= tolerance; }, 3000);
    };
    EXPECT_TRUE(settlesNear(13045, 400));  // +12 dB
    BASS_DX8_PARAMEQ down{1000, 18, -12};
    ASSERT_TRUE(BASS_FXSetParameters(fx, &down));
    EXPECT_TRUE(settlesNear(823, 40));     // -12 dB
    ASSERT_TRUE(BASS_ChannelRemoveFX(s, fx));
    ASSERT_TRUE(WaitUntil([&] { return Levels(s).first > 3000; }, 3000));
}

TEST_F(EngineTest, StreamsOfAnotherRatePlayOnTheDevicesRate) {
    ASSERT_TRUE(BASS_Free());
    ASSERT_TRUE(BASS_Init(0, 48000, 0, nullptr, nullptr));
    const HSTREAM s = Open(Wav(L"r.wav", 22050, 1, 22050 / 2, audio_test::Sine(1000, 0.5, 22050)));
    SyncCounter ended;
    BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &SyncCounter::Proc, &ended);
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(s) > 0.2; }));
    // Levels and positions stay in the stream's own terms.
    EXPECT_NEAR(16384, Levels(s).first, 400);
    EXPECT_TRUE(ended.WaitFor(1));
    EXPECT_EQ(22050u, BASS_ChannelGetPosition(s, BASS_POS_BYTE));
}
