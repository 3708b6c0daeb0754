#include "ui/controls/BufferDC.h"

CBufferDC::CBufferDC(const RECT& rect, HDC target) : m_target(target), m_rect(rect) {
    if (::IsRectEmpty(&m_rect)) ::GetClipBox(target, &m_rect);
    m_hDC = ::CreateCompatibleDC(target);
    // As wide and high as the rectangle's far edges, so the buffer shares the target's
    // coordinates; what lies above or left of the rectangle is clipped away.
    const int width = m_rect.right > 0 ? m_rect.right : 1;
    const int height = m_rect.bottom > 0 ? m_rect.bottom : 1;
    m_bitmap = ::CreateCompatibleBitmap(target, width, height);
    if (m_hDC && m_bitmap) m_oldBitmap = ::SelectObject(m_hDC, m_bitmap);
    if (m_hDC) {
        if (m_rect.top > 0) ::ExcludeClipRect(m_hDC, 0, 0, width, m_rect.top);
        if (m_rect.left > 0) ::ExcludeClipRect(m_hDC, 0, 0, m_rect.left, height);
    }
}

CBufferDC::~CBufferDC() {
    if (m_hDC && m_oldBitmap) {
        ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left,
                 m_rect.bottom - m_rect.top, m_hDC, m_rect.left, m_rect.top, SRCCOPY);
        ::SelectObject(m_hDC, m_oldBitmap);
    }
    if (m_bitmap) ::DeleteObject(m_bitmap);
    if (m_hDC) ::DeleteDC(m_hDC);
}
