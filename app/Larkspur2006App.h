#pragma once
#include "app/AppSettings.h"
#include "framework/WinApp.h"
#include <windows.h>
#include <string>
#include <vector>

// The application: one instance per machine, a profile folder beside the executable, the
// settings read at start and written back at exit.
class CLarkspur2006App : public CWinApp {
public:
    CLarkspur2006App();

    BOOL InitInstance() override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;

    CAppSettings& GetSettings() { return m_settings; }
    // Writes "config.ini" when start-up got as far as reading it (at exit, and when Windows
    // ends the session). False when it could not be written; it is then as it was.
    bool WriteSettings();
    // The last write when Windows ends the session: the process may be ended at any moment
    // afterwards, so nothing writes "config.ini" again.
    void WriteFinalSettings();
    // Windows is ending the session: from now on no settings file that cannot be written is
    // reported (nobody would see it, and the end must not wait for an answer).
    void BeginSessionEnd() { m_sessionEnding = true; }
    // A settings file that the exit could not write; the exit names each such file once.
    void NoteUnsavedFile(const std::wstring& path);
    const std::wstring& GetProgramFolder() const { return m_programFolder; }
    const OSVERSIONINFOW& GetOsVersion() const { return m_osVersion; }

    // "<program folder>users\<profile>\", created where missing; the profile is the Windows
    // user name when `profileName` is empty.
    static std::wstring PrepareUserFolder(const std::wstring& programFolder, const std::wstring& profileName);
    // The show command for a stored placement: a minimised one opens maximised when its
    // flags say so, else restored; a hidden or unknown one shows normally.
    static UINT CorrectShowCommand(const WINDOWPLACEMENT& placement);

private:
    void ShowMainWindow();

    CAppSettings m_settings;
    HANDLE m_mutex = nullptr;
    OSVERSIONINFOW m_osVersion{};
    std::wstring m_programFolder;
    bool m_settingsLoaded = false;
    bool m_sessionEnding = false;
    std::vector<std::wstring> m_unsavedFiles;
    bool m_gdiplusStarted = false;
    ULONG_PTR m_gdiplusToken = 0;
};

// The one application object.
CLarkspur2006App& LarkApp();
// Its live settings.
inline CAppSettings& LarkSettings() { return LarkApp().GetSettings(); }
