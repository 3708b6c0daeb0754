#pragma once
#include "framework/CtrlView.h"
#include "framework/ImageList.h"
#include "framework/OleDropTarget.h"
#include "ui/views/QueryFolder.h"
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

class CAppSettings;
class CLarkspur2006Doc;

// The query-folder tree: the profile's "query" folder with its sub-folders, saved queries and
// play-list files. Selecting a query runs it into the play list; the context menu creates,
// edits and deletes queries and folders; a play-list cell dropped on a folder proposes a
// query for its value.
class CLeftView : public CTreeView {
public:
    CLeftView();
    ~CLeftView() override;

    CLarkspur2006Doc* GetDocument() const;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;

    DWORD OnDragEnter(COleDataObject* data, DWORD keyState, POINT point) override;
    DWORD OnDragOver(COleDataObject* data, DWORD keyState, POINT point) override;
    BOOL OnDrop(COleDataObject* data, DWORD effect, POINT point) override;

    // The operations on a tree item.
    void OpenItem(HTREEITEM item);
    void NewQuery(HTREEITEM item, int64_t rowid, int column);
    void EditQuery(HTREEITEM item);
    void DeleteItem(HTREEITEM item);
    void CreateFolder(HTREEITEM item);
    void RenameFolder(HTREEITEM item);
    // Reads the folder again; folders open before stay open.
    void RebuildTree();

    // The record of a tree item (null for none) and the item of a path (null when absent).
    const QueryFolderItem* ItemOf(HTREEITEM item) const;
    HTREEITEM FindItem(const std::wstring& path) const;
    HTREEITEM GetRootItem() const { return m_root; }
    // The context menu of an item, at a screen point; returns the command chosen (0: none).
    UINT ShowContextMenu(HTREEITEM item, POINT screen);

    // Moves a file or folder to the recycle bin; true when it is gone. Tests replace it.
    using DeleteOperation = std::function<bool(const std::wstring& path)>;
    static DeleteOperation SetDeleteOperation(DeleteOperation operation);

protected:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnSelChanged(NMHDR* header, LRESULT* result);
    void OnClick(NMHDR* header, LRESULT* result);
    void OnRClick(NMHDR* header, LRESULT* result);
    void OnNothing(NMHDR* header, LRESULT* result);
    void OnRefresh();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CAppSettings& Settings() const;
    void ApplySettings();
    void CreateImages();
    void ScanQueryFolder(HTREEITEM parent, const std::wstring& folder, const std::vector<std::wstring>& expanded);
    HTREEITEM Insert(const QueryFolderItem& record, HTREEITEM parent);
    void CollectExpanded(HTREEITEM item, std::vector<std::wstring>& paths) const;
    // The folder item under a client point (root or folder), else null.
    HTREEITEM FolderAt(POINT point) const;
    bool OffersCell(COleDataObject* data) const;

    std::deque<QueryFolderItem> m_items;
    HTREEITEM m_root = nullptr;
    HFONT m_font = nullptr;
    CImageList m_images;
    COleDropTarget m_dropTarget;
    bool m_rebuilding = false;
};
