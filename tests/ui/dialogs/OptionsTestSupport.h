#pragma once
#include "DocTestSupport.h"
#include "DialogTestSupport.h"
#include "framework/CommonDialogs.h"
#include "framework/PropertySheet.h"
#include "ui/dialogs/OptionsSheet.h"
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace opt_test {

// Records what the sheet asks of the main window, in order.
class RecordingOptionsHost : public IOptionsHost {
public:
    void UnregisterHotKeys() override { calls.push_back("unregister"); }
    void RegisterHotKeys() override { calls.push_back("register"); }
    void SetHookEnabled(bool enabled) override { calls.push_back(enabled ? "hook on" : "hook off"); }
    void ApplyTrayIconSetting() override { calls.push_back("tray"); }
    std::vector<std::string> calls;
};

// Answers the colour and font dialogs with queued choices (none queued: Cancel).
class CommonDialogAnswers : public ICommonDialogRunner {
public:
    CommonDialogAnswers() { m_previous = AfxSetCommonDialogRunner(this); }
    ~CommonDialogAnswers() override { AfxSetCommonDialogRunner(m_previous); }
    BOOL RunColorDialog(CHOOSECOLORW& cc) override {
        colorStarts.push_back(cc.rgbResult);
        colorFlags = cc.Flags;
        if (colors.empty()) return FALSE;
        cc.rgbResult = colors.front();
        colors.erase(colors.begin());
        return TRUE;
    }
    BOOL RunFontDialog(CHOOSEFONTW& cf) override {
        fontStarts.push_back(cf.lpLogFont->lfFaceName);
        fontFlags = cf.Flags;
        if (fonts.empty()) return FALSE;
        lstrcpynW(cf.lpLogFont->lfFaceName, fonts.front().first.c_str(), LF_FACESIZE);
        cf.iPointSize = fonts.front().second;
        fonts.erase(fonts.begin());
        return TRUE;
    }
    BOOL RunFileDialog(OPENFILENAMEW& ofn, bool) override {
        fileTitles.push_back(ofn.lpstrTitle ? ofn.lpstrTitle : L"");
        if (files.empty()) return FALSE;
        lstrcpynW(ofn.lpstrFile, files.front().c_str(), static_cast<int>(ofn.nMaxFile));
        files.erase(files.begin());
        return TRUE;
    }
    std::vector<COLORREF> colors;
    std::vector<std::pair<std::wstring, int>> fonts;   // face, tenths of a point
    std::vector<std::wstring> files;
    std::vector<COLORREF> colorStarts;
    std::vector<std::wstring> fontStarts;
    std::vector<std::wstring> fileTitles;
    DWORD colorFlags = 0;
    DWORD fontFlags = 0;

private:
    ICommonDialogRunner* m_previous = nullptr;
};

// The sheet's pages in their order.
enum Page { Basic, Visual, Information, Window, Mini, Hotkey, About };

inline CPropertySheet& SheetOf(CDialog& d) { return static_cast<CPropertySheet&>(d); }
inline CPropertyPage& Show(CDialog& d, Page page) {
    SheetOf(d).SetActivePage(page);
    return *SheetOf(d).GetPage(page);
}
inline bool IsSheet(CDialog& d) { return d.GetTemplateId() == 0; }

// Typing into an edit (its change notification follows).
inline void Type(CWnd& page, int id, const std::wstring& text) { ::SetDlgItemTextW(page, id, text.c_str()); }
// Picking entry `index` of a drop-down list as the user would.
inline void Pick(CWnd& page, int id, int index) {
    ::SendDlgItemMessageW(page, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(page, id)));
}
inline void Press(CWnd& page, int id) {
    page.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(page, id)));
}
inline void Check(CWnd& page, int id, bool on) {
    ::CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
    Press(page, id);
}
inline int Selection(CWnd& page, int id) { return static_cast<int>(::SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0)); }
inline std::wstring SelectionText(CWnd& page, int id) {
    const int index = Selection(page, id);
    if (index < 0) return L"";
    wchar_t text[256] = {};
    ::SendDlgItemMessageW(page, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}
inline bool ApplyEnabled(CDialog& sheet) { return ::IsWindowEnabled(::GetDlgItem(sheet, ID_APPLY_NOW)) != FALSE; }

// Every field that a settings page edits, by name, as text: what a page changed or kept.
std::map<std::string, std::wstring> EditedFields(const CAppSettings& s);
// Gives every edited field a value of its own for `seed` (1, 2, ...), valid for every page.
void SeedFields(CAppSettings& s, int seed);

// The hints that reached the library's view.
inline int HintCount(doc_test::Library& lib, LPARAM code) {
    int n = 0;
    for (const auto& h : lib.view.hints) n += h.code == code ? 1 : 0;
    return n;
}

}  // namespace opt_test
