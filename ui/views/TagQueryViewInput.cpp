#include "ui/views/TagQueryView.h"
#include "app/ViewHints.h"
#include "document/DBError.h"
#include "document/DlgAddLib.h"
#include "document/Larkspur2006Doc.h"
#include "document/SQLite.h"
#include "document/WaitCursor.h"
#include "framework/MessageBox.h"
#include "framework/PopupMenu.h"
#include "resources/resource.h"
#include <sqlite3.h>
#include <algorithm>

// ---- Selection ---------------------------------------------------------------------------

std::vector<const GroupItem*> CTagQueryView::SelectedRows() const {
    std::vector<const GroupItem*> rows;
    CListCtrl& list = GetListCtrl();
    for (int item = list.GetNextItem(-1, LVNI_SELECTED); item >= 0; item = list.GetNextItem(item, LVNI_SELECTED)) {
        const int row = RowOfItem(item);
        if (row >= 0) rows.push_back(&m_rows[row]);
    }
    return rows;
}

int CTagQueryView::FocusedItem() const { return GetListCtrl().GetNextItem(-1, LVNI_FOCUSED); }

void CTagQueryView::SelectOnly(int item) {
    CListCtrl& list = GetListCtrl();
    list.SetItemState(-1, 0, LVIS_SELECTED);
    list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CTagQueryView::QuerySelection(int item) {
    const int row = RowOfItem(item);
    if (row < 0) return;
    const auto& view = Settings().groupView;
    GroupItem& clicked = m_rows[row];
    if (clicked.kind == GroupItemHeader) {
        if (!view.canCollapse || !view.groupMode) return;
        clicked.shown = clicked.shown ? 0 : 1;
        for (size_t i = row + 1; i < m_rows.size() && m_rows[i].kind != GroupItemHeader; ++i)
            m_rows[i].shown = clicked.shown;
        // The selection belongs to items, which move: start afresh.
        CListCtrl& list = GetListCtrl();
        list.SetItemState(-1, 0, LVIS_SELECTED);
        RebuildVisible();
        list.SetItemCountEx(static_cast<int>(m_visible.size()), 0);
        m_lastValueItem = -1;
        list.Invalidate(FALSE);
        return;
    }
    if (!IsValueKind(clicked.kind)) return;
    GroupQuery query;
    if (!BuildGroupSelectionQuery(m_key, m_caption, SelectedRows(), query)) return;
    CLarkspur2006Doc* doc = GetDocument();
    ScopedWaitCursor wait;
    if (doc->SetQuery(query.title.c_str(), query.sql, true)) doc->UpdateAllViews(nullptr, HintPlaylistReady, nullptr);
}

// ---- Mouse -------------------------------------------------------------------------------

void CTagQueryView::OnClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    const int item = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
    if (item < 0) return;
    QuerySelection(item);
    const int row = RowOfItem(item);
    if (row >= 0 && IsValueKind(m_rows[row].kind))
        m_lastValueItem = item;
    else if (m_lastValueItem >= 0 && m_lastValueItem < static_cast<int>(m_visible.size()))
        GetListCtrl().SetItemState(m_lastValueItem, LVIS_FOCUSED, LVIS_FOCUSED);
}

void CTagQueryView::OnDblClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    const int row = RowOfItem(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
    if (row >= 0 && IsValueKind(m_rows[row].kind)) GetDocument()->Play(-1, 0);
}

void CTagQueryView::OnRClick(NMHDR*, LRESULT* result) {
    *result = 0;
    POINT at;
    ::GetCursorPos(&at);
    ShowContextMenu(at);
}

void CTagQueryView::OnColumnClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
}

// ---- Keys --------------------------------------------------------------------------------

void CTagQueryView::OnListKeyDown(NMHDR* header, LRESULT* result) {
    *result = 0;
    const WORD key = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    CListCtrl& list = GetListCtrl();
    const int focused = FocusedItem();
    if (key == VK_RETURN) {
        if (focused >= 0) QuerySelection(focused);
    } else if (key == VK_APPS) {
        POINT at;
        ::GetCursorPos(&at);
        ShowContextMenu(at);
    } else if (key == VK_UP || key == VK_DOWN) {
        std::vector<int> kinds;
        kinds.reserve(m_visible.size());
        for (int row : m_visible) kinds.push_back(m_rows[row].kind);
        const int target = key == VK_UP ? GroupStepUpTarget(kinds, focused) : GroupStepDownTarget(kinds, focused);
        if (target >= 0) {
            SelectOnly(target);
            if (key == VK_UP) m_lastValueItem = target;
        }
    } else if (key == 'A' && ctrl) {
        const int all = ItemOfRow(Settings().groupView.groupMode ? 2 : 0);
        if (all >= 0 && RowOfItem(all) >= 0 && m_rows[RowOfItem(all)].kind == GroupItemAll) {
            SelectOnly(all);
            list.EnsureVisible(all, FALSE);
            QuerySelection(all);
        }
    }
}

// Type-ahead: a letter jumps to the index header of that letter.
void CTagQueryView::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    if (::GetKeyState(VK_CONTROL) >= 0) {
        std::vector<const GroupItem*> visible;
        visible.reserve(m_visible.size());
        for (int row : m_visible) visible.push_back(&m_rows[row]);
        const int item = GroupHeaderForKey(visible, key);
        if (item >= 0) {
            JumpToRow(m_visible[item]);
            return;
        }
    }
    Default(WM_KEYDOWN, key, MAKELPARAM(repeat, flags));
}

void CTagQueryView::JumpToRow(int row) {
    const int item = ItemOfRow(row);
    if (item < 0) return;
    CListCtrl& list = GetListCtrl();
    const int count = static_cast<int>(m_visible.size());
    if (item >= list.GetTopIndex()) list.EnsureVisible(std::min(count, item + list.GetCountPerPage()) - 1, FALSE);
    list.EnsureVisible(item, FALSE);
}

// ---- Header and rule rows are never selected ---------------------------------------------

void CTagQueryView::OnItemChanged(NMHDR* header, LRESULT* result) {
    *result = 0;
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if (!(change->uChanged & LVIF_STATE) || !(change->uNewState & LVIS_SELECTED)) return;
    CListCtrl& list = GetListCtrl();
    auto clear = [&](int item) {
        const int row = RowOfItem(item);
        if (row >= 0 && !IsValueKind(m_rows[row].kind) && (list.GetItemState(item, LVIS_SELECTED) & LVIS_SELECTED))
            list.SetItemState(item, 0, LVIS_SELECTED);
    };
    if (change->iItem >= 0) {
        clear(change->iItem);
    } else {
        for (int item = 0; item < static_cast<int>(m_visible.size()); ++item)
            if (!IsValueKind(m_rows[m_visible[item]].kind)) clear(item);
    }
}

void CTagQueryView::OnOdStateChanged(NMHDR* header, LRESULT* result) {
    *result = 0;
    auto* change = reinterpret_cast<NMLVODSTATECHANGE*>(header);
    if (!(change->uNewState & LVIS_SELECTED)) return;
    CListCtrl& list = GetListCtrl();
    for (int item = std::max(0, change->iFrom); item <= change->iTo && item < static_cast<int>(m_visible.size()); ++item)
        if (!IsValueKind(m_rows[m_visible[item]].kind)) list.SetItemState(item, 0, LVIS_SELECTED);
}

// ---- Tips ----------------------------------------------------------------------------------

void CTagQueryView::OnGetInfoTip(NMHDR* header, LRESULT* result) {
    *result = 0;
    auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
    const int row = RowOfItem(tip->iItem);
    if (row < 0 || !tip->pszText || tip->cchTextMax <= 0) return;
    const std::wstring text = GroupInfoTip(m_rows[row], static_cast<size_t>(tip->cchTextMax));
    wcsncpy(tip->pszText, text.c_str(), static_cast<size_t>(tip->cchTextMax) - 1);
    tip->pszText[tip->cchTextMax - 1] = L'\0';
}

// ---- Menus -------------------------------------------------------------------------------

void CTagQueryView::BuildIndexMenu() {
    if (m_menu) ::DestroyMenu(m_menu);
    m_menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_GROUP_MENU));
    m_indexRows.clear();
    HMENU first = m_menu ? ::GetSubMenu(m_menu, 0) : nullptr;
    if (!first) return;
    HMENU index = ::GetSubMenu(first, ::GetMenuItemCount(first) - 1);
    if (!index) return;
    while (::GetMenuItemCount(index) > 0) ::DeleteMenu(index, 0, MF_BYPOSITION);
    // Ids count up from 1 and stop below the fixed commands, however many headers there are.
    auto add = [&](HMENU menu, const GroupIndexEntry& entry) {
        const UINT id = kIndexCommandFirst + static_cast<UINT>(m_indexRows.size());
        if (id > kIndexCommandLast) return;
        m_indexRows.push_back(entry.row);
        ::AppendMenuW(menu, MF_STRING, id, entry.text.c_str());
    };
    for (const GroupIndexEntry& entry : m_index.plain) add(index, entry);
    if (m_index.separator) ::AppendMenuW(index, MF_SEPARATOR, 0, nullptr);
    for (const GroupIndexPopup& popup : m_index.popups) {
        HMENU sub = ::CreatePopupMenu();
        for (const GroupIndexEntry& entry : popup.items) add(sub, entry);
        ::AppendMenuW(index, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), popup.title.c_str());
    }
}

int CTagQueryView::RowOfIndexCommand(UINT id) const {
    if (id < kIndexCommandFirst || id - kIndexCommandFirst >= m_indexRows.size()) return -1;
    return m_indexRows[id - kIndexCommandFirst];
}

void CTagQueryView::ShowContextMenu(POINT screen) {
    if (!m_menu) BuildIndexMenu();
    HMENU popup = m_menu ? ::GetSubMenu(m_menu, 0) : nullptr;
    if (!popup) return;
    const int row = RowOfItem(FocusedItem());
    const UINT library = row >= 0 && IsValueKind(m_rows[row].kind) && !SelectedRows().empty() ? MF_ENABLED : MF_GRAYED;
    ::EnableMenuItem(popup, ID_GROUP_LIBRARY_UPDATE, MF_BYCOMMAND | library);
    ::EnableMenuItem(popup, ID_GROUP_LIBRARY_DELETE, MF_BYCOMMAND | library);
    const int mode = Settings().groupView.headerMode;
    ::CheckMenuItem(popup, ID_GROUP_SUB_NONE, MF_BYCOMMAND | (mode == 0 ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(popup, ID_GROUP_SUB_AVERAGE, MF_BYCOMMAND | (mode == 1 ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(popup, ID_GROUP_SUB_FILES, MF_BYCOMMAND | (mode == 2 ? MF_CHECKED : MF_UNCHECKED));
    const UINT command = static_cast<UINT>(
        AfxTrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, m_hWnd));
    switch (command) {
    case 0:
        return;
    case ID_GROUP_LIBRARY_UPDATE:
        UpdateSelectionInLibrary();
        return;
    case ID_GROUP_LIBRARY_DELETE: {
        CLarkspur2006Doc* doc = GetDocument();
        if (doc->GetPlayState() == PlayStatePlaying) {
            if (AfxMessageBox(L"ライブラリからファイルを削除します。\r\n演奏は停止します。よろしいですか？",
                              MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) != IDOK)
                return;
            doc->Stop(true);
        } else if (AfxMessageBox(L"ライブラリからファイルを削除します。",
                                 MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK) {
            return;
        }
        DeleteSelectionFromLibrary();
        return;
    }
    case ID_GROUP_SUB_NONE:
        SetHeaderMode(0);
        return;
    case ID_GROUP_SUB_AVERAGE:
        SetHeaderMode(1);
        return;
    case ID_GROUP_SUB_FILES:
        SetHeaderMode(2);
        return;
    default: {
        const int target = RowOfIndexCommand(command);
        if (target >= 0) JumpToRow(target);
    }
    }
}

void CTagQueryView::ShowHeaderMenu(POINT screen) {
    if (!m_menu) BuildIndexMenu();
    HMENU popup = m_menu ? ::GetSubMenu(m_menu, 0) : nullptr;
    HMENU sub = popup ? ::GetSubMenu(popup, 1) : nullptr;
    if (!sub) return;
    const int mode = Settings().groupView.headerMode;
    ::CheckMenuItem(sub, ID_GROUP_SUB_NONE, MF_BYCOMMAND | (mode == 0 ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(sub, ID_GROUP_SUB_AVERAGE, MF_BYCOMMAND | (mode == 1 ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(sub, ID_GROUP_SUB_FILES, MF_BYCOMMAND | (mode == 2 ? MF_CHECKED : MF_UNCHECKED));
    const UINT command = static_cast<UINT>(
        AfxTrackPopupMenu(sub, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, m_hWnd));
    if (command == ID_GROUP_SUB_NONE) SetHeaderMode(0);
    else if (command == ID_GROUP_SUB_AVERAGE) SetHeaderMode(1);
    else if (command == ID_GROUP_SUB_FILES) SetHeaderMode(2);
}

// ---- Library -----------------------------------------------------------------------------

bool CTagQueryView::CollectSelectedFiles(std::deque<std::wstring>& files) {
    std::wstring sql;
    if (!BuildGroupFilesQuery(m_key, SelectedRows(), sql)) return true;
    CSQlite& db = GetDocument()->GetDatabase();
    sqlite3_stmt* stmt = nullptr;
    if (db.prepare(sql, &stmt) != SQLITE_OK || !stmt) {
        ShowDBError(db.errmsg());
        return false;
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::wstring name = CSQlite::column_text16_or_empty(stmt, 0);
        if (!name.empty()) files.push_back(std::move(name));
    }
    const std::wstring error = rc == SQLITE_DONE ? std::wstring() : db.errmsg();
    sqlite3_finalize(stmt);
    if (rc == SQLITE_DONE) return true;
    ShowDBError(error.c_str());   // a locked library is not an empty selection
    return false;
}

void CTagQueryView::UpdateSelectionInLibrary() {
    ScopedWaitCursor wait;
    std::deque<std::wstring> files;
    if (!CollectSelectedFiles(files) || files.empty()) return;
    CDlgAddLib dialog(this);
    dialog.SetFiles(GetDocument(), files);
    dialog.DoModal();
    if (dialog.GetCount() > 0) {
        CUpdateViewLibrary hint;
        hint.clearLists = false;
        GetDocument()->UpdateAllViews(nullptr, HintLibraryChanged, &hint);
    }
}

void CTagQueryView::DeleteSelectionFromLibrary() {
    ScopedWaitCursor wait;
    std::deque<std::wstring> files;
    if (!CollectSelectedFiles(files) || files.empty()) return;
    // A refused delete leaves the lists as they are.
    if (!GetDocument()->DeleteFromLibrary(std::vector<std::wstring>(files.begin(), files.end()))) return;
    CUpdateViewLibrary hint;
    hint.clearLists = true;
    GetDocument()->UpdateAllViews(nullptr, HintLibraryChanged, &hint);
}
