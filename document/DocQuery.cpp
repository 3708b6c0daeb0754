#include "document/Larkspur2006Doc.h"
#include <sqlite3.h>
#include "app/ViewHints.h"
#include "document/DBError.h"
#include "document/PlaylistLoader.h"
#include "document/QueryCheck.h"
#include "document/QueryFile.h"
#include "document/WaitCursor.h"
#include "framework/CmdTarget.h"
#include "framework/SentMessageWait.h"
#include <ctime>
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

    const wchar_t* drop = m_playlistIsTable ? L"DROP TABLE IF EXISTS playlist;"
                                            : L"DROP VIEW IF EXISTS playlist;";
    const int tries = m_settings.sqlite.BusyTries();
    for (int i = 0; i < tries; ++i) {
        int rc = m_db.exec(drop);
        if (rc == SQLITE_OK) break;
        if (rc != SQLITE_BUSY) {
            ShowDBError(m_db.errmsg());
            return false;
        }
        SleepAnsweringSentMessages(500);
    }

    // A shuffled query is frozen in a temporary table; the view lasts between runs.
    const bool asTable = CQueryFile::ContainsRandom(sql);
    std::wstring create = (asTable ? L"CREATE TEMP TABLE playlist AS " : L"CREATE VIEW playlist AS ") + sql;
    if (m_db.exec(create) != SQLITE_OK) {
        ShowDBError(m_db.errmsg());
        return false;
    }
    m_playlistIsTable = asTable;

    if (record) m_history.Record({sql, title ? std::wstring(title) : sql});
    GetHost().SetQueryTitle(title ? title : L"");
    return true;
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
