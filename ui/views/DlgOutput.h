#pragma once
#include "framework/CommonCtrls.h"
#include "framework/Dialog.h"
#include <functional>
#include <string>

class CLarkspur2006Doc;

// A gain trackbar that never draws a focus rectangle.
class CSliderGain : public CSliderCtrl {
protected:
    void OnCustomDraw(NMHDR* nm, LRESULT* result);
    DECLARE_MESSAGE_MAP()
};

// The "Output" tab of the information pane: the output device, sample rate and float output
// (applied by re-initialising the player), the equaliser switch, its named presets and the
// ten band gains.
class CDlgOutput : public CDialog {
public:
    // Asks for a new preset's name: false when cancelled. `accept` tells whether OK may be
    // pressed for a text.
    using PresetNameAsker = std::function<bool(std::wstring& name, const std::function<bool(const std::wstring&)>& accept)>;

    CDlgOutput();
    void SetDocument(CLarkspur2006Doc* doc) { m_doc = doc; }
    // Replaces the text input dialog "新規EQ".
    void SetPresetNameAsker(PresetNameAsker asker) { m_askName = std::move(asker); }

    // Refills every control from the settings.
    void UpdateControls();
    BOOL OnInitDialog() override;

    static const int kGainIds[10];
    static const int kLabelIds[10];

    // Whether a new preset may take `name` (the text input dialog's validator).
    static bool ValidatePresetName(const std::wstring& name, void* presets);

    void OnChangeDevice();
    void OnSelectPreset();
    void OnNewPreset();
    void OnDeletePreset();
    void OnEqualizerSwitch();
    void OnResetGains();

protected:
    void OnOK() override {}
    void OnCancel() override {}
    void OnPaint();
    void OnDestroy();
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

private:
    void SetBandSlider(int band, float centre, float gain);
    std::wstring SelectedPresetName() const;
    bool ApplyEqualizerIfOn();

    CLarkspur2006Doc* m_doc = nullptr;
    CSliderGain m_gains[10];
    PresetNameAsker m_askName;
};
