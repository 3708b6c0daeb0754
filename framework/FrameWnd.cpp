#include "framework/FrameWnd.h"
#include "framework/ControlBar.h"
#include "framework/FrameIds.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MessageBox.h"
#include "framework/View.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
    ON_COMMAND_RANGE(ID_NEXT_PANE, ID_PREV_PANE, &CFrameWnd::OnNextPane)
    ON_UPDATE_COMMAND_UI_RANGE(ID_NEXT_PANE, ID_PREV_PANE, &CFrameWnd::OnUpdateNextPane)
    ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
    ON_MESSAGE(WM_MENUSELECT, &CFrameWnd::OnMenuSelect)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, HWND parent, CCreateContext* context) {
    m_resourceId = resourceId;
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    HMENU menu = ::LoadMenuW(inst, MAKEINTRESOURCEW(resourceId));
    m_accel = ::LoadAcceleratorsW(inst, MAKEINTRESOURCEW(resourceId));
    std::wstring all = AfxLoadString(resourceId);
    m_appTitle = all.substr(0, all.find(L'\n'));
    if (m_appTitle.empty() && AfxGetApp()) m_appTitle = AfxGetApp()->GetAppTitle();

    if (context) SetOwnedDocument(context->document);
    m_createContext = context;
    BOOL ok = CreateEx(0, nullptr, m_appTitle.c_str(), style & ~FWS_ADDTOTITLE, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, reinterpret_cast<UINT_PTR>(menu));
    m_createContext = nullptr;
    if (!ok) {
        // A window destroyed during its creation took its menu with it.
        if (menu && ::IsMenu(menu)) ::DestroyMenu(menu);
        m_ownedDocument = nullptr;   // the caller still owns it
        return FALSE;
    }
    HICON icon = ::LoadIconW(inst, MAKEINTRESOURCEW(resourceId));
    if (icon) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTW cs) {
    return OnCreateClient(cs, m_createContext) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTW, CCreateContext* context) {
    if (!context || !context->newView) return TRUE;
    CView* view = CreateView(context);
    if (!view) return FALSE;
    SetActiveView(view);
    return TRUE;
}

CView* CFrameWnd::CreateView(CCreateContext* context, UINT id, HWND parent) {
    if (!context || !context->newView) return nullptr;
    CView* view = context->newView();
    RECT r{0, 0, 0, 0};
    if (!view->Create(WS_CHILD | WS_VISIBLE, r, parent ? parent : m_hWnd, id, context)) {
        if (view->m_pDocument) view->m_pDocument->RemoveView(view);
        delete view;
        return nullptr;
    }
    return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible) {
    if (doc) {
        std::vector<CView*> views = doc->GetViews();
        for (CView* v : views) v->OnInitialUpdate();
    }
    OnUpdateFrameTitle(TRUE);
    RecalcLayout();
    if (makeVisible) {
        CWinApp* app = AfxGetApp();
        int show = app ? app->m_nCmdShow : SW_SHOWNORMAL;
        if (show != SW_HIDE) {
            ShowWindow(show);
            UpdateWindow();
        }
    }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    CDocument* doc = GetActiveDocument();
    std::wstring title = m_appTitle;
    if (addToTitle && doc && !doc->GetTitle().empty() && doc->GetTitle() != m_appTitle)
        title = doc->GetTitle() + L" - " + m_appTitle;
    SetWindowText(title);
}

void CFrameWnd::RecalcLayout() {
    if (!m_hWnd) return;
    if (m_layoutHolds > 0) {
        m_layoutDue = true;
        return;
    }
    m_layoutDue = false;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    RepositionBars(rc);
    // What the bars leave goes to the client window: a view, or a splitter holding several.
    HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (pane) ::MoveWindow(pane, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

void CFrameWnd::ReleaseLayout() {
    if (m_layoutHolds > 0 && --m_layoutHolds == 0 && m_layoutDue) RecalcLayout();
}

CDocument* CFrameWnd::GetActiveDocument() const {
    if (m_activeView && m_activeView->m_pDocument) return m_activeView->m_pDocument;
    return m_ownedDocument;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, UINT code, void* extra) {
    if (m_activeView && m_activeView->OnCmdMsg(id, code, extra)) return TRUE;
    if (!m_activeView) {
        if (CDocument* doc = GetActiveDocument())
            if (doc->OnCmdMsg(id, code, extra)) return TRUE;
    }
    if (CWnd::OnCmdMsg(id, code, extra)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app ? app->OnCmdMsg(id, code, extra) : FALSE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (m_accel && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::TranslateAcceleratorW(m_hWnd, m_accel, msg) != 0;
    return FALSE;
}

void CFrameWnd::OnClose() {
    if (CDocument* doc = GetActiveDocument()) doc->OnCloseDocument();
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT type, int, int) {
    if (type != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(HWND) {
    if (m_activeView && m_activeView->m_hWnd) ::SetFocus(m_activeView->m_hWnd);
}

void CFrameWnd::OnInitMenuPopup(HMENU popup, UINT, BOOL sysMenu) {
    if (!sysMenu) UpdateMenuItems(popup, m_bAutoMenuEnable);
}

void CFrameWnd::PostNcDestroy() {
    CDocument* doc = m_ownedDocument;
    m_ownedDocument = nullptr;
    delete doc;
    delete this;
}
