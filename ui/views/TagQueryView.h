#pragma once
#include "framework/CtrlView.h"
#include "framework/ImageList.h"
#include "ui/views/GroupRows.h"
#include "ui/views/RowHeightImages.h"
#include <deque>
#include <string>
#include <vector>

class CAppSettings;
class CLarkspur2006Doc;
class CTagQueryView;

// The group view's header: its right button opens the sub-column menu.
class CHeaderSubclassGroup : public CWnd {
public:
    CTagQueryView* m_view = nullptr;

protected:
    void OnRButtonUp(UINT flags, POINT point);
    DECLARE_MESSAGE_MAP()
};

// The library by the distinct values of one column (the grouping key), each with its average
// rating and number of files, optionally under index headers. Selecting values makes them the
// play list.
class CTagQueryView : public CListView {
public:
    CTagQueryView();
    ~CTagQueryView() override;

    CLarkspur2006Doc* GetDocument() const;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;

    // Runs the grouping query and rebuilds the rows.
    void Refresh();
    // The key and its caption; an empty key, or one that is not a column of `list`, is ignored.
    void SetTagKey(const std::wstring& key);
    const std::wstring& GetTagKey() const { return m_key; }
    const std::wstring& GetKeyCaption() const { return m_caption; }

    const GroupRowList& GetRows() const { return m_rows; }
    const GroupIndex& GetIndex() const { return m_index; }
    // List item to row and back (rows of collapsed groups have no item); -1 when none.
    int RowOfItem(int item) const;
    int ItemOfRow(int row) const;

    // A click or Enter on a list item: a header opens or closes its group, other rows run
    // the selection as the play list.
    void QuerySelection(int item);
    // Scrolls so that the header of `row` is the top row and selects it.
    void JumpToRow(int row);
    // A click on column `column`'s header.
    void SortByColumn(int column);
    int GetSortColumn() const { return m_sortColumn; }
    bool IsSortAscending() const { return m_sortAscending; }

    // The context menu's commands on the current selection.
    void UpdateSelectionInLibrary();
    void DeleteSelectionFromLibrary();
    // The file names of the selected rows; false after the database error when the query fails.
    bool CollectSelectedFiles(std::deque<std::wstring>& files);
    // The sub column: 0 none, 1 average rating bar, 2 file count, 3 one tall column.
    void SetHeaderMode(int mode);

    // The index menu's command ids run from 1 up, below every fixed command of the menu.
    static const UINT kIndexCommandFirst = 1;
    static const UINT kIndexCommandLast = 32767;
    // The row an index command jumps to, or -1.
    int RowOfIndexCommand(UINT id) const;
    // Opens the context menu at a screen point (the popup presenter tracks it).
    void ShowContextMenu(POINT screen);
    void ShowHeaderMenu(POINT screen);

protected:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void DrawItem(LPDRAWITEMSTRUCT item);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnClick(NMHDR* header, LRESULT* result);
    void OnDblClick(NMHDR* header, LRESULT* result);
    void OnRClick(NMHDR* header, LRESULT* result);
    void OnListKeyDown(NMHDR* header, LRESULT* result);
    void OnColumnClick(NMHDR* header, LRESULT* result);
    void OnGetInfoTip(NMHDR* header, LRESULT* result);
    void OnItemChanged(NMHDR* header, LRESULT* result);
    void OnOdStateChanged(NMHDR* header, LRESULT* result);
    void OnNothing(NMHDR* header, LRESULT* result);
    void OnDividerDblClick(UINT id, NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    CAppSettings& Settings() const;
    void ApplySettings();
    void Layout();
    void MarkSortColumn();
    void BuildIndexMenu();
    void RebuildVisible();
    void SortRows();
    std::vector<const GroupItem*> SelectedRows() const;
    void SelectOnly(int item);
    bool IsValueKind(int kind) const { return kind == GroupItemAll || kind == GroupItemNone || kind == GroupItemValue; }
    int FocusedItem() const;
    void DrawRow(HDC dc, const RECT& rc, int row, bool selected, bool focused);

    std::wstring m_key = L"tagAlbum";
    std::wstring m_caption = L"アルバム";
    GroupRowList m_rows;
    GroupIndex m_index;
    std::vector<int> m_visible;   // list item -> row
    HFONT m_font = nullptr;
    HFONT m_boldFont = nullptr;
    COLORREF m_graph = 0;
    COLORREF m_shades[6] = {};
    HDC m_ruleDC = nullptr;
    HBITMAP m_ruleBitmap = nullptr;
    HGDIOBJ m_ruleOld = nullptr;
    CImageList m_icons;
    CRowHeightImages m_rowHeight;
    int m_sortColumn = 0;
    bool m_sortAscending = true;
    int m_lastValueItem = -1;
    int m_height = -1;   // client height at the last WM_SIZE
    HMENU m_menu = nullptr;
    std::vector<int> m_indexRows;   // command id - kIndexCommandFirst -> row
    CHeaderSubclassGroup m_header;
};
