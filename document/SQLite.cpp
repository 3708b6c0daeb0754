#include "document/SQLite.h"
#include "document/SqlFunctions.h"
#include <sqlite3.h>
#include <windows.h>
#include <atomic>

namespace {

std::atomic<int> g_openCount{0};

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

int CSQlite::open(const std::wstring& path) {
    if (m_db) close();
    DatabaseLock();   // make sure the lock exists before any thread needs it
    sqlite3* db = nullptr;
    int rc = sqlite3_open16(path.c_str(), &db);
    if (rc != SQLITE_OK) {
        if (db) sqlite3_close(db);
        return rc;
    }
    m_db = db;
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
    if (m_db) sqlite3_busy_timeout(m_db, ms);
    m_busyTimeout = ms;
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
