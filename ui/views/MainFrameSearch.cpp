// The main frame's quick search: the search box's text and mode made into the play list,
// the recent words, and the incremental search after a pause in typing.
#include "ui/views/MainFrame.h"
#include "app/AppSettings.h"
#include "app/ViewHints.h"
#include "document/Larkspur2006Doc.h"
#include "document/WaitCursor.h"
#include "ui/views/QuickSearch.h"

const UINT CMainFrame::s_msgComboEditReflect = ::RegisterWindowMessageW(L"__ComboEditRefrect__");

namespace {
// The search options under the search button: submenu 2 of the Query menu.
const int kQueryMenu = 4, kSearchOptionsSubmenu = 2;
}  // namespace

void CMainFrame::RunQuickSearch() {
    // A search asked for now (Enter, the button) is the one the pause in typing would run.
    ::KillTimer(m_hWnd, kTimerIncrementalSearch);
    CLarkspur2006Doc* doc = GetDocument();
    if (!doc || !m_wndSearchText.m_hWnd) return;
    const std::wstring text = m_wndSearchText.GetWindowText();
    if (text.empty()) return;
    const int way = SelectedSearchWay();
    ScopedWaitCursor wait;
    CAppSettings& settings = doc->GetSettings();
    const QuickSearchQuery query = BuildQuickSearch(text, way, settings.search.searchWordNoCase);
    if (query.sql.empty() || !doc->SetQuery(query.title.c_str(), query.sql, true)) return;
    doc->UpdateAllViews(nullptr, HintPlaylistReady, nullptr);

    // A search that found nothing is not worth keeping.
    if (doc->GetPlaylistCache().rows.empty()) return;
    RememberSearchWord(settings.search.searchRecent, query.word, settings.search.searchRecentMax);
    FillRecentWords();
}

int CMainFrame::SelectedSearchWay() const {
    const int selected = m_wndSearchMode.m_hWnd ? m_wndSearchMode.GetCurSel() : -1;
    return selected >= 0 ? static_cast<int>(m_wndSearchMode.GetItemData(selected)) : SearchAllColumns;
}

void CMainFrame::FillRecentWords() {
    // Emptying the list empties the edit field too: the typed text stays.
    const std::wstring text = m_wndSearchText.GetWindowText();
    m_wndSearchText.ResetContent();
    const std::vector<std::wstring>& recent = Settings().search.searchRecent;
    for (auto it = recent.rbegin(); it != recent.rend(); ++it) m_wndSearchText.AddString(it->c_str());
    m_wndSearchText.SetWindowText(text);
    FitSearchDropWidth(false);
}

LRESULT CMainFrame::OnSearchEnter(WPARAM, LPARAM) {
    if (m_wndSearchEdit.m_hWnd) RunQuickSearch();
    return 0;
}

void CMainFrame::OnSearchTextEdited() {
    StoreSearchWay();
    const CAppSettings::Search& search = Settings().search;
    if (search.searchWordIncliment && search.searchWay != SearchSql)
        ::SetTimer(m_hWnd, kTimerIncrementalSearch, static_cast<UINT>(search.searchWordInclimentWait), nullptr);
}

void CMainFrame::OnSearchWayChosen() {
    StoreSearchWay();
    // Half-typed text never runs as SQL.
    if (SelectedSearchWay() == SearchSql) ::KillTimer(m_hWnd, kTimerIncrementalSearch);
}

void CMainFrame::ShowSearchOptions(const NMTOOLBARW& button) {
    RECT r = button.rcButton;
    ::MapWindowPoints(button.hdr.hwndFrom, nullptr, reinterpret_cast<POINT*>(&r), 2);
    TrackMenuBarSubmenu(kQueryMenu, kSearchOptionsSubmenu, POINT{r.left, r.bottom}, 0);
}
