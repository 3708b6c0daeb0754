// Global hot keys registered by the main frame, lost on a clash, and suspended for the
// options sheet; the key matching of global and local hot keys.
#include "ControlFrameFixture.h"
#include "framework/Dialog.h"
#include "ui/dialogs/DlgInput.h"
#include "ui/views/ActionCodes.h"
#include "ui/views/HotKeyMatch.h"
#include "resources/resource.h"
#include <functional>

namespace {

class HotKeyFrame : public control_test::ControlFrameFixture {};

HotKeyEntry Entry(int action, int hotKey, bool global) { return HotKeyEntry{action, hotKey, L"", global}; }

// A hidden window of another owner that takes system hot keys, as another program would.
class OtherProgram {
public:
    OtherProgram() {
        m_window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~OtherProgram() {
        for (int id : m_ids) ::UnregisterHotKey(m_window, id);
        ::DestroyWindow(m_window);
    }
    // True when the key was free and is now held here.
    bool Take(int id, UINT modifiers, UINT key) {
        if (!::RegisterHotKey(m_window, id, modifiers, key)) return false;
        m_ids.push_back(id);
        return true;
    }
    void Release(int id) { ::UnregisterHotKey(m_window, id); }

private:
    HWND m_window = nullptr;
    std::vector<int> m_ids;
};

const int kCtrlAlt = (HotKeyControl | HotKeyAlt) << 8;

// Stands in for the modal loop of a dialog: looks at the program while it would be open.
class ProbeRunner : public IDialogRunner {
public:
    explicit ProbeRunner(std::function<void()> probe) : m_probe(std::move(probe)) {}
    INT_PTR RunModal(CDialog&, HWND) override {
        ++runs;
        m_probe();
        return IDCANCEL;
    }
    int runs = 0;

private:
    std::function<void()> m_probe;
};

// Presses and lets go `vk` through the system's keyboard input, as a user does: the keyboard
// hook sees it before the window with the focus, `focus`, which is in the foreground. Other
// test programs share the desktop and may take the foreground first: then the key is sent
// again, until `arrived` says it came here.
bool TypeKey(HWND focus, WORD vk, const std::function<bool()>& arrived) {
    HWND top = ::GetAncestor(focus, GA_ROOT);
    for (int attempt = 0; attempt < 10; ++attempt) {
        ::SetForegroundWindow(top);
        ::SetFocus(focus);
        if (::GetForegroundWindow() != top || ::GetFocus() != focus) continue;
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = vk;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof(INPUT));
        // The loop of a modal dialog: keys become characters.
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < 1000) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (arrived()) return true;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return false;
}

std::wstring TextOf(HWND window) {
    wchar_t text[64] = L"";
    ::GetWindowTextW(window, text, 64);
    return text;
}

// Runs a dialog as the system's modal loop would leave it: created over its owner, which it
// disables, while `typing` works it.
class DisablingRunner : public IDialogRunner {
public:
    explicit DisablingRunner(std::function<void(CDialog&)> typing) : m_typing(std::move(typing)) {}
    INT_PTR RunModal(CDialog& dialog, HWND owner) override {
        if (!dialog.CreateForScript(owner)) return -1;
        ::EnableWindow(owner, FALSE);
        m_typing(dialog);
        ::EnableWindow(owner, TRUE);
        dialog.DestroyWindow();
        return IDCANCEL;
    }

private:
    std::function<void(CDialog&)> m_typing;
};

}  // namespace

TEST(HotKeyMatch, GlobalModifiersIgnoreTheExtendedFlagAndLocalKeysMatchExactly) {
    EXPECT_EQ(GlobalHotKeyModifiers(VK_F9 | ((HotKeyShift | HotKeyControl | HotKeyAlt | HotKeyExtended) << 8)),
              static_cast<UINT>(MOD_SHIFT | MOD_CONTROL | MOD_ALT));
    EXPECT_EQ(GlobalHotKeyModifiers(VK_RIGHT | (HotKeyExtended << 8)), 0u);
    EXPECT_EQ(HotKeyVirtualKey(VK_F9 | kCtrlAlt), static_cast<UINT>(VK_F9));

    std::map<int, HotKeyEntry> keys;
    const int ctrlShiftP = 'P' | ((HotKeyControl | HotKeyShift) << 8);
    keys[30] = Entry(30, ctrlShiftP, true);    // global: never a local match
    keys[33] = Entry(33, ctrlShiftP, false);
    keys[40] = Entry(40, ctrlShiftP, false);   // the same key later in code order
    keys[41] = Entry(41, 'P' | (HotKeyControl << 8), false);
    keys[45] = Entry(45, VK_RIGHT | ((HotKeyAlt | HotKeyExtended) << 8), false);
    keys[46] = Entry(46, 0, false);

    struct Case {
        UINT key;
        int flags;
        int action;
    } cases[] = {
        {'P', KeystrokeFlags(true, true, false, false), 33},   // exactly control and shift: the first code
        {'P', KeystrokeFlags(true, true, true, false), -1},    // alt as well: no match
        {'P', KeystrokeFlags(false, true, false, false), 41},
        {'P', KeystrokeFlags(true, false, false, false), -1},
        {VK_RIGHT, KeystrokeFlags(false, false, true, true), 45},
        {VK_RIGHT, KeystrokeFlags(false, false, true, false), -1},   // the extended flag counts locally
        {0, 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindLocalHotKey(keys, c.key, c.flags), c.action) << c.key << " flags " << c.flags;
}

TEST_F(HotKeyFrame, GlobalHotKeysAreRegisteredAClashLosesItsKeyAndTheOptionsSheetSuspendsThem) {
    OtherProgram other;
    ASSERT_TRUE(other.Take(1, MOD_CONTROL | MOD_ALT, VK_F11)) << "a free key for the clash";
    settings.globalHotkey.enable = true;
    settings.globalHotkey.hotKeys[30] = Entry(30, VK_F10 | kCtrlAlt, true);
    settings.globalHotkey.hotKeys[31] = Entry(31, VK_F11 | kCtrlAlt, true);                     // taken
    settings.globalHotkey.hotKeys[33] = Entry(33, VK_F12 | kCtrlAlt | (HotKeyExtended << 8), true);
    settings.globalHotkey.hotKeys[34] = Entry(34, VK_F8 | kCtrlAlt, false);                     // local
    ASSERT_TRUE(Open());

    // Registered keys are the frame's; the clashing one is cleared in the settings.
    EXPECT_FALSE(other.Take(2, MOD_CONTROL | MOD_ALT, VK_F10));
    EXPECT_FALSE(other.Take(3, MOD_CONTROL | MOD_ALT, VK_F12)) << "registered without the extended flag";
    EXPECT_EQ(settings.globalHotkey.hotKeys[31].hotKey, 0);
    EXPECT_EQ(settings.globalHotkey.hotKeys[30].hotKey, VK_F10 | kCtrlAlt);
    EXPECT_TRUE(other.Take(4, MOD_CONTROL | MOD_ALT, VK_F8)) << "a local key is never registered";
    other.Release(4);
    EXPECT_TRUE(frame->IsHookEnabled());

    // While the options sheet is open the keys are free and the hook is idle.
    ProbeRunner probe([&] {
        EXPECT_FALSE(frame->IsHookEnabled());
        EXPECT_TRUE(other.Take(5, MOD_CONTROL | MOD_ALT, VK_F10));
        other.Release(5);
    });
    IDialogRunner* previous = AfxSetDialogRunner(&probe);
    doc->OnCmdMsg(ID_APP_OPTIONS, CN_COMMAND, nullptr);
    AfxSetDialogRunner(previous);
    EXPECT_EQ(probe.runs, 1) << "the options command runs the sheet";
    EXPECT_TRUE(frame->IsHookEnabled());
    EXPECT_FALSE(other.Take(6, MOD_CONTROL | MOD_ALT, VK_F10)) << "registered again after the sheet";

    // With the section switched off nothing is registered; unregistering still frees them.
    frame->UnregisterHotKeys();
    settings.globalHotkey.enable = false;
    frame->RegisterHotKeys();
    EXPECT_TRUE(other.Take(7, MOD_CONTROL | MOD_ALT, VK_F10));
    other.Release(7);

    // The frame's destruction frees its keys.
    settings.globalHotkey.enable = true;
    frame->RegisterHotKeys();
    Close();
    EXPECT_TRUE(other.Take(8, MOD_CONTROL | MOD_ALT, VK_F10));
}

TEST_F(HotKeyFrame, LocalHotKeysNeverTakeKeysTypedIntoAnEditOrAModalDialog) {
    settings.globalHotkey.enable = true;
    settings.globalHotkey.hotKeys[ActionMute] = Entry(ActionMute, VK_SPACE, false);
    ASSERT_TRUE(Open());
    bool muted = settings.bass.mute;
    auto toggled = [&] { return settings.bass.mute != muted; };

    // Elsewhere in the main window Space is the hot key, and swallowed.
    ASSERT_TRUE(TypeKey(frame->m_hWnd, VK_SPACE, toggled));
    muted = settings.bass.mute;

    // The edit of a combo box takes it as text.
    HWND combo = ::CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWN, 0, 0, 100, 100, frame->m_hWnd,
                                   nullptr, nullptr, nullptr);
    HWND comboEdit = ::GetWindow(combo, GW_CHILD);
    ASSERT_TRUE(TypeKey(comboEdit, VK_SPACE, [&] { return toggled() || !TextOf(combo).empty(); }));
    EXPECT_EQ(TextOf(combo), L" ");
    EXPECT_FALSE(toggled());
    ::DestroyWindow(combo);

    // A read-only edit (the lyrics window's) takes no typing: the hot key runs there.
    HWND readOnly = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_READONLY, 0, 0, 100, 20, frame->m_hWnd,
                                      nullptr, nullptr, nullptr);
    ASSERT_TRUE(TypeKey(readOnly, VK_SPACE, toggled));
    muted = settings.bass.mute;
    ::DestroyWindow(readOnly);

    int runs = 0;
    DisablingRunner runner([&](CDialog& dialog) {
        ++runs;
        // A name typed into the text input dialog keeps its blank.
        HWND edit = ::GetDlgItem(dialog.m_hWnd, IDC_INPUT_EDIT);
        ASSERT_TRUE(TypeKey(edit, VK_SPACE, [&] { return toggled() || !TextOf(edit).empty(); }));
        EXPECT_EQ(TextOf(edit), L" ");
        EXPECT_FALSE(toggled()) << "typed text, not the hot key";

        // While the main window is disabled every key is the dialog's: Space presses its button.
        ASSERT_TRUE(TypeKey(::GetDlgItem(dialog.m_hWnd, IDCANCEL), VK_SPACE,
                            [&] { return toggled() || dialog.HasEnded(); }));
        EXPECT_TRUE(dialog.HasEnded());
        EXPECT_FALSE(toggled());
    });
    IDialogRunner* previous = AfxSetDialogRunner(&runner);
    CDlgInput input(frame);
    input.SetInputParams(L"名前", L"", nullptr, nullptr);
    input.DoModal();
    AfxSetDialogRunner(previous);
    EXPECT_EQ(runs, 1);
}
