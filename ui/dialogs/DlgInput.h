#pragma once
#include "framework/Dialog.h"
#include <string>

// Asks for one line of text (a folder or preset name). OK is enabled only while the caller's
// validator accepts the text; after OK the caller reads it.
class CDlgInput : public CDialog {
public:
    using Validator = bool (*)(const std::wstring& text, void* context);

    explicit CDlgInput(CWnd* parent = nullptr);

    // Caption, default text (null: empty), validator (null: OK always enabled) and the
    // value handed to it unchanged. The prompt becomes "名前(&N)".
    void SetInputParams(const std::wstring& caption, const wchar_t* defaultText, Validator validator,
                        void* context);

    // The default text, then the edit's text after every change: the result after OK.
    const std::wstring& GetText() const { return m_text; }

protected:
    BOOL OnInitDialog() override;
    void OnEditChange();
    DECLARE_MESSAGE_MAP()

private:
    std::wstring m_text;
    std::wstring m_caption;
    std::wstring m_prompt;
    Validator m_validator = nullptr;
    void* m_context = nullptr;
};
