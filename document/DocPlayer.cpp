#include "document/Larkspur2006Doc.h"
#include <sqlite3.h>
#include "app/Placeholders.h"
#include "app/ViewHints.h"
#include "document/DBError.h"
#include "framework/SentMessageWait.h"
#include <shlwapi.h>
#include <algorithm>
#include <cstdio>
#include <ctime>


UINT CLarkspur2006Doc::GetBassSyncMsg() {
    static const UINT message = RegisterWindowMessageW(L"BassSyncMsg");
    return message;
}

void CLarkspur2006Doc::SetPlayState(int state) {
    m_watch.Update([state](PlayerStatusBlock& b) { b.state = state; });
}

void CLarkspur2006Doc::ClearNowPlaying() {
    m_nowPlaying = TrackRecord();
    m_nowPlaying.rowid = -1;
}

// Views get a copy of the block: the watch thread goes on rewriting the live one.
void CLarkspur2006Doc::SendPlaybackHint(LPARAM hint) {
    PlayerStatusBlock copy = m_watch.Snapshot();
    CUpdateViewPlayback object;
    object.status = &copy;
    UpdateAllViews(nullptr, hint, &object);
}

void CLarkspur2006Doc::RemoveEndSync() {
    if (m_endSync) BASS_ChannelRemoveSync(m_stream, m_endSync);
    m_endSync = 0;
}

void CLarkspur2006Doc::RemoveEqEffects() {
    for (HFX& fx : m_eqFx) {
        if (fx) BASS_ChannelRemoveFX(m_stream, fx);
        fx = 0;
    }
}

void CLarkspur2006Doc::FreeStream() {
    RemoveEqEffects();
    m_watch.SetStream(0);
    BASS_StreamFree(m_stream);
    m_stream = 0;
}

void CLarkspur2006Doc::SetCaptionToAppName() { GetPlayerHost().SetCaption(m_settings.appTitle); }

std::wstring CLarkspur2006Doc::ExpandForNowPlaying(std::wstring text) {
    ExpandTrackPlaceholders(m_nowPlaying, text, false, false, MakePlaceholderContext(m_settings, GetProgramFolder()));
    return text;
}

bool CLarkspur2006Doc::Play(int index, float start) {
    IPlayerHost& host = GetPlayerHost();
    m_mainWnd = host.GetMainWindow();
    if (!m_seekListenerRegistered) {
        PlayerStatusCallback callback = nullptr;
        void* user = nullptr;
        if (host.GetSeekBarListener(callback, user)) {
            m_watch.Register(callback, user, m_settings.thread.freqSeek);
            m_seekListenerRegistered = true;
        }
    }
    if (start == 0) {
        m_watch.Update([](PlayerStatusBlock& b) {
            b.position = b.length = 0;
            b.positionBytes = b.lengthBytes = 0;
        });
        ClearNowPlaying();
    }
    SetPlayState(PlayStateStopped);
    RemoveEndSync();
    m_watch.Wake();

    if (start == 0) {
        PlaylistCache& list = GetPlaylistCache();
        if (list.size() == 0) {
            // The state says stopped: a track still open must not go on sounding unseen.
            if (m_stream) {
                BASS_ChannelStop(m_stream);
                FreeStream();
            }
            SetPlayState(PlayStateStopped);
            ClearNowPlaying();
            SendPlaybackHint(HintNowPlayingChanged);
            host.OnPlayStateChanged();
            return false;
        }
        int row = index;
        if (row < 0) row = list.at(list.current) ? list.current : 0;
        if (row >= list.size()) row = 0;
        list.current = row;
        m_nowPlaying = *list.at(row);
    }

    if (m_stream) FreeStream();
    const std::wstring path = m_nowPlaying.file_name;
    if (!OpenStream(path)) {
        SetPlayState(PlayStateOpenError);
        ClearNowPlaying();
        SendPlaybackHint(HintNowPlayingChanged);
        host.OnPlayStateChanged();
        SetCaptionToAppName();
        if (!m_settings.playlistView.ignoreOpenError) {
            wchar_t shortPath[51] = L"";
            PathCompactPathExW(shortPath, path.c_str(), 51, 0);
            wchar_t text[256];
            swprintf(text, 256, L"BASSの初期化又はファイルのオープンに失敗しました。\r\n「%ls」", shortPath);
            if (host.IsInTray())
                host.ShowTrayBalloon(L"ERROR", text, NIIF_ERROR);
            else
                GetHost().ShowMessage(text, MB_OK | MB_ICONERROR);
        }
        return false;
    }

    host.SetCaption(ExpandForNowPlaying(m_settings.generic.appTitle));
    RunPlayTrigger(true);
    ApplyVolume();
    for (HFX& fx : m_eqFx) fx = 0;  // they went with the old stream
    ApplyEqualizer();

    const QWORD lengthBytes = BASS_ChannelGetLength(m_stream, BASS_POS_BYTE);
    const double lengthSeconds = BASS_ChannelBytes2Seconds(m_stream, lengthBytes);
    const QWORD startBytes = start == 0 ? 0 : BASS_ChannelSeconds2Bytes(m_stream, start);
    m_watch.Update([&](PlayerStatusBlock& b) {
        b = PlayerStatusBlock();
        b.state = PlayStatePlaying;
        b.lengthBytes = static_cast<int64_t>(lengthBytes);
        b.length = static_cast<float>(lengthSeconds);
        if (start != 0) {
            b.positionBytes = static_cast<int64_t>(startBytes);
            b.position = start;
        }
    });
    m_watch.CallAllListeners();
    host.OnPlayStateChanged();

    if (start == 0) {
        BASS_ChannelPlay(m_stream, TRUE);
        m_watch.ResetPeak(!m_settings.bass.enableEq);
    } else {
        BASS_ChannelSetPosition(m_stream, startBytes, BASS_POS_BYTE);
        BASS_ChannelPlay(m_stream, FALSE);
        m_watch.ResetPeak(false);
    }
    m_endSync = BASS_ChannelSetSync(m_stream, BASS_SYNC_END, 0, &CLarkspur2006Doc::EndSyncProc, this);

    SendPlaybackHint(HintNowPlayingChanged);
    m_watch.Wake();
    host.UpdateTrayInfo(&m_nowPlaying);
    return true;
}

void CLarkspur2006Doc::Stop(bool clear) {
    SetPlayState(PlayStateStopped);
    m_watch.Wake();
    RemoveEndSync();
    if (m_stream) {
        RemoveEqEffects();
        BASS_ChannelStop(m_stream);
        FreeStream();
    }
    if (clear) {
        m_watch.Update([](PlayerStatusBlock& b) {
            b.position = b.length = 0;
            b.positionBytes = b.lengthBytes = 0;
            std::fill(std::begin(b.spectrum), std::end(b.spectrum), 0.0f);
        });
        ClearNowPlaying();
        SendPlaybackHint(HintNowPlayingChanged);
    }
    SetCaptionToAppName();
    GetPlayerHost().OnPlayStateChanged();
    RunPlayTrigger(false);
    GetPlayerHost().UpdateTrayInfo(nullptr);
}

void CLarkspur2006Doc::TogglePause() {
    const int state = GetPlayState();
    if (state == PlayStatePaused) {
        BASS_ChannelPlay(m_stream, FALSE);
        SetPlayState(PlayStatePlaying);
        SendPlaybackHint(HintPlayStateChanged);
    } else if (state == PlayStatePlaying) {
        BASS_ChannelPause(m_stream);
        SetPlayState(PlayStatePaused);
        SendPlaybackHint(HintPlayStateChanged);
    }
    m_watch.Wake();
}

bool CLarkspur2006Doc::SeekBytes(QWORD position) {
    const int state = GetPlayState();
    if (state == PlayStatePlaying) {
        BASS_ChannelSetPosition(m_stream, position, BASS_POS_BYTE);
        m_watch.InvalidatePeak();
        m_watch.Wake();
        return true;
    }
    if (state == PlayStatePaused) {
        BASS_ChannelSetPosition(m_stream, position, BASS_POS_BYTE);
        TogglePause();  // a seek resumes playback
        m_watch.Wake();
        m_watch.InvalidatePeak();
        return true;
    }
    return false;
}

bool CLarkspur2006Doc::SeekRelative(int seconds) {
    const int state = GetPlayState();
    if (state != PlayStatePlaying && state != PlayStatePaused) return false;
    const PlayerStatusBlock status = GetPlayerStatus();
    const int64_t step = static_cast<int64_t>(BASS_ChannelSeconds2Bytes(m_stream, seconds));
    int64_t target = status.positionBytes + step;
    if (seconds < 0 && target < 0) target = 0;
    if (target > status.lengthBytes) target = status.lengthBytes;
    return SeekBytes(static_cast<QWORD>(std::max<int64_t>(target, 0)));
}

bool CLarkspur2006Doc::PlayNext() {
    const int index = GetPlaylistCache().NextIndex(m_settings.bass.repeatMode);
    if (index == -1) {
        Stop(true);
        return false;
    }
    return Play(index, 0);
}

bool CLarkspur2006Doc::PlayPrevious() {
    const int index = GetPlaylistCache().PrevIndex(m_settings.bass.repeatMode);
    if (index == -1) {
        Stop(true);
        return false;
    }
    return Play(index, 0);
}

void CLarkspur2006Doc::ApplyVolume() {
    if (!m_stream) return;
    const float volume = m_settings.bass.mute ? 0.0f : static_cast<float>(m_settings.bass.masterVolume) / 100.0f;
    BASS_ChannelSetAttribute(m_stream, BASS_ATTRIB_VOL, volume);
}

void CLarkspur2006Doc::RunPlayTrigger(bool start) {
    IPlayerHost& host = GetPlayerHost();
    if (!start) {
        const std::wstring& text = m_settings.bass.playTriggerStop;
        if (!text.empty()) host.RunShellCommand(nullptr, text, nullptr);
        return;
    }
    const std::wstring& text = m_settings.bass.playTriggerStart;
    if (text.empty()) return;
    if (text[0] == L'"') {
        const size_t close = text.size() > 1 ? text.find(L'"', 1) : std::wstring::npos;
        if (close == std::wstring::npos) return;
        const std::wstring program = ExpandForNowPlaying(text.substr(1, close - 1));
        // After the closing quote comes one blank, then the parameters; a closing quote at
        // the very end means no parameters.
        const std::wstring parameters = ExpandForNowPlaying(close + 2 <= text.size() ? text.substr(close + 2) : L"");
        host.RunShellCommand(nullptr, program, &parameters);
        return;
    }
    const size_t blank = text.find(L' ');
    if (blank != std::wstring::npos) {
        const std::wstring program = ExpandForNowPlaying(text.substr(0, blank));
        const std::wstring parameters = ExpandForNowPlaying(text.substr(blank + 1));
        host.RunShellCommand(nullptr, program, &parameters);
        return;
    }
    host.RunShellCommand(m_mainWnd.load(), ExpandForNowPlaying(text), nullptr);
}

void CALLBACK CLarkspur2006Doc::EndSyncProc(HSYNC, DWORD channel, DWORD data, void* user) {
    auto* doc = static_cast<CLarkspur2006Doc*>(user);
    doc->m_watch.Wake();
    const HWND window = doc->m_mainWnd.load();
    // Blocks until the user-interface thread has handled the end.
    if (window) SendMessageW(window, GetBassSyncMsg(), static_cast<WPARAM>(channel), static_cast<LPARAM>(data));
}

void CLarkspur2006Doc::OnEndOfTrack(DWORD stream) {
    // Answered inside a wait of this thread (a query being read, a busy library), whose
    // connection is in use: handled once the wait is over.
    if (InsideAnsweringWait()) {
        if (const HWND window = m_mainWnd.load())
            PostMessageW(window, GetBassSyncMsg(), static_cast<WPARAM>(stream), 0);
        return;
    }
    // A late message of a stream already replaced or stopped changes nothing.
    if (stream == 0 || stream != m_stream || GetPlayState() != PlayStatePlaying) return;

    bool haveRow = false;
    int gain = 0, playcount = 0;
    int64_t lastplayed = 0;
    wchar_t sql[160];
    swprintf(sql, 160, L"SELECT gain,rating,playcount,lastplayed FROM list WHERE rowid=%I64u;",
             static_cast<unsigned long long>(m_nowPlaying.rowid));
    sqlite3_stmt* stmt = nullptr;
    if (m_db.prepare(sql, &stmt) == SQLITE_OK && stmt) {
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            haveRow = true;
            gain = sqlite3_column_int(stmt, 0);
            playcount = sqlite3_column_int(stmt, 2);
        } else {
            ShowDBError(m_db.errmsg());
        }
    } else {
        ShowDBError(m_db.errmsg());
    }
    if (stmt) sqlite3_finalize(stmt);

    if (haveRow) {
        playcount += 1;
        if (m_watch.PeakValid() && m_watch.Peak() > gain) gain = m_watch.Peak();
        lastplayed = static_cast<int64_t>(std::time(nullptr));
        swprintf(sql, 160, L"UPDATE list SET gain=%d,playcount=%d,lastplayed=%I64u WHERE rowid=%I64u", gain, playcount,
                 static_cast<unsigned long long>(lastplayed), static_cast<unsigned long long>(m_nowPlaying.rowid));
        // A busy database is tried again; any other failure is shown, never dropped silently.
        const int tries = m_settings.sqlite.BusyTries();
        for (int attempt = 1;; ++attempt) {
            const int rc = m_db.exec(sql);
            if (rc == SQLITE_OK) break;
            if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && attempt < tries) {
                SleepAnsweringSentMessages(static_cast<DWORD>(std::max(0, m_settings.sqlite.busyTimeout)));
                continue;
            }
            if (!ReportWriteFailure(rc)) ShowDBError(m_db.errmsg());
            break;
        }
        // Patch the row in memory only when the play list's current row is this track.
        if (TrackRecord* row = GetPlaylistCache().Current()) {
            if (row->rowid == m_nowPlaying.rowid) {
                row->gain = gain;
                row->playcount = playcount;
                row->lastplayed = lastplayed;
            }
        }
        m_nowPlaying.gain = gain;
        m_nowPlaying.playcount = playcount;
        m_nowPlaying.lastplayed = lastplayed;
    }

    switch (m_settings.bass.repeatMode) {
    case PlayModeSingle: Stop(true); break;
    case PlayModeSingleRepeat:
        if (m_stream && BASS_ChannelPlay(m_stream, TRUE)) {
            CUpdateViewPlaybackStatisticsChange change;
            change.changed = CUpdateViewPlaybackStatisticsChange::LastPlayed | CUpdateViewPlaybackStatisticsChange::PlayCount;
            change.rowid = m_nowPlaying.rowid;
            change.lastplayed = m_nowPlaying.lastplayed;
            change.playcount = m_nowPlaying.playcount;
            UpdateAllViews(nullptr, HintStatisticsChanged, &change);
        } else {
            Stop(true);
        }
        break;
    default: PlayNext(); break;
    }
}
