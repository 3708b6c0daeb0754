#pragma once
#include "document/DBError.h"
#include "framework/Dialog.h"
#include <string>

// The database error: a fixed message and SQLite's own text, with the exclamation icon.
class CDlgDBError : public CDialog {
public:
    CDlgDBError(const std::wstring& message, const std::wstring& sqliteText, CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;

private:
    std::wstring m_message;
    std::wstring m_sqliteText;
};

// The sink of ShowDBError that the program installs at start: the dialog, run modally.
class CDBErrorDialogSink : public IDBErrorSink {
public:
    void ShowDBError(const wchar_t* message, const wchar_t* sqliteText) override;
};
