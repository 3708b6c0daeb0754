// The engine under several threads: freeing and re-creating streams while another thread uses
// the old handles, and callbacks that wait for the thread that frees.

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "EngineFixture.h"

using audio_test::EngineTest;
using audio_test::SyncCounter;

TEST_F(EngineTest, FreeingAndCreatingWhileAnotherThreadSamplesOldHandles) {
    const std::wstring path = Wav(L"st.wav", 44100, 2, 4410, audio_test::Sine(1000, 0.5, 44100));
    std::mutex lock;
    std::vector<DWORD> handles;  // every stream made so far
    std::set<DWORD> freed;
    std::atomic<bool> done{false};
    std::atomic<int> wrongSuccesses{0};
    std::atomic<int> samples{0};
    SyncCounter ended;

    auto sampler = [&] {
        std::vector<float> fft(1024);
        BASS_DX8_PARAMEQ eq{1000, 18, 6};
        unsigned pick = 0;
        while (!done) {
            DWORD h = 0;
            bool wasFreed = false;
            {
                std::lock_guard<std::mutex> guard(lock);
                if (handles.empty()) continue;
                h = handles[(pick++ * 7) % handles.size()];
                wasFreed = freed.count(h) != 0;
            }
            const bool pos = BASS_ChannelGetPosition(h, BASS_POS_BYTE) != static_cast<QWORD>(-1);
            const bool level = BASS_ChannelGetLevel(h) != 0xFFFFFFFFu;
            const bool data = BASS_ChannelGetData(h, fft.data(), BASS_DATA_FFT2048) != 0xFFFFFFFFu;
            const bool seek = BASS_ChannelSetPosition(h, 400, BASS_POS_BYTE) != FALSE;
            const bool vol = BASS_ChannelSetAttribute(h, BASS_ATTRIB_VOL, 0.5f) != FALSE;
            const HFX fx = BASS_ChannelSetFX(h, BASS_FX_DX8_PARAMEQ, 0);
            if (fx) BASS_FXSetParameters(fx, &eq);
            BASS_ChannelPlay(h, FALSE);
            BASS_ChannelPause(h);
            // A handle freed before the calls began must fail every one of them.
            if (wasFreed && (pos || level || data || seek || vol || fx)) ++wrongSuccesses;
            ++samples;
        }
    };
    std::thread a(sampler), b(sampler);
    for (int i = 0; i < 150; ++i) {
        const HSTREAM s = Open(path);
        ASSERT_NE(0u, s);
        BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &SyncCounter::Proc, &ended);
        BASS_ChannelPlay(s, FALSE);
        {
            std::lock_guard<std::mutex> guard(lock);
            handles.push_back(s);
        }
        Sleep(i % 4);
        if (i % 10 == 9) Sleep(120);  // let some streams reach their end
        ASSERT_TRUE(BASS_StreamFree(s));
        std::lock_guard<std::mutex> guard(lock);
        freed.insert(s);
    }
    done = true;
    a.join();
    b.join();
    EXPECT_EQ(0, wrongSuccesses.load());
    EXPECT_GT(samples.load(), 150);
}

namespace {

// A sync callback that blocks until the test lets it go, as the player's callback blocks until
// the user-interface thread has handled its message.
struct BlockingSync {
    HANDLE entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> calls{0};
    ~BlockingSync() {
        CloseHandle(entered);
        CloseHandle(release);
    }
    static void CALLBACK Proc(HSYNC, DWORD, DWORD, void* user) {
        auto* self = static_cast<BlockingSync*>(user);
        ++self->calls;
        SetEvent(self->entered);
        WaitForSingleObject(self->release, 20000);
    }
};

// Runs f on another thread; true when it returned within the time.
bool ReturnsWithin(DWORD ms, const std::function<void()>& f) {
    HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread t([&] {
        f();
        SetEvent(finished);
    });
    const bool ok = WaitForSingleObject(finished, ms) == WAIT_OBJECT_0;
    t.detach();  // only left running when the test fails
    if (ok) CloseHandle(finished);
    return ok;
}

}  // namespace

TEST_F(EngineTest, FreeingNeverWaitsForARunningCallback) {
    static BlockingSync blocking;  // outlives a callback left blocked by a failure
    const std::wstring path = Wav(L"cb.wav", 44100, 1, 2205, audio_test::Sine(1000, 0.5, 44100));
    const HSTREAM s = Open(path);
    const HSYNC sync = BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &BlockingSync::Proc, &blocking);
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(blocking.entered, 10000));
    // The callback is running and waits: removing its sync, freeing its stream, making and
    // using another stream, and freeing the engine all return.
    EXPECT_TRUE(ReturnsWithin(5000, [&] {
        EXPECT_TRUE(BASS_ChannelRemoveSync(s, sync));
        EXPECT_TRUE(BASS_StreamFree(s));
        const HSTREAM other = Open(path);
        EXPECT_NE(0u, other);
        EXPECT_TRUE(BASS_ChannelPlay(other, FALSE));
        EXPECT_TRUE(BASS_Free());
        EXPECT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    }));
    SetEvent(blocking.release);
    EXPECT_EQ(1, blocking.calls.load());
}

TEST_F(EngineTest, EndQueuedForAFreedStreamIsDropped) {
    // Syncs run one after another: while the first stream's callback blocks, the second
    // stream's end waits in the queue. Freeing that stream drops its end.
    static BlockingSync first;
    const std::wstring path = Wav(L"q.wav", 44100, 1, 2205, audio_test::Sine(1000, 0.5, 44100));
    const HSTREAM a = Open(path);
    const HSTREAM b = Open(path);
    SyncCounter second;
    BASS_ChannelSetSync(a, BASS_SYNC_END, 0, &BlockingSync::Proc, &first);
    BASS_ChannelSetSync(b, BASS_SYNC_END, 0, &SyncCounter::Proc, &second);
    ASSERT_TRUE(BASS_ChannelPlay(a, FALSE));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.entered, 10000));
    ASSERT_TRUE(BASS_ChannelPlay(b, FALSE));
    // b's end is heard (its position reaches the length) while a's callback still blocks.
    ASSERT_TRUE(audio_test::WaitUntil(
        [&] { return BASS_ChannelGetPosition(b, BASS_POS_BYTE) == BASS_ChannelGetLength(b, BASS_POS_BYTE); }));
    Sleep(50);
    ASSERT_TRUE(BASS_StreamFree(b));
    SetEvent(first.release);
    Sleep(200);
    EXPECT_EQ(0, second.calls.load());
    // Without the free it would have come: the same again with b kept.
    const HSTREAM c = Open(path);
    BASS_ChannelSetSync(c, BASS_SYNC_END, 0, &SyncCounter::Proc, &second);
    ASSERT_TRUE(BASS_ChannelPlay(c, FALSE));
    EXPECT_TRUE(second.WaitFor(1));
}

namespace {

// Keeps a handle to the thread that ran the callback, to see later whether it has ended.
struct SyncThread {
    std::atomic<HANDLE> thread{nullptr};
    static void CALLBACK Proc(HSYNC, DWORD, DWORD, void* user) {
        HANDLE self = nullptr;
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, SYNCHRONIZE, FALSE, 0);
        static_cast<SyncThread*>(user)->thread = self;
    }
};

}  // namespace

TEST_F(EngineTest, EachStartOfTheSyncThreadRunsAndFreeingEndsIt) {
    const std::wstring path = Wav(L"short.wav", 44100, 1, 441, audio_test::Sine(1000, 0.5, 44100));
    for (int round = 0; round < 25; ++round) {
        SyncThread sync;
        const HSTREAM s = Open(path);
        BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &SyncThread::Proc, &sync);
        ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
        ASSERT_TRUE(audio_test::WaitUntil([&] { return sync.thread.load() != nullptr; })) << round;
        ASSERT_TRUE(BASS_Free());
        // Waited for by the free: it has ended.
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(sync.thread.load(), 0)) << round;
        CloseHandle(sync.thread.load());
        ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    }
}

TEST_F(EngineTest, ASyncThreadFreedInsideItsCallbackEndsAfterIt) {
    static BlockingSync blocking;
    SyncThread after;
    const std::wstring path = Wav(L"cb.wav", 44100, 1, 441, audio_test::Sine(1000, 0.5, 44100));
    HSTREAM s = Open(path);
    BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &SyncThread::Proc, &after);
    BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &BlockingSync::Proc, &blocking);
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(blocking.entered, 10000));
    ASSERT_TRUE(audio_test::WaitUntil([&] { return after.thread.load() != nullptr; }));
    ASSERT_TRUE(BASS_Free());   // returns although the callback still runs
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(after.thread.load(), 0));
    SetEvent(blocking.release);
    // Once the callback returns the thread ends by itself, and a new engine gets a new thread.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(after.thread.load(), 10000));
    CloseHandle(after.thread.load());
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    SyncCounter counter;
    s = Open(path);
    BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &SyncCounter::Proc, &counter);
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    EXPECT_TRUE(counter.WaitFor(1));
}
