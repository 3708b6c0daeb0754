#include "ui/views/MainFrame.h"
#include "app/Larkspur2006App.h"
#include "document/Larkspur2006Doc.h"
#include "framework/MessageBox.h"
#include "ui/controls/BrowseForFolder.h"
#include "ui/views/KanaBaseTable.h"
#include "ui/views/WheelRoute.h"
#include <shellapi.h>

namespace {
const UINT kBassSyncMsg = CLarkspur2006Doc::GetBassSyncMsg();
}

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_REGISTERED_MESSAGE(kBassSyncMsg, &CMainFrame::OnBassSync)
    ON_MESSAGE(WM_QUERYENDSESSION, &CMainFrame::OnQueryEndSession)
    ON_MESSAGE(WM_ENDSESSION, &CMainFrame::OnEndSession)
    ON_MESSAGE(WM_DROPFILES, &CMainFrame::OnDropFiles)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() { FillKanaBaseTable(); }

CLarkspur2006Doc* CMainFrame::GetDocument() const {
    return dynamic_cast<CLarkspur2006Doc*>(GetActiveDocument());
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.style &= ~FWS_ADDTOTITLE;
    if (cs.hMenu && ::IsMenu(cs.hMenu)) ::DestroyMenu(cs.hMenu);
    cs.hMenu = nullptr;
    return TRUE;
}

void CMainFrame::OnUpdateFrameTitle(BOOL) {}

BOOL CMainFrame::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_MOUSEWHEEL) {
        const POINT cursor{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
        if (HWND target = WheelTargetAt(cursor)) {
            ::SendMessageW(target, WM_MOUSEWHEEL, msg->wParam, msg->lParam);
            return TRUE;
        }
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

LRESULT CMainFrame::OnDropFiles(WPARAM drop, LPARAM) {
    // Files dropped from the shell are read and let go; nothing is done with them.
    HDROP files = reinterpret_cast<HDROP>(drop);
    const UINT count = ::DragQueryFileW(files, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t name[MAX_PATH] = {};
        if (::DragQueryFileW(files, i, name, MAX_PATH)) ::GetFileAttributesW(name);
    }
    ::DragFinish(files);
    return 0;
}

int CMainFrame::OnCreate(LPCREATESTRUCTW cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    m_dialogs.owner = m_hWnd;
    ::DragAcceptFiles(m_hWnd, TRUE);
    // The document starts after this: its audio engine and end-of-track messages need the window.
    if (CLarkspur2006Doc* doc = GetDocument()) {
        doc->SetPlayerHost(this);
        doc->SetHost(this);
    }
    return 0;
}

void CMainFrame::OnDestroy() {
    // The document closes while the views and the windows that listen to the player still
    // exist (a WM_CLOSE has closed it already), and never calls this window again.
    if (CLarkspur2006Doc* doc = GetDocument()) {
        doc->OnCloseDocument();
        doc->SetPlayerHost(nullptr);
        doc->SetHost(nullptr);
    }
}

LRESULT CMainFrame::OnBassSync(WPARAM stream, LPARAM) {
    if (CLarkspur2006Doc* doc = GetDocument()) doc->OnEndOfTrack(static_cast<DWORD>(stream));
    return 0;
}

LRESULT CMainFrame::OnQueryEndSession(WPARAM, LPARAM) {
    // Windows may end the process without asking again: what the user set is kept now.
    if (auto* app = dynamic_cast<CLarkspur2006App*>(AfxGetApp())) app->WriteSettings();
    return TRUE;
}

LRESULT CMainFrame::OnEndSession(WPARAM ending, LPARAM) {
    if (!ending) return 0;
    // The process ends after this returns: shut down as on a close, then write the settings
    // that the shut-down has stored. This object is gone after DestroyWindow.
    auto* app = dynamic_cast<CLarkspur2006App*>(AfxGetApp());
    DestroyWindow();
    if (app) app->WriteSettings();
    return 0;
}

int CMainFrame::ShowMessage(const std::wstring& text, UINT type) { return AfxMessageBox(text, type); }

bool CMainFrame::ShowFileDialog(const FileDialogRequest& request, FileDialogResult& result) {
    return m_dialogs.ShowFileDialog(request, result);
}

int CMainFrame::BrowseForFolder(std::wstring& folder, bool& subfolders) {
    CBrowseForFolder browser;
    if (browser.Browse(m_hWnd, folder.empty() ? nullptr : folder.c_str()) != CBrowseForFolder::kChosen) return 2;
    folder = browser.GetPath();
    subfolders = browser.GetSubFolderFlag() == 1;
    return 1;
}

bool CMainFrame::ChooseFontName(std::wstring& faceName) { return m_dialogs.ChooseFontName(faceName); }
