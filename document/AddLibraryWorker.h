#pragma once
#include <windows.h>
#include <atomic>
#include <deque>
#include <set>
#include <string>
#include <utility>

class CLarkspur2006Doc;
struct sqlite3_stmt;

// Where the add-to-library worker reports. Both calls come from the worker thread.
class IAddLibraryStatus {
public:
    virtual ~IAddLibraryStatus() = default;
    // Shows one status text; returns once it is shown.
    virtual void SetLibraryStatusText(const std::wstring& text) = 0;
    // The worker has finished (after its last status text); it only returns afterwards.
    virtual void OnLibraryWorkerFinished() = 0;
};

// What a worker and the dialog that runs it share.
struct AddLibraryContext {
    enum Mode { ScanFolder = 0, UpdateFiles = 1 };
    int mode = ScanFolder;
    CLarkspur2006Doc* doc = nullptr;        // its statement texts, settings and look-up connection
    std::wstring folder;                    // ScanFolder
    bool subfolders = true;                 // ScanFolder
    std::deque<std::wstring> files;         // UpdateFiles, filled by the caller
    IAddLibraryStatus* status = nullptr;

    std::atomic<int> count{0};              // files added or updated
    std::atomic<bool> cancel{false};        // set by the user-interface thread
    // The library took no writes (IsLibraryWriteFailure): the worker stopped, and the
    // user-interface thread tells the user once it has finished.
    std::atomic<bool> unwritable{false};

    // The folders walked, by volume serial number and file index: a junction or symbolic
    // link back into the walk leads to one of them and is not walked again.
    std::set<std::pair<DWORD, ULONGLONG>> walked;

    // The worker's own statements, while it runs.
    sqlite3_stmt* insert = nullptr;
    sqlite3_stmt* update = nullptr;
};

// The worker of each mode: the context is the thread's argument. Opens a connection of its
// own on the library, adds or updates each file, and reports through the context's status.
DWORD WINAPI AddLibraryThreadProc(void* context);
DWORD WINAPI UpdateLibraryThreadProc(void* context);

// Adds the supported audio files of `folder` (and of its subfolders when the context says
// so) with the context's statements; a folder the context has walked already is skipped.
// False when cancelled.
bool ScanFolderForLibrary(AddLibraryContext& context, const std::wstring& folder);
