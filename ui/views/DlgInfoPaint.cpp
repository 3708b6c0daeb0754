// What the now-playing pane paints.
#include "ui/views/DlgInfo.h"
#include "ui/controls/GdiSelectors.h"
#include "app/ColumnModel.h"
#include "app/Formatters.h"
#include "resources/resource.h"
#include "ui/controls/BufferDC.h"
#include "ui/controls/DrawnText.h"
#include "ui/views/LyricsLinePick.h"
#include <algorithm>
#include <cwchar>
#include <initializer_list>

namespace {

// Selects a font, pen or brush for the life of the object.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    ~Selected() { ::SelectObject(m_dc, m_old); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// The box DrawText gives one line of `text`; its height is the line's.
RECT LineBox(HDC dc, HFONT font, const std::wstring& text) {
    Selected f(dc, font);
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    return r;
}

// A line's height needs no drawn width (TextSize draws the text to find that).
int TextHeight(HDC dc, HFONT font, const std::wstring& text) {
    const RECT r = LineBox(dc, font, text);
    return r.bottom - r.top;
}

// Measured the way it is drawn, so that boxes fit their texts.
SIZE TextSize(HDC dc, HFONT font, const std::wstring& text) {
    const RECT r = LineBox(dc, font, text);
    Selected f(dc, font);
    return SIZE{std::max<LONG>(r.right - r.left, DrawnTextWidth(dc, text)), r.bottom - r.top};
}

void RoundBox(HDC dc, const RECT& r, COLORREF pen, COLORREF fill, int corner, bool filled = true) {
    HPEN p = ::CreatePen(PS_SOLID, 1, pen);
    HBRUSH b = filled ? ::CreateSolidBrush(fill) : static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    {
        Selected sp(dc, p), sb(dc, b);
        ::RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
    }
    ::DeleteObject(p);
    if (filled) ::DeleteObject(b);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
    HPEN p = ::CreatePen(PS_SOLID, 1, color);
    {
        Selected sp(dc, p);
        ::MoveToEx(dc, x1, y1, nullptr);
        ::LineTo(dc, x2, y2);
    }
    ::DeleteObject(p);
}

void Text(HDC dc, HFONT font, COLORREF color, const std::wstring& text, RECT r, UINT format) {
    Selected f(dc, font);
    ::SetTextColor(dc, color);
    ::SetBkMode(dc, TRANSPARENT);
    DrawTextLine(dc, text, r, format);
}

constexpr UINT kSingle = DT_SINGLELINE | DT_NOPREFIX | DT_WORD_ELLIPSIS;

}  // namespace

void CDlgInfo::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    GetClientRect(&client);
    {
        CBufferDC buffer(client, dc);
        PaintPane(buffer, client);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CDlgInfo::PaintPane(HDC dc, const RECT& client) {
    const auto& v = m_settings.informationView;
    FillSolidRect(dc, client, v.colorBackground);

    if (v.imageDrawShadow) {
        const COLORREF shades[5] = {m_colors.background90, m_colors.background80, m_colors.background70,
                                    m_colors.background60, ScaleLightness(v.colorBackground, 0.5f)};
        RECT r = m_layout.jacket;
        ::OffsetRect(&r, 4, 4);
        for (COLORREF shade : shades) {
            HBRUSH b = ::CreateSolidBrush(shade);
            ::FrameRect(dc, &r, b);
            ::DeleteObject(b);
            ::InflateRect(&r, -1, -1);
        }
    }

    if (m_ratingImages) {
        const int w = m_settings.generic.ratingImageWidth;
        for (int k = 1; k <= 5; ++k)
            ImageList_Draw(m_ratingImages, m_rating >= 10 * k ? 1 : 0, dc, m_layout.stars.left + (k - 1) * w,
                           m_layout.stars.top, ILD_TRANSPARENT);
    }

    DrawStatusBoxes(dc, client);
    DrawTrackInformation(dc, m_layout.trackInfo);
    // Only the albums drawn now can be clicked.
    ClearRelatedHotSpots();
    bool related = false;
    if (v.enableRelatedAlbum) {
        NowPlayingLockGuard lock;
        related = !m_data->relatedAlbums.empty();
    }
    if (related) DrawRelatedAlbums(dc);
}

void CDlgInfo::DrawStatusBoxes(HDC dc, const RECT& client) {
    HFONT font = m_fonts[FontSmallBold];
    int state;
    {
        NowPlayingLockGuard lock;
        state = m_data->status.state;
    }
    // Each box holds the widest of its captions as drawn.
    auto widest = [&](const wchar_t* (*caption)(int), std::initializer_list<int> values) {
        int width = 0;
        for (int value : values) width = std::max<int>(width, TextSize(dc, font, caption(value)).cx);
        return width;
    };
    const SIZE equalizer = TextSize(dc, font, L"EQ");
    m_statusBoxes = LayoutStatusBoxes(client.right, client.bottom, equalizer.cy, widest(PlayStateBoxText, {0, 2, 3}),
                                      widest(PlayModeBoxText, {0, 1, 2, 3, 4}), equalizer.cx);
    auto box = [&](const RECT& r, const std::wstring& text, COLORREF color) {
        RoundBox(dc, r, m_colors.dim, m_settings.informationView.colorGeneric1, 2);
        Text(dc, font, color, text, r, DT_SINGLELINE | DT_CENTER | DT_BOTTOM | DT_NOPREFIX);
    };
    box(m_statusBoxes.equalizer, L"EQ", m_settings.bass.enableEq ? m_colors.ink : m_colors.dim);
    box(m_statusBoxes.mode, PlayModeBoxText(m_settings.bass.repeatMode), m_colors.ink);
    const COLORREF stateColor = state == 0 ? m_colors.dim : state == 3 ? RGB(255, 0, 0) : m_colors.ink;
    box(m_statusBoxes.state, PlayStateBoxText(state), stateColor);
}

void CDlgInfo::DrawTrackInformation(HDC dc, const RECT& area) {
    const auto& v = m_settings.informationView;
    const int L = area.left, T = area.top, R = area.right, B = area.bottom;
    TrackRecord track;
    {
        NowPlayingLockGuard lock;
        track = m_data->track;
    }
    const std::wstring header = L"Track Information";
    const int h = TextHeight(dc, m_fonts[FontSmallBold], header);
    const RECT headerBox{L + 2, T, R - 2, T + h + 4};
    RoundBox(dc, headerBox, m_colors.generic2_96, v.colorGeneric2, 2);
    Text(dc, m_fonts[FontSmallBold], m_colors.ink, header, RECT{L + 4, T + 2, R - 4, T + 2 + h}, kSingle);
    HWND list = ::GetDlgItem(m_hWnd, IDC_INFO_LIST);
    if (track.file_name.empty()) {
        ::MoveWindow(list, 0, 0, 0, 0, TRUE);
        return;
    }
    std::wstring stream;
    GetCodecName(track.infoCodec, stream);
    if (track.statChannels) {
        std::wstring channels;
        FormatChannels(channels, track.statChannels);
        stream += L" / " + channels;
    }
    if (track.statSamplingrate) stream += L" / " + std::to_wstring(track.statSamplingrate / 1000) + L" KHz";
    if (track.statBitrate) stream += L" / " + std::to_wstring(track.statBitrate / 1000) + L" kbps";
    Text(dc, m_fonts[FontSmallBold], m_colors.ink, stream, RECT{L + 2, T, R - 4, headerBox.bottom},
         DT_SINGLELINE | DT_RIGHT | DT_VCENTER | DT_NOPREFIX);

    // Title row.
    const int rowTop = headerBox.bottom;
    const int bigHeight = TextHeight(dc, m_fonts[FontBigBold], L"Ag");
    const int rowBottom = rowTop + bigHeight;
    int x = L + 2;
    if (!track.tagTracknumber.empty()) {
        const std::wstring label = L"TRACK " + track.tagTracknumber;
        const SIZE s = TextSize(dc, m_fonts[FontSmallBold], label);
        const RECT r{x, rowBottom - s.cy - 2, x + s.cx + 6, rowBottom};
        RoundBox(dc, r, m_colors.generic2_92, 0, 2, false);
        Text(dc, m_fonts[FontSmallBold], v.colorGeneric3, label, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        TouchHotSpot(L"tagTracknumber", InfoHotSpot::TagLink, L"tagTracknumber", track.tagTracknumber, r);
        x = r.right + 4;
    }
    const int indent = x;
    {
        const InfoHotSpot* spot = m_hotSpots.count(L"tagTitle") ? &m_hotSpots.at(L"tagTitle") : nullptr;
        HFONT font = m_fonts[spot && spot->hovered ? FontBigBoldUnderline : FontBigBold];
        const SIZE s = TextSize(dc, font, track.displayTitle);
        const RECT r{x, rowBottom - bigHeight, std::min<int>(R, x + s.cx), rowBottom};
        Text(dc, font, v.colorText, track.displayTitle, r, kSingle | DT_BOTTOM);
        TouchHotSpot(L"tagTitle", InfoHotSpot::TagLink, L"tagTitle", track.displayTitle, r);
    }

    // Artist and album row.
    int y = rowBottom + 2;
    int artistHeight = 0;
    if (!track.tagArtist.empty() || !track.tagAlbum.empty()) {
        int ax = indent;
        auto link = [&](const wchar_t* key, const std::wstring& value) {
            const InfoHotSpot* spot = m_hotSpots.count(key) ? &m_hotSpots.at(key) : nullptr;
            HFONT font = m_fonts[spot && spot->hovered ? FontNormalBoldUnderline : FontNormalBold];
            const SIZE s = TextSize(dc, font, value);
            const RECT r{ax, y, std::min<int>(R, ax + s.cx), y + s.cy};
            Text(dc, font, v.colorGeneric3, value, r, kSingle | DT_TOP);
            TouchHotSpot(key, InfoHotSpot::TagLink, key, value, r);
            artistHeight = std::max<int>(artistHeight, s.cy);
            ax = r.right;
        };
        if (!track.tagArtist.empty()) link(L"tagArtist", track.tagArtist);
        if (!track.tagAlbum.empty()) {
            if (!track.tagArtist.empty()) {
                const RECT gap{ax, y, ax + 16, y + artistHeight};
                Text(dc, m_fonts[FontSmallBold], v.colorText, L"/", gap, DT_SINGLELINE | DT_CENTER | DT_BOTTOM | DT_NOPREFIX);
                ax += 16;
            }
            link(L"tagAlbum", track.tagAlbum);
        }
    }
    const int lineY = rowBottom + 2 + artistHeight;
    Line(dc, L + 8, lineY + 5, R - 8, lineY + 5, m_colors.generic2_96);
    const int listWidth = m_layout.related.left - L - 20;
    const int listHeight = B - lineY - 14;
    ::MoveWindow(list, L + 14, lineY + 10, std::max(listWidth, 0), std::max(listHeight, 0), TRUE);
    RECT lc;
    ::GetClientRect(list, &lc);
    ListView_SetColumnWidth(list, 0, lc.right);
}

void CDlgInfo::DrawRelatedAlbums(HDC dc) {
    const auto& v = m_settings.informationView;
    std::vector<std::wstring> albums;
    {
        NowPlayingLockGuard lock;
        albums = m_data->relatedAlbums;
    }
    const RECT area = m_layout.related;
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    HDC mem = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
    const RECT whole{0, 0, w, h};
    FillSolidRect(mem, whole, v.colorBackground);
    RoundBox(mem, whole, m_colors.generic2_80, v.colorGeneric2, 3);
    RECT inner = whole;
    ::InflateRect(&inner, -2, -2);
    const std::wstring title = L"RELATED ALBUM";
    const int titleHeight = TextHeight(mem, m_fonts[FontSmallBold], title);
    Text(mem, m_fonts[FontSmallBold], m_colors.ink, title, RECT{inner.left, inner.top, inner.right, inner.top + titleHeight},
         DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    const int lineY = inner.top + titleHeight + 2;
    Line(mem, 0, lineY, w, lineY, m_colors.generic2_80);
    int y = lineY + 2;
    const int rowHeight = TextHeight(mem, m_fonts[FontRelated], L"Ag");
    for (size_t i = 0; i < albums.size(); ++i) {
        RECT row{inner.left, y, inner.right, y + rowHeight};
        Text(mem, m_fonts[FontRelated], m_colors.ink, albums[i], row, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_RIGHT);
        const SIZE s = TextSize(mem, m_fonts[FontRelated], albums[i]);
        RECT spot{std::max<int>(inner.left, inner.right - s.cx), y, inner.right, y + rowHeight};
        ::OffsetRect(&spot, area.left, area.top);
        wchar_t key[32];
        swprintf(key, 32, L"__RELATED_%03d__", static_cast<int>(i));
        TouchHotSpot(key, InfoHotSpot::RelatedAlbum, L"tagAlbum", albums[i], spot);
        y += rowHeight;
        if (inner.bottom - y < 2 * rowHeight && i + 1 < albums.size()) {
            const std::wstring more = L"more...";
            const SIZE ms = TextSize(mem, m_fonts[FontSmallBold], more);
            RECT r{inner.right - ms.cx, inner.bottom - ms.cy, inner.right, inner.bottom};
            Text(mem, m_fonts[FontSmallBold], m_colors.ink, more, r, DT_SINGLELINE | DT_NOPREFIX);
            ::OffsetRect(&r, area.left, area.top);
            TouchHotSpot(L"__RELATED_MORE__", InfoHotSpot::RelatedMore, L"", L"", r);
            break;
        }
    }
    const BYTE alpha = AlphaFromPercent(m_relatedHover ? v.relatedAlbumAlphaIn : v.relatedAlbumAlphaOut);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    ::GdiAlphaBlend(dc, area.left, area.top, w, h, mem, 0, 0, w, h, blend);
    ::SelectObject(mem, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
}

void CDlgInfo::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    if (id == IDC_INFO_JACKET) DrawJacket(item);
    else if (id == IDC_INFO_LYRICS) DrawLyricsPanel(item);
    else CDialog::OnDrawItem(id, item);
}

void CDlgInfo::DrawJacket(const DRAWITEMSTRUCT* item) {
    const RECT& r = item->rcItem;
    {
        NowPlayingLockGuard lock;
        HDC back = m_jacket.GetBackBufferDC();
        if (back) ::BitBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, back, 0, 0, SRCCOPY);
    }
    if (m_settings.informationView.imageDrawFrame) {
        HBRUSH b = ::CreateSolidBrush(m_settings.informationView.colorImageFrame);
        ::FrameRect(item->hDC, &r, b);
        ::DeleteObject(b);
    }
}

std::wstring CDlgInfo::CurrentLyricsLine() {
    NowPlayingLockGuard lock;
    const int line = PickLyricsLine(m_data->lyricsLines, m_data->status.position);
    return line < 0 ? std::wstring() : m_data->lyricsLines[line].text;
}

void CDlgInfo::DrawLyricsPanel(const DRAWITEMSTRUCT* item) {
    const auto& v = m_settings.informationView;
    const RECT& r = item->rcItem;
    CBufferDC buffer(r, item->hDC);
    HDC dc = buffer;
    FillSolidRect(dc, r, v.colorBackground);
    std::wstring text, line;
    bool timed = false;
    {
        NowPlayingLockGuard lock;
        text = m_data->lyricsText;
        timed = !m_data->lyricsLines.empty();
        const int index = PickLyricsLine(m_data->lyricsLines, m_data->status.position);
        if (index >= 0) line = m_data->lyricsLines[index].text;
    }
    if (text.empty()) return;
    const std::wstring label = timed ? L"Sync Lyrics" : L"Lyrics";
    const SIZE s = TextSize(dc, m_fonts[FontSmallBold], label);
    const int height = r.bottom - r.top;
    const RECT box{r.left + 2, r.top + (height - s.cy - 2) / 2, r.left + s.cx + 6, r.top + (height - s.cy - 2) / 2 + s.cy + 2};
    RoundBox(dc, box, m_colors.generic2_92, v.colorBackground, 3);
    Text(dc, m_fonts[FontSmallBold], v.colorGeneric3, label, box, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    if (r.right - r.left < s.cx + 13 || line.empty()) return;
    Text(dc, m_fonts[FontNormal], v.colorText, line, RECT{r.left + s.cx + 12, r.top, r.right, r.bottom},
         DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}
