#include "ui/views/SpecUIThread.h"
#include "framework/SentMessageWait.h"
#include <memory>

// ---- CSpecWnd --------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSpecWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

const wchar_t* CSpecWnd::ClassName() {
    static const wchar_t name[] = L"LarkSpectrumWnd";
    static const bool registered = [] {
        WNDCLASSEXW wc{sizeof wc};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    return name;
}

void CSpecWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    HBRUSH brush = ::CreateSolidBrush(m_settings.informationView.colorBackground);
    ::FillRect(dc, &rc, brush);
    ::DeleteObject(brush);
    ::EndPaint(m_hWnd, &ps);
}

void CSpecWnd::PostNcDestroy() {
    // The thread lives for its window.
    ::PostQuitMessage(0);
}

// ---- CSpecUIThread ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSpecUIThread, CWinThread)
    ON_THREAD_MESSAGE(SpecMsgDraw, &CSpecUIThread::OnDraw)
    ON_THREAD_MESSAGE(SpecMsgDestroy, &CSpecUIThread::OnDestroyWindow)
    ON_THREAD_MESSAGE(SpecMsgColorTable, &CSpecUIThread::OnColorTable)
    ON_THREAD_MESSAGE(SpecMsgMove, &CSpecUIThread::OnMove)
END_MESSAGE_MAP()

CSpecUIThread::CSpecUIThread(HWND parent, const CAppSettings& settings, CRITICAL_SECTION* lock,
                             const PlayerStatusBlock* status)
    : m_parent(parent), m_settings(settings), m_lock(lock), m_status(status), m_wnd(settings) {
    m_ready = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

CSpecUIThread::~CSpecUIThread() {
    Stop(500);
    ::CloseHandle(m_ready);
}

bool CSpecUIThread::Start(int priority, DWORD ms) {
    if (m_hThread) return true;
    if (!CreateThread(CREATE_SUSPENDED)) return false;
    if (priority != 0) SetThreadPriority(priority);
    ResumeThread();
    // The thread creates a child of the pane, which may send to this thread: answer while
    // waiting. Nothing is posted to the thread before its queue exists.
    return WaitAnsweringSentMessages(m_ready, ms);
}

bool CSpecUIThread::Stop(DWORD ms) {
    if (!m_hThread) return true;
    if (IsRunning()) {
        PostThreadMessage(SpecMsgDestroy, 0, 0);
        PostThreadMessage(WM_QUIT, 0, 0);   // also when the window never came to be
    }
    const bool inTime = WaitForEnd(ms);
    ::CloseHandle(m_hThread);
    m_hThread = nullptr;
    m_nThreadID = 0;
    return inTime;
}

void CSpecUIThread::PostColorTable(const SpecColorRecord& record) {
    {
        std::lock_guard<std::mutex> hold(m_keptLock);
        m_keptColors = record;
    }
    auto* copy = new SpecColorRecord(record);
    if (!PostThreadMessage(SpecMsgColorTable, reinterpret_cast<WPARAM>(copy), 0)) delete copy;
}

void CSpecUIThread::PostMove(const SpecMoveRecord& record) {
    {
        std::lock_guard<std::mutex> hold(m_keptLock);
        m_keptMove = record;
    }
    auto* copy = new SpecMoveRecord(record);
    if (!PostThreadMessage(SpecMsgMove, reinterpret_cast<WPARAM>(copy), 0)) delete copy;
}

void CSpecUIThread::ApplyKeptRecords() {
    // Called once the queue exists: a post that failed before is kept here, a later one is
    // queued as well and merely applied again.
    std::optional<SpecColorRecord> colors;
    std::optional<SpecMoveRecord> move;
    {
        std::lock_guard<std::mutex> hold(m_keptLock);
        colors = m_keptColors;
        move = m_keptMove;
    }
    if (colors) ApplyColorTable(*colors);
    if (move) ApplyMove(*move);
}

BOOL CSpecUIThread::InitInstance() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);   // the queue exists from here on
    m_wnd.CreateEx(WS_EX_NOPARENTNOTIFY, CSpecWnd::ClassName(), L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                   m_parent, 3333);
    m_pMainWnd = &m_wnd;
    m_names[0] = ::RegisterWindowMessageW(L"SpecUIMsg_Destroy");
    m_names[1] = ::RegisterWindowMessageW(L"SpecUIMsg_DrawSpec");
    m_names[2] = ::RegisterWindowMessageW(L"SpecUIMsg_InitColorTable");
    m_names[3] = ::RegisterWindowMessageW(L"SpecUIMsg_MoveWindow");
    if (m_wnd.m_hWnd) ApplyKeptRecords();
    ::SetEvent(m_ready);
    return m_wnd.m_hWnd ? TRUE : FALSE;
}

int CSpecUIThread::ExitInstance() {
    if (m_wnd.m_hWnd) m_wnd.DestroyWindow();
    // Records still queued belong to this thread: free them.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd) continue;
        if (msg.message == SpecMsgColorTable) delete reinterpret_cast<SpecColorRecord*>(msg.wParam);
        if (msg.message == SpecMsgMove) delete reinterpret_cast<SpecMoveRecord*>(msg.wParam);
    }
    return CWinThread::ExitInstance();
}

void CSpecUIThread::OnDestroyWindow(WPARAM, LPARAM) {
    if (m_wnd.m_hWnd) m_wnd.DestroyWindow();
}

void CSpecUIThread::OnColorTable(WPARAM wParam, LPARAM) {
    std::unique_ptr<SpecColorRecord> record(reinterpret_cast<SpecColorRecord*>(wParam));
    if (record) ApplyColorTable(*record);
}

void CSpecUIThread::ApplyColorTable(const SpecColorRecord& record) {
    BuildSpecColorTable(record.height, record.maxColor, record.minColor, record.background, m_table);
    if (!m_dib.Empty()) m_dib.Fill(m_table.background);
}

void CSpecUIThread::OnMove(WPARAM wParam, LPARAM) {
    std::unique_ptr<SpecMoveRecord> record(reinterpret_cast<SpecMoveRecord*>(wParam));
    if (record) ApplyMove(*record);
}

void CSpecUIThread::ApplyMove(const SpecMoveRecord& record) {
    if (m_wnd.m_hWnd)
        ::SetWindowPos(m_wnd.m_hWnd, nullptr, record.x, record.y, record.width, record.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    // A new size (the spectrum height changed) needs a new bitmap.
    if (m_dib.Empty() || m_dib.width != record.width || m_dib.height != record.height) {
        m_dib.Create(record.width, record.height);
        m_dib.Fill(SpecPixel(m_settings.informationView.colorBackground));
    }
    if (m_wnd.m_hWnd) ::InvalidateRect(m_wnd.m_hWnd, nullptr, TRUE);
}

void CSpecUIThread::OnDraw(WPARAM, LPARAM) {
    if (m_dib.Empty()) return;
    const PlayerStatusBlock* status = m_status.load();
    if (!status) {
        m_dib.Fill(m_table.background);
        return;
    }
    ::EnterCriticalSection(m_lock);
    m_frame.state = status->state;
    std::copy(std::begin(status->spectrum), std::end(status->spectrum), std::begin(m_frame.spectrum));
    ::LeaveCriticalSection(m_lock);
    if (m_frame.state != PlayStatePlaying || m_table.rows.empty()) {
        m_dib.Fill(m_table.rows.empty() ? SpecPixel(m_settings.informationView.colorBackground) : m_table.background);
    } else {
        DrawSpecBars(m_dib, m_table, m_frame.spectrum, m_settings.informationView.specX,
                     m_settings.informationView.specY);
    }
    CopyToWindow();
}

void CSpecUIThread::CopyToWindow() {
    if (!m_wnd.m_hWnd || m_dib.Empty()) return;
    HDC dc = ::GetDC(m_wnd.m_hWnd);
    if (!dc) return;
    BITMAPINFO info{};
    info.bmiHeader = m_dib.header;
    ::SetDIBitsToDevice(dc, 0, 0, m_dib.width, m_dib.height, 0, 0, 0, m_dib.height, m_dib.pixels.data(), &info,
                        DIB_RGB_COLORS);
    ::ReleaseDC(m_wnd.m_hWnd, dc);
}
