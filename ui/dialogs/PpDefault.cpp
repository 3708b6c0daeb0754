#include "ui/dialogs/PpDefault.h"
#include "ui/controls/GdiSelectors.h"
#include "app/Formatters.h"
#include "app/RatingImages.h"
#include "framework/CommonDialogs.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include <ctime>
#include <cwchar>

namespace {
const wchar_t* const kDateFormats[] = {
    L"%c", L"%#c", L"%Y年%m月%d日 %H:%M:%S", L"%Y年%m月%d日 %I:%M:%S(%p)", L"%Y/%m/%d %H:%M:%S",
    L"%Y/%m/%d %I:%M:%S(%p)", L"%Y年%m月%d日(%A) %H:%M:%S", L"%Y/%m/%d(%a) %H:%M:%S"};

struct NamedValue {
    const wchar_t* text;
    int value;
};
const NamedValue kInterpolation[] = {
    {L"規定値", 0}, {L"補間", 1}, {L"補間(高品質)", 2}, {L"双一次補間 - Bilinear", 3},
    {L"双三次補間 - Bicubic", 4}, {L"最近傍補間 - NearestNeighbor", 5},
    {L"双一次補間(高品質) - HighQualityBilinear", 6}, {L"双三次補間(高品質) - HighQualityBicubic", 7}};
const NamedValue kRatingTypes[] = {{L"標準アイコン1", 0}, {L"標準アイコン2", 1}, {L"カスタムアイコン", -1}};

const int kCustomIconControls[] = {IDC_PPD_STAR_FULL_LABEL, IDC_PPD_STAR_EMPTY_LABEL, IDC_PPD_STAR_NOTE,
                                   IDC_PPD_STAR_FULL,       IDC_PPD_STAR_EMPTY,       IDC_PPD_BROWSE_FULL,
                                   IDC_PPD_BROWSE_EMPTY};
const wchar_t kImageFilter[] =
    L"画像 ファイル (すべての種類)|*.bmp;*.jpg;*.gif;*.png;*.ico|BMP (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|"
    L"GIF (*.gif)|*.gif|PNG (*.png)|*.png|ICON (*.ico)|*.ico|";
}  // namespace

const wchar_t* const CPpDefault::kFormatHelpAddress =
    L"https://learn.microsoft.com/cpp/c-runtime-library/reference/strftime-wcsftime-strftime-l-wcsftime-l";

std::wstring FormatDatePreview(const std::wstring& format) {
    if (format.empty()) return L"";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_s(&local, &now) != 0) return L"";
    return FormatTimeChecked(format, local);
}

BEGIN_MESSAGE_MAP(CPpDefault, CSettingsPage)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPD_DATE_FORMAT, &CPpDefault::OnDateSelChange)
    ON_CONTROL(CBN_EDITCHANGE, IDC_PPD_DATE_FORMAT, &CPpDefault::OnDateEdit)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPD_INTERPOLATION, &CPpDefault::OnInterpolation)
    ON_CONTROL(EN_CHANGE, IDC_PPD_APP_TITLE, &CPpDefault::OnAppTitle)
    ON_BN_CLICKED(IDC_PPD_RESTORE, &CPpDefault::OnRestore)
    ON_BN_CLICKED(IDC_PPD_CHECK_MODIFY, &CPpDefault::OnCheckModify)
    ON_CONTROL(EN_CHANGE, IDC_PPD_TRIGGER_START, &CPpDefault::OnTriggerStart)
    ON_CONTROL(EN_CHANGE, IDC_PPD_TRIGGER_STOP, &CPpDefault::OnTriggerStop)
    ON_CONTROL(CBN_SELCHANGE, IDC_PPD_RATING_TYPE, &CPpDefault::OnRatingType)
    ON_CONTROL(EN_CHANGE, IDC_PPD_STAR_FULL, &CPpDefault::OnStarFull)
    ON_CONTROL(EN_CHANGE, IDC_PPD_STAR_EMPTY, &CPpDefault::OnStarEmpty)
    ON_BN_CLICKED(IDC_PPD_BROWSE_FULL, &CPpDefault::OnBrowseFull)
    ON_BN_CLICKED(IDC_PPD_BROWSE_EMPTY, &CPpDefault::OnBrowseEmpty)
    ON_BN_CLICKED(IDC_PPD_FORMAT_HELP, &CPpDefault::OnFormatHelp)
    ON_WM_DRAWITEM()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CPpDefault::CPpDefault() : CSettingsPage(IDD_PP_DEFAULT) {}

CPpDefault::~CPpDefault() {
    if (m_gothic) ::DeleteObject(m_gothic);
}

void CPpDefault::LoadSettings() {
    const CAppSettings& live = Live();
    CAppSettings::Generic& g = m_settings.generic;
    g.dateTimeFormat = live.generic.dateTimeFormat;
    g.imageInterpolationMode = live.generic.imageInterpolationMode;
    g.appTitle = live.generic.appTitle;
    g.checkFileModify = live.generic.checkFileModify;
    m_settings.bass.playTriggerStart = live.bass.playTriggerStart;
    m_settings.bass.playTriggerStop = live.bass.playTriggerStop;
    m_settings.playlistView.playlistRestore = live.playlistView.playlistRestore;
    g.ratingType = live.generic.ratingType;
    g.ratingIcon10 = live.generic.ratingIcon10;
    g.ratingIcon00 = live.generic.ratingIcon00;
    g.ratingImageWidth = live.generic.ratingImageWidth;
    g.ratingImageHeight = live.generic.ratingImageHeight;
}

void CPpDefault::ApplySettings(CAppSettings& live) {
    const CAppSettings::Generic& g = m_settings.generic;
    live.generic.dateTimeFormat = g.dateTimeFormat;
    live.generic.imageInterpolationMode = g.imageInterpolationMode;
    live.generic.appTitle = g.appTitle;
    live.generic.checkFileModify = g.checkFileModify;
    live.bass.playTriggerStart = m_settings.bass.playTriggerStart;
    live.bass.playTriggerStop = m_settings.bass.playTriggerStop;
    live.playlistView.playlistRestore = m_settings.playlistView.playlistRestore;
    live.generic.ratingType = g.ratingType;
    live.generic.ratingIcon10 = g.ratingIcon10;
    live.generic.ratingIcon00 = g.ratingIcon00;
}

void CPpDefault::FillControls() {
    // The texts are set before the handlers could store anything: copies of the fields.
    const CAppSettings::Generic g = m_settings.generic;
    const CAppSettings::Bass bass = m_settings.bass;

    for (const wchar_t* format : kDateFormats) SendDlgItemMessage(IDC_PPD_DATE_FORMAT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(format));
    SetDlgItemText(IDC_PPD_DATE_FORMAT, g.dateTimeFormat);

    for (const NamedValue& mode : kInterpolation) AddItem(IDC_PPD_INTERPOLATION, mode.text, mode.value);
    SelectData(IDC_PPD_INTERPOLATION, g.imageInterpolationMode);

    m_gothic = MakeGothicFont(IDC_PPD_APP_TITLE);
    for (int id : {IDC_PPD_APP_TITLE, IDC_PPD_TRIGGER_START, IDC_PPD_TRIGGER_STOP})
        SendDlgItemMessage(id, WM_SETFONT, reinterpret_cast<WPARAM>(m_gothic), TRUE);
    SetDlgItemText(IDC_PPD_APP_TITLE, g.appTitle);
    SetDlgItemText(IDC_PPD_TRIGGER_START, bass.playTriggerStart);
    SetDlgItemText(IDC_PPD_TRIGGER_STOP, bass.playTriggerStop);
    CheckDlgButton(IDC_PPD_RESTORE, m_settings.playlistView.playlistRestore ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_PPD_CHECK_MODIFY, g.checkFileModify ? BST_CHECKED : BST_UNCHECKED);

    for (const NamedValue& type : kRatingTypes) AddItem(IDC_PPD_RATING_TYPE, type.text, type.value);
    SendDlgItemMessage(IDC_PPD_RATING_TYPE, CB_SETCURSEL, 0);
    SelectData(IDC_PPD_RATING_TYPE, g.ratingType);
    SetDlgItemText(IDC_PPD_STAR_FULL, g.ratingIcon10);
    SetDlgItemText(IDC_PPD_STAR_EMPTY, g.ratingIcon00);

    // Filling the edits told the handlers: the record holds the stored values again.
    m_settings.generic = g;
    m_settings.bass = bass;
    EnableCustomIcons();
}

bool CPpDefault::ValidateSettings() {
    const CAppSettings::Generic& g = m_settings.generic;
    if (g.ratingType == -1 && (g.ratingIcon10.empty() || g.ratingIcon00.empty())) {
        AfxMessageBox(L"画像ファイルを設定してください。", MB_ICONEXCLAMATION);
        if (HWND edit = ::GetDlgItem(m_hWnd, IDC_PPD_STAR_FULL)) ::SetFocus(edit);
        return false;
    }
    return true;
}

void CPpDefault::OnDateSelChange() {
    // The edit is not updated yet: the text is the list item's.
    const LRESULT index = SendDlgItemMessage(IDC_PPD_DATE_FORMAT, CB_GETCURSEL);
    if (index < 0) return;
    const LRESULT length = SendDlgItemMessage(IDC_PPD_DATE_FORMAT, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0) return;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendDlgItemMessage(IDC_PPD_DATE_FORMAT, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    m_settings.generic.dateTimeFormat = text;
    Redraw(IDC_PPD_DATE_PREVIEW);
    Modified();
}

void CPpDefault::OnDateEdit() {
    m_settings.generic.dateTimeFormat = ItemText(IDC_PPD_DATE_FORMAT);
    Redraw(IDC_PPD_DATE_PREVIEW);
    Modified();
}

void CPpDefault::OnInterpolation() {
    m_settings.generic.imageInterpolationMode =
        SelectedData(IDC_PPD_INTERPOLATION, m_settings.generic.imageInterpolationMode);
    Modified();
}

void CPpDefault::OnAppTitle() {
    m_settings.generic.appTitle = ItemText(IDC_PPD_APP_TITLE);
    Modified();
}

void CPpDefault::OnRestore() {
    m_settings.playlistView.playlistRestore = IsChecked(IDC_PPD_RESTORE);
    Modified();
}

void CPpDefault::OnCheckModify() {
    m_settings.generic.checkFileModify = IsChecked(IDC_PPD_CHECK_MODIFY);
    Modified();
}

void CPpDefault::OnTriggerStart() {
    m_settings.bass.playTriggerStart = ItemText(IDC_PPD_TRIGGER_START);
    Modified();
}

void CPpDefault::OnTriggerStop() {
    m_settings.bass.playTriggerStop = ItemText(IDC_PPD_TRIGGER_STOP);
    Modified();
}

void CPpDefault::OnRatingType() {
    m_settings.generic.ratingType = SelectedData(IDC_PPD_RATING_TYPE, m_settings.generic.ratingType);
    Redraw(IDC_PPD_RATING_PREVIEW);
    EnableCustomIcons();
    Modified();
}

void CPpDefault::OnStarFull() {
    m_settings.generic.ratingIcon10 = ItemText(IDC_PPD_STAR_FULL);
    Redraw(IDC_PPD_RATING_PREVIEW);
    Modified();
}

void CPpDefault::OnStarEmpty() {
    m_settings.generic.ratingIcon00 = ItemText(IDC_PPD_STAR_EMPTY);
    Redraw(IDC_PPD_RATING_PREVIEW);
    Modified();
}

void CPpDefault::OnBrowseFull() { Browse(IDC_PPD_STAR_FULL, L"星有り画像"); }

void CPpDefault::OnBrowseEmpty() { Browse(IDC_PPD_STAR_EMPTY, L"星無し画像"); }

void CPpDefault::Browse(int editId, const wchar_t* title) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING, kImageFilter, this);
    dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK) return;
    SetDlgItemText(editId, dialog.GetPathName());
}

void CPpDefault::OnFormatHelp() { settings_paint::OpenLink(m_hWnd, kFormatHelpAddress); }

void CPpDefault::EnableCustomIcons() {
    const BOOL custom = m_settings.generic.ratingType == -1;
    for (int id : kCustomIconControls)
        if (HWND control = ::GetDlgItem(m_hWnd, id)) ::EnableWindow(control, custom);
}

BOOL CPpDefault::OnSetCursor(HWND wnd, UINT hitTest, UINT message) {
    if (wnd == ::GetDlgItem(m_hWnd, IDC_PPD_FORMAT_HELP) && m_pDoc && Live().generic.handCursor) {
        ::SetCursor(Live().generic.handCursor);
        return TRUE;
    }
    return static_cast<BOOL>(Default(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(hitTest, message)));
}

void CPpDefault::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    if (!item) return;
    if (id == IDC_PPD_DATE_PREVIEW) DrawDatePreview(*item);
    else if (id == IDC_PPD_RATING_PREVIEW) DrawRatingPreview(*item);
    else if (id == IDC_PPD_FORMAT_HELP) settings_paint::Link(*item, GetFont());
    else CWnd::OnDrawItem(id, item);
}

void CPpDefault::DrawDatePreview(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    FillSolidRect(dc, item.rcItem, ::GetSysColor(COLOR_WINDOW));
    settings_paint::Text(dc, FormatDatePreview(m_settings.generic.dateTimeFormat), item.rcItem, GetFont(),
                         ::GetSysColor(COLOR_WINDOWTEXT), DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    settings_paint::Frame(dc, item.rcItem);
}

void CPpDefault::DrawRatingPreview(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    FillSolidRect(dc, r, ::GetSysColor(COLOR_WINDOW));
    ::SetBkMode(dc, TRANSPARENT);
    HIMAGELIST images = nullptr;
    CreateRatingImageList(images, m_settings, false);
    const int w = m_settings.generic.ratingImageWidth;
    const int h = m_settings.generic.ratingImageHeight;
    const int x = r.left + (r.right - r.left - 5 * w) / 2;
    const int y = r.top + (r.bottom - r.top - h) / 2;
    if (images) {
        for (int k = 1; k <= 5; ++k) ImageList_Draw(images, 10 * k <= 30 ? 1 : 0, dc, x + (k - 1) * w, y, ILD_TRANSPARENT);
        ImageList_Destroy(images);
    }
    settings_paint::Frame(dc, r);
}
