#include "document/LibraryCheck.h"
#include "document/SQLite.h"
#include "document/SqlFunctions.h"
#include "framework/SentMessageWait.h"
#include "tags/TagText.h"
#include <sqlite3.h>
#include <atomic>
#include <mutex>

namespace {

const wchar_t kWindowClass[] = L"LarkLibraryCheck";
const UINT kBeginMessage = WM_APP + 1;
const UINT kDoneMessage = WM_APP + 2;
// A check that gave way to a writer runs again after this long, as a timer: its message comes
// only when the thread has nothing else to do.
const UINT_PTR kRerunTimer = 1;
const UINT kRerunDelayMs = 2000;
const int kMaxFindingLines = 20;
const int kBusyTimeoutMs = 1000;

}  // namespace

// What the check thread and the object share; the thread holds its own reference, so a
// thread left running at close never touches freed memory.
struct CLibraryCheck::Shared {
    std::wstring path;
    std::wstring statement = L"PRAGMA quick_check;";
    std::atomic<int> outcome{NotRun};
    std::wstring findings;   // written by the thread before it posts kDoneMessage

    std::mutex mutex;          // guards the four below
    sqlite3* db = nullptr;     // while the check has its connection open
    HWND window = nullptr;     // where kDoneMessage goes
    bool quit = false;
    bool gaveWay = false;      // interrupted for a writer
};

namespace {

void RunCheck(CLibraryCheck::Outcome& outcome, std::wstring& findings, sqlite3* db, const std::wstring& statement) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    RegisterSqlFunctions(db);   // an index on one of them can be checked too
    sqlite3_stmt* stmt = nullptr;
    int rc = PrepareLocked(db, statement, &stmt);
    bool sound = true;
    int lines = 0;
    if (rc == SQLITE_OK && stmt) {
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            const auto* text = static_cast<const wchar_t*>(sqlite3_column_text16(stmt, 0));
            const std::wstring line = text ? text : L"";
            if (line == L"ok") continue;
            sound = false;
            if (lines++ < kMaxFindingLines) findings += line + L"\r\n";
        }
    }
    const int primary = rc & 0xFF;
    if (rc == SQLITE_DONE) {
        outcome = sound ? CLibraryCheck::Sound : CLibraryCheck::Damaged;
    } else if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) {
        findings += static_cast<const wchar_t*>(sqlite3_errmsg16(db));
        outcome = CLibraryCheck::Damaged;
    } else {
        outcome = CLibraryCheck::Inconclusive;   // busy, interrupted, unreadable
    }
    if (stmt) sqlite3_finalize(stmt);
}

}  // namespace

CLibraryCheck::CLibraryCheck() : m_shared(std::make_shared<Shared>()) {}

void CLibraryCheck::SetStatement(std::wstring statement) {
    m_shared->statement = std::move(statement);
}

CLibraryCheck::~CLibraryCheck() { Stop(); }

CLibraryCheck::Outcome CLibraryCheck::GetOutcome() const {
    return static_cast<Outcome>(m_shared->outcome.load());
}

bool CLibraryCheck::Start(const std::wstring& path, std::function<void(const std::wstring&)> onDamaged) {
    if (m_window || m_shared->outcome.load() != NotRun) return false;
    static const ATOM registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &CLibraryCheck::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kWindowClass;
        return RegisterClassW(&wc);
    }();
    (void)registered;
    m_window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!m_window) return false;
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_shared->path = path;
    m_shared->window = m_window;
    m_onDamaged = std::move(onDamaged);
    m_shared->outcome = Waiting;
    // The thread starts once the message loop runs: after the start, not during it.
    PostMessageW(m_window, kBeginMessage, 0, 0);
    return true;
}

DWORD WINAPI CLibraryCheck::ThreadProc(void* arg) {
    const std::unique_ptr<std::shared_ptr<Shared>> holder(static_cast<std::shared_ptr<Shared>*>(arg));
    Shared& s = **holder;
    Outcome outcome = Inconclusive;
    std::wstring findings;
    try {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(tagReader::WideToUtf8(s.path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            bool quit;
            {
                std::lock_guard<std::mutex> lock(s.mutex);
                quit = s.quit;
                if (!quit) s.db = db;
            }
            if (!quit) RunCheck(outcome, findings, db, s.statement);
            std::lock_guard<std::mutex> lock(s.mutex);
            s.db = nullptr;
        }
        sqlite3_close(db);
    } catch (...) {
        outcome = Inconclusive;
    }
    s.findings = findings;
    std::lock_guard<std::mutex> lock(s.mutex);
    // An interrupted check can end with pages it never reached listed as unused.
    if ((s.quit || s.gaveWay) && outcome != Sound) outcome = Inconclusive;
    s.outcome = outcome;
    if (!s.quit && s.window) PostMessageW(s.window, kDoneMessage, 0, 0);
    return 0;
}

void CLibraryCheck::BeginThread() {
    auto* reference = new std::shared_ptr<Shared>(m_shared);
    m_thread = CreateThread(nullptr, 0, &CLibraryCheck::ThreadProc, reference, CREATE_SUSPENDED, nullptr);
    if (!m_thread) {
        delete reference;
        m_shared->outcome = Inconclusive;
        return;
    }
    m_shared->outcome = Running;
    SetThreadPriority(m_thread, THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(m_thread);
}

void CLibraryCheck::OnDone() {
    if (m_thread) {
        WaitAnsweringSentMessages(m_thread, INFINITE);   // it posted as its last act
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    bool again;
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        again = m_shared->gaveWay && !m_shared->quit && GetOutcome() == Inconclusive;
        if (again) {
            m_shared->gaveWay = false;
            m_shared->findings.clear();
            m_shared->outcome = Waiting;
        }
    }
    if (again) {
        if (!SetTimer(m_window, kRerunTimer, kRerunDelayMs, nullptr)) m_shared->outcome = Inconclusive;
        return;
    }
    if (GetOutcome() == Damaged && m_onDamaged) {
        auto report = std::move(m_onDamaged);
        m_onDamaged = nullptr;
        report(m_shared->findings);
    }
}

LRESULT CALLBACK CLibraryCheck::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CLibraryCheck*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const bool rerun = msg == WM_TIMER && wParam == kRerunTimer;
    if (self && (msg == kBeginMessage || msg == kDoneMessage || rerun)) {
        try {
            if (rerun) KillTimer(hwnd, kRerunTimer);
            if (msg == kDoneMessage) self->OnDone();
            else self->BeginThread();
        } catch (...) {
            // Nothing leaves a window procedure; the check just says nothing.
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool CLibraryCheck::Stop(DWORD ms) {
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->quit = true;
        m_shared->window = nullptr;
    }
    if (m_window) {
        DestroyWindow(m_window);
        m_window = nullptr;
    }
    m_onDamaged = nullptr;
    if (m_shared->outcome.load() == Waiting) m_shared->outcome = NotRun;
    if (!m_thread) return true;
    // An interrupt that lands before the statement starts is forgotten by SQLite: repeat it
    // until the thread ends.
    const DWORD start = GetTickCount();
    bool ended = false;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            if (m_shared->db) sqlite3_interrupt(m_shared->db);
        }
        ended = WaitAnsweringSentMessages(m_thread, 50);
        if (ended || GetTickCount() - start >= ms) break;
    }
    CloseHandle(m_thread);
    m_thread = nullptr;
    return ended;
}

bool CLibraryCheck::GiveWay() {
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    if (!m_shared->db) return false;
    // Repeated on each wait of the writer: an interrupt that lands before the statement
    // starts is forgotten.
    m_shared->gaveWay = true;
    sqlite3_interrupt(m_shared->db);
    return true;
}
