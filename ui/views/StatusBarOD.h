#pragma once
#include "framework/CommonCtrls.h"
#include "framework/ImageList.h"
#include "framework/StatusBar.h"
#include <string>

class CAppSettings;
class CLarkspur2006Doc;

// The status bar's volume trackbar: it gives the focus to the status bar at once, and turns
// the wheel round, so that turning it away from the user raises the volume.
class CSliderVolume : public CSliderCtrl {
protected:
    void OnSetFocus(HWND oldWnd);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Wheel turn not yet moved, in lines times WHEEL_DELTA.
    int m_wheelUnits = 0;
};

// The main window's status bar: the message pane, the play-list summary (pane 1), the
// speaker that toggles mute (pane 2), the volume trackbar (pane 3) and the volume in
// percent (pane 4).
class CStatusBarOD : public CStatusBar {
public:
    enum { PaneMessage = 0, PaneSummary = 1, PaneMute = 2, PaneVolume = 3, PanePercent = 4 };
    static const UINT kVolumeSliderId = 3;
    static const UINT_PTR kMuteToolId = 4;

    // The settings whose "MasterVolume" and mute flag the bar shows and changes; set before
    // Create.
    void SetSettings(CAppSettings* settings) { m_settings = settings; }

    // The bar, then the volume trackbar and the speaker's image list.
    BOOL Create(CWnd* parent, DWORD style, UINT id);
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    INT_PTR OnToolHitTest(POINT point, TOOLINFOW* info) const override;

    // Puts the volume trackbar onto pane 3 (after the panes are set or sized).
    void PlaceVolumeSlider();
    // The volume trackbar follows `volume` and the bar redraws at once.
    void SetVolumeSlider(int volume);
    // Tooltip texts: the speaker pane ("ミュート解除" while muted, else "ミュート") and the
    // volume trackbar ("ボリューム : 40%").
    std::wstring GetMuteTipText() const;
    std::wstring GetVolumeTipText() const;
    CSliderVolume& GetVolumeSlider() { return m_volume; }

protected:
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

private:
    void RepaintPane(int index);
    void ApplyVolume();
    CLarkspur2006Doc* ActiveDocument() const;

    CImageList m_images;
    CSliderVolume m_volume;
    CAppSettings* m_settings = nullptr;
};
