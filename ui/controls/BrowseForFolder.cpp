#include "ui/controls/BrowseForFolder.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"

namespace {

const wchar_t kTitle[] = L"ライブラリにフォルダを追加します。";
const wchar_t kCheckBoxText[] = L"サブディレクトリも検索(&S)";
const wchar_t kPathFailed[] =
    L"選択したフォルダのパスを取得できませんでした。\r\nファイルシステム上のフォルダを選択してください。";
// The folder dialog's tree: inside this window on Windows; a direct child with the id
// below under Wine, which has no such window.
const wchar_t kNameSpaceClass[] = L"SHBrowseForFolder ShellNameSpace Control";
const int kTreeId = 14145;
const int kCheckBoxGap = 22;
const int kCheckBoxHeight = 20;

CBrowseForFolder::DialogRunner& Runner() {
    static CBrowseForFolder::DialogRunner runner;
    return runner;
}

}  // namespace

CBrowseForFolder::~CBrowseForFolder() {
    if (m_hWnd) UnsubclassWindow();
}

std::wstring& CBrowseForFolder::StartFolder() {
    static std::wstring folder;
    return folder;
}

CBrowseForFolder::DialogRunner CBrowseForFolder::SetDialogRunner(DialogRunner runner) {
    DialogRunner previous = std::move(Runner());
    Runner() = std::move(runner);
    return previous;
}

bool CBrowseForFolder::PathFromIDList(PCIDLIST_ABSOLUTE item, std::wstring& path) {
    if (!item) return false;
    PWSTR name = nullptr;
    if (FAILED(::SHGetNameFromIDList(item, SIGDN_FILESYSPATH, &name))) return false;
    const bool ok = name && *name;
    if (ok) path = name;
    ::CoTaskMemFree(name);
    return ok;
}

int CBrowseForFolder::Browse(HWND owner, const wchar_t* startFolder) {
    m_subFolder = 1;
    if (startFolder) StartFolder() = startFolder;
    IMalloc* shellMalloc = nullptr;
    if (FAILED(::SHGetMalloc(&shellMalloc)) || !shellMalloc) return kCancelled;

    BROWSEINFOW bi{};
    bi.hwndOwner = owner;
    bi.lpszTitle = m_title ? m_title : kTitle;
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    bi.lpfn = &CBrowseForFolder::BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(this);
    PIDLIST_ABSOLUTE chosen = Runner() ? Runner()(bi) : ::SHBrowseForFolderW(&bi);
    // The dialog is gone; whatever happened to it, this object lets go of its window.
    if (m_hWnd) UnsubclassWindow();
    m_checkBox = nullptr;

    int result = kCancelled;
    if (chosen) {
        std::wstring path;
        if (PathFromIDList(chosen, path)) {
            m_path = path;
            OnChosen(path);
            result = kChosen;
        } else {
            AfxMessageBox(kPathFailed, MB_OK | MB_ICONWARNING);
        }
        shellMalloc->Free(chosen);
    }
    shellMalloc->Release();
    return result;
}

int CALLBACK CBrowseForFolder::BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data) {
    auto* self = reinterpret_cast<CBrowseForFolder*>(data);
    if (!self) return 0;
    try {
        if (msg == BFFM_INITIALIZED)
            self->OnInitialized(dialog);
        else if (msg == BFFM_SELCHANGED)
            self->OnSelectionChanged(dialog, reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam));
    } catch (...) {
    }
    return 0;
}

void CBrowseForFolder::OnInitialized(HWND dialog) {
    SubclassWindow(dialog);
    if (m_subfolderBox)
        m_checkBox = ::CreateWindowExW(0, L"BUTTON", kCheckBoxText,
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0, 0, 0,
                                       dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_BROWSE_SUBFOLDER)),
                                       ::GetModuleHandleW(nullptr), nullptr);
    if (m_checkBox) {
        ::SendMessageW(m_checkBox, WM_SETFONT, ::SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
        ::SendMessageW(m_checkBox, BM_SETCHECK, BST_CHECKED, 0);
        PlaceCheckBox();
    }
    const std::wstring start = InitialSelection();
    if (!start.empty()) ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start.c_str()));
}

HWND CBrowseForFolder::FindTree() const {
    if (HWND tree = ::FindWindowExW(m_hWnd, nullptr, kNameSpaceClass, nullptr)) return tree;
    return ::GetDlgItem(m_hWnd, kTreeId);
}

void CBrowseForFolder::PlaceCheckBox() {
    HWND tree = FindTree();
    if (!m_checkBox || !tree) return;
    RECT r;
    ::GetWindowRect(tree, &r);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    ::MoveWindow(m_checkBox, r.left, r.top - kCheckBoxGap, r.right - r.left, kCheckBoxHeight, TRUE);
}

LRESULT CBrowseForFolder::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && LOWORD(wParam) == IDC_BROWSE_SUBFOLDER && m_checkBox) {
        if (HIWORD(wParam) == BN_CLICKED)
            m_subFolder = ::SendMessageW(m_checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        return 0;
    }
    if (msg == WM_SIZE) {
        // The dialog lays its controls out first; the check box then follows the tree.
        LRESULT result = CWnd::WindowProc(msg, wParam, lParam);
        PlaceCheckBox();
        return result;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}
