// The main frame's tray icon: its tip and balloon, its clicks, and hiding into the tray.
#include "ui/views/MainFrame.h"
#include "app/AppSettings.h"
#include "app/Larkspur2006App.h"
#include "app/Placeholders.h"
#include "document/Larkspur2006Doc.h"
#include "document/PlayerStatus.h"
#include "framework/FrameIds.h"
#include "framework/MessageBox.h"
#include "framework/SentMessageWait.h"
#include "resources/resource.h"
#include "ui/views/TrayInfo.h"
#include <cwchar>

const UINT CMainFrame::s_msgTaskTrayNotify = ::RegisterWindowMessageW(L"LarkTaskTrayNotify");
const UINT CMainFrame::s_msgTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");

namespace {

const UINT kBalloonShellTimeout = 990000;
const int kAddAttempts = 3;
const DWORD kAddRetryWait = 2000;

void CopyText(wchar_t* field, size_t size, const std::wstring& text) {
    const std::wstring cut = CutTrayText(text, size - 1);
    wcsncpy(field, cut.c_str(), size - 1);
    field[size - 1] = 0;
}

HICON TrayIcon() {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                           ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

// The application's title string ("Spur").
std::wstring AppName(const CAppSettings& settings) {
    std::wstring name = AfxLoadString(AFX_IDS_APP_TITLE);
    return name.empty() ? settings.appTitle : name;
}

std::wstring Expand(const std::wstring& text, const TrackRecord& track, CLarkspur2006Doc& doc) {
    std::wstring expanded = text;
    ExpandTrackPlaceholders(track, expanded, false, false,
                            MakePlaceholderContext(doc.GetSettings(), doc.GetProgramFolder()));
    return expanded;
}

}  // namespace

BOOL CMainFrame::NotifyTray(DWORD message, NOTIFYICONDATAW& data) {
    return trayNotifier ? trayNotifier(message, data) : ::Shell_NotifyIconW(message, &data);
}

bool CMainFrame::IsWindows2000() const {
    auto* app = dynamic_cast<CLarkspur2006App*>(AfxGetApp());
    return app && app->GetOsVersion().dwMajorVersion == 5 && app->GetOsVersion().dwMinorVersion == 0;
}

void CMainFrame::FillTrayRecord(NOTIFYICONDATAW& data) const {
    data = NOTIFYICONDATAW{};
    data.cbSize = IsWindows2000() ? NOTIFYICONDATAW_V2_SIZE : sizeof data;
    data.hWnd = m_hWnd;
    data.uID = kTrayIconId;
}

void CMainFrame::AddTrayIcon() {
    if (m_trayIconId) return;
    m_trayIconId = kTrayIconId;
    NOTIFYICONDATAW data;
    FillTrayRecord(data);
    data.cbSize = sizeof data;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.hIcon = TrayIcon();
    data.uCallbackMessage = s_msgTaskTrayNotify;
    CopyText(data.szTip, kTrayTipMaxShort + 1, AppName(Settings()));
    // The shell may be too busy to answer at log-on: it is given a few more chances. An add
    // that timed out may still have been done, and adding the icon again would then fail: a
    // modification that succeeds tells that it is there.
    for (int attempt = 1; attempt <= kAddAttempts; ++attempt) {
        const bool added = m_trayAddTimedOut && NotifyTray(NIM_MODIFY, data);
        ::SetLastError(0);
        if (added || NotifyTray(NIM_ADD, data)) {
            m_trayAddTimedOut = false;
            return;
        }
        if (::GetLastError() != ERROR_TIMEOUT) break;
        m_trayAddTimedOut = true;
        if (attempt == kAddAttempts) break;
        SleepAnsweringSentMessages(kAddRetryWait);
    }
    // No icon: nothing may count on one (hiding the window, balloons).
    m_trayIconId = 0;
}

void CMainFrame::RemoveTrayIcon() {
    if (!m_trayIconId && !m_trayAddTimedOut) return;
    NOTIFYICONDATAW data;
    FillTrayRecord(data);
    data.cbSize = sizeof data;
    NotifyTray(NIM_DELETE, data);
    m_trayIconId = 0;
    m_trayAddTimedOut = false;
}

void CMainFrame::ApplyTrayIconSetting() {
    const int type = Settings().mainWindowOptions.taskTrayType;
    if (type == 1 || type == 2) AddTrayIcon();
    else RemoveTrayIcon();
}

bool CMainFrame::IsInTray() { return m_trayIconId != 0 && m_hWnd && ::IsIconic(m_hWnd); }

void CMainFrame::ShowTrayBalloon(const std::wstring& title, const std::wstring& text, DWORD icon) {
    UpdateTrayInfo(nullptr, true, title.c_str(), text.c_str(), icon);
}

void CMainFrame::UpdateTrayInfo(const TrackRecord* track) { UpdateTrayInfo(track, true, nullptr, nullptr, NIIF_INFO); }

void CMainFrame::UpdateTrayInfo(const TrackRecord* track, bool updateTip, const wchar_t* title, const wchar_t* text,
                                DWORD iconFlags) {
    CLarkspur2006Doc* doc = GetDocument();
    if (!m_trayIconId || !doc) return;
    const CAppSettings& settings = doc->GetSettings();
    const bool windows2000 = IsWindows2000();
    const size_t tipMax = windows2000 ? kTrayTipMaxShort : kTrayTipMax;
    const std::wstring appName = AppName(settings);
    const std::wstring tipText = CutTrayText(
        track && doc->GetPlayState() == PlayStatePlaying ? Expand(settings.generic.appTitle, *track, *doc) : appName,
        tipMax);
    const bool balloonsOn = settings.mainWindowOptions.infoTipEnable;

    // The first modification sets the tip and, with an empty text, takes down any balloon.
    NOTIFYICONDATAW data;
    FillTrayRecord(data);
    const TrayFirstUpdate first = FirstTrayUpdate(updateTip, balloonsOn, appName, tipText);
    data.uFlags = first.flags | NIF_ICON;
    data.hIcon = TrayIcon();
    if (first.setsTip) CopyText(data.szTip, tipMax + 1, first.tip);
    const DWORD iconOfBalloon = BalloonIconFlags(iconFlags, windows2000, false);
    data.dwInfoFlags = iconOfBalloon;
    if (!NotifyTray(NIM_MODIFY, data) || !balloonsOn || (!track && !title)) return;

    if (updateTip) {
        data.uFlags |= NIF_TIP;
        CopyText(data.szTip, tipMax + 1, tipText);
    }
    data.uFlags |= NIF_INFO;
    data.uTimeout = kBalloonShellTimeout;   // the frame's own timer ends it sooner
    std::wstring balloonTitle;
    if (title) {
        balloonTitle = CutTrayText(title, kBalloonTitleMax);
        data.dwInfoFlags = BalloonIconFlags(iconFlags, windows2000, true);
    } else {
        balloonTitle = DefaultBalloonTitle(*track, Expand(settings.mainWindowOptions.infoTipTitle, *track, *doc));
    }
    std::wstring balloonText;
    if (text) {
        balloonText = text;
    } else if (track) {
        balloonText = Expand(settings.mainWindowOptions.infoTipText, *track, *doc);
        if (balloonText.empty()) balloonText = DefaultBalloonText(*track);
    }
    CopyText(data.szInfoTitle, kBalloonTitleMax + 1, balloonTitle);
    CopyText(data.szInfo, kBalloonTextMax + 1, CleanBalloonText(balloonText));
    ::KillTimer(m_hWnd, kTimerBalloon);
    if (NotifyTray(NIM_MODIFY, data))
        ::SetTimer(m_hWnd, kTimerBalloon, static_cast<UINT>(settings.mainWindowOptions.infoTipTimeout), nullptr);
}

void CMainFrame::OnTrayTimer(UINT_PTR id) {
    ::KillTimer(m_hWnd, id);
    const CAppSettings::MainWindowOptions& options = Settings().mainWindowOptions;
    switch (id) {
    case kTimerTrayLeftClick: ExecuteAction(options.taskTrayClick); break;
    case kTimerTrayRightClick: ExecuteAction(options.taskTrayRClick); break;
    case kTimerTrayMiddleClick: ExecuteAction(options.taskTrayMClick); break;
    case kTimerBalloon: UpdateTrayInfo(nullptr, false, nullptr, nullptr, NIIF_INFO); break;
    default: break;
    }
}

LRESULT CMainFrame::OnTrayNotify(WPARAM wParam, LPARAM mouse) {
    if (!GetDocument()) return Default(s_msgTaskTrayNotify, wParam, mouse);
    const CAppSettings::MainWindowOptions& options = Settings().mainWindowOptions;
    // A single click waits for the double-click time: a double click runs its own action only.
    const UINT doubleClickTime = ::GetDoubleClickTime();
    switch (static_cast<UINT>(mouse)) {
    case WM_LBUTTONDOWN: ::SetTimer(m_hWnd, kTimerTrayLeftClick, doubleClickTime, nullptr); break;
    case WM_RBUTTONDOWN: ::SetTimer(m_hWnd, kTimerTrayRightClick, doubleClickTime, nullptr); break;
    case WM_MBUTTONDOWN: ::SetTimer(m_hWnd, kTimerTrayMiddleClick, doubleClickTime, nullptr); break;
    case WM_LBUTTONDBLCLK:
        ::KillTimer(m_hWnd, kTimerTrayLeftClick);
        ExecuteAction(options.taskTrayDblClick);
        break;
    case WM_RBUTTONDBLCLK:
        ::KillTimer(m_hWnd, kTimerTrayRightClick);
        ExecuteAction(options.taskTrayRDblClick);
        break;
    case WM_MBUTTONDBLCLK:
        ::KillTimer(m_hWnd, kTimerTrayMiddleClick);
        ExecuteAction(options.taskTrayMDblClick);
        break;
    case NIN_BALLOONUSERCLICK: ExecuteAction(options.taskTrayBalloonClick); break;
    default: break;
    }
    return 0;
}

LRESULT CMainFrame::OnTaskbarCreated(WPARAM wParam, LPARAM lParam) {
    if (!GetDocument()) return Default(s_msgTaskbarCreated, wParam, lParam);
    // The old icon went with the old shell.
    m_trayIconId = 0;
    m_trayAddTimedOut = false;
    const int type = Settings().mainWindowOptions.taskTrayType;
    const bool minimized = ::IsIconic(m_hWnd) != FALSE;
    if (type == 1 || type == 2 || (minimized && type == 3)) AddTrayIcon();
    // A window hidden in the tray whose icon the new shell refused comes back to the taskbar.
    if (!HasTrayIcon() && minimized && !::IsWindowVisible(m_hWnd)) ShowWindow(SW_SHOWMINNOACTIVE);
    return 0;
}

void CMainFrame::OnSize(UINT type, int cx, int cy) {
    CFrameWnd::OnSize(type, cx, cy);
    const int trayType = Settings().mainWindowOptions.taskTrayType;
    if (type == SIZE_MINIMIZED && (trayType == 2 || trayType == 3)) {
        // Without an icon to bring it back the window stays on the taskbar.
        AddTrayIcon();
        if (HasTrayIcon()) ShowWindow(SW_HIDE);
    }
}
