#pragma once
#include "framework/CtrlView.h"
#include "ui/views/HeaderSubclass.h"
#include "ui/views/RatingStrips.h"
#include "ui/views/RowHeightImages.h"
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class CAppSettings;
class CLarkspur2006Doc;
class PlaylistCache;
struct PlaylistSummary;
struct TrackRecord;

// One column of the list: element i describes list column i.
struct PlaylistColumn {
    std::wstring caption;
    int width = 0;
    int alignment = 0;   // 0 left, 1 right, 2 centre
    int type = 0;        // ListColumnType
};

// The status-bar text of a loaded play list: files, artists, albums, genres, size, length.
std::wstring FormatPlaylistSummary(const PlaylistSummary& summary);

// The play list: a virtual report list over the rows of the document's play list "Default".
// It owns no rows; it draws each cell from the cache, sorts the cache on a header click,
// reloads it when a new play list is announced, and acts on its rows (play, rate, update,
// remove, copy, properties). Its columns and sort live in the settings.
class CLarkspur2006View : public CListView {
public:
    CLarkspur2006View();
    ~CLarkspur2006View() override;

    CLarkspur2006Doc* GetDoc() const;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;

    // ---- columns and sort (Larkspur2006View.cpp) ------------------------------------------
    const std::deque<PlaylistColumn>& GetColumns() const { return m_columns; }
    // The descriptor of list column `index`, or null.
    const PlaylistColumn* GetColumnAt(int index) const;
    int GetSortColumn() const { return m_sortColumn; }
    bool IsSortAscending() const { return m_sortAscending; }
    void BuildColumns();
    // Settings "Header" := the display order and current widths; then the sort.
    void SaveColumns();
    // Marks the header item of the sort column (none for -2).
    void UpdateSortArrow();
    // A click on list column `index`: sorts by it, the other way when it is the sort column.
    void OnColumnClick(int index);
    // The column menu at screen point `at` (a right click on the header).
    void OnHeaderMenu(POINT at);
    // Fills the list anew from `playlist` (hint 20), taking the sort of `hint` when it brings one.
    void Reload(const class CUpdateViewPlaylist* hint);
    // The start's restore of the last play list, posted by the initial update ("Playelist.Restore").
    void RestoreAtStart();
    bool IsRestorePending() const { return m_restorePending; }
    void UpdateStatusSummary(const PlaylistSummary* summary);
    // Scrolls row `index` into view when "SyncPlaying" is on.
    void EnsureVisibleIfSync(int index);
    // On Windows 2000 the header shows the view's own arrow bitmaps; tests set it.
    void SetOwnArrows(bool own) { m_ownArrows = own; }

    // ---- drawing (Larkspur2006ViewDraw.cpp) -----------------------------------------------
    void DrawItem(LPDRAWITEMSTRUCT dis);
    // Widens list column `index` to its longest text (or the five stars).
    void AutoSizeColumn(int index);

    // ---- actions (Larkspur2006ViewActions.cpp) --------------------------------------------
    void PlayRow(int index);
    // A click at list-client x on row `row` of a rating column: rates 0-50 by the star hit.
    void OnRatingClick(int row, int column, int x);
    // The row context menu; the command chosen (0 for none) has been carried out.
    UINT ShowContextMenu(int row);
    void UpdateSelectedInLibrary();
    // Asks, then removes the selected files from the library.
    void RemoveSelected();
    void RemoveSelectedFromLibrary();
    void SetSelectedRating(int rating);
    // `playCount`: the play count, else the last-played time.
    void ResetSelectedStatistics(bool playCount);
    void OpenSelectedFolders();
    void CopySelected();
    // Starts the drag of the cell under list-client point `at` of row `row`.
    void BeginDrag(int row, POINT at);
    // Selected rows in ascending order.
    std::vector<int> GetSelectedRows() const;

protected:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy();
    void OnMouseMove(UINT flags, POINT point);
    void OnColumnClickNotify(NMHDR* nm, LRESULT* result);
    void OnDividerDblClick(UINT id, NMHDR* nm, LRESULT* result);
    void OnGetDispInfo(NMHDR* nm, LRESULT* result);
    void OnHotTrack(NMHDR* nm, LRESULT* result);
    void OnItemChanged(NMHDR* nm, LRESULT* result);
    void OnClick(NMHDR* nm, LRESULT* result);
    void OnDblClick(NMHDR* nm, LRESULT* result);
    void OnRClick(NMHDR* nm, LRESULT* result);
    void OnKeyDownNotify(NMHDR* nm, LRESULT* result);
    void OnBeginDrag(NMHDR* nm, LRESULT* result);
    void OnBeginRDrag(NMHDR* nm, LRESULT* result);
    void OnPlayCommand();
    DECLARE_MESSAGE_MAP()

private:
    CAppSettings& Settings() const;
    PlaylistCache& Cache() const;
    // The rows' shared look (hint 5): colours, fonts, row height, rating images, cursor.
    void ApplySettings();
    void FreeFonts();
    void MakeArrowBitmaps();
    // Drawing off, item count 0, `change`, item count back, drawing on, one redraw.
    template <class Change> void ChangeRows(Change change);
    // Reload, or the start's restore.
    void Load(const class CUpdateViewPlaylist* hint, bool restore);
    // Sorts the cache by the view's sort (nothing for -2).
    void SortCache();
    void RedrawRow(int row);
    void SendRatingHint(int64_t rowid, int rating);
    // The rowids of the rows, "1,2,3".
    std::wstring RowidList(const std::vector<int>& rows) const;
    const TrackRecord* RowAt(int index) const;

    static const UINT kRestoreMessage = WM_APP + 1;
    bool m_restorePending = false;
    std::deque<PlaylistColumn> m_columns;
    int m_sortColumn = -2;
    bool m_sortAscending = true;
    bool m_ownArrows = false;
    HBITMAP m_arrowUp = nullptr;
    HBITMAP m_arrowDown = nullptr;
    HFONT m_font = nullptr;
    HFONT m_boldFont = nullptr;
    CRowHeightImages m_rowHeight;
    HIMAGELIST m_ratingImages = nullptr;
    CRatingStrips m_ratingStrips;   // of m_ratingImages
    HCURSOR m_arrowCursor = nullptr;
    HCURSOR m_clickCursor = nullptr;
    HMENU m_contextMenu = nullptr;
    HMENU m_columnMenu = nullptr;
    CHeaderSubclass m_header;
};
