#include "ui/dialogs/PpWindow.h"
#include "ui/controls/GdiSelectors.h"
#include "resources/resource.h"

using namespace settings_paint;

namespace {
void CopyWindow(const CAppSettings::FloatingWindow& f, CAppSettings::FloatingWindow& t) {
    t.fontName = f.fontName;
    t.fontSize = f.fontSize;
    t.colorBackground = f.colorBackground;
    t.colorText = f.colorText;
    t.windowAlpha = f.windowAlpha;
}
}  // namespace

BEGIN_MESSAGE_MAP(CPpWindow, CSettingsPage)
    ON_CONTROL(EN_CHANGE, IDC_PPW_PICTURE_PATTERN, &CPpWindow::OnPicturePattern)
    ON_CONTROL(EN_CHANGE, IDC_PPW_LYRICS_PATTERN, &CPpWindow::OnLyricsPattern)
    ON_COMMAND_RANGE(IDC_PPW_IMAGE_BACK, IDC_PPW_IMAGE_TEXT, &CPpWindow::OnButton)
    ON_COMMAND_RANGE(IDC_PPW_LYRICS_BACK, IDC_PPW_LYRICS_TEXT, &CPpWindow::OnButton)
    ON_COMMAND_RANGE(IDC_PPW_LYRICS_FONT, IDC_PPW_IMAGE_FONT, &CPpWindow::OnButton)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPW_IMAGE_ALPHA, &CPpWindow::OnImageAlpha)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPW_LYRICS_ALPHA, &CPpWindow::OnLyricsAlpha)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CPpWindow::CPpWindow() : CSettingsPage(IDD_PP_WINDOW) {}

CPpWindow::~CPpWindow() {
    if (m_gothic) ::DeleteObject(m_gothic);
}

void CPpWindow::CopyFields(const CAppSettings& from, CAppSettings& to) {
    to.informationView.pictureSearchPattern = from.informationView.pictureSearchPattern;
    to.informationView.lyricsSearchPattern = from.informationView.lyricsSearchPattern;
    CopyWindow(from.imageWindow, to.imageWindow);
    CopyWindow(from.lyricsWindow, to.lyricsWindow);
}

void CPpWindow::LoadSettings() { CopyFields(Live(), m_settings); }

void CPpWindow::ApplySettings(CAppSettings& live) { CopyFields(m_settings, live); }

void CPpWindow::FillControls() {
    const std::wstring picture = m_settings.informationView.pictureSearchPattern;
    const std::wstring lyrics = m_settings.informationView.lyricsSearchPattern;
    m_gothic = MakeGothicFont(IDC_PPW_PICTURE_PATTERN);
    SendDlgItemMessage(IDC_PPW_PICTURE_PATTERN, WM_SETFONT, reinterpret_cast<WPARAM>(m_gothic), TRUE);
    SendDlgItemMessage(IDC_PPW_LYRICS_PATTERN, WM_SETFONT, reinterpret_cast<WPARAM>(m_gothic), TRUE);
    SetDlgItemText(IDC_PPW_PICTURE_PATTERN, picture);
    SetDlgItemText(IDC_PPW_LYRICS_PATTERN, lyrics);
    // The edits' change handlers ran while filling; the stored texts stand.
    m_settings.informationView.pictureSearchPattern = picture;
    m_settings.informationView.lyricsSearchPattern = lyrics;
    FillAlphaList(IDC_PPW_IMAGE_ALPHA, m_settings.imageWindow.windowAlpha);
    FillAlphaList(IDC_PPW_LYRICS_ALPHA, m_settings.lyricsWindow.windowAlpha);
}

void CPpWindow::OnPicturePattern() {
    m_settings.informationView.pictureSearchPattern = ItemText(IDC_PPW_PICTURE_PATTERN);
    Modified();
}

void CPpWindow::OnLyricsPattern() {
    m_settings.informationView.lyricsSearchPattern = ItemText(IDC_PPW_LYRICS_PATTERN);
    Modified();
}

void CPpWindow::OnButton(UINT id) {
    const bool image = id == IDC_PPW_IMAGE_BACK || id == IDC_PPW_IMAGE_TEXT || id == IDC_PPW_IMAGE_FONT;
    CAppSettings::FloatingWindow& w = image ? m_settings.imageWindow : m_settings.lyricsWindow;
    bool changed = false;
    if (id == IDC_PPW_IMAGE_BACK || id == IDC_PPW_LYRICS_BACK) changed = PickColor(w.colorBackground);
    else if (id == IDC_PPW_IMAGE_TEXT || id == IDC_PPW_LYRICS_TEXT) changed = PickColor(w.colorText);
    else if (id == IDC_PPW_IMAGE_FONT || id == IDC_PPW_LYRICS_FONT) changed = PickFont(w.fontName, w.fontSize);
    if (!changed) return;
    Redraw(image ? IDC_PPW_IMAGE_PREVIEW : IDC_PPW_LYRICS_PREVIEW);
    Modified();
}

void CPpWindow::OnImageAlpha() {
    BYTE& field = m_settings.imageWindow.windowAlpha;
    field = static_cast<BYTE>(SelectedData(IDC_PPW_IMAGE_ALPHA, field));
    Modified();
}

void CPpWindow::OnLyricsAlpha() {
    BYTE& field = m_settings.lyricsWindow.windowAlpha;
    field = static_cast<BYTE>(SelectedData(IDC_PPW_LYRICS_ALPHA, field));
    Modified();
}

void CPpWindow::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    if (!item) return;
    if (id != IDC_PPW_IMAGE_PREVIEW && id != IDC_PPW_LYRICS_PREVIEW) {
        CWnd::OnDrawItem(id, item);
        return;
    }
    const CAppSettings::FloatingWindow& w = id == IDC_PPW_IMAGE_PREVIEW ? m_settings.imageWindow : m_settings.lyricsWindow;
    FillSolidRect(item->hDC, item->rcItem, w.colorBackground);
    HFONT font = MakeFont(item->hDC, w.fontName, w.fontSize);
    Text(item->hDC, FontSample(w.fontName, w.fontSize), item->rcItem, font, w.colorText,
         DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::DeleteObject(font);
    Frame(item->hDC, item->rcItem);
}
