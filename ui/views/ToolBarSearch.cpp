#include "ui/views/ToolBarSearch.h"

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
