// Notifications a parent reflects to the control's own object.
#include "framework/CommonCtrls.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/TestResources.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

class NotifyList : public CListCtrl {
public:
    void OnItemChanged(NMHDR*, LRESULT*) { g_log.push_back("list: changed"); }
    BOOL OnInserted(NMHDR*, LRESULT*) {
        g_log.push_back("list: inserted");
        return FALSE;   // the parent hears of it too
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NotifyList, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, &NotifyList::OnItemChanged)
    ON_NOTIFY_REFLECT_EX(LVN_INSERTITEM, &NotifyList::OnInserted)
END_MESSAGE_MAP()

class OwnerDrawButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT item) { g_log.push_back("button: draw " + std::to_string(item->itemID)); }
    void MeasureItem(LPMEASUREITEMSTRUCT item) { item->itemHeight = 23; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(OwnerDrawButton, CButton)
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

class CheckBox : public CButton {
public:
    void OnClicked() { g_log.push_back("check: clicked " + std::to_string(GetCheck())); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CheckBox, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, &CheckBox::OnClicked)
END_MESSAGE_MAP()

class Slider : public CSliderCtrl {
public:
    void HScroll(UINT code, UINT) { g_log.push_back("slider: " + std::to_string(code) + " at " + std::to_string(GetPos())); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Slider, CSliderCtrl)
    ON_WM_HSCROLL_REFLECT()
END_MESSAGE_MAP()

class ColourEdit : public CEdit {
public:
    HBRUSH CtlColor(HDC dc, UINT) {
        SetTextColor(dc, RGB(255, 0, 0));
        return m_brush;
    }
    HBRUSH m_brush = CreateSolidBrush(RGB(9, 9, 9));
    ~ColourEdit() override { DeleteObject(m_brush); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ColourEdit, CEdit)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class FormDialog : public CDialog {
public:
    FormDialog() : CDialog(IDD_TEST_FORM) {}
    BOOL OnInitDialog() override {
        m_list.SubclassDlgItem(IDC_TEST_LIST, this);
        m_button.SubclassDlgItem(IDC_TEST_OWNERDRAW, this);
        m_check.SubclassDlgItem(IDC_TEST_CHECK, this);
        m_slider.SubclassDlgItem(IDC_TEST_SLIDER, this);
        m_edit.SubclassDlgItem(IDC_TEST_EDIT, this);
        m_slider.SetRange(0, 10);
        m_list.InsertColumn(0, L"列", LVCFMT_LEFT, 80);
        return TRUE;
    }
    void OnListInserted(NMHDR*, LRESULT*) { g_log.push_back("dialog: inserted"); }
    void OnListChanged(NMHDR*, LRESULT*) { g_log.push_back("dialog: changed"); }
    void OnCheck() { g_log.push_back("dialog: check"); }
    void OnDrawItem(int, LPDRAWITEMSTRUCT item) { g_log.push_back("dialog: draw " + std::to_string(item->CtlType)); }
    NotifyList m_list;
    OwnerDrawButton m_button;
    CheckBox m_check;
    Slider m_slider;
    ColourEdit m_edit;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(FormDialog, CDialog)
    ON_NOTIFY(LVN_INSERTITEM, IDC_TEST_LIST, &FormDialog::OnListInserted)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_TEST_LIST, &FormDialog::OnListChanged)
    ON_BN_CLICKED(IDC_TEST_CHECK, &FormDialog::OnCheck)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

TEST(Reflection, ControlsHandleTheirOwnNotificationsBeforeTheirParent) {
    g_log.clear();
    LRESULT editBrush = 0;
    UINT measured = 0;
    CScriptedDialogRunner runner([&](CDialog& d) {
        auto& form = static_cast<FormDialog&>(d);
        form.m_list.InsertItem(0, L"一");
        form.m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
        SendMessageW(form.m_check.m_hWnd, BM_CLICK, 0, 0);
        SendMessageW(form.m_slider.m_hWnd, WM_KEYDOWN, VK_RIGHT, 0);

        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_BUTTON;
        draw.CtlID = IDC_TEST_OWNERDRAW;
        draw.itemID = 5;
        draw.hwndItem = form.m_button.m_hWnd;
        SendMessageW(d.m_hWnd, WM_DRAWITEM, IDC_TEST_OWNERDRAW, reinterpret_cast<LPARAM>(&draw));
        DRAWITEMSTRUCT menu{};
        menu.CtlType = ODT_MENU;   // menu items are drawn by the window that owns the menu
        SendMessageW(d.m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&menu));
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_LISTBOX;
        measure.CtlID = IDC_TEST_OWNERDRAW;
        SendMessageW(d.m_hWnd, WM_MEASUREITEM, IDC_TEST_OWNERDRAW, reinterpret_cast<LPARAM>(&measure));
        measured = measure.itemHeight;

        HDC dc = GetDC(d.m_hWnd);
        editBrush = SendMessageW(d.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(form.m_edit.m_hWnd));
        ReleaseDC(d.m_hWnd, dc);
        form.EndDialog(IDOK);
    });
    IDialogRunner* previous = AfxSetDialogRunner(&runner);
    FormDialog form;
    EXPECT_EQ(form.DoModal(), IDOK);
    AfxSetDialogRunner(previous);

    const std::vector<std::string> expected = {
        "list: inserted", "dialog: inserted",   // the _EX row passes it on
        "list: changed",                        // a plain reflected row keeps it
        "check: clicked 1",
        "slider: " + std::to_string(TB_LINEDOWN) + " at 1",
        "button: draw 5",
        "dialog: draw " + std::to_string(ODT_MENU),
    };
    EXPECT_EQ(g_log, expected);
    EXPECT_EQ(measured, 23u);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(editBrush), form.m_edit.m_brush);
}

}  // namespace
