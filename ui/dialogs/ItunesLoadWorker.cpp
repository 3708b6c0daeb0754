#include "ui/dialogs/ItunesLoadWorker.h"
#include <objbase.h>
#include <iterator>

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

CItunesLoadWorker::CItunesLoadWorker(HWND notify, UINT message, std::wstring path)
    : m_notify(notify), m_message(message), m_path(std::move(path)) {}

CItunesLoadWorker::~CItunesLoadWorker() { Stop(); }

bool CItunesLoadWorker::Start() {
    if (m_thread) return false;
    m_thread = std::make_unique<CWinThread>(&CItunesLoadWorker::ThreadProc, this);
    if (m_thread->CreateThread()) return true;
    m_thread.reset();
    return false;
}

void CItunesLoadWorker::Stop() {
    m_cancel = true;
    if (m_thread) m_thread->WaitForEnd(INFINITE);
}

bool CItunesLoadWorker::Take(std::deque<TrackRecord>& items, ImportReadResult& result) {
    std::vector<TrackRecord> batch;
    bool done;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        batch.swap(m_pending);
        m_posted = false;
        done = m_done;
        if (done) result = m_result;
    }
    items.insert(items.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
    return done;
}

UINT CItunesLoadWorker::ThreadProc(void* self) {
    static_cast<CItunesLoadWorker*>(self)->Run();
    return 0;
}

void CItunesLoadWorker::Run() {
    ImportReadResult result;
    try {
        ComScope com;
        result = ParseItunesLibraryXml(
            m_path, [this](TrackRecord&& record) { Add(std::move(record)); }, &m_cancel);
    } catch (...) {
        // Out of memory on a file too large for it: nothing half-read is offered.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending.clear();
        result = ImportReadResult();
        result.failed = true;
        result.error = L"XML load error.";
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_result = result;
    m_done = true;
    Post();
}

void CItunesLoadWorker::Add(TrackRecord&& record) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pending.push_back(std::move(record));
    if (!m_posted && GetTickCount() - m_lastPost >= kPostInterval) Post();
}

void CItunesLoadWorker::Post() {
    m_posted = true;
    m_lastPost = GetTickCount();
    ::PostMessageW(m_notify, m_message, 0, 0);
}
