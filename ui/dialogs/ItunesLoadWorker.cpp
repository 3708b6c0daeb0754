#include "ui/dialogs/ItunesLoadWorker.h"
#include <objbase.h>
#include <iterator>
#include <mutex>
#include <vector>

namespace {

const DWORD kPostInterval = 100;   // ms between two batches

class ComScope {
public:
    ComScope() : m_ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (m_ok) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool m_ok;
};

}  // namespace

// What the thread and the worker share. The thread holds its own reference: a thread left
// inside a load when the dialog goes touches nothing that was freed.
struct CItunesLoadWorker::Shared {
    std::wstring path;
    Reader reader;
    UINT message = 0;
    std::atomic<bool> cancel{false};

    std::mutex mutex;   // guards the ones below
    HWND notify = nullptr;   // null once stopped: nothing more is posted
    std::vector<TrackRecord> pending;
    bool posted = false;
    DWORD lastPost = 0;
    bool done = false;
    ImportReadResult result;

    // With `mutex` held.
    void Post() {
        posted = true;
        lastPost = GetTickCount();
        if (notify) ::PostMessageW(notify, message, 0, 0);
    }
    void Add(TrackRecord&& record) {
        std::lock_guard<std::mutex> lock(mutex);
        if (!notify) return;   // stopped: the records have nobody to go to
        pending.push_back(std::move(record));
        if (!posted && GetTickCount() - lastPost >= kPostInterval) Post();
    }
    void Run() {
        ImportReadResult outcome;
        try {
            ComScope com;
            outcome = reader(path, [this](TrackRecord&& record) { Add(std::move(record)); }, &cancel);
        } catch (...) {
            // Out of memory on a file too large for it: nothing half-read is offered.
            std::lock_guard<std::mutex> lock(mutex);
            pending.clear();
            outcome = ImportReadResult();
            outcome.failed = true;
            outcome.error = L"XML load error.";
        }
        std::lock_guard<std::mutex> lock(mutex);
        result = outcome;
        done = true;
        Post();
    }
};

CItunesLoadWorker::CItunesLoadWorker(HWND notify, UINT message, std::wstring path, Reader reader)
    : m_shared(std::make_shared<Shared>()) {
    m_shared->path = std::move(path);
    m_shared->reader = reader ? std::move(reader) : Reader(&ParseItunesLibraryXml);
    m_shared->message = message;
    m_shared->notify = notify;
}

CItunesLoadWorker::~CItunesLoadWorker() { Stop(); }

bool CItunesLoadWorker::Start() {
    if (m_thread) return false;
    auto* reference = new std::shared_ptr<Shared>(m_shared);
    m_thread = ::CreateThread(nullptr, 0, &CItunesLoadWorker::ThreadProc, reference, 0, nullptr);
    if (m_thread) return true;
    delete reference;
    return false;
}

void CItunesLoadWorker::Stop() {
    m_shared->cancel = true;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->notify = nullptr;
        m_shared->pending.clear();
    }
    if (m_thread) {
        ::CloseHandle(m_thread);
        m_thread = nullptr;
    }
}

bool CItunesLoadWorker::Take(std::deque<TrackRecord>& items, ImportReadResult& result) {
    std::vector<TrackRecord> batch;
    bool done;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        batch.swap(m_shared->pending);
        m_shared->posted = false;
        done = m_shared->done;
        if (done) result = m_shared->result;
    }
    items.insert(items.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
    return done;
}

DWORD WINAPI CItunesLoadWorker::ThreadProc(void* arg) {
    const std::unique_ptr<std::shared_ptr<Shared>> holder(static_cast<std::shared_ptr<Shared>*>(arg));
    (*holder)->Run();
    return 0;
}
