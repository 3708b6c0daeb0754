#include "document/SQLite.h"
#include "framework/SentMessageWait.h"
#include "support/TestFiles.h"
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <windows.h>
#include <atomic>
#include <thread>

using testing_support::TempDir;

TEST(SQLite, OpenCountsConnectionsAndCloseReleasesThem) {
    TempDir dir;
    const int before = CSQlite::open_count();
    {
        CSQlite a, b;
        ASSERT_EQ(SQLITE_OK, a.open(dir.file(L"x.db")));
        ASSERT_EQ(SQLITE_OK, b.open(dir.file(L"x.db")));
        EXPECT_TRUE(a.is_open());
        EXPECT_EQ(before + 2, CSQlite::open_count());
        EXPECT_EQ(SQLITE_OK, a.close());
        EXPECT_FALSE(a.is_open());
        EXPECT_EQ(before + 1, CSQlite::open_count());
        EXPECT_EQ(SQLITE_OK, a.close());   // closing twice changes nothing
        EXPECT_EQ(before + 1, CSQlite::open_count());
    }   // the destructor closes b
    EXPECT_EQ(before, CSQlite::open_count());
}

TEST(SQLite, FailedOpenLeavesNoHandleAndNoCount) {
    TempDir dir;
    const int before = CSQlite::open_count();
    CSQlite db;
    EXPECT_NE(SQLITE_OK, db.open(dir.file(L"no such folder\\x.db")));
    EXPECT_FALSE(db.is_open());
    EXPECT_EQ(nullptr, db.handle());
    EXPECT_EQ(before, CSQlite::open_count());
    // A folder cannot be opened as a database either.
    EXPECT_NE(SQLITE_OK, db.open(dir.path()));
    EXPECT_EQ(before, CSQlite::open_count());
    EXPECT_STREQ(L"", db.errmsg());
}

TEST(SQLite, TheDatabaseLockOutlivesEveryConnection) {
    TempDir dir;
    {
        CSQlite db;
        ASSERT_EQ(SQLITE_OK, db.open(dir.file(L"x.db")));
    }
    // No connection is open now; the lock still serialises a worker's prepare.
    std::atomic<bool> prepared{false};
    LockDatabase();
    std::thread worker([&] {
        CSQlite db;
        if (db.open(dir.file(L"x.db")) != SQLITE_OK) return;
        sqlite3_stmt* stmt = nullptr;
        if (db.prepare(L"SELECT 1;", &stmt) == SQLITE_OK) prepared = true;
        sqlite3_finalize(stmt);
    });
    Sleep(200);
    EXPECT_FALSE(prepared.load());
    UnlockDatabase();
    worker.join();
    EXPECT_TRUE(prepared.load());
}

TEST(SQLite, ExecReportsFailuresOfTheStep) {
    CSQlite db;
    ASSERT_EQ(SQLITE_OK, db.open(L":memory:"));
    EXPECT_EQ(SQLITE_OK, db.exec(L"CREATE TABLE t(a TEXT UNIQUE);"));
    EXPECT_EQ(SQLITE_OK, db.exec(L"INSERT INTO t VALUES('x');"));
    // Prepares fine, fails while stepping.
    EXPECT_EQ(SQLITE_CONSTRAINT, db.exec(L"INSERT INTO t VALUES('x');"));
    EXPECT_NE(SQLITE_OK, db.exec(L"SELEKT 1;"));
    EXPECT_EQ(SQLITE_OK, db.exec(L"SELECT a FROM t;"));   // a row is a success
}

TEST(SQLite, ExecReportsABusyDatabaseAsBusy) {
    TempDir dir;
    CSQlite holder, other;
    ASSERT_EQ(SQLITE_OK, holder.open(dir.file(L"x.db")));
    ASSERT_EQ(SQLITE_OK, other.open(dir.file(L"x.db")));
    ASSERT_EQ(SQLITE_OK, holder.exec(L"CREATE TABLE t(a);"));
    ASSERT_EQ(SQLITE_OK, holder.exec(L"BEGIN EXCLUSIVE;"));
    other.set_busy_timeout(0);
    EXPECT_EQ(0, other.busy_timeout());
    EXPECT_EQ(SQLITE_BUSY, other.exec(L"INSERT INTO t VALUES(1);"));
    ASSERT_EQ(SQLITE_OK, holder.exec(L"COMMIT;"));
    EXPECT_EQ(SQLITE_OK, other.exec(L"INSERT INTO t VALUES(1);"));
}

TEST(SQLite, NullTextColumns) {
    CSQlite db;
    ASSERT_EQ(SQLITE_OK, db.open(L":memory:"));
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(SQLITE_OK, db.prepare(L"SELECT NULL, '', '日本語';", &stmt));
    ASSERT_EQ(SQLITE_ROW, sqlite3_step(stmt));
    EXPECT_THROW(CSQlite::column_text16(stmt, 0), CSqlite_exception);
    EXPECT_STREQ(L"", CSQlite::column_text16(stmt, 1));
    EXPECT_STREQ(L"日本語", CSQlite::column_text16(stmt, 2));
    EXPECT_EQ(L"", CSQlite::column_text16_or_empty(stmt, 0));
    EXPECT_EQ(L"日本語", CSQlite::column_text16_or_empty(stmt, 2));
    sqlite3_finalize(stmt);

    try {
        throw CSqlite_exception();
    } catch (const std::exception& e) {
        EXPECT_STREQ("CSQlite::column_text16 return NULL.", e.what());
        CSqlite_exception copy(static_cast<const CSqlite_exception&>(e));
        EXPECT_STREQ(e.what(), copy.what());
    }
}

// While a writer waits for the holder of the file to let go, its thread answers sent
// messages: a holder that needs the writer's thread before it lets go is not kept waiting.
TEST(SQLite, AWriterWaitingForTheHolderToLetGoAnswersSentMessages) {
    TempDir dir;
    CSQlite writer, holder;
    ASSERT_EQ(SQLITE_OK, writer.open(dir.file(L"x.db")));
    ASSERT_EQ(SQLITE_OK, holder.open(dir.file(L"x.db")));
    ASSERT_EQ(SQLITE_OK, writer.exec(L"CREATE TABLE t(a);"));
    ASSERT_EQ(SQLITE_OK, holder.exec(L"BEGIN EXCLUSIVE;"));
    writer.set_busy_timeout(0);
    std::atomic<bool> asked{false}, done{false};
    writer.set_busy_hook([&] { return asked = true; });   // the holder has been asked to let go
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::thread letGo([&] {
        while (!asked) Sleep(1);
        SendMessageW(window, WM_USER, 0, 0);   // needs the writer's thread first
        holder.exec(L"COMMIT;");
        done = true;
    });
    EXPECT_EQ(SQLITE_OK, writer.exec(L"INSERT INTO t VALUES(1);"));
    while (!done) SleepAnsweringSentMessages(10);
    letGo.join();
    DestroyWindow(window);
}
