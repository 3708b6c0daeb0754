#pragma once
#include "framework/Dialog.h"
#include <string>

// "ホットキーの設定": one action's key combination and whether it works system-wide.
class CDlgHotkey : public CDialog {
public:
    explicit CDlgHotkey(CWnd* parent = nullptr);

    // Set before DoModal; after IDOK they hold the choice (m_keyText the combination's text).
    std::wstring m_displayName;
    std::wstring m_keyText;
    WORD m_hotKey = 0;
    bool m_global = false;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
