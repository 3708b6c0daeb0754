#include "document/StoppableRead.h"
#include "framework/SentMessageWait.h"
#include <sqlite3.h>

namespace {

// VM instructions between two looks at the stop flag: often enough to stop at once, rare
// enough to cost nothing next to the rows.
const int kProgressSteps = 1000;

struct Job {
    const std::function<void(const std::atomic<bool>&)>* work;
    std::atomic<bool> stop{false};
};

int StopRequested(void* job) { return static_cast<Job*>(job)->stop.load() ? 1 : 0; }

DWORD WINAPI JobThread(void* arg) {
    auto* job = static_cast<Job*>(arg);
    try {
        (*job->work)(job->stop);
    } catch (...) {
        // Nothing leaves the thread; the work reports what it got done itself.
    }
    return 0;
}

}  // namespace

BusyWaitResult RunStoppable(CSQlite& db, const std::function<void(const std::atomic<bool>& stop)>& work,
                            const std::function<void(bool slow)>& slow) {
    Job job;
    job.work = &work;
    sqlite3* handle = db.handle();
    if (handle) sqlite3_progress_handler(handle, kProgressSteps, &StopRequested, &job);
    BusyWaitResult result;
    HANDLE thread = ::CreateThread(nullptr, 0, &JobThread, &job, 0, nullptr);
    if (!thread) {
        JobThread(&job);   // no thread to be had: the work runs here, unstoppable but whole
        result.ended = true;
    } else {
        BusyWaitCalls calls;
        calls.stop = [&] {
            job.stop = true;
            if (handle) sqlite3_interrupt(handle);
        };
        calls.slow = slow;
        result = WaitWhileBusy(thread, calls);
        // The job lives on this stack: never return before its thread has ended.
        while (!result.ended) {
            job.stop = true;
            if (handle) sqlite3_interrupt(handle);
            result.ended = WaitAnsweringSentMessages(thread, 100);
        }
        ::CloseHandle(thread);
    }
    if (handle) sqlite3_progress_handler(handle, 0, nullptr, nullptr);
    return result;
}
