#include "ui/views/LeftView.h"
#include "app/AppSettings.h"
#include "app/FileNameRules.h"
#include "app/PathParts.h"
#include "app/ViewHints.h"
#include "document/Larkspur2006Doc.h"
#include "document/QueryFile.h"
#include "document/WaitCursor.h"
#include "framework/MessageBox.h"
#include "framework/PopupMenu.h"
#include "resources/resource.h"
#include "ui/controls/OdMenu.h"
#include "ui/dialogs/DlgInput.h"
#include "ui/dialogs/DlgQuery.h"
#include "ui/views/DdData.h"
#include <shellapi.h>
#include <algorithm>

namespace {

bool RecycleToBin(const std::wstring& path) {
    std::wstring from = path;
    from.push_back(L'\0');   // the list ends with a second zero
    SHFILEOPSTRUCTW op{};
    op.hwnd = ::GetActiveWindow();
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO;
    return ::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

CLeftView::DeleteOperation& DeleteHook() {
    static CLeftView::DeleteOperation operation = RecycleToBin;
    return operation;
}

std::wstring FolderOf(const std::wstring& path) {
    PathParts parts;
    if (!SplitPath(parts, path)) return std::wstring();
    return parts.drive + parts.dir;
}

bool ValidFolderName(const std::wstring& text, void*) { return IsPlainFileName(text); }

}  // namespace

BEGIN_MESSAGE_MAP(CLeftView, CTreeView)
    ON_WM_DESTROY()
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDW, &CLeftView::OnSelChanged)
    ON_NOTIFY_REFLECT(NM_CLICK, &CLeftView::OnClick)
    ON_NOTIFY_REFLECT(NM_RCLICK, &CLeftView::OnRClick)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGW, &CLeftView::OnNothing)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDEDW, &CLeftView::OnNothing)
    ON_COMMAND(ID_QUERY_REFRESH, &CLeftView::OnRefresh)
END_MESSAGE_MAP()

CLeftView::CLeftView() = default;

CLeftView::~CLeftView() {
    if (m_font) ::DeleteObject(m_font);
}

CLeftView::DeleteOperation CLeftView::SetDeleteOperation(DeleteOperation operation) {
    DeleteOperation previous = std::move(DeleteHook());
    DeleteHook() = operation ? std::move(operation) : DeleteOperation(RecycleToBin);
    return previous;
}

CLarkspur2006Doc* CLeftView::GetDocument() const { return static_cast<CLarkspur2006Doc*>(m_pDocument); }

CAppSettings& CLeftView::Settings() const { return GetDocument()->GetSettings(); }

BOOL CLeftView::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= TVS_HASBUTTONS | TVS_SHOWSELALWAYS;
    return CTreeView::PreCreateWindow(cs);
}

// Menus shown by the tree are owner-drawn like every menu of the main window.
BOOL CLeftView::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (OdMenuOnMessage(m_hWnd, msg, wParam, lParam, result)) return TRUE;
    return CTreeView::OnWndMsg(msg, wParam, lParam, result);
}

void CLeftView::OnInitialUpdate() {
    CTreeView::OnInitialUpdate();
    const std::wstring folder = Settings().userFolder + L"query";
    CreateDefaultQueryFolder(folder);
    Settings().queryFolder = folder;
    if (!m_images.GetSafeHandle()) CreateImages();
    RebuildTree();
    m_dropTarget.Register(this);
}

void CLeftView::OnDestroy() {
    m_dropTarget.Revoke();
    Default(WM_DESTROY, 0, 0);
}

void CLeftView::OnUpdate(CView*, LPARAM hint, CObject*) {
    if (hint == HintSettingsChanged && m_hWnd) ApplySettings();
}

void CLeftView::CreateImages() {
    m_images.DeleteImageList();
    m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 10);
    const HINSTANCE inst = ::GetModuleHandleW(nullptr);
    for (UINT id : {IDI_QUERY_FOLDER, IDI_QUERY, IDI_PLAYLIST_FILE}) {
        HICON icon = static_cast<HICON>(::LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
        m_images.Add(icon);
        if (icon) ::DestroyIcon(icon);
    }
    GetTreeCtrl().SetImageList(m_images, TVSIL_NORMAL);
}

void CLeftView::ApplySettings() {
    const auto& view = Settings().queryView;
    HDC screen = ::GetDC(nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(view.fontSize > 0 ? view.fontSize : 9, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, view.fontName.c_str(), LF_FACESIZE - 1);
    HFONT font = ::CreateFontIndirectW(&lf);
    CTreeCtrl& tree = GetTreeCtrl();
    tree.SetFont(font, TRUE);
    if (m_font) ::DeleteObject(m_font);
    m_font = font;
    CreateImages();
    tree.SetBkColor(view.colorBackground);
    tree.SetTextColor(view.colorText);
}

// ---- Building the tree -----------------------------------------------------------------

const QueryFolderItem* CLeftView::ItemOf(HTREEITEM item) const {
    if (!item) return nullptr;
    const size_t index = static_cast<size_t>(GetTreeCtrl().GetItemData(item));
    return index < m_items.size() ? &m_items[index] : nullptr;
}

HTREEITEM CLeftView::Insert(const QueryFolderItem& record, HTREEITEM parent) {
    m_items.push_back(record);
    CTreeCtrl& tree = GetTreeCtrl();
    HTREEITEM item = tree.InsertItem(record.name.c_str(), record.image, record.selectedImage, parent, TVI_LAST);
    if (item) tree.SetItemData(item, m_items.size() - 1);
    return item;
}

void CLeftView::CollectExpanded(HTREEITEM item, std::vector<std::wstring>& paths) const {
    CTreeCtrl& tree = GetTreeCtrl();
    for (; item; item = tree.GetNextSiblingItem(item)) {
        const QueryFolderItem* record = ItemOf(item);
        if (record && (record->kind == QueryItemRoot || record->kind == QueryItemFolder) &&
            (tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED))
            paths.push_back(record->path);
        CollectExpanded(tree.GetChildItem(item), paths);
    }
}

void CLeftView::RebuildTree() {
    CTreeCtrl& tree = GetTreeCtrl();
    std::vector<std::wstring> expanded;
    CollectExpanded(tree.GetRootItem(), expanded);
    m_rebuilding = true;
    tree.SendMessage(WM_SETREDRAW, FALSE);
    tree.DeleteAllItems();
    m_items.clear();
    QueryFolderItem root;
    root.name = L"クエリ";
    root.kind = QueryItemRoot;
    root.path = Settings().queryFolder;
    m_root = Insert(root, TVI_ROOT);
    tree.SetItemState(m_root, TVIS_BOLD, TVIS_BOLD);
    ScanQueryFolder(m_root, root.path, expanded);
    tree.Expand(m_root, TVE_EXPAND);
    tree.SendMessage(WM_SETREDRAW, TRUE);
    m_rebuilding = false;
    tree.Invalidate();
    tree.UpdateWindow();
}

void CLeftView::ScanQueryFolder(HTREEITEM parent, const std::wstring& folder, const std::vector<std::wstring>& expanded) {
    for (const QueryFolderItem& record : ListQueryFolder(folder)) {
        HTREEITEM item = Insert(record, parent);
        if (!item || record.kind != QueryItemFolder) continue;
        ScanQueryFolder(item, record.path, expanded);
        if (std::find(expanded.begin(), expanded.end(), record.path) != expanded.end())
            GetTreeCtrl().Expand(item, TVE_EXPAND);
    }
}

HTREEITEM CLeftView::FindItem(const std::wstring& path) const {
    CTreeCtrl& tree = GetTreeCtrl();
    std::vector<HTREEITEM> stack{tree.GetRootItem()};
    while (!stack.empty()) {
        HTREEITEM item = stack.back();
        stack.pop_back();
        for (; item; item = tree.GetNextSiblingItem(item)) {
            const QueryFolderItem* record = ItemOf(item);
            if (record && ::lstrcmpiW(record->path.c_str(), path.c_str()) == 0) return item;
            stack.push_back(tree.GetChildItem(item));
        }
    }
    return nullptr;
}

void CLeftView::OnRefresh() { RebuildTree(); }

// ---- Opening ---------------------------------------------------------------------------

void CLeftView::OpenItem(HTREEITEM item) {
    const QueryFolderItem* record = ItemOf(item);
    if (!record || record->kind != QueryItemQuery) return;
    CQueryFile file;
    if (!file.Load(record->path)) return;
    std::wstring title;
    file.GetTitle(title);
    CLarkspur2006Doc* doc = GetDocument();
    if (!doc->SetQuery(title.c_str(), file.sql, true)) return;
    CUpdateViewPlaylist hint;
    hint.sortColumn = file.sortColumn;
    hint.sortAscending = file.ascending;
    doc->UpdateAllViews(this, HintPlaylistReady, &hint);
}

void CLeftView::OnSelChanged(NMHDR* header, LRESULT* result) {
    *result = 0;
    if (m_rebuilding) return;
    ScopedWaitCursor wait;
    OpenItem(reinterpret_cast<NMTREEVIEWW*>(header)->itemNew.hItem);
}

void CLeftView::OnClick(NMHDR*, LRESULT* result) {
    *result = 0;
    POINT at;
    ::GetCursorPos(&at);
    ScreenToClient(&at);
    CTreeCtrl& tree = GetTreeCtrl();
    HTREEITEM hit = tree.HitTest(at);
    if (hit && hit == tree.GetSelectedItem()) {
        ScopedWaitCursor wait;
        OpenItem(hit);
    }
}

void CLeftView::OnNothing(NMHDR*, LRESULT* result) { *result = 0; }

// ---- Context menu ------------------------------------------------------------------------

void CLeftView::OnRClick(NMHDR*, LRESULT* result) {
    *result = 1;   // no WM_CONTEXTMENU afterwards
    POINT screen;
    ::GetCursorPos(&screen);
    POINT at = screen;
    ScreenToClient(&at);
    HTREEITEM hit = GetTreeCtrl().HitTest(at);
    if (hit) ShowContextMenu(hit, screen);
}

UINT CLeftView::ShowContextMenu(HTREEITEM item, POINT screen) {
    const QueryFolderItem* record = ItemOf(item);
    if (!record || record->kind == QueryItemPlaylist) return 0;
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_QUERY_MENU));
    HMENU popup = menu ? ::GetSubMenu(menu, 0) : nullptr;
    if (!popup) {
        if (menu) ::DestroyMenu(menu);
        return 0;
    }
    const int kind = record->kind;
    auto enable = [&](UINT id, bool on) { ::EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    enable(ID_QUERY_NEW, true);
    enable(ID_QUERY_REFRESH, true);
    enable(ID_QUERY_EDIT, kind == QueryItemQuery);
    enable(ID_QUERY_NEW_FOLDER, kind != QueryItemQuery);
    enable(ID_QUERY_RENAME_FOLDER, kind == QueryItemFolder);
    enable(ID_QUERY_DELETE, kind != QueryItemRoot);
    const UINT command = static_cast<UINT>(
        AfxTrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, m_hWnd));
    ::DestroyMenu(menu);
    switch (command) {
    case ID_QUERY_NEW: NewQuery(item, -1, -1); break;
    case ID_QUERY_EDIT: EditQuery(item); break;
    case ID_QUERY_DELETE: DeleteItem(item); break;
    case ID_QUERY_REFRESH: RebuildTree(); break;
    case ID_QUERY_NEW_FOLDER: CreateFolder(item); break;
    case ID_QUERY_RENAME_FOLDER: RenameFolder(item); break;
    default: break;
    }
    return command;
}

// ---- Queries and folders ---------------------------------------------------------------

void CLeftView::NewQuery(HTREEITEM item, int64_t rowid, int column) {
    const QueryFolderItem* record = ItemOf(item);
    if (!record) return;
    const std::wstring folder = record->kind == QueryItemQuery || record->kind == QueryItemPlaylist
                                    ? FolderOf(record->path)
                                    : record->path;
    std::wstring title, sql;
    if (rowid != -1) {
        int index = 0;
        if (const TrackRecord* track = GetDocument()->GetPlaylistCache().FindByRowid(rowid, index))
            if (!BuildCellQuery(*track, column, title, sql)) title.clear();
    }
    CDlgQuery dialog(this);
    if (sql.empty())
        dialog.SetNewQuery(folder);
    else
        dialog.SetNewQuery(folder, title, sql);
    if (dialog.DoModal() == IDOK) RebuildTree();
}

void CLeftView::EditQuery(HTREEITEM item) {
    const QueryFolderItem* record = ItemOf(item);
    if (!record || record->kind != QueryItemQuery) return;
    CQueryFile file;
    if (!file.Load(record->path)) return;
    CDlgQuery dialog(this);
    dialog.SetEditQuery(record->path);
    if (dialog.DoModal() == IDOK) RebuildTree();
}

void CLeftView::DeleteItem(HTREEITEM item) {
    const QueryFolderItem* record = ItemOf(item);
    if (!record || (record->kind != QueryItemFolder && record->kind != QueryItemQuery)) return;
    PathParts parts;
    if (!SplitPath(parts, record->path)) return;
    if (DeleteHook()(record->path)) RebuildTree();
}

void CLeftView::CreateFolder(HTREEITEM item) {
    const QueryFolderItem* record = ItemOf(item);
    if (!record || (record->kind != QueryItemRoot && record->kind != QueryItemFolder)) return;
    const std::wstring parent = record->path;
    CDlgInput input(this);
    input.SetInputParams(L"フォルダの作成", nullptr, &ValidFolderName, nullptr);
    if (input.DoModal() != IDOK) return;
    std::wstring path = parent;
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    path += input.GetText();
    if (::CreateDirectoryW(path.c_str(), nullptr))
        RebuildTree();
    else
        AfxMessageBox(L"フォルダの作成に失敗しました。", MB_OK | MB_ICONEXCLAMATION);
}

void CLeftView::RenameFolder(HTREEITEM item) {
    const QueryFolderItem* record = ItemOf(item);
    if (!record || record->kind != QueryItemFolder) return;
    const std::wstring oldPath = record->path;
    PathParts parts;
    if (!SplitPath(parts, oldPath)) {
        AfxMessageBox(L"フォルダの名前変更に失敗しました。", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::wstring current = parts.fname + parts.ext;
    CDlgInput input(this);
    input.SetInputParams(L"フォルダの名前変更", current.c_str(), &ValidFolderName, nullptr);
    if (input.DoModal() != IDOK) return;
    const std::wstring newPath = parts.drive + parts.dir + input.GetText();
    if (::MoveFileW(oldPath.c_str(), newPath.c_str()))
        RebuildTree();
    else
        AfxMessageBox(L"フォルダの名前変更に失敗しました。", MB_OK | MB_ICONEXCLAMATION);
}

// ---- Dropped play-list cells -------------------------------------------------------------

HTREEITEM CLeftView::FolderAt(POINT point) const {
    HTREEITEM hit = GetTreeCtrl().HitTest(point);
    const QueryFolderItem* record = ItemOf(hit);
    return record && (record->kind == QueryItemRoot || record->kind == QueryItemFolder) ? hit : nullptr;
}

bool CLeftView::OffersCell(COleDataObject* data) const { return data && data->IsDataAvailable(GetDdDataFormat()); }

DWORD CLeftView::OnDragEnter(COleDataObject* data, DWORD keyState, POINT point) {
    if (OffersCell(data)) return DROPEFFECT_LINK;
    return CTreeView::OnDragEnter(data, keyState, point);
}

DWORD CLeftView::OnDragOver(COleDataObject* data, DWORD keyState, POINT point) {
    if (OffersCell(data) && FolderAt(point)) return DROPEFFECT_LINK;
    return CTreeView::OnDragOver(data, keyState, point);
}

BOOL CLeftView::OnDrop(COleDataObject* data, DWORD effect, POINT point) {
    HTREEITEM folder = FolderAt(point);
    if (!folder || !OffersCell(data)) return CTreeView::OnDrop(data, effect, point);
    // A block shorter than the format's size is not read.
    DdDataCell cell;
    if (!ReadDdData(*data, cell)) return FALSE;
    NewQuery(folder, cell.rowid, cell.columnType);
    return TRUE;
}
