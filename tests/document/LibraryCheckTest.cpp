// The check of the library file after the start, on a real library.db.
#include "DocTestSupport.h"
#include "document/PlayerTestSupport.h"
#include <gtest/gtest.h>
#include <fstream>

using namespace doc_test;
using player_test::PumpUntil;

namespace {

// A library of `rows` rows, closed again, so that its file can be changed.
std::wstring WriteLibrary(Library& lib, int rows) {
    EXPECT_EQ(0, lib.db().exec(L"BEGIN;"));
    for (int i = 0; i < rows; ++i) {
        const std::wstring n = std::to_wstring(i);
        EXPECT_TRUE(lib.Insert(MakeTrack(L"C:\\m\\" + n + L".mp3", L"曲" + n, L"アーティスト" + n, L"アルバム")));
    }
    EXPECT_EQ(0, lib.db().exec(L"COMMIT;"));
    lib.db().close();
    return lib.settings.libraryPath;
}

void OverwritePage(const std::wstring& path, long long page, long long pageSize) {
    std::fstream file(path.c_str(), std::ios::in | std::ios::out | std::ios::binary);
    ASSERT_TRUE(file.good());
    file.seekp(static_cast<std::streamoff>((page - 1) * pageSize));
    const std::string garbage(static_cast<size_t>(pageSize), 'A');
    file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    ASSERT_TRUE(file.good());
}

// A check that runs until it is interrupted, holding the file's shared lock all along as a
// check's read does.
const wchar_t kEndlessCheck[] =
    L"WITH RECURSIVE c(x) AS (SELECT (SELECT count(*) FROM sqlite_master) UNION ALL SELECT x + 1 FROM c) "
    L"SELECT count(*) FROM c;";

// True when another connection could not commit now.
bool Locked(sqlite3* other) {
    const int rc = sqlite3_exec(other, "BEGIN EXCLUSIVE; ROLLBACK;", nullptr, nullptr, nullptr);
    return rc == SQLITE_BUSY;
}

bool Finished(CLibraryCheck& check) {
    const CLibraryCheck::Outcome o = check.GetOutcome();
    return o != CLibraryCheck::Waiting && o != CLibraryCheck::Running;
}

}  // namespace

TEST(LibraryCheck, AnOverwrittenPageIsReportedOnceWithTheFileAndAdviceToKeepACopy) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    const long long pageSize = lib.Scalar(L"PRAGMA page_size;");
    const std::wstring path = WriteLibrary(lib, 2000);
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_open16(path.c_str(), &db));
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA page_count;", -1, &stmt, nullptr);
        ASSERT_EQ(SQLITE_ROW, sqlite3_step(stmt));
        const long long pages = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        ASSERT_GT(pages, 10);
        OverwritePage(path, pages / 2, pageSize);
    }
    // The library opens as if nothing were wrong.
    ASSERT_TRUE(lib.doc.OpenLibrary(path));
    EXPECT_TRUE(lib.errors.messages.empty());

    lib.doc.StartLibraryCheck();
    EXPECT_EQ(CLibraryCheck::Waiting, lib.doc.GetLibraryCheck().GetOutcome()) << "nothing runs before the message loop";
    ASSERT_TRUE(PumpUntil([&] { return Finished(lib.doc.GetLibraryCheck()); }, 60000));
    EXPECT_EQ(CLibraryCheck::Damaged, lib.doc.GetLibraryCheck().GetOutcome());
    ASSERT_TRUE(PumpUntil([&] { return !lib.errors.messages.empty(); }));
    player_test::Pump(100);
    ASSERT_EQ(1u, lib.errors.messages.size());
    EXPECT_EQ(L"ライブラリのファイルが壊れています。", lib.errors.messages[0]);
    const std::wstring& details = lib.errors.texts[0];
    EXPECT_NE(std::wstring::npos, details.find(path)) << details;
    EXPECT_NE(std::wstring::npos, details.find(L"書き込まれる前に、このファイルのコピーを")) << details;
}

// Nothing is said of a sound library, nor of one that another connection holds, which
// cannot be checked: that is not damage.
TEST(LibraryCheck, ASoundOrALockedLibraryIsNotReported) {
    for (const bool locked : {false, true}) {
        Library lib;
        ASSERT_TRUE(lib.opened);
        const std::wstring path = WriteLibrary(lib, 200);
        ASSERT_TRUE(lib.doc.OpenLibrary(path));
        sqlite3* other = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_open16(path.c_str(), &other));
        if (locked) {
            ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr));
        }
        lib.doc.StartLibraryCheck();
        const bool finished = PumpUntil([&] { return Finished(lib.doc.GetLibraryCheck()); }, 60000);
        sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        ASSERT_TRUE(finished) << locked;
        EXPECT_EQ(locked ? CLibraryCheck::Inconclusive : CLibraryCheck::Sound, lib.doc.GetLibraryCheck().GetOutcome());
        player_test::Pump(50);
        EXPECT_TRUE(lib.errors.messages.empty()) << locked;
    }
}

// A check that would run for hours ends when it is stopped, and says nothing.
TEST(LibraryCheck, StopInterruptsACheckThatRunsLong) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    CLibraryCheck check;
    check.SetStatement(kEndlessCheck);
    int reports = 0;
    ASSERT_TRUE(check.Start(lib.settings.libraryPath, [&](const std::wstring&) { ++reports; }));
    ASSERT_TRUE(PumpUntil([&] { return check.GetOutcome() == CLibraryCheck::Running; }));
    player_test::Pump(100);
    EXPECT_TRUE(check.Stop(30000));
    EXPECT_EQ(CLibraryCheck::Inconclusive, check.GetOutcome());
    player_test::Pump(50);
    EXPECT_EQ(0, reports);
}

// A rating written while the check holds the file stops the check instead of failing after
// the busy time-out, also when that is 0; the check says nothing and later runs again.
TEST(LibraryCheck, AWriteDuringTheCheckStopsTheCheckAndIsKept) {
    for (const int busyTimeout : {500, 0}) {
        Library lib;
        ASSERT_TRUE(lib.opened);
        ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\m\\1.mp3", L"曲")));
        const long long rowid = lib.Scalar(L"SELECT rowid FROM list;");
        lib.db().set_busy_timeout(busyTimeout);
        sqlite3* other = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_open16(lib.settings.libraryPath.c_str(), &other));
        ASSERT_FALSE(Locked(other));
        CLibraryCheck& check = lib.doc.GetLibraryCheck();
        check.SetStatement(kEndlessCheck);
        lib.doc.StartLibraryCheck();
        const bool locked = PumpUntil([&] { return Locked(other); }, 60000);
        sqlite3_close(other);
        ASSERT_TRUE(locked) << busyTimeout;

        EXPECT_TRUE(lib.doc.WriteRating(rowid, 5)) << busyTimeout;
        EXPECT_EQ(5, lib.Scalar(L"SELECT rating FROM list;")) << busyTimeout;
        ASSERT_TRUE(PumpUntil([&] { return check.GetOutcome() == CLibraryCheck::Waiting; }, 60000)) << busyTimeout;
        ASSERT_TRUE(PumpUntil([&] { return check.GetOutcome() == CLibraryCheck::Running; }, 60000)) << busyTimeout;
        EXPECT_TRUE(lib.errors.messages.empty()) << busyTimeout;
    }
}

// A write in the first seconds does not cost the user the check: once the write is done the
// check runs again, and damage it then finds is reported. (The check given here runs until it
// is interrupted while the rating is not yet written, and finds damage once it is.)
TEST(LibraryCheck, ACheckThatGaveWayRunsAgainAndReportsWhatItFinds) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\m\\1.mp3", L"曲")));
    const long long rowid = lib.Scalar(L"SELECT rowid FROM list;");
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open16(lib.settings.libraryPath.c_str(), &other));
    CLibraryCheck& check = lib.doc.GetLibraryCheck();
    check.SetStatement(L"SELECT CASE WHEN (SELECT rating FROM list) = 5 THEN 'row 1 missing from index tagArtist_index' "
                       L"ELSE (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT count(*) FROM c) "
                       L"END;");
    lib.doc.StartLibraryCheck();
    const bool locked = PumpUntil([&] { return Locked(other); }, 60000);
    sqlite3_close(other);
    ASSERT_TRUE(locked);

    EXPECT_TRUE(lib.doc.WriteRating(rowid, 5));
    ASSERT_TRUE(PumpUntil([&] { return !lib.errors.messages.empty(); }, 60000));
    EXPECT_EQ(CLibraryCheck::Damaged, check.GetOutcome());
    player_test::Pump(100);
    ASSERT_EQ(1u, lib.errors.messages.size());
    EXPECT_EQ(L"ライブラリのファイルが壊れています。", lib.errors.messages[0]);
    EXPECT_NE(std::wstring::npos, lib.errors.texts[0].find(L"row 1 missing from index")) << lib.errors.texts[0];
}
