#include "framework/WinApp.h"
#include "framework/CommandLineInfo.h"
#include "framework/DocTemplate.h"
#include "framework/MessageBox.h"
#include "framework/ProfileFile.h"
#include "framework/ControlBar.h"
#include "framework/ToolTips.h"
#include "framework/Wnd.h"
#include "framework/FrameIds.h"
#include <algorithm>
#include <ole2.h>
#include <shellapi.h>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CWinApp::CWinApp(const wchar_t* appName) {
    if (appName) m_appTitle = appName;
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
    ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

void CWinApp::OnAppExit() {
    // Closing the main window ends the program the way its close box does.
    if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::InitInstance() {
    if (m_appTitle.empty()) m_appTitle = AfxLoadString(AFX_IDS_APP_TITLE);
    if (m_appTitle.empty()) {
        wchar_t path[MAX_PATH];
        DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring p(path, n);
        size_t slash = p.find_last_of(L"\\/");
        m_appTitle = p.substr(slash == std::wstring::npos ? 0 : slash + 1);
        size_t dot = m_appTitle.rfind(L'.');
        if (dot != std::wstring::npos) m_appTitle.resize(dot);
    }
    return TRUE;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    AfxRelayToolTipMessage(msg);
    // Offer the message to the target window and its parents up to the main window.
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        CWnd* wnd = CWnd::FromHandlePermanent(h);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (m_pMainWnd && h == m_pMainWnd->m_hWnd) return FALSE;
    }
    if (m_pMainWnd && m_pMainWnd->m_hWnd && msg->hwnd == nullptr)
        return m_pMainWnd->PreTranslateMessage(msg);
    return FALSE;
}

BOOL CWinApp::OnIdle(LONG count) {
    // Once per idle period, the bars of the main window update their buttons.
    if (count == 0 && m_pMainWnd && m_pMainWnd->m_hWnd) AfxUpdateIdleCmdUI(m_pMainWnd->m_hWnd);
    return FALSE;
}

int CWinApp::ExitInstance() {
    m_templates.clear();
    if (m_oleStarted) {
        ::OleUninitialize();
        m_oleStarted = false;
    }
    return m_exitCode;
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) {
    m_templates.emplace_back(docTemplate);
}

CDocTemplate* CWinApp::GetDocTemplate() const {
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    if (m_arguments.empty()) {
        int argc = 0;
        LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
        for (int i = 1; argv && i < argc; ++i) m_arguments.emplace_back(argv[i]);
        if (argv) ::LocalFree(argv);
    }
    info.ParseArguments(m_arguments);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    if (info.m_nShellCommand == CCommandLineInfo::FileNothing) return TRUE;
    CDocTemplate* t = GetDocTemplate();
    if (!t) return FALSE;
    const std::wstring* file = info.m_nShellCommand == CCommandLineInfo::FileOpen ? &info.m_strFileName : nullptr;
    return t->OpenDocumentFile(file) != nullptr;
}

void CWinApp::OnFileNew() {
    if (CDocTemplate* t = GetDocTemplate()) t->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
    // The program opens no document files; the command exists for the menus' sake.
}

BOOL CWinApp::AfxOleInit() {
    HRESULT hr = ::OleInitialize(nullptr);
    m_oleStarted = SUCCEEDED(hr);
    return m_oleStarted ? TRUE : FALSE;
}

std::wstring CWinApp::GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* def) const {
    std::wstring value;
    ReadProfileString(m_profileName, section, entry, def, value);
    return value;
}

BOOL CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) const {
    return m_profileWriter.Write(m_profileName, section, entry, value);
}

UINT CWinApp::GetProfileInt(const wchar_t* section, const wchar_t* entry, int def) const {
    return ::GetPrivateProfileIntW(section, entry, def, m_profileName.c_str());
}

BOOL CWinApp::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) const {
    return WriteProfileString(section, entry, std::to_wstring(value).c_str());
}

BOOL CWinApp::GetProfileBinary(const wchar_t* section, const wchar_t* entry, std::vector<BYTE>& data) const {
    data.clear();
    std::wstring text;
    ReadProfileString(m_profileName, section, entry, L"", text);
    if (text.empty() || text.size() % 2 != 0) return FALSE;
    auto digit = [](wchar_t c) -> int {
        if (c >= L'0' && c <= L'9') return c - L'0';
        if (c >= L'A' && c <= L'F') return c - L'A' + 10;
        if (c >= L'a' && c <= L'f') return c - L'a' + 10;
        return -1;
    };
    std::vector<BYTE> bytes(text.size() / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int high = digit(text[2 * i]);
        const int low = digit(text[2 * i + 1]);
        if (high < 0 || low < 0) return FALSE;
        bytes[i] = static_cast<BYTE>(high << 4 | low);
    }
    data.swap(bytes);
    return TRUE;
}

BOOL CWinApp::GetProfileBinary(const wchar_t* section, const wchar_t* entry, BYTE** data, UINT* bytes) const {
    if (!data || !bytes) return FALSE;
    *data = nullptr;
    *bytes = 0;
    std::vector<BYTE> read;
    if (!GetProfileBinary(section, entry, read)) return FALSE;
    *data = new BYTE[read.size()];
    std::copy(read.begin(), read.end(), *data);
    *bytes = static_cast<UINT>(read.size());
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(const wchar_t* section, const wchar_t* entry, const void* data, UINT bytes) const {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    const auto* p = static_cast<const BYTE*>(data);
    std::wstring text;
    text.reserve(static_cast<size_t>(bytes) * 2);
    for (UINT i = 0; p && i < bytes; ++i) {
        text += kDigits[p[i] >> 4];
        text += kDigits[p[i] & 0x0F];
    }
    return WriteProfileString(section, entry, text.c_str());
}

int AfxWinMain(HINSTANCE instance, int showCmd) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_nThreadID = ::GetCurrentThreadId();
    app->m_nCmdShow = showCmd;
    int code;
    try {
        if (!app->InitInstance()) {
            if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
            code = app->ExitInstance();
        } else {
            code = app->Run();
        }
    } catch (...) {
        code = -1;
    }
    return code;
}
