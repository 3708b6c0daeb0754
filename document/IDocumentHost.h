#pragma once
#include <windows.h>
#include <commdlg.h>
#include <functional>
#include <string>
#include <vector>

class CLarkspur2006Doc;

// A common file dialog as the document asks for it.
struct FileDialogRequest {
    bool save = false;
    std::wstring title;          // empty: the system's own
    std::wstring filter;         // "description|pattern|...", ending with "|"
    std::wstring defaultExt;     // without the dot
    std::wstring defaultName;
    std::wstring initialDir;     // empty: the system's choice
    bool multiSelect = false;
    bool overwritePrompt = false;
    DWORD nameBufferChars = MAX_PATH;
};

struct FileDialogResult {
    std::wstring pathName;             // the dialog's path name: the folder when several files were chosen
    std::vector<std::wstring> files;   // full paths, in the dialog's order
};

// Everything the document asks of the windows around it: message boxes, file dialogs
// and the main frame's bars. The main frame implements it; tests use a recording fake,
// so nothing modal runs in a test. CDocumentHostDefault shows the plain system dialogs
// and leaves the frame's parts alone.
class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;

    // MessageBoxW with the application's caption; returns the button chosen.
    virtual int ShowMessage(const std::wstring& text, UINT type) = 0;
    // False when the user cancelled.
    virtual bool ShowFileDialog(const FileDialogRequest& request, FileDialogResult& result) = 0;
    // The navigate toolbar's current-query text, redrawn at once while the frame exists.
    virtual void SetQueryTitle(const std::wstring& title) = 0;
    // The folder chooser with its check box "サブディレクトリも検索(&S)", opened on
    // `folder` (empty: the last folder chosen): 1 when a folder was chosen (`folder` and
    // `subfolders` then hold the choice), 2 when cancelled or failed.
    virtual int BrowseForFolder(std::wstring& folder, bool& subfolders) = 0;
    // The font dialog of screen fonts without style and size; false when cancelled.
    virtual bool ChooseFontName(std::wstring& faceName) = 0;
    // The library dialogs, which belong to the main window (without it nothing runs): the
    // property dialog of the whole database, true when it changed the library; the import,
    // true when it ended with OK after writing rows.
    virtual bool RunLibraryProperties(CLarkspur2006Doc& doc) { (void)doc; return false; }
    virtual bool RunImport(CLarkspur2006Doc& doc) { (void)doc; return false; }
    // The main window's message pane of the status bar; empty: its idle text again.
    virtual void SetStatusText(const std::wstring& text) { (void)text; }
    // The SQL table help, modal over the window that is active (the query editor, say).
    virtual void RunTableHelp() {}
    // The options sheet (hot keys suspended while it is open) and the About sheet.
    virtual void RunOptions(CLarkspur2006Doc& doc) { (void)doc; }
    virtual void RunAbout(CLarkspur2006Doc& doc) { (void)doc; }
};


class CDocumentHostDefault : public IDocumentHost {
public:
    int ShowMessage(const std::wstring& text, UINT type) override;
    bool ShowFileDialog(const FileDialogRequest& request, FileDialogResult& result) override;
    void SetQueryTitle(const std::wstring&) override {}
    // The folder chooser belongs to the main window: without it nothing is chosen.
    int BrowseForFolder(std::wstring&, bool&) override { return 2; }
    bool ChooseFontName(std::wstring& faceName) override;

    // The window that owns the dialogs (null: the active window).
    HWND owner = nullptr;

    // Runs the open or save dialog: 0 when the user chose, else CommDlgExtendedError's code
    // (0 there too when cancelled, which the runner reports as kFileDialogCancelled). Tests
    // replace it; empty: the system's dialogs.
    static const DWORD kFileDialogCancelled = 0xFFFFFFFF;
    std::function<DWORD(OPENFILENAMEW& ofn, bool save)> runFileDialog;
};
