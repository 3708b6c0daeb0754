// The player: choosing rows, open failures, pause and seek, play modes at the end of a track
// with the statistics written, the equaliser and peak rules, the play triggers, restarting
// the engine, and the end-of-track message rules.

#include "PlayerTestSupport.h"
#include "document/PlaylistLoader.h"
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <ctime>
#include <thread>

using namespace player_test;

namespace {

class Player : public PlayerFixture {
protected:
    void SetUp() override { StartPlayer(); }
    bool WaitForState(int state, DWORD ms = 10000) {
        return PumpUntil([&] { return Doc().GetPlayState() == state; }, ms);
    }
    double EnginePosition() {
        const HSTREAM s = Doc().GetStream();
        return BASS_ChannelBytes2Seconds(s, BASS_ChannelGetPosition(s, BASS_POS_BYTE));
    }
};

// A clock in seconds: playback moves the position on by at most the time that has passed.
double Seconds() {
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return double(c.QuadPart) / double(f.QuadPart);
}

// Lets a database-busy wait go on at once, and signals that one was met.
struct BusySignal {
    HANDLE met = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> calls{0};
    ~BusySignal() { CloseHandle(met); }
    static int Handler(void* user, int) {
        auto* self = static_cast<BusySignal*>(user);
        ++self->calls;
        SetEvent(self->met);
        return 0;  // report the database as busy
    }
};

}  // namespace

TEST_F(Player, PlayChoosesTheRow) {
    const int64_t a = AddWavTrack(L"a.wav", 44100);
    AddWavTrack(L"b.wav", 44100);
    const int64_t c = AddWavTrack(L"c.wav", 44100);
    ASSERT_EQ(-1, List().current);
    // No current row: row 0.
    ASSERT_TRUE(Doc().Play(-1, 0));
    EXPECT_EQ(0, List().current);
    EXPECT_EQ(a, Doc().GetNowPlaying().rowid);
    // Past the end: row 0; a row: that row; -1 again: the current one.
    ASSERT_TRUE(Doc().Play(2, 0));
    EXPECT_EQ(c, Doc().GetNowPlaying().rowid);
    ASSERT_TRUE(Doc().Play(3, 0));
    EXPECT_EQ(0, List().current);
    ASSERT_TRUE(Doc().Play(2, 0));
    ASSERT_TRUE(Doc().Play(-1, 0));
    EXPECT_EQ(2, List().current);

    const PlayerStatusBlock status = Doc().GetPlayerStatus();
    EXPECT_EQ(PlayStatePlaying, status.state);
    EXPECT_EQ(88200, status.lengthBytes);
    EXPECT_FLOAT_EQ(1.0f, status.length);
    EXPECT_EQ(L"Title c.wav - Spur", host.captions.back());
    EXPECT_EQ(c, host.trayTracks.back());
    EXPECT_EQ(5, view.Count(HintNowPlayingChanged));
    EXPECT_EQ(5, host.stateChanges);
    // The seek bar's listener was registered at the first play and is fed.
    EXPECT_TRUE(PumpUntil([&] { return host.seekBarCalls > 5; }));
}

TEST_F(Player, PlayOnAnEmptyListOpensNothing) {
    EXPECT_FALSE(Doc().Play(-1, 0));
    EXPECT_EQ(PlayStateStopped, Doc().GetPlayState());
    EXPECT_EQ(-1, Doc().GetNowPlaying().rowid);
    EXPECT_EQ(0u, Doc().GetStream());
    ASSERT_EQ(1, view.Count(HintNowPlayingChanged));
    EXPECT_EQ(PlayStateStopped, view.hints.back().state);
    EXPECT_EQ(1, host.stateChanges);
    EXPECT_TRUE(lib.host.messages.empty());

    // A track still playing when the list has become empty is stopped with it.
    AddWavTrack(L"a.wav", 3 * 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    const HSTREAM old = Doc().GetStream();
    List().Clear();
    EXPECT_FALSE(Doc().Play(-1, 0));
    EXPECT_EQ(0u, Doc().GetStream());
    EXPECT_FALSE(BASS_ChannelPlay(old, FALSE));  // freed
}

TEST_F(Player, OpenFailureReportsTheShortenedPath) {
    const std::wstring missing =
        lib.dir.file(L"a folder with a rather long name\\and another one inside it\\missing track.wav");
    AddTrack(missing, 5);
    EXPECT_FALSE(Doc().Play(0, 0));
    EXPECT_EQ(PlayStateOpenError, Doc().GetPlayState());
    EXPECT_EQ(-1, Doc().GetNowPlaying().rowid);
    EXPECT_EQ(L"Spur", host.captions.back());
    ASSERT_EQ(1u, lib.host.messages.size());
    const std::wstring& text = lib.host.messages[0].text;
    const std::wstring head = L"BASSの初期化又はファイルのオープンに失敗しました。\r\n「";
    ASSERT_EQ(0u, text.find(head));
    const std::wstring shown = text.substr(head.size(), text.size() - head.size() - 1);
    EXPECT_EQ(L"」", text.substr(text.size() - 1));
    EXPECT_LE(shown.size(), 50u);
    EXPECT_NE(std::wstring::npos, shown.find(L"..."));
    EXPECT_NE(std::wstring::npos, shown.find(L"missing track.wav"));
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), lib.host.messages[0].type & MB_ICONMASK);
    EXPECT_EQ(PlayStateOpenError, view.hints.back().state);

    // Minimised to the tray: a balloon instead.
    host.inTray = true;
    EXPECT_FALSE(Doc().Play(0, 0));
    ASSERT_EQ(1u, host.balloons.size());
    EXPECT_EQ(L"ERROR", host.balloons[0].title);
    EXPECT_EQ(static_cast<DWORD>(NIIF_ERROR), host.balloons[0].icon);
    EXPECT_EQ(text, host.balloons[0].text);
    EXPECT_EQ(1u, lib.host.messages.size());
    // "IgnoreOpenError": neither.
    lib.settings.playlistView.ignoreOpenError = true;
    EXPECT_FALSE(Doc().Play(0, 0));
    EXPECT_EQ(1u, host.balloons.size());
    EXPECT_EQ(1u, lib.host.messages.size());
}

TEST_F(Player, PauseResumesAndSeekingWhilePausedPlays) {
    AddWavTrack(L"long.wav", 3 * 44100);
    EXPECT_FALSE(Doc().SeekBytes(0));
    EXPECT_FALSE(Doc().SeekRelative(5));
    ASSERT_TRUE(Doc().Play(0, 0));
    Doc().TogglePause();
    EXPECT_EQ(PlayStatePaused, Doc().GetPlayState());
    EXPECT_EQ(PlayStatePaused, view.hints.back().state);
    EXPECT_EQ(HintPlayStateChanged, view.hints.back().code);
    Doc().TogglePause();
    EXPECT_EQ(PlayStatePlaying, Doc().GetPlayState());
    Doc().TogglePause();
    const double seekAt = Seconds();
    ASSERT_TRUE(Doc().SeekBytes(2 * 44100));  // 1 s: 2 bytes a frame
    EXPECT_EQ(PlayStatePlaying, Doc().GetPlayState());
    const double position = EnginePosition();
    EXPECT_GE(position, 1.0 - 0.05);
    EXPECT_LE(position, 1.0 + 0.05 + (Seconds() - seekAt));  // playing on since the seek
    Doc().Stop(true);
    Doc().TogglePause();  // nothing to pause
    EXPECT_EQ(PlayStateStopped, Doc().GetPlayState());
}

TEST_F(Player, RelativeSeeksStopAtTheStartAndTheEnd) {
    lib.settings.bass.repeatMode = PlayModeSingle;
    AddWavTrack(L"long.wav", 3 * 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return Doc().GetPlayerStatus().positionBytes > 20000; }));
    const double seekAt = Seconds();
    ASSERT_TRUE(Doc().SeekRelative(-5));
    EXPECT_LT(EnginePosition(), 0.15 + (Seconds() - seekAt));  // from the start, playing on since
    ASSERT_TRUE(Doc().SeekRelative(10));
    EXPECT_DOUBLE_EQ(3.0, EnginePosition());
    // At the length the track ends at once and the play mode stops it.
    EXPECT_TRUE(WaitForState(PlayStateStopped));
}

TEST_F(Player, SingleModeStopsAndWritesTheStatistics) {
    lib.settings.bass.repeatMode = PlayModeSingle;
    // Long enough for the watch thread to sample the peak however busy the machine is.
    const int64_t row = AddWavTrack(L"a.wav", 44100);  // 1 s
    const int64_t before = static_cast<int64_t>(std::time(nullptr));
    ASSERT_TRUE(Doc().Play(0, 0));
    const HSTREAM stream = Doc().GetStream();
    ASSERT_TRUE(WaitForState(PlayStateStopped));
    EXPECT_EQ(1, PlayCount(row));
    EXPECT_GE(LastPlayed(row), before);
    EXPECT_LE(LastPlayed(row), static_cast<int64_t>(std::time(nullptr)));
    // The measured peak of a half-scale tone.
    EXPECT_NEAR(16384, Gain(row), 200);
    EXPECT_EQ(1, List().at(0)->playcount);
    EXPECT_EQ(Gain(row), List().at(0)->gain);
    EXPECT_EQ(-1, Doc().GetNowPlaying().rowid);
    ASSERT_EQ(1u, host.syncStreams.size());
    EXPECT_EQ(stream, host.syncStreams[0]);  // the message carries its stream
    EXPECT_TRUE(lib.errors.messages.empty());
}

TEST_F(Player, SingleRepeatRestartsTheSameStream) {
    lib.settings.bass.repeatMode = PlayModeSingleRepeat;
    const int64_t row = AddWavTrack(L"a.wav", 8820);  // 0.2 s
    ASSERT_TRUE(Doc().Play(0, 0));
    const HSTREAM stream = Doc().GetStream();
    ASSERT_TRUE(PumpUntil([&] { return PlayCount(row) >= 2; }));
    EXPECT_EQ(PlayStatePlaying, Doc().GetPlayState());
    EXPECT_EQ(stream, Doc().GetStream());
    EXPECT_EQ(1, view.Count(HintNowPlayingChanged));  // only the play's own
    ASSERT_GE(view.Count(HintStatisticsChanged), 2);
    int n = 0;
    for (const auto& h : view.hints) {
        if (h.code != HintStatisticsChanged) continue;
        ++n;
        EXPECT_EQ(CUpdateViewPlaybackStatisticsChange::LastPlayed | CUpdateViewPlaybackStatisticsChange::PlayCount,
                  h.change.changed);
        EXPECT_EQ(row, h.change.rowid);
        EXPECT_EQ(n, h.change.playcount);
        EXPECT_GT(h.change.lastplayed, 0);
    }
    Doc().Stop(true);
}

TEST_F(Player, ListRepeatWrapsAndListModeStopsAfterTheLastRow) {
    lib.settings.bass.repeatMode = PlayModeListRepeat;
    const int64_t first = AddWavTrack(L"a.wav", 8820);
    const int64_t last = AddWavTrack(L"b.wav", 8820);
    ASSERT_TRUE(Doc().Play(1, 0));
    ASSERT_TRUE(PumpUntil([&] { return Doc().GetNowPlaying().rowid == first; }));
    EXPECT_EQ(1, PlayCount(last));
    EXPECT_EQ(0, List().current);
    Doc().Stop(true);

    lib.settings.bass.repeatMode = PlayModeList;
    ASSERT_TRUE(Doc().Play(1, 0));
    ASSERT_TRUE(WaitForState(PlayStateStopped));
    EXPECT_EQ(2, PlayCount(last));
    EXPECT_EQ(-1, Doc().GetNowPlaying().rowid);
    EXPECT_EQ(PlayStateStopped, view.hints.back().state);

    lib.settings.bass.repeatMode = PlayModeRandom;
    ASSERT_TRUE(Doc().Play(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return PlayCount(first) >= 1 && Doc().GetPlayState() == PlayStatePlaying &&
                                       host.syncStreams.size() >= 3; }));
    Doc().Stop(true);
}

TEST_F(Player, PeakIsStoredOnlyWithoutEqualiserAndSeek) {
    lib.settings.bass.repeatMode = PlayModeSingle;
    lib.settings.eq.selectedEq = L"Default";
    EqPreset flat;
    InitEqPreset(flat, 0);
    lib.settings.eq.presets[L"Default"] = flat;
    const int64_t row = AddWavTrack(L"a.wav", 13230);
    // Equaliser on at the start.
    lib.settings.bass.enableEq = true;
    ASSERT_TRUE(Doc().Play(0, 0));
    ASSERT_TRUE(WaitForState(PlayStateStopped));
    EXPECT_EQ(1, PlayCount(row));
    EXPECT_EQ(0, Gain(row));
    // A seek during the track.
    lib.settings.bass.enableEq = false;
    ASSERT_TRUE(Doc().Play(0, 0));
    ASSERT_TRUE(Doc().SeekBytes(2000));
    ASSERT_TRUE(WaitForState(PlayStateStopped));
    EXPECT_EQ(2, PlayCount(row));
    EXPECT_EQ(0, Gain(row));
    // An equaliser change during the track.
    ASSERT_TRUE(Doc().Play(0, 0));
    EXPECT_TRUE(Doc().ApplyEqualizer());
    ASSERT_TRUE(WaitForState(PlayStateStopped));
    EXPECT_EQ(0, Gain(row));
    // Neither: stored. The peak must be sampled while the tone is heard, so the track is long
    // and is taken to its end behind the document's back once the peak has been seen.
    const int64_t longRow = AddWavTrack(L"long.wav", 20 * 44100);
    ASSERT_TRUE(Doc().Play(1, 0));
    ASSERT_TRUE(PumpUntil([&] { return Doc().GetStatusWatch().Peak() > 15000; }));
    const HSTREAM stream = Doc().GetStream();
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, BASS_ChannelGetLength(stream, BASS_POS_BYTE) - 2000, BASS_POS_BYTE));
    ASSERT_TRUE(WaitForState(PlayStateStopped));
    EXPECT_EQ(3, PlayCount(row));
    EXPECT_EQ(1, PlayCount(longRow));
    EXPECT_GT(Gain(longRow), 15000);
}

// A saved query may add columns after those of `list`: the end of the track still counts
// for the row that played.
TEST_F(Player, StatisticsGoToTheRowThatPlayedWhateverTheQueryAdds) {
    lib.settings.bass.repeatMode = PlayModeSingle;
    const int64_t other = AddWavTrack(L"other.wav", 44100);
    const int64_t played = AddWavTrack(L"played.wav", 4410);
    // Read by position, the added column would give the played row's rowid as `other`'s.
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"UPDATE list SET playcount=" + std::to_wstring(other) +
                                       L" WHERE rowid=" + std::to_wstring(played) + L";"));
    ASSERT_TRUE(Doc().SetQuery(L"n", L"SELECT *, playcount AS n FROM list;", true));
    ASSERT_TRUE(LoadPlaylistCache(lib.db(), List(), nullptr, nullptr));
    ASSERT_EQ(2, List().size());
    const int index = List().at(0)->rowid == played ? 0 : 1;
    ASSERT_EQ(played, List().at(index)->rowid);
    ASSERT_TRUE(Doc().Play(index, 0));
    ASSERT_TRUE(WaitForState(PlayStateStopped));
    EXPECT_EQ(other + 1, PlayCount(played));
    EXPECT_EQ(0, PlayCount(other));
    EXPECT_EQ(0, LastPlayed(other));
    EXPECT_TRUE(lib.errors.messages.empty());
}

TEST_F(Player, EqualiserEffectsFollowTheSwitchAndThePreset) {
    EXPECT_FALSE(Doc().ApplyEqualizer());  // no stream
    EqPreset boost;
    InitEqPreset(boost, 12);
    EXPECT_EQ(82.0f, boost.bands[1].centre);
    EXPECT_EQ(18.0f, boost.bands[9].bandwidth);
    lib.settings.eq.presets[L"Boost"] = boost;
    lib.settings.eq.selectedEq = L"Boost";
    AddWavTrack(L"quiet.wav", 6 * 44100, 0.1);
    ASSERT_TRUE(Doc().Play(0, 0));
    auto level = [&] { return static_cast<int>(LOWORD(BASS_ChannelGetLevel(Doc().GetStream()))); };
    ASSERT_TRUE(PumpUntil([&] { return level() > 3000; }));
    EXPECT_LT(level(), 3500);
    lib.settings.bass.enableEq = true;
    ASSERT_TRUE(Doc().ApplyEqualizer());
    // +12 dB on the bands around 1 kHz: well above the plain level.
    EXPECT_TRUE(PumpUntil([&] { return level() > 9000; }, 3000));
    lib.settings.bass.enableEq = false;
    ASSERT_TRUE(Doc().ApplyEqualizer());
    EXPECT_TRUE(PumpUntil([&] { return level() < 3500; }, 3000));
}

TEST_F(Player, LateEndMessagesChangeNothing) {
    lib.settings.bass.repeatMode = PlayModeListRepeat;
    const int64_t a = AddWavTrack(L"a.wav", 3 * 44100);
    const int64_t b = AddWavTrack(L"b.wav", 3 * 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    const HSTREAM old = Doc().GetStream();
    // The user chose another track before the first one's end message was handled.
    ASSERT_TRUE(Doc().Play(1, 0));
    Doc().OnEndOfTrack(old);
    EXPECT_EQ(0, PlayCount(a));
    EXPECT_EQ(0, PlayCount(b));
    EXPECT_EQ(1, List().current);
    EXPECT_EQ(b, Doc().GetNowPlaying().rowid);
    EXPECT_EQ(PlayStatePlaying, Doc().GetPlayState());
    // While paused, and after a stop, the open stream's message is ignored as well.
    const HSTREAM current = Doc().GetStream();
    Doc().TogglePause();
    Doc().OnEndOfTrack(current);
    EXPECT_EQ(0, PlayCount(b));
    EXPECT_EQ(PlayStatePaused, Doc().GetPlayState());
    Doc().Stop(true);
    Doc().OnEndOfTrack(current);
    Doc().OnEndOfTrack(0);
    EXPECT_EQ(PlayStateStopped, Doc().GetPlayState());
    EXPECT_EQ(0u, Doc().GetStream());
    EXPECT_EQ(0, PlayCount(b));
}

TEST_F(Player, BusyDatabaseIsRetriedAtTheEndOfATrack) {
    lib.settings.bass.repeatMode = PlayModeSingle;
    lib.settings.sqlite.busyRetry = 3;
    lib.settings.sqlite.busyTimeout = 1000;
    // The document's connection reports busy at once, and tells the holder below.
    BusySignal busy;
    sqlite3_busy_handler(lib.db().handle(), &BusySignal::Handler, &busy);
    const int64_t row = AddWavTrack(L"a.wav", 8820);
    // Another connection holds the write lock until the document has met it at the end.
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open16(lib.settings.libraryPath.c_str(), &other));
    sqlite3_busy_timeout(other, 5000);  // its commit waits out any reader
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr));
    std::thread holder([&] {
        // Lets go while the document waits to retry.
        WaitForSingleObject(busy.met, 20000);
        sqlite3_exec(other, "COMMIT;", nullptr, nullptr, nullptr);
    });
    ASSERT_TRUE(Doc().Play(0, 0));
    const bool stopped = WaitForState(PlayStateStopped);
    SetEvent(busy.met);  // lets the holder go should the document never have tried
    holder.join();
    sqlite3_close(other);
    ASSERT_TRUE(stopped);
    EXPECT_GE(busy.calls.load(), 1);
    EXPECT_EQ(1, PlayCount(row));
    EXPECT_TRUE(lib.errors.messages.empty());
}

TEST_F(Player, StatisticsThatCannotBeWrittenAreReported) {
    lib.settings.bass.repeatMode = PlayModeListRepeat;
    lib.settings.sqlite.busyRetry = 2;
    lib.settings.sqlite.busyTimeout = 50;
    lib.db().set_busy_timeout(0);
    const int64_t a = AddWavTrack(L"a.wav", 8820);
    const int64_t b = AddWavTrack(L"b.wav", 44100);
    // A lock that is never released: retried, then reported.
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open16(lib.settings.libraryPath.c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr));
    ASSERT_TRUE(Doc().Play(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return Doc().GetNowPlaying().rowid == b; }));
    EXPECT_EQ(1u, lib.errors.messages.size());
    sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(0, PlayCount(a));
    Doc().Stop(true);
    // Any other failure is reported at once; playback goes on by the play mode.
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"CREATE TRIGGER refuse BEFORE UPDATE ON list BEGIN SELECT RAISE(ABORT,'no'); END;"));
    ASSERT_TRUE(Doc().Play(0, 0));
    ASSERT_TRUE(PumpUntil([&] { return Doc().GetNowPlaying().rowid == b; }));
    EXPECT_EQ(2u, lib.errors.messages.size());
    EXPECT_EQ(L"no", lib.errors.texts.back());
}

TEST_F(Player, PlayTriggers) {
    AddWavTrack(L"a.wav", 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    auto run = [&](const std::wstring& text) {
        host.commands.clear();
        lib.settings.bass.playTriggerStart = text;
        Doc().RunPlayTrigger(true);
        return host.commands;
    };
    auto c = run(L"\"C:\\Tools\\my player.exe\" -t \"%tagTitle%\"");
    ASSERT_EQ(1u, c.size());
    EXPECT_EQ(L"C:\\Tools\\my player.exe", c[0].file);
    EXPECT_TRUE(c[0].hasParameters);
    EXPECT_EQ(L"-t \"Title a.wav\"", c[0].parameters);
    EXPECT_EQ(nullptr, c[0].owner);
    // A closing quote as the last character: no parameters, and it still runs.
    c = run(L"\"C:\\Tools\\notify.exe\"");
    ASSERT_EQ(1u, c.size());
    EXPECT_EQ(L"C:\\Tools\\notify.exe", c[0].file);
    EXPECT_EQ(L"", c[0].parameters);
    EXPECT_TRUE(run(L"\"").empty());
    EXPECT_TRUE(run(L"\"C:\\never closed.exe").empty());
    EXPECT_TRUE(run(L"").empty());
    c = run(L"log.cmd %tagTitle% %file_ext%");
    ASSERT_EQ(1u, c.size());
    EXPECT_EQ(L"log.cmd", c[0].file);
    EXPECT_EQ(L"Title a.wav .wav", c[0].parameters);
    c = run(L"%file_title%.cmd");
    ASSERT_EQ(1u, c.size());
    EXPECT_EQ(L"a.cmd", c[0].file);
    EXPECT_FALSE(c[0].hasParameters);
    EXPECT_EQ(host.window, c[0].owner);
    // The stop command is never expanded.
    host.commands.clear();
    lib.settings.bass.playTriggerStop = L"stopped.cmd %tagTitle%";
    Doc().RunPlayTrigger(false);
    ASSERT_EQ(1u, host.commands.size());
    EXPECT_EQ(L"stopped.cmd %tagTitle%", host.commands[0].file);
    EXPECT_FALSE(host.commands[0].hasParameters);
    // Play and stop run them.
    lib.settings.bass.playTriggerStart = L"start.cmd";
    host.commands.clear();
    ASSERT_TRUE(Doc().Play(0, 0));
    Doc().Stop(true);
    ASSERT_EQ(2u, host.commands.size());
    EXPECT_EQ(L"start.cmd", host.commands[0].file);
    EXPECT_EQ(L"stopped.cmd %tagTitle%", host.commands[1].file);
}

TEST_F(Player, ReinitResumesTheSameRowWhereItWas) {
    AddWavTrack(L"a.wav", 44100);
    const int64_t b = AddWavTrack(L"b.wav", 4 * 44100);
    ASSERT_TRUE(Doc().Play(1, 0));
    ASSERT_TRUE(PumpUntil([&] { return EnginePosition() > 0.5; }));
    Doc().TogglePause();
    const double at = EnginePosition();
    const double reinitAt = Seconds();
    ASSERT_TRUE(Doc().ReinitBass());
    const double resumed = EnginePosition();
    const double elapsed = Seconds() - reinitAt;
    EXPECT_EQ(PlayStatePlaying, Doc().GetPlayState());  // also when it was paused
    EXPECT_EQ(b, Doc().GetNowPlaying().rowid);
    EXPECT_EQ(1, List().current);
    // Where it was, played on by at most the time the restart took.
    EXPECT_GE(resumed, at - 0.1);
    EXPECT_LE(resumed, at + 0.1 + elapsed);
    EXPECT_EQ(1, BASS_ChannelGetLevel(Doc().GetStream()) != 0xFFFFFFFFu);
    // Stopped: the engine restarts and nothing plays.
    Doc().Stop(true);
    ASSERT_TRUE(Doc().ReinitBass());
    EXPECT_EQ(PlayStateStopped, Doc().GetPlayState());
    EXPECT_TRUE(Doc().GetAddonModule(3).loaded);
}

TEST_F(Player, CloseStopsWithoutClearingAndFreesTheEngine) {
    const int64_t a = AddWavTrack(L"a.wav", 3 * 44100);
    ASSERT_TRUE(Doc().Play(0, 0));
    const HSTREAM stream = Doc().GetStream();
    Doc().ClosePlayer();
    EXPECT_EQ(a, Doc().GetNowPlaying().rowid);
    EXPECT_EQ(PlayStateStopped, Doc().GetPlayState());
    EXPECT_FALSE(Doc().GetStatusWatch().IsRunning());
    EXPECT_EQ(static_cast<QWORD>(-1), BASS_ChannelGetLength(stream, BASS_POS_BYTE));
    EXPECT_FALSE(BASS_Free());  // already freed
}
