#pragma once
#include "app/AppSettings.h"
#include "framework/PropertySheet.h"
#include <string>

class CLarkspur2006Doc;

// A page of the options sheet. It edits a settings record of its own, constructed empty:
// OnInitDialog fills only the page's fields from the live settings, every control writes into
// the page's record and marks the page modified, and OK or Apply copies exactly those fields
// back (under the now-playing lock, as worker threads read some of them). A page that was
// never shown copies nothing.
class CSettingsPage : public CPropertyPage {
public:
    explicit CSettingsPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

    CLarkspur2006Doc* m_pDoc = nullptr;

    // The page's own record (for the sheet's callers and tests).
    const CAppSettings& PageSettings() const { return m_settings; }

    // Validates, copies back, tells whoever must know and accepts; FALSE keeps the sheet open.
    BOOL OnApply() override;

protected:
    // The live settings of the document.
    CAppSettings& Live() const;
    // Reads the page's fields from the live settings; called by OnInitDialog.
    virtual void LoadSettings() = 0;
    // Copies the page's fields into `live`.
    virtual void ApplySettings(CAppSettings& live) = 0;
    // False refuses the apply (the page has shown why).
    virtual bool ValidateSettings() { return true; }
    // After applying: hint 5 to every view unless a page says otherwise.
    virtual void AfterApply();

    BOOL OnInitDialog() override;
    // Fills the controls from the page's record (LoadSettings has run).
    virtual void FillControls() = 0;
    void OnOK() override;
    void Modified() { SetModified(TRUE); }

    // The handler families of the display pages. Each returns true when the user chose.
    bool PickColor(COLORREF& color);
    bool PickFont(std::wstring& faceName, int& pointSize);

    // Combo helpers: entries with item data, the selection by item data.
    int AddItem(int id, const std::wstring& text, int data);
    // Selects the entry whose data is `data`; false (and nothing changed) when none has it.
    bool SelectData(int id, int data);
    // The item data of the selected entry, or `fallback` when none is selected.
    int SelectedData(int id, int fallback) const;
    // The ten transparency entries ("10 %" ... "透過無し"), the stored one selected, else the first.
    void FillAlphaList(int id, int value);
    std::wstring ItemText(int id) const { return GetDlgItemText(id); }
    bool IsChecked(int id) const { return IsDlgButtonChecked(id) == BST_CHECKED; }
    void Redraw(int id) const;

    // A copy of control `id`'s font with the face "MS Gothic", for template and command edits.
    HFONT MakeGothicFont(int id) const;

    CAppSettings m_settings;
    bool m_loaded = false;
};

// Shared drawing of the settings pages' owner-drawn previews and links.
namespace settings_paint {
// The one-pixel frame of colour 0x202020 around a preview.
void Frame(HDC dc, const RECT& r);
// A font from a face name and a size in points (weight 400 or 700).
HFONT MakeFont(HDC dc, const std::wstring& faceName, int pointSize, int weight = FW_NORMAL);
// "%s : %d pt".
std::wstring FontSample(const std::wstring& faceName, int pointSize);
// How far a preview's text that is aligned to an edge keeps from the frame.
constexpr int kPreviewTextInset = 4;
// Text in `font` and `color` on a transparent background; centred and right-aligned single
// lines are placed by the width their pixels take, so that they keep off the frame.
void Text(HDC dc, const std::wstring& text, RECT r, HFONT font, COLORREF color, UINT format);
// A link: the caption underlined in blue, on one line, left-aligned, vertically centred.
void Link(const DRAWITEMSTRUCT& item, HFONT pageFont);
// Opens an address with the shell's open action.
void OpenLink(HWND owner, const std::wstring& address);
}  // namespace settings_paint
