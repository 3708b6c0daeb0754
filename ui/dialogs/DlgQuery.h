#pragma once
#include "framework/Dialog.h"
#include <string>

// Creates or edits one saved query (".q"): its file name, the play list's sort and the SQL.
// Only a plain file name and some SQL text are checked, not the SQL itself.
class CDlgQuery : public CDialog {
public:
    explicit CDlgQuery(CWnd* parent = nullptr);
    ~CDlgQuery() override;

    // A new query in `folder` (a trailing backslash is optional), with an optional proposed
    // name and SQL text.
    void SetNewQuery(const std::wstring& folder, const std::wstring& name = L"", const std::wstring& sql = L"");
    // An edit of the query file at `path`.
    void SetEditQuery(const std::wstring& path);

    bool IsNewQuery() const { return m_newQuery; }
    // The folder or file given; after OK, the path of the file written.
    const std::wstring& GetTargetPath() const { return m_targetPath; }

    // The sort entries of the list, in order: text and column type (-2 none, -1 keep).
    struct SortEntry {
        const wchar_t* text;
        int column;
    };
    static const SortEntry kSortEntries[20];

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnSize(UINT type, int cx, int cy);
    void OnTextChange();
    void OnSortChange();
    void OnTableHelp();
    DECLARE_MESSAGE_MAP()

private:
    void UpdateOkButton();
    void Layout(int width, int height);
    // Writes the file; false when the user keeps another query's file from being overwritten,
    // or after the message when it could not be written.
    bool SaveQuery(const std::wstring& name, const std::wstring& sql);

    HFONT m_sqlFont = nullptr;
    HICON m_icon = nullptr;
    bool m_newQuery = true;
    std::wstring m_targetPath;
    std::wstring m_suggestedName;
    std::wstring m_suggestedSql;
};
