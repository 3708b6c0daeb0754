#pragma once
#include "framework/ProfileFileWrite.h"
#include "framework/WinThread.h"
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

class CWnd;
class CDocTemplate;
class CCommandLineInfo;

// The application object: start-up (InitInstance), the message loop with idle
// processing (the user-interface thread's Run), and shut-down (ExitInstance). Exactly one
// exists per process; its thread is the one that runs AfxWinMain.
class CWinApp : public CWinThread {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    BOOL InitInstance() override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    void AddDocTemplate(CDocTemplate* docTemplate);   // takes ownership
    CDocTemplate* GetDocTemplate() const;
    // The command line of this process, without the program name, fed to `info`.
    void ParseCommandLine(CCommandLineInfo& info);
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    // OLE for this thread; released at exit.
    BOOL AfxOleInit();
    void EnableControlContainer() {}

    // The file that the profile functions read and write.
    void SetProfileFile(const std::wstring& path) { m_profileName = path; }
    const std::wstring& GetProfileFile() const { return m_profileName; }
    std::wstring GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* def = L"") const;
    BOOL WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) const;
    UINT GetProfileInt(const wchar_t* section, const wchar_t* entry, int def) const;
    BOOL WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) const;
    // Binary entries, stored as hexadecimal text (two digits a byte). A missing or damaged
    // entry reads as FALSE with no data; the caller frees *data with delete[].
    BOOL GetProfileBinary(const wchar_t* section, const wchar_t* entry, BYTE** data, UINT* bytes) const;
    BOOL GetProfileBinary(const wchar_t* section, const wchar_t* entry, std::vector<BYTE>& data) const;
    BOOL WriteProfileBinary(const wchar_t* section, const wchar_t* entry, const void* data, UINT bytes) const;
    // Each profile write rewrites the file whole and replaces it only once the new text is on
    // the disk. Between these two the writes are collected and reach the file together (all
    // or, when EndProfileWrite returns false, none); reads see the file as it was until then.
    void BeginProfileWrite() { m_profileWriter.Begin(m_profileName); }
    bool EndProfileWrite() { return m_profileWriter.End(); }

    const std::wstring& GetAppTitle() const { return m_appTitle; }

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    std::vector<std::wstring> m_arguments;   // command-line arguments after the program name

protected:
    void OnFileNew();
    void OnFileOpen();
    // "Exit": closes the main window.
    void OnAppExit();
    DECLARE_MESSAGE_MAP()

    std::wstring m_appTitle;
    std::wstring m_profileName;

private:
    mutable CProfileWriter m_profileWriter;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    bool m_oleStarted = false;
};

CWinApp* AfxGetApp();
// The framework's entry: runs the one application object.
int AfxWinMain(HINSTANCE instance, int showCmd);
