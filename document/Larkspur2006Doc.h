#pragma once
#include "app/AppSettings.h"
#include "audio/bass.h"
#include "document/BassAddonModule.h"
#include "document/BassStreamInfoSource.h"
#include "document/IDocumentHost.h"
#include "document/IPlayerHost.h"
#include "document/LibraryCheck.h"
#include "document/PlayerStatusWatch.h"
#include "document/PlaylistCache.h"
#include "document/PlaylistPreload.h"
#include "document/QueryHistory.h"
#include "document/SQLite.h"
#include "framework/BusyWait.h"
#include "framework/Document.h"
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CCmdUI;

// The document: the library database, the play lists, the query history (and the player).
// It works on the settings record and reaches the windows around it through the host.
class CLarkspur2006Doc : public CDocument {
public:
    // On the application's live settings (the document template creates it so).
    CLarkspur2006Doc();
    // `host` may be null: then the plain system dialogs are used.
    explicit CLarkspur2006Doc(CAppSettings& settings, IDocumentHost* host = nullptr);
    ~CLarkspur2006Doc() override;

    // Opens the library, starts the audio engine and the status watch thread, and tells the
    // views; false fails the start (after its message).
    BOOL OnNewDocument() override;
    // Stops playback, ends the watch thread, frees the engine and the play lists. Runs once:
    // the main window calls it when it closes or is destroyed, before its views go.
    void OnCloseDocument() override;
    // True once OnNewDocument got through; true once closed.
    bool IsStarted() const { return m_started; }
    bool IsClosed() const { return m_closed; }

    CAppSettings& GetSettings() { return m_settings; }
    IDocumentHost& GetHost() { return m_host ? *m_host : m_defaultHost; }
    void SetHost(IDocumentHost* host) { m_host = host; }

    // ---- Library (DocLibrary.cpp) -------------------------------------------------------
    CSQlite& GetDatabase() { return m_db; }

    void InitSqlTexts();
    const std::wstring& GetSqlCreate() const { return m_sqlCreate; }
    const std::wstring& GetSqlDrop() const { return m_sqlDrop; }
    const std::wstring& GetSqlInsert() const { return m_sqlInsert; }
    const std::wstring& GetSqlUpdate() const { return m_sqlUpdate; }

    // Opens "library.db" (the settings' library path, or the one in the profile folder),
    // applies the pragmas and creates the table and indexes. False fails the start.
    bool OpenLibrary(const std::wstring& path);
    bool CreateTables();
    bool DropTables();
    // Checks the open library for damage once the message loop runs, on a thread and a
    // connection of its own; a damaged file is reported once with the database error
    // dialog. Stopped at close.
    void StartLibraryCheck();
    CLibraryCheck& GetLibraryCheck() { return m_libraryCheck; }
    // Starts reading the play list that the start restores while the windows are built
    // (the application's document does, when it is created).
    void StartPlaylistPreload();
    CPlaylistPreload& GetPlaylistPreload() { return m_preload; }

    // "ファイルの追加(&F)": adds the files chosen in the open-file dialog.
    void OnAddFiles();
    // "ディレクトリの追加(&D)": adds the audio files of a chosen folder on a worker thread.
    void OnAddDirectory();

    // "ライブラリから削除": deletes the rows of these files, all or none. False, after the
    // database error message, when the library refused (busy, locked, read-only).
    bool DeleteFromLibrary(const std::vector<std::wstring>& fileNames);

    // Writes one row's rating (0-50) with its own UPDATE. False, after the database error
    // message, when the row could not be written (DocRating.cpp).
    bool WriteRating(int64_t rowid, int rating);
    // The same for several rows with one UPDATE (no rows: nothing written, true).
    bool WriteRating(const std::vector<int64_t>& rowids, int rating);

    // A library write that failed with `rc`: true when the code says the library takes no
    // writes (IsLibraryWriteFailure), after telling the user so the first time in the session;
    // later ones stay silent. False for any other failure, which the caller shows itself.
    bool ReportWriteFailure(int rc);
    // Tells the user, the first time in the session, that the library takes no writes.
    void ReportLibraryUnwritable();

    // ---- Queries, play lists and history (DocQuery.cpp) ---------------------------------
    // Replaces `playlist` by the result of the SQL text and, with `record`, records it in
    // the history. Sends no hint: callers send hint 20 after success.
    bool SetQuery(const wchar_t* title, const std::wstring& sql, bool record);
    bool RunHistoryQuery(const QueryHistoryEntry& entry);
    void OnQueryBack();
    void OnQueryForward();
    void OnUpdateQueryBack(CCmdUI* ui);
    void OnUpdateQueryForward(CCmdUI* ui);

    // How a reading of `playlist` into a play list ended. Stopped (Escape, a close) and Busy
    // (asked again from inside a reading) leave the play list as it was.
    enum class PlaylistLoad { Loaded, Failed, Stopped, Busy };
    // Reads `playlist` into the cache, as LoadPlaylistCache does, the now-playing track's row
    // made current: the rows SetQuery has just read when nothing was written since; the
    // first time, the rows read at start when they are still current; else read here. A
    // reading that takes long can be stopped (Escape, closing the window) and the windows
    // answer meanwhile. Failed: the cache is emptied.
    PlaylistLoad LoadPlaylist(PlaylistCache& cache, PlaylistSummary& summary);
    // The start's restore of the last play list: a stored play list that could not be read
    // (stopped or failed) leaves an empty one, and the user is told once, unless the window
    // is closing.
    PlaylistLoad RestorePlaylist(PlaylistCache& cache, PlaylistSummary& summary);

    CQueryHistory& GetQueryHistory() { return m_history; }
    // True while `playlist` is a temporary table (a shuffled query), false for a view.
    bool IsPlaylistTable() const { return m_playlistIsTable; }

    // The play list "Default", created on first use.
    PlaylistCache& GetPlaylistCache();
    const std::wstring& GetPlaylistName() const { return m_playlistName; }
    // Clears and deletes every cached play list (at close).
    void FreePlaylistCaches();

    // ---- Statistics export and import (DocStatistics.cpp) -------------------------------
    // StatisticsLibraryUnwritable: the import stopped because the library takes no writes.
    enum StatisticsResult {
        StatisticsOk,
        StatisticsOpenFailed,
        StatisticsDbFailed,
        StatisticsWriteFailed,
        StatisticsLibraryUnwritable
    };
    // The file operations behind the commands; `count` is the number of rows written or
    // lines imported.
    StatisticsResult ExportStatistics(const std::wstring& path, int& count);
    StatisticsResult ImportStatistics(const std::wstring& path, int& count);
    void OnExportStatistics();
    void OnImportStatistics();

    // ---- Player (DocPlayer.cpp, DocEqualizer.cpp, AudioEngineSetup.cpp, DocStatusThread.cpp)
    IPlayerHost& GetPlayerHost() { return m_playerHost ? *m_playerHost : m_noPlayerHost; }
    void SetPlayerHost(IPlayerHost* host) { m_playerHost = host; }
    // The program folder, where the add-on decoders are looked for (default: the folder of
    // the running program), with its trailing backslash.
    const std::wstring& GetProgramFolder();
    void SetProgramFolder(const std::wstring& folder) { m_programFolder = folder; }

    // Starts the audio engine and loads the add-ons: 0 failure (after the message), 1
    // success, 2 success on the default device after the configured one failed.
    int InitBass();
    // Frees the add-ons (plug-in, then library) and the engine.
    void FreeBass();
    // Creates the stream of the now-playing track by its format code.
    bool OpenStream(const std::wstring& path);
    // Restarts the engine with the current settings and resumes the current row where it was.
    bool ReinitBass();

    // Plays a row of the play list "Default" (-1: the current row) from the start, or, with
    // start seconds not 0, resumes the now-playing track there.
    bool Play(int index, float start);
    void Stop(bool clear);
    void TogglePause();
    bool SeekBytes(QWORD position);
    bool SeekRelative(int seconds);
    bool PlayNext();
    bool PlayPrevious();
    void ApplyVolume();
    bool ApplyEqualizer();
    void RunPlayTrigger(bool start);
    // "BassSyncMsg": the end of `stream` was heard. Ignored unless it is the open stream and
    // it is playing.
    void OnEndOfTrack(DWORD stream);
    static void CALLBACK EndSyncProc(HSYNC sync, DWORD channel, DWORD data, void* user);
    static UINT GetBassSyncMsg();

    // The status watch thread: started after the engine, ended at close.
    static DWORD WINAPI StatusThreadProc(void* doc);
    bool StartStatusThread();
    // Sets the quit event and waits for the thread (500 ms, then longer if it must).
    bool StopStatusThread();
    // At close: stops playback, ends the watch thread, frees the stream and the engine.
    void ClosePlayer();

    // ---- Commands of the menus and toolbars (DocCommands.cpp) ----------------------------
    // "プロパティ(&P)" of the library and the import: the host runs the dialogs; a changed
    // library reloads the views.
    void OnLibraryProperties();
    void OnImport();
    void OnSettings();
    void OnAppAbout();
    void OnUpdateImport(CCmdUI* ui);
    // "テーブルヘルプ(&T)": the host shows the table help.
    void OnTableHelp();
    void OnUpdateExportDatabase(CCmdUI* ui);
    void OnPlay();
    void OnPause();
    void OnUpdatePause(CCmdUI* ui);
    void OnStop();
    void OnNext();
    void OnPrevious();
    void OnPlayModeSingle();
    void OnPlayModeSingleRepeat();
    void OnPlayModeList();
    void OnPlayModeListRepeat();
    void OnPlayModeRandom();
    void OnUpdatePlayMode(CCmdUI* ui);
    // The repeat-mode button: single, single repeat, list, list repeat, random, single...
    void OnCyclePlayMode();
    static int NextPlayMode(int mode);
    void OnSyncPlaying();
    void OnUpdateSyncPlaying(CCmdUI* ui);
    void OnSingleClick();
    void OnUpdateSingleClick(CCmdUI* ui);
    void OnVolumeUp();
    void OnVolumeDown();
    void OnMute();
    void OnUpdateMute(CCmdUI* ui);
    void OnGroupMode();
    void OnUpdateGroupMode(CCmdUI* ui);
    void OnGroupCollapse();
    void OnUpdateGroupCollapse(CCmdUI* ui);
    void OnIgnoreRating00();
    void OnUpdateIgnoreRating00(CCmdUI* ui);
    void OnSearchNoCase();
    void OnUpdateSearchNoCase(CCmdUI* ui);
    void OnSearchIncremental();
    void OnUpdateSearchIncremental(CCmdUI* ui);
    void OnRelatedAlbum();
    void OnUpdateRelatedAlbum(CCmdUI* ui);
    void OnLyricsWindow();
    void OnUpdateLyricsWindow(CCmdUI* ui);
    void OnJacketWindow();
    void OnUpdateJacketWindow(CCmdUI* ui);
    // One font name for every view and window, chosen in the font dialog.
    void OnFontNameAll();
    void OnColorStandard();
    void OnColorBlack();
    void OnSortRule01();
    void OnUpdateSortRule01(CCmdUI* ui);
    void OnSortRule02();
    void OnUpdateSortRule02(CCmdUI* ui);
    void OnSortRule03();
    void OnUpdateSortRule03(CCmdUI* ui);

    void RegisterPlayerListener(PlayerStatusCallback callback, void* user, int divider) {
        m_watch.Register(callback, user, divider);
    }
    // A copy of the status block taken under PlayerStatusLock.
    PlayerStatusBlock GetPlayerStatus() { return m_watch.Snapshot(); }
    int GetPlayState() { return m_watch.State(); }
    const TrackRecord& GetNowPlaying() const { return m_nowPlaying; }
    HSTREAM GetStream() const { return m_stream; }
    const BassAddonModule& GetAddonModule(int index) const { return *m_addons[index]; }
    static const int kAddonCount = 6;
    CPlayerStatusWatch& GetStatusWatch() { return m_watch; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    CAppSettings& m_settings;
    IDocumentHost* m_host = nullptr;
    CDocumentHostDefault m_defaultHost;
    bool m_started = false;
    bool m_closed = false;
    bool m_unwritableReported = false;

    // Library
    CSQlite m_db;
    std::wstring m_sqlCreate;
    std::wstring m_sqlDrop;
    std::wstring m_sqlInsert;
    std::wstring m_sqlUpdate;
    CLibraryCheck m_libraryCheck;
    CPlaylistPreload m_preload;

    // Queries and play lists
    // Runs `work` on the document's connection as RunStoppable does, the status bar saying
    // how to stop it when it takes long; marks the document as reading meanwhile.
    BusyWaitResult ReadStoppably(const std::function<void(const std::atomic<bool>& stop)>& work);
    // The status bar's word on how to stop a reading that takes long (`slow`), or none.
    void ShowReadingNotice(bool slow);
    // The rows taken from a reading: the now-playing track's row made current.
    void MarkPlayingRow(PlaylistCache& cache) const;
    // True when the library holds a `playlist` object to restore.
    bool HasStoredPlaylist();
    // The rows of the last SetQuery, for the reload that follows it, with what tells whether
    // anything was written since.
    struct PendingRows {
        bool valid = false;
        PlaylistCache cache;
        PlaylistSummary summary;
        int64_t changes = 0;
        int64_t dataVersion = -1;
    };
    PendingRows m_pending;
    bool m_reading = false;          // a query or a play list is being read
    bool m_readClosing = false;      // the last reading was stopped by a close request
    bool m_restoreReported = false;  // the unreadable stored play list was reported
    CQueryHistory m_history;
    bool m_playlistIsTable = false;
    bool m_playlistInTemp = false;   // the library took no write of the view: it is a temporary one
    std::map<std::wstring, std::unique_ptr<PlaylistCache>> m_playlists;
    std::wstring m_playlistName = L"Default";

    // Player
    void SetPlayMode(int mode);
    void ShowVolumeOnSlider();
    void InitPlayer();
    void SetPlayState(int state);
    void ClearNowPlaying();
    void SendPlaybackHint(LPARAM hint);
    void RemoveEndSync();
    void RemoveEqEffects();
    void FreeStream();
    void SetCaptionToAppName();
    std::wstring ExpandForNowPlaying(std::wstring text);

    IPlayerHost* m_playerHost = nullptr;
    CPlayerHostNone m_noPlayerHost;
    std::wstring m_programFolder;
    bool m_bassStarted = false;
    HSTREAM m_stream = 0;
    HSYNC m_endSync = 0;
    HFX m_eqFx[10] = {};
    TrackRecord m_nowPlaying;
    std::atomic<HWND> m_mainWnd{nullptr};
    bool m_seekListenerRegistered = false;
    std::unique_ptr<BassAddonModule> m_addons[6];
    CBassStreamInfoSource m_streamInfo;
    CPlayerStatusWatch m_watch;
};

// Fills an equaliser preset: the centres 31, 82, 125, 250, 500, 1000, 2000, 4000, 8000 and
// 16000 Hz, bandwidth 18 semitones and the given gain on every band.
void InitEqPreset(EqPreset& preset, float gain);
