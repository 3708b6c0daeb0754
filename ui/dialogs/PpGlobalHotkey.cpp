#include "ui/dialogs/PpGlobalHotkey.h"
#include "resources/resource.h"
#include "ui/dialogs/DlgHotkey.h"
#include "ui/dialogs/HotKeyNames.h"
#include <algorithm>
#include <initializer_list>

namespace {
void SetCell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::wstring CellText(HWND list, int row, int column) {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::wstring KeyTextOrNone(const std::wstring& text) { return text.empty() ? L"なし" : text; }

const wchar_t kNameTitle[] = L"機能";
const wchar_t kScopeTitle[] = L"有効範囲";
const wchar_t kKeyTitle[] = L"キーの組み合わせ";
const wchar_t kGlobal[] = L"グローバル";
const wchar_t kLocal[] = L"ローカル";
// The widths the columns are given where the list has the room.
const int kNameWidth = 280;
const int kScopeWidth = 80;
// Room around a cell's or a header's text.
const int kCellPadding = 14;

// The widest of the texts in the list's font, with the cell's padding.
int ColumnWidthFor(HWND list, std::initializer_list<const wchar_t*> texts) {
    int widest = 0;
    for (const wchar_t* text : texts)
        widest = std::max(widest, static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text))));
    return widest + kCellPadding;
}
}  // namespace

BEGIN_MESSAGE_MAP(CPpGlobalHotkey, CSettingsPage)
    ON_BN_CLICKED(IDC_PPH_ENABLE, &CPpGlobalHotkey::OnEnable)
    ON_BN_CLICKED(IDC_PPH_CLEAR, &CPpGlobalHotkey::OnClearAll)
    ON_NOTIFY(NM_CLICK, IDC_PPH_LIST, &CPpGlobalHotkey::OnListClick)
END_MESSAGE_MAP()

CPpGlobalHotkey::CPpGlobalHotkey() : CSettingsPage(IDD_PP_HOTKEY) {}

void CPpGlobalHotkey::LoadSettings() {
    m_settings.globalHotkey.enable = Live().globalHotkey.enable;
    m_settings.globalHotkey.hotKeys = Live().globalHotkey.hotKeys;
}

void CPpGlobalHotkey::ApplySettings(CAppSettings& live) {
    live.globalHotkey.enable = m_settings.globalHotkey.enable;
    live.globalHotkey.hotKeys = m_settings.globalHotkey.hotKeys;
}

void CPpGlobalHotkey::FillControls() {
    HWND list = ::GetDlgItem(m_hWnd, IDC_PPH_LIST);
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const bool enabled = m_settings.globalHotkey.enable;
    CheckDlgButton(IDC_PPH_ENABLE, enabled ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(list, enabled);
    const struct {
        const wchar_t* title;
        int width;
    } columns[] = {{kNameTitle, kNameWidth}, {kScopeTitle, kScopeWidth}, {kKeyTitle, 210}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(columns[i].title);
        column.cx = columns[i].width;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    FitColumns();
    FillList();
}

void CPpGlobalHotkey::FitColumns() {
    HWND list = ::GetDlgItem(m_hWnd, IDC_PPH_LIST);
    RECT client{};
    ::GetClientRect(list, &client);
    // Room is kept for the vertical scroll bar, whether it shows now or once the rows are in.
    int room = client.right;
    if (!(::GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL)) room -= ::GetSystemMetrics(SM_CXVSCROLL);
    const int scope = std::max(kScopeWidth, ColumnWidthFor(list, {kScopeTitle, kGlobal, kLocal}));
    // The names take what their longest needs (at most their usual width); the keys the rest,
    // but never less than their title, for which the names give way.
    int name = ColumnWidthFor(list, {kNameTitle});
    for (const auto& pair : m_settings.globalHotkey.hotKeys)
        name = std::max(name, ColumnWidthFor(list, {pair.second.displayName.c_str()}));
    name = std::min(name, kNameWidth);
    const int keyLeast = ColumnWidthFor(list, {kKeyTitle, L"なし"});
    if (room - scope - name < keyLeast) name = std::max(ColumnWidthFor(list, {kNameTitle}), room - scope - keyLeast);
    const int key = std::max(0, room - scope - name);
    const int widths[] = {name, scope, key};
    for (int i = 0; i < 3; ++i) ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MAKELPARAM(widths[i], 0));
}

void CPpGlobalHotkey::FillList() {
    HWND list = ::GetDlgItem(m_hWnd, IDC_PPH_LIST);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (const auto& pair : m_settings.globalHotkey.hotKeys) {
        const HotKeyEntry& entry = pair.second;
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(entry.displayName.c_str());
        item.lParam = pair.first;
        const int index = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (index >= 0) SetRowTexts(index, entry, HotKeyName(entry.hotKey));
        ++row;
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void CPpGlobalHotkey::SetRowTexts(int row, const HotKeyEntry& entry, const std::wstring& keyText) {
    HWND list = ::GetDlgItem(m_hWnd, IDC_PPH_LIST);
    SetCell(list, row, 1, entry.isGlobal ? kGlobal : kLocal);
    SetCell(list, row, 2, KeyTextOrNone(keyText));
}

void CPpGlobalHotkey::OnEnable() {
    const bool enabled = IsChecked(IDC_PPH_ENABLE);
    m_settings.globalHotkey.enable = enabled;
    if (HWND list = ::GetDlgItem(m_hWnd, IDC_PPH_LIST)) ::EnableWindow(list, enabled);
    Modified();
}

void CPpGlobalHotkey::OnClearAll() {
    for (auto& pair : m_settings.globalHotkey.hotKeys) pair.second.hotKey = 0;
    FillList();
    Modified();
}

void CPpGlobalHotkey::OnListClick(NMHDR* nm, LRESULT* result) {
    *result = 0;
    HWND list = nm->hwndFrom;
    LVHITTESTINFO hit{};
    hit.pt = reinterpret_cast<NMITEMACTIVATE*>(nm)->ptAction;
    const int row = static_cast<int>(::SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row < 0 || !(hit.flags & LVHT_ONITEM)) return;

    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    auto found = m_settings.globalHotkey.hotKeys.find(static_cast<int>(item.lParam));
    if (found == m_settings.globalHotkey.hotKeys.end()) return;
    HotKeyEntry& entry = found->second;

    CDlgHotkey dialog(this);
    dialog.m_displayName = CellText(list, row, 0);
    dialog.m_hotKey = static_cast<WORD>(entry.hotKey);
    dialog.m_global = entry.isGlobal;
    if (dialog.DoModal() != IDOK) return;
    entry.hotKey = dialog.m_hotKey;
    entry.isGlobal = dialog.m_global;
    SetRowTexts(row, entry, dialog.m_keyText);
    Modified();
}
