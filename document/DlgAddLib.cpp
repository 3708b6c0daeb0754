#include "document/DlgAddLib.h"
#include "document/Larkspur2006Doc.h"
#include "framework/SentMessageWait.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CDlgAddLib, CDialog)
    ON_MESSAGE(CDlgAddLib::kMsgStatusText, &CDlgAddLib::OnStatusText)
    ON_MESSAGE(CDlgAddLib::kMsgFinished, &CDlgAddLib::OnFinished)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDlgAddLib::CDlgAddLib(CWnd* parent) : CDialog(IDD_ADDLIB, parent) {
    InitializeCriticalSection(&m_statusLock);
    m_context.status = this;
}

CDlgAddLib::~CDlgAddLib() {
    WaitForWorker();
    DeleteCriticalSection(&m_statusLock);
}

void CDlgAddLib::SetFolder(CLarkspur2006Doc* doc, const std::wstring& folder, bool subfolders) {
    m_context.mode = AddLibraryContext::ScanFolder;
    m_context.doc = doc;
    m_context.folder = folder;
    m_context.subfolders = subfolders;
}

void CDlgAddLib::SetFiles(CLarkspur2006Doc* doc, const std::deque<std::wstring>& files) {
    m_context.mode = AddLibraryContext::UpdateFiles;
    m_context.doc = doc;
    m_context.files = files;
}

BOOL CDlgAddLib::OnInitDialog() {
    CDialog::OnInitDialog();
    m_context.cancel = false;
    m_context.unwritable = false;
    m_context.count = 0;
    m_finished = false;
    const bool scan = m_context.mode == AddLibraryContext::ScanFolder;
    SetWindowText(scan ? L"ライブラリの追加・更新" : L"ライブラリの更新");
    LPTHREAD_START_ROUTINE proc = nullptr;
    if (m_context.doc) {
        if (scan) proc = &AddLibraryThreadProc;
        else if (m_context.mode == AddLibraryContext::UpdateFiles) proc = &UpdateLibraryThreadProc;
    }
    if (proc) {
        m_thread = CreateThread(nullptr, 0, proc, &m_context, CREATE_SUSPENDED, nullptr);
        if (m_thread) ResumeThread(m_thread);
    }
    if (!m_thread) {
        // Nothing runs: the dialog can only be closed.
        m_finished = true;
        OnFinished(0, 0);
    }
    return TRUE;
}

void CDlgAddLib::SetLibraryStatusText(const std::wstring& text) {
    EnterCriticalSection(&m_statusLock);
    m_statusText = text;
    LeaveCriticalSection(&m_statusLock);
    // Waits until the dialog has shown it (a window already gone answers at once).
    ::SendMessageW(m_hWnd, kMsgStatusText, 0, 0);
}

void CDlgAddLib::OnLibraryWorkerFinished() { ::PostMessageW(m_hWnd, kMsgFinished, 0, 0); }

LRESULT CDlgAddLib::OnStatusText(WPARAM, LPARAM) {
    EnterCriticalSection(&m_statusLock);
    ::SetDlgItemTextW(m_hWnd, IDC_ADDLIB_STATUS, m_statusText.c_str());
    LeaveCriticalSection(&m_statusLock);
    return 0;
}

LRESULT CDlgAddLib::OnFinished(WPARAM, LPARAM) {
    m_finished = true;
    if (m_context.unwritable && m_context.doc) m_context.doc->ReportLibraryUnwritable();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), FALSE);
    HWND close = ::GetDlgItem(m_hWnd, IDOK);
    ::EnableWindow(close, TRUE);
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(close), TRUE);
    return 0;
}

void CDlgAddLib::OnOK() {
    if (!m_finished) {
        OnCancel();
        return;
    }
    WaitForWorker();
    CDialog::OnOK();
}

void CDlgAddLib::OnCancel() { m_context.cancel = true; }

void CDlgAddLib::OnDestroy() {
    // Destroyed from outside while the worker runs: it stops, and nothing it uses goes first.
    m_context.cancel = true;
    WaitForWorker();
}

void CDlgAddLib::WaitForWorker() {
    if (!m_thread) return;
    WaitAnsweringSentMessages(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
}
