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
    std::atomic<bool> stop{false};
    std::atomic<bool> running{true};   // until the thread has closed what it will not hand over
    CSQlite db;   // open until the rows are taken, for the library's data version
    int64_t dataVersion = -1;
    bool loaded = false;
    PlaylistCache cache;
    PlaylistSummary summary;
};

namespace {

// Changes whenever another connection, in this process or another, commits to the file.
int64_t DataVersion(CSQlite& db) {
    sqlite3_stmt* stmt = nullptr;
    int64_t version = -1;
    if (db.prepare(L"PRAGMA data_version;", &stmt) == SQLITE_OK && stmt && sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int64(stmt, 0);
    if (stmt) sqlite3_finalize(stmt);
    return version;
}

int StopRequested(void* stop) { return static_cast<std::atomic<bool>*>(stop)->load() ? 1 : 0; }

}  // namespace

CPlaylistPreload::~CPlaylistPreload() { Stop(); }

bool CPlaylistPreload::Start(const std::wstring& path) {
    if (m_shared) return false;
    m_shared = std::make_shared<Shared>();
    m_shared->path = path;
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
            s.dataVersion = DataVersion(s.db);
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

bool CPlaylistPreload::Take(const std::wstring& path, PlaylistCache& cache, PlaylistSummary& summary) {
    if (!m_shared || !m_thread) return false;
    WaitAnsweringSentMessages(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
    Shared& s = *m_shared;
    const bool current = s.loaded && !s.stop && s.path == path && DataVersion(s.db) == s.dataVersion;
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

void CPlaylistPreload::Stop(DWORD ms) {
    if (!m_shared) return;
    m_shared->stop = true;
    if (!m_thread) return;
    WaitAnsweringSentMessages(m_thread, ms);
    CloseHandle(m_thread);
    m_thread = nullptr;
}
