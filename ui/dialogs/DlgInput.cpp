#include "ui/dialogs/DlgInput.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CDlgInput, CDialog)
    ON_CONTROL(EN_CHANGE, IDC_INPUT_EDIT, &CDlgInput::OnEditChange)
END_MESSAGE_MAP()

CDlgInput::CDlgInput(CWnd* parent) : CDialog(IDD_INPUT, parent) {}

void CDlgInput::SetInputParams(const std::wstring& caption, const wchar_t* defaultText, Validator validator,
                               void* context) {
    m_caption = caption;
    m_text = defaultText ? defaultText : L"";
    m_prompt = L"名前(&N)";
    m_validator = validator;
    m_context = context;
}

BOOL CDlgInput::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_caption);
    ::SetDlgItemTextW(m_hWnd, IDC_INPUT_PROMPT, m_prompt.c_str());
    // Without a validator OK is always there; with one, filling the edit asks it at once.
    if (!m_validator) ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), TRUE);
    const std::wstring text = m_text;
    ::SetDlgItemTextW(m_hWnd, IDC_INPUT_EDIT, text.c_str());
    OnEditChange();   // whether or not filling the edit told us
    return TRUE;
}

void CDlgInput::OnEditChange() {
    HWND edit = ::GetDlgItem(m_hWnd, IDC_INPUT_EDIT);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit, &text[0], static_cast<int>(text.size()))));
    m_text = text;
    if (m_validator) ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), m_validator(m_text, m_context));
}
