#include "ui/dialogs/SettingsPage.h"
#include "ui/controls/DrawnText.h"
#include "ui/controls/GdiSelectors.h"
#include "document/Larkspur2006Doc.h"
#include "framework/CommonDialogs.h"
#include "ui/views/NowPlayingData.h"
#include <shellapi.h>
#include <cwchar>

CAppSettings& CSettingsPage::Live() const { return m_pDoc->GetSettings(); }

BOOL CSettingsPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (m_pDoc) {
        LoadSettings();
        m_loaded = true;
        FillControls();
    }
    SetModified(FALSE);
    return TRUE;
}

BOOL CSettingsPage::OnApply() {
    if (!m_loaded) return TRUE;
    if (!ValidateSettings()) return FALSE;
    {
        NowPlayingLockGuard lock;
        ApplySettings(Live());
    }
    AfterApply();
    return CPropertyPage::OnApply();
}

void CSettingsPage::OnOK() {
    if (!m_loaded) return;
    NowPlayingLockGuard lock;
    ApplySettings(Live());
}

void CSettingsPage::AfterApply() {
    if (m_pDoc) m_pDoc->UpdateAllViews(nullptr, 5, nullptr);
}

bool CSettingsPage::PickColor(COLORREF& color) {
    CColorDialog dialog(color, CC_FULLOPEN, this);
    if (dialog.DoModal() != IDOK) return false;
    color = dialog.GetColor();
    return true;
}

bool CSettingsPage::PickFont(std::wstring& faceName, int& pointSize) {
    LOGFONTW lf{};
    HDC dc = ::GetDC(m_hWnd);
    lf.lfHeight = -::MulDiv(pointSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(m_hWnd, dc);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, faceName.c_str(), LF_FACESIZE);
    CFontDialog dialog(&lf, CF_SCREENFONTS | CF_NOSTYLESEL, nullptr, this);
    dialog.m_cf.iPointSize = pointSize * 10;
    if (dialog.DoModal() != IDOK) return false;
    faceName = dialog.GetFaceName();
    pointSize = dialog.GetSize() / 10;
    return true;
}

int CSettingsPage::AddItem(int id, const std::wstring& text, int data) {
    const LRESULT index = SendDlgItemMessage(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) SendDlgItemMessage(id, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
    return static_cast<int>(index);
}

bool CSettingsPage::SelectData(int id, int data) {
    const int count = static_cast<int>(SendDlgItemMessage(id, CB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        if (static_cast<int>(SendDlgItemMessage(id, CB_GETITEMDATA, static_cast<WPARAM>(i))) == data) {
            SendDlgItemMessage(id, CB_SETCURSEL, static_cast<WPARAM>(i));
            return true;
        }
    }
    return false;
}

int CSettingsPage::SelectedData(int id, int fallback) const {
    const LRESULT index = SendDlgItemMessage(id, CB_GETCURSEL);
    if (index < 0) return fallback;
    return static_cast<int>(SendDlgItemMessage(id, CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

void CSettingsPage::FillAlphaList(int id, int value) {
    for (int percent = 10; percent <= 90; percent += 10) {
        wchar_t text[16];
        std::swprintf(text, 16, L"%02d %%", percent);
        AddItem(id, text, percent);
    }
    AddItem(id, L"透過無し", 100);
    if (!SelectData(id, value)) SendDlgItemMessage(id, CB_SETCURSEL, 0);
}

void CSettingsPage::Redraw(int id) const {
    if (HWND control = ::GetDlgItem(m_hWnd, id)) ::InvalidateRect(control, nullptr, FALSE);
}

HFONT CSettingsPage::MakeGothicFont(int id) const {
    LOGFONTW lf{};
    HFONT base = reinterpret_cast<HFONT>(SendDlgItemMessage(id, WM_GETFONT));
    if (!base || !::GetObjectW(base, sizeof lf, &lf)) {
        lf.lfHeight = -12;
        lf.lfCharSet = DEFAULT_CHARSET;
    }
    lstrcpynW(lf.lfFaceName, L"MS Gothic", LF_FACESIZE);
    return ::CreateFontIndirectW(&lf);
}

namespace settings_paint {

void Frame(HDC dc, const RECT& r) {
    HBRUSH brush = ::CreateSolidBrush(RGB(0x20, 0x20, 0x20));
    ::FrameRect(dc, &r, brush);
    ::DeleteObject(brush);
}

HFONT MakeFont(HDC dc, const std::wstring& faceName, int pointSize, int weight) {
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(pointSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, faceName.c_str(), LF_FACESIZE);
    return ::CreateFontIndirectW(&lf);
}

std::wstring FontSample(const std::wstring& faceName, int pointSize) {
    // The face name comes from config.ini and may be of any length.
    return faceName + L" : " + std::to_wstring(pointSize) + L" pt";
}

void Text(HDC dc, const std::wstring& text, RECT r, HFONT font, COLORREF color, UINT format) {
    HGDIOBJ old = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color);
    if (format & DT_SINGLELINE) DrawTextLine(dc, text, r, format | DT_NOPREFIX);
    else ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
    ::SelectObject(dc, old);
}

void Link(const DRAWITEMSTRUCT& item, HFONT pageFont) {
    LOGFONTW lf{};
    if (!pageFont || !::GetObjectW(pageFont, sizeof lf, &lf)) {
        lf.lfHeight = -12;
        lf.lfCharSet = DEFAULT_CHARSET;
    }
    lf.lfUnderline = TRUE;
    HFONT font = ::CreateFontIndirectW(&lf);
    const int n = ::GetWindowTextLengthW(item.hwndItem);
    std::wstring caption(static_cast<size_t>(n) + 1, L'\0');
    caption.resize(static_cast<size_t>(::GetWindowTextW(item.hwndItem, &caption[0], n + 1)));
    // The page's own background (themed pages are not the button face colour).
    HBRUSH background = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(item.hwndItem), WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(item.hDC),
                                                               reinterpret_cast<LPARAM>(item.hwndItem)));
    if (background) ::FillRect(item.hDC, &item.rcItem, background);
    else FillSolidRect(item.hDC, item.rcItem, ::GetSysColor(COLOR_BTNFACE));
    ::SetBkMode(item.hDC, TRANSPARENT);
    HGDIOBJ old = ::SelectObject(item.hDC, font);
    ::SetTextColor(item.hDC, RGB(0, 0, 255));
    RECT r = item.rcItem;
    ::DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &r,
                DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
    ::SelectObject(item.hDC, old);
    ::DeleteObject(font);
}

void OpenLink(HWND owner, const std::wstring& address) {
    ::ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace settings_paint
