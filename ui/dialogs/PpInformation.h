#pragma once
#include "ui/dialogs/SettingsPage.h"

// "表示 2": fonts and colours of the now-playing pane, the spectrum's colours and frame rate,
// the cover image's options and the related albums' font and transparency.
class CPpInformation : public CSettingsPage {
public:
    CPpInformation();

protected:
    void LoadSettings() override;
    void FillControls() override;
    void ApplySettings(CAppSettings& live) override;

    void OnColor(UINT id);
    void OnFont(UINT id);
    void OnCheck(UINT id);
    void OnFrameRate();
    void OnFade();
    void OnAlphaOut();
    void OnAlphaIn();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    DECLARE_MESSAGE_MAP()

private:
    static void CopyFields(const CAppSettings& from, CAppSettings& to);
    void DrawPreview(const DRAWITEMSTRUCT& item);
};
