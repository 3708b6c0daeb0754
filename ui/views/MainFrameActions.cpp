// The main frame's action dispatcher, and the inputs that reach the document without the
// command routing: "LarkRunCommandMsg", media keys, the suspend notification and the timers.
#include "ui/views/MainFrame.h"
#include "app/AppSettings.h"
#include "app/ViewHints.h"
#include "document/Larkspur2006Doc.h"
#include "framework/FrameIds.h"
#include "framework/PopupMenu.h"
#include "framework/SplitterWnd.h"
#include "framework/View.h"
#include "ui/views/ActionCodes.h"
#include "ui/views/QuickSearch.h"

const UINT CMainFrame::s_msgRunCommand = ::RegisterWindowMessageW(L"LarkRunCommandMsg");

namespace {
const int kPlaybackMenu = 3;
}  // namespace

BOOL CMainFrame::ExecuteAction(int code) {
    CLarkspur2006Doc* doc = GetDocument();
    if (!doc || !IsActionCode(code)) return FALSE;
    CAppSettings& settings = doc->GetSettings();
    const int state = doc->GetPlayState();
    switch (code) {
    case ActionShowWindow: ShowMainWindow(); break;
    case ActionToggleMinimized:
        if (::IsIconic(m_hWnd)) ShowMainWindow();
        else ShowWindow(SW_MINIMIZE);
        break;
    case ActionShowCoverWindow:
        settings.imageWindow.windowShow = true;
        doc->UpdateAllViews(nullptr, HintCoverWindowShown);
        break;
    case ActionToggleCoverWindow: doc->OnJacketWindow(); break;
    case ActionShowLyricsWindow:
        settings.lyricsWindow.windowShow = true;
        doc->UpdateAllViews(nullptr, HintLyricsWindowShown);
        break;
    case ActionToggleLyricsWindow: doc->OnLyricsWindow(); break;
    case ActionShowBalloon:
        if (state == PlayStatePlaying) UpdateTrayInfo(&doc->GetNowPlaying(), false, nullptr, nullptr, NIIF_INFO);
        break;
    case ActionFocusQueryTree: ShowMainWindow(); ActivatePane(true, 0); break;
    case ActionFocusGroupView: ShowMainWindow(); ActivatePane(true, 2); break;
    case ActionFocusPlaylist: ShowMainWindow(); ActivatePane(false, 1); break;
    case ActionFocusInfoPane: ShowMainWindow(); ActivatePane(false, 0); break;
    case ActionFocusSearch:
        ShowMainWindow();
        if (m_wndSearchText.m_hWnd) m_wndSearchText.SetFocus();
        break;
    case ActionPlaybackMenu: {
        ::SetForegroundWindow(m_hWnd);
        HMENU menu = m_wndMenuBar.GetMenu();
        HMENU playback = menu ? ::GetSubMenu(menu, kPlaybackMenu) : nullptr;
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (playback) AfxTrackPopupMenu(playback, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, m_hWnd);
        break;
    }
    case ActionStop: doc->Stop(true); break;
    case ActionPlayPause:
        if (state == PlayStatePlaying || state == PlayStatePaused) doc->TogglePause();
        else doc->Play(-1, 0);
        break;
    case ActionPrevious: doc->PlayPrevious(); break;
    case ActionNext: doc->PlayNext(); break;
    case ActionSeekStart: doc->SeekBytes(0); break;
    case ActionSeekBack: doc->SeekRelative(-settings.bass.seekSeconds); break;
    case ActionSeekForward: doc->SeekRelative(settings.bass.seekSeconds); break;
    case ActionVolumeUp: doc->OnVolumeUp(); break;
    case ActionVolumeDown: doc->OnVolumeDown(); break;
    case ActionMute: doc->OnMute(); break;
    case ActionEqualizer:
        settings.bass.enableEq = !settings.bass.enableEq;
        doc->ApplyEqualizer();
        doc->UpdateAllViews(nullptr, HintEqualizerSwitched);
        break;
    case ActionModeSingle: doc->OnPlayModeSingle(); break;
    case ActionModeSingleRepeat: doc->OnPlayModeSingleRepeat(); break;
    case ActionModeListRepeat: doc->OnPlayModeListRepeat(); break;
    case ActionModeList: doc->OnPlayModeList(); break;
    case ActionModeRandom: doc->OnPlayModeRandom(); break;
    case ActionModeCycle: doc->OnCyclePlayMode(); break;
    case ActionTriggerStart:
        if (state == PlayStatePlaying) doc->RunPlayTrigger(true);
        break;
    case ActionTriggerStop: doc->RunPlayTrigger(false); break;
    case ActionQueryBack: doc->OnQueryBack(); break;
    case ActionQueryForward: doc->OnQueryForward(); break;
    default: break;
    }
    return TRUE;
}

void CMainFrame::ShowMainWindow() {
    if (::IsIconic(m_hWnd)) {
        if (Settings().mainWindowOptions.taskTrayType == 3) RemoveTrayIcon();
        ShowWindow(SW_RESTORE);
    }
    ::SetForegroundWindow(m_hWnd);
}

void CMainFrame::ActivatePane(bool left, int row) {
    // The panes are found through the splitters' child ids: the outer splitter fills the
    // client area, its columns hold the left and right splitters.
    HWND outer = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    HWND side = outer ? ::GetDlgItem(outer, AFX_IDW_PANE_FIRST + (left ? 0 : 1)) : nullptr;
    HWND pane = side ? ::GetDlgItem(side, AFX_IDW_PANE_FIRST + row * CSplitterWnd::kMaxRowCol) : nullptr;
    auto* view = dynamic_cast<CView*>(CWnd::FromHandlePermanent(pane));
    if (!view) return;
    SetActiveView(view);
    view->SetFocus();
}

void CMainFrame::OnFocusSearch() {
    if (!m_wndSearchText.m_hWnd || !GetDocument()) return;
    ExecuteAction(ActionShowWindow);
    m_wndSearchText.SetFocus();
}

LRESULT CMainFrame::OnRunCommand(WPARAM, LPARAM code) {
    if (!GetDocument()) return Default(s_msgRunCommand, 0, code);
    ExecuteAction(static_cast<int>(code));
    return 0;
}

LRESULT CMainFrame::OnAppCommand(WPARAM wParam, LPARAM lParam) {
    CLarkspur2006Doc* doc = GetDocument();
    if (!doc) return Default(WM_APPCOMMAND, wParam, lParam);
    switch (GET_APPCOMMAND_LPARAM(lParam)) {
    case APPCOMMAND_BROWSER_BACKWARD: doc->OnQueryBack(); break;
    case APPCOMMAND_BROWSER_FORWARD: doc->OnQueryForward(); break;
    case APPCOMMAND_VOLUME_MUTE: doc->OnMute(); break;
    case APPCOMMAND_VOLUME_DOWN: doc->OnVolumeDown(); break;
    case APPCOMMAND_VOLUME_UP: doc->OnVolumeUp(); break;
    case APPCOMMAND_MEDIA_NEXTTRACK: doc->PlayNext(); break;
    case APPCOMMAND_MEDIA_PREVIOUSTRACK: doc->PlayPrevious(); break;
    case APPCOMMAND_MEDIA_STOP: doc->Stop(true); break;
    case APPCOMMAND_MEDIA_PLAY_PAUSE: doc->TogglePause(); break;
    case APPCOMMAND_MEDIA_PLAY: doc->Play(-1, 0); break;
    default: return Default(WM_APPCOMMAND, wParam, lParam);
    }
    // Handled here: passed on, the key would come back to this window through its parent
    // chain or the shell and act a second time.
    return TRUE;
}

LRESULT CMainFrame::OnPowerBroadcast(WPARAM event, LPARAM lParam) {
    CLarkspur2006Doc* doc = GetDocument();
    // Suspending pauses what plays; a paused track stays paused.
    if (doc && event == PBT_APMSUSPEND && doc->GetPlayState() == PlayStatePlaying) doc->TogglePause();
    return Default(WM_POWERBROADCAST, event, lParam);
}

LRESULT CMainFrame::OnTimerMessage(WPARAM id, LPARAM lParam) {
    if (!GetDocument()) return Default(WM_TIMER, id, lParam);
    switch (id) {
    case kTimerTrayLeftClick:
    case kTimerTrayRightClick:
    case kTimerTrayMiddleClick:
    case kTimerBalloon:
        OnTrayTimer(id);
        return 0;
    case kTimerIncrementalSearch:
        // One search per pause in typing, never in SQL mode.
        ::KillTimer(m_hWnd, kTimerIncrementalSearch);
        if (SelectedSearchWay() != SearchSql) RunQuickSearch();
        return 0;
    default:
        return Default(WM_TIMER, id, lParam);
    }
}
