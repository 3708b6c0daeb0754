#pragma once
#include "app/TrackRecord.h"
#include "ui/dialogs/ImportReaders.h"
#include <windows.h>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>

// Reads an iTunes export on a thread of its own (with COM for it), so that the window that
// waits for it keeps answering. The records come over in batches: `message` is posted to
// `notify` when some are ready (at most about ten times a second) and once more at the end.
class CItunesLoadWorker {
public:
    // What the thread runs to read the export; `ParseItunesLibraryXml` unless a test gives another.
    using Reader = std::function<ImportReadResult(const std::wstring& path, const ImportSink& sink,
                                                  const std::atomic<bool>* cancel)>;

    CItunesLoadWorker(HWND notify, UINT message, std::wstring path, Reader reader = nullptr);
    ~CItunesLoadWorker();
    CItunesLoadWorker(const CItunesLoadWorker&) = delete;
    CItunesLoadWorker& operator=(const CItunesLoadWorker&) = delete;

    bool Start();
    // Ends the read without waiting for it: the walk stops before its next track, and a
    // thread still inside MSXML's load finishes alone, keeping what it uses, and reports
    // nothing.
    void Stop();
    // Moves the records read since the last call to the end of `items`. True once the read
    // has ended; `result` then holds its outcome.
    bool Take(std::deque<TrackRecord>& items, ImportReadResult& result);

private:
    struct Shared;
    static DWORD WINAPI ThreadProc(void* arg);

    std::shared_ptr<Shared> m_shared;
    HANDLE m_thread = nullptr;
};
