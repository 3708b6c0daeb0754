#include "DialogImport.h"
#include "bench/support/BenchClock.h"
#include "bench/support/BenchHost.h"
#include "document/Larkspur2006Doc.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "ui/dialogs/DlgImport.h"
#include "ui/dialogs/LibraryDialogs.h"
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>
#include <vector>

namespace {

// The file dialog answers with the export.
class ExportHost : public bench_support::SilentHost {
public:
    explicit ExportHost(std::wstring path) : m_path(std::move(path)) {}
    bool ShowFileDialog(const FileDialogRequest&, FileDialogResult& result) override {
        result.pathName = m_path;
        result.files = {m_path};
        return true;
    }

private:
    std::wstring m_path;
};

// Answers every message box with OK and keeps its text.
class OkBoxes : public IMessageBoxPresenter {
public:
    OkBoxes() { m_previous = AfxSetMessageBoxPresenter(this); }
    ~OkBoxes() override { AfxSetMessageBoxPresenter(m_previous); }
    int Show(HWND, const std::wstring& text, const std::wstring&, UINT) override {
        texts.push_back(text);
        return IDOK;
    }
    std::vector<std::wstring> texts;

private:
    IMessageBoxPresenter* m_previous = nullptr;
};

void Click(CDialog& dialog, int id) {
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// Answers the dialog's messages, as its modal loop would, until the read has ended.
bool PumpWhileLoading(CDlgImport& dialog) {
    const double start = bench_support::Now();
    while (dialog.IsLoading() && bench_support::Now() - start < 600) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return !dialog.IsLoading();
}

int CountRows(CSQlite& db) {
    int rows = -1;
    sqlite3_exec(
        db.handle(), "SELECT COUNT(*) FROM list;",
        [](void* out, int, char** values, char**) {
            *static_cast<int*>(out) = values[0] ? atoi(values[0]) : -1;
            return 0;
        },
        &rows, nullptr);
    return rows;
}

}  // namespace

bool RunDialogImport(const std::wstring& exportPath, const std::wstring& folder, DialogImportResult& result) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    CAppSettings settings = bench_support::BenchSettings(folder);
    ExportHost host(exportPath);
    CLarkspur2006Doc doc(settings, &host);
    doc.InitSqlTexts();
    if (!doc.OpenLibrary(folder + L"library.db")) {
        fwprintf(stderr, L"cannot open the library in %ls\n", folder.c_str());
        return false;
    }
    OkBoxes boxes;
    bool scripted = false;
    CScriptedDialogRunner runner([&](CDialog& d) {
        auto& dialog = static_cast<CDlgImport&>(d);
        ::SendMessageW(::GetDlgItem(d, IDC_IMPORT_SOURCE), CB_SETCURSEL, 1, 0);
        const double start = bench_support::Now();
        Click(d, IDC_IMPORT_RUN);
        if (!PumpWhileLoading(dialog)) return;
        const double read = bench_support::Now();
        result.read = read - start;
        result.listed = ListView_GetItemCount(::GetDlgItem(d, IDC_IMPORT_LIST));
        Click(d, IDOK);
        result.write = bench_support::Now() - read;
        scripted = true;
    });
    IDialogRunner* previous = AfxSetDialogRunner(&runner);
    RunImportDialog(doc);
    AfxSetDialogRunner(previous);
    if (runner.m_runs != 1 || !scripted) fwprintf(stderr, L"the import dialog did not run its course\n");
    result.stored = CountRows(doc.GetDatabase());
    result.completed = !boxes.texts.empty() && boxes.texts.back() == L"インポート完了";
    return scripted;
}
