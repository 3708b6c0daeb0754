#include "ui/controls/GdiSelectors.h"

CPenSelector::CPenSelector(HDC dc, COLORREF color)
    : m_dc(dc), m_pen(::CreatePen(PS_SOLID, 1, color)), m_old(::SelectObject(dc, m_pen)) {}

CPenSelector::~CPenSelector() {
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_pen);
}

CBrushSelector::CBrushSelector(HDC dc, COLORREF color) : m_dc(dc) {
    if (color != CLR_INVALID) m_brush = ::CreateSolidBrush(color);
    m_old = ::SelectObject(dc, m_brush ? static_cast<HGDIOBJ>(m_brush) : ::GetStockObject(NULL_BRUSH));
}

CBrushSelector::~CBrushSelector() {
    ::SelectObject(m_dc, m_old);
    if (m_brush) ::DeleteObject(m_brush);
}

CBoldFontSelector::CBoldFontSelector(bool bold, HDC dc) : m_dc(dc) {
    LOGFONTW lf{};
    HGDIOBJ current = ::GetCurrentObject(dc, OBJ_FONT);
    if (!current || !::GetObjectW(current, sizeof lf, &lf)) return;
    const bool isBold = lf.lfWeight == FW_BOLD;
    if (bold == isBold) return;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    m_font = ::CreateFontIndirectW(&lf);
    if (m_font) m_old = ::SelectObject(dc, m_font);
}

CBoldFontSelector::~CBoldFontSelector() {
    if (!m_font) return;
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_font);
}

void FillSolidRect(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
}

void FrameSolidRect(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FrameRect(dc, &rect, brush);
    ::DeleteObject(brush);
}
