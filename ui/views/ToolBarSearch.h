#pragma once
#include "framework/ToolBar.h"
#include <map>
#include <string>

// The search toolbar: the search-mode combo, the search-text combo and the search button.
class CToolBarSearch : public CToolBar {
public:
    ~CToolBarSearch() override;

    // Keeps the two combo boxes, makes the fonts and fills the captions of the search ways.
    void InitSearchModes(HWND textCombo, HWND modeCombo);
    // The caption of a search way ("単語検索", "タイトル", ...); empty for an unknown way.
    std::wstring GetModeCaption(int way) const;
    // True while the mode combo's list is dropped down.
    bool IsModeListOpen() const { return m_listOpen; }
    // The toolbar width that leaves a search-text combo `textWidth` pixels wide beside the mode
    // combo and the search button.
    int WidthForText(int textWidth) const;

protected:
    // Sizing (the text combo takes the width the other buttons leave), the mode combo's
    // owner-drawn items and its list tracking.
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnSizeBar(int width);
    void DrawModeItem(const DRAWITEMSTRUCT& item);
    int ItemHeight() const;

    std::map<int, std::wstring> m_searchModes;
    HWND m_modeCombo = nullptr;
    HWND m_textCombo = nullptr;
    HFONT m_normalFont = nullptr;
    HFONT m_boldFont = nullptr;
    bool m_listOpen = false;
};
