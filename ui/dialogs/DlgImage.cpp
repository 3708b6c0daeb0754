#include "ui/dialogs/DlgImage.h"
#include "framework/PopupMenu.h"
#include "resources/resource.h"
#include "ui/controls/OdMenu.h"
#include "ui/dialogs/FloatingWindow.h"
#include "ui/views/CoverPicture.h"
#include "ui/views/GdiplusText.h"
#include "ui/views/NowPlayingData.h"
#include "ui/views/NowPlayingWorkers.h"
#include "tags/CoverImageBuffer.h"
#include <gdiplus.h>
#include <cwchar>

UINT CDlgImage::s_layoutMsg = MsgImageLayout();

std::wstring CoverWindowTitle(bool hasPicture, int zoom, int width, int height) {
    if (!hasPicture) return L"ジャケットウインドウ";
    wchar_t text[128];
    swprintf(text, 128, L"%ls - %d%% (%d x %d)", L"ジャケットウインドウ", zoom, width, height);
    return text;
}

BEGIN_MESSAGE_MAP(CDlgImage, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_REGISTERED_MESSAGE(CDlgImage::s_layoutMsg, &CDlgImage::OnImageLayout)
    ON_MESSAGE(WM_SIZING, &CDlgImage::OnSizing)
    ON_MESSAGE(WM_SHOWWINDOW, &CDlgImage::OnShowWindow)
END_MESSAGE_MAP()

CDlgImage::CDlgImage(CAppSettings& settings) : CDialog(IDD_IMAGE), m_settings(settings) {}

CDlgImage::~CDlgImage() {
    if (m_hWnd) DestroyWindow();
    FreeBackBuffer();
    if (m_menu) ::DestroyMenu(m_menu);
}

BOOL CDlgImage::Create(CWnd* owner) {
    if (!CDialog::Create(IDD_IMAGE, owner)) return FALSE;
    ShowBySetting();
    return TRUE;
}

void CDlgImage::ShowBySetting() {
    if (!m_hWnd) return;
    if (Settings().windowShow) {
        ShowWindow(SW_SHOWNOACTIVATE);
        ::SetForegroundWindow(m_hWnd);
    } else {
        ShowWindow(SW_HIDE);
    }
}

BOOL CDlgImage::OnInitDialog() {
    CDialog::OnInitDialog();
    if (Settings().windowAlpha < 100) ::ApplyWindowOpacity(m_hWnd, Settings().windowAlpha, false);
    HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                 16, 16, LR_SHARED));
    if (icon) SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    RestoreFloatingPlacement(m_hWnd, Settings().placement);
    UpdateLayout();
    m_menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_IMAGE_MENU));
    return TRUE;
}

void CDlgImage::ApplyWindowOpacity() {
    if (!m_hWnd) return;
    ::ApplyWindowOpacity(m_hWnd, Settings().windowAlpha, ::GetFocus() == m_hWnd);
    m_bufferValid = false;
    Invalidate(FALSE);
}

void CDlgImage::SetZoom(int zoom) {
    m_zoom = ClampCoverZoom(zoom);
    UpdateLayout();
}

void CDlgImage::SetImage(Gdiplus::Image* image) {
    m_picture.reset();
    m_width = m_height = 0;
    if (image && image->GetWidth() > 0 && image->GetHeight() > 0) {
        const int w = static_cast<int>(image->GetWidth()), h = static_cast<int>(image->GetHeight());
        std::unique_ptr<Gdiplus::Bitmap> copy(new Gdiplus::Bitmap(w, h, PixelFormat32bppPARGB));
        if (copy->GetLastStatus() == Gdiplus::Ok) {
            Gdiplus::Graphics g(copy.get());
            if (g.DrawImage(image, 0, 0, w, h) == Gdiplus::Ok) {
                m_picture = std::move(copy);
                m_width = w;
                m_height = h;
            }
        }
    }
    if (m_picture) {
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        m_zoom = ChooseCoverZoom(m_width, m_height, work.right - work.left, work.bottom - work.top);
    }
}

SIZE CDlgImage::FrameSize() const {
    RECT window, client;
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    return SIZE{(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
}

void CDlgImage::UpdateLayout() {
    if (!m_hWnd) return;
    RECT desktop{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0);
    RECT window;
    GetWindowRect(&window);
    int x = window.left, y = window.top;
    if (x < 0 || x > desktop.right - desktop.left) x = 0;
    if (y < 0 || y > desktop.bottom - desktop.top) y = 0;
    if (x != window.left || y != window.top) SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    const SIZE frame = FrameSize();
    int cw = 200, ch = 200;
    if (m_picture) {
        cw = static_cast<int>(static_cast<long long>(m_width) * m_zoom / 100);
        ch = static_cast<int>(static_cast<long long>(m_height) * m_zoom / 100);
    }
    SetWindowPos(nullptr, 0, 0, cw + frame.cx, ch + frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(&client);
    SetWindowText(CoverWindowTitle(m_picture != nullptr, m_zoom, client.right, client.bottom));
    m_bufferValid = false;
    if (IsWindowVisible()) Invalidate(FALSE);
}

void CDlgImage::FreeBackBuffer() {
    if (m_bufferDC) {
        ::SelectObject(m_bufferDC, m_bufferOld);
        ::DeleteDC(m_bufferDC);
    }
    if (m_bufferBitmap) ::DeleteObject(m_bufferBitmap);
    m_bufferDC = nullptr;
    m_bufferBitmap = nullptr;
    m_bufferOld = nullptr;
    m_bufferValid = false;
}

void CDlgImage::DrawImage() {
    if (m_lock) ::EnterCriticalSection(m_lock);
    FreeBackBuffer();
    RECT client;
    GetClientRect(&client);
    const int w = client.right > 0 ? client.right : 1, h = client.bottom > 0 ? client.bottom : 1;
    HDC screen = ::GetDC(m_hWnd);
    m_bufferDC = ::CreateCompatibleDC(screen);
    m_bufferBitmap = ::CreateCompatibleBitmap(screen, w, h);
    ::ReleaseDC(m_hWnd, screen);
    m_bufferOld = ::SelectObject(m_bufferDC, m_bufferBitmap);
    {
        Gdiplus::Graphics g(m_bufferDC);
        if (m_picture) {
            g.SetInterpolationMode(static_cast<Gdiplus::InterpolationMode>(m_settings.generic.imageInterpolationMode));
            g.DrawImage(m_picture.get(), Gdiplus::Rect(0, 0, w, h));
        } else {
            const COLORREF bg = Settings().colorBackground, fg = Settings().colorText;
            g.Clear(Gdiplus::Color(255, GetRValue(bg), GetGValue(bg), GetBValue(bg)));
            std::unique_ptr<Gdiplus::Font> font = MakeGdiplusFont(Settings().fontName, static_cast<float>(Settings().fontSize));
            Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(fg), GetGValue(fg), GetBValue(fg)));
            Gdiplus::StringFormat format;
            format.SetAlignment(Gdiplus::StringAlignmentCenter);
            format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
            g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
            if (font) g.DrawString(L"No image.", -1, font.get(), Gdiplus::RectF(0, 0, static_cast<float>(w), static_cast<float>(h)),
                                   &format, &brush);
        }
    }
    m_bufferValid = true;
    if (m_lock) ::LeaveCriticalSection(m_lock);
}

void CDlgImage::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (!m_bufferValid && IsWindowVisible()) DrawImage();
    if (m_bufferDC) {
        RECT client;
        GetClientRect(&client);
        ::BitBlt(dc, 0, 0, client.right, client.bottom, m_bufferDC, 0, 0, SRCCOPY);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CDlgImage::OnDestroy() {
    WINDOWPLACEMENT wp{sizeof wp};
    if (::GetWindowPlacement(m_hWnd, &wp)) Settings().placement = wp;
    FreeBackBuffer();
    Default(WM_DESTROY, 0, 0);
}

void CDlgImage::OnLButtonDown(UINT, POINT point) {
    ::SetCapture(m_hWnd);
    m_dragging = true;
    m_dragStart = point;
}

void CDlgImage::OnMouseMove(UINT, POINT point) {
    if (!m_dragging || ::GetCapture() != m_hWnd) return;
    RECT window;
    GetWindowRect(&window);
    SetWindowPos(nullptr, window.left + point.x - m_dragStart.x, window.top + point.y - m_dragStart.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDlgImage::OnLButtonUp(UINT, POINT) {
    m_dragging = false;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CDlgImage::OnRButtonUp(UINT, POINT point) {
    if (!m_menu) return;
    HMENU popup = ::GetSubMenu(m_menu, 0);
    ::CheckMenuItem(popup, ID_IMAGE_ZOOM100, MF_BYCOMMAND | (m_zoom == 100 ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(popup, ID_IMAGE_ZOOM50, MF_BYCOMMAND | (m_zoom == 50 ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(popup, ID_IMAGE_ZOOM200, MF_BYCOMMAND | (m_zoom == 200 ? MF_CHECKED : MF_UNCHECKED));
    ClientToScreen(&point);
    const UINT command = static_cast<UINT>(AfxTrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON,
                                                             point.x, point.y, m_hWnd));
    switch (command) {
    case ID_IMAGE_ZOOM100: SetZoom(100); break;
    case ID_IMAGE_ZOOM50: SetZoom(50); break;
    case ID_IMAGE_ZOOM200: SetZoom(200); break;
    default: break;
    }
}

void CDlgImage::OnSetFocus(HWND) {
    if (Settings().windowAlpha < 100) ::ApplyWindowOpacity(m_hWnd, Settings().windowAlpha, true);
}

void CDlgImage::OnKillFocus(HWND) {
    if (Settings().windowAlpha < 100) ::ApplyWindowOpacity(m_hWnd, Settings().windowAlpha, false);
}

void CDlgImage::OnCancel() {
    ShowWindow(SW_HIDE);
    Settings().windowShow = false;
}

LRESULT CDlgImage::OnImageLayout(WPARAM wParam, LPARAM lParam) {
    std::unique_ptr<CoverImageHolder> holder(reinterpret_cast<CoverImageHolder*>(wParam));
    std::unique_ptr<tagReader::CoverImageBuffer> buffer(reinterpret_cast<tagReader::CoverImageBuffer*>(lParam));
    SetImage(holder ? holder->image : nullptr);
    UpdateLayout();
    holder.reset();   // the image reads the buffer's stream: it goes first
    return TRUE;      // taken: the sender frees nothing
}

LRESULT CDlgImage::OnSizing(WPARAM wParam, LPARAM lParam) {
    if (!m_picture) return Default(WM_SIZING, wParam, lParam);
    auto* r = reinterpret_cast<RECT*>(lParam);
    const SIZE frame = FrameSize();
    m_zoom = KeepCoverAspect(static_cast<int>(wParam), *r, frame.cx, frame.cy, m_width, m_height);
    m_bufferValid = false;
    return TRUE;
}

LRESULT CDlgImage::OnShowWindow(WPARAM wParam, LPARAM lParam) {
    SyncAppWindowStyle(m_hWnd, wParam != 0);
    return Default(WM_SHOWWINDOW, wParam, lParam);
}

// The zoom menu is owner-drawn like every menu of the main window.
BOOL CDlgImage::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (OdMenuOnMessage(m_hWnd, msg, wParam, lParam, result)) return TRUE;
    return CDialog::OnWndMsg(msg, wParam, lParam, result);
}
