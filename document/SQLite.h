#pragma once
#include <exception>
#include <functional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

// The one exception type of the program: a text column read as NULL.
class CSqlite_exception : public std::exception {
public:
    const char* what() const noexcept override { return "CSQlite::column_text16 return NULL."; }
};

// One SQLite connection over the UTF-16 interface. Every connection registers the
// program's SQL functions; statements of every connection are prepared under one
// process-wide lock.
class CSQlite {
public:
    CSQlite() = default;
    ~CSQlite();
    CSQlite(const CSQlite&) = delete;
    CSQlite& operator=(const CSQlite&) = delete;

    // 0 on success. A failed open leaves the object closed and the open count unchanged.
    // `readOnly` opens an existing file for reading only: a missing file is not created.
    int open(const std::wstring& path, bool readOnly = false);
    int close();
    bool is_open() const { return m_db != nullptr; }

    // Prepares the whole text under the process-wide lock.
    int prepare(const std::wstring& sql, sqlite3_stmt** stmt);
    // Prepares and steps one statement: 0 when it ran to its end, else the SQLite code of
    // the failing prepare or step (SQLITE_BUSY for a busy database).
    int exec(const std::wstring& sql);
    bool register_functions();

    // A busy database is waited on at most `ms`, in the steps sqlite3_busy_timeout takes;
    // remembered in the object.
    void set_busy_timeout(int ms);
    int busy_timeout() const { return m_busyTimeout; }
    // Called before each of those waits, on the connection's thread; true when whoever holds
    // the lock has been asked to let go, and the wait may then last a little beyond `ms`.
    // Kept across close and open.
    void set_busy_hook(std::function<bool()> hook) { m_busyHook = std::move(hook); }

    sqlite3* handle() const { return m_db; }
    // The connection's last error text (empty while closed).
    const wchar_t* errmsg() const;

    // A text column; throws CSqlite_exception when it is NULL.
    static const wchar_t* column_text16(sqlite3_stmt* stmt, int column);
    // A text column; NULL reads as an empty text.
    static std::wstring column_text16_or_empty(sqlite3_stmt* stmt, int column);

    // Connections opened through open() and not yet closed, in this process.
    static int open_count();

private:
    static int OnBusy(void* self, int count);

    sqlite3* m_db = nullptr;
    int m_busyTimeout = 0;
    std::function<bool()> m_busyHook;
};

// The process-wide lock held around every sqlite3_prepare16_v2 call. It lives as long as
// the process, so code that prepares statements by itself may take it at any time.
void LockDatabase();
void UnlockDatabase();

class DatabaseLockGuard {
public:
    DatabaseLockGuard() { LockDatabase(); }
    ~DatabaseLockGuard() { UnlockDatabase(); }
    DatabaseLockGuard(const DatabaseLockGuard&) = delete;
    DatabaseLockGuard& operator=(const DatabaseLockGuard&) = delete;
};

// sqlite3_prepare16_v2 of the whole text under the lock, for code outside CSQlite.
int PrepareLocked(sqlite3* db, const std::wstring& sql, sqlite3_stmt** stmt);
