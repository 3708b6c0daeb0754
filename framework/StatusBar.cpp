#include "framework/StatusBar.h"
#include "framework/MessageBox.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, &CStatusBar::OnSetText)
    ON_MESSAGE(WM_GETTEXT, &CStatusBar::OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, &CStatusBar::OnGetTextLength)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

namespace {
// Room around a pane's text inside its part.
int PanePadding() { return ::GetSystemMetrics(SM_CXEDGE); }
}  // namespace

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    return CreateEx(parent, 0, style, id);
}

BOOL CStatusBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, UINT id) {
    if (!parent || !parent->m_hWnd) return FALSE;
    m_dwStyle = style & CBRS_ALL;
    const DWORD windowStyle = (style & ~CBRS_ALL) | ctrlStyle | CCS_NODIVIDER;
    if (!CWnd::CreateEx(0, STATUSCLASSNAMEW, nullptr, windowStyle, 0, 0, 0, 0, parent->m_hWnd, id))
        return FALSE;
    // The control sizes itself to the height its font needs; from then on the frame places it.
    ::SendMessageW(m_hWnd, WM_SIZE, SIZE_RESTORED, 0);
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    m_height = r.bottom - r.top;
    if (m_height <= 0) m_height = 20;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | CCS_NORESIZE);
    AttachToFrame();
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    m_panes.clear();
    bool stretchGiven = false;
    for (int i = 0; ids && i < count; ++i) {
        Pane pane;
        pane.id = ids[i];
        if (pane.id == ID_SEPARATOR) {
            if (!stretchGiven) pane.style = SBPS_NOBORDERS | SBPS_STRETCH;
            stretchGiven = true;
        } else {
            pane.text = AfxLoadString(pane.id);
        }
        // As wide as its text in the bar's font.
        if (!pane.text.empty() && m_hWnd) {
            HDC dc = ::GetDC(m_hWnd);
            HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
            HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
            SIZE extent{};
            ::GetTextExtentPoint32W(dc, pane.text.c_str(), static_cast<int>(pane.text.size()), &extent);
            if (old) ::SelectObject(dc, old);
            ::ReleaseDC(m_hWnd, dc);
            pane.width = extent.cx;
        }
        m_panes.push_back(pane);
    }
    UpdateParts();
    return TRUE;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    if (index < 0 || index >= GetCount()) return;
    Pane& pane = m_panes[static_cast<size_t>(index)];
    pane.id = id;
    pane.style = style;
    pane.width = std::max(0, width);
    UpdateParts();
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    if (index < 0 || index >= GetCount()) {
        id = 0;
        style = 0;
        width = 0;
        return;
    }
    const Pane& pane = m_panes[static_cast<size_t>(index)];
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

UINT CStatusBar::GetPaneStyle(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].style : 0;
}

void CStatusBar::SetPaneStyle(int index, UINT style) {
    if (index < 0 || index >= GetCount()) return;
    const bool relayout = (m_panes[static_cast<size_t>(index)].style ^ style) & SBPS_STRETCH;
    m_panes[static_cast<size_t>(index)].style = style;
    if (relayout) UpdateParts();
    else ApplyText(index);
}

UINT CStatusBar::GetItemID(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].id : 0;
}

int CStatusBar::CommandToIndex(UINT id) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_panes[static_cast<size_t>(i)].id == id) return i;
    return -1;
}

BOOL CStatusBar::SetPaneText(int index, const wchar_t* text, BOOL update) {
    if (index < 0 || index >= GetCount()) return FALSE;
    Pane& pane = m_panes[static_cast<size_t>(index)];
    const std::wstring next = text ? text : L"";
    if (pane.text == next) return TRUE;
    pane.text = next;
    ApplyText(index);
    if (update && m_hWnd) {
        RECT r{};
        GetItemRect(index, &r);
        ::InvalidateRect(m_hWnd, &r, TRUE);
        ::UpdateWindow(m_hWnd);
    }
    return TRUE;
}

std::wstring CStatusBar::GetPaneText(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].text : std::wstring();
}

void CStatusBar::GetItemRect(int index, RECT* rect) const {
    if (!rect) return;
    *rect = RECT{0, 0, 0, 0};
    if (m_hWnd) SendMessage(SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect));
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

SIZE CStatusBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    SIZE size{0, m_height + m_cyTopBorder + m_cyBottomBorder};
    if (stretch && horz) size.cx = 32767;
    return size;
}

void CStatusBar::OnSize(UINT type, int cx, int cy) {
    Default(WM_SIZE, type, MAKELPARAM(cx, cy));
    UpdateParts();
}

void CStatusBar::UpdateParts() {
    if (!m_hWnd) return;
    const int count = GetCount();
    if (count == 0) {
        int whole = -1;
        SendMessage(SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
        return;
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    int borders[3] = {0, 0, 0};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const int gap = borders[2];
    const int grip = (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & SBARS_SIZEGRIP) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;

    // Fixed panes take their width; the stretching pane takes what is left.
    int fixed = borders[0] + grip;
    int stretching = -1;
    for (int i = 0; i < count; ++i) {
        const Pane& pane = m_panes[static_cast<size_t>(i)];
        if ((pane.style & SBPS_STRETCH) && stretching < 0) stretching = i;
        else fixed += pane.width + 2 * PanePadding();
        if (i > 0) fixed += gap;
    }
    const int rest = std::max(0, static_cast<int>(client.right) - fixed);
    std::vector<int> rights(static_cast<size_t>(count));
    int x = borders[0];
    for (int i = 0; i < count; ++i) {
        if (i > 0) x += gap;
        x += i == stretching ? rest : m_panes[static_cast<size_t>(i)].width + 2 * PanePadding();
        rights[static_cast<size_t>(i)] = x;
    }
    SendMessage(SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rights.data()));
    for (int i = 0; i < count; ++i) ApplyText(i);
}

void CStatusBar::ApplyText(int index) {
    if (!m_hWnd || index < 0 || index >= GetCount()) return;
    const Pane& pane = m_panes[static_cast<size_t>(index)];
    const UINT drawStyle = pane.style & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW);
    // An owner-drawn pane's text stays here; the control gets the pane index as item data.
    LPARAM data = reinterpret_cast<LPARAM>(pane.style & SBPS_DISABLED ? L"" : pane.text.c_str());
    if (drawStyle & SBT_OWNERDRAW) data = static_cast<LPARAM>(index);
    SendMessage(SB_SETTEXTW, static_cast<WPARAM>(index) | drawStyle, data);
}

int CStatusBar::MessagePane() const {
    return CommandToIndex(ID_SEPARATOR);
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
    const int pane = MessagePane();
    if (pane < 0) return FALSE;
    return SetPaneText(pane, reinterpret_cast<const wchar_t*>(lParam), TRUE);
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    if (!buffer || wParam == 0) return 0;
    const std::wstring text = GetPaneText(MessagePane());
    const size_t n = std::min(text.size(), static_cast<size_t>(wParam) - 1);
    text.copy(buffer, n);
    buffer[n] = L'\0';
    return static_cast<LRESULT>(n);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
    return static_cast<LRESULT>(GetPaneText(MessagePane()).size());
}
