#include "ui/controls/DibDC.h"

CDibDC::CDibDC(HDC dc, int cx, int cy) : m_cx(cx), m_cy(cy) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    m_dc = ::CreateCompatibleDC(dc);
    void* bits = nullptr;
    if (m_dc) m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_bitmap || !bits) return;
    m_old = ::SelectObject(m_dc, m_bitmap);
    m_bits = static_cast<DWORD*>(bits);
}

CDibDC::~CDibDC() {
    if (m_old) ::SelectObject(m_dc, m_old);
    if (m_bitmap) ::DeleteObject(m_bitmap);
    if (m_dc) ::DeleteDC(m_dc);
}
