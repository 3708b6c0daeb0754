// The options sheet run by the document's command in the program's main frame: a key
// assigned on the hot-key page becomes the frame's global hot key when the sheet closes.
#include "ControlFrameFixture.h"
#include "framework/Dialog.h"
#include "framework/PropertySheet.h"
#include "ui/views/HotKeyMatch.h"

namespace {

class OptionsFrame : public control_test::ControlFrameFixture {};

// Keys no other test of the program registers: hot keys are shared by every program that
// runs at the same time.
const int kAll = (HotKeyControl | HotKeyShift | HotKeyAlt) << 8;
const UINT kAllMod = MOD_CONTROL | MOD_SHIFT | MOD_ALT;

// Whether another window could take the key now (and gives it back at once).
bool IsFree(UINT modifiers, UINT key) {
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const bool free = ::RegisterHotKey(other, 1, modifiers, key) != FALSE;
    if (free) ::UnregisterHotKey(other, 1);
    ::DestroyWindow(other);
    return free;
}

// Clicks the list row of the hot-key page that holds `action`.
void ClickActionRow(CWnd& page, int action) {
    HWND list = ::GetDlgItem(page, IDC_PPH_LIST);
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = action;
    const int row = static_cast<int>(::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    RECT r{};
    r.left = LVIR_LABEL;
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IDC_PPH_LIST;
    click.hdr.code = NM_CLICK;
    click.ptAction = POINT{r.left + 4, (r.top + r.bottom) / 2};
    page.SendMessage(WM_NOTIFY, IDC_PPH_LIST, reinterpret_cast<LPARAM>(&click));
}

}  // namespace

TEST_F(OptionsFrame, AKeyAssignedAndAppliedInTheSheetIsTheFramesWhenTheSheetCloses) {
    settings.globalHotkey.enable = true;
    settings.globalHotkey.hotKeys[30] = HotKeyEntry{30, VK_F7 | kAll, L"停止", true};
    ASSERT_TRUE(Open());
    ASSERT_FALSE(IsFree(kAllMod, VK_F7));
    bool freeWhileOpen = false, newKeyFreeWhileOpen = false;
    CScriptedDialogRunner runner([&](CDialog& d) {
        if (d.GetTemplateId() == IDD_HOTKEY) {   // the editor: a new key
            d.SendDlgItemMessage(IDC_HOTKEY_KEY, HKM_SETHOTKEY, VK_F6 | kAll);
            d.SendMessage(WM_COMMAND, IDOK, 0);
            return;
        }
        auto& sheet = static_cast<CPropertySheet&>(d);
        sheet.SetActivePage(5);
        ClickActionRow(*sheet.GetPage(5), 30);
        sheet.PressButton(PSBTN_APPLYNOW);
        freeWhileOpen = IsFree(kAllMod, VK_F7);
        newKeyFreeWhileOpen = IsFree(kAllMod, VK_F6);
        sheet.PressButton(PSBTN_CANCEL);
    });
    IDialogRunner* previous = AfxSetDialogRunner(&runner);
    doc->OnCmdMsg(ID_APP_OPTIONS, CN_COMMAND, nullptr);
    AfxSetDialogRunner(previous);
    EXPECT_EQ(2, runner.m_runs);
    EXPECT_TRUE(freeWhileOpen);
    EXPECT_TRUE(newKeyFreeWhileOpen) << "nothing is registered while the sheet is open";
    EXPECT_EQ(VK_F6 | kAll, settings.globalHotkey.hotKeys[30].hotKey);
    EXPECT_FALSE(IsFree(kAllMod, VK_F6)) << "the applied key is the frame's";
    EXPECT_TRUE(IsFree(kAllMod, VK_F7));
}
