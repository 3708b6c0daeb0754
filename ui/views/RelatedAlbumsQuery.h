#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The statement of one related-albums query, behind an interface so that busy databases
// can be played out in tests.
class IRelatedAlbumsStatement {
public:
    virtual ~IRelatedAlbumsStatement() = default;
    // SQLite result codes.
    virtual int Prepare(const std::wstring& sql) = 0;
    // SQLITE_ROW with the first column (isNull when it is NULL), SQLITE_DONE, SQLITE_BUSY or
    // an error.
    virtual int Step(std::wstring& text, bool& isNull) = 0;
    virtual void Finalize() = 0;
};

// The statement on a connection; the prepare is made under the database lock.
class CRelatedAlbumsStatement : public IRelatedAlbumsStatement {
public:
    explicit CRelatedAlbumsStatement(sqlite3* db) : m_db(db) {}
    ~CRelatedAlbumsStatement() override { Finalize(); }
    int Prepare(const std::wstring& sql) override;
    int Step(std::wstring& text, bool& isNull) override;
    void Finalize() override;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// What a wait between busy retries was ended by.
enum RelatedWait { RelatedWaitTimedOut, RelatedWaitWork, RelatedWaitQuit };
typedef std::function<RelatedWait(DWORD ms)> RelatedWaiter;

enum RelatedRunOutcome {
    RelatedRunDone,      // `albums` holds the rows read (possibly none)
    RelatedRunGaveUp,    // prepare failed, or still busy after the last retry
    RelatedRunRestart,   // a new track arrived while waiting on a busy database
    RelatedRunQuit,      // the worker is to end
};

// One run of the query: on SQLITE_BUSY it waits `busyTimeout` ms and tries again, giving up
// after `busyRetry` waits. A NULL row ends the reading with the rows read so far.
RelatedRunOutcome RunRelatedAlbumsQuery(IRelatedAlbumsStatement& statement, const std::wstring& sql,
                                        int busyTimeout, int busyRetry, const RelatedWaiter& wait,
                                        std::vector<std::wstring>& albums);

// Removes the now-playing album from its related albums.
void DropNowPlayingAlbum(std::vector<std::wstring>& albums, const std::wstring& album);
