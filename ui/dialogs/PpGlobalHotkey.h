#pragma once
#include "ui/dialogs/SettingsPage.h"

class IOptionsHost;

// "ホットキー": a key combination and a scope (global or local) for every action, edited one
// at a time in the hot-key editor. The new keys take effect when the sheet closes.
class CPpGlobalHotkey : public CSettingsPage {
public:
    CPpGlobalHotkey();

    IOptionsHost* m_pHost = nullptr;

protected:
    void LoadSettings() override;
    void FillControls() override;
    void ApplySettings(CAppSettings& live) override;
    // The main window registers the keys again when the sheet closes: nothing to tell now.
    void AfterApply() override {}

    void OnEnable();
    void OnClearAll();
    void OnListClick(NMHDR* nm, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void FillList();
    // Sizes the three columns to the list's width, so that no horizontal scroll bar shows.
    void FitColumns();
    void SetRowTexts(int row, const HotKeyEntry& entry, const std::wstring& keyText);
};
