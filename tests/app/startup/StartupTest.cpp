// Runs the built program from a private folder and checks what its start-up and exit do.
#include "app/Larkspur2006App.h"
#include "app/LarkspurCmdLine.h"
#include "app/PlacementFit.h"
#include "support/TestFiles.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <lmcons.h>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

std::wstring ProgramPath() {
    std::wstring p = L"Z:" + FromUtf8(LARK_PROGRAM);
    for (auto& c : p)
        if (c == L'/') c = L'\\';
    return p;
}

struct Process {
    PROCESS_INFORMATION pi{};
    bool started = false;
    ~Process() {
        if (!started) return;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
};

bool Start(Process& p, const std::wstring& exe, const std::wstring& args) {
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{sizeof si};
    p.started = CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &p.pi) != FALSE;
    return p.started;
}

HWND FindMainWindow(DWORD pid) {
    struct Search { DWORD pid; HWND found; } s{pid, nullptr};
    EnumWindows([](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == s->pid && IsWindowVisible(h) && !GetParent(h)) {
            s->found = h;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitForMainWindow(const Process& p) {
    for (int i = 0; i < 300; ++i) {
        if (HWND h = FindMainWindow(p.pi.dwProcessId)) return h;
        if (WaitForSingleObject(p.pi.hProcess, 100) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

// Closes the program as a user would and returns its exit code (or -1 when it hangs).
int CloseAndWait(Process& p, HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(p.pi.hProcess, 30000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(p.pi.hProcess, &code);
    return static_cast<int>(code);
}

// Copies the DLLs of folder `from` into folder `to` (both ending with a backslash).
void CopyDlls(const std::wstring& from, const std::wstring& to) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((from + L"*.dll").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        CopyFileW((from + found.cFileName).c_str(), (to + found.cFileName).c_str(), FALSE);
    } while (FindNextFileW(h, &found));
    FindClose(h);
}

// A copy of the program with its engine and add-on DLLs in its own folder, so that "users\"
// is made there and nothing depends on the test's current folder.
struct Installed {
    TempDir dir;
    std::wstring exe = dir.file(L"Larkspur2006.exe");
    Installed() {
        const std::wstring program = ProgramPath();
        const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
        CopyFileW(program.c_str(), exe.c_str(), FALSE);
        CopyDlls(folder, dir.path());
        CreateDirectoryW(dir.file(L"plugin").c_str(), nullptr);
        CopyDlls(folder + L"plugin\\", dir.file(L"plugin\\"));
    }
};

// A message box of the process (its one visible top-level dialog), or null when the process
// ends or none appears in time.
HWND WaitForMessageBox(const Process& p) {
    for (int i = 0; i < 300; ++i) {
        wchar_t name[16] = {};
        HWND h = FindMainWindow(p.pi.dwProcessId);
        if (h && GetClassNameW(h, name, 16) && wcscmp(name, L"#32770") == 0) return h;
        if (WaitForSingleObject(p.pi.hProcess, 100) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

// The texts of a message box's static controls.
std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(box, [](HWND child, LPARAM lp) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (_wcsicmp(name, L"Static") == 0) {
            std::wstring part(static_cast<size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
            part.resize(static_cast<size_t>(GetWindowTextW(child, &part[0], static_cast<int>(part.size()))));
            *reinterpret_cast<std::wstring*>(lp) += part;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::wstring WindowsUserName() {
    wchar_t user[UNLEN + 1] = {};
    DWORD size = UNLEN + 1;
    GetUserNameW(user, &size);
    return user;
}

}  // namespace

TEST(Startup, FirstStartMakesProfileAndWritesSettingsAtExit) {
    Installed app;
    ASSERT_TRUE(FileExists(app.exe));
    Process first;
    ASSERT_TRUE(Start(first, app.exe, L"/user:alice"));
    HWND main = WaitForMainWindow(first);
    ASSERT_NE(main, nullptr) << "the main window never appeared";
    EXPECT_TRUE(FileExists(app.dir.file(L"users\\alice\\")));
    EXPECT_FALSE(FileExists(app.dir.file(L"users\\alice\\config.ini"))) << "nothing is written before exit";

    // A second instance ends at once, shows nothing and leaves the settings alone.
    Process second;
    ASSERT_TRUE(Start(second, app.exe, L"/user:bob"));
    ASSERT_EQ(WaitForSingleObject(second.pi.hProcess, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(FindMainWindow(second.pi.dwProcessId), nullptr);
    DWORD secondCode = 1;
    GetExitCodeProcess(second.pi.hProcess, &secondCode);
    EXPECT_EQ(secondCode, 0u) << "the second instance must end cleanly (nothing started, nothing shut down)";
    EXPECT_FALSE(FileExists(app.dir.file(L"users\\bob\\")));

    EXPECT_EQ(CloseAndWait(first, main), 0);
    const std::string ini = ReadBytes(app.dir.file(L"users\\alice\\config.ini"));
    ASSERT_GE(ini.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(ini[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(ini[1]), 0xFE);
    std::wstring text(reinterpret_cast<const wchar_t*>(ini.data() + 2), (ini.size() - 2) / 2);
    for (const wchar_t* section : {L"[Generic]", L"[Thread]", L"[BASS]", L"[MainWindow]", L"[GlobalHotkey]"})
        EXPECT_NE(text.find(section), std::wstring::npos) << "missing section";
}

TEST(Startup, LastSwitchWithColonNamesTheProfile) {
    Installed app;
    Process p;
    ASSERT_TRUE(Start(p, app.exe, L"/a:one C:\\music\\song.mp3 -b:two /nocolon"));
    HWND main = WaitForMainWindow(p);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(FileExists(app.dir.file(L"users\\two\\")));
    EXPECT_FALSE(FileExists(app.dir.file(L"users\\one\\")));
    EXPECT_EQ(CloseAndWait(p, main), 0);
}

TEST(Startup, EmptyProfileNameUsesTheWindowsUser) {
    Installed app;
    Process p;
    ASSERT_TRUE(Start(p, app.exe, L"/user:"));
    HWND main = WaitForMainWindow(p);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(FileExists(app.dir.file(L"users\\" + WindowsUserName() + L"\\")));
    EXPECT_EQ(CloseAndWait(p, main), 0);
}

TEST(Startup, AProfileNameThatIsNotOnePlainFolderIsRefusedBeforeAnythingIsWritten) {
    Installed app;
    for (const std::wstring& argument : {std::wstring(L"/p:..\\..\\..\\x"), L"-p:" + std::wstring(300, L'x'),
                                         std::wstring(L"/p:con")}) {
        Process p;
        ASSERT_TRUE(Start(p, app.exe, argument));
        HWND box = WaitForMessageBox(p);
        ASSERT_NE(box, nullptr) << "refused with a message";
        EXPECT_NE(MessageBoxText(box).find(L"「" + argument + L"」"), std::wstring::npos) << "it names the argument";
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_EQ(WaitForSingleObject(p.pi.hProcess, 30000), WAIT_OBJECT_0) << "the program then ends";
        EXPECT_FALSE(FileExists(app.dir.file(L"users"))) << "nothing is written";
    }
}

TEST(Startup, SettingsFilesTheExitCannotWriteAreNamedOnceExceptWhileTheSessionEnds) {
    Installed app;
    for (const bool sessionEnds : {false, true}) {
        const std::wstring profile = sessionEnds ? L"hana" : L"gina";
        const std::wstring folder = CLarkspur2006App::PrepareUserFolder(app.dir.path(), profile);
        const std::wstring mine = L"[Mine]\r\nkept=手で書いた値\r\n";
        ASSERT_TRUE(WriteBytes(folder + L"config.ini", "\xFF\xFE" + std::string(reinterpret_cast<const char*>(mine.data()),
                                                                                mine.size() * sizeof(wchar_t))));
        const std::string before = ReadBytes(folder + L"config.ini");
        // Folders where the new files would be written: neither file can be replaced.
        ASSERT_TRUE(CreateDirectoryW((folder + L"config.ini.new").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((folder + L"toolbar.ini.new").c_str(), nullptr));

        Process p;
        ASSERT_TRUE(Start(p, app.exe, L"/p:" + profile));
        HWND main = WaitForMainWindow(p);
        ASSERT_NE(main, nullptr);
        if (sessionEnds) {
            DWORD_PTR answer = 0;
            ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 20000, &answer));
            ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 20000, &answer));
        } else {
            PostMessageW(main, WM_CLOSE, 0, 0);
            HWND box = WaitForMessageBox(p);
            ASSERT_NE(box, nullptr) << "the exit says what it could not save";
            const std::wstring text = MessageBoxText(box);
            EXPECT_NE(text.find(L"users\\gina\\config.ini"), std::wstring::npos);
            EXPECT_NE(text.find(L"users\\gina\\toolbar.ini"), std::wstring::npos);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        // A second message, or one while the session ends, would keep the program from ending.
        ASSERT_EQ(WaitForSingleObject(p.pi.hProcess, 30000), WAIT_OBJECT_0) << profile;
        EXPECT_EQ(before, ReadBytes(folder + L"config.ini")) << profile;
        EXPECT_FALSE(FileExists(folder + L"toolbar.ini")) << profile;
    }
}

TEST(CommandLine, ProfileFromSwitchesOnly) {
    struct Case { std::vector<std::wstring> args; std::wstring profile; };
    const Case cases[] = {
        {{L"/user:alice"}, L"alice"},
        {{L"-x:alice"}, L"alice"},
        {{L"/user"}, L""},
        {{L"/a:one", L"/b:two"}, L"two"},
        {{L"/a:one", L"/b"}, L"one"},
        {{L"/user:"}, L""},
        {{L"/p:a:b"}, L"a:b"},
        {{L"C:\\x:y.mp3"}, L""},
        {{L"/p:日本語"}, L"日本語"},
    };
    for (const Case& c : cases) {
        CLarkspurCmdLine cmd;
        cmd.ParseArguments(c.args);
        EXPECT_EQ(cmd.profileName, c.profile);
        EXPECT_EQ(cmd.m_nShellCommand, CCommandLineInfo::FileNew) << "arguments never open a file";
    }
}

TEST(Placement, MinimisedPlacementOpensMaximisedOrRestored) {
    WINDOWPLACEMENT wp{sizeof wp};
    wp.showCmd = SW_SHOWMINIMIZED;
    wp.flags = WPF_RESTORETOMAXIMIZED;
    EXPECT_EQ(CLarkspur2006App::CorrectShowCommand(wp), (UINT)SW_SHOWMAXIMIZED);
    wp.showCmd = SW_MINIMIZE;
    wp.flags = 0;
    EXPECT_EQ(CLarkspur2006App::CorrectShowCommand(wp), (UINT)SW_RESTORE);
    wp.flags = WPF_RESTORETOMAXIMIZED | WPF_SETMINPOSITION;   // not exactly restore-to-maximised
    EXPECT_EQ(CLarkspur2006App::CorrectShowCommand(wp), (UINT)SW_RESTORE);
    wp.showCmd = SW_SHOWMINNOACTIVE;
    EXPECT_EQ(CLarkspur2006App::CorrectShowCommand(wp), (UINT)SW_SHOWMINNOACTIVE);
    wp.showCmd = SW_SHOWMAXIMIZED;
    EXPECT_EQ(CLarkspur2006App::CorrectShowCommand(wp), (UINT)SW_SHOWMAXIMIZED);
}

// A hand-edited show command 0 would start an invisible instance that holds the
// single-instance mutex; it shows the window normally instead, as an unknown command does.
TEST(Placement, HiddenOrUnknownShowCommandShowsNormally) {
    WINDOWPLACEMENT wp{sizeof wp};
    for (UINT cmd : {(UINT)SW_HIDE, (UINT)SW_MAX + 1, 0xFFFFFFFFu}) {
        wp.showCmd = cmd;
        EXPECT_EQ(CLarkspur2006App::CorrectShowCommand(wp), (UINT)SW_SHOWNORMAL) << cmd;
    }
    wp.showCmd = SW_SHOWNORMAL;
    EXPECT_EQ(CLarkspur2006App::CorrectShowCommand(wp), (UINT)SW_SHOWNORMAL);
}

// Wine shows a window whose stored size overflows its coordinates as a sliver far off screen,
// and one stored without a size as a bare caption; the program brings both back itself.
TEST(Startup, PlacementOffEveryMonitorOrAbsurdlySizedOpensOnTheWorkArea) {
    Installed app;
    const RECT stored[] = {{-2000000000, -2000000000, 2000000000, 2000000000},
                           {-2000000000, -2000000000, -2000000000, -2000000000}};
    for (const RECT& normal : stored) {
        const std::wstring folder = CLarkspur2006App::PrepareUserFolder(app.dir.path(), L"frank");
        CAppSettings settings;
        CAppSettings::Load(L"Larkspur2006", settings, folder);
        WINDOWPLACEMENT& wp = settings.mainWindow.placement.placement;
        wp.length = sizeof wp;
        wp.showCmd = SW_SHOWNORMAL;
        wp.rcNormalPosition = normal;
        ASSERT_TRUE(CAppSettings::Save(settings));

        Process p;
        ASSERT_TRUE(Start(p, app.exe, L"/p:frank"));
        HWND main = WaitForMainWindow(p);
        ASSERT_NE(main, nullptr);
        RECT window{}, visible{};
        GetWindowRect(main, &window);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ASSERT_TRUE(GetMonitorInfoW(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor));
        EXPECT_TRUE(IntersectRect(&visible, &window, &monitor.rcWork) && EqualRect(&visible, &window))
            << window.left << "," << window.top << "," << window.right << "," << window.bottom;
        EXPECT_GE(window.right - window.left, kMinPlacementSize.cx);
        EXPECT_GE(window.bottom - window.top, kMinPlacementSize.cy);
        EXPECT_EQ(CloseAndWait(p, main), 0);

        // What the exit stores is the window on screen, so the next start is sound too.
        CAppSettings after;
        CAppSettings::Load(L"Larkspur2006", after, folder);
        const RECT& kept = after.mainWindow.placement.placement.rcNormalPosition;
        EXPECT_TRUE(EqualRect(&kept, &window)) << kept.left << "," << kept.top << "," << kept.right << "," << kept.bottom;
    }
}

TEST(UserFolder, CreatedBesideTheProgram) {
    TempDir dir;
    std::wstring folder = CLarkspur2006App::PrepareUserFolder(dir.path(), L"プロファイル");
    EXPECT_EQ(folder, dir.path() + L"users\\プロファイル\\");
    EXPECT_TRUE(FileExists(folder));
    // A second call finds both folders in place.
    EXPECT_EQ(CLarkspur2006App::PrepareUserFolder(dir.path(), L"プロファイル"), folder);
}

TEST(Startup, DocumentOpensTheLibraryOfAFreshAndOfAnExistingProfile) {
    Installed app;
    for (int run = 0; run < 2; ++run) {
        Process p;
        ASSERT_TRUE(Start(p, app.exe, L"/p:carol"));
        HWND main = WaitForMainWindow(p);
        ASSERT_NE(main, nullptr) << "run " << run;
        EXPECT_TRUE(FileExists(app.dir.file(L"users\\carol\\library.db"))) << "run " << run;
        EXPECT_EQ(CloseAndWait(p, main), 0) << "run " << run;
        EXPECT_TRUE(FileExists(app.dir.file(L"users\\carol\\config.ini"))) << "run " << run;
    }
}

TEST(Startup, EndOfSessionWritesTheSettingsAndEndsTheProgram) {
    Installed app;
    // Asked first, then ended (as a log-off goes); and ended without being asked.
    for (const bool ask : {true, false}) {
        const std::wstring profile = ask ? L"dave" : L"erin";
        Process p;
        ASSERT_TRUE(Start(p, app.exe, L"/p:" + profile));
        HWND main = WaitForMainWindow(p);
        ASSERT_NE(main, nullptr);
        const std::wstring ini = app.dir.file(L"users\\" + profile + L"\\config.ini");

        DWORD_PTR answer = 0;
        if (ask) {
            ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 20000, &answer));
            EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the program never holds the session up";
            EXPECT_TRUE(FileExists(ini)) << "written when asked, in case the end comes without a second message";
        }
        ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 20000, &answer));
        // Nothing may be left to do after WM_ENDSESSION: the settings are on disk at once.
        const std::string bytes = ReadBytes(ini);
        ASSERT_GE(bytes.size(), 2u) << profile;
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
        EXPECT_NE(text.find(L"[BASS]"), std::wstring::npos);
        ASSERT_EQ(WaitForSingleObject(p.pi.hProcess, 30000), WAIT_OBJECT_0) << "the program ends by itself";
        DWORD code = 1;
        GetExitCodeProcess(p.pi.hProcess, &code);
        EXPECT_EQ(code, 0u);
    }
}
