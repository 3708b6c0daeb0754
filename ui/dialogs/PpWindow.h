#pragma once
#include "ui/dialogs/SettingsPage.h"

// "画像と歌詞": the search patterns of cover and lyrics files, and the colours, font and
// transparency of the cover window and the lyrics window.
class CPpWindow : public CSettingsPage {
public:
    CPpWindow();
    ~CPpWindow() override;

protected:
    void LoadSettings() override;
    void FillControls() override;
    void ApplySettings(CAppSettings& live) override;

    void OnPicturePattern();
    void OnLyricsPattern();
    void OnButton(UINT id);
    void OnImageAlpha();
    void OnLyricsAlpha();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    DECLARE_MESSAGE_MAP()

private:
    static void CopyFields(const CAppSettings& from, CAppSettings& to);
    HFONT m_gothic = nullptr;
};
