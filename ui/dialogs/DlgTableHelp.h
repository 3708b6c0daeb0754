#pragma once
#include "framework/Dialog.h"

// The columns of the library table and two of the SQL functions, for writing queries; a
// double-click puts a name on the clipboard.
class CDlgTableHelp : public CDialog {
public:
    explicit CDlgTableHelp(CWnd* parent = nullptr) : CDialog(IDD, parent) {}
    static const UINT IDD = 178;

    struct Row {
        const wchar_t* name;
        const wchar_t* meaning;
    };
    static const Row kRows[21];

protected:
    BOOL OnInitDialog() override;
    void OnDblClkList(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()
};
