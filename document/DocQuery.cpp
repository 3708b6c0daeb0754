#include "document/Larkspur2006Doc.h"
#include <sqlite3.h>
#include "app/ViewHints.h"
#include "document/DBError.h"
#include "document/LibraryWriteFailure.h"
#include "document/PlaylistLoader.h"
#include "document/QueryCheck.h"
#include "document/QueryFile.h"
#include "document/StoppableRead.h"
#include "document/WaitCursor.h"
#include "framework/CmdTarget.h"
#include <windows.h>


bool CLarkspur2006Doc::SetQuery(const wchar_t* title, const std::wstring& sql, bool record) {
    m_db.set_busy_timeout(500);

    // The old play list goes only once the new SELECT is known to run, to change nothing and to
    // give rows of `list`: a view over a missing table or column would be created without
    // complaint.
    const QueryCheck check = CheckPlaylistQuery(m_db, sql);
    if (check.verdict == QueryCheck::DatabaseError) {
        ShowDBError(check.text.c_str());
        return false;
    }
    if (check.verdict == QueryCheck::Refused) {
        GetHost().ShowMessage(check.text, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    // A message answered while a query is read must not start another on the same connection.
    if (m_reading) return false;

    const bool asTable = CQueryFile::ContainsRandom(sql);
    // A shuffled query is frozen in a temporary table; the view lasts between runs. On a
    // library that takes no writes the view is a temporary one too, for this session: the
    // stored one stays, and the user still browses.
    const auto dropOf = [&](bool temp) -> std::wstring {
        if (temp) return m_playlistIsTable ? L"DROP TABLE IF EXISTS temp.playlist;" : L"DROP VIEW IF EXISTS temp.playlist;";
        return m_playlistIsTable ? L"DROP TABLE IF EXISTS playlist;" : L"DROP VIEW IF EXISTS playlist;";
    };
    const auto createOf = [&](bool temp) -> std::wstring {
        if (asTable) return L"CREATE TEMP TABLE playlist AS " + sql;
        return (temp ? L"CREATE TEMP VIEW playlist AS " : L"CREATE VIEW playlist AS ") + sql;
    };
    const int tries = m_settings.sqlite.BusyTries();
    const TrackRecord nowPlaying = m_nowPlaying;
    PlaylistCache rows;
    PlaylistSummary summary;
    bool committed = false;
    bool inTemp = m_playlistInTemp;
    std::wstring error;    // SQLite's text of the step that failed
    bool columns = false;  // the rows are not those of `list`

    // The old play list is replaced only by one read whole: the drop, the create and the
    // reading of every row are one transaction, rolled back when any of them fails or the
    // user stops the reading.
    const BusyWaitResult waited = ReadStoppably([&](const std::atomic<bool>& stop) {
        sqlite3* db = m_db.handle();
        const bool own = sqlite3_get_autocommit(db) != 0;
        const auto rollBack = [&] {
            // The stop may interrupt the rollback too: it is repeated until the old state is back.
            for (int i = 0; i < 20 && !sqlite3_get_autocommit(db); ++i) {
                if (own) {
                    m_db.exec(L"ROLLBACK;");
                } else if (m_db.exec(L"ROLLBACK TO playlist_change;") == SQLITE_OK) {
                    m_db.exec(L"RELEASE playlist_change;");
                    break;
                }
            }
        };
        int rc = SQLITE_OK;
        for (;;) {
            rc = m_db.exec(own ? L"BEGIN;" : L"SAVEPOINT playlist_change;");
            for (int i = 0; rc == SQLITE_OK && i < tries && !stop; ++i) {
                rc = m_db.exec(dropOf(inTemp));
                if (rc != SQLITE_BUSY) break;
                // Still busy after the last try: the create reports its own failure.
                if (i + 1 == tries) rc = SQLITE_OK;
                for (int slept = 0; rc == SQLITE_BUSY && slept < 500 && !stop; slept += 50) Sleep(50);
            }
            if (rc == SQLITE_OK && stop) rc = SQLITE_INTERRUPT;
            if (rc == SQLITE_OK) rc = m_db.exec(createOf(inTemp));
            if (rc == SQLITE_OK || inTemp || stop || !IsLibraryWriteFailure(rc)) break;
            rollBack();
            inTemp = true;
        }
        try {
            if (rc == SQLITE_OK && !LoadPlaylistCache(m_db, rows, &nowPlaying, &summary)) {
                rc = sqlite3_errcode(db);
                columns = rc == SQLITE_OK;
                if (columns) rc = SQLITE_ERROR;
            }
        } catch (...) {
            rc = SQLITE_NOMEM;   // too many rows to hold: rolled back like any failure
        }
        if (rc == SQLITE_OK && stop) rc = SQLITE_INTERRUPT;
        if (rc == SQLITE_OK) rc = m_db.exec(own ? L"COMMIT;" : L"RELEASE playlist_change;");
        if (rc == SQLITE_OK) {
            committed = true;
            return;
        }
        error = rc == SQLITE_NOMEM ? L"out of memory" : m_db.errmsg();
        rows.Clear();
        rollBack();
    });

    if (!committed) {
        // A stopped query was the user's wish: nothing to report.
        if (waited.stopAsked) return false;
        if (columns)
            GetHost().ShowMessage(kPlaylistColumnsMessage, MB_OK | MB_ICONEXCLAMATION);
        else
            ShowDBError(error.c_str());
        return false;
    }
    if (inTemp && !m_playlistInTemp) {
        m_playlistInTemp = true;
        ReportLibraryUnwritable();
    }
    m_playlistIsTable = asTable;
    m_pending.cache.Clear();
    m_pending.cache.rows.swap(rows.rows);
    m_pending.summary = summary;
    m_pending.changes = sqlite3_total_changes64(m_db.handle());
    m_pending.dataVersion = LibraryDataVersion(m_db);
    m_pending.valid = true;

    if (record) m_history.Record({sql, title ? std::wstring(title) : sql});
    GetHost().SetQueryTitle(title ? title : L"");
    return true;
}

namespace {

const wchar_t* const kReadingNotice = L"読み込み中 (Esc キーで中止)";
const wchar_t* const kStoredPlaylistUnreadable =
    L"前回のプレイリストを読み込めませんでした。\r\n空のプレイリストで始めます。";

// Marks the document as reading for the life of the object.
class ReadingMark {
public:
    explicit ReadingMark(bool& flag) : m_flag(flag) { m_flag = true; }
    ~ReadingMark() { m_flag = false; }
    ReadingMark(const ReadingMark&) = delete;
    ReadingMark& operator=(const ReadingMark&) = delete;

private:
    bool& m_flag;
};

}  // namespace

void CLarkspur2006Doc::ShowReadingNotice(bool slow) { GetHost().SetStatusText(slow ? kReadingNotice : L""); }

BusyWaitResult CLarkspur2006Doc::ReadStoppably(const std::function<void(const std::atomic<bool>& stop)>& work) {
    ReadingMark reading(m_reading);
    return RunStoppable(m_db, work, [this](bool slow) { ShowReadingNotice(slow); });
}

void CLarkspur2006Doc::MarkPlayingRow(PlaylistCache& cache) const {
    cache.current = -1;
    int index = -1;
    if (!m_nowPlaying.file_name.empty() && cache.FindByRowid(m_nowPlaying.rowid, index)) cache.current = index;
}

bool CLarkspur2006Doc::HasStoredPlaylist() {
    sqlite3_stmt* stmt = nullptr;
    bool found = false;
    if (m_db.prepare(L"SELECT 1 FROM sqlite_master WHERE name='playlist' UNION ALL "
                     L"SELECT 1 FROM sqlite_temp_master WHERE name='playlist';", &stmt) == SQLITE_OK && stmt)
        found = sqlite3_step(stmt) == SQLITE_ROW;
    if (stmt) sqlite3_finalize(stmt);
    return found;
}

CLarkspur2006Doc::PlaylistLoad CLarkspur2006Doc::LoadPlaylist(PlaylistCache& cache, PlaylistSummary& summary) {
    m_readClosing = false;
    if (m_reading) return PlaylistLoad::Busy;

    if (m_pending.valid) {
        m_pending.valid = false;
        if (m_pending.changes == sqlite3_total_changes64(m_db.handle()) &&
            m_pending.dataVersion == LibraryDataVersion(m_db)) {
            cache.Clear();
            cache.rows.swap(m_pending.cache.rows);
            MarkPlayingRow(cache);
            summary = m_pending.summary;
            m_preload.Stop();   // older than these
            return PlaylistLoad::Loaded;
        }
        m_pending.cache.Clear();
    }

    {
        BusyWaitResult waited;
        bool taken = false;
        {
            ReadingMark reading(m_reading);
            taken = m_preload.Take(m_settings.libraryPath, cache, summary,
                                   [this](bool slow) { ShowReadingNotice(slow); }, &waited);
        }
        if (waited.stopAsked) {
            m_readClosing = waited.closeAsked;
            return PlaylistLoad::Stopped;
        }
        if (taken) {
            MarkPlayingRow(cache);
            return PlaylistLoad::Loaded;
        }
    }

    const TrackRecord nowPlaying = m_nowPlaying;
    PlaylistCache rows;
    PlaylistSummary totals;
    bool loaded = false;
    bool stopped = false;
    const BusyWaitResult waited = ReadStoppably([&](const std::atomic<bool>& stop) {
        loaded = LoadPlaylistCache(m_db, rows, &nowPlaying, &totals);
        stopped = stop;   // a count cut short would give wrong totals
    });
    m_readClosing = waited.closeAsked;
    if (stopped) return PlaylistLoad::Stopped;
    if (!loaded) {
        cache.Clear();
        return PlaylistLoad::Failed;
    }
    cache.Clear();
    cache.rows.swap(rows.rows);
    cache.current = rows.current;
    summary = totals;
    return PlaylistLoad::Loaded;
}

CLarkspur2006Doc::PlaylistLoad CLarkspur2006Doc::RestorePlaylist(PlaylistCache& cache, PlaylistSummary& summary) {
    const PlaylistLoad load = LoadPlaylist(cache, summary);
    if (load == PlaylistLoad::Loaded || load == PlaylistLoad::Busy) return load;
    cache.Clear();
    summary = PlaylistSummary();
    // A library without a stored play list (a new one) starts empty without a word.
    const bool stored = load == PlaylistLoad::Stopped || HasStoredPlaylist();
    if (stored && !m_readClosing && !m_restoreReported) {
        m_restoreReported = true;
        GetHost().ShowMessage(kStoredPlaylistUnreadable, MB_OK | MB_ICONEXCLAMATION);
    }
    return load;
}

bool CLarkspur2006Doc::RunHistoryQuery(const QueryHistoryEntry& entry) {
    return SetQuery(entry.title.c_str(), entry.sql, false);
}

void CLarkspur2006Doc::OnQueryBack() {
    if (m_history.entries.empty() || m_history.current == 0) return;
    ScopedWaitCursor wait;
    m_history.current -= 1;
    if (RunHistoryQuery(m_history.entries[m_history.current]))
        UpdateAllViews(nullptr, HintPlaylistReady, nullptr);
    else
        m_history.current += 1;
}

void CLarkspur2006Doc::OnQueryForward() {
    if (!m_history.CanGoForward()) return;
    ScopedWaitCursor wait;
    m_history.current += 1;
    if (RunHistoryQuery(m_history.entries[m_history.current]))
        UpdateAllViews(nullptr, HintPlaylistReady, nullptr);
    else
        m_history.current -= 1;
}

void CLarkspur2006Doc::OnUpdateQueryBack(CCmdUI* ui) {
    ui->Enable(m_history.CanGoBack());
}

void CLarkspur2006Doc::OnUpdateQueryForward(CCmdUI* ui) {
    ui->Enable(m_history.CanGoForward());
}

PlaylistCache& CLarkspur2006Doc::GetPlaylistCache() {
    auto it = m_playlists.find(L"Default");
    if (it == m_playlists.end()) {
        SeedPlaylistRandom(static_cast<unsigned>(_time64(nullptr)));
        it = m_playlists.emplace(L"Default", std::make_unique<PlaylistCache>()).first;
    }
    return *it->second;
}

void CLarkspur2006Doc::FreePlaylistCaches() {
    for (auto& entry : m_playlists) entry.second->Clear();
    m_playlists.clear();
}
