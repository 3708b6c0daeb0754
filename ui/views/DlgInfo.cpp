#include "ui/views/DlgInfo.h"
#include "app/Placeholders.h"
#include "app/RatingImages.h"
#include "app/ViewHints.h"
#include "document/Larkspur2006Doc.h"
#include "framework/SentMessageWait.h"
#include "resources/resource.h"
#include <sqlite3.h>

UINT CDlgInfo::s_refreshMsg = MsgDlgInfoRefresh();

// What the player's listeners reach the pane through. The document keeps its listeners for
// its whole life, so the link outlives the pane: the pane clears it under NowPlayingLock
// before it goes, and a listener that finds it cleared does nothing.
struct CDlgInfo::ListenerLink {
    CDlgInfo* pane = nullptr;
};

BEGIN_MESSAGE_MAP(CDlgInfo, CDialog)
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CDlgInfo::OnMouseLeave)
    ON_REGISTERED_MESSAGE(CDlgInfo::s_refreshMsg, &CDlgInfo::OnRefresh)
    ON_BN_CLICKED(IDC_INFO_LYRICS, &CDlgInfo::OnToggleLyricsWindow)
    ON_BN_CLICKED(IDC_INFO_JACKET, &CDlgInfo::OnToggleJacketWindow)
END_MESSAGE_MAP()

CDlgInfo::CDlgInfo(CLarkspur2006Doc& doc)
    : CDialog(IDD_INFO), m_doc(&doc), m_settings(doc.GetSettings()), m_data(std::make_shared<NowPlayingData>()),
      m_lyricsWnd(doc.GetSettings()), m_imageWnd(doc.GetSettings()) {
    NowPlayingLock();   // made once, for the life of the process
}

CDlgInfo::~CDlgInfo() {
    if (m_hWnd) DestroyWindow();
    FreeFonts();
    if (m_background) ::DeleteObject(m_background);
    if (m_ratingImages) ImageList_Destroy(m_ratingImages);
    if (m_menu) ::DestroyMenu(m_menu);
}

BOOL CDlgInfo::OnInitDialog() {
    CDialog::OnInitDialog();
    m_menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_INFO_MENU));
    const auto& view = m_settings.informationView;

    // The spectrum's thread: its queue and window exist before anything is posted to it.
    m_spec.reset(new CSpecUIThread(m_hWnd, m_settings, NowPlayingLock(), &m_data->status));
    m_spec->Start(m_settings.thread.prioritySpecDraw, 1000);

    m_jacket.SubclassDlgItem(IDC_INFO_JACKET, this);
    m_lyricsStrip.SubclassDlgItem(IDC_INFO_LYRICS, this);
    ::SetWindowPos(m_jacket.m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    {
        NowPlayingLockGuard lock;
        tagReader::SplitPatternList(view.pictureSearchPattern, m_data->picturePatterns);
        tagReader::SplitPatternList(view.lyricsSearchPattern, m_data->lyricsPatterns);
    }
    RebuildFonts();
    m_background = ::CreateSolidBrush(view.colorBackground);
    CreateRatingImageList(m_ratingImages, m_settings, false);
    m_colors = DeriveInfoPaneColors(view);

    RECT client;
    GetClientRect(&client);
    LayoutControls(client.right, client.bottom);
    m_jacket.CreateBackBuffer(view.colorImageBackground, NowPlayingLock());
    m_jacketBackground = view.colorImageBackground;
    m_statusBoxes = StatusBoxLayout{};
    m_relatedHover = false;

    m_lyricsWnd.Create(this);
    m_imageWnd.SetLock(NowPlayingLock());
    m_imageWnd.Create(this);

    m_workers = std::make_shared<CNowPlayingWorkers>(MakeNowPlayingWorkerSettings(m_settings, m_doc->GetProgramFolder()),
                                                     m_data, static_cast<IJacketBackBuffer*>(this),
                                                     m_doc->GetDatabase().handle());
    m_workers->SetTargets(NowPlayingTargets{m_hWnd, m_lyricsWnd.m_hWnd, m_imageWnd.m_hWnd});
    m_workers->Start(m_settings.thread.priorityImageSearch, m_settings.thread.priorityLyricsSearch,
                     m_settings.thread.priorityLinkSearch);

    m_link = new ListenerLink{this};
    m_doc->RegisterPlayerListener(&CDlgInfo::OnPlayerSpectrum, m_link, m_settings.thread.freqSpec);
    m_doc->RegisterPlayerListener(&CDlgInfo::OnPlayerStatus, m_link, m_settings.thread.freqLyrics);

    HWND list = ::GetDlgItem(m_hWnd, IDC_INFO_LIST);
    ::MoveWindow(list, 0, 0, 0, 0, FALSE);
    ListView_SetBkColor(list, view.colorBackground);
    ListView_SetTextBkColor(list, view.colorBackground);
    ListView_SetTextColor(list, view.colorText);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_INFOTIP |
                                                LVS_EX_UNDERLINEHOT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(L"");
    column.cx = 0;
    ListView_InsertColumn(list, 0, &column);
    ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts[FontNormal]), FALSE);

    m_spec->PostColorTable(SpecColorRecord{view.specHeight, view.colorSpecMax, view.colorSpecMin, view.colorBackground});
    EnableToolTips(TRUE);
    return TRUE;
}

void CDlgInfo::OnDestroy() {
    // The listeners stop reaching the pane first.
    {
        NowPlayingLockGuard lock;
        if (m_link) m_link->pane = nullptr;
    }
    if (m_spec) m_spec->Stop(500);   // and longer if it must: it reads this pane's status copy
    // The workers end before the windows they deliver to. One that cannot end in time (a
    // file read on a share that does not answer) runs on with its own reference to the
    // workers and the data, detached from this pane, and ends with the process.
    if (m_workers) {
        m_workers->Stop(1000);
        m_workers->Detach();
        m_workers.reset();
    }
    if (m_lyricsWnd.m_hWnd) m_lyricsWnd.DestroyWindow();
    if (m_imageWnd.m_hWnd) m_imageWnd.DestroyWindow();
    if (m_jacket.m_hWnd) m_jacket.UnsubclassWindow();
    if (m_lyricsStrip.m_hWnd) m_lyricsStrip.UnsubclassWindow();
    Default(WM_DESTROY, 0, 0);
}

void CDlgInfo::FreeFonts() {
    for (HFONT& f : m_fonts) {
        if (f) ::DeleteObject(f);
        f = nullptr;
    }
}

void CDlgInfo::RebuildFonts() {
    FreeFonts();
    const auto& v = m_settings.informationView;
    HDC dc = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    auto make = [dpi](const std::wstring& face, int points, int weight, bool underline) {
        return ::CreateFontW(-::MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
    };
    m_fonts[FontNormal] = make(v.fontName, v.fontSize, FW_NORMAL, false);
    m_fonts[FontNormalBold] = make(v.fontName, v.fontSize, FW_BOLD, false);
    m_fonts[FontNormalBoldUnderline] = make(v.fontName, v.fontSize, FW_BOLD, true);
    m_fonts[FontBigBold] = make(v.fontNameBig, v.fontSizeBig, FW_BOLD, false);
    m_fonts[FontBigBoldUnderline] = make(v.fontNameBig, v.fontSizeBig, FW_BOLD, true);
    m_fonts[FontSmallBold] = make(v.fontNameSmall, v.fontSizeSmall, FW_BOLD, false);
    m_fonts[FontRelated] = make(v.fontNameRelated, v.fontSizeRelated, FW_NORMAL, false);
}

void CDlgInfo::OnSize(UINT, int cx, int cy) {
    LayoutControls(cx, cy);
    // The status boxes, the related albums and the spectrum sit at the right edge and the jacket
    // follows the height: what was drawn before stands elsewhere now.
    if (m_hWnd) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CDlgInfo::LayoutControls(int width, int height) {
    if (!m_jacket.m_hWnd) return;
    const auto& v = m_settings.informationView;
    m_layout = LayoutInfoPane(width, height, v.specHeight, m_settings.generic.ratingImageWidth,
                              m_settings.generic.ratingImageHeight);
    const RECT& j = m_layout.jacket;
    m_jacket.MoveWindow(j.left, j.top, j.right - j.left, j.bottom - j.top);
    const RECT& l = m_layout.lyricsStrip;
    m_lyricsStrip.MoveWindow(l.left, l.top, l.right - l.left, l.bottom - l.top);
    if (m_spec) {
        const RECT& s = m_layout.spectrum;
        m_spec->PostMove(SpecMoveRecord{s.left, s.top, s.right - s.left, s.bottom - s.top});
    }
    ClearRelatedHotSpots();
    HWND list = ::GetDlgItem(m_hWnd, IDC_INFO_LIST);
    RECT lc;
    ::GetClientRect(list, &lc);
    ListView_SetColumnWidth(list, 0, lc.right);
}

void CDlgInfo::RedrawChild(int id) {
    HWND child = ::GetDlgItem(m_hWnd, id);
    if (child) ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CDlgInfo::OnRefresh(WPARAM part, LPARAM) {
    switch (part) {
    case 0: RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); break;
    case 1: RedrawChild(IDC_INFO_JACKET); break;
    case 2: RedrawChild(IDC_INFO_LYRICS); break;
    default: break;
    }
    return 0;
}

HBRUSH CDlgInfo::OnCtlColor(HDC, CWnd*, UINT) { return m_background; }

// ---- listeners -------------------------------------------------------------------------

void CDlgInfo::OnPlayerSpectrum(const PlayerStatusBlock* status, void* user) {
    auto* link = static_cast<ListenerLink*>(user);
    if (!status || !link) return;
    NowPlayingLockGuard lock;
    CDlgInfo* pane = link->pane;
    if (!pane) return;
    CopyPlayerStatusBlock(*status, pane->m_data->status);
    if (pane->m_spec && pane->m_spec->window()) {
        pane->m_spec->SetStatus(&pane->m_data->status);
        pane->m_spec->PostDraw();
    }
}

void CDlgInfo::OnPlayerStatus(const PlayerStatusBlock* status, void* user) {
    auto* link = static_cast<ListenerLink*>(user);
    if (!status || !link) return;
    NowPlayingLockGuard lock;
    CDlgInfo* pane = link->pane;
    if (!pane) return;
    CopyPlayerStatusBlock(*status, pane->m_data->status);
    if (!pane->m_data->lyricsText.empty()) ::PostMessageW(pane->m_hWnd, s_refreshMsg, 2, 0);
}

// ---- hints -----------------------------------------------------------------------------

void CDlgInfo::FillExtraRows() {
    HWND list = ::GetDlgItem(m_hWnd, IDC_INFO_LIST);
    ListView_DeleteAllItems(list);
    m_extraInfo.clear();
    TrackRecord track;
    {
        NowPlayingLockGuard lock;
        track = m_data->track;
    }
    if (track.file_name.empty()) return;
    auto add = [&](const std::wstring& text, const wchar_t* column) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = ListView_GetItemCount(list);
        item.pszText = const_cast<wchar_t*>(text.c_str());
        const int row = ListView_InsertItem(list, &item);
        if (row >= 0 && column) m_extraInfo[row] = {column, text};
    };
    if (!track.tagGenre.empty()) add(track.tagGenre, L"tagGenre");
    if (!track.tagDate.empty()) add(track.tagDate, L"tagDate");
    if (!track.tagComment.empty()) add(track.tagComment, L"tagComment");
    RECT lc;
    ::GetClientRect(list, &lc);
    ListView_SetColumnWidth(list, 0, lc.right);
}

void CDlgInfo::OnUpdateInfo(CObject* hint, LPARAM code) {
    auto& v = m_settings.informationView;
    switch (code) {
    case HintSettingsChanged: {
        HWND list = m_hWnd ? ::GetDlgItem(m_hWnd, IDC_INFO_LIST) : nullptr;
        if (list) ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        {
            NowPlayingLockGuard lock;
            tagReader::SplitPatternList(v.pictureSearchPattern, m_data->picturePatterns);
            tagReader::SplitPatternList(v.lyricsSearchPattern, m_data->lyricsPatterns);
        }
        if (m_workers) m_workers->SetSettings(MakeNowPlayingWorkerSettings(m_settings, m_doc->GetProgramFolder()));
        RebuildFonts();
        if (m_background) ::DeleteObject(m_background);
        m_background = ::CreateSolidBrush(v.colorBackground);
        if (m_ratingImages) ImageList_Destroy(m_ratingImages);
        m_ratingImages = nullptr;
        CreateRatingImageList(m_ratingImages, m_settings, false);
        if (m_spec) m_spec->PostColorTable(SpecColorRecord{v.specHeight, v.colorSpecMax, v.colorSpecMin, v.colorBackground});
        m_colors = DeriveInfoPaneColors(v);
        if (m_lyricsWnd.m_hWnd) m_lyricsWnd.ApplySettings();
        if (m_imageWnd.m_hWnd) m_imageWnd.ApplyWindowOpacity();
        if (m_hWnd) {
            RECT client;
            GetClientRect(&client);
            LayoutControls(client.right, client.bottom);   // a new spectrum height needs a new bitmap
            if (m_jacket.m_hWnd && v.colorImageBackground != m_jacketBackground) {
                // The jacket shows the new colour now; the cover worker draws the picture
                // on it again.
                m_jacket.CreateBackBuffer(v.colorImageBackground, NowPlayingLock());
                m_jacketBackground = v.colorImageBackground;
                if (m_workers) m_workers->SignalCoverWork();
            }
            RedrawChild(IDC_INFO_JACKET);
            RedrawChild(IDC_INFO_LYRICS);
            if (m_spec) m_spec->PostDraw();
            ListView_SetBkColor(list, v.colorBackground);
            ListView_SetTextBkColor(list, v.colorBackground);
            ListView_SetTextColor(list, v.colorText);
            ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts[FontNormal]), FALSE);
            ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
            ::InvalidateRect(list, nullptr, TRUE);
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        break;
    }
    case HintNowPlayingChanged: {
        auto* playback = dynamic_cast<CUpdateViewPlayback*>(hint);
        {
            NowPlayingLockGuard lock;
            if (playback && playback->status) m_data->status.state = playback->status->state;
            m_data->track = m_doc->GetNowPlaying();
            m_data->lyricsLines.clear();
            m_data->lyricsText.clear();
            m_data->relatedAlbums.clear();
            m_rating = m_data->track.rating;
        }
        m_extraInfo.clear();
        m_hotSpots.clear();
        m_relatedHover = false;
        if (m_hWnd) {
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            if (m_spec && m_spec->window()) ::InvalidateRect(m_spec->window(), nullptr, FALSE);
            RedrawChild(IDC_INFO_LYRICS);
            FillExtraRows();
        }
        if (m_workers) m_workers->SignalWork();
        break;
    }
    case HintPlayStateChanged: {
        auto* playback = dynamic_cast<CUpdateViewPlayback*>(hint);
        if (playback && playback->status) {
            NowPlayingLockGuard lock;
            m_data->status.state = playback->status->state;
        }
        if (m_hWnd) Invalidate(FALSE);
        break;
    }
    case HintStatisticsChanged: {
        auto* change = dynamic_cast<CUpdateViewPlaybackStatisticsChange*>(hint);
        if (change) {
            NowPlayingLockGuard lock;
            if (change->rowid != m_data->track.rowid) break;
            if (change->changed & CUpdateViewPlaybackStatisticsChange::Rating) m_rating = m_data->track.rating = change->rating;
            if (change->changed & CUpdateViewPlaybackStatisticsChange::LastPlayed) m_data->track.lastplayed = change->lastplayed;
            if (change->changed & CUpdateViewPlaybackStatisticsChange::PlayCount) m_data->track.playcount = change->playcount;
        }
        if (m_hWnd) Invalidate(FALSE);
        break;
    }
    case HintEqualizerSwitched:
        if (m_hWnd) Invalidate(FALSE);
        break;
    case HintLyricsWindowShown:
        m_lyricsWnd.ShowBySetting();
        break;
    case HintCoverWindowShown:
        m_imageWnd.ShowBySetting();
        break;
    default:
        break;
    }
}

void CDlgInfo::OnToggleLyricsWindow() {
    if (!m_lyricsWnd.m_hWnd) return;
    const bool show = !m_lyricsWnd.IsWindowVisible();
    m_settings.lyricsWindow.windowShow = show;
    m_lyricsWnd.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CDlgInfo::OnToggleJacketWindow() {
    if (!m_imageWnd.m_hWnd) return;
    const bool show = !m_imageWnd.IsWindowVisible();
    m_settings.imageWindow.windowShow = show;
    m_imageWnd.ShowWindow(show ? SW_SHOW : SW_HIDE);
}
