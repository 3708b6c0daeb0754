// The main frame's bars: the rebar with the menu bar, four toolbars and the seek bar, the
// status bar, and the band layout kept in "toolbar.ini".
#include "ui/views/MainFrame.h"
#include "app/AppSettings.h"
#include "document/Larkspur2006Doc.h"
#include "framework/CmdUpdate.h"
#include "framework/PopupMenu.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "ui/controls/DrawnText.h"
#include "ui/views/BandLayout.h"
#include <commctrl.h>
#include <algorithm>

namespace {
const wchar_t kRebarSection[] = L"Rebar";
const wchar_t kBandCount[] = L"BandCount";
const wchar_t kLayoutName[] = L"Layout";
// The narrowest search-text box that still shows a typed word.
const int kMinSearchTextWidth = 150;

// Images of list A and list B, in image order.
const UINT kImagesA[] = {IDI_TB_ADD_FILES, IDI_TB_ADD_FOLDER, IDI_TB_IMPORT_DATABASE, IDI_TB_EXPORT_DATABASE,
                         IDI_TB_PROPERTIES, IDI_TB_STOP, IDI_TB_PAUSE, IDI_TB_PLAY, IDI_TB_PREVIOUS, IDI_TB_NEXT,
                         IDI_TB_MODE_SINGLE, IDI_TB_MODE_SINGLE_REPEAT, IDI_TB_MODE_LIST,
                         IDI_TB_MODE_LIST_REPEAT, IDI_TB_MODE_RANDOM};
const UINT kImagesB[] = {IDI_TB_BACK, IDI_TB_FORWARD, IDI_TB_SEARCH};

struct Button {
    UINT id;
    int image;   // for a separator that holds a control: its width
    UINT style;  // TBBS_* beyond a plain button
};
const Button kLibraryButtons[] = {
    {ID_LIBRARY_ADD_FILES, 0, 0}, {ID_LIBRARY_ADD_FOLDER, 1, 0}, {ID_SEPARATOR, 0, TBBS_SEPARATOR},
    {ID_IMPORT_DATABASE, 2, 0},   {ID_EXPORT_DATABASE, 3, 0},    {ID_SEPARATOR, 0, TBBS_SEPARATOR},
    {ID_LIBRARY_PROPERTIES, 4, 0}};
const Button kPlaybackButtons[] = {
    {ID_STOP, 5, 0}, {ID_PAUSE, 6, 0}, {ID_PLAY, 7, 0}, {ID_PREVIOUS, 8, 0}, {ID_NEXT, 9, 0},
    {ID_SEPARATOR, 0, TBBS_SEPARATOR}, {ID_PLAYMODE_CYCLE, 10, TBBS_DROPDOWN},
    {ID_PLAYMODE_SINGLE, 10, 0}, {ID_PLAYMODE_SINGLE_REPEAT, 11, 0}, {ID_PLAYMODE_LIST, 12, 0},
    {ID_PLAYMODE_LIST_REPEAT, 13, 0}, {ID_PLAYMODE_RANDOM, 14, 0}};
const int kQueryTitleWidth = 100;
const Button kNavigateButtons[] = {
    {ID_QUERY_BACK, 0, TBBS_DROPDOWN | TBBS_AUTOSIZE}, {ID_QUERY_FORWARD, 1, TBBS_DROPDOWN | TBBS_AUTOSIZE},
    {IDC_QUERY_TITLE, kQueryTitleWidth, TBBS_SEPARATOR}};
const Button kSearchButtons[] = {
    {IDC_SEARCH_MODE, 100, TBBS_SEPARATOR}, {IDC_SEARCH_TEXT, 100, TBBS_SEPARATOR},
    {ID_QUICK_SEARCH, 2, TBBS_DROPDOWN}};

// The repeat-mode button's place in the playback toolbar, and its image by play mode: the
// images of the hidden buttons single, single repeat, list repeat, list and random.
const int kRepeatModeIndex = 6;
const int kRepeatModeImages[] = {10, 11, 13, 12, 14};

// Submenus of menu 128 that open from the toolbars: View > toolbars, Playback > play modes.
const int kViewMenu = 1, kToolbarsSubmenu = 0;
const int kPlaybackMenu = 3, kPlayModeSubmenu = 6;

void LoadImages(CImageList& list, const UINT* ids, size_t count) {
    list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 30);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (size_t i = 0; i < count; ++i) {
        HICON icon = static_cast<HICON>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(ids[i]), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        list.Add(icon);
        if (icon) ::DestroyIcon(icon);
    }
}

template <size_t N>
void SetButtons(CToolBar& bar, const Button (&buttons)[N]) {
    UINT ids[N];
    for (size_t i = 0; i < N; ++i) ids[i] = (buttons[i].style & TBBS_SEPARATOR) ? ID_SEPARATOR : buttons[i].id;
    bar.SetButtons(ids, static_cast<int>(N));
    for (size_t i = 0; i < N; ++i) {
        const Button& b = buttons[i];
        if (b.id != ID_SEPARATOR) bar.SetButtonInfo(static_cast<int>(i), b.id, b.style, b.image);
    }
}
}  // namespace

bool CMainFrame::CreateBars() {
    m_wndReBar.Create(this, RBS_BANDBORDERS,
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP, IDW_REBAR);

    m_wndStatusBar.SetSettings(&Settings());
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, IDW_STATUS_BAR)) return false;
    const UINT indicators[] = {ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR};
    m_wndStatusBar.SetIndicators(indicators, 5);
    m_wndStatusBar.SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 0);
    m_wndStatusBar.SetPaneInfo(1, ID_SEPARATOR, SBPS_OWNERDRAW, 500);
    m_wndStatusBar.SetPaneInfo(2, ID_SEPARATOR, SBPS_OWNERDRAW, 18);
    m_wndStatusBar.SetPaneInfo(3, ID_SEPARATOR, SBPS_NOBORDERS, 100);
    m_wndStatusBar.SetPaneInfo(4, ID_SEPARATOR, SBPS_NOBORDERS | SBPS_OWNERDRAW, 30);
    m_wndStatusBar.PlaceVolumeSlider();

    m_wndMenuBar.CreateBar(this);
    m_wndMenuBar.LoadMenuBar(IDR_MAINFRAME);

    const DWORD barStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_TOOLTIPS | CBRS_FLYBY;
    m_wndToolBarLibrary.CreateEx(this, TBSTYLE_FLAT, barStyle, RECT{0, 0, 0, 0}, IDW_LIBRARY_BAR);
    m_wndToolBarPlayback.CreateEx(this, TBSTYLE_FLAT, barStyle, RECT{0, 0, 0, 0}, IDW_PLAYBACK_BAR);
    m_wndToolBarNavigate.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_LIST, barStyle, RECT{0, 0, 0, 0}, IDW_NAVIGATE_BAR);
    m_wndToolBarSearch.CreateEx(this, TBSTYLE_FLAT, barStyle, RECT{0, 0, 0, 0}, IDW_SEARCH_BAR);
    m_wndSliderBar.Create(this, IDD_SEEKBAR, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_TOOLTIPS, IDW_SEEK_BAR);
    for (CToolBar* bar : std::initializer_list<CToolBar*>{&m_wndToolBarPlayback, &m_wndToolBarNavigate, &m_wndToolBarSearch})
        bar->GetToolBarCtrl().SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS);

    LoadImages(m_imageListA, kImagesA, sizeof kImagesA / sizeof kImagesA[0]);
    LoadImages(m_imageListB, kImagesB, sizeof kImagesB / sizeof kImagesB[0]);
    m_wndToolBarLibrary.GetToolBarCtrl().SetImageList(&m_imageListA);
    m_wndToolBarPlayback.GetToolBarCtrl().SetImageList(&m_imageListA);
    m_wndToolBarNavigate.GetToolBarCtrl().SetImageList(&m_imageListB);
    m_wndToolBarSearch.GetToolBarCtrl().SetImageList(&m_imageListB);

    SetButtons(m_wndToolBarLibrary, kLibraryButtons);
    SetButtons(m_wndToolBarPlayback, kPlaybackButtons);
    SetButtons(m_wndToolBarNavigate, kNavigateButtons);
    SetButtons(m_wndToolBarSearch, kSearchButtons);
    for (UINT id = ID_PLAYMODE_SINGLE; id <= ID_PLAYMODE_RANDOM; ++id)
        m_wndToolBarPlayback.GetToolBarCtrl().HideButton(static_cast<int>(id), TRUE);
    SetRepeatModeButton(Settings().bass.repeatMode);
    CreateToolBarControls();
    return true;
}

namespace {
// The search ways of the search-mode combo's items, in order.
const int kSearchWays[] = {127, 1, 2, 4, 8, 16, 32, 64, 128};

// The rectangle of a toolbar button that holds a control, inset by 1 pixel, with `extra`
// pixels added below for a combo box's list.
RECT ControlRect(CToolBar& bar, UINT id, int extra) {
    RECT r{};
    bar.GetItemRect(bar.CommandToIndex(id), &r);
    ::InflateRect(&r, -1, -1);
    r.bottom += extra;
    return r;
}
}  // namespace

void CMainFrame::CreateToolBarControls() {
    m_wndQueryTitle.Create(L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, ControlRect(m_wndToolBarNavigate, IDC_QUERY_TITLE, 0),
                           &m_wndToolBarNavigate, IDC_QUERY_TITLE);
    m_wndToolBarNavigate.SetQueryTitleWindow(m_wndQueryTitle.m_hWnd);

    const int kListHeight = 200;
    m_wndSearchMode.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                           ControlRect(m_wndToolBarSearch, IDC_SEARCH_MODE, kListHeight), &m_wndToolBarSearch,
                           IDC_SEARCH_MODE);
    m_wndSearchText.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_HASSTRINGS,
                           ControlRect(m_wndToolBarSearch, IDC_SEARCH_TEXT, kListHeight), &m_wndToolBarSearch,
                           IDC_SEARCH_TEXT);
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    m_wndSearchMode.SetFont(font);
    m_wndSearchText.SetFont(font);
    if (HWND edit = ::ChildWindowFromPoint(m_wndSearchText.m_hWnd, POINT{5, 5}); edit && edit != m_wndSearchText.m_hWnd) {
        ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        m_wndSearchEdit.SubclassWindow(edit);
        m_wndSearchEdit.SetNotifyWnd(m_hWnd);
        m_wndSearchEdit.SetHintFont(font);
        m_wndSearchEdit.RegisterDropTarget();
    }

    m_wndToolBarSearch.InitSearchModes(m_wndSearchText.m_hWnd, m_wndSearchMode.m_hWnd);
    for (int way : kSearchWays) {
        const int index = m_wndSearchMode.AddString(L"");
        m_wndSearchMode.SetItemData(index, static_cast<DWORD_PTR>(way));
    }
    m_wndSearchMode.SetCurSel(0);
    for (int i = 0; i < m_wndSearchMode.GetCount(); ++i)
        if (static_cast<int>(m_wndSearchMode.GetItemData(i)) == Settings().search.searchWay) m_wndSearchMode.SetCurSel(i);

    // The settings keep the recent words oldest first; the list shows the newest first.
    const std::vector<std::wstring>& recent = Settings().search.searchRecent;
    for (auto it = recent.rbegin(); it != recent.rend(); ++it) m_wndSearchText.AddString(it->c_str());
    FitSearchDropWidth(true);
}

void CMainFrame::FitSearchDropWidth(bool atCreation) {
    HDC dc = ::GetDC(m_wndSearchText.m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, m_wndSearchText.GetFont());
    int widest = 0;
    for (int i = 0; i < m_wndSearchText.GetCount(); ++i) {
        const std::wstring text = m_wndSearchText.GetLBText(i);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        if (size.cx > widest) widest = size.cx;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_wndSearchText.m_hWnd, dc);
    const int current = static_cast<int>(m_wndSearchText.SendMessage(CB_GETDROPPEDWIDTH));
    // The 4 pixels are added once, at creation; later fills only make room for a wider word,
    // so searching again and again never widens the list.
    const int width = atCreation ? std::max(current, widest) + 4 : std::max(current, widest + 4);
    if (width != current) m_wndSearchText.SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width));
}

int CMainFrame::SearchTextLeastWidth() {
    HWND edit = m_wndSearchEdit.m_hWnd;
    if (!edit || !m_wndSearchText.m_hWnd) return kMinSearchTextWidth;
    // What the combo takes beside its edit field (edges, the drop button) stays the same at
    // every width; the hint is drawn 2 pixels in from each side of the field.
    RECT combo{}, field{};
    ::GetWindowRect(m_wndSearchText.m_hWnd, &combo);
    ::GetClientRect(edit, &field);
    HDC dc = ::GetDC(edit);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    const int hint = DrawnTextWidth(dc, CEditEx::HintText());
    ::SelectObject(dc, old);
    ::ReleaseDC(edit, dc);
    const int beside = static_cast<int>((combo.right - combo.left) - field.right);
    return std::max(kMinSearchTextWidth, hint + 4 + std::max(beside, 0));
}

void CMainFrame::StoreSearchWay() {
    const int selected = m_wndSearchMode.m_hWnd ? m_wndSearchMode.GetCurSel() : -1;
    if (selected >= 0) Settings().search.searchWay = static_cast<int>(m_wndSearchMode.GetItemData(selected));
}

void CMainFrame::SetVolumeSlider(int volume) {
    if (m_wndStatusBar.m_hWnd) m_wndStatusBar.SetVolumeSlider(volume);
}

void CMainFrame::SetRepeatModeButton(int mode) {
    if (!m_wndToolBarPlayback.m_hWnd) return;
    if (mode < 0 || mode > 4) mode = 0;
    const UINT style = m_wndToolBarPlayback.GetButtonStyle(kRepeatModeIndex);
    m_wndToolBarPlayback.SetButtonInfo(kRepeatModeIndex, ID_PLAYMODE_CYCLE, style, kRepeatModeImages[mode]);
}

// ---- Band layout ------------------------------------------------------------------------

CControlBar* CMainFrame::BandBar(UINT bandId) {
    switch (bandId) {
    case BandMenuBar: return &m_wndMenuBar;
    case BandNavigate: return &m_wndToolBarNavigate;
    case BandSearch: return &m_wndToolBarSearch;
    case BandLibrary: return &m_wndToolBarLibrary;
    case BandPlayback: return &m_wndToolBarPlayback;
    case BandSeek: return &m_wndSliderBar;
    default: return nullptr;
    }
}

void CMainFrame::LoadBarLayout() {
    LoadBarState(kLayoutName);
    CWinApp* app = AfxGetApp();
    const int count = app ? static_cast<int>(app->GetProfileInt(kRebarSection, kBandCount, -1)) : -1;
    const BandPlan plan = PlanBandLayout(count, [app](int index, std::vector<BYTE>& record) {
        return app && app->GetProfileBinary(kRebarSection, BandEntryName(index).c_str(), record);
    });
    CReBarCtrl& rebar = m_wndReBar.GetReBarCtrl();
    for (const StoredBand& band : plan.bands) {
        CControlBar* bar = BandBar(band.id);
        if (!bar || !bar->m_hWnd || !m_wndReBar.AddBar(bar, nullptr, nullptr, kDefaultBandStyle)) continue;
        const UINT index = rebar.GetBandCount() - 1;
        REBARBANDINFOW info;
        CReBarCtrl::PrepareBandInfo(info, RBBIM_ID);
        info.wID = band.id;
        rebar.SetBandInfo(index, &info);
    }
    // A stored record gives its style and width to the band with its id, nothing else.
    if (plan.stored) {
        for (const StoredBand& band : plan.bands) {
            const int index = rebar.IDToIndex(band.id);
            if (index < 0 || band.defaulted) continue;
            REBARBANDINFOW info;
            CReBarCtrl::PrepareBandInfo(info, RBBIM_STYLE | RBBIM_SIZE);
            info.fStyle = band.style;
            info.cx = band.width;
            rebar.SetBandInfo(static_cast<UINT>(index), &info);
            if (CControlBar* bar = BandBar(band.id); bar && bar->m_hWnd)
                ::ShowWindow(bar->m_hWnd, (band.style & RBBS_HIDDEN) ? SW_HIDE : SW_SHOWNA);
        }
    }
    SetBandMinimum(BandNavigate, 150, -1);
    // The search band holds the mode combo, the search button and a text box that shows what
    // is typed and its hint; a stored band narrower than that is widened to it.
    const int searchWidth = m_wndToolBarSearch.WidthForText(SearchTextLeastWidth());
    SetBandMinimum(BandSearch, std::max(searchWidth, 150), -1);
    // On a first start the navigate and search bands ask for the desktop's width, so that
    // their rows give the query title and the search text what the rows' other bands leave.
    if (!plan.stored) {
        SetBandWidth(BandNavigate, static_cast<UINT>(::GetSystemMetrics(SM_CXVIRTUALSCREEN)));
        SetBandWidth(BandSearch, static_cast<UINT>(::GetSystemMetrics(SM_CXVIRTUALSCREEN)));
    }
    WidenBandToMinimum(BandSearch);
    SetBandMinimum(BandSeek, -1, 31);
    ApplyToolbarLock();
    RecalcLayout();
}

void CMainFrame::SetBandMinimum(UINT bandId, int width, int height) {
    CReBarCtrl& rebar = m_wndReBar.GetReBarCtrl();
    const int index = rebar.IDToIndex(bandId);
    if (index < 0) return;
    REBARBANDINFOW info;
    CReBarCtrl::PrepareBandInfo(info, RBBIM_CHILDSIZE);
    if (!rebar.GetBandInfo(static_cast<UINT>(index), &info)) return;
    if (width >= 0) info.cxMinChild = static_cast<UINT>(width);
    if (height >= 0) info.cyMinChild = static_cast<UINT>(height);
    rebar.SetBandInfo(static_cast<UINT>(index), &info);
}

void CMainFrame::SetBandWidth(UINT bandId, UINT width) {
    CReBarCtrl& rebar = m_wndReBar.GetReBarCtrl();
    const int index = rebar.IDToIndex(bandId);
    if (index < 0) return;
    REBARBANDINFOW info;
    CReBarCtrl::PrepareBandInfo(info, RBBIM_SIZE);
    info.cx = width;
    rebar.SetBandInfo(static_cast<UINT>(index), &info);
}

UINT CMainFrame::BandLengthFor(UINT bandId, UINT childWidth) {
    CReBarCtrl& rebar = m_wndReBar.GetReBarCtrl();
    const int index = rebar.IDToIndex(bandId);
    RECT borders{};
    if (index >= 0) rebar.SendMessage(RB_GETBANDBORDERS, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&borders));
    return childWidth + static_cast<UINT>(borders.left + borders.right);
}

void CMainFrame::WidenBandToMinimum(UINT bandId) {
    CReBarCtrl& rebar = m_wndReBar.GetReBarCtrl();
    const int index = rebar.IDToIndex(bandId);
    if (index < 0) return;
    REBARBANDINFOW info;
    CReBarCtrl::PrepareBandInfo(info, RBBIM_CHILDSIZE | RBBIM_SIZE);
    if (!rebar.GetBandInfo(static_cast<UINT>(index), &info)) return;
    const UINT least = BandLengthFor(bandId, info.cxMinChild);
    if (info.cx < least) SetBandWidth(bandId, least);
}

void CMainFrame::ApplyToolbarLock() {
    if (!m_wndReBar.m_hWnd) return;
    CReBarCtrl& rebar = m_wndReBar.GetReBarCtrl();
    const bool locked = Settings().mainWindowOptions.noGripper;
    for (UINT i = 0; i < rebar.GetBandCount(); ++i) {
        REBARBANDINFOW info;
        CReBarCtrl::PrepareBandInfo(info, RBBIM_STYLE);
        if (!rebar.GetBandInfo(i, &info)) continue;
        info.fStyle = locked ? (info.fStyle | RBBS_NOGRIPPER) : (info.fStyle & ~RBBS_NOGRIPPER);
        rebar.SetBandInfo(i, &info);
    }
}

bool CMainFrame::SaveBarLayout() {
    CWinApp* app = AfxGetApp();
    if (!app || !m_wndReBar.m_hWnd) return true;
    app->BeginProfileWrite();
    SaveBarState(kLayoutName);
    CReBarCtrl& rebar = m_wndReBar.GetReBarCtrl();
    const UINT count = rebar.GetBandCount();
    app->WriteProfileInt(kRebarSection, kBandCount, static_cast<int>(count));
    for (UINT i = 0; i < count; ++i) {
        REBARBANDINFOW info;
        CReBarCtrl::PrepareBandInfo(info, RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID);
        if (!rebar.GetBandInfo(i, &info)) continue;
        const std::vector<BYTE> record = EncodeBandRecord({info.fStyle, info.cx, info.wID});
        app->WriteProfileBinary(kRebarSection, BandEntryName(static_cast<int>(i)).c_str(), record.data(),
                                static_cast<UINT>(record.size()));
    }
    return app->EndProfileWrite();
}

// ---- Showing and hiding bars -------------------------------------------------------------

bool CMainFrame::IsBarShown(CControlBar& bar) const { return bar.m_hWnd && bar.IsVisible(); }

void CMainFrame::ShowBar(CControlBar& bar, bool show) {
    if (bar.m_hWnd) ShowControlBar(&bar, show, FALSE);
}

void CMainFrame::ShowMenuBar(bool show) {
    ShowBar(m_wndMenuBar, show);
    CheckSystemMenuItem();
}

void CMainFrame::CheckSystemMenuItem() {
    if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE))
        ::CheckMenuItem(system, ID_VIEW_MENU_BAR, MF_BYCOMMAND | (IsBarShown(m_wndMenuBar) ? MF_CHECKED : MF_UNCHECKED));
}

void CMainFrame::OnViewPlaybackBar() { ShowBar(m_wndToolBarPlayback, !IsBarShown(m_wndToolBarPlayback)); }
void CMainFrame::OnViewSeekBar() { ShowBar(m_wndSliderBar, !IsBarShown(m_wndSliderBar)); }
void CMainFrame::OnViewNavigateBar() { ShowBar(m_wndToolBarNavigate, !IsBarShown(m_wndToolBarNavigate)); }
void CMainFrame::OnViewSearchBar() { ShowBar(m_wndToolBarSearch, !IsBarShown(m_wndToolBarSearch)); }
void CMainFrame::OnViewMenuBar() { ShowMenuBar(!IsBarShown(m_wndMenuBar)); }
void CMainFrame::OnUpdateViewPlaybackBar(CCmdUI* ui) { ui->SetCheck(IsBarShown(m_wndToolBarPlayback)); }
void CMainFrame::OnUpdateViewSeekBar(CCmdUI* ui) { ui->SetCheck(IsBarShown(m_wndSliderBar)); }
void CMainFrame::OnUpdateViewNavigateBar(CCmdUI* ui) { ui->SetCheck(IsBarShown(m_wndToolBarNavigate)); }
void CMainFrame::OnUpdateViewSearchBar(CCmdUI* ui) { ui->SetCheck(IsBarShown(m_wndToolBarSearch)); }
void CMainFrame::OnUpdateViewMenuBar(CCmdUI* ui) { ui->SetCheck(IsBarShown(m_wndMenuBar)); }

void CMainFrame::OnLockToolbars() {
    bool& locked = Settings().mainWindowOptions.noGripper;
    locked = !locked;
    ApplyToolbarLock();
    if (m_wndReBar.m_hWnd)
        ::RedrawWindow(m_wndReBar.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CMainFrame::OnUpdateLockToolbars(CCmdUI* ui) { ui->SetCheck(Settings().mainWindowOptions.noGripper ? 1 : 0); }

// ---- Menus that open from the toolbars ----------------------------------------------------

void CMainFrame::TrackMenuBarSubmenu(int topLevel, int submenu, POINT at, UINT flags) {
    HMENU menu = m_wndMenuBar.GetMenu();
    HMENU top = menu ? ::GetSubMenu(menu, topLevel) : nullptr;
    HMENU popup = top ? ::GetSubMenu(top, submenu) : nullptr;
    if (popup) AfxTrackPopupMenu(popup, flags | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, m_hWnd);
}

BOOL CMainFrame::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
    if (nm && nm->code == TBN_DROPDOWN) {
        const auto* tb = reinterpret_cast<const NMTOOLBARW*>(lParam);
        if (tb->iItem == ID_PLAYMODE_CYCLE) {
            RECT r = tb->rcButton;
            ::MapWindowPoints(nm->hwndFrom, nullptr, reinterpret_cast<POINT*>(&r), 2);
            TrackMenuBarSubmenu(kPlaybackMenu, kPlayModeSubmenu, POINT{r.left, r.bottom}, 0);
            *result = TBDDRET_DEFAULT;
            return TRUE;
        }
        if (tb->iItem == ID_QUERY_BACK || tb->iItem == ID_QUERY_FORWARD || tb->iItem == ID_QUICK_SEARCH) {
            if (tb->iItem == ID_QUICK_SEARCH) ShowSearchOptions(*tb);
            else ShowHistoryMenu(*tb, tb->iItem == ID_QUERY_BACK);
            *result = TBDDRET_DEFAULT;
            return TRUE;
        }
    }
    if (nm && nm->code == NM_RCLICK &&
        (nm->hwndFrom == m_wndToolBarLibrary.m_hWnd || nm->hwndFrom == m_wndToolBarNavigate.m_hWnd ||
         nm->hwndFrom == m_wndToolBarPlayback.m_hWnd || nm->hwndFrom == m_wndToolBarSearch.m_hWnd)) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        TrackMenuBarSubmenu(kViewMenu, kToolbarsSubmenu, cursor, 0);
        *result = TRUE;
        return TRUE;
    }
    return CFrameWnd::OnNotify(wParam, lParam, result);
}

// ---- The seek bar ------------------------------------------------------------------------

void CMainFrame::OnToggleTimeDisplay() { m_wndSliderBar.ToggleTimeDisplay(); }

void CMainFrame::OnPlayStateChanged() {
    CLarkspur2006Doc* doc = GetDocument();
    if (doc && m_wndSliderBar.m_hWnd) m_wndSliderBar.OnPlayStateChanged(doc->GetPlayerStatus());
}

bool CMainFrame::GetSeekBarListener(PlayerStatusCallback& callback, void*& user) {
    if (!m_wndSliderBar.m_hWnd) return false;
    callback = &CSliderBar::OnPlayerStatus;
    user = &m_wndSliderBar;
    return true;
}
