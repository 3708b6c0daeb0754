// The folder chooser, driven through its dialog runner: a stand-in dialog laid out like
#include "support/MessageBoxRecorder.h"
// Wine's, and once the shell's own dialog, closed from its callback.
#include "ui/controls/BrowseForFolder.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "support/TestDataObject.h"
#include "support/TestFiles.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

namespace {

const bool kOle = (testing_support::InstallOleEnvironment(), true);
const int kTreeId = 14145;

using RecordingPresenter = testing_support::MessageBoxRecorder;

class RunnerScope {
public:
    explicit RunnerScope(CBrowseForFolder::DialogRunner r) { m_previous = CBrowseForFolder::SetDialogRunner(std::move(r)); }
    ~RunnerScope() { CBrowseForFolder::SetDialogRunner(std::move(m_previous)); }

private:
    CBrowseForFolder::DialogRunner m_previous;
};

RECT ChildRect(HWND dialog, HWND child) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A hidden dialog window with a tree view where Wine's folder dialog has it. It records
// the folders the chooser asks it to select.
struct StandInDialog {
    HWND dialog = nullptr;
    HWND tree = nullptr;
    std::vector<std::wstring> selections;

    static LRESULT CALLBACK Record(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
        if (msg == BFFM_SETSELECTIONW && wp)
            reinterpret_cast<StandInDialog*>(ref)->selections.push_back(reinterpret_cast<const wchar_t*>(lp));
        return ::DefSubclassProc(h, msg, wp, lp);
    }
    StandInDialog() {
        dialog = ::CreateWindowExW(0, WC_DIALOG, L"フォルダの参照", WS_POPUP | WS_CAPTION | WS_THICKFRAME,
                                   0, 0, 320, 360, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        tree = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, 10, 60, 200, 150, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTreeId)),
                                 ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowSubclass(dialog, &Record, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ~StandInDialog() {
        ::RemoveWindowSubclass(dialog, &Record, 1);
        ::DestroyWindow(dialog);
    }
    HWND CheckBox() const { return ::GetDlgItem(dialog, IDC_BROWSE_SUBFOLDER); }
};

PIDLIST_ABSOLUTE ItemOf(const std::wstring& path) {
    PIDLIST_ABSOLUTE item = nullptr;
    SFGAOF attributes = 0;
    EXPECT_EQ(S_OK, ::SHParseDisplayName(path.c_str(), nullptr, &item, 0, &attributes)) << path.size();
    return item;
}

std::wstring NoSlash(std::wstring p) {
    if (!p.empty() && p.back() == L'\\') p.pop_back();
    return p;
}

}  // namespace

TEST(BrowseForFolder, OpensCheckedAtTheStartFolderAndGivesTheChoiceAndTheFlag) {
    testing_support::TempDir start, chosen;
    std::wstring title;
    UINT flags = 0;
    bool checkedAtStart = false;
    RECT box{}, tree{};
    std::vector<std::wstring> selections;
    RunnerScope scope([&](BROWSEINFOW& bi) -> PIDLIST_ABSOLUTE {
        title = bi.lpszTitle;
        flags = bi.ulFlags;
        StandInDialog d;
        bi.lpfn(d.dialog, BFFM_INITIALIZED, 0, bi.lParam);
        EXPECT_TRUE(d.CheckBox());
        checkedAtStart = ::SendMessageW(d.CheckBox(), BM_GETCHECK, 0, 0) == BST_CHECKED;
        box = ChildRect(d.dialog, d.CheckBox());
        tree = ChildRect(d.dialog, d.tree);
        selections = d.selections;
        ::SendMessageW(d.CheckBox(), BM_CLICK, 0, 0);   // unticked by the user
        return ItemOf(NoSlash(chosen.path()));
    });

    CBrowseForFolder browser;
    ASSERT_EQ(CBrowseForFolder::kChosen, browser.Browse(nullptr, NoSlash(start.path()).c_str()));
    EXPECT_EQ(L"ライブラリにフォルダを追加します。", title);
    EXPECT_EQ(0x41u, flags);
    EXPECT_TRUE(checkedAtStart);
    EXPECT_EQ((std::vector<std::wstring>{NoSlash(start.path())}), selections);
    EXPECT_EQ(tree.left, box.left);
    EXPECT_EQ(tree.right, box.right);
    EXPECT_EQ(tree.top - 22, box.top);
    EXPECT_EQ(20, box.bottom - box.top);
    EXPECT_EQ(NoSlash(chosen.path()), browser.GetPath());
    EXPECT_EQ(0, browser.GetSubFolderFlag());
    EXPECT_EQ(NoSlash(chosen.path()), CBrowseForFolder::StartFolder());
    EXPECT_EQ(nullptr, browser.m_hWnd);   // lets go of the dialog

    // Next time, without a start folder, the last choice is selected and the box is ticked
    // again; cancelling keeps both the path and the start folder.
    selections.clear();
    CBrowseForFolder again;
    RunnerScope cancel([&](BROWSEINFOW& bi) -> PIDLIST_ABSOLUTE {
        StandInDialog d;
        bi.lpfn(d.dialog, BFFM_INITIALIZED, 0, bi.lParam);
        checkedAtStart = ::SendMessageW(d.CheckBox(), BM_GETCHECK, 0, 0) == BST_CHECKED;
        selections = d.selections;
        return nullptr;
    });
    EXPECT_EQ(CBrowseForFolder::kCancelled, again.Browse(nullptr));
    EXPECT_TRUE(checkedAtStart);
    EXPECT_EQ(1, again.GetSubFolderFlag());
    EXPECT_EQ((std::vector<std::wstring>{NoSlash(chosen.path())}), selections);
    EXPECT_EQ(NoSlash(chosen.path()), CBrowseForFolder::StartFolder());
    EXPECT_EQ(L"", again.GetPath());
}

TEST(BrowseForFolder, CheckBoxFollowsTheTreeWhenTheDialogIsResized) {
    RECT box{}, tree{};
    RunnerScope scope([&](BROWSEINFOW& bi) -> PIDLIST_ABSOLUTE {
        StandInDialog d;
        bi.lpfn(d.dialog, BFFM_INITIALIZED, 0, bi.lParam);
        // The dialog's own layout moves the tree; then WM_SIZE arrives.
        ::MoveWindow(d.tree, 30, 100, 250, 180, FALSE);
        ::SendMessageW(d.dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 420));
        box = ChildRect(d.dialog, d.CheckBox());
        tree = ChildRect(d.dialog, d.tree);
        ::SendMessageW(d.CheckBox(), BM_CLICK, 0, 0);
        ::SendMessageW(d.CheckBox(), BM_CLICK, 0, 0);   // ticked again
        return nullptr;
    });
    CBrowseForFolder browser;
    EXPECT_EQ(CBrowseForFolder::kCancelled, browser.Browse(nullptr, nullptr));
    EXPECT_EQ(30, box.left);
    EXPECT_EQ(78, box.top);
    EXPECT_EQ(280, box.right);
    EXPECT_EQ(98, box.bottom);
    EXPECT_EQ(100, tree.top);
    EXPECT_EQ(1, browser.GetSubFolderFlag());
}

TEST(BrowseForFolder, ChoiceWithoutAFileSystemPathIsReportedNotTakenAsCancel) {
    CBrowseForFolder::StartFolder() = L"C:\\music";
    RunnerScope scope([&](BROWSEINFOW&) -> PIDLIST_ABSOLUTE {
        PIDLIST_ABSOLUTE computer = nullptr;
        EXPECT_EQ(S_OK, ::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer));
        return computer;
    });
    RecordingPresenter presenter;
    CBrowseForFolder browser;
    EXPECT_EQ(CBrowseForFolder::kCancelled, browser.Browse(nullptr));
    ASSERT_EQ(1u, presenter.texts.size());
    EXPECT_NE(std::wstring::npos, presenter.texts[0].find(L"パスを取得できませんでした"));
    EXPECT_EQ(L"C:\\music", CBrowseForFolder::StartFolder());
    EXPECT_EQ(L"", browser.GetPath());

    // A plain cancel says nothing.
    RunnerScope cancel([](BROWSEINFOW&) -> PIDLIST_ABSOLUTE { return nullptr; });
    EXPECT_EQ(CBrowseForFolder::kCancelled, browser.Browse(nullptr));
    EXPECT_EQ(1u, presenter.texts.size());
}

TEST(BrowseForFolder, PathOfAnItemNeedsNoFixedBuffer) {
    // Folders nested until the path is as long as Wine's shell still lists (about 259
    // characters), beyond what the old 261-character buffer would take with a file name.
    testing_support::TempDir root;
    std::wstring path = NoSlash(root.path());
    for (wchar_t c = L'a'; path.size() + 41 < MAX_PATH; ++c) {
        path += L"\\" + std::wstring(40, c);
        ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr));
    }
    PIDLIST_ABSOLUTE item = ItemOf(path);
    ASSERT_TRUE(item);
    std::wstring got;
    EXPECT_TRUE(CBrowseForFolder::PathFromIDList(item, got));
    EXPECT_EQ(path, got);
    ::CoTaskMemFree(item);
    EXPECT_FALSE(CBrowseForFolder::PathFromIDList(nullptr, got));
}

namespace {
// The shell's real dialog: its callback is wrapped, so the test sees the dialog right after
// the chooser has set it up, unticks the box and presses OK.
struct RealDialogProbe {
    BFFCALLBACK chooserCallback = nullptr;
    LPARAM chooserData = 0;
    bool initialized = false;
    bool checked = false;
    RECT box{}, tree{};
    HWND dialog = nullptr;
    std::wstring start;     // the folder the chooser should select
    bool atStart = false;   // the dialog's selection has reached it
    bool okPosted = false;
};
RealDialogProbe g_probe;

int CALLBACK WrappedCallback(HWND dialog, UINT msg, LPARAM lp, LPARAM) {
    int r = g_probe.chooserCallback(dialog, msg, lp, g_probe.chooserData);
    if (msg == BFFM_INITIALIZED) {
        g_probe.initialized = true;
        g_probe.dialog = dialog;
        HWND box = ::GetDlgItem(dialog, IDC_BROWSE_SUBFOLDER);
        HWND tree = ::GetDlgItem(dialog, kTreeId);
        g_probe.checked = box && ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (box && tree) {
            g_probe.box = ChildRect(dialog, box);
            g_probe.tree = ChildRect(dialog, tree);
        }
        if (box) ::PostMessageW(box, BM_CLICK, 0, 0);
    }
    if (msg == BFFM_SELCHANGED) {
        wchar_t path[MAX_PATH] = {};
        g_probe.atStart = ::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lp), path) &&
                          ::lstrcmpiW(path, g_probe.start.c_str()) == 0;
    }
    // Wine's shell may fill the tree (and reach the start folder) after the dialog is set
    // up: OK is pressed only once the selection stands on the start folder.
    if (g_probe.initialized && g_probe.atStart && !g_probe.okPosted) {
        g_probe.okPosted = true;
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    return r;
}

// Ends a dialog that failed to close itself, so the test program never hangs.
void CALLBACK Safety(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (g_probe.dialog) ::PostMessageW(g_probe.dialog, WM_COMMAND, IDCANCEL, 0);
}
}  // namespace

// A folder right below the Windows drive's root: the temporary folder may lie below a hidden
// folder, which Wine's dialog tree does not list, so its selection would stop above it.
struct RootFolder {
    std::wstring path;
    RootFolder() {
        wchar_t windows[MAX_PATH] = {};
        ::GetWindowsDirectoryW(windows, MAX_PATH);
        path = std::wstring(windows, 3) + L"larktest-browse-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(path.c_str(), nullptr);
    }
    ~RootFolder() { ::RemoveDirectoryW(path.c_str()); }
};

TEST(BrowseForFolder, ShellDialogGetsTheCheckBoxAboveItsTree) {
    RootFolder start;
    g_probe = {};
    g_probe.start = start.path;
    RunnerScope scope([](BROWSEINFOW& bi) -> PIDLIST_ABSOLUTE {
        g_probe.chooserCallback = bi.lpfn;
        g_probe.chooserData = bi.lParam;
        bi.lpfn = &WrappedCallback;
        UINT_PTR timer = ::SetTimer(nullptr, 0, 20000, &Safety);
        PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&bi);
        ::KillTimer(nullptr, timer);
        return item;
    });
    CBrowseForFolder browser;
    const int result = browser.Browse(nullptr, start.path.c_str());
    ASSERT_TRUE(g_probe.initialized);
    EXPECT_TRUE(g_probe.checked);
    EXPECT_EQ(g_probe.tree.left, g_probe.box.left);
    EXPECT_EQ(g_probe.tree.right, g_probe.box.right);
    EXPECT_EQ(20, g_probe.box.bottom - g_probe.box.top);
    EXPECT_LE(g_probe.box.bottom, g_probe.tree.top);
    ASSERT_EQ(CBrowseForFolder::kChosen, result);
    EXPECT_EQ(0, ::lstrcmpiW(start.path.c_str(), browser.GetPath().c_str())) << browser.GetPath();
    EXPECT_EQ(0, browser.GetSubFolderFlag());
}
