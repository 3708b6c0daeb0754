#include "ui/dialogs/PpVisual.h"
#include "ui/controls/GdiSelectors.h"
#include "app/ColorUtil.h"
#include "resources/resource.h"
#include <cwchar>

using namespace settings_paint;

namespace {

COLORREF* ColorField(CAppSettings& s, UINT id, int& preview) {
    preview = IDC_PPV_QV_PREVIEW;
    switch (id) {
    case IDC_PPV_QV_TEXT: return &s.queryView.colorText;
    case IDC_PPV_QV_BACK: return &s.queryView.colorBackground;
    }
    preview = IDC_PPV_GV_PREVIEW;
    switch (id) {
    case IDC_PPV_GV_TEXT: return &s.groupView.colorText;
    case IDC_PPV_GV_HEADER: return &s.groupView.colorHeaderText;
    case IDC_PPV_GV_BACK: return &s.groupView.colorBackground;
    case IDC_PPV_GV_GRAPH: return &s.groupView.colorGraph;
    case IDC_PPV_GV_BORDER1: return &s.groupView.colorBorder1;
    case IDC_PPV_GV_BORDER2: return &s.groupView.colorBorder2;
    }
    preview = IDC_PPV_PL_PREVIEW;
    switch (id) {
    case IDC_PPV_PL_BACK: return &s.playlistView.colorBackground;
    case IDC_PPV_PL_TEXT: return &s.playlistView.colorText;
    case IDC_PPV_PL_PLAYING: return &s.playlistView.colorTextPlaying;
    case IDC_PPV_PL_LIST1: return &s.playlistView.colorList1;
    case IDC_PPV_PL_LIST2: return &s.playlistView.colorList2;
    case IDC_PPV_PL_GRID: return &s.playlistView.colorGrid;
    }
    return nullptr;
}

// A colour between `a` (x = 0) and `b` (x = width), channel by channel.
COLORREF Blend(COLORREF a, COLORREF b, int x, int width) {
    auto channel = [&](int ca, int cb) { return ca + (cb - ca) * x / (width > 0 ? width : 1); };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

// The colour with its HLS lightness scaled to `percent` (hue and saturation kept).
COLORREF ScaleLightness(COLORREF color, int percent) {
    DWORD hls = RGBToHLS(color);
    const DWORD lightness = ((hls >> 8) & 0xFF) * static_cast<DWORD>(percent) / 100;
    hls = (hls & ~0xFF00u) | ((lightness & 0xFF) << 8);
    return HLSToRGB(hls);
}

void FrameWith(HDC dc, const RECT& r, COLORREF color) {
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FrameRect(dc, &r, brush);
    ::DeleteObject(brush);
}
}  // namespace

BEGIN_MESSAGE_MAP(CPpVisual, CSettingsPage)
    ON_COMMAND_RANGE(IDC_PPV_QV_BACK, IDC_PPV_PL_GRID, &CPpVisual::OnColor)
    ON_COMMAND_RANGE(IDC_PPV_GV_BORDER1, IDC_PPV_GV_HEADER, &CPpVisual::OnColor)
    ON_COMMAND_RANGE(IDC_PPV_GV_GRAPH, IDC_PPV_GV_GRAPH, &CPpVisual::OnColor)
    ON_COMMAND_RANGE(IDC_PPV_QV_FONT, IDC_PPV_QV_FONT, &CPpVisual::OnFont)
    ON_COMMAND_RANGE(IDC_PPV_GV_FONT, IDC_PPV_GV_FONT, &CPpVisual::OnFont)
    ON_COMMAND_RANGE(IDC_PPV_PL_FONT, IDC_PPV_PL_FONT, &CPpVisual::OnFont)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPV_GV_ALPHABET, &CPpVisual::OnAlphabet)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPV_GV_KANA, &CPpVisual::OnKana)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPV_GV_KANJI, &CPpVisual::OnKanji)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPV_PL_GRID_TYPE, &CPpVisual::OnGridType)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPV_PL_MARGIN, &CPpVisual::OnMargin)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CPpVisual::CPpVisual() : CSettingsPage(IDD_PP_VISUAL) {}

void CPpVisual::LoadSettings() {
    const CAppSettings& live = Live();
    m_settings.queryView.fontName = live.queryView.fontName;
    m_settings.queryView.fontSize = live.queryView.fontSize;
    m_settings.queryView.colorBackground = live.queryView.colorBackground;
    m_settings.queryView.colorText = live.queryView.colorText;
    CopyGroupFields(live, m_settings);
    CopyPlaylistFields(live, m_settings);
}

void CPpVisual::ApplySettings(CAppSettings& live) {
    live.queryView.fontName = m_settings.queryView.fontName;
    live.queryView.fontSize = m_settings.queryView.fontSize;
    live.queryView.colorBackground = m_settings.queryView.colorBackground;
    live.queryView.colorText = m_settings.queryView.colorText;
    CopyGroupFields(m_settings, live);
    CopyPlaylistFields(m_settings, live);
}

void CPpVisual::CopyGroupFields(const CAppSettings& from, CAppSettings& to) {
    const CAppSettings::GroupView& f = from.groupView;
    CAppSettings::GroupView& t = to.groupView;
    t.fontName = f.fontName;
    t.fontSize = f.fontSize;
    t.colorBackground = f.colorBackground;
    t.colorText = f.colorText;
    t.colorHeaderText = f.colorHeaderText;
    t.colorBorder1 = f.colorBorder1;
    t.colorBorder2 = f.colorBorder2;
    t.colorGraph = f.colorGraph;
    t.groupThresholdAlphabet = f.groupThresholdAlphabet;
    t.groupThresholdKana = f.groupThresholdKana;
    t.groupThresholdKanji = f.groupThresholdKanji;
}

void CPpVisual::CopyPlaylistFields(const CAppSettings& from, CAppSettings& to) {
    const CAppSettings::PlaylistView& f = from.playlistView;
    CAppSettings::PlaylistView& t = to.playlistView;
    t.fontName = f.fontName;
    t.fontSize = f.fontSize;
    t.colorBackground = f.colorBackground;
    t.colorText = f.colorText;
    t.colorTextPlaying = f.colorTextPlaying;
    t.colorList1 = f.colorList1;
    t.colorList2 = f.colorList2;
    t.colorGrid = f.colorGrid;
    t.gridType = f.gridType;
    t.marginX = f.marginX;
}

void CPpVisual::FillControls() {
    const CAppSettings::GroupView& g = m_settings.groupView;
    const int thresholds[] = {IDC_PPV_GV_ALPHABET, IDC_PPV_GV_KANA, IDC_PPV_GV_KANJI};
    const int values[] = {g.groupThresholdAlphabet, g.groupThresholdKana, g.groupThresholdKanji};
    for (int i = 0; i < 3; ++i) {
        for (int n = 1; n <= 20; ++n) {
            wchar_t text[16];
            std::swprintf(text, 16, L"%d", n);
            AddItem(thresholds[i], n == 1 ? L"常にグループ化" : text, n);
        }
        SelectData(thresholds[i], values[i]);
    }
    AddItem(IDC_PPV_PL_GRID_TYPE, L"なし", -1);
    AddItem(IDC_PPV_PL_GRID_TYPE, L"実線", 0);
    AddItem(IDC_PPV_PL_GRID_TYPE, L"点線", 2);
    SendDlgItemMessage(IDC_PPV_PL_GRID_TYPE, CB_SETCURSEL, 0);
    SelectData(IDC_PPV_PL_GRID_TYPE, m_settings.playlistView.gridType);
    for (int n = 0; n <= 8; ++n) AddItem(IDC_PPV_PL_MARGIN, std::to_wstring(n), n);
    if (!SelectData(IDC_PPV_PL_MARGIN, m_settings.playlistView.marginX)) SendDlgItemMessage(IDC_PPV_PL_MARGIN, CB_SETCURSEL, 0);
}

void CPpVisual::OnColor(UINT id) {
    int preview = 0;
    COLORREF* field = ColorField(m_settings, id, preview);
    if (!field || !PickColor(*field)) return;
    Redraw(preview);
    Modified();
}

void CPpVisual::OnFont(UINT id) {
    bool changed = false;
    int preview = 0;
    if (id == IDC_PPV_QV_FONT) {
        changed = PickFont(m_settings.queryView.fontName, m_settings.queryView.fontSize);
        preview = IDC_PPV_QV_PREVIEW;
    } else if (id == IDC_PPV_GV_FONT) {
        changed = PickFont(m_settings.groupView.fontName, m_settings.groupView.fontSize);
        preview = IDC_PPV_GV_PREVIEW;
    } else if (id == IDC_PPV_PL_FONT) {
        changed = PickFont(m_settings.playlistView.fontName, m_settings.playlistView.fontSize);
        preview = IDC_PPV_PL_PREVIEW;
    }
    if (!changed) return;
    Redraw(preview);
    Modified();
}

void CPpVisual::OnAlphabet() { StoreSelection(IDC_PPV_GV_ALPHABET, m_settings.groupView.groupThresholdAlphabet, 0); }
void CPpVisual::OnKana() { StoreSelection(IDC_PPV_GV_KANA, m_settings.groupView.groupThresholdKana, 0); }
void CPpVisual::OnKanji() { StoreSelection(IDC_PPV_GV_KANJI, m_settings.groupView.groupThresholdKanji, 0); }
void CPpVisual::OnGridType() { StoreSelection(IDC_PPV_PL_GRID_TYPE, m_settings.playlistView.gridType, IDC_PPV_PL_PREVIEW); }
void CPpVisual::OnMargin() { StoreSelection(IDC_PPV_PL_MARGIN, m_settings.playlistView.marginX, IDC_PPV_PL_PREVIEW); }

void CPpVisual::StoreSelection(int id, int& field, int preview) {
    field = SelectedData(id, field);
    if (preview) Redraw(preview);
    Modified();
}

void CPpVisual::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    if (!item) return;
    if (id == IDC_PPV_QV_PREVIEW) DrawQueryView(*item);
    else if (id == IDC_PPV_GV_PREVIEW) DrawGroupView(*item);
    else if (id == IDC_PPV_PL_PREVIEW) DrawPlaylist(*item);
    else CWnd::OnDrawItem(id, item);
}

void CPpVisual::DrawQueryView(const DRAWITEMSTRUCT& item) {
    const CAppSettings::QueryView& v = m_settings.queryView;
    FillSolidRect(item.hDC, item.rcItem, v.colorBackground);
    HFONT font = MakeFont(item.hDC, v.fontName, v.fontSize);
    Text(item.hDC, FontSample(v.fontName, v.fontSize), item.rcItem, font, v.colorText,
         DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::DeleteObject(font);
    Frame(item.hDC, item.rcItem);
}

void CPpVisual::DrawGroupView(const DRAWITEMSTRUCT& item) {
    const CAppSettings::GroupView& v = m_settings.groupView;
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    const int m = r.top + (r.bottom - r.top) / 2;
    FillSolidRect(dc, r, v.colorBackground);
    HFONT font = MakeFont(dc, v.fontName, v.fontSize);
    RECT upper{r.left, r.top, r.right, m};
    Text(dc, FontSample(v.fontName, v.fontSize), upper, font, v.colorText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const int width = r.right - r.left;
    for (int x = 0; x < width; ++x) ::SetPixelV(dc, r.left + x, m + 1, Blend(v.colorBorder1, v.colorBorder2, x, width));
    const RECT header{r.left + kPreviewTextInset, r.top, r.right, m};
    Text(dc, L"テキスト色2", header, font, v.colorHeaderText, DT_LEFT | DT_BOTTOM | DT_SINGLELINE);
    ::DeleteObject(font);
    FillSolidRect(dc, RECT{r.right - 40, r.top + 8, r.right - 20, m - 8}, ScaleLightness(v.colorGraph, 88));
    FrameWith(dc, RECT{r.right - 40, r.top + 8, r.right - 8, m - 8}, ScaleLightness(v.colorGraph, 80));
    FrameWith(dc, RECT{r.right - 40, m + 8, r.right - 8, r.bottom - 8}, ScaleLightness(v.colorGraph, 96));
    Frame(dc, r);
}

void CPpVisual::DrawPlaylist(const DRAWITEMSTRUCT& item) {
    const CAppSettings::PlaylistView& v = m_settings.playlistView;
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    const int m = r.top + (r.bottom - r.top) / 2;
    FillSolidRect(dc, r, v.colorBackground);
    FillSolidRect(dc, RECT{r.left, r.top, r.right - 32, m}, v.colorList1);
    FillSolidRect(dc, RECT{r.left, m, r.right - 32, r.bottom}, v.colorList2);
    HFONT font = MakeFont(dc, v.fontName, v.fontSize);
    HFONT bold = MakeFont(dc, v.fontName, v.fontSize, FW_BOLD);
    const int x = r.left + 32 + v.marginX;
    Text(dc, FontSample(v.fontName, v.fontSize), RECT{x, r.top, r.right - 32, m}, font, v.colorText,
         DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    Text(dc, L"Now playing", RECT{x, m, r.right - 32, r.bottom}, bold, v.colorTextPlaying,
         DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    ::DeleteObject(font);
    ::DeleteObject(bold);
    if (v.gridType == 0 || v.gridType == 2) {
        HPEN pen = ::CreatePen(v.gridType == 0 ? PS_SOLID : PS_DOT, 1, v.colorGrid);
        HGDIOBJ old = ::SelectObject(dc, pen);
        for (int lineX : {static_cast<int>(r.right - 32), static_cast<int>(r.left + 32)}) {
            ::MoveToEx(dc, lineX, r.top, nullptr);
            ::LineTo(dc, lineX, r.bottom);
        }
        ::SelectObject(dc, old);
        ::DeleteObject(pen);
    }
    Frame(dc, r);
}
