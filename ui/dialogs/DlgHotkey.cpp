#include "ui/dialogs/DlgHotkey.h"
#include "resources/resource.h"
#include "ui/dialogs/HotKeyNames.h"
#include <cwchar>

CDlgHotkey::CDlgHotkey(CWnd* parent) : CDialog(IDD_HOTKEY, parent) {}

BOOL CDlgHotkey::OnInitDialog() {
    CDialog::OnInitDialog();
    SendDlgItemMessage(IDC_HOTKEY_KEY, HKM_SETHOTKEY, m_hotKey);
    SetDlgItemText(IDC_HOTKEY_LABEL, L"「" + m_displayName + L"」(&H)");
    CheckDlgButton(IDC_HOTKEY_GLOBAL, m_global ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CDlgHotkey::OnOK() {
    m_hotKey = static_cast<WORD>(SendDlgItemMessage(IDC_HOTKEY_KEY, HKM_GETHOTKEY));
    m_keyText = HotKeyName(m_hotKey);
    m_global = IsDlgButtonChecked(IDC_HOTKEY_GLOBAL) == BST_CHECKED;
    EndDialog(IDOK);
}
