#include "ui/views/RelatedAlbumsQuery.h"
#include "document/SQLite.h"
#include <sqlite3.h>
#include <algorithm>

int CRelatedAlbumsStatement::Prepare(const std::wstring& sql) {
    Finalize();
    return PrepareLocked(m_db, sql, &m_stmt);
}

int CRelatedAlbumsStatement::Step(std::wstring& text, bool& isNull) {
    if (!m_stmt) return SQLITE_MISUSE;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        const void* value = sqlite3_column_text16(m_stmt, 0);
        isNull = value == nullptr;
        if (value)
            text.assign(static_cast<const wchar_t*>(value),
                        static_cast<size_t>(sqlite3_column_bytes16(m_stmt, 0)) / sizeof(wchar_t));
        else
            text.clear();
    }
    return rc;
}

void CRelatedAlbumsStatement::Finalize() {
    if (m_stmt) sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
}

RelatedRunOutcome RunRelatedAlbumsQuery(IRelatedAlbumsStatement& statement, const std::wstring& sql,
                                        int busyTimeout, int busyRetry, const RelatedWaiter& wait,
                                        std::vector<std::wstring>& albums) {
    albums.clear();
    int retries = 0;
    // After SQLITE_BUSY: wait, then say whether to try again.
    auto retryAfterBusy = [&](RelatedRunOutcome& outcome) {
        switch (wait(static_cast<DWORD>(busyTimeout < 0 ? 0 : busyTimeout))) {
        case RelatedWaitQuit: outcome = RelatedRunQuit; return false;
        case RelatedWaitWork: outcome = RelatedRunRestart; return false;
        default: break;
        }
        if (++retries >= busyRetry) {
            outcome = RelatedRunGaveUp;
            return false;
        }
        return true;
    };
    for (;;) {
        RelatedRunOutcome outcome = RelatedRunGaveUp;
        const int prepared = statement.Prepare(sql);
        if (prepared == SQLITE_BUSY) {
            statement.Finalize();
            if (retryAfterBusy(outcome)) continue;
            return outcome;
        }
        if (prepared != SQLITE_OK) {
            statement.Finalize();
            return RelatedRunGaveUp;
        }
        bool again = false;
        for (;;) {
            std::wstring text;
            bool isNull = false;
            const int rc = statement.Step(text, isNull);
            if (rc == SQLITE_ROW) {
                if (isNull) break;
                albums.push_back(text);
                continue;
            }
            if (rc == SQLITE_BUSY) {
                statement.Finalize();
                albums.clear();
                if (!retryAfterBusy(outcome)) return outcome;
                again = true;
            }
            break;
        }
        if (again) continue;
        statement.Finalize();
        return RelatedRunDone;
    }
}

void DropNowPlayingAlbum(std::vector<std::wstring>& albums, const std::wstring& album) {
    albums.erase(std::remove(albums.begin(), albums.end(), album), albums.end());
}
