#include "ui/dialogs/PpInformation.h"
#include "ui/controls/GdiSelectors.h"
#include "app/ColorUtil.h"
#include "resources/resource.h"

using namespace settings_paint;

namespace {
COLORREF* ColorField(CAppSettings::InformationView& v, UINT id) {
    switch (id) {
    case IDC_PPI_BACK: return &v.colorBackground;
    case IDC_PPI_TEXT: return &v.colorText;
    case IDC_PPI_HEADER: return &v.colorGeneric2;
    case IDC_PPI_TEXT2: return &v.colorGeneric3;
    case IDC_PPI_STATUS: return &v.colorGeneric1;
    case IDC_PPI_SPEC_MAX: return &v.colorSpecMax;
    case IDC_PPI_SPEC_MIN: return &v.colorSpecMin;
    case IDC_PPI_IMAGE_BACK: return &v.colorImageBackground;
    case IDC_PPI_IMAGE_FRAME: return &v.colorImageFrame;
    }
    return nullptr;
}

COLORREF Inverse(COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }
}  // namespace

BEGIN_MESSAGE_MAP(CPpInformation, CSettingsPage)
    ON_COMMAND_RANGE(IDC_PPI_BACK, IDC_PPI_TEXT, &CPpInformation::OnColor)
    ON_COMMAND_RANGE(IDC_PPI_STATUS, IDC_PPI_STATUS, &CPpInformation::OnColor)
    ON_COMMAND_RANGE(IDC_PPI_HEADER, IDC_PPI_IMAGE_BACK, &CPpInformation::OnColor)
    ON_COMMAND_RANGE(IDC_PPI_IMAGE_FRAME, IDC_PPI_IMAGE_FRAME, &CPpInformation::OnColor)
    ON_COMMAND_RANGE(IDC_PPI_FONT, IDC_PPI_RELATED_FONT, &CPpInformation::OnFont)
    ON_COMMAND_RANGE(IDC_PPI_DRAW_FRAME, IDC_PPI_DRAW_SHADOW, &CPpInformation::OnCheck)
    ON_COMMAND_RANGE(IDC_PPI_ZOOM, IDC_PPI_ZOOM, &CPpInformation::OnCheck)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPI_FRAME_RATE, &CPpInformation::OnFrameRate)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPI_FADE, &CPpInformation::OnFade)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPI_ALPHA_OUT, &CPpInformation::OnAlphaOut)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPI_ALPHA_IN, &CPpInformation::OnAlphaIn)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CPpInformation::CPpInformation() : CSettingsPage(IDD_PP_INFORMATION) {}

void CPpInformation::CopyFields(const CAppSettings& from, CAppSettings& to) {
    const CAppSettings::InformationView& f = from.informationView;
    CAppSettings::InformationView& t = to.informationView;
    t.fontName = f.fontName;
    t.fontSize = f.fontSize;
    t.fontNameBig = f.fontNameBig;
    t.fontSizeBig = f.fontSizeBig;
    t.fontNameSmall = f.fontNameSmall;
    t.fontSizeSmall = f.fontSizeSmall;
    t.fontNameRelated = f.fontNameRelated;
    t.fontSizeRelated = f.fontSizeRelated;
    t.colorBackground = f.colorBackground;
    t.colorText = f.colorText;
    t.colorImageBackground = f.colorImageBackground;
    t.colorImageFrame = f.colorImageFrame;
    t.colorGeneric1 = f.colorGeneric1;
    t.colorGeneric2 = f.colorGeneric2;
    t.colorGeneric3 = f.colorGeneric3;
    t.colorSpecMax = f.colorSpecMax;
    t.colorSpecMin = f.colorSpecMin;
    t.imageFadeWait = f.imageFadeWait;
    t.imageDrawFrame = f.imageDrawFrame;
    t.imageDrawShadow = f.imageDrawShadow;
    t.imageZoom = f.imageZoom;
    t.relatedAlbumAlphaIn = f.relatedAlbumAlphaIn;
    t.relatedAlbumAlphaOut = f.relatedAlbumAlphaOut;
    to.thread.freqSpec = from.thread.freqSpec;
}

void CPpInformation::LoadSettings() { CopyFields(Live(), m_settings); }

void CPpInformation::ApplySettings(CAppSettings& live) { CopyFields(m_settings, live); }

void CPpInformation::FillControls() {
    const CAppSettings::InformationView& v = m_settings.informationView;
    AddItem(IDC_PPI_FADE, L"速い", 10);
    AddItem(IDC_PPI_FADE, L"やや速い", 30);
    AddItem(IDC_PPI_FADE, L"標準", 50);
    AddItem(IDC_PPI_FADE, L"やや遅い", 75);
    AddItem(IDC_PPI_FADE, L"遅い", 100);
    SendDlgItemMessage(IDC_PPI_FADE, CB_SETCURSEL, 0);
    SelectData(IDC_PPI_FADE, v.imageFadeWait);
    AddItem(IDC_PPI_FRAME_RATE, L"20 fps", 3);
    AddItem(IDC_PPI_FRAME_RATE, L"30 fps", 2);
    AddItem(IDC_PPI_FRAME_RATE, L"60 fps", 1);
    SendDlgItemMessage(IDC_PPI_FRAME_RATE, CB_SETCURSEL, 0);
    SelectData(IDC_PPI_FRAME_RATE, m_settings.thread.freqSpec);
    FillAlphaList(IDC_PPI_ALPHA_OUT, v.relatedAlbumAlphaOut);
    FillAlphaList(IDC_PPI_ALPHA_IN, v.relatedAlbumAlphaIn);
    CheckDlgButton(IDC_PPI_ZOOM, v.imageZoom ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_PPI_DRAW_FRAME, v.imageDrawFrame ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_PPI_DRAW_SHADOW, v.imageDrawShadow ? BST_CHECKED : BST_UNCHECKED);
}

void CPpInformation::OnColor(UINT id) {
    COLORREF* field = ColorField(m_settings.informationView, id);
    if (!field || !PickColor(*field)) return;
    Redraw(IDC_PPI_PREVIEW);
    Modified();
}

void CPpInformation::OnFont(UINT id) {
    CAppSettings::InformationView& v = m_settings.informationView;
    bool changed = false;
    switch (id) {
    case IDC_PPI_FONT: changed = PickFont(v.fontName, v.fontSize); break;
    case IDC_PPI_FONT_BIG: changed = PickFont(v.fontNameBig, v.fontSizeBig); break;
    case IDC_PPI_FONT_SMALL: changed = PickFont(v.fontNameSmall, v.fontSizeSmall); break;
    case IDC_PPI_RELATED_FONT: changed = PickFont(v.fontNameRelated, v.fontSizeRelated); break;
    default: return;
    }
    if (!changed) return;
    Redraw(IDC_PPI_PREVIEW);
    Modified();
}

void CPpInformation::OnCheck(UINT id) {
    CAppSettings::InformationView& v = m_settings.informationView;
    const bool checked = IsChecked(static_cast<int>(id));
    if (id == IDC_PPI_ZOOM) v.imageZoom = checked;
    else if (id == IDC_PPI_DRAW_FRAME) v.imageDrawFrame = checked;
    else if (id == IDC_PPI_DRAW_SHADOW) v.imageDrawShadow = checked;
    else return;
    Redraw(IDC_PPI_PREVIEW);
    Modified();
}

void CPpInformation::OnFrameRate() {
    m_settings.thread.freqSpec = SelectedData(IDC_PPI_FRAME_RATE, m_settings.thread.freqSpec);
    Modified();
}

void CPpInformation::OnFade() {
    m_settings.informationView.imageFadeWait = SelectedData(IDC_PPI_FADE, m_settings.informationView.imageFadeWait);
    Modified();
}

void CPpInformation::OnAlphaOut() {
    BYTE& field = m_settings.informationView.relatedAlbumAlphaOut;
    field = static_cast<BYTE>(SelectedData(IDC_PPI_ALPHA_OUT, field));
    Modified();
}

void CPpInformation::OnAlphaIn() {
    BYTE& field = m_settings.informationView.relatedAlbumAlphaIn;
    field = static_cast<BYTE>(SelectedData(IDC_PPI_ALPHA_IN, field));
    Modified();
}

void CPpInformation::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    if (item && id == IDC_PPI_PREVIEW) DrawPreview(*item);
    else if (item) CWnd::OnDrawItem(id, item);
}

void CPpInformation::DrawPreview(const DRAWITEMSTRUCT& item) {
    const CAppSettings::InformationView& v = m_settings.informationView;
    HDC dc = item.hDC;
    const RECT r{0, 0, item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top};
    FillSolidRect(dc, r, v.colorBackground);
    const RECT square{r.left, r.top, 70, 70};
    if (v.imageDrawShadow) {
        RECT shadow{square.left + 4, square.top + 4, square.right + 4, square.bottom + 4};
        for (int step = 1; step <= 5; ++step) {
            HBRUSH brush = ::CreateSolidBrush(AdjustColorHLS(v.colorBackground, -10 * step, 0));
            ::FrameRect(dc, &shadow, brush);
            ::DeleteObject(brush);
            ::InflateRect(&shadow, -1, -1);
        }
    }
    FillSolidRect(dc, square, v.colorImageBackground);
    if (v.imageDrawFrame) {
        HPEN pen = ::CreatePen(PS_SOLID, 1, v.colorImageFrame);
        HGDIOBJ old = ::SelectObject(dc, pen);
        ::MoveToEx(dc, square.right - 1, square.top, nullptr);
        ::LineTo(dc, square.right - 1, square.bottom - 1);
        ::LineTo(dc, square.left - 1, square.bottom - 1);
        ::SelectObject(dc, old);
        ::DeleteObject(pen);
    }

    HFONT ui = reinterpret_cast<HFONT>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    struct Box {
        COLORREF fill;
        const wchar_t* caption;
    } boxes[] = {{v.colorGeneric1, L"ステータス色"}, {v.colorGeneric3, L"テキスト色2"}, {v.colorGeneric2, L"ヘッダ色"}};
    for (int i = 0; i < 3; ++i) {
        const RECT box{r.right - 112, r.bottom - 22 - 20 * i, r.right - 12, r.bottom - 7 - 20 * i};
        FillSolidRect(dc, box, boxes[i].fill);
        Text(dc, boxes[i].caption, box, ui, Inverse(boxes[i].fill), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    int y = r.top + 2;
    HFONT small = MakeFont(dc, v.fontNameSmall, v.fontSizeSmall);
    Text(dc, FontSample(v.fontNameSmall, v.fontSizeSmall), RECT{r.left + 90, y, r.right, r.bottom}, small, v.colorText,
         DT_LEFT | DT_TOP | DT_SINGLELINE);
    ::DeleteObject(small);
    y += 5 + v.fontSizeSmall;
    HFONT big = MakeFont(dc, v.fontNameBig, v.fontSizeBig, FW_BOLD);
    Text(dc, FontSample(v.fontNameBig, v.fontSizeBig), RECT{r.left + 90, y, r.right, r.bottom}, big, v.colorText,
         DT_LEFT | DT_TOP | DT_SINGLELINE);
    ::DeleteObject(big);
    y += 5 + v.fontSizeBig;
    HFONT normal = MakeFont(dc, v.fontName, v.fontSize);
    Text(dc, FontSample(v.fontName, v.fontSize), RECT{r.left + 90, y, r.right, r.bottom}, normal, v.colorGeneric3,
         DT_LEFT | DT_TOP | DT_SINGLELINE);
    ::DeleteObject(normal);
    HFONT related = MakeFont(dc, v.fontNameRelated, v.fontSizeRelated);
    Text(dc, FontSample(v.fontNameRelated, v.fontSizeRelated),
         RECT{r.left, r.top + 2, r.right - kPreviewTextInset, r.bottom}, related, v.colorText,
         DT_RIGHT | DT_TOP | DT_SINGLELINE);
    ::DeleteObject(related);
    Frame(dc, r);
}
