#include "ui/views/MainFrame.h"
#include "app/AppSettings.h"
#include "app/FileNameRules.h"
#include "app/Larkspur2006App.h"
#include "document/Larkspur2006Doc.h"
#include "framework/FrameIds.h"
#include "framework/MessageBox.h"
#include "framework/SentMessageWait.h"
#include "resources/resource.h"
#include "ui/controls/BrowseForFolder.h"
#include "ui/dialogs/DlgTableHelp.h"
#include "ui/dialogs/LibraryDialogs.h"
#include "ui/controls/OdMenu.h"
#include "ui/views/KanaBaseTable.h"
#include "ui/views/PaneViews.h"
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
    ON_MESSAGE(WM_SYSCOMMAND, &CMainFrame::OnSysCommand)
    ON_COMMAND(ID_VIEW_PLAYBACK_BAR, &CMainFrame::OnViewPlaybackBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PLAYBACK_BAR, &CMainFrame::OnUpdateViewPlaybackBar)
    ON_COMMAND(ID_VIEW_SEEK_BAR, &CMainFrame::OnViewSeekBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SEEK_BAR, &CMainFrame::OnUpdateViewSeekBar)
    ON_COMMAND(ID_VIEW_MENU_BAR, &CMainFrame::OnViewMenuBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_MENU_BAR, &CMainFrame::OnUpdateViewMenuBar)
    ON_COMMAND(ID_VIEW_NAVIGATE_BAR, &CMainFrame::OnViewNavigateBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_NAVIGATE_BAR, &CMainFrame::OnUpdateViewNavigateBar)
    ON_COMMAND(ID_VIEW_SEARCH_BAR, &CMainFrame::OnViewSearchBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SEARCH_BAR, &CMainFrame::OnUpdateViewSearchBar)
    ON_COMMAND(ID_LOCK_TOOLBARS, &CMainFrame::OnLockToolbars)
    ON_UPDATE_COMMAND_UI(ID_LOCK_TOOLBARS, &CMainFrame::OnUpdateLockToolbars)
    ON_CONTROL(CBN_SELCHANGE, IDC_SEARCH_TEXT, &CMainFrame::StoreSearchWay)
    ON_COMMAND(IDC_SEEK_TIME, &CMainFrame::OnToggleTimeDisplay)
    // Actions, hot keys, tray icon, media keys, quick search and history (MainFrame*.cpp).
    ON_WM_SIZE()
    ON_MESSAGE(WM_HOTKEY, &CMainFrame::OnHotKey)
    ON_MESSAGE(WM_APPCOMMAND, &CMainFrame::OnAppCommand)
    ON_MESSAGE(WM_POWERBROADCAST, &CMainFrame::OnPowerBroadcast)
    ON_MESSAGE(WM_TIMER, &CMainFrame::OnTimerMessage)
    ON_REGISTERED_MESSAGE(CMainFrame::s_msgRunCommand, &CMainFrame::OnRunCommand)
    ON_REGISTERED_MESSAGE(CMainFrame::s_msgTaskTrayNotify, &CMainFrame::OnTrayNotify)
    ON_REGISTERED_MESSAGE(CMainFrame::s_msgTaskbarCreated, &CMainFrame::OnTaskbarCreated)
    ON_REGISTERED_MESSAGE(CMainFrame::s_msgComboEditReflect, &CMainFrame::OnSearchEnter)
    ON_COMMAND(ID_FOCUS_SEARCH, &CMainFrame::OnFocusSearch)
    ON_COMMAND(ID_QUICK_SEARCH, &CMainFrame::RunQuickSearch)
    ON_CONTROL(CBN_EDITCHANGE, IDC_SEARCH_TEXT, &CMainFrame::OnSearchTextEdited)
    ON_CONTROL(CBN_SELCHANGE, IDC_SEARCH_MODE, &CMainFrame::OnSearchWayChosen)
    ON_UPDATE_COMMAND_UI_RANGE(ID_HISTORY_FIRST, ID_HISTORY_LAST, &CMainFrame::OnUpdateHistoryItem)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() { FillKanaBaseTable(); }

CLarkspur2006Doc* CMainFrame::GetDocument() const {
    return dynamic_cast<CLarkspur2006Doc*>(GetActiveDocument());
}

CAppSettings& CMainFrame::Settings() const {
    if (CLarkspur2006Doc* doc = GetDocument()) return doc->GetSettings();
    static CAppSettings defaults;
    return defaults;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.style &= ~FWS_ADDTOTITLE;
    if (cs.hMenu && ::IsMenu(cs.hMenu)) ::DestroyMenu(cs.hMenu);
    cs.hMenu = nullptr;
    return TRUE;
}

void CMainFrame::OnUpdateFrameTitle(BOOL) {}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCTW, CCreateContext* context) {
    const INT32* s = Settings().mainWindow.placement.paneSizes;
    const auto view = [](MainPane pane) { return [pane] { return MakeMainPaneView(pane); }; };
    if (!m_wndSplitter.CreateStatic(this, 1, 2)) return FALSE;
    if (!m_wndSplitterLeft.CreateStatic(&m_wndSplitter, 3, 1, WS_CHILD | WS_VISIBLE, m_wndSplitter.IdFromRowCol(0, 0)) ||
        !m_wndSplitterRight.CreateStatic(&m_wndSplitter, 2, 1, WS_CHILD | WS_VISIBLE, m_wndSplitter.IdFromRowCol(0, 1)))
        return FALSE;
    if (!m_wndSplitterLeft.CreateView(0, 0, view(MainPane::QueryTree), SIZE{s[0], s[1]}, context) ||
        !m_wndSplitterLeft.CreateView(1, 0, view(MainPane::GroupingBar), SIZE{0, 0}, context) ||
        !m_wndSplitterLeft.CreateView(2, 0, view(MainPane::GroupView), SIZE{s[2], s[3]}, context) ||
        !m_wndSplitterRight.CreateView(0, 0, view(MainPane::Information), SIZE{s[4], s[5]}, context) ||
        !m_wndSplitterRight.CreateView(1, 0, view(MainPane::Playlist), SIZE{s[6], s[7]}, context))
        return FALSE;

    m_wndSplitter.SetColumnInfo(0, s[0], 0);
    m_wndSplitter.SetColumnInfo(1, s[4], 0);
    m_wndSplitterLeft.SetRowInfo(0, s[1], 0);
    m_wndSplitterLeft.SetRowInfo(1, 22, 0);
    m_wndSplitterLeft.SetRowInfo(2, s[3], 0);
    // The information pane is as high as its cover image needs, whatever was stored.
    m_wndSplitterRight.SetRowInfo(0, Settings().informationView.imageSize + 34, 0);

    // The grouping bar and the information pane keep their height.
    m_wndSplitterLeft.SetRowResizable(1, false);
    m_wndSplitterRight.SetRowResizable(0, false);
    return TRUE;
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg) {
    if (m_wndMenuBar.m_hWnd && m_wndMenuBar.TranslateFrameMessage(msg)) return TRUE;
    if (msg->message == WM_MOUSEWHEEL) {
        const POINT cursor{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
        if (HWND target = WheelTargetAt(cursor)) {
            ::SendMessageW(target, WM_MOUSEWHEEL, msg->wParam, msg->lParam);
            return TRUE;
        }
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

LRESULT CMainFrame::OnSysCommand(WPARAM command, LPARAM lParam) {
    if (command == ID_VIEW_MENU_BAR) {
        HMENU system = ::GetSystemMenu(m_hWnd, FALSE);
        const bool checked = system && (::GetMenuState(system, ID_VIEW_MENU_BAR, MF_BYCOMMAND) & MF_CHECKED);
        ShowMenuBar(!checked);
        return 0;
    }
    return Default(WM_SYSCOMMAND, command, lParam);
}

BOOL CMainFrame::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // Answered inside a wait of this thread (a query being read, a busy library): a close or
    // a command of another program would act on what the wait holds. It is posted again; a
    // query's reading takes the close as the request to stop.
    if (InsideAnsweringWait() && (msg == WM_CLOSE || msg == WM_APPCOMMAND || msg == s_msgRunCommand)) {
        PostMessage(msg, wParam, lParam);
        *result = msg == WM_APPCOMMAND ? TRUE : 0;
        return TRUE;
    }
    switch (msg) {
    case WM_INITMENUPOPUP: {
        // The update handlers first, then the owner-drawn look.
        const BOOL handled = CFrameWnd::OnWndMsg(msg, wParam, lParam, result);
        LRESULT ignored = 0;
        return OdMenuOnMessage(m_hWnd, msg, wParam, lParam, &ignored) || handled;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item && item->CtlType != ODT_MENU && item->hwndItem == m_wndStatusBar.m_hWnd && m_wndStatusBar.m_hWnd) {
            m_wndStatusBar.DrawItem(item);
            *result = TRUE;
            return TRUE;
        }
        [[fallthrough]];
    }
    case WM_MEASUREITEM:
    case WM_MENUCHAR:
        if (OdMenuOnMessage(m_hWnd, msg, wParam, lParam, result)) return TRUE;
        break;
    default:
        break;
    }
    return CFrameWnd::OnWndMsg(msg, wParam, lParam, result);
}

LRESULT CMainFrame::OnDropFiles(WPARAM drop, LPARAM) {
    // Files dropped from the shell are read and let go; nothing is done with them. A name
    // that is a device ("com1.mp3") is not even asked for its attributes.
    HDROP files = reinterpret_cast<HDROP>(drop);
    const UINT count = ::DragQueryFileW(files, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t name[MAX_PATH] = {};
        if (::DragQueryFileW(files, i, name, MAX_PATH) && !EndsInReservedDeviceName(name)) ::GetFileAttributesW(name);
    }
    ::DragFinish(files);
    return 0;
}

int CMainFrame::OnCreate(LPCREATESTRUCTW cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    m_dialogs.owner = m_hWnd;
    // Every bar and band added would lay the whole window out again: once, at the end.
    HoldLayout();
    if (!CreateBars()) {
        ReleaseLayout();
        return -1;
    }
    RegisterHotKeys();
    LoadBarLayout();
    ReleaseLayout();
    if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) {
        ::InsertMenuW(system, SC_CLOSE, MF_BYCOMMAND | MF_STRING, ID_VIEW_MENU_BAR, L"メニュー(&M)");
        ::InsertMenuW(system, SC_CLOSE, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
        CheckSystemMenuItem();
    }
    ::DragAcceptFiles(m_hWnd, TRUE);
    ApplyTrayIconSetting();
    InstallKeyboardHook();
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
    RemoveKeyboardHook();
    RemoveTrayIcon();
    if (!SaveBarLayout()) {
        if (auto* app = dynamic_cast<CLarkspur2006App*>(AfxGetApp())) app->NoteUnsavedFile(app->GetProfileFile());
    }
    UnregisterHotKeys();
    if (m_wndSearchEdit.m_hWnd) {
        m_wndSearchEdit.RevokeDropTarget();
        m_wndSearchEdit.UnsubclassWindow();
    }
    StorePlacement();
    StorePaneSizes();
    StoreSearchWay();
}

void CMainFrame::StorePlacement() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (::GetWindowPlacement(m_hWnd, &placement)) Settings().mainWindow.placement.placement = placement;
}

void CMainFrame::StorePaneSizes() {
    if (!m_wndSplitter.m_hWnd || !m_wndSplitterLeft.m_hWnd || !m_wndSplitterRight.m_hWnd) return;
    // Splitters never laid out (a start that failed) have no sizes worth keeping.
    RECT client{};
    ::GetClientRect(m_wndSplitter.m_hWnd, &client);
    if (::IsRectEmpty(&client)) return;
    INT32* s = Settings().mainWindow.placement.paneSizes;
    int size = 0, minimum = 0;
    m_wndSplitter.GetColumnInfo(0, size, minimum);
    s[0] = size;
    m_wndSplitterLeft.GetRowInfo(0, size, minimum);
    s[1] = size;
    m_wndSplitterLeft.GetRowInfo(2, size, minimum);
    s[3] = size;
    m_wndSplitterRight.GetRowInfo(0, size, minimum);
    s[5] = size;
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
    auto* app = dynamic_cast<CLarkspur2006App*>(AfxGetApp());
    if (app) app->BeginSessionEnd();
    // Inside a wait the window cannot go: the settings are written as they stand.
    if (InsideAnsweringWait()) {
        if (app) app->WriteSettings();
        PostMessage(WM_CLOSE);
        return 0;
    }
    // The process ends after this returns: shut down as on a close, then write the settings
    // that the shut-down has stored. This object is gone after DestroyWindow.
    DestroyWindow();
    if (app) app->WriteFinalSettings();
    return 0;
}

int CMainFrame::ShowMessage(const std::wstring& text, UINT type) { return AfxMessageBox(text, type); }

void CMainFrame::SetStatusText(const std::wstring& text) {
    if (!m_hWnd) return;
    if (text.empty()) SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
    else SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

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

bool CMainFrame::RunLibraryProperties(CLarkspur2006Doc& doc) { return RunDatabaseProperties(doc); }

bool CMainFrame::RunImport(CLarkspur2006Doc& doc) { return RunImportDialog(doc); }

// Over the popup that was active last, so the help opens on top of the query editor.
void CMainFrame::RunTableHelp() {
    HWND owner = ::GetLastActivePopup(m_hWnd);
    CDlgTableHelp dialog(CWnd::FromHandle(owner ? owner : m_hWnd));
    dialog.DoModal();
}
