#pragma once
#include "ui/dialogs/SettingsPage.h"

// "基本設定": date format, image quality, caption template, play triggers, restoring the
// last play list, checking file times and the rating icons.
class CPpDefault : public CSettingsPage {
public:
    CPpDefault();
    ~CPpDefault() override;

    // The address the format help link opens.
    static const wchar_t* const kFormatHelpAddress;

protected:
    void LoadSettings() override;
    void FillControls() override;
    void ApplySettings(CAppSettings& live) override;
    bool ValidateSettings() override;

    void OnDateSelChange();
    void OnDateEdit();
    void OnInterpolation();
    void OnAppTitle();
    void OnRestore();
    void OnCheckModify();
    void OnTriggerStart();
    void OnTriggerStop();
    void OnRatingType();
    void OnStarFull();
    void OnStarEmpty();
    void OnBrowseFull();
    void OnBrowseEmpty();
    void OnFormatHelp();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    void EnableCustomIcons();
    void Browse(int editId, const wchar_t* title);
    void DrawDatePreview(const DRAWITEMSTRUCT& item);
    void DrawRatingPreview(const DRAWITEMSTRUCT& item);

    HFONT m_gothic = nullptr;
};

// The date preview's text: the current local time in `format` (at most 128 characters),
// empty when the run-time cannot format it.
std::wstring FormatDatePreview(const std::wstring& format);
