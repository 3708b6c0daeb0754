#pragma once
#include "framework/Dialog.h"
#include <prsht.h>
#include <string>
#include <vector>

// The command id of a property sheet's Apply button.
constexpr int ID_APPLY_NOW = 0x3021;

// One page of a property sheet, from a dialog template whose caption is the tab's title.
// Its window is created the first time the sheet shows it and lives until the sheet closes;
// only pages with a window hear OK and Apply.
class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT nIDTemplate);

    // Enables the sheet's Apply button for this page (or takes this page's claim back).
    void SetModified(BOOL changed = TRUE);

    // The sheet's notifications. OnApply runs on OK and on Apply: FALSE keeps the sheet open
    // on this page. The default calls OnOK and accepts.
    virtual BOOL OnApply();
    // Cancel: the default calls OnCancel.
    virtual void OnReset();
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();

    PROPSHEETPAGEW m_psp{};

protected:
    // A page never ends the sheet: OK and Cancel belong to the sheet.
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// The platform's property sheet over pages from templates. DoModal runs through the
// framework's dialog runner like any dialog: a scripted run makes the sheet hidden and
// modeless, and pressing OK or Cancel (PressButton) ends it.
class CPropertySheet : public CDialog {
public:
    explicit CPropertySheet(const std::wstring& caption, CWnd* pParent = nullptr, UINT selectPage = 0);

    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    // The shown page, or -1 while the sheet has no window.
    int GetActiveIndex() const;
    BOOL SetActivePage(int index);
    // Stacked tabs wrap into several rows; without them the tabs scroll in one row.
    void EnableStackedTabs(BOOL stacked) { m_stackedTabs = stacked != FALSE; }
    // Presses PSBTN_OK, PSBTN_APPLYNOW or PSBTN_CANCEL as the user would.
    void PressButton(int button);
    HWND GetTabControl() const;
    const std::wstring& GetCaption() const { return m_caption; }

    INT_PTR RunSystemModal(HWND owner) override;
    BOOL CreateForScript(HWND owner) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Builds the header and the pages' handles; null on failure.
    bool Run(HWND owner, bool scripted, INT_PTR& result);
    static int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM lParam);

    std::wstring m_caption;
    std::vector<CPropertyPage*> m_pages;
    UINT m_startPage = 0;
    bool m_stackedTabs = true;
    bool m_scripted = false;
    bool m_hidden = false;
};
