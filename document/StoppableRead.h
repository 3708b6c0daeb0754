#pragma once
#include "document/SQLite.h"
#include "framework/BusyWait.h"
#include <atomic>
#include <functional>

// Work on a connection that may last long or never end (the rows of a query the user wrote)
// runs on a thread of its own while the calling UI thread waits with WaitWhileBusy, its
// windows answering. Escape or a close request stops it: every statement of `db` then fails
// with SQLITE_INTERRUPT, through the connection's progress handler and sqlite3_interrupt.
// There is no time or row limit. `work` sees the stop flag (to look at before it commits);
// whatever it throws is dropped, so it reports its outcome through what it captures. The
// UI thread must not use `db` meanwhile: the calls it answers are posted again instead.
BusyWaitResult RunStoppable(CSQlite& db, const std::function<void(const std::atomic<bool>& stop)>& work,
                            const std::function<void(bool slow)>& slow);
