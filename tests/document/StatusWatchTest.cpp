// The status watch thread: ticks and dividers, what listeners get on pause, stop and seek,
// failed samples, and ending the thread.

#include "PlayerTestSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <thread>

using namespace player_test;

namespace {

// Logs every call of the listeners registered with it: the listener's id and the block's state.
struct CallLog {
    struct Entry {
        int id;
        PlayerStatusBlock status;
    };
    std::mutex lock;
    std::vector<Entry> entries;

    struct Listener {
        CallLog* log;
        int id;
    };
    std::deque<Listener> listeners;

    void Register(CLarkspur2006Doc& doc, int id, int divider) {
        listeners.push_back({this, id});
        doc.RegisterPlayerListener(&CallLog::Callback, &listeners.back(), divider);
    }
    static void Callback(const PlayerStatusBlock* status, void* user) {
        auto* l = static_cast<Listener*>(user);
        std::lock_guard<std::mutex> guard(l->log->lock);
        l->log->entries.push_back({l->id, *status});
    }
    std::vector<Entry> Take() {
        std::lock_guard<std::mutex> guard(lock);
        return entries;
    }
    size_t Size() {
        std::lock_guard<std::mutex> guard(lock);
        return entries.size();
    }
};

// Once made slow, blocks inside its call until the test releases it.
struct SlowListener {
    HANDLE inside = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> slow{false};
    std::atomic<bool> finished{false};
    ~SlowListener() {
        CloseHandle(inside);
        CloseHandle(release);
    }
    static void Callback(const PlayerStatusBlock*, void* user) {
        auto* self = static_cast<SlowListener*>(user);
        if (!self->slow) return;
        self->finished = false;
        SetEvent(self->inside);
        WaitForSingleObject(self->release, 20000);
        self->finished = true;
    }
};


// Listeners live as long as the document's thread: they are members, and the player is
// closed before they go.
class StatusWatch : public PlayerFixture {
protected:
    StatusWatch() { host.offerSeekBar = false; }  // only the test's listeners
    void TearDown() override { Doc().ClosePlayer(); }
    CallLog log;
    SlowListener listener;
};

}  // namespace

TEST_F(StatusWatch, DividerCountsTicksOfAnUninterruptedStretch) {
    log.Register(Doc(), 1, 1);
    log.Register(Doc(), 20, 20);
    StartPlayer();
    AddWavTrack(L"long.wav", 4 * 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return log.Size() > 120; }));
    const auto entries = log.Take();
    // Positions of the divider-20 calls; from the second one on, every gap is 20 ticks, each
    // tick calling the divider-1 listener once.
    std::vector<size_t> at;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].id == 20) at.push_back(i);
    ASSERT_GE(at.size(), 4u);
    for (size_t k = 2; k + 1 < at.size(); ++k) {
        size_t ones = 0;
        for (size_t i = at[k] + 1; i <= at[k + 1]; ++i) ones += entries[i].id == 1;
        EXPECT_EQ(20u, ones) << k;
        EXPECT_EQ(1, entries[at[k] - 1].id);  // the same tick: divider 1 first, in registration order
    }
    // The samples carry the playing state and a moving position.
    EXPECT_EQ(PlayStatePlaying, entries.back().status.state);
    EXPECT_GT(entries.back().status.position, entries[at[2]].status.position);
}

TEST_F(StatusWatch, PauseKeepsTheSampleAndStopClearsIt) {
    log.Register(Doc(), 1, 1);
    log.Register(Doc(), 3, 3);
    StartPlayer();
    AddWavTrack(L"long.wav", 4 * 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return Doc().GetPlayerStatus().position > 0.3f; }));
    Doc().TogglePause();
    ASSERT_EQ(PlayStatePaused, Doc().GetPlayState());
    auto pausedCalls = [&] {
        std::vector<CallLog::Entry> paused;
        for (const auto& e : log.Take())
            if (e.status.state == PlayStatePaused) paused.push_back(e);
        return paused;
    };
    ASSERT_TRUE(PumpUntil([&] { return pausedCalls().size() >= 2; }));
    Pump(100);  // room for any call too many
    std::vector<CallLog::Entry> paused = pausedCalls();
    ASSERT_EQ(2u, paused.size());  // every listener once
    EXPECT_NE(paused[0].id, paused[1].id);
    EXPECT_GT(paused[0].status.position, 0.3f);
    EXPECT_GT(paused[0].status.levelLeft, 10000);
    EXPECT_GT(*std::max_element(std::begin(paused[0].status.spectrum), std::end(paused[0].status.spectrum)), 0.1f);
    EXPECT_GT(paused[0].status.length, 3.9f);

    const size_t before = log.Size();
    Doc().Stop(true);
    ASSERT_TRUE(PumpUntil([&] { return log.Size() >= before + 2; }));
    Pump(100);
    const auto entries = log.Take();
    ASSERT_EQ(before + 2, entries.size());  // once each, then no more ticks
    for (size_t i = before; i < entries.size(); ++i) {
        const PlayerStatusBlock& s = entries[i].status;
        EXPECT_EQ(PlayStateStopped, s.state);
        EXPECT_EQ(0.0f, s.position);
        EXPECT_EQ(0.0f, s.length);
        EXPECT_EQ(0, s.positionBytes);
        EXPECT_EQ(0, s.lengthBytes);
        EXPECT_EQ(0, s.levelLeft);
        EXPECT_EQ(0, s.levelRight);
        EXPECT_EQ(0.0f, *std::max_element(std::begin(s.spectrum), std::end(s.spectrum)));
    }
}

TEST_F(StatusWatch, SeekRestartsTheTickCount) {
    log.Register(Doc(), 1, 1);
    log.Register(Doc(), 50, 50);
    StartPlayer();
    AddWavTrack(L"long.wav", 8 * 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    // Well inside a stretch of 50 ticks, a seek makes the divider-50 listener due at once.
    ASSERT_TRUE(PumpUntil([&] { return log.Size() > 30; }));
    // To 6 s (2 bytes a frame): samples from there on are after the seek, since playing on
    // from about 0.5 s would take seconds to get there.
    ASSERT_TRUE(Doc().SeekBytes(12 * 44100));
    auto firstAfterSeek = [&](const std::vector<CallLog::Entry>& entries) {
        size_t i = 0;
        while (i < entries.size() && entries[i].status.position < 6.0f) ++i;
        return i;
    };
    ASSERT_TRUE(PumpUntil([&] {
        const auto entries = log.Take();
        return firstAfterSeek(entries) + 6 <= entries.size();
    }));
    const auto entries = log.Take();
    const size_t from = firstAfterSeek(entries);
    bool seen50 = false;
    for (size_t i = from; i < from + 6; ++i) seen50 = seen50 || entries[i].id == 50;
    EXPECT_TRUE(seen50);
}

TEST_F(StatusWatch, ClosingWhilePlayingEndsTheThreadInTime) {
    log.Register(Doc(), 1, 1);
    StartPlayer();
    AddWavTrack(L"long.wav", 4 * 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return log.Size() > 5; }));
    EXPECT_TRUE(Doc().StopStatusThread());
    EXPECT_FALSE(Doc().GetStatusWatch().IsRunning());
    const size_t after = log.Size();
    Pump(100);
    EXPECT_EQ(after, log.Size());
}


TEST_F(StatusWatch, CloseWaitsLongerForAThreadThatHasNotEnded) {
    Doc().RegisterPlayerListener(&SlowListener::Callback, &listener, 1);
    StartPlayer();
    AddWavTrack(L"long.wav", 4 * 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    listener.slow = true;
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(listener.inside, 5000));
    // The listener is let go well after the close's 500 ms have run out.
    std::thread releaser([&] {
        Sleep(1500);
        SetEvent(listener.release);
    });
    // Not within 500 ms, but the close does not go on while the thread still runs.
    const bool inTime = Doc().StopStatusThread();
    const bool finished = listener.finished;
    releaser.join();
    EXPECT_FALSE(inTime);
    EXPECT_TRUE(finished);
    EXPECT_FALSE(Doc().GetStatusWatch().IsRunning());
}

TEST_F(StatusWatch, FailedSamplesWaitTheirInterval) {
    log.Register(Doc(), 1, 1);
    StartPlayer();
    AddWavTrack(L"long.wav", 4 * 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return log.Size() > 3; }));
    // The stream goes away behind the player's back: every sample fails from now on.
    BASS_StreamFree(Doc().GetStream());
    const ULONGLONG start = GetTickCount64();
    const unsigned failedBefore = Doc().GetStatusWatch().FailedSampleCount();
    ASSERT_TRUE(PumpUntil([&] { return Doc().GetStatusWatch().FailedSampleCount() - failedBefore >= 3; }));
    Pump(200);
    const unsigned failed = Doc().GetStatusWatch().FailedSampleCount() - failedBefore;
    const ULONGLONG elapsed = GetTickCount64() - start;
    // One try per 16 ms at most (a slow machine makes fewer): with room for the first try and
    // the timer's coarseness, at most one per 8 ms; a loop without the wait would try thousands
    // of times.
    EXPECT_LE(failed, 2 + elapsed / 8) << elapsed << " ms";
}

TEST(StatusWatchWait, IsClampedToOneToAThousandMilliseconds) {
    EXPECT_EQ(1u, CPlayerStatusWatch::ClampWait(0));
    EXPECT_EQ(1u, CPlayerStatusWatch::ClampWait(-20));
    EXPECT_EQ(16u, CPlayerStatusWatch::ClampWait(16));
    EXPECT_EQ(1000u, CPlayerStatusWatch::ClampWait(1000));
    EXPECT_EQ(1000u, CPlayerStatusWatch::ClampWait(60000));
}

TEST_F(StatusWatch, ViewsAreHandedCopiesNeverTheLiveBlock) {
    StartPlayer();
    AddWavTrack(L"a.wav", 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    Doc().TogglePause();
    Doc().TogglePause();
    Doc().Stop(true);
    int seen = 0;
    for (const auto& h : view.hints) {
        if (h.code != HintNowPlayingChanged && h.code != HintPlayStateChanged) continue;
        ++seen;
        EXPECT_NE(nullptr, h.status);
        EXPECT_NE(Doc().GetStatusWatch().LiveBlock(), h.status);
    }
    EXPECT_EQ(4, seen);
    // The copy held what the block held at the time: playing with its length, then paused.
    EXPECT_EQ(PlayStatePlaying, view.hints[0].state);
    EXPECT_NEAR(1.0f, view.hints[0].length, 0.001f);
    EXPECT_EQ(PlayStatePaused, view.hints[1].state);
}
