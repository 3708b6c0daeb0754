#include "ui/views/Larkspur2006View.h"
#include "app/ColumnModel.h"
#include "app/ViewHints.h"
#include "document/DBError.h"
#include "document/DlgAddLib.h"
#include "document/Larkspur2006Doc.h"
#include "document/WaitCursor.h"
#include "framework/MessageBox.h"
#include "framework/PopupMenu.h"
#include "resources/resource.h"
#include "ui/dialogs/LibraryDialogs.h"
#include "ui/views/DdData.h"
#include <sqlite3.h>
#include <cwchar>
#include <deque>

namespace {

const UINT kAsk = MB_OKCANCEL | MB_DEFBUTTON2;

int RowOf(NMHDR* nm) { return reinterpret_cast<NMITEMACTIVATE*>(nm)->iItem; }

}  // namespace

std::vector<int> CLarkspur2006View::GetSelectedRows() const {
    std::vector<int> rows;
    CListCtrl& list = GetListCtrl();
    for (int i = list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = list.GetNextItem(i, LVNI_SELECTED)) {
        if (i < Cache().size()) rows.push_back(i);
    }
    return rows;
}

std::wstring CLarkspur2006View::RowidList(const std::vector<int>& rows) const {
    std::wstring list;
    wchar_t number[32];
    for (int row : rows) {
        swprintf(number, 32, L"%lld", static_cast<long long>(RowAt(row)->rowid));
        if (!list.empty()) list += L",";
        list += number;
    }
    return list;
}

// ---- playing ------------------------------------------------------------------------------

void CLarkspur2006View::PlayRow(int index) {
    if (!RowAt(index)) return;
    Cache().current = index;
    GetDoc()->Play(index, 0.0f);
}

void CLarkspur2006View::OnPlayCommand() {
    const int focused = GetListCtrl().GetNextItem(-1, LVNI_FOCUSED);
    if (RowAt(focused)) PlayRow(focused);
    else GetDoc()->Play(-1, 0.0f);
}

void CLarkspur2006View::OnClick(NMHDR* nm, LRESULT* result) {
    *result = 0;
    auto* item = reinterpret_cast<NMITEMACTIVATE*>(nm);
    if (!RowAt(item->iItem)) return;
    const PlaylistColumn* column = GetColumnAt(item->iSubItem);
    if (column && column->type == ColRating) OnRatingClick(item->iItem, item->iSubItem, item->ptAction.x);
    else if (Settings().playlistView.singleClick) PlayRow(item->iItem);
}

void CLarkspur2006View::OnDblClick(NMHDR* nm, LRESULT* result) {
    *result = 0;
    // With single-click play the first click has already played the row.
    if (Settings().playlistView.singleClick) return;
    PlayRow(RowOf(nm));
}

void CLarkspur2006View::OnKeyDownNotify(NMHDR* nm, LRESULT* result) {
    *result = 0;
    CListCtrl& list = GetListCtrl();
    const WORD key = reinterpret_cast<NMLVKEYDOWN*>(nm)->wVKey;
    const int focused = list.GetNextItem(-1, LVNI_FOCUSED);
    if (key == VK_RETURN) {
        PlayRow(focused);
    } else if (key == 'A' && ::GetKeyState(VK_CONTROL) < 0) {
        list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    } else if (key == VK_APPS) {
        // Without a focused row there is nothing for the menu to act on.
        if (RowAt(focused)) ShowContextMenu(focused);
    }
}

void CLarkspur2006View::OnRClick(NMHDR* nm, LRESULT* result) {
    *result = 0;
    const int row = RowOf(nm);
    if (RowAt(row)) ShowContextMenu(row);
}

// ---- ratings ------------------------------------------------------------------------------

void CLarkspur2006View::SendRatingHint(int64_t rowid, int rating) {
    CUpdateViewPlaybackStatisticsChange change;
    change.changed = CUpdateViewPlaybackStatisticsChange::Rating;
    change.rowid = rowid;
    change.rating = rating;
    GetDoc()->UpdateAllViews(this, HintStatisticsChanged, &change);
}

void CLarkspur2006View::OnRatingClick(int row, int column, int x) {
    TrackRecord* track = Cache().at(row);
    if (!track) return;
    // The header item spans the column wherever it was dragged; the bounds of column 0 are
    // the whole row's.
    HWND header = GetListCtrl().GetHeaderCtrl();
    RECT cell;
    if (!header || !Header_GetItemRect(header, column, &cell)) return;
    ::MapWindowPoints(header, m_hWnd, reinterpret_cast<POINT*>(&cell), 2);
    // 16 pixels a star, whatever the image width; a click past the middle of a star counts it.
    int rating = 10 * ((x - cell.left + 8) / 16);
    if (rating > 50) rating = 50;
    if (rating < 0) rating = 0;
    if (rating == track->rating) return;
    const int old = track->rating;
    track->rating = rating;
    RedrawRow(row);
    if (!GetDoc()->WriteRating(track->rowid, rating)) {
        // Nothing was stored (the user has seen why): the row shows the stored rating again.
        track->rating = old;
        RedrawRow(row);
        return;
    }
    SendRatingHint(track->rowid, rating);
}

void CLarkspur2006View::SetSelectedRating(int rating) {
    ScopedWaitCursor wait;
    const std::vector<int> rows = GetSelectedRows();
    if (rows.empty()) return;
    std::vector<int64_t> rowids;
    for (int row : rows) rowids.push_back(RowAt(row)->rowid);
    if (!GetDoc()->WriteRating(rowids, rating)) return;
    const int64_t playing = GetDoc()->GetNowPlaying().rowid;
    SendMessage(WM_SETREDRAW, FALSE);
    for (int row : rows) {
        TrackRecord* track = Cache().at(row);
        track->rating = rating;
        if (track->rowid == playing) SendRatingHint(track->rowid, rating);
    }
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
    UpdateWindow();
}

void CLarkspur2006View::ResetSelectedStatistics(bool playCount) {
    const wchar_t* question = playCount ? L"「再生回数」を初期化します。" : L"「最後に再生した日時」を初期化します。";
    if (AfxMessageBox(question, kAsk | MB_ICONQUESTION) != IDOK) return;
    ScopedWaitCursor wait;
    const std::vector<int> rows = GetSelectedRows();
    if (rows.empty()) return;
    const std::wstring sql = std::wstring(playCount ? L"UPDATE list SET playcount=0 WHERE rowid IN ("
                                                    : L"UPDATE list SET lastplayed=0 WHERE rowid IN (") +
                             RowidList(rows) + L");";
    CSQlite& db = GetDoc()->GetDatabase();
    if (db.exec(sql) != 0) {
        ShowDBError(db.errmsg());
        return;
    }
    const int64_t playing = GetDoc()->GetNowPlaying().rowid;
    SendMessage(WM_SETREDRAW, FALSE);
    for (int row : rows) {
        TrackRecord* track = Cache().at(row);
        if (playCount) track->playcount = 0;
        else track->lastplayed = 0;
        if (track->rowid == playing) {
            CUpdateViewPlaybackStatisticsChange change;
            change.changed = playCount ? CUpdateViewPlaybackStatisticsChange::PlayCount
                                       : CUpdateViewPlaybackStatisticsChange::LastPlayed;
            change.rowid = track->rowid;
            GetDoc()->UpdateAllViews(this, HintStatisticsChanged, &change);
        }
    }
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
    UpdateWindow();
}

// ---- the row menu -----------------------------------------------------------------------

UINT CLarkspur2006View::ShowContextMenu(int row) {
    const TrackRecord* clicked = RowAt(row);
    HMENU popup = m_contextMenu ? ::GetSubMenu(m_contextMenu, 0) : nullptr;
    if (!clicked || !popup) return 0;
    const int64_t rowid = clicked->rowid;
    const UINT enabled[] = {ID_PL_LIBRARY_UPDATE, ID_PL_LIBRARY_REMOVE, ID_PL_RATING_50, ID_PL_RATING_40,
                            ID_PL_RATING_30, ID_PL_RATING_20, ID_PL_RATING_10, ID_PL_RATING_0,
                            ID_PL_RESET_PLAYCOUNT, ID_PL_RESET_LASTPLAYED, ID_PL_PROPERTIES};
    for (UINT id : enabled) ::EnableMenuItem(popup, id, MF_BYCOMMAND | MF_ENABLED);
    POINT at;
    ::GetCursorPos(&at);
    const UINT command = static_cast<UINT>(
        AfxTrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, m_hWnd));
    switch (command) {
    case ID_PL_LIBRARY_UPDATE: UpdateSelectedInLibrary(); break;
    case ID_PL_LIBRARY_REMOVE: RemoveSelected(); break;
    case ID_PL_RATING_50: SetSelectedRating(50); break;
    case ID_PL_RATING_40: SetSelectedRating(40); break;
    case ID_PL_RATING_30: SetSelectedRating(30); break;
    case ID_PL_RATING_20: SetSelectedRating(20); break;
    case ID_PL_RATING_10: SetSelectedRating(10); break;
    case ID_PL_RATING_0: SetSelectedRating(0); break;
    case ID_PL_RESET_PLAYCOUNT: ResetSelectedStatistics(true); break;
    case ID_PL_RESET_LASTPLAYED: ResetSelectedStatistics(false); break;
    case ID_PL_OPEN_FOLDER: OpenSelectedFolders(); break;
    case ID_PL_COPY: CopySelected(); break;
    case ID_PL_PROPERTIES: RunTrackProperties(*GetDoc(), rowid); break;
    default: break;
    }
    return command;
}

void CLarkspur2006View::UpdateSelectedInLibrary() {
    ScopedWaitCursor wait;
    std::deque<std::wstring> files;
    for (int row : GetSelectedRows()) files.push_back(RowAt(row)->file_name);
    if (files.empty()) return;
    CDlgAddLib dialog(this);
    dialog.SetFiles(GetDoc(), files);
    dialog.DoModal();
    if (dialog.GetCount() > 0) {
        CUpdateViewLibrary library;
        library.clearLists = false;
        GetDoc()->UpdateAllViews(nullptr, HintLibraryChanged, &library);
    }
}

void CLarkspur2006View::RemoveSelected() {
    CLarkspur2006Doc* doc = GetDoc();
    if (doc->GetPlayState() == 1) {
        if (AfxMessageBox(L"ライブラリからファイルを削除します。\r\n演奏は停止します。よろしいですか？",
                          kAsk | MB_ICONWARNING) != IDOK)
            return;
        doc->Stop(true);
    } else if (AfxMessageBox(L"ライブラリからファイルを削除します。", kAsk | MB_ICONQUESTION) != IDOK) {
        return;
    }
    RemoveSelectedFromLibrary();
}

void CLarkspur2006View::RemoveSelectedFromLibrary() {
    ScopedWaitCursor wait;
    std::vector<std::wstring> names;
    for (int row : GetSelectedRows()) names.push_back(RowAt(row)->file_name);
    // A refused delete leaves the lists as they are.
    if (!GetDoc()->DeleteFromLibrary(names)) return;
    CUpdateViewLibrary library;
    library.clearLists = true;
    GetDoc()->UpdateAllViews(nullptr, HintLibraryChanged, &library);
}

void CLarkspur2006View::OpenSelectedFolders() {
    const std::vector<int> rows = GetSelectedRows();
    if (rows.size() != 1 &&
        AfxMessageBox(L"ファイルが複数選択されています。\r\n続行しますか？", kAsk | MB_ICONQUESTION) != IDOK)
        return;
    for (int row : rows) {
        const std::wstring parameters = L"/n,/select,\"" + RowAt(row)->file_name + L"\"";
        GetDoc()->GetPlayerHost().RunShellCommand(m_hWnd, L"explorer.exe", &parameters);
    }
}

void CLarkspur2006View::CopySelected() {
    std::vector<const TrackRecord*> tracks;
    for (int row : GetSelectedRows()) tracks.push_back(RowAt(row));
    RunCopyDialog(tracks);
}

// ---- dragging a cell out ------------------------------------------------------------------

void CLarkspur2006View::BeginDrag(int row, POINT at) {
    const TrackRecord* track = RowAt(row);
    CListCtrl& list = GetListCtrl();
    HWND header = list.GetHeaderCtrl();
    if (!track || !header) return;
    // The column whose header spans the point; past the last column there is no cell.
    const PlaylistColumn* column = nullptr;
    const int count = Header_GetItemCount(header);
    for (int i = 0; i < count && !column; ++i) {
        RECT r;
        if (!Header_GetItemRect(header, i, &r)) continue;
        ::MapWindowPoints(header, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        if (at.x >= r.left && at.x < r.right) column = GetColumnAt(i);
    }
    if (!column) return;

    CDdData data;
    data.m_rowid = track->rowid;
    data.m_columnType = column->type;
    GetColumnText(*track, column->type, data.m_text, Settings().generic.dateTimeFormat);
    data.m_playlist = &Cache();
    data.OfferFormats();
    data.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_LINK | DROPEFFECT_SCROLL);
}

void CLarkspur2006View::OnBeginDrag(NMHDR* nm, LRESULT* result) {
    *result = 0;
    auto* item = reinterpret_cast<NMLISTVIEW*>(nm);
    BeginDrag(item->iItem, item->ptAction);
}

void CLarkspur2006View::OnBeginRDrag(NMHDR* nm, LRESULT* result) { OnBeginDrag(nm, result); }
