#pragma once
#include "framework/PropertySheet.h"
#include <string>

class CLarkspur2006Doc;

// "バージョン情報": the program's title and version, the credits of what it contains and the
// add-on decoders the player has loaded. It edits nothing.
class CPpAbout : public CPropertyPage {
public:
    CPpAbout();
    ~CPpAbout() override;

    CLarkspur2006Doc* m_pDoc = nullptr;

    // "Spur Version <FileVersion>\r\n<LegalCopyright>" from the program's version resource.
    static std::wstring TitleLine();
    // Every credited component, in blocks separated by empty lines.
    static std::wstring Credits();

protected:
    BOOL OnInitDialog() override;
    void OnLink();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    void FillAddons();
};
