#include "framework/ReBar.h"
#include "framework/FrameWnd.h"

void CReBarCtrl::PrepareBandInfo(REBARBANDINFOW& info, UINT mask) {
    info = REBARBANDINFOW{};
    // The version 6 record: the full structure of newer headers adds fields that older
    // controls refuse.
    info.cbSize = REBARBANDINFOW_V6_SIZE;
    info.fMask = mask;
}

BOOL CReBar::Create(CWnd* parent, DWORD ctrlStyle, DWORD style, UINT id) {
    if (!parent || !parent->m_hWnd) return FALSE;
    m_dwStyle = style & CBRS_ALL;
    const DWORD windowStyle = (style & ~CBRS_ALL) | ctrlStyle | CCS_NODIVIDER | CCS_NOPARENTALIGN;
    if (!CWnd::CreateEx(0, REBARCLASSNAMEW, nullptr, windowStyle, 0, 0, 0, 0, parent->m_hWnd, id))
        return FALSE;
    m_ctrl.m_hWnd = m_hWnd;
    REBARINFO info{};
    info.cbSize = sizeof info;
    SendMessage(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    AttachToFrame();
    return TRUE;
}

BOOL CReBar::AddBar(CWnd* bar, const wchar_t* text, HBITMAP bitmap, DWORD style) {
    if (!m_hWnd || !bar || !bar->m_hWnd) return FALSE;
    if (::GetParent(bar->m_hWnd) != m_hWnd) ::SetParent(bar->m_hWnd, m_hWnd);
    SIZE size{0, 0};
    if (auto* controlBar = dynamic_cast<CControlBar*>(bar)) {
        size = controlBar->CalcFixedLayout(FALSE, TRUE);
    } else {
        RECT r{};
        ::GetWindowRect(bar->m_hWnd, &r);
        size = SIZE{r.right - r.left, r.bottom - r.top};
    }
    REBARBANDINFOW band;
    CReBarCtrl::PrepareBandInfo(band, RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE |
                                          RBBIM_IDEALSIZE | (text ? RBBIM_TEXT : 0) |
                                          (bitmap ? RBBIM_BACKGROUND : 0));
    band.fStyle = style;
    if (!(::GetWindowLongPtrW(bar->m_hWnd, GWL_STYLE) & WS_VISIBLE)) band.fStyle |= RBBS_HIDDEN;
    band.hwndChild = bar->m_hWnd;
    band.cxMinChild = size.cx;
    band.cyMinChild = size.cy;
    band.cx = size.cx;
    band.cxIdeal = size.cx;
    band.lpText = const_cast<wchar_t*>(text);
    band.hbmBack = bitmap;
    return m_ctrl.InsertBand(static_cast<UINT>(-1), &band);
}

int CReBar::FindBand(HWND child) const {
    if (!m_hWnd || !child) return -1;
    const UINT count = m_ctrl.GetBandCount();
    for (UINT i = 0; i < count; ++i) {
        REBARBANDINFOW band;
        CReBarCtrl::PrepareBandInfo(band, RBBIM_CHILD);
        if (m_ctrl.GetBandInfo(i, &band) && band.hwndChild == child) return static_cast<int>(i);
    }
    return -1;
}

BOOL CReBar::ShowBandOf(HWND child, BOOL show) {
    const int index = FindBand(child);
    return index >= 0 ? m_ctrl.ShowBand(static_cast<UINT>(index), show) : FALSE;
}

SIZE CReBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    SIZE size{0, 0};
    if (m_hWnd) {
        // The control has already fitted its height to its rows of bands.
        RECT r{};
        ::GetWindowRect(m_hWnd, &r);
        // No row shown (no band, or every band hidden) takes no room.
        size.cy = m_ctrl.GetRowCount() > 0 ? r.bottom - r.top : 0;
        size.cx = r.right - r.left;
    }
    size.cx += m_cxLeftBorder + m_cxRightBorder;
    size.cy += m_cyTopBorder + m_cyBottomBorder;
    if (stretch) {
        if (horz) size.cx = 32767;
        else size.cy = 32767;
    }
    return size;
}
