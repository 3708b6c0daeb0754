#pragma once
#include "app/TrackRecord.h"
#include "framework/CommonCtrls.h"
#include "framework/Dialog.h"
#include "ui/dialogs/PropertyRows.h"
#include <cstdint>

class CLarkspur2006Doc;

// Every stored value of one library row, or (row id -1) the facts and statistics of the
// whole library with its maintenance commands.
class CDlgProperty : public CDialog {
public:
    CDlgProperty();
    ~CDlgProperty() override;

    // Set by the initialise command once it ran and by the delete command when rows went.
    BOOL m_changed = FALSE;
    CLarkspur2006Doc* m_pDoc = nullptr;
    int64_t m_rowid = -1;

    const PropertyRows& GetRows() const { return m_rows; }
    bool IsDatabaseMode() const { return m_rowid == -1; }

protected:
    BOOL OnInitDialog() override;
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    void OnDividerDblClick(NMHDR* header, LRESULT* result);
    void OnListKeyDown(NMHDR* header, LRESULT* result);
    void OnInitializeLibrary();
    void OnOptimizeLibrary();
    void OnDeleteMissingFiles();
    DECLARE_MESSAGE_MAP()

private:
    void Layout(int cx, int cy);
    void FillRows();
    void Refill();
    void DrawBar();
    void DrawStars(HDC dc, const RECT& r, int rating) const;
    void DrawTextIn(HDC dc, const std::wstring& text, RECT r, UINT ellipsis) const;
    void ReleaseGdi();

    TrackRecord m_track;
    HIMAGELIST m_ratingImages = nullptr;
    HFONT m_listFont = nullptr;
    HFONT m_boldFont = nullptr;
    HBITMAP m_bar = nullptr;
    HDC m_barDC = nullptr;
    HGDIOBJ m_oldBar = nullptr;
    PropertyRows m_rows;
    CListCtrl m_list;
};
