#include "ui/views/RelatedAlbumsQuery.h"
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <deque>

namespace {

// Plays back prepare and step results; a step of SQLITE_ROW takes the next album.
class ScriptedStatement : public IRelatedAlbumsStatement {
public:
    int Prepare(const std::wstring& sql) override {
        prepared.push_back(sql);
        if (prepares.empty()) return SQLITE_OK;
        int rc = prepares.front();
        prepares.pop_front();
        return rc;
    }
    int Step(std::wstring& text, bool& isNull) override {
        if (steps.empty()) return SQLITE_DONE;
        int rc = steps.front();
        steps.pop_front();
        if (rc == SQLITE_ROW) {
            isNull = rows.front() == L"<NULL>";
            text = isNull ? L"" : rows.front();
            rows.pop_front();
        }
        return rc;
    }
    void Finalize() override { ++finalized; }

    std::deque<int> prepares, steps;
    std::deque<std::wstring> rows;
    std::vector<std::wstring> prepared;
    int finalized = 0;
};

struct ScriptedWaits {
    std::deque<RelatedWait> results;
    std::vector<DWORD> times;
    RelatedWaiter waiter() {
        return [this](DWORD ms) {
            times.push_back(ms);
            if (results.empty()) return RelatedWaitTimedOut;
            RelatedWait w = results.front();
            results.pop_front();
            return w;
        };
    }
};

}  // namespace

TEST(RelatedAlbumsQuery, ReadsRowsUntilDoneOrANullValue) {
    ScriptedStatement st;
    st.steps = {SQLITE_ROW, SQLITE_ROW, SQLITE_ROW, SQLITE_ROW};
    st.rows = {L"A", L"B", L"<NULL>", L"C"};
    ScriptedWaits waits;
    std::vector<std::wstring> albums;
    EXPECT_EQ(RelatedRunDone, RunRelatedAlbumsQuery(st, L"SQL", 500, 3, waits.waiter(), albums));
    EXPECT_EQ((std::vector<std::wstring>{L"A", L"B"}), albums);
    EXPECT_TRUE(waits.times.empty());
}

TEST(RelatedAlbumsQuery, BusyDatabaseIsRetriedAfterTheTimeoutAndGivenUpAfterBusyRetry) {
    ScriptedStatement st;
    st.prepares = {SQLITE_BUSY, SQLITE_OK};
    st.steps = {SQLITE_ROW, SQLITE_BUSY, SQLITE_ROW, SQLITE_DONE};
    st.rows = {L"half read", L"X"};
    ScriptedWaits waits;
    std::vector<std::wstring> albums;
    EXPECT_EQ(RelatedRunDone, RunRelatedAlbumsQuery(st, L"SQL", 250, 3, waits.waiter(), albums));
    EXPECT_EQ((std::vector<std::wstring>{L"X"}), albums);   // rows before the busy step are dropped
    EXPECT_EQ((std::vector<DWORD>{250, 250}), waits.times);
    EXPECT_EQ(3u, st.prepared.size());

    ScriptedStatement busy;
    busy.prepares = {SQLITE_BUSY, SQLITE_BUSY, SQLITE_BUSY, SQLITE_BUSY};
    ScriptedWaits waits2;
    EXPECT_EQ(RelatedRunGaveUp, RunRelatedAlbumsQuery(busy, L"SQL", 500, 3, waits2.waiter(), albums));
    EXPECT_EQ(3u, waits2.times.size());
    EXPECT_TRUE(albums.empty());

    ScriptedStatement broken;
    broken.prepares = {SQLITE_ERROR};
    EXPECT_EQ(RelatedRunGaveUp, RunRelatedAlbumsQuery(broken, L"SQL", 500, 3, waits2.waiter(), albums));
}

TEST(RelatedAlbumsQuery, ANewTrackDuringABusyWaitRestartsInsteadOfCountingAsARetry) {
    ScriptedStatement st;
    st.prepares = {SQLITE_BUSY};
    ScriptedWaits waits;
    waits.results = {RelatedWaitWork};
    std::vector<std::wstring> albums;
    EXPECT_EQ(RelatedRunRestart, RunRelatedAlbumsQuery(st, L"SQL", 500, 3, waits.waiter(), albums));
    EXPECT_EQ(1u, st.prepared.size());

    ScriptedStatement st2;
    st2.prepares = {SQLITE_BUSY};
    waits.results = {RelatedWaitQuit};
    EXPECT_EQ(RelatedRunQuit, RunRelatedAlbumsQuery(st2, L"SQL", 500, 3, waits.waiter(), albums));
}

TEST(RelatedAlbumsQuery, TheNowPlayingAlbumIsNeverListedAmongItsRelatedAlbums) {
    std::vector<std::wstring> albums{L"Best [Disc 1]", L"Other", L"What?", L"Best [Disc 1]"};
    DropNowPlayingAlbum(albums, L"Best [Disc 1]");
    EXPECT_EQ((std::vector<std::wstring>{L"Other", L"What?"}), albums);
}

TEST(RelatedAlbumsQuery, RunsOnARealConnection) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open16(L":memory:", &db));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db,
                                      "CREATE TABLE list(tagAlbum TEXT);"
                                      "INSERT INTO list VALUES('One'),('Two'),(NULL),('Three');",
                                      nullptr, nullptr, nullptr));
    std::vector<std::wstring> albums;
    {
        CRelatedAlbumsStatement st(db);
        ScriptedWaits waits;
        EXPECT_EQ(RelatedRunDone, RunRelatedAlbumsQuery(st, L"SELECT tagAlbum FROM list ORDER BY rowid;", 500, 3,
                                                        waits.waiter(), albums));
        EXPECT_EQ((std::vector<std::wstring>{L"One", L"Two"}), albums);
        EXPECT_EQ(RelatedRunGaveUp,
                  RunRelatedAlbumsQuery(st, L"SELECT nothing FROM nowhere;", 500, 3, waits.waiter(), albums));
    }
    EXPECT_EQ(SQLITE_OK, sqlite3_close(db));   // every statement was finalised
}
