// The search toolbar's quick search with its recent words and incremental search, and the
// navigate toolbar's title and history menus, driven through the frame's messages.
#include "ControlFrameFixture.h"
#include "document/QueryCheck.h"
#include "framework/PopupMenu.h"
#include "ui/views/QuickSearch.h"
#include <commctrl.h>

using player_test::Pump;

namespace {

// Chooses a history menu item (or none) and keeps the texts it was shown.
class MenuChooser : public IPopupMenuPresenter {
public:
    MenuChooser() { m_previous = AfxSetPopupMenuPresenter(this); }
    ~MenuChooser() override { AfxSetPopupMenuPresenter(m_previous); }
    BOOL Track(HMENU menu, UINT flags, int, int, HWND, const TPMPARAMS*) override {
        shown.clear();
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            wchar_t text[256] = L"";
            ::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
            shown.push_back(text);
        }
        ++menus;
        return (flags & TPM_RETURNCMD) ? static_cast<BOOL>(choose) : TRUE;
    }
    UINT choose = 0;
    int menus = 0;
    std::vector<std::wstring> shown;

private:
    IPopupMenuPresenter* m_previous = nullptr;
};

class SearchFrame : public control_test::ControlFrameFixture {
protected:
    void OpenWithLibrary() {
        ASSERT_TRUE(Open());
        ASSERT_GT(AddTrack(L"a.wav", L"ABC", L"Alpha"), 0);
        ASSERT_GT(AddTrack(L"b.wav", L"星*印", L"Beta"), 0);
        ASSERT_GT(AddTrack(L"c.wav", L"Other", L"Gamma"), 0);
    }
    void Search(const std::wstring& text, int way) {
        SetText(text);
        SelectWay(way);
        ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_QUICK_SEARCH, 0);
    }
    void SetText(const std::wstring& text) { frame->m_wndSearchText.SetWindowText(text); }
    void SelectWay(int way) {
        for (int i = 0; i < frame->m_wndSearchMode.GetCount(); ++i)
            if (static_cast<int>(frame->m_wndSearchMode.GetItemData(i)) == way) frame->m_wndSearchMode.SetCurSel(i);
    }
    std::vector<std::wstring> ComboWords() {
        std::vector<std::wstring> words;
        for (int i = 0; i < frame->m_wndSearchText.GetCount(); ++i) words.push_back(frame->m_wndSearchText.GetLBText(i));
        return words;
    }
    size_t Rows() { return doc->GetPlaylistCache().rows.size(); }
    std::wstring Title() { return frame->m_wndToolBarNavigate.GetQueryTitle(); }
    void Edited() {
        ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_TEXT, CBN_EDITCHANGE),
                       reinterpret_cast<LPARAM>(frame->m_wndSearchText.m_hWnd));
    }
    void DropDown(UINT button) {
        NMTOOLBARW nm{};
        nm.hdr.hwndFrom = frame->m_wndToolBarNavigate.m_hWnd;
        nm.hdr.idFrom = IDW_NAVIGATE_BAR;
        nm.hdr.code = TBN_DROPDOWN;
        nm.iItem = static_cast<int>(button);
        ::SendMessageW(frame->m_hWnd, WM_NOTIFY, IDW_NAVIGATE_BAR, reinterpret_cast<LPARAM>(&nm));
    }
};

}  // namespace

TEST_F(SearchFrame, QuickSearchMakesThePlayListTitleAndRecentWords) {
    OpenWithLibrary();
    Search(L"B", SearchTitle);
    EXPECT_EQ(Rows(), 1u);
    EXPECT_EQ(Title(), L"タイトル - B -") << "the navigate toolbar shows the query";
    EXPECT_EQ(doc->GetQueryHistory().entries.back().title, L"タイトル - B -");
    EXPECT_EQ(settings.search.searchRecent, (std::vector<std::wstring>{L"B"}));
    EXPECT_EQ(ComboWords(), (std::vector<std::wstring>{L"B"}));
    EXPECT_EQ(frame->m_wndSearchText.GetWindowText(), L"B") << "the typed text stays";

    // A typed asterisk is a literal; Enter in the search edit searches too.
    SetText(L"*");
    SelectWay(SearchAllColumns);
    ::SendMessageW(frame->m_hWnd, CMainFrame::s_msgComboEditReflect, 13, 0);
    EXPECT_EQ(Rows(), 1u);
    EXPECT_EQ(doc->GetPlaylistCache().rows[0]->tagTitle, L"星*印");

    // Fuzzy: lower case finds upper case.
    settings.search.searchWordNoCase = true;
    Search(L"abc", SearchTitle);
    EXPECT_EQ(Rows(), 1u);
    EXPECT_EQ(Title(), L"タイトル(あいまい検索) - abc -");
    settings.search.searchWordNoCase = false;

    // Newest first; the same word again keeps its one place; nothing found adds nothing.
    EXPECT_EQ(ComboWords(), (std::vector<std::wstring>{L"abc", L"*", L"B"}));
    Search(L"B", SearchTitle);
    Search(L"zzz", SearchAllColumns);
    EXPECT_EQ(Rows(), 0u);
    EXPECT_EQ(settings.search.searchRecent, (std::vector<std::wstring>{L"B", L"*", L"abc"}));

    // Raw SQL gets its semicolon; a failing statement changes nothing.
    Search(L"SELECT * FROM list WHERE tagArtist = 'Gamma'", SearchSql);
    EXPECT_EQ(Rows(), 1u);
    EXPECT_EQ(Title(), L"SQL検索 -SELECT * FROM list WHERE tagArtist = 'Gamma';-");
    EXPECT_EQ(settings.search.searchRecent.back(), L"SELECT * FROM list WHERE tagArtist = 'Gamma';");
    const size_t historyBefore = doc->GetQueryHistory().entries.size();
    Search(L"SELECT * FROM nothing_here", SearchSql);
    EXPECT_FALSE(errors.messages.empty()) << "the document reported the error";
    EXPECT_EQ(Rows(), 1u);
    EXPECT_EQ(doc->GetQueryHistory().entries.size(), historyBefore);
    EXPECT_EQ(settings.search.searchRecent.size(), 4u);
    // The ";" added after a line comment lands in the comment: the user is told the text is
    // unfinished.
    Search(L"SELECT * FROM list -- x", SearchSql);
    EXPECT_EQ(errors.texts.back(), kIncompleteQueryText);
    EXPECT_EQ(Rows(), 1u);
    EXPECT_EQ(doc->GetQueryHistory().entries.size(), historyBefore);

    // An empty text does nothing.
    view->hints.clear();
    Search(L"", SearchTitle);
    EXPECT_EQ(view->Count(HintPlaylistReady), 0);
}

TEST_F(SearchFrame, RecentWordsStayWithinTheirMaximumAndAMaximumOfZeroKeepsNone) {
    settings.search.searchRecentMax = 2;
    settings.search.searchRecent = {L"Alpha", L"Beta"};
    OpenWithLibrary();
    EXPECT_EQ(ComboWords(), (std::vector<std::wstring>{L"Beta", L"Alpha"}));
    Search(L"Gamma", SearchArtist);
    EXPECT_EQ(settings.search.searchRecent, (std::vector<std::wstring>{L"Beta", L"Gamma"})) << "the oldest goes";
    EXPECT_EQ(ComboWords(), (std::vector<std::wstring>{L"Gamma", L"Beta"}));

    settings.search.searchRecentMax = 0;
    Search(L"Alpha", SearchArtist);
    EXPECT_EQ(Rows(), 1u);
    EXPECT_TRUE(settings.search.searchRecent.empty());
    EXPECT_TRUE(ComboWords().empty());
    Search(L"Beta", SearchArtist);
    EXPECT_TRUE(settings.search.searchRecent.empty()) << "an empty list stays empty";
}

TEST_F(SearchFrame, SearchesThatFindRowsNeverWidenTheWordListAgain) {
    OpenWithLibrary();
    auto dropWidth = [this] { return static_cast<int>(frame->m_wndSearchText.SendMessage(CB_GETDROPPEDWIDTH)); };
    const int atStart = dropWidth();
    for (int i = 0; i < 5; ++i) {
        Search(L"B", SearchTitle);
        ASSERT_EQ(Rows(), 1u);
        EXPECT_EQ(dropWidth(), atStart) << "search " << i;
    }
    // A word wider than the list makes room for itself, once.
    const std::wstring wide(150, L'W');
    ASSERT_GT(AddTrack(L"d.wav", L"Wide", wide), 0);
    Search(wide, SearchArtist);
    ASSERT_EQ(Rows(), 1u);
    const int widened = dropWidth();
    EXPECT_GT(widened, atStart);
    Search(wide, SearchArtist);
    Search(L"B", SearchTitle);
    EXPECT_EQ(dropWidth(), widened);
}

TEST_F(SearchFrame, IncrementalSearchRunsOncePerPauseAndNeverInSqlMode) {
    settings.search.searchWordIncliment = true;
    settings.search.searchWordInclimentWait = 50;
    OpenWithLibrary();
    SelectWay(SearchArtist);
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_MODE, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(frame->m_wndSearchMode.m_hWnd));
    EXPECT_EQ(settings.search.searchWay, SearchArtist) << "choosing a mode stores the way";

    view->hints.clear();
    SetText(L"A");
    Edited();
    SetText(L"Al");
    Edited();
    EXPECT_EQ(view->Count(HintPlaylistReady), 0) << "nothing while typing";
    Pump(600);
    EXPECT_EQ(view->Count(HintPlaylistReady), 1) << "one search for the pause, not one per tick";
    EXPECT_EQ(Rows(), 1u);

    // Typing in the edit field reaches the frame through the toolbar and the rebar.
    SetText(L"");
    for (wchar_t c : std::wstring(L"Gam")) ::SendMessageW(frame->m_wndSearchEdit.m_hWnd, WM_CHAR, c, 1);
    EXPECT_EQ(view->Count(HintPlaylistReady), 1);
    Pump(600);
    EXPECT_EQ(view->Count(HintPlaylistReady), 2);
    ASSERT_EQ(Rows(), 1u);
    EXPECT_EQ(doc->GetPlaylistCache().rows[0]->tagArtist, L"Gamma");

    SelectWay(SearchSql);
    SetText(L"SELECT * FROM list");
    Edited();
    EXPECT_EQ(settings.search.searchWay, SearchSql);
    Pump(300);
    EXPECT_EQ(view->Count(HintPlaylistReady), 2);
}

TEST_F(SearchFrame, APendingIncrementalSearchGivesWayToSqlModeEnterAndTheButton) {
    settings.search.searchWordIncliment = true;
    settings.search.searchWordInclimentWait = 50;
    OpenWithLibrary();
    auto chooseWay = [&](int way) {
        SelectWay(way);
        ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_MODE, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(frame->m_wndSearchMode.m_hWnd));
    };
    chooseWay(SearchArtist);
    view->hints.clear();

    // "SQL検索" chosen while the pause runs: the half-typed word never runs as SQL.
    SetText(L"Gam");
    Edited();
    chooseWay(SearchSql);
    Pump(300);
    EXPECT_EQ(view->Count(HintPlaylistReady), 0);
    EXPECT_TRUE(errors.messages.empty()) << "no database error";
    // Nor does a pause that ends in SQL mode.
    ::SendMessageW(frame->m_hWnd, WM_TIMER, 300, 0);
    EXPECT_EQ(view->Count(HintPlaylistReady), 0);
    EXPECT_TRUE(errors.messages.empty());

    // Enter searches at once, and the pause adds no second search; the button likewise.
    chooseWay(SearchArtist);
    Edited();
    ::SendMessageW(frame->m_hWnd, CMainFrame::s_msgComboEditReflect, 13, 0);
    EXPECT_EQ(view->Count(HintPlaylistReady), 1);
    SetText(L"Al");
    Edited();
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_QUICK_SEARCH, 0);
    EXPECT_EQ(view->Count(HintPlaylistReady), 2);
    Pump(300);
    EXPECT_EQ(view->Count(HintPlaylistReady), 2);
    EXPECT_EQ(Title(), L"アーティスト - Al -");
}

TEST_F(SearchFrame, HistoryMenusListEntriesNearestFirstAndRerunTheChosenOne) {
    OpenWithLibrary();
    MenuChooser chooser;
    DropDown(ID_QUERY_BACK);
    EXPECT_TRUE(chooser.shown.empty()) << "no history yet";

    Search(L"Alpha", SearchArtist);
    Search(L"Beta", SearchArtist);
    Search(L"R&B", SearchArtist);   // finds nothing, but is recorded
    ASSERT_EQ(doc->GetQueryHistory().current, 2);
    DropDown(ID_QUERY_FORWARD);
    EXPECT_TRUE(chooser.shown.empty()) << "nothing after the newest";

    chooser.choose = 40000;
    DropDown(ID_QUERY_BACK);
    EXPECT_EQ(chooser.shown,
              (std::vector<std::wstring>{L"02 : アーティスト - Beta -", L"01 : アーティスト - Alpha -"}));
    EXPECT_EQ(doc->GetQueryHistory().current, 0);
    EXPECT_EQ(Rows(), 1u);
    EXPECT_EQ(doc->GetPlaylistCache().rows[0]->tagArtist, L"Alpha");
    EXPECT_EQ(Title(), L"アーティスト - Alpha -");
    EXPECT_EQ(doc->GetQueryHistory().entries.size(), 3u) << "re-running records nothing";

    chooser.choose = 0;
    DropDown(ID_QUERY_FORWARD);
    EXPECT_EQ(chooser.shown,
              (std::vector<std::wstring>{L"02 : アーティスト - Beta -", L"03 : アーティスト - R&&B -"}));
    EXPECT_EQ(doc->GetQueryHistory().current, 0) << "nothing chosen, nothing run";

    // A history entry that no longer runs leaves the index where it was.
    doc->GetQueryHistory().entries[2].sql = L"SELECT * FROM gone;";
    chooser.choose = 40002;
    DropDown(ID_QUERY_FORWARD);
    EXPECT_EQ(doc->GetQueryHistory().current, 0);
}

TEST_F(SearchFrame, ToolbarsGiveTheirWidthToTheTitleAndTheTextBoxAndDrawTheTitle) {
    ASSERT_TRUE(Open());
    // The navigate toolbar: the title takes what the back and forward buttons leave.
    CToolBarNavigate& navigate = frame->m_wndToolBarNavigate;
    ::SendMessageW(navigate.m_hWnd, WM_SIZE, 0, MAKELPARAM(600, 30));
    RECT back{}, forward{}, title{};
    navigate.GetItemRect(0, &back);
    navigate.GetItemRect(1, &forward);
    ::GetWindowRect(frame->m_wndQueryTitle.m_hWnd, &title);
    const int buttons = (back.right - back.left) + (forward.right - forward.left);
    EXPECT_EQ(title.right - title.left, 600 - buttons - 2);

    // The search toolbar: the text box takes what the mode box and the button leave.
    CToolBarSearch& search = frame->m_wndToolBarSearch;
    ::SendMessageW(search.m_hWnd, WM_SIZE, 0, MAKELPARAM(500, 30));
    RECT mode{}, button{}, text{};
    search.GetItemRect(search.CommandToIndex(IDC_SEARCH_MODE), &mode);
    search.GetItemRect(search.CommandToIndex(ID_QUICK_SEARCH), &button);
    ::GetWindowRect(frame->m_wndSearchText.m_hWnd, &text);
    EXPECT_EQ(text.right - text.left, 500 - (mode.right - mode.left) - (button.right - button.left) - 2);

    // The title is drawn off screen in one copy: the face colour inside a shadow frame.
    frame->SetQueryTitle(L"タイトル - B -");
    EXPECT_EQ(navigate.GetQueryTitle(), L"タイトル - B -");
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 20);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = IDC_QUERY_TITLE;
    item.hwndItem = frame->m_wndQueryTitle.m_hWnd;
    item.hDC = dc;
    item.rcItem = RECT{0, 0, 200, 20};
    EXPECT_EQ(::SendMessageW(navigate.m_hWnd, WM_DRAWITEM, IDC_QUERY_TITLE, reinterpret_cast<LPARAM>(&item)), TRUE);
    EXPECT_EQ(::GetPixel(dc, 0, 0), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(::GetPixel(dc, 199, 10), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(::GetPixel(dc, 1, 1), ::GetSysColor(COLOR_BTNFACE));
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

TEST_F(SearchFrame, ModeBoxDrawsItsCaptionsAndTracksItsOpenList) {
    ASSERT_TRUE(Open());
    CToolBarSearch& search = frame->m_wndToolBarSearch;
    EXPECT_EQ(search.GetModeCaption(SearchAllColumns), L"単語検索");
    EXPECT_EQ(search.GetModeCaption(SearchSql), L"SQL検索");
    EXPECT_EQ(search.GetModeCaption(SearchComment), L"コメント");
    EXPECT_EQ(search.GetModeCaption(3), L"");

    const HWND mode = frame->m_wndSearchMode.m_hWnd;
    ::SendMessageW(search.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_MODE, CBN_DROPDOWN), reinterpret_cast<LPARAM>(mode));
    EXPECT_TRUE(search.IsModeListOpen());
    ::SendMessageW(search.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_MODE, CBN_CLOSEUP), reinterpret_cast<LPARAM>(mode));
    EXPECT_FALSE(search.IsModeListOpen());

    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_COMBOBOX;
    measure.CtlID = IDC_SEARCH_MODE;
    EXPECT_EQ(::SendMessageW(search.m_hWnd, WM_MEASUREITEM, IDC_SEARCH_MODE, reinterpret_cast<LPARAM>(&measure)), TRUE);
    EXPECT_GT(measure.itemHeight, 0u);

    // A selected item on the highlight colour, another on the window colour.
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 120, 16);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (bool selected : {true, false}) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_COMBOBOX;
        item.CtlID = IDC_SEARCH_MODE;
        item.itemID = 0;
        item.itemData = SearchAllColumns;
        item.itemState = selected ? ODS_SELECTED : 0;
        item.hwndItem = mode;
        item.hDC = dc;
        item.rcItem = RECT{0, 0, 120, 16};
        EXPECT_EQ(::SendMessageW(search.m_hWnd, WM_DRAWITEM, IDC_SEARCH_MODE, reinterpret_cast<LPARAM>(&item)), TRUE);
        EXPECT_EQ(::GetPixel(dc, 119, 0), ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW)) << selected;
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}
