#include "document/DlgDBError.h"
#include "resources/resource.h"

CDlgDBError::CDlgDBError(const std::wstring& message, const std::wstring& sqliteText, CWnd* parent)
    : CDialog(IDD_DBERROR, parent), m_message(message), m_sqliteText(sqliteText) {}

BOOL CDlgDBError::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SendDlgItemMessageW(m_hWnd, IDC_DBERROR_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_EXCLAMATION)), 0);
    ::SetDlgItemTextW(m_hWnd, IDC_DBERROR_MESSAGE, m_message.c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_DBERROR_SQLITE, m_sqliteText.c_str());
    // The focus on OK: in the edit all its text would be selected and scrolled to its end,
    // hiding the first lines (the file of a damaged library).
    ::SetFocus(::GetDlgItem(m_hWnd, IDOK));
    return FALSE;
}

void CDBErrorDialogSink::ShowDBError(const wchar_t* message, const wchar_t* sqliteText) {
    CDlgDBError dialog(message ? message : L"", sqliteText ? sqliteText : L"");
    dialog.DoModal();
}
