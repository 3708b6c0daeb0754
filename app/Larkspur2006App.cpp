#include "app/Larkspur2006App.h"
#include "app/LarkspurCmdLine.h"
#include "app/PathParts.h"
#include "app/PlacementFit.h"
#include "document/DlgDBError.h"
#include "document/Larkspur2006Doc.h"
#include "framework/DocTemplate.h"
#include "framework/MessageBox.h"
#include "framework/Wnd.h"
#include "resources/resource.h"
#include "ui/views/Larkspur2006View.h"
#include "ui/views/MainFrame.h"
#include <commctrl.h>
#include <gdiplus.h>
#include <lmcons.h>

namespace {
const wchar_t kMutexName[] = L"LARKSPUR2006_MUTEX";
// Database errors are shown in their own dialog while the program runs.
CDBErrorDialogSink g_dbErrorDialog;

std::wstring ProfileNameRefusal(const std::wstring& argument) {
    return L"コマンドライン引数「" + argument + L"」のプロファイル名は使えません。\r\n\r\n"
           L"プロファイル名は、プログラムのフォルダーにある users フォルダーの中のフォルダー 1 つの名前です。"
           L"\\ / : * ? \" < > | や制御文字、\"..\" のようにドットだけの名前、CON や NUL などのデバイス名、"
           L"末尾のドットや空白は使えません。長すぎる名前も使えません。\r\n\r\nプログラムを終了します。";
}

// The exit's one message for the settings files it could not write.
std::wstring UnsavedFilesMessage(const std::vector<std::wstring>& files) {
    std::wstring text = L"次の設定ファイルに書き込めなかったため、今回の設定は保存されていません。\r\n\r\n";
    for (const std::wstring& file : files) text += file + L"\r\n";
    text += L"\r\nファイルは前回保存したときの内容のままです。"
            L"フォルダーが読み取り専用になっていないか、ディスクに空きがあるかを確認してください。";
    return text;
}

}  // namespace

CLarkspur2006App& LarkApp() { return *static_cast<CLarkspur2006App*>(AfxGetApp()); }

CLarkspur2006App::CLarkspur2006App() : CWinApp(nullptr) {}

BOOL CLarkspur2006App::InitInstance() {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    PathParts parts;
    SplitPath(parts, module);
    m_programFolder = parts.drive + parts.dir;

    m_mutex = ::CreateMutexW(nullptr, FALSE, kMutexName);
    if (m_mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(m_mutex);
        m_mutex = nullptr;
        return FALSE;
    }

    INITCOMMONCONTROLSEX icc{sizeof icc, 0xFF};
    ::InitCommonControlsEx(&icc);
    CWinApp::InitInstance();

    if (!AfxOleInit()) {
        AfxMessageBox(IDP_OLE_INIT_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    EnableControlContainer();

    Gdiplus::GdiplusStartupInput gdiplusInput;   // version 1, no callback, no suppression
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &gdiplusInput, nullptr) != Gdiplus::Ok) {
        AfxMessageBox(L"gdiplus.dllが存在しません。", MB_OK | MB_ICONERROR);
        return FALSE;
    }
    m_gdiplusStarted = true;

    m_osVersion = OSVERSIONINFOW{};
    m_osVersion.dwOSVersionInfoSize = sizeof m_osVersion;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(&m_osVersion);
#pragma GCC diagnostic pop

    AddDocTemplate(CSingleDocTemplate::Create<CLarkspur2006Doc, CMainFrame, CLarkspur2006View>(IDR_MAINFRAME));
    m_nCmdShow = SW_HIDE;   // shown below, once the stored placement is known

    CLarkspurCmdLine cmdLine;
    ParseCommandLine(cmdLine);
    // A name that is not one plain folder would put the profile files elsewhere: nothing is
    // written before it is refused.
    if (!IsUsableProfileName(cmdLine.profileName, m_programFolder)) {
        AfxMessageBox(ProfileNameRefusal(cmdLine.profileArgument), MB_OK | MB_ICONERROR);
        return FALSE;
    }

    const std::wstring userFolder = PrepareUserFolder(m_programFolder, cmdLine.profileName);
    CAppSettings::Load(GetAppTitle(), m_settings, userFolder);
    m_settingsLoaded = true;
    if (m_settings.thread.priorityMain != 0)
        ::SetThreadPriority(::GetCurrentThread(), m_settings.thread.priorityMain);

    SetProfileFile(userFolder + L"toolbar.ini");

    SetDBErrorSink(&g_dbErrorDialog);
    if (!ProcessShellCommand(cmdLine)) return FALSE;
    ShowMainWindow();
    return TRUE;
}

std::wstring CLarkspur2006App::PrepareUserFolder(const std::wstring& programFolder,
                                                 const std::wstring& profileName) {
    std::wstring folder = programFolder + L"users";
    if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        ::CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring profile = profileName;
    if (profile.empty()) {
        wchar_t user[UNLEN + 1] = {};
        DWORD size = UNLEN + 1;
        if (::GetUserNameW(user, &size)) profile = user;
    }
    folder += L"\\" + profile;
    if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

UINT CLarkspur2006App::CorrectShowCommand(const WINDOWPLACEMENT& placement) {
    if (placement.showCmd == SW_MINIMIZE || placement.showCmd == SW_SHOWMINIMIZED)
        return placement.flags == WPF_RESTORETOMAXIMIZED ? SW_SHOWMAXIMIZED : SW_RESTORE;
    // A hidden window (a hand-edited value) would hold the single-instance mutex unseen, and
    // every later start would end silently; an unknown command would show nothing either.
    if (placement.showCmd == SW_HIDE || placement.showCmd > SW_MAX) return SW_SHOWNORMAL;
    return placement.showCmd;
}

void CLarkspur2006App::ShowMainWindow() {
    if (!m_pMainWnd || !m_pMainWnd->m_hWnd) return;
    WINDOWPLACEMENT placement = m_settings.mainWindow.placement.placement;
    if (placement.length != 0) {
        placement.length = sizeof placement;
        placement.showCmd = CorrectShowCommand(placement);
        FitPlacementToMonitors(placement, kMinPlacementSize);
        ::SetWindowPlacement(m_pMainWnd->m_hWnd, &placement);
    } else {
        m_pMainWnd->ShowWindow(SW_SHOW);
    }
    m_pMainWnd->UpdateWindow();
}

BOOL CLarkspur2006App::OnIdle(LONG count) { return CWinApp::OnIdle(count); }

bool CLarkspur2006App::WriteSettings() {
    return !m_settingsLoaded || CAppSettings::Save(m_settings);
}

void CLarkspur2006App::NoteUnsavedFile(const std::wstring& path) {
    for (const std::wstring& known : m_unsavedFiles)
        if (known == path) return;
    m_unsavedFiles.push_back(path);
}

void CLarkspur2006App::WriteFinalSettings() {
    WriteSettings();
    m_settingsLoaded = false;
}

int CLarkspur2006App::ExitInstance() {
    if (!WriteSettings()) NoteUnsavedFile(m_settings.GetPath());
    // While Windows ends the session nobody answers a message.
    if (!m_sessionEnding && !m_unsavedFiles.empty())
        AfxMessageBox(UnsavedFilesMessage(m_unsavedFiles), MB_OK | MB_ICONWARNING);
    m_unsavedFiles.clear();
    IDBErrorSink* sink = SetDBErrorSink(nullptr);
    if (sink != &g_dbErrorDialog) SetDBErrorSink(sink);
    if (m_mutex) {
        ::CloseHandle(m_mutex);
        m_mutex = nullptr;
    }
    if (m_gdiplusStarted) {
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
        m_gdiplusStarted = false;
    }
    return CWinApp::ExitInstance();
}
