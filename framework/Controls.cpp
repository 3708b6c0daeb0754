#include "framework/Controls.h"

namespace {
BOOL CreateControl(CWnd& control, const wchar_t* className, const wchar_t* text, DWORD style,
                   const RECT& rect, CWnd* parent, UINT id) {
    return control.CreateEx(0, className, text, style, rect, parent ? parent->m_hWnd : nullptr, id);
}

std::wstring ItemText(const CWnd& control, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT n = control.SendMessage(lengthMessage, static_cast<WPARAM>(index));
    if (n <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const LRESULT got = control.SendMessage(textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}
}  // namespace

BOOL CButton::Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, L"BUTTON", text, style, rect, parent, id);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, L"EDIT", L"", style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL noScroll) const {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
    if (!noScroll) SendMessage(EM_SCROLLCARET);
}

void CEdit::GetSel(int& start, int& end) const {
    DWORD s = 0, e = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

BOOL CStatic::Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, L"STATIC", text, style, rect, parent, id);
}

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, L"COMBOBOX", L"", style, rect, parent, id);
}

std::wstring CComboBox::GetLBText(int index) const {
    return ItemText(*this, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, L"LISTBOX", L"", style, rect, parent, id);
}

std::wstring CListBox::GetText(int index) const {
    return ItemText(*this, LB_GETTEXTLEN, LB_GETTEXT, index);
}
