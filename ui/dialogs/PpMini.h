#pragma once
#include "ui/dialogs/SettingsPage.h"

class IOptionsHost;

// "タスクトレイ": when the tray icon shows, what each click on it does and the balloon shown
// for a new track. The click actions are those of the hot-key map.
class CPpMini : public CSettingsPage {
public:
    CPpMini();
    ~CPpMini() override;

    IOptionsHost* m_pHost = nullptr;
    // The platform's version (the application's when it has one): 5.0 has no balloon clicks.
    DWORD m_osMajor = 0;
    DWORD m_osMinor = 0;

protected:
    void LoadSettings() override;
    void FillControls() override;
    void ApplySettings(CAppSettings& live) override;
    bool ValidateSettings() override;
    void AfterApply() override;

    void OnBalloon();
    void OnTimeout();
    void OnTitle();
    void OnText();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    static void CopyFields(const CAppSettings& from, CAppSettings& to);
    // The click field that list `id` edits, or null.
    int* ListField(int id);
    HFONT m_gothic = nullptr;
};
