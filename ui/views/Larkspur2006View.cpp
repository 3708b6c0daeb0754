#include "ui/views/Larkspur2006View.h"
#include "app/ColumnModel.h"
#include "app/Formatters.h"
#include "app/Larkspur2006App.h"
#include "app/RatingImages.h"
#include "app/ViewHints.h"
#include "document/Larkspur2006Doc.h"
#include "document/PlaylistLoader.h"
#include "document/WaitCursor.h"
#include "framework/FrameWnd.h"
#include "framework/PopupMenu.h"
#include "framework/StatusBar.h"
#include "resources/resource.h"
#include "ui/controls/OdMenu.h"
#include <cwchar>

namespace {

// The column menu's items: command, column type, default width.
struct ColumnMenuItem {
    UINT id;
    int type;
    int width;
};
const ColumnMenuItem kColumnMenu[] = {
    {ID_PL_COLUMN_TRACK, ColTrackNumber, 50},       {ID_PL_COLUMN_TITLE, ColTitle, 200},
    {ID_PL_COLUMN_ARTIST, ColArtist, 200},          {ID_PL_COLUMN_ALBUM, ColAlbum, 200},
    {ID_PL_COLUMN_YEAR, ColYear, 50},               {ID_PL_COLUMN_GENRE, ColGenre, 70},
    {ID_PL_COLUMN_COMMENT, ColComment, 200},        {ID_PL_COLUMN_FILE_NAME, ColFileName, 200},
    {ID_PL_COLUMN_FILE_PATH, ColFilePath, 200},     {ID_PL_COLUMN_FILE_SIZE, ColFileSize, 100},
    {ID_PL_COLUMN_LENGTH, ColLength, 70},           {ID_PL_COLUMN_CODEC, ColCodec, 70},
    {ID_PL_COLUMN_BITRATE, ColBitrate, 70},         {ID_PL_COLUMN_CHANNELS, ColChannels, 70},
    {ID_PL_COLUMN_SAMPLING_RATE, ColSamplingRate, 70}, {ID_PL_COLUMN_RATING, ColRating, 84},
    {ID_PL_COLUMN_PLAY_COUNT, ColPlayCount, 70},    {ID_PL_COLUMN_LAST_PLAYED, ColLastPlayed, 140},
};

int ListFormat(int alignment) {
    if (alignment == AlignRight) return LVCFMT_RIGHT;
    if (alignment == AlignCentre) return LVCFMT_CENTER;
    return LVCFMT_LEFT;
}

const wchar_t* Word(uint64_t n, const wchar_t* one, const wchar_t* many) { return n > 1 ? many : one; }

bool IsWindows2000() {
    if (auto* app = dynamic_cast<CLarkspur2006App*>(AfxGetApp())) {
        const OSVERSIONINFOW& v = app->GetOsVersion();
        return v.dwMajorVersion == 5 && v.dwMinorVersion == 0;
    }
    return false;
}

}  // namespace

std::wstring FormatPlaylistSummary(const PlaylistSummary& s) {
    std::wstring size, length;
    FormatByteSizeShell(size, static_cast<long long>(s.bytes));
    FormatDuration(length, static_cast<long long>(s.seconds));
    wchar_t text[512];
    swprintf(text, 512, L"%llu %ls (%llu %ls : %llu %ls : %llu %ls) / %ls / %ls",
             static_cast<unsigned long long>(s.files), Word(s.files, L"File", L"Files"),
             static_cast<unsigned long long>(s.artists), Word(s.artists, L"Artist", L"Artists"),
             static_cast<unsigned long long>(s.albums), Word(s.albums, L"Album", L"Albums"),
             static_cast<unsigned long long>(s.genres), Word(s.genres, L"Genre", L"Genres"),
             size.c_str(), length.c_str());
    return text;
}

BEGIN_MESSAGE_MAP(CLarkspur2006View, CListView)
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_DRAWITEM_REFLECT()
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, &CLarkspur2006View::OnColumnClickNotify)
    ON_NOTIFY_RANGE(HDN_DIVIDERDBLCLICKW, 0, 0xFFFFFFFF, &CLarkspur2006View::OnDividerDblClick)
    ON_NOTIFY_RANGE(HDN_DIVIDERDBLCLICKA, 0, 0xFFFFFFFF, &CLarkspur2006View::OnDividerDblClick)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOW, &CLarkspur2006View::OnGetDispInfo)
    ON_NOTIFY_REFLECT(LVN_GETINFOTIPW, &CLarkspur2006View::OnGetDispInfo)
    ON_NOTIFY_REFLECT(LVN_HOTTRACK, &CLarkspur2006View::OnHotTrack)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, &CLarkspur2006View::OnItemChanged)
    ON_NOTIFY_REFLECT(NM_CLICK, &CLarkspur2006View::OnClick)
    ON_NOTIFY_REFLECT(NM_DBLCLK, &CLarkspur2006View::OnDblClick)
    ON_NOTIFY_REFLECT(NM_RCLICK, &CLarkspur2006View::OnRClick)
    ON_NOTIFY_REFLECT(LVN_KEYDOWN, &CLarkspur2006View::OnKeyDownNotify)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, &CLarkspur2006View::OnBeginDrag)
    ON_NOTIFY_REFLECT(LVN_BEGINRDRAG, &CLarkspur2006View::OnBeginRDrag)
    ON_COMMAND(ID_PLAY, &CLarkspur2006View::OnPlayCommand)
END_MESSAGE_MAP()

CLarkspur2006View::CLarkspur2006View() { m_header.m_pView = this; }

CLarkspur2006View::~CLarkspur2006View() {
    FreeFonts();
    m_ratingStrips.Clear();
    if (m_ratingImages) ImageList_Destroy(m_ratingImages);
    if (m_arrowUp) ::DeleteObject(m_arrowUp);
    if (m_arrowDown) ::DeleteObject(m_arrowDown);
    if (m_contextMenu) ::DestroyMenu(m_contextMenu);
    if (m_columnMenu) ::DestroyMenu(m_columnMenu);
}

BOOL CLarkspur2006View::PreCreateWindow(CREATESTRUCTW& cs) {
    // The row-height image list belongs to the view, which destroys it: the control only uses it.
    cs.style |= LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_CLIPCHILDREN;
    return CListView::PreCreateWindow(cs);
}

CLarkspur2006Doc* CLarkspur2006View::GetDoc() const { return static_cast<CLarkspur2006Doc*>(GetDocument()); }
CAppSettings& CLarkspur2006View::Settings() const { return GetDoc()->GetSettings(); }
PlaylistCache& CLarkspur2006View::Cache() const { return GetDoc()->GetPlaylistCache(); }

const TrackRecord* CLarkspur2006View::RowAt(int index) const { return Cache().at(index); }

const PlaylistColumn* CLarkspur2006View::GetColumnAt(int index) const {
    return index >= 0 && index < static_cast<int>(m_columns.size()) ? &m_columns[index] : nullptr;
}

LRESULT CLarkspur2006View::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kRestoreMessage) {
        try {
            RestoreAtStart();
        } catch (...) {
            // Nothing leaves a window procedure; the play list stays as it is.
        }
        return 0;
    }
    // The view's popup menus are drawn as the main menus are.
    switch (msg) {
    case WM_INITMENUPOPUP:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_MENUCHAR: {
        LRESULT result = 0;
        if (msg == WM_INITMENUPOPUP) {
            result = CListView::WindowProc(msg, wParam, lParam);
            OdMenuOnMessage(m_hWnd, msg, wParam, lParam, &result);
            return result;
        }
        if (OdMenuOnMessage(m_hWnd, msg, wParam, lParam, &result)) return result;
        break;
    }
    default:
        break;
    }
    return CListView::WindowProc(msg, wParam, lParam);
}

void CLarkspur2006View::OnInitialUpdate() {
    CListView::OnInitialUpdate();
    CListCtrl& list = GetListCtrl();
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP);
    m_arrowCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    if (!m_contextMenu) m_contextMenu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PLAYLIST_MENU));
    if (!m_columnMenu) m_columnMenu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PLAYLIST_COLUMN_MENU));

    if (IsWindows2000()) m_ownArrows = true;
    if (m_ownArrows) MakeArrowBitmaps();

    CAppSettings& s = Settings();
    m_sortColumn = s.playlistView.headerSortColumn;
    m_sortAscending = s.playlistView.headerSortAsc;
    UpdateSortArrow();
    UpdateStatusSummary(nullptr);

    BuildColumns();
    if (!m_header.m_hWnd) {
        if (HWND header = list.GetHeaderCtrl()) m_header.SubclassWindow(header);
    }

    // Once the window is shown and the message loop runs: a stored play list that takes long
    // to read can then be stopped, and the window answers meanwhile.
    if (s.playlistView.playlistRestore) {
        m_restorePending = true;
        PostMessage(kRestoreMessage);
    }
}

void CLarkspur2006View::RestoreAtStart() {
    if (!m_restorePending || !GetDoc()) return;
    m_restorePending = false;
    CAppSettings& s = Settings();
    const int latest = s.playlistView.playlistLatestSelection;
    Load(nullptr, true);
    s.playlistView.playlistLatestSelection = -1;
    // A stored index that no longer fits the restored rows selects nothing.
    if (latest >= 0 && latest < Cache().size()) {
        CListCtrl& list = GetListCtrl();
        EnsureVisibleIfSync(latest);
        list.SetItemState(latest, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list.SetSelectionMark(latest);
        Cache().current = latest;
    }
}

void CLarkspur2006View::OnDestroy() {
    SaveColumns();
    if (m_header.m_hWnd) m_header.UnsubclassWindow();
    Default(WM_DESTROY, 0, 0);
}

// ---- look -------------------------------------------------------------------------------

void CLarkspur2006View::FreeFonts() {
    if (m_font) ::DeleteObject(m_font);
    if (m_boldFont) ::DeleteObject(m_boldFont);
    m_font = m_boldFont = nullptr;
}

void CLarkspur2006View::ApplySettings() {
    CAppSettings& s = Settings();
    CListCtrl& list = GetListCtrl();
    list.SetBkColor(s.playlistView.colorBackground);
    list.SetTextColor(s.playlistView.colorText);

    m_rowHeight.Clear(list.m_hWnd);
    m_ratingStrips.Clear();
    CreateRatingImageList(m_ratingImages, s, false);
    m_clickCursor = s.generic.handCursor ? s.generic.handCursor : ::LoadCursorW(nullptr, IDC_ARROW);

    list.SetFont(nullptr, FALSE);
    FreeFonts();
    HDC screen = ::GetDC(nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(s.playlistView.fontSize, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, s.playlistView.fontName.c_str(), LF_FACESIZE - 1);
    m_font = ::CreateFontIndirectW(&lf);
    list.SetFont(m_font, TRUE);
    ::GetObjectW(m_font, sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    m_boldFont = ::CreateFontIndirectW(&lf);

    // The row height follows the (empty) small image list: 16 up to 14 points, 32 to 30.
    const int height = (s.playlistView.fontSize + 17) / 16 * 16;
    m_rowHeight.Set(list.m_hWnd, height, ILC_MASK | ILC_COLOR8);
    if (HWND header = list.GetHeaderCtrl()) ::RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CLarkspur2006View::MakeArrowBitmaps() {
    if (m_arrowUp) return;
    HWND header = GetListCtrl().GetHeaderCtrl();
    HDC dc = ::GetDC(header);
    HDC mem = ::CreateCompatibleDC(dc);
    HPEN light = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    HPEN shadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
    const RECT all{0, 0, 16, 16};
    auto draw = [&](HBITMAP& bitmap, bool ascending) {
        bitmap = ::CreateCompatibleBitmap(dc, 16, 16);
        HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
        ::FillRect(mem, &all, face);
        HGDIOBJ oldPen = ::SelectObject(mem, ascending ? light : shadow);
        if (ascending) {
            ::MoveToEx(mem, 3, 11, nullptr);
            ::LineTo(mem, 9, 11);
            ::LineTo(mem, 6, 4);
            ::LineTo(mem, 5, 4);
            ::SelectObject(mem, shadow);
            ::LineTo(mem, 2, 11);
        } else {
            ::MoveToEx(mem, 9, 4, nullptr);
            ::LineTo(mem, 2, 4);
            ::LineTo(mem, 5, 11);
            ::LineTo(mem, 6, 11);
            ::SelectObject(mem, light);
            ::LineTo(mem, 9, 4);
        }
        ::SelectObject(mem, oldPen);
        ::SelectObject(mem, oldBitmap);
    };
    draw(m_arrowUp, true);
    draw(m_arrowDown, false);
    ::DeleteObject(light);
    ::DeleteObject(shadow);
    ::DeleteDC(mem);
    ::ReleaseDC(header, dc);
}

// ---- columns and sort ---------------------------------------------------------------------

void CLarkspur2006View::BuildColumns() {
    CListCtrl& list = GetListCtrl();
    while (list.DeleteColumn(0)) {
    }
    m_columns.clear();
    for (const ListColumnEntry& entry : Settings().playlistView.columns) {
        if (!IsListColumnType(entry.type)) continue;
        PlaylistColumn column;
        if (!GetColumnCaption(entry.type, column.caption)) continue;
        column.type = entry.type;
        column.width = entry.width;
        column.alignment = GetColumnAlignment(entry.type);
        list.InsertColumn(static_cast<int>(m_columns.size()), column.caption.c_str(), ListFormat(column.alignment),
                          column.width);
        m_columns.push_back(column);
    }
    UpdateSortArrow();
}

void CLarkspur2006View::SaveColumns() {
    if (!GetDoc()) return;
    CAppSettings& s = Settings();
    CListCtrl& list = GetListCtrl();
    HWND header = m_hWnd ? list.GetHeaderCtrl() : nullptr;
    if (header && ::IsWindow(header)) {
        s.playlistView.columns.clear();
        const std::vector<int> order = list.GetColumnOrderArray();
        for (int index : order) {
            const PlaylistColumn* column = GetColumnAt(index);
            if (!column) continue;
            HDITEMW item{};
            item.mask = HDI_WIDTH;
            Header_GetItem(header, index, &item);
            s.playlistView.columns.push_back({column->type, item.cxy});
        }
    }
    s.playlistView.headerSortColumn = m_sortColumn;
    s.playlistView.headerSortAsc = m_sortAscending;
}

void CLarkspur2006View::UpdateSortArrow() {
    HWND header = m_hWnd ? GetListCtrl().GetHeaderCtrl() : nullptr;
    if (!header) return;
    const int count = Header_GetItemCount(header);
    for (int i = 0; i < count && i < static_cast<int>(m_columns.size()); ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, i, &item);
        const bool marked = m_columns[i].type == m_sortColumn;
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN | HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
        if (marked && m_ownArrows) {
            item.mask |= HDI_BITMAP;
            item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
            item.hbm = m_sortAscending ? m_arrowUp : m_arrowDown;
        } else if (marked) {
            item.fmt |= m_sortAscending ? HDF_SORTUP : HDF_SORTDOWN;
        }
        Header_SetItem(header, i, &item);
    }
}

template <class Change>
void CLarkspur2006View::ChangeRows(Change change) {
    CListCtrl& list = GetListCtrl();
    SendMessage(WM_SETREDRAW, FALSE);
    list.SetItemCountEx(0, LVSICF_NOINVALIDATEALL);
    change();
    list.SetItemCountEx(Cache().size(), LVSICF_NOINVALIDATEALL);
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
    UpdateWindow();
}

void CLarkspur2006View::SortCache() {
    if (m_sortColumn == SortColumnNone) return;
    const CAppSettings& s = Settings();
    Cache().Sort(m_sortColumn, m_sortAscending, s.playlistView.sortRule01, s.playlistView.sortRule02,
                 s.playlistView.sortRule03);
}

void CLarkspur2006View::EnsureVisibleIfSync(int index) {
    if (index < 0 || !Settings().playlistView.syncPlaying) return;
    GetListCtrl().EnsureVisible(index, FALSE);
}

void CLarkspur2006View::OnColumnClick(int index) {
    const PlaylistColumn* column = GetColumnAt(index);
    if (!column) return;
    if (column->type == m_sortColumn) m_sortAscending = !m_sortAscending;
    m_sortColumn = column->type;
    UpdateSortArrow();
    ChangeRows([this] { SortCache(); });
    const int current = Cache().current;
    if (current >= 0) {
        EnsureVisibleIfSync(current);
        Settings().playlistView.playlistLatestSelection = current;
    }
}

void CLarkspur2006View::OnColumnClickNotify(NMHDR* nm, LRESULT* result) {
    OnColumnClick(reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem);
    *result = 0;
}

void CLarkspur2006View::OnDividerDblClick(UINT, NMHDR* nm, LRESULT* result) {
    if (nm->hwndFrom == GetListCtrl().GetHeaderCtrl()) AutoSizeColumn(reinterpret_cast<NMHEADERW*>(nm)->iItem);
    *result = 0;
}

void CLarkspur2006View::OnHeaderMenu(POINT at) {
    HWND header = GetListCtrl().GetHeaderCtrl();
    int hit = -1;
    const int count = header ? Header_GetItemCount(header) : 0;
    for (int i = 0; i < count; ++i) {
        RECT r;
        if (!Header_GetItemRect(header, i, &r)) continue;
        ::MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&r), 2);
        if (::PtInRect(&r, at)) {
            hit = i;
            break;
        }
    }
    SaveColumns();
    std::vector<ListColumnEntry>& columns = Settings().playlistView.columns;
    HMENU popup = m_columnMenu ? ::GetSubMenu(m_columnMenu, 0) : nullptr;
    if (!popup) return;
    for (const ColumnMenuItem& item : kColumnMenu) {
        const bool shown = FindColumnEntry(columns, item.type) != columns.end();
        ::CheckMenuItem(popup, item.id, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
    }
    const UINT command = static_cast<UINT>(
        AfxTrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, m_hWnd));
    if (command == ID_PL_COLUMN_RESET) {
        ResetDefaultColumns(columns, Settings().playlistView.marginX);
    } else {
        for (const ColumnMenuItem& item : kColumnMenu) {
            if (item.id != command) continue;
            auto found = FindColumnEntry(columns, item.type);
            if (found != columns.end()) {
                columns.erase(found);
            } else if (hit < 0 || hit + 1 >= static_cast<int>(columns.size())) {
                columns.push_back({item.type, item.width});
            } else {
                columns.insert(columns.begin() + hit + 1, ListColumnEntry{item.type, item.width});
            }
        }
    }
    BuildColumns();
}

// ---- hints and reload -----------------------------------------------------------------

void CLarkspur2006View::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) {
    if (!m_hWnd || !GetDoc()) return;
    CListCtrl& list = GetListCtrl();
    switch (hint) {
    case HintSettingsChanged:
        ApplySettings();
        break;
    case HintLibraryChanged: {
        auto* library = dynamic_cast<CUpdateViewLibrary*>(hintObject);
        if (library && library->clearLists) {
            Cache().Clear();
            list.SetItemCountEx(0);
            Invalidate();
            UpdateWindow();
        }
        break;
    }
    case HintPlaylistReady:
        Reload(dynamic_cast<CUpdateViewPlaylist*>(hintObject));
        break;
    case HintNowPlayingChanged:
        if (sender != this) {
            SendMessage(WM_SETREDRAW, FALSE);
            EnsureVisibleIfSync(Cache().current);
            SendMessage(WM_SETREDRAW, TRUE);
            Invalidate();
            UpdateWindow();
        }
        Settings().playlistView.playlistLatestSelection = Cache().current;
        break;
    case HintStatisticsChanged: {
        auto* change = dynamic_cast<CUpdateViewPlaybackStatisticsChange*>(hintObject);
        if (sender == this || !change) break;
        int index = 0;
        TrackRecord* row = Cache().FindByRowid(change->rowid, index);
        if (!row) break;
        if (change->changed & CUpdateViewPlaybackStatisticsChange::Rating) row->rating = change->rating;
        if (change->changed & CUpdateViewPlaybackStatisticsChange::LastPlayed) row->lastplayed = change->lastplayed;
        if (change->changed & CUpdateViewPlaybackStatisticsChange::PlayCount) row->playcount = change->playcount;
        EnsureVisibleIfSync(index);
        RedrawRow(index);
        break;
    }
    default:
        break;
    }
}

void CLarkspur2006View::Reload(const CUpdateViewPlaylist* hint) { Load(hint, false); }

void CLarkspur2006View::Load(const CUpdateViewPlaylist* hint, bool restore) {
    using Result = CLarkspur2006Doc::PlaylistLoad;
    ScopedWaitCursor wait;
    CLarkspur2006Doc* doc = GetDoc();
    CListCtrl& list = GetListCtrl();
    m_restorePending = false;   // a new play list is newer than the one to restore
    PlaylistSummary summary;
    const Result load = restore ? doc->RestorePlaylist(Cache(), summary) : doc->LoadPlaylist(Cache(), summary);
    // A reading stopped by the user, or asked for inside another, leaves the rows shown.
    if (load == Result::Busy || (load == Result::Stopped && !restore)) return;
    if (load != Result::Loaded) {
        list.SetItemCountEx(0);
        Invalidate();
        UpdateStatusSummary(nullptr);
        return;
    }
    if (hint && hint->sortColumn != SortColumnKeep) {
        m_sortColumn = hint->sortColumn;
        m_sortAscending = hint->sortAscending;
        UpdateSortArrow();
    }
    ChangeRows([this] { SortCache(); });
    EnsureVisibleIfSync(Cache().current);
    Settings().playlistView.playlistLatestSelection = Cache().current;
    UpdateStatusSummary(&summary);
}

void CLarkspur2006View::UpdateStatusSummary(const PlaylistSummary* summary) {
    CFrameWnd* frame = GetParentFrame();
    auto* bar = frame ? dynamic_cast<CStatusBar*>(frame->GetMessageBar()) : nullptr;
    if (!bar || !bar->m_hWnd) return;
    bar->SetPaneText(1, summary ? FormatPlaylistSummary(*summary).c_str() : L"");
}

void CLarkspur2006View::RedrawRow(int row) {
    if (row < 0) return;
    GetListCtrl().RedrawItems(row, row);
    UpdateWindow();
}

void CLarkspur2006View::OnGetDispInfo(NMHDR*, LRESULT* result) { *result = 0; }

void CLarkspur2006View::OnHotTrack(NMHDR*, LRESULT* result) { *result = 0; }

void CLarkspur2006View::OnItemChanged(NMHDR*, LRESULT* result) { *result = 0; }
