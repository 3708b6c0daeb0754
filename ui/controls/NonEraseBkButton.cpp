#include "ui/controls/NonEraseBkButton.h"

BEGIN_MESSAGE_MAP(CNonEraseBkButtonBass, CButton)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CNonEraseBkButtonBass::OnEraseBkgnd(HDC) { return TRUE; }

namespace {
class Lock {
public:
    explicit Lock(CRITICAL_SECTION* cs) : m_cs(cs) { if (m_cs) ::EnterCriticalSection(m_cs); }
    ~Lock() { if (m_cs) ::LeaveCriticalSection(m_cs); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION* m_cs;
};
}  // namespace

CNonEraseBkButton::~CNonEraseBkButton() {
    Lock lock(m_pLock);
    FreeBackBuffer();
}

void CNonEraseBkButton::FreeBackBuffer() {
    if (m_memDC && m_oldBitmap) ::SelectObject(m_memDC, m_oldBitmap);
    if (m_bitmap) ::DeleteObject(m_bitmap);
    if (m_memDC) ::DeleteDC(m_memDC);
    m_memDC = nullptr;
    m_bitmap = nullptr;
    m_oldBitmap = nullptr;
}

void CNonEraseBkButton::CreateBackBuffer(COLORREF color, CRITICAL_SECTION* lock) {
    m_pLock = lock;
    Lock hold(m_pLock);
    m_hasPicture = true;
    FreeBackBuffer();
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_width = client.right;
    m_height = client.bottom;
    HDC windowDC = ::GetDC(m_hWnd);
    m_memDC = ::CreateCompatibleDC(windowDC);
    m_bitmap = ::CreateCompatibleBitmap(windowDC, m_width > 0 ? m_width : 1, m_height > 0 ? m_height : 1);
    ::ReleaseDC(m_hWnd, windowDC);
    if (!m_memDC || !m_bitmap) {
        FreeBackBuffer();
        m_hasPicture = false;
        return;
    }
    m_oldBitmap = ::SelectObject(m_memDC, m_bitmap);
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(m_memDC, &client, brush);
    ::DeleteObject(brush);
}

void CNonEraseBkButton::ResizeBackBuffer(int width, int height) {
    Lock hold(m_pLock);
    HBITMAP bigger = ::CreateCompatibleBitmap(m_memDC, width, height);
    if (!bigger) return;
    HDC temp = ::CreateCompatibleDC(m_memDC);
    HGDIOBJ tempOld = ::SelectObject(temp, bigger);
    if (m_hasPicture && (m_width || m_height)) {
        ::SetStretchBltMode(temp, COLORONCOLOR);
        ::StretchBlt(temp, 0, 0, width, height, m_memDC, 0, 0, m_width, m_height, SRCCOPY);
    }
    ::SelectObject(temp, tempOld);
    ::DeleteDC(temp);
    ::SelectObject(m_memDC, bigger);
    ::DeleteObject(m_bitmap);
    m_bitmap = bigger;
    m_width = width;
    m_height = height;
}

LRESULT CNonEraseBkButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE) {
        const int width = static_cast<short>(LOWORD(lParam));
        const int height = static_cast<short>(HIWORD(lParam));
        // A minimised window reports 0 x 0: the picture stays as it is.
        if (width > 0 && height > 0 && m_memDC) ResizeBackBuffer(width, height);
    }
    return CNonEraseBkButtonBass::WindowProc(msg, wParam, lParam);
}
