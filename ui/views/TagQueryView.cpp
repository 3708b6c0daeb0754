#include "ui/views/TagQueryView.h"
#include "app/ColorUtil.h"
#include "app/ViewHints.h"
#include "document/Larkspur2006Doc.h"
#include "document/SQLite.h"
#include "document/WaitCursor.h"
#include "resources/resource.h"
#include "ui/controls/OdMenu.h"
#include "ui/views/GroupValuesQuery.h"
#include <sqlite3.h>
#include <algorithm>

BEGIN_MESSAGE_MAP(CHeaderSubclassGroup, CWnd)
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

void CHeaderSubclassGroup::OnRButtonUp(UINT, POINT point) {
    ClientToScreen(&point);
    if (m_view) m_view->ShowHeaderMenu(point);
}

BEGIN_MESSAGE_MAP(CTagQueryView, CListView)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_KEYDOWN()
    ON_WM_DRAWITEM_REFLECT()
    ON_NOTIFY_REFLECT(NM_CLICK, &CTagQueryView::OnClick)
    ON_NOTIFY_REFLECT(NM_DBLCLK, &CTagQueryView::OnDblClick)
    ON_NOTIFY_REFLECT(NM_RCLICK, &CTagQueryView::OnRClick)
    ON_NOTIFY_REFLECT(LVN_KEYDOWN, &CTagQueryView::OnListKeyDown)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, &CTagQueryView::OnColumnClick)
    ON_NOTIFY_REFLECT(LVN_GETINFOTIPW, &CTagQueryView::OnGetInfoTip)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, &CTagQueryView::OnItemChanged)
    ON_NOTIFY_REFLECT(LVN_ODSTATECHANGED, &CTagQueryView::OnOdStateChanged)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOW, &CTagQueryView::OnNothing)
    ON_NOTIFY_RANGE(HDN_DIVIDERDBLCLICKW, 0, 0xFFFFFFFFu, &CTagQueryView::OnDividerDblClick)
END_MESSAGE_MAP()

CTagQueryView::CTagQueryView() = default;

CTagQueryView::~CTagQueryView() {
    if (m_font) ::DeleteObject(m_font);
    if (m_boldFont) ::DeleteObject(m_boldFont);
    if (m_ruleDC) {
        ::SelectObject(m_ruleDC, m_ruleOld);
        ::DeleteDC(m_ruleDC);
    }
    if (m_ruleBitmap) ::DeleteObject(m_ruleBitmap);
    if (m_menu) ::DestroyMenu(m_menu);
}

CLarkspur2006Doc* CTagQueryView::GetDocument() const { return static_cast<CLarkspur2006Doc*>(m_pDocument); }

CAppSettings& CTagQueryView::Settings() const { return GetDocument()->GetSettings(); }

BOOL CTagQueryView::PreCreateWindow(CREATESTRUCTW& cs) {
    // The row-height image list belongs to the view, which destroys it: the control only uses it.
    cs.style |= LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
    return CListView::PreCreateWindow(cs);
}

// Menus shown by the view are owner-drawn like every menu of the main window.
BOOL CTagQueryView::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (OdMenuOnMessage(m_hWnd, msg, wParam, lParam, result)) return TRUE;
    return CListView::OnWndMsg(msg, wParam, lParam, result);
}

void CTagQueryView::OnInitialUpdate() {
    CListView::OnInitialUpdate();
    CListCtrl& list = GetListCtrl();
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
    ApplySettings();
    m_icons.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2);
    const HINSTANCE inst = ::GetModuleHandleW(nullptr);
    for (UINT id : {IDI_GROUP_COLLAPSED, IDI_GROUP_EXPANDED}) {
        HICON icon = static_cast<HICON>(::LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
        m_icons.Add(icon);
        if (icon) ::DestroyIcon(icon);
    }
    m_sortColumn = 0;
    m_sortAscending = true;
    MarkSortColumn();
    const std::wstring& stored = Settings().groupView.tagKey;
    SetTagKey(IsListColumnKey(stored) ? stored : std::wstring(L"tagAlbum"));
    Refresh();
    if (HWND header = list.GetHeaderCtrl()) {
        m_header.m_view = this;
        m_header.SubclassWindow(header);
    }
}

void CTagQueryView::OnUpdate(CView*, LPARAM hint, CObject* hintObject) {
    if (!m_hWnd) return;
    switch (hint) {
    case HintSettingsChanged:
        ApplySettings();
        break;
    case HintLibraryChanged: {
        auto* library = dynamic_cast<CUpdateViewLibrary*>(hintObject);
        if (library && library->clearLists) {
            m_visible.clear();
            GetListCtrl().SetItemCountEx(0);
            m_rows.clear();
        }
        Refresh();
        break;
    }
    case HintGroupViewRefresh:
        Refresh();
        break;
    case HintGroupTagChosen: {
        auto* chosen = dynamic_cast<CUpdateViewPlaylist*>(hintObject);
        if (chosen && IsListColumnKey(chosen->tagKey)) {
            SetTagKey(chosen->tagKey);
            Refresh();
        }
        break;
    }
    default:
        break;
    }
}

void CTagQueryView::OnDestroy() {
    if (m_pDocument && IsListColumnKey(m_key)) Settings().groupView.tagKey = m_key;
    if (m_header.m_hWnd) m_header.UnsubclassWindow();
    Default(WM_DESTROY, 0, 0);
}

void CTagQueryView::SetTagKey(const std::wstring& key) {
    if (key.empty() || !IsListColumnKey(key)) return;
    m_key = key;
    m_caption = GroupKeyCaption(key);
}

// ---- Rows ------------------------------------------------------------------------------

void CTagQueryView::Refresh() {
    if (!m_hWnd || !GetDocument()) return;
    CListCtrl& list = GetListCtrl();
    list.SendMessage(WM_SETREDRAW, FALSE);
    m_visible.clear();
    list.SetItemCountEx(0);
    m_lastValueItem = -1;
    m_rows.clear();

    const auto& view = Settings().groupView;
    std::vector<GroupValue> values;
    int total = 0;
    ReadGroupValues(GetDocument()->GetDatabase(), m_key, view.averageIgnoreRating00, values, total);

    if (view.groupMode) {
        GroupThresholds t{view.groupThresholdAlphabet, view.groupThresholdKana, view.groupThresholdKanji};
        BuildIndexGroupRows(std::move(values), total, m_caption, t, m_rows, m_index);
    } else {
        BuildFlatGroupRows(std::move(values), total, m_rows, m_index);
    }
    SortRows();
    BuildIndexMenu();
    RebuildVisible();
    list.SetItemCountEx(static_cast<int>(m_visible.size()));
    if (!m_visible.empty()) list.EnsureVisible(0, FALSE);
    list.SendMessage(WM_SETREDRAW, TRUE);
    list.RedrawWindow();
}

void CTagQueryView::SortRows() {
    const bool numeric = IsNumericGroupKey(m_key);
    const bool grouped = Settings().groupView.groupMode;
    if (m_sortColumn == 0 && m_sortAscending) {
        if (numeric) SortGroupRows(m_rows, grouped, 0, true, true, Settings().groupView.headerMode);
    } else {
        SortGroupRows(m_rows, grouped, m_sortColumn, m_sortAscending, false, Settings().groupView.headerMode);
    }
}

void CTagQueryView::RebuildVisible() {
    m_visible.clear();
    for (size_t i = 0; i < m_rows.size(); ++i)
        // A header's flag tells whether its group is open; the header itself always shows.
        if (m_rows[i].shown || m_rows[i].kind == GroupItemHeader) m_visible.push_back(static_cast<int>(i));
}

int CTagQueryView::RowOfItem(int item) const {
    return item >= 0 && item < static_cast<int>(m_visible.size()) ? m_visible[item] : -1;
}

int CTagQueryView::ItemOfRow(int row) const {
    auto found = std::lower_bound(m_visible.begin(), m_visible.end(), row);
    return found != m_visible.end() && *found == row ? static_cast<int>(found - m_visible.begin()) : -1;
}

void CTagQueryView::SortByColumn(int column) {
    if (column == m_sortColumn)
        m_sortAscending = !m_sortAscending;
    else
        m_sortColumn = column;
    MarkSortColumn();
    SortGroupRows(m_rows, Settings().groupView.groupMode, m_sortColumn, m_sortAscending, false,
                  Settings().groupView.headerMode);
    BuildIndexMenu();
    RebuildVisible();
    GetListCtrl().Invalidate(FALSE);
}

void CTagQueryView::MarkSortColumn() {
    HWND header = GetListCtrl().GetHeaderCtrl();
    if (!header) return;
    const int count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        ::SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == m_sortColumn) item.fmt |= m_sortAscending ? HDF_SORTUP : HDF_SORTDOWN;
        ::SendMessageW(header, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

// ---- Settings and layout ---------------------------------------------------------------

void CTagQueryView::ApplySettings() {
    const auto& view = Settings().groupView;
    CListCtrl& list = GetListCtrl();
    if (m_font) ::DeleteObject(m_font);
    if (m_boldFont) ::DeleteObject(m_boldFont);
    HDC screen = ::GetDC(nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(view.fontSize > 0 ? view.fontSize : 9, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, view.fontName.c_str(), LF_FACESIZE - 1);
    m_font = ::CreateFontIndirectW(&lf);
    lf.lfWeight = FW_BOLD;
    m_boldFont = ::CreateFontIndirectW(&lf);
    list.SetFont(m_font, FALSE);
    list.SetBkColor(view.colorBackground);
    list.SetTextBkColor(view.colorBackground);
    list.SetTextColor(view.colorText);

    // The rule: a line at y 5 shading from "Color.Border1" at the left to "Color.Border2".
    if (!m_ruleDC) {
        HDC dc = ::GetDC(m_hWnd);
        m_ruleDC = ::CreateCompatibleDC(dc);
        m_ruleBitmap = ::CreateCompatibleBitmap(dc, 300, 10);
        ::ReleaseDC(m_hWnd, dc);
        m_ruleOld = ::SelectObject(m_ruleDC, m_ruleBitmap);
    }
    RECT all{0, 0, 300, 10};
    HBRUSH background = ::CreateSolidBrush(view.colorBackground);
    ::FillRect(m_ruleDC, &all, background);
    ::DeleteObject(background);
    const int r1 = GetRValue(view.colorBorder1), g1 = GetGValue(view.colorBorder1), b1 = GetBValue(view.colorBorder1);
    const int r2 = GetRValue(view.colorBorder2), g2 = GetGValue(view.colorBorder2), b2 = GetBValue(view.colorBorder2);
    for (int x = 0; x < 300; ++x)
        ::SetPixelV(m_ruleDC, x, 5, RGB(r1 + (r2 - r1) * x / 300, g1 + (g2 - g1) * x / 300, b1 + (b2 - b1) * x / 300));

    m_graph = view.colorGraph;
    const DWORD hls = RGBToHLS(m_graph);
    const double factors[6] = {1.0, 0.96, 0.92, 0.88, 0.84, 0.80};
    for (int i = 0; i < 6; ++i) {
        const int lightness = static_cast<int>(((hls >> 8) & 0xFF) * factors[i]);
        m_shades[i] = HLSToRGB((hls & 0xFF00FF) | (static_cast<DWORD>(lightness) << 8));
    }
    Layout();
    if (HWND header = list.GetHeaderCtrl()) ::InvalidateRect(header, nullptr, TRUE);
}

void CTagQueryView::SetHeaderMode(int mode) {
    Settings().groupView.headerMode = mode;
    Layout();
    GetListCtrl().Invalidate(FALSE);
}

void CTagQueryView::Layout() {
    CListCtrl& list = GetListCtrl();
    const auto& view = Settings().groupView;
    const int height = view.headerMode == 3 ? 50 : std::max(16, (view.fontSize + 17) / 16 * 16);
    m_rowHeight.Set(list.m_hWnd, height, ILC_COLOR32);
    while (list.DeleteColumn(0)) {
    }
    RECT client;
    list.GetClientRect(&client);
    const int width = client.right - client.left;
    if (view.headerMode == 1 || view.headerMode == 2) {
        list.InsertColumn(0, L"名前", LVCFMT_LEFT, std::max(0, width - 40));
        list.InsertColumn(1, L"", LVCFMT_LEFT, 40);
    } else {
        list.InsertColumn(0, L"名前", LVCFMT_LEFT, width);
    }
    MarkSortColumn();
}

void CTagQueryView::OnSize(UINT type, int cx, int cy) {
    Default(WM_SIZE, type, MAKELPARAM(cx, cy));
    // A splitter drag moves the list and changes its height; the rows moved with the window
    // are not all redrawn by the control, so the whole list is.
    if (cy != m_height && m_height >= 0) Invalidate(TRUE);
    m_height = cy;
    if (!m_pDocument) return;
    const int mode = Settings().groupView.headerMode;
    CListCtrl& list = GetListCtrl();
    RECT client;
    list.GetClientRect(&client);
    const int width = client.right - client.left;
    if (mode == 1 || mode == 2) {
        list.SetColumnWidth(0, std::max(0, width - 40));
        list.SetColumnWidth(1, 40);
    } else if (mode == 0) {
        list.SetColumnWidth(0, width);
    }
}

void CTagQueryView::OnNothing(NMHDR*, LRESULT* result) { *result = 0; }

void CTagQueryView::OnDividerDblClick(UINT, NMHDR*, LRESULT* result) { *result = 0; }
