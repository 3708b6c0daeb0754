// How the now-playing pane answers the mouse: ratings, links, menus, tips and the cursor.
#include "ui/views/DlgInfo.h"
#include "ui/dialogs/LibraryDialogs.h"
#include "app/ViewHints.h"
#include "document/Larkspur2006Doc.h"
#include "document/WaitCursor.h"
#include "framework/PopupMenu.h"
#include "resources/resource.h"
#include "ui/controls/Clipboard.h"
#include "ui/controls/OdMenu.h"
#include "ui/views/LinkSearch.h"

InfoHotSpot& CDlgInfo::TouchHotSpot(const std::wstring& key, int kind, const std::wstring& column,
                                    const std::wstring& value, const RECT& rect) {
    auto found = m_hotSpots.find(key);
    if (found == m_hotSpots.end()) {
        InfoHotSpot spot;
        spot.kind = kind;
        spot.column = column;
        spot.value = value;
        found = m_hotSpots.emplace(key, spot).first;
    }
    found->second.value = value;
    found->second.rect = rect;   // the hovered flag survives repaints
    return found->second;
}

void CDlgInfo::ClearRelatedHotSpots() {
    for (auto spot = m_hotSpots.begin(); spot != m_hotSpots.end();) {
        if (spot->second.kind == InfoHotSpot::TagLink) ++spot;
        else spot = m_hotSpots.erase(spot);
    }
}

const InfoHotSpot* CDlgInfo::HotSpotAt(POINT point, bool linksOnly, int* index) const {
    const bool related = m_settings.informationView.enableRelatedAlbum;
    int k = 0;
    for (const auto& entry : m_hotSpots) {
        const InfoHotSpot& spot = entry.second;
        const bool link = spot.kind == InfoHotSpot::TagLink || (spot.kind == InfoHotSpot::RelatedAlbum && related);
        if ((!linksOnly || link) && ::PtInRect(&spot.rect, point)) {
            if (index) *index = k;
            return &spot;
        }
        ++k;
    }
    return nullptr;
}

// The pane's popups (its context menu, the related-albums menu) are owner-drawn like every
// menu of the main window; its buttons' WM_DRAWITEM goes on to the message map.
BOOL CDlgInfo::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (OdMenuOnMessage(m_hWnd, msg, wParam, lParam, result)) return TRUE;
    return CDialog::OnWndMsg(msg, wParam, lParam, result);
}

// ---- clicks ----------------------------------------------------------------------------

void CDlgInfo::ApplyRatingClick(int rating) {
    int64_t rowid;
    int old;
    {
        NowPlayingLockGuard lock;
        if (m_data->track.file_name.empty()) return;
        rowid = m_data->track.rowid;
        old = m_rating;
        if (rating == old) return;
        m_rating = m_data->track.rating = rating;
    }
    if (!m_doc->WriteRating(rowid, rating)) {
        // Nothing was written: the pane shows the stored rating again and tells nobody.
        {
            NowPlayingLockGuard lock;
            m_rating = m_data->track.rating = old;
        }
        InvalidateRect(&m_layout.stars, FALSE);
        return;
    }
    CUpdateViewPlaybackStatisticsChange change;
    change.changed = CUpdateViewPlaybackStatisticsChange::Rating;
    change.rowid = rowid;
    change.rating = rating;
    m_doc->UpdateAllViews(nullptr, HintStatisticsChanged, &change);
    InvalidateRect(&m_layout.stars, FALSE);
}

void CDlgInfo::OnLButtonUp(UINT, POINT point) {
    if (::PtInRect(&m_layout.stars, point)) {
        ApplyRatingClick(RatingFromStarClick(point.x, m_layout.stars));
        return;
    }
    if (::PtInRect(&m_statusBoxes.equalizer, point)) return;
    const bool related = m_settings.informationView.enableRelatedAlbum;
    // A search replaces the map's rows' owner: act on copies.
    std::vector<InfoHotSpot> hits;
    for (const auto& entry : m_hotSpots)
        if (::PtInRect(&entry.second.rect, point)) hits.push_back(entry.second);
    for (const InfoHotSpot& spot : hits) {
        if (spot.kind == InfoHotSpot::TagLink) SearchByLink(spot.value, spot.column);
        else if (spot.kind == InfoHotSpot::RelatedAlbum && related) SearchByLink(spot.value, spot.column);
        else if (spot.kind == InfoHotSpot::RelatedMore && related) ShowRelatedAlbumMenu();
    }
}

void CDlgInfo::SearchByLink(const std::wstring& value, const std::wstring& column) {
    ScopedWaitCursor wait;
    const std::wstring sql = MakeLinkSearchSql(column, value, m_settings.search.searchWordNoCase);
    const std::wstring title = MakeLinkTipText(column, value, false);
    if (m_doc->SetQuery(title.c_str(), sql, true)) m_doc->UpdateAllViews(nullptr, HintPlaylistReady, nullptr);
}

void CDlgInfo::ShowRelatedAlbumMenu() {
    std::vector<std::wstring> albums;
    {
        NowPlayingLockGuard lock;
        albums = m_data->relatedAlbums;
    }
    auto more = m_hotSpots.find(L"__RELATED_MORE__");
    if (more != m_hotSpots.end() && !albums.empty()) {
        HMENU popup = ::CreatePopupMenu();
        for (size_t i = 0; i < albums.size(); ++i)
            ::AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(i + 1), albums[i].c_str());
        POINT at{more->second.rect.left, more->second.rect.bottom};
        ClientToScreen(&at);
        const UINT chosen = static_cast<UINT>(AfxTrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON,
                                                                at.x, at.y, m_hWnd));
        ::DestroyMenu(popup);
        if (chosen >= 1 && chosen <= albums.size()) {
            ScopedWaitCursor wait;
            const std::wstring& album = albums[chosen - 1];
            if (m_doc->SetQuery(MakeAlbumSearchTitle(album).c_str(), MakeAlbumSearchSql(album), true))
                m_doc->UpdateAllViews(nullptr, HintPlaylistReady, nullptr);
        }
    }
    if (m_settings.informationView.enableRelatedAlbum) {
        m_relatedHover = false;
        InvalidateRect(&m_layout.related, FALSE);
    }
}

void CDlgInfo::OnRButtonUp(UINT, POINT point) {
    {
        NowPlayingLockGuard lock;
        if (m_data->track.file_name.empty()) return;
    }
    if (!m_menu) return;
    const InfoHotSpot* found = HotSpotAt(point, true);
    const InfoHotSpot spot = found ? *found : InfoHotSpot();
    HMENU popup = ::GetSubMenu(m_menu, 0);
    const UINT linkState = found ? MF_ENABLED : MF_GRAYED;
    ::EnableMenuItem(popup, ID_INFO_LINK, MF_BYCOMMAND | linkState);
    ::EnableMenuItem(popup, ID_INFO_COPY, MF_BYCOMMAND | linkState);
    POINT screen = point;
    ClientToScreen(&screen);
    const UINT command = static_cast<UINT>(AfxTrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON,
                                                             screen.x, screen.y, m_hWnd));
    if (command == ID_INFO_LINK && found) {
        SearchByLink(spot.value, spot.column);
        InvalidateRect(&spot.rect, FALSE);
    } else if (command == ID_INFO_COPY && found) {
        CopyTextToClipboard(m_hWnd, spot.value);   // nothing when another program holds it
        InvalidateRect(&spot.rect, FALSE);
    } else if (command == ID_INFO_PROPERTIES && m_doc) {
        int64_t rowid;
        {
            NowPlayingLockGuard lock;
            rowid = m_data->track.rowid;
        }
        RunTrackProperties(*m_doc, rowid);
    }
}

// ---- cursor and tips -------------------------------------------------------------------

BOOL CDlgInfo::OnSetCursor(HWND wnd, UINT hitTest, UINT message) {
    POINT point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    HCURSOR hand = m_settings.generic.handCursor ? m_settings.generic.handCursor : ::LoadCursorW(nullptr, IDC_HAND);
    if (::PtInRect(&m_layout.stars, point)) {
        ::SetCursor(hand);
        return TRUE;
    }
    const bool related = m_settings.informationView.enableRelatedAlbum;
    bool took = false;
    for (auto& entry : m_hotSpots) {
        InfoHotSpot& spot = entry.second;
        const bool inside = ::PtInRect(&spot.rect, point) != FALSE;
        if (spot.kind == InfoHotSpot::TagLink) {
            if (inside != spot.hovered) InvalidateRect(&spot.rect, FALSE);
            spot.hovered = inside;
            if (inside) took = true;
        } else if (spot.kind == InfoHotSpot::RelatedAlbum && related && inside) {
            took = true;
        }
    }
    if (related) {
        const bool over = ::PtInRect(&m_layout.related, point) != FALSE;
        if (over != m_relatedHover) {
            m_relatedHover = over;
            InvalidateRect(&m_layout.related, FALSE);
        }
    }
    if (took) {
        ::SetCursor(hand);
        return TRUE;
    }
    if (wnd == m_jacket.m_hWnd || wnd == m_lyricsStrip.m_hWnd) {
        ::SetCursor(hand);
        return TRUE;
    }
    return static_cast<BOOL>(Default(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(hitTest, message)));
}

void CDlgInfo::OnMouseMove(UINT, POINT) {
    // Hover is set by WM_SETCURSOR; the pane hears when the mouse leaves it.
    if (m_trackingLeave) return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    m_trackingLeave = ::TrackMouseEvent(&track) != FALSE;
}

LRESULT CDlgInfo::OnMouseLeave(WPARAM, LPARAM) {
    m_trackingLeave = false;
    for (auto& entry : m_hotSpots) {
        InfoHotSpot& spot = entry.second;
        if (!spot.hovered) continue;
        spot.hovered = false;
        InvalidateRect(&spot.rect, FALSE);
    }
    if (m_relatedHover) {
        m_relatedHover = false;
        InvalidateRect(&m_layout.related, FALSE);
    }
    return 0;
}

INT_PTR CDlgInfo::OnToolHitTest(POINT point, TOOLINFOW* ti) const {
    auto fill = [&](INT_PTR id, const RECT& rect) {
        if (ti) {
            ti->hwnd = m_hWnd;
            ti->uId = static_cast<UINT_PTR>(id);
            ti->rect = rect;
            ti->lpszText = LPSTR_TEXTCALLBACKW;
        }
        return id;
    };
    if (::PtInRect(&m_layout.stars, point)) return fill(10000, m_layout.stars);
    int k = 0;
    if (const InfoHotSpot* spot = HotSpotAt(point, true, &k)) return fill(20000 + k, spot->rect);
    return CDialog::OnToolHitTest(point, ti);
}

BOOL CDlgInfo::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (!nm) return CDialog::OnNotify(wParam, lParam, result);
    if (nm->code == TTN_NEEDTEXTW) {
        auto* ttt = reinterpret_cast<NMTTDISPINFOW*>(nm);
        m_tipText.clear();
        if (ttt->uFlags & TTF_IDISHWND) {
            const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(nm->idFrom));
            if (id == IDC_INFO_LYRICS) m_tipText = L"歌詞ウインドウの表示/非表示";
            else if (id == IDC_INFO_JACKET) m_tipText = L"ジャケットウインドウの表示/非表示";
        } else if (nm->idFrom == 10000) {
            m_tipText = L"評価の変更";
        } else if (nm->idFrom >= 20000 && nm->idFrom < 20000 + m_hotSpots.size()) {
            auto spot = m_hotSpots.begin();
            std::advance(spot, static_cast<long>(nm->idFrom - 20000));
            m_tipText = MakeLinkTipText(spot->second.column, spot->second.value, true);
            ::SendMessageW(nm->hwndFrom, TTM_SETMAXTIPWIDTH, 0, 500);
        }
        ttt->lpszText = const_cast<wchar_t*>(m_tipText.c_str());
        *result = 0;
        return TRUE;
    }
    if (nm->idFrom == IDC_INFO_LIST) {
        if (nm->code == LVN_GETINFOTIPW) {
            auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(nm);
            auto row = m_extraInfo.find(tip->iItem);
            if (row != m_extraInfo.end() && tip->pszText && tip->cchTextMax > 0) {
                const std::wstring text =
                    FitInfoTip(MakeLinkTipText(row->second.first, row->second.second, true), static_cast<size_t>(tip->cchTextMax));
                wcsncpy(tip->pszText, text.c_str(), static_cast<size_t>(tip->cchTextMax));
                tip->pszText[tip->cchTextMax - 1] = L'\0';
            }
            *result = 0;
            return TRUE;
        }
        if (nm->code == NM_CLICK) {
            auto* item = reinterpret_cast<NMITEMACTIVATE*>(nm);
            auto row = m_extraInfo.find(item->iItem);
            if (row != m_extraInfo.end()) {
                const auto entry = row->second;
                SearchByLink(entry.second, entry.first);
            }
            *result = 0;
            return TRUE;
        }
    }
    return CDialog::OnNotify(wParam, lParam, result);
}
