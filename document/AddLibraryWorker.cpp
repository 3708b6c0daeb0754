#include "document/AddLibraryWorker.h"
#include <sqlite3.h>
#include "app/FileNameRules.h"
#include "app/PathParts.h"
#include "document/Larkspur2006Doc.h"
#include "document/LibraryRows.h"
#include "document/LibraryWriteFailure.h"
#include "document/SQLite.h"
#include "tags/TagInfo.h"
#include <cstdio>

namespace {

void SetStatus(AddLibraryContext& c, const std::wstring& text) {
    if (c.status) c.status->SetLibraryStatusText(text);
}

void Finish(AddLibraryContext& c) {
    if (c.status) c.status->OnLibraryWorkerFinished();
}

// The worker's connection with its two statements; reports the failure when one is missing.
class WorkerConnection {
public:
    explicit WorkerConnection(AddLibraryContext& c) : m_c(c) {}
    ~WorkerConnection() {
        if (m_c.insert) sqlite3_finalize(m_c.insert);
        if (m_c.update) sqlite3_finalize(m_c.update);
        m_c.insert = m_c.update = nullptr;
        m_db.close();
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        sqlite3_thread_cleanup();
#pragma GCC diagnostic pop
    }

    bool Open() {
        CLarkspur2006Doc& doc = *m_c.doc;
        const int rc = m_db.open(doc.GetSettings().libraryPath);
        if (rc != SQLITE_OK) {
            // A failed open leaves no connection to ask: the text of the code.
            const char* message = sqlite3_errstr(rc);
            wchar_t wide[256] = L"";
            MultiByteToWideChar(CP_UTF8, 0, message, -1, wide, 256);
            ReportError(wide);
            return false;
        }
        m_db.set_busy_hook([&check = doc.GetLibraryCheck()] { return check.GiveWay(); });
        if (!ApplyPragmas(m_db, doc.GetSettings()) || m_db.prepare(doc.GetSqlInsert(), &m_c.insert) != SQLITE_OK ||
            m_db.prepare(doc.GetSqlUpdate(), &m_c.update) != SQLITE_OK) {
            ReportError(m_db.errmsg());
            return false;
        }
        return true;
    }

private:
    void ReportError(const wchar_t* message) {
        std::wstring text = L"ERROR\r\n";
        text += message ? message : L"";
        SetStatus(m_c, text);
    }

    AddLibraryContext& m_c;
    CSQlite m_db;
};

std::wstring CountText(const wchar_t* format, int count) {
    wchar_t text[128];
    swprintf(text, 128, format, count);
    return text;
}

bool AddOneFile(AddLibraryContext& c, std::wstring path) {
    if (EndsInReservedDeviceName(path)) return false;
    GetUniversalPath(path);
    SetStatus(c, path);
    int written = SQLITE_DONE;
    const bool added = AddFileToLibrary(c.update, path, *c.doc, c.insert, &written);
    if (IsLibraryWriteFailure(written)) {
        // Every later file would fail the same way: the walk stops as on a cancel.
        c.unwritable = true;
        c.cancel = true;
    }
    if (!added) return false;
    ++c.count;
    return true;
}

// The last status of a walk that did not complete.
std::wstring StoppedText(const AddLibraryContext& c) {
    return c.unwritable ? L"ライブラリに書き込めないため、中止しました。" : L"キャンセルされました。";
}

// Records `folder` (ending with "\") as walked; false when it was walked already. A folder
// whose identity cannot be read is walked unless it is a link itself, so no loop goes on.
bool FirstVisit(AddLibraryContext& c, const std::wstring& folder) {
    // The trailing backslash keeps a folder named like a device ("com1") a folder.
    HANDLE handle = CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    if (!known) {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    const ULONGLONG index = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return c.walked.emplace(info.dwVolumeSerialNumber, index).second;
}

}  // namespace

bool ScanFolderForLibrary(AddLibraryContext& c, const std::wstring& folderIn) {
    std::wstring folder = folderIn;
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    if (!FirstVisit(c, folder)) return !c.cancel;
    SetStatus(c, folderIn + L"\r\nを検索中...");

    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return !c.cancel;
    bool result = true;
    do {
        Sleep(0);
        if (c.cancel) {
            result = false;
            break;
        }
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && c.subfolders) {
            if (!ScanFolderForLibrary(c, path)) {
                result = false;
                break;
            }
        } else if (tagReader::IsSupportedAudioFile(path)) {
            AddOneFile(c, path);
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return result;
}

DWORD WINAPI AddLibraryThreadProc(void* context) {
    auto& c = *static_cast<AddLibraryContext*>(context);
    try {
        c.count = 0;
        c.walked.clear();
        bool completed = false;
        {
            WorkerConnection connection(c);
            if (connection.Open()) {
                completed = ScanFolderForLibrary(c, c.folder);
                SetStatus(c, completed && !c.unwritable ? CountText(L"%d 個のファイルが追加・更新されました。", c.count)
                                       : StoppedText(c));
            }
        }
    } catch (...) {
        SetStatus(c, L"ERROR\r\n");
    }
    Finish(c);
    return 0;
}

DWORD WINAPI UpdateLibraryThreadProc(void* context) {
    auto& c = *static_cast<AddLibraryContext*>(context);
    try {
        c.count = 0;
        WorkerConnection connection(c);
        if (connection.Open()) {
            bool cancelled = false;
            for (const std::wstring& path : c.files) {
                Sleep(0);
                if (c.cancel) {
                    cancelled = true;
                    break;
                }
                AddOneFile(c, path);
            }
            SetStatus(c, cancelled || c.unwritable ? StoppedText(c) : CountText(L"%d 個のファイルが更新されました。", c.count));
        }
    } catch (...) {
        SetStatus(c, L"ERROR\r\n");
    }
    Finish(c);
    return 0;
}
