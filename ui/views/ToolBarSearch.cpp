#include "ui/views/ToolBarSearch.h"
#include "resources/resource.h"

CToolBarSearch::~CToolBarSearch() {
    if (m_boldFont) ::DeleteObject(m_boldFont);
}

void CToolBarSearch::InitSearchModes(HWND textCombo, HWND modeCombo) {
    m_textCombo = textCombo;
    m_modeCombo = modeCombo;
    m_normalFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (!m_boldFont) {
        LOGFONTW lf{};
        ::GetObjectW(m_normalFont, sizeof lf, &lf);
        lf.lfWeight = FW_BOLD;
        m_boldFont = ::CreateFontIndirectW(&lf);
    }
    m_searchModes = {{127, L"単語検索"}, {128, L"SQL検索"}, {1, L"ファイル名"}, {2, L"タイトル"},
                     {4, L"アーティスト"}, {8, L"アルバム"}, {16, L"ジャンル"}, {32, L"年"}, {64, L"コメント"}};
}

std::wstring CToolBarSearch::GetModeCaption(int way) const {
    auto it = m_searchModes.find(way);
    return it == m_searchModes.end() ? std::wstring() : it->second;
}

namespace {
const int kListHeight = 200;
}  // namespace

LRESULT CToolBarSearch::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        if (LOWORD(lParam) != 0) {
            const LRESULT result = CToolBar::WindowProc(msg, wParam, lParam);
            OnSizeBar(LOWORD(lParam));
            return result;
        }
        break;
    case WM_DRAWITEM:
        if (wParam == IDC_SEARCH_MODE) {
            DrawModeItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_MEASUREITEM:
        if (wParam == IDC_SEARCH_MODE || wParam == IDC_SEARCH_TEXT) {
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(ItemHeight());
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SEARCH_MODE) {
            if (HIWORD(wParam) == CBN_DROPDOWN) m_listOpen = true;
            else if (HIWORD(wParam) == CBN_CLOSEUP) m_listOpen = false;
        }
        break;
    default:
        break;
    }
    return CToolBar::WindowProc(msg, wParam, lParam);
}

int CToolBarSearch::ItemHeight() const {
    HDC dc = ::GetDC(m_hWnd);
    HFONT font = m_normalFont ? m_normalFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, L"DUMMY", 5, &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return size.cy - 4 > 1 ? size.cy - 4 : 1;
}

int CToolBarSearch::WidthForText(int textWidth) const {
    // The combo sits on its button inset by 1 pixel on each side.
    return WidthBeside(CommandToIndex(IDC_SEARCH_TEXT)) + textWidth + 2;
}

void CToolBarSearch::OnSizeBar(int width) {
    const int textIndex = CommandToIndex(IDC_SEARCH_TEXT);
    const int modeIndex = CommandToIndex(IDC_SEARCH_MODE);
    if (textIndex < 0) return;
    if (StretchSeparator(textIndex, width) && m_textCombo) {
        RECT r{};
        GetItemRect(textIndex, &r);
        ::InflateRect(&r, -1, -1);
        ::MoveWindow(m_textCombo, r.left, r.top, r.right - r.left, r.bottom - r.top + kListHeight, TRUE);
    }
    if (m_modeCombo && modeIndex >= 0) {
        // Centred on the height of the text combo's field.
        RECT button{}, text{};
        GetItemRect(modeIndex, &button);
        if (m_textCombo) ::GetClientRect(m_textCombo, &text);
        const int fieldHeight = text.bottom - text.top;
        const int top = button.top + ((button.bottom - button.top) - fieldHeight) / 2;
        ::MoveWindow(m_modeCombo, button.left, top, button.right - button.left, fieldHeight + kListHeight, TRUE);
    }
}

void CToolBarSearch::DrawModeItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    RECT r = item.rcItem;
    ::FillRect(dc, &r, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    r.left += 2;
    r.right -= 2;
    const int way = static_cast<int>(item.itemData);
    const std::wstring caption = GetModeCaption(way);
    const bool special = way == 127 || way == 128;
    // In the open list the column ways sit under the two special ones.
    if (m_listOpen && !special) r.left += 10;
    HFONT font = m_listOpen && special && m_boldFont ? m_boldFont : m_normalFont;
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (old) ::SelectObject(dc, old);
}
