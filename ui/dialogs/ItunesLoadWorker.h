#pragma once
#include "app/TrackRecord.h"
#include "framework/WinThread.h"
#include "ui/dialogs/ImportReaders.h"
#include <windows.h>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Reads an iTunes export on a thread of its own (with COM for it), so that the window that
// waits for it keeps answering. The records come over in batches: `message` is posted to
// `notify` when some are ready (at most about ten times a second) and once more at the end.
class CItunesLoadWorker {
public:
    CItunesLoadWorker(HWND notify, UINT message, std::wstring path);
    ~CItunesLoadWorker();
    CItunesLoadWorker(const CItunesLoadWorker&) = delete;
    CItunesLoadWorker& operator=(const CItunesLoadWorker&) = delete;

    bool Start();
    // Ends the walk before its next track and waits, answering sent messages, until the
    // thread has ended (the file's loading itself runs to its end first).
    void Stop();
    // Moves the records read since the last call to the end of `items`. True once the read
    // has ended; `result` then holds its outcome.
    bool Take(std::deque<TrackRecord>& items, ImportReadResult& result);

private:
    static UINT ThreadProc(void* self);
    void Run();
    void Add(TrackRecord&& record);
    void Post();   // with m_mutex held

    const HWND m_notify;
    const UINT m_message;
    const std::wstring m_path;
    std::atomic<bool> m_cancel{false};
    std::mutex m_mutex;
    std::vector<TrackRecord> m_pending;
    bool m_posted = false;
    DWORD m_lastPost = 0;
    bool m_done = false;
    ImportReadResult m_result;
    std::unique_ptr<CWinThread> m_thread;
};
