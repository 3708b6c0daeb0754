#pragma once
#include "framework/Wnd.h"
#include <windows.h>
#include <shlobj.h>
#include <functional>
#include <string>

// The folder chooser of the add-folder command: the shell's folder dialog with a check box
// "サブディレクトリも検索(&S)" above its tree. The dialog is subclassed while it runs.
class CBrowseForFolder : public CWnd {
public:
    enum Result { kChosen = 1, kCancelled = 2 };

    CBrowseForFolder() = default;
    ~CBrowseForFolder() override;

    // Shows the dialog owned by `owner`, starting at `startFolder` (null: the last folder
    // chosen in this process). kChosen stores the path; kCancelled also covers a failure,
    // which is reported to the user first.
    int Browse(HWND owner, const wchar_t* startFolder = nullptr);

    const std::wstring& GetPath() const { return m_path; }
    // 1 when subfolders are to be searched too, else 0.
    int GetSubFolderFlag() const { return m_subFolder; }

    // The process-wide start folder: the one given last, or the last one chosen.
    static std::wstring& StartFolder();

    // Runs the modal folder dialog and gives the chosen item (freed by the caller with
    // CoTaskMemFree) or null. Tests replace it; an empty function restores the shell's
    // dialog. Returns the previous one.
    using DialogRunner = std::function<PIDLIST_ABSOLUTE(BROWSEINFOW&)>;
    static DialogRunner SetDialogRunner(DialogRunner runner);

    // The file-system path of a shell item, of any length; false when it has none.
    static bool PathFromIDList(PCIDLIST_ABSOLUTE item, std::wstring& path);

protected:
    // For choosers of other folders: the dialog's title, and whether it has the check box.
    CBrowseForFolder(const wchar_t* title, bool subfolderBox) : m_title(title), m_subfolderBox(subfolderBox) {}
    // The folder selected when the dialog opens (empty: none).
    virtual std::wstring InitialSelection() const { return StartFolder(); }
    // The dialog's selection moved to `item`.
    virtual void OnSelectionChanged(HWND dialog, PCIDLIST_ABSOLUTE item) { (void)dialog; (void)item; }
    // A folder was chosen; the default keeps it as the process-wide start folder.
    virtual void OnChosen(const std::wstring& path) { StartFolder() = path; }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data);
    void OnInitialized(HWND dialog);
    void PlaceCheckBox();
    HWND FindTree() const;

    std::wstring m_path;
    int m_subFolder = 1;
    HWND m_checkBox = nullptr;
    const wchar_t* m_title = nullptr;
    bool m_subfolderBox = true;
};
