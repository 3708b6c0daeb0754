#include "document/PlaylistPreload.h"
#include "document/LibraryRows.h"
#include "document/SQLite.h"
#include "framework/SentMessageWait.h"
#include <sqlite3.h>
#include <atomic>

// What the reading thread and the object share; the thread holds its own reference, so a
// thread left running at close never touches freed memory. Apart from `stop`, the thread
// writes the rest before it ends and the object reads it only after.
struct CPlaylistPreload::Shared {
    std::wstring path;
    std::wstring tempStore;
    std::atomic<int> tempStoreRead{-1};
    std::atomic<bool> stop{false};
    std::atomic<bool> running{true};   // until the thread has closed what it will not hand over
    CSQlite db;   // open until the rows are taken, for the library's data version
    int64_t dataVersion = -1;
    bool loaded = false;
    PlaylistCache cache;
    PlaylistSummary summary;
};

namespace {

int64_t ScalarInt(CSQlite& db, const wchar_t* sql) {
    sqlite3_stmt* stmt = nullptr;
    int64_t value = -1;
    if (db.prepare(sql, &stmt) == SQLITE_OK && stmt && sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    if (stmt) sqlite3_finalize(stmt);
    return value;
}

int StopRequested(void* stop) { return static_cast<std::atomic<bool>*>(stop)->load() ? 1 : 0; }


}  // namespace

CPlaylistPreload::~CPlaylistPreload() { Stop(); }

bool CPlaylistPreload::Start(const std::wstring& path, const std::wstring& tempStore) {
    if (m_shared) return false;
    m_shared = std::make_shared<Shared>();
    m_shared->path = path;
    m_shared->tempStore = tempStore;
    auto* reference = new std::shared_ptr<Shared>(m_shared);
    m_thread = CreateThread(nullptr, 0, &CPlaylistPreload::ThreadProc, reference, 0, nullptr);
    if (!m_thread) {
        delete reference;
        m_shared->running = false;
        return false;
    }
    return true;
}

DWORD WINAPI CPlaylistPreload::ThreadProc(void* arg) {
    const std::unique_ptr<std::shared_ptr<Shared>> holder(static_cast<std::shared_ptr<Shared>*>(arg));
    Shared& s = **holder;
    try {
        if (!s.stop && s.db.open(s.path, true) == SQLITE_OK) {
            // No busy wait: a file that is locked is read by the reload instead. A writer that
            // meets this reading stops it through `stop`.
            sqlite3_progress_handler(s.db.handle(), 1000, &StopRequested, &s.stop);
            ApplyReadPragmas(s.db);
            // Where a sort or a temporary result goes, as on the document's connection.
            if (!s.tempStore.empty()) s.db.exec(L"PRAGMA temp_store = " + s.tempStore + L";");
            s.tempStoreRead = static_cast<int>(ScalarInt(s.db, L"PRAGMA temp_store;"));
            s.dataVersion = LibraryDataVersion(s.db);
            s.loaded = s.dataVersion >= 0 && LoadPlaylistCache(s.db, s.cache, nullptr, &s.summary) && !s.stop;
        }
    } catch (...) {
        s.loaded = false;   // out of memory, say: the reload reads the rows itself
    }
    if (!s.loaded) {
        s.cache.Clear();
        s.db.close();
    }
    s.running = false;
    return 0;
}

bool CPlaylistPreload::Take(const std::wstring& path, PlaylistCache& cache, PlaylistSummary& summary,
                            const std::function<void(bool slow)>& slow, BusyWaitResult* waited) {
    if (waited) *waited = BusyWaitResult();
    // A message answered during the wait may reach here again: only the outer call owns the
    // thread's handle.
    if (!m_shared || !m_thread || m_taking) return false;
    m_taking = true;
    BusyWaitCalls calls;
    const std::shared_ptr<Shared> shared = m_shared;
    calls.stop = [shared] { shared->stop = true; };
    calls.slow = slow;
    const BusyWaitResult result = WaitWhileBusy(m_thread, calls);
    m_taking = false;
    if (waited) *waited = result;
    if (!result.ended) {
        Stop();
        return false;
    }
    CloseHandle(m_thread);
    m_thread = nullptr;
    Shared& s = *m_shared;
    const bool current = s.loaded && !s.stop && s.path == path && LibraryDataVersion(s.db) == s.dataVersion;
    s.db.close();
    if (!current) {
        s.cache.Clear();
        return false;
    }
    cache.Clear();
    cache.rows.swap(s.cache.rows);
    cache.current = -1;
    summary = s.summary;
    return true;
}

bool CPlaylistPreload::GiveWay() {
    if (!m_shared) return false;
    m_shared->stop = true;
    return m_shared->running.load();
}

bool CPlaylistPreload::IsReading() const { return m_shared && m_shared->running.load(); }

int CPlaylistPreload::TempStore() const { return m_shared ? m_shared->tempStoreRead.load() : -1; }

void CPlaylistPreload::Stop(DWORD ms) {
    if (!m_shared) return;
    m_shared->stop = true;
    // A Take waiting for the thread closes its handle itself once the thread has stopped.
    if (!m_thread || m_taking) return;
    WaitAnsweringSentMessages(m_thread, ms);
    CloseHandle(m_thread);
    m_thread = nullptr;
}
