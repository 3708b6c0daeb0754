#include "ui/dialogs/DlgLyrics.h"
#include "resources/resource.h"
#include "ui/dialogs/FloatingWindow.h"
#include "ui/views/NowPlayingData.h"

UINT CDlgLyrics::s_setTextMsg = MsgLyricsSetText();

LRESULT CLyricsEdit::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
        const int alpha = m_owner.Settings().windowAlpha;
        if (alpha < 100 && m_owner.m_hWnd) ApplyWindowOpacity(m_owner.m_hWnd, alpha, msg == WM_SETFOCUS);
    }
    return CEdit::WindowProc(msg, wParam, lParam);
}

BEGIN_MESSAGE_MAP(CDlgLyrics, CDialog)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_CTLCOLOR()
    ON_REGISTERED_MESSAGE(CDlgLyrics::s_setTextMsg, &CDlgLyrics::OnSetLyricsText)
    ON_MESSAGE(WM_SHOWWINDOW, &CDlgLyrics::OnShowWindow)
END_MESSAGE_MAP()

CDlgLyrics::CDlgLyrics(CAppSettings& settings) : CDialog(IDD_LYRICS), m_settings(settings), m_edit(*this) {}

CDlgLyrics::~CDlgLyrics() {
    if (m_hWnd) DestroyWindow();
    if (m_font) ::DeleteObject(m_font);
    if (m_brush) ::DeleteObject(m_brush);
}

BOOL CDlgLyrics::Create(CWnd* owner) {
    if (!CDialog::Create(IDD_LYRICS, owner)) return FALSE;
    ShowBySetting();
    return TRUE;
}

void CDlgLyrics::ShowBySetting() {
    if (!m_hWnd) return;
    if (Settings().windowShow) {
        ShowWindow(SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
    } else {
        ShowWindow(SW_HIDE);
    }
}

void CDlgLyrics::MakeFont() {
    if (m_font) ::DeleteObject(m_font);
    HDC dc = ::GetDC(nullptr);
    const int height = -::MulDiv(Settings().fontSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, dc);
    m_font = ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, Settings().fontName.c_str());
}

BOOL CDlgLyrics::OnInitDialog() {
    CDialog::OnInitDialog();
    if (Settings().windowAlpha < 100) ApplyWindowOpacity(m_hWnd, Settings().windowAlpha, false);
    MakeFont();
    ::SendDlgItemMessageW(m_hWnd, IDC_LYRICS_EDIT, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                 16, 16, LR_SHARED));
    if (icon) SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    m_brush = ::CreateSolidBrush(Settings().colorBackground);
    RECT client;
    GetClientRect(&client);
    ::MoveWindow(::GetDlgItem(m_hWnd, IDC_LYRICS_EDIT), 0, 0, client.right, client.bottom, TRUE);
    RestoreFloatingPlacement(m_hWnd, Settings().placement);
    m_edit.SubclassDlgItem(IDC_LYRICS_EDIT, this);
    return TRUE;
}

void CDlgLyrics::ApplySettings() {
    if (!m_hWnd) return;
    MakeFont();
    if (m_edit.m_hWnd) m_edit.SetFont(m_font);
    if (m_brush) ::DeleteObject(m_brush);
    m_brush = ::CreateSolidBrush(Settings().colorBackground);
    const bool focused = m_edit.m_hWnd && ::GetFocus() == m_edit.m_hWnd;
    ApplyWindowOpacity(m_hWnd, Settings().windowAlpha, focused);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CDlgLyrics::OnCancel() {
    ShowWindow(SW_HIDE);
    Settings().windowShow = false;
}

void CDlgLyrics::OnSize(UINT, int cx, int cy) {
    HWND edit = ::GetDlgItem(m_hWnd, IDC_LYRICS_EDIT);
    if (edit) ::MoveWindow(edit, 0, 0, cx, cy, TRUE);
}

void CDlgLyrics::OnDestroy() {
    WINDOWPLACEMENT wp{sizeof wp};
    if (::GetWindowPlacement(m_hWnd, &wp)) Settings().placement = wp;
    if (m_edit.m_hWnd) m_edit.UnsubclassWindow();
    // Texts posted to this window and not yet taken would go with the window unread.
    MSG queued;
    while (::PeekMessageW(&queued, m_hWnd, s_setTextMsg, s_setTextMsg, PM_REMOVE))
        delete[] reinterpret_cast<wchar_t*>(queued.wParam);
    Default(WM_DESTROY, 0, 0);
}

HBRUSH CDlgLyrics::OnCtlColor(HDC dc, CWnd* wnd, UINT) {
    if (!wnd || wnd->GetDlgCtrlID() != IDC_LYRICS_EDIT) return nullptr;
    ::SetTextColor(dc, Settings().colorText);
    ::SetBkColor(dc, Settings().colorBackground);
    return m_brush;
}

LRESULT CDlgLyrics::OnSetLyricsText(WPARAM wParam, LPARAM) {
    auto* text = reinterpret_cast<wchar_t*>(wParam);
    HWND edit = ::GetDlgItem(m_hWnd, IDC_LYRICS_EDIT);
    if (edit) ::SetWindowTextW(edit, text ? text : L"");
    delete[] text;
    return 0;
}

LRESULT CDlgLyrics::OnShowWindow(WPARAM wParam, LPARAM lParam) {
    SyncAppWindowStyle(m_hWnd, wParam != 0);
    return Default(WM_SHOWWINDOW, wParam, lParam);
}
