#pragma once
#include "ui/dialogs/SettingsPage.h"

// "表示 1": fonts and colours of the query tree, the group view and the play list, the
// grouping thresholds, the grid and the margin, each with a live preview.
class CPpVisual : public CSettingsPage {
public:
    CPpVisual();

protected:
    void LoadSettings() override;
    void FillControls() override;
    void ApplySettings(CAppSettings& live) override;

    void OnColor(UINT id);
    void OnFont(UINT id);
    void OnAlphabet();
    void OnKana();
    void OnKanji();
    void OnGridType();
    void OnMargin();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    DECLARE_MESSAGE_MAP()

private:
    static void CopyGroupFields(const CAppSettings& from, CAppSettings& to);
    static void CopyPlaylistFields(const CAppSettings& from, CAppSettings& to);
    // The selected entry's data into `field`; redraws `preview` (0: none).
    void StoreSelection(int id, int& field, int preview);
    void DrawQueryView(const DRAWITEMSTRUCT& item);
    void DrawGroupView(const DRAWITEMSTRUCT& item);
    void DrawPlaylist(const DRAWITEMSTRUCT& item);
};
