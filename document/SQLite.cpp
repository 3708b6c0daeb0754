#include "document/SQLite.h"
#include "document/SqlFunctions.h"
#include "framework/SentMessageWait.h"
#include "tags/TagText.h"
#include <sqlite3.h>
#include <windows.h>
#include <algorithm>
#include <atomic>

namespace {

std::atomic<int> g_openCount{0};

// How long a busy database is still waited on when its holder has been asked to let go:
// time for it to notice, even under a "BusyTimeout" of 0.
const int kLetGoWaitMs = 2000;

// One wait of a busy database, as sqlite3_busy_timeout's handler waits: short steps first,
// then 100 ms steps until `timeoutMs` is spent. 0 when it is spent.
int WaitOnBusy(int count, int timeoutMs) {
    static const int delays[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
    static const int totals[] = {0, 1, 3, 8, 18, 33, 53, 78, 103, 128, 178, 228};
    const int steps = static_cast<int>(sizeof(delays) / sizeof(delays[0]));
    long long delay = delays[steps - 1];
    long long prior = totals[steps - 1] + delay * (count - (steps - 1));
    if (count < steps) {
        delay = delays[count];
        prior = totals[count];
    }
    if (prior + delay > timeoutMs) {
        delay = timeoutMs - prior;
        if (delay <= 0) return 0;
    }
    // On the UI thread the wait answers sent messages like every other wait there.
    SleepAnsweringSentMessages(static_cast<DWORD>(delay));
    return 1;
}

// Created on first use and never deleted: a connection may be opened on a worker while
// another closes, and prepares outside CSQlite rely on the lock at any time.
CRITICAL_SECTION& DatabaseLock() {
    struct Holder {
        CRITICAL_SECTION cs;
        Holder() { InitializeCriticalSection(&cs); }
    };
    static Holder* holder = new Holder;
    return holder->cs;
}

}  // namespace

void LockDatabase() { EnterCriticalSection(&DatabaseLock()); }
void UnlockDatabase() { LeaveCriticalSection(&DatabaseLock()); }

int PrepareLocked(sqlite3* db, const std::wstring& sql, sqlite3_stmt** stmt) {
    DatabaseLockGuard lock;
    return sqlite3_prepare16_v2(db, sql.c_str(), static_cast<int>(sql.size() * sizeof(wchar_t)),
                                stmt, nullptr);
}

CSQlite::~CSQlite() {
    if (m_db) close();
}

int CSQlite::open(const std::wstring& path, bool readOnly) {
    if (m_db) close();
    DatabaseLock();   // make sure the lock exists before any thread needs it
    sqlite3* db = nullptr;
    int rc = readOnly ? sqlite3_open_v2(tagReader::WideToUtf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr)
                      : sqlite3_open16(path.c_str(), &db);
    if (rc != SQLITE_OK) {
        if (db) sqlite3_close(db);
        return rc;
    }
    m_db = db;
    sqlite3_busy_handler(m_db, &CSQlite::OnBusy, this);
    if (!register_functions()) {
        sqlite3_close(m_db);
        m_db = nullptr;
        return SQLITE_ERROR;
    }
    ++g_openCount;
    return SQLITE_OK;
}

int CSQlite::close() {
    if (!m_db) return SQLITE_OK;
    int rc = sqlite3_close(m_db);
    m_db = nullptr;
    m_busyTimeout = 0;
    --g_openCount;
    return rc;
}

int CSQlite::prepare(const std::wstring& sql, sqlite3_stmt** stmt) {
    return PrepareLocked(m_db, sql, stmt);
}

int CSQlite::exec(const std::wstring& sql) {
    sqlite3_stmt* stmt = nullptr;
    int rc = prepare(sql, &stmt);
    if (rc != SQLITE_OK) return rc;
    if (!stmt) return SQLITE_OK;   // only white space or a comment
    sqlite3_reset(stmt);
    rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    return (rc == SQLITE_DONE || rc == SQLITE_ROW) ? SQLITE_OK : rc;
}

bool CSQlite::register_functions() {
    return RegisterSqlFunctions(m_db);
}

void CSQlite::set_busy_timeout(int ms) {
    m_busyTimeout = ms;   // OnBusy reads it
}

int CSQlite::OnBusy(void* arg, int count) {
    auto* self = static_cast<CSQlite*>(arg);
    bool lettingGo = false;
    if (self->m_busyHook) {
        try {
            lettingGo = self->m_busyHook();
        } catch (...) {
            // Nothing leaves SQLite's callback; the wait is the usual one.
        }
    }
    const int timeout = lettingGo ? std::max(self->m_busyTimeout, kLetGoWaitMs) : self->m_busyTimeout;
    return WaitOnBusy(count, timeout);
}

const wchar_t* CSQlite::errmsg() const {
    if (!m_db) return L"";
    return static_cast<const wchar_t*>(sqlite3_errmsg16(m_db));
}

const wchar_t* CSQlite::column_text16(sqlite3_stmt* stmt, int column) {
    const void* text = sqlite3_column_text16(stmt, column);
    if (!text) throw CSqlite_exception();
    return static_cast<const wchar_t*>(text);
}

std::wstring CSQlite::column_text16_or_empty(sqlite3_stmt* stmt, int column) {
    const void* text = sqlite3_column_text16(stmt, column);
    if (!text) return std::wstring();
    int bytes = sqlite3_column_bytes16(stmt, column);
    return std::wstring(static_cast<const wchar_t*>(text), bytes / sizeof(wchar_t));
}

int CSQlite::open_count() { return g_openCount.load(); }
