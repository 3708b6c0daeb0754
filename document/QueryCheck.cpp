#include "document/QueryCheck.h"
#include "document/PlaylistLoader.h"
#include <sqlite3.h>
#include <windows.h>

const wchar_t* const kIncompleteQueryText =
    L"SQL 文が終わっていません。文の最後に「;」を書いてください。"
    L"コメント (「--」から行末まで、「/*」から「*/」まで) や文字列の中の「;」は文の終わりになりません。";

const wchar_t* const kQueryNotReadOnlyMessage =
    L"このクエリはプレイリストにできません。\r\n\r\n"
    L"プレイリストにできるのは、ライブラリを読み取るだけの SELECT 文です。"
    L"INSERT、UPDATE、DELETE (WITH や RETURNING が付いたものも)、PRAGMA、ATTACH、VACUUM など、"
    L"ライブラリや接続を変える文は使えません。";

namespace {

struct ReadOnlyAuthorizer {
    DWORD thread;
    bool denied;
};

// Lets the statement being checked only read; should another thread's statement be prepared
// again meanwhile, it passes untouched.
int AllowReadingOnly(void* arg, int action, const char*, const char*, const char*, const char*) {
    auto* authorizer = static_cast<ReadOnlyAuthorizer*>(arg);
    if (GetCurrentThreadId() != authorizer->thread) return SQLITE_OK;
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    default:
        authorizer->denied = true;
        return SQLITE_DENY;
    }
}

// The database lock and the connection's own mutex keep every other thread's statement on the
// connection out while the authorizer is in place.
int PrepareReadingOnly(CSQlite& db, const std::wstring& sql, sqlite3_stmt** stmt, bool& denied) {
    if (!db.is_open()) return SQLITE_MISUSE;
    ReadOnlyAuthorizer authorizer{GetCurrentThreadId(), false};
    DatabaseLockGuard lock;
    sqlite3_mutex* connection = sqlite3_db_mutex(db.handle());
    sqlite3_mutex_enter(connection);
    sqlite3_set_authorizer(db.handle(), &AllowReadingOnly, &authorizer);
    const int rc = db.prepare(sql, stmt);
    sqlite3_set_authorizer(db.handle(), nullptr, nullptr);
    sqlite3_mutex_leave(connection);
    denied = authorizer.denied;
    return rc;
}

}  // namespace

QueryCheck CheckPlaylistQuery(CSQlite& db, const std::wstring& sql) {
    QueryCheck check;
    if (sqlite3_complete16(sql.c_str()) != 1) {
        check.verdict = QueryCheck::DatabaseError;
        check.text = kIncompleteQueryText;
        return check;
    }
    sqlite3_stmt* stmt = nullptr;
    bool denied = false;
    if (PrepareReadingOnly(db, sql, &stmt, denied) != SQLITE_OK) {
        check.verdict = denied ? QueryCheck::Refused : QueryCheck::DatabaseError;
        check.text = denied ? kQueryNotReadOnlyMessage : db.errmsg();
    } else if (stmt && !sqlite3_stmt_readonly(stmt)) {
        check.verdict = QueryCheck::Refused;
        check.text = kQueryNotReadOnlyMessage;
    } else if (!BeginsWithListColumns(stmt)) {
        // Also a text of nothing but white space, comments and ";".
        check.verdict = QueryCheck::Refused;
        check.text = kPlaylistColumnsMessage;
    }
    if (stmt) sqlite3_finalize(stmt);
    return check;
}
