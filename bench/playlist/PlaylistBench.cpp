// The play list with a large library against the same work done bare:
//   playlist_bench.exe [rows]                  (default 100000)
// Child run of the bare start: playlist_bench.exe --bare <library.db>
#include "BareRows.h"
#include "SyntheticLibrary.h"
#include "app/ColumnModel.h"
#include "app/ViewHints.h"
#include "bench/support/BenchHost.h"
#include "document/Larkspur2006Doc.h"
#include "document/LibraryRows.h"
#include "document/PlaylistLoader.h"
#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/StatusBar.h"
#include "ui/views/Larkspur2006View.h"
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>
#include "bench/support/BenchClock.h"

namespace {

const int kRepeats = 3;
const wchar_t* const kProfile = L"bench_playlist";

using bench_support::Now;

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

void RemoveFolder(const std::wstring& folder) {
    std::wstring from = folder;
    if (!from.empty() && from.back() == L'\\') from.pop_back();
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

// ---- the bare start, in a process of its own -------------------------------------------------

std::vector<BareRow>* g_bareRows = nullptr;

LRESULT CALLBACK BareWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE) {
        if (HWND list = GetWindow(hwnd, GW_CHILD)) MoveWindow(list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    if (msg == WM_NOTIFY) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (info->hdr.code == LVN_GETDISPINFOW && (info->item.mask & LVIF_TEXT) && g_bareRows) {
            const BareRow& row = (*g_bareRows)[static_cast<size_t>(info->item.iItem)];
            const std::wstring& text = info->item.iSubItem == 0 ? row.tagTracknumber
                                       : info->item.iSubItem == 1 ? row.tagTitle
                                                                  : row.tagArtist;
            lstrcpynW(info->item.pszText, text.c_str(), info->item.cchTextMax);
        }
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int BareStart(const std::wstring& path) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    sqlite3* db = BareOpen(path);
    if (!db) return 2;
    std::vector<BareRow> rows;
    BareLoad(db, kPlaylistRowsSql, rows);
    sqlite3_close(db);
    std::stable_sort(rows.begin(), rows.end(), [](const BareRow& a, const BareRow& b) {
        return _wtoi(a.tagTracknumber.c_str()) < _wtoi(b.tagTracknumber.c_str());
    });
    g_bareRows = &rows;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = BareWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BarePlaylist";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, L"BarePlaylist", L"bare", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                                1000, 700, frame, nullptr, wc.hInstance, nullptr);
    const wchar_t* const captions[] = {L"", L"タイトル", L"アーティスト"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW c = {};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.pszText = const_cast<wchar_t*>(captions[i]);
        c.cx = i == 0 ? 50 : 200;
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&c));
    }
    SendMessageW(list, LVM_SETITEMCOUNT, rows.size(), LVSICF_NOINVALIDATEALL);
    ShowWindow(frame, SW_SHOWNORMAL);
    UpdateWindow(frame);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// ---- timing a start from outside ---------------------------------------------------------------

struct FindShown {
    DWORD pid;
    int rows;
    HWND top = nullptr;
    bool shown = false;
};

BOOL CALLBACK FindListChild(HWND child, LPARAM param) {
    auto* find = reinterpret_cast<FindShown*>(param);
    wchar_t name[64];
    GetClassNameW(child, name, 64);
    if (lstrcmpW(name, WC_LISTVIEWW) == 0) {
        DWORD_PTR count = 0;
        if (SendMessageTimeoutW(child, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 200, &count) &&
            static_cast<int>(count) == find->rows) {
            find->shown = true;
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CALLBACK FindTop(HWND top, LPARAM param) {
    auto* find = reinterpret_cast<FindShown*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    if (pid != find->pid || !IsWindowVisible(top) || GetParent(top)) return TRUE;
    EnumChildWindows(top, FindListChild, param);
    if (find->shown) {
        find->top = top;
        return FALSE;
    }
    return TRUE;
}

// Seconds from starting `command` to a shown window of it whose list holds `rows` rows; -1
// when that never happens within a minute. The process is closed afterwards.
double TimeStart(const std::wstring& command, int rows) {
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    const double start = Now();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    double elapsed = -1;
    FindShown find{pi.dwProcessId, rows};
    while (Now() - start < 60) {
        find.shown = false;
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&find));
        if (find.shown) {
            elapsed = Now() - start;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 2) == WAIT_OBJECT_0) break;
    }
    if (find.top) PostMessageW(find.top, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return elapsed;
}

double BestStart(const std::wstring& command, int rows) {
    TimeStart(command, rows);   // warm-up: file cache and the engine DLLs
    double best = 1e30;
    for (int i = 0; i < kRepeats; ++i) {
        const double t = TimeStart(command, rows);
        if (t < 0) return -1;
        best = std::min(best, t);
    }
    return best;
}

// ---- the header click, in this process ---------------------------------------------------------

double BestHeaderClick(const std::wstring& profile, int rows, double& bare) {
    CAppSettings settings = bench_support::BenchSettings(profile);
    settings.playlistView.fontName = L"Tahoma";
    settings.playlistView.fontSize = 9;
    settings.playlistView.marginX = 3;
    settings.playlistView.columns = {{ColTrackNumber, 50}, {ColTitle, 200}, {ColArtist, 200}};
    settings.playlistView.headerSortColumn = SortColumnNone;
    settings.playlistView.headerSortAsc = true;
    bench_support::SilentHost host;
    CLarkspur2006Doc doc(settings, &host);
    doc.InitSqlTexts();
    if (!doc.OpenLibrary(profile + L"library.db")) return -1;

    CFrameWnd frame;
    frame.CreateEx(0, nullptr, L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700, nullptr, 0);
    CStatusBar status;
    status.Create(&frame);
    const UINT panes[] = {ID_SEPARATOR, ID_SEPARATOR};
    status.SetIndicators(panes, 2);
    auto* view = new CLarkspur2006View;   // deletes itself with its window
    CCreateContext context;
    context.document = &doc;
    const RECT r{0, 0, 980, 600};
    view->Create(WS_CHILD | WS_VISIBLE, r, frame.m_hWnd, 0xE900, &context);
    doc.UpdateAllViews(nullptr, HintSettingsChanged, nullptr);
    view->OnInitialUpdate();

    double best = 1e30;
    for (int i = 0; i < kRepeats; ++i) {
        CUpdateViewPlaylist unsorted;
        unsorted.sortColumn = SortColumnNone;
        doc.UpdateAllViews(nullptr, HintPlaylistReady, &unsorted);
        if (doc.GetPlaylistCache().size() != rows) return -1;
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = view->m_hWnd;
        click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(view->m_hWnd));
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = 1;   // "タイトル"
        const double start = Now();
        SendMessageW(frame.m_hWnd, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        best = std::min(best, Now() - start);
    }
    DestroyWindow(view->m_hWnd);
    frame.DestroyWindow();

    sqlite3* db = BareOpen(profile + L"library.db");
    std::vector<BareRow> loaded;
    BareLoad(db, kPlaylistRowsSql, loaded);
    sqlite3_close(db);
    bare = 1e30;
    for (int i = 0; i < kRepeats; ++i) {
        std::vector<BareRow> rowsCopy = loaded;
        const double start = Now();
        BareSortByTitle(rowsCopy);
        bare = std::min(bare, Now() - start);
    }
    return best;
}

bool BuildLibrary(const std::wstring& profile, int rows) {
    CreateDirectoryW(profile.c_str(), nullptr);
    DeleteFileW((profile + L"library.db").c_str());
    CAppSettings settings = bench_support::BenchSettings(profile);
    bench_support::SilentHost host;
    CLarkspur2006Doc doc(settings, &host);
    doc.InitSqlTexts();
    if (!doc.OpenLibrary(profile + L"library.db")) return false;
    CSQlite& db = doc.GetDatabase();
    SyntheticLibrary generator;
    sqlite3_stmt* insert = nullptr;
    db.prepare(doc.GetSqlInsert(), &insert);
    db.exec(L"BEGIN;");
    for (int i = 0; i < rows; ++i) BindTrackForInsert(insert, generator.Next(i));
    db.exec(L"COMMIT;");
    sqlite3_finalize(insert);
    return doc.SetQuery(L"bench", L"SELECT * FROM list;", false);
}

void PrintRow(const wchar_t* measure, double real, double bare, double target, bool absolute) {
    const double ratio = bare > 0 ? real / bare : 0;
    const bool ok = absolute ? real <= target : ratio <= target;
    wprintf(L"%-36ls %10.3f %10.3f %7.2fx %10ls%-5.1f %ls\n", measure, real, bare, ratio, absolute ? L"< s " : L"x ",
            target, ok ? L"ok" : L"OVER");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    setlocale(LC_ALL, "japanese");
    if (argc == 3 && std::wstring(argv[1]) == L"--bare") return BareStart(argv[2]);
    const int rows = argc > 1 ? _wtoi(argv[1]) : 100000;
    if (rows <= 0) return 2;

    bench_support::SilentErrors errors;
    SetDBErrorSink(&errors);
    const std::wstring bin = ModuleFolder() + L"..\\..\\bin\\";
    const std::wstring profile = bin + L"users\\" + kProfile + L"\\";
    CreateDirectoryW((bin + L"users").c_str(), nullptr);
    wprintf(L"building %d rows in %ls ...\n", rows, profile.c_str());
    if (!BuildLibrary(profile, rows)) {
        fwprintf(stderr, L"cannot build the library\n");
        return 1;
    }

    const double start = BestStart(L"\"" + bin + L"Larkspur2006.exe\" /p:" + kProfile, rows);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const double bareStart = BestStart(L"\"" + std::wstring(self) + L"\" --bare \"" + profile + L"library.db\"", rows);
    double bareSort = 0;
    const double sort = BestHeaderClick(profile, rows, bareSort);
    RemoveFolder(profile);
    SetDBErrorSink(nullptr);

    wprintf(L"\n%-36ls %10ls %10ls %8ls %15ls\n", L"measure (seconds)", L"real", L"bare", L"ratio", L"target");
    wprintf(L"%ls\n", std::wstring(86, L'-').c_str());
    if (start < 0 || bareStart < 0 || sort < 0) {
        fwprintf(stderr, L"a measure failed (start %.3f, bare start %.3f, sort %.3f)\n", start, bareStart, sort);
        return 1;
    }
    PrintRow(L"start to the play list shown", start, bareStart, 1.5, true);
    PrintRow(L"sort by a header click", sort, bareSort, 1.3, false);
    wprintf(L"\n%d rows; ratio = real / bare\n", rows);
    return 0;
}
