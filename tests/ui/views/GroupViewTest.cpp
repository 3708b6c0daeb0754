// The group view and the grouping bar over a real library of a few thousand rows with
// Japanese values.

#include "app/SqlEscape.h"
#include "app/ViewHints.h"
#include "document/DocTestSupport.h"
#include "framework/DocTemplate.h"
#include "framework/FrameIds.h"
#include "framework/PopupMenu.h"
#include "resources/resource.h"
#include "support/MessageBoxRecorder.h"
#include "RowImagesRecorder.h"
#include "ui/views/KanaBaseTable.h"
#include "ui/views/MidView.h"
#include "ui/views/TagQueryView.h"
#include <gtest/gtest.h>
#include <deque>

namespace {

// Answers popup menus from a queue (0: nothing chosen) and records the checked items.
class ScriptedPopups : public IPopupMenuPresenter {
public:
    ScriptedPopups() { m_previous = AfxSetPopupMenuPresenter(this); }
    ~ScriptedPopups() override { AfxSetPopupMenuPresenter(m_previous); }
    BOOL Track(HMENU menu, UINT, int, int, HWND, const TPMPARAMS*) override {
        checked.clear();
        const int count = ::GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i)
            if (::GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) checked.push_back(::GetMenuItemID(menu, i));
        ++shown;
        if (answers.empty()) return 0;
        const UINT a = answers.front();
        answers.pop_front();
        return static_cast<BOOL>(a);
    }
    std::deque<UINT> answers;
    std::vector<UINT> checked;
    int shown = 0;

private:
    IPopupMenuPresenter* m_previous = nullptr;
};

// A library whose albums have Japanese, alphabetic and odd values: 3000 rows.
class GroupViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        FillKanaBaseTable();
        ASSERT_TRUE(lib.opened);
        auto& g = lib.settings.groupView;
        g.fontName = L"Tahoma";
        g.fontSize = 9;
        g.colorBackground = RGB(255, 255, 255);
        g.colorText = RGB(0, 0, 0);
        g.colorGraph = RGB(240, 240, 255);
        g.groupMode = true;
        g.canCollapse = true;
        g.groupThresholdAlphabet = 2;
        g.groupThresholdKana = 2;
        g.groupThresholdKanji = 2;
        g.headerMode = 1;
        g.tagKey = L"tagAlbum";
        ASSERT_EQ(0, lib.db().exec(L"BEGIN;"));
        const wchar_t* albums[] = {L"かぜ", L"がっこう", L"さくら", L"桜", L"桜並木", L"Blue", L"Black", L"Queen's",
                                   L"1999", L"!!", L""};
        for (int i = 0; i < 3000; ++i) {
            std::wstring sql = L"INSERT INTO list(file_name, tagAlbum, tagArtist, rating) VALUES('C:\\m\\" +
                               std::to_wstring(i) + L".mp3', ";
            sql += i % 100 == 99 ? std::wstring(L"NULL") : L"'" + EscapeSqlQuotes(albums[i % 11]) + L"'";
            sql += L", 'アーティスト" + std::to_wstring(i % 7) + L"', " + std::to_wstring((i % 6) * 10) + L");";
            ASSERT_EQ(0, lib.db().exec(sql)) << i;
        }
        ASSERT_EQ(0, lib.db().exec(L"COMMIT;"));
        host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 300, 400, nullptr, 0);
        CCreateContext context;
        context.document = &lib.doc;
        view = new CTagQueryView;   // deletes itself with its window
        ASSERT_TRUE(view->Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 400}, host.m_hWnd, AFX_IDW_PANE_FIRST, &context));
        view->OnInitialUpdate();
    }
    void TearDown() override { host.DestroyWindow(); }

    int FindRow(const std::wstring& text, int kind) {
        const auto& rows = view->GetRows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].text == text && rows[i].kind == kind) return static_cast<int>(i);
        return -1;
    }
    void ClickItem(int item) {
        CListCtrl& list = view->GetListCtrl();
        list.SetItemState(-1, 0, LVIS_SELECTED);
        list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = view->m_hWnd;
        click.hdr.idFrom = AFX_IDW_PANE_FIRST;
        click.hdr.code = NM_CLICK;
        click.iItem = item;
        host.SendMessage(WM_NOTIFY, AFX_IDW_PANE_FIRST, reinterpret_cast<LPARAM>(&click));
    }

    doc_test::Library lib;
    CWnd host;
    CTagQueryView* view = nullptr;
};

// Keeps the grouping keys that hint 13 carries.
class KeyRecorder : public CView {
public:
    void OnUpdate(CView*, LPARAM hint, CObject* object) override {
        if (hint == HintGroupTagChosen) keys.push_back(static_cast<CUpdateViewPlaylist*>(object)->tagKey);
    }
    std::vector<std::wstring> keys;
};

// A grouping bar `width` pixels wide in a hidden host 600 pixels wide; null on failure.
CMidView* MakeGroupingBar(doc_test::Library& lib, CWnd& host, int width) {
    host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 600, 22, nullptr, 0);
    CCreateContext context;
    context.document = &lib.doc;
    auto* bar = new CMidView;   // deletes itself with its window
    if (!bar->Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, width, 22}, host.m_hWnd, AFX_IDW_PANE_FIRST + 1, &context))
        return nullptr;
    bar->OnInitialUpdate();
    return bar;
}

// A grouping bar over an empty library.
class GroupingBar : public ::testing::Test {
protected:
    // The bar, `width` pixels wide, grouping by `key`.
    void Make(const wchar_t* key, int width) {
        lib.settings.groupView.tagKey = key;
        bar = MakeGroupingBar(lib, host, width);
        ASSERT_NE(nullptr, bar);
    }
    CToolBarCtrl& Buttons() { return bar->GetToolBar().GetToolBarCtrl(); }
    void TearDown() override { host.DestroyWindow(); }

    doc_test::Library lib;
    CWnd host;
    CMidView* bar = nullptr;
};

}  // namespace

TEST_F(GroupViewTest, GroupsTheLibraryUnderKanaAndKanjiHeadersAndSkipsNullValues) {
    const auto& rows = view->GetRows();
    ASSERT_GT(rows.size(), 4u);
    EXPECT_EQ(L"アルバム", rows[0].text);
    const GroupItem& all = rows[2];
    EXPECT_EQ(GroupItemAll, all.kind);
    EXPECT_EQ(11, all.itemCount) << "ten values and the empty one; NULL is no value";
    EXPECT_EQ(3000, all.fileCount);
    ASSERT_GE(FindRow(L"なし", GroupItemNone), 0);
    // が and か share "か"; the two kanji share "桜"; "さくら" alone goes to "かな その他".
    const int ka = FindRow(L"か", GroupItemHeader);
    ASSERT_GE(ka, 0);
    EXPECT_EQ(2, rows[ka].itemCount);
    EXPECT_EQ(L"かぜ", rows[ka + 2].text);
    EXPECT_EQ(L"がっこう", rows[ka + 3].text);
    EXPECT_GE(FindRow(L"桜", GroupItemHeader), 0);
    EXPECT_GE(FindRow(L"かな その他", GroupItemHeader), 0);
    EXPECT_GE(FindRow(L"B", GroupItemHeader), 0);
    const int queen = FindRow(L"Queen's", GroupItemValue);
    ASSERT_GE(queen, 0);
    EXPECT_EQ(L"アルファベット その他", rows[queen - 2].text);
    EXPECT_EQ(static_cast<int>(rows.size()), view->GetListCtrl().GetItemCount());
    // The average rating of a value: its rows' ratings.
    const int sakura = FindRow(L"さくら", GroupItemValue);
    EXPECT_NEAR(lib.Scalar(L"SELECT AVG(rating)*1000 FROM list WHERE tagAlbum='さくら';") / 1000.0,
                rows[sakura].average, 0.01);
}

TEST_F(GroupViewTest, ClickingValuesRunsTheirQueryAndTheAllRowRunsTheLibrary) {
    const int queen = view->ItemOfRow(FindRow(L"Queen's", GroupItemValue));
    ASSERT_GE(queen, 0);
    lib.view.hints.clear();
    ClickItem(queen);
    EXPECT_EQ(lib.Scalar(L"SELECT count(*) FROM list WHERE tagAlbum='Queen''s';"),
              lib.Scalar(L"SELECT count(*) FROM playlist;"));
    ASSERT_FALSE(lib.view.hints.empty());
    EXPECT_EQ(HintPlaylistReady, lib.view.hints.back().code);
    ASSERT_FALSE(lib.host.titles.empty());
    EXPECT_EQ(L"アルバム「Queen's」", lib.host.titles.back());

    ClickItem(view->ItemOfRow(2));
    EXPECT_EQ(3000, lib.Scalar(L"SELECT count(*) FROM playlist;"));
    EXPECT_EQ(L"すべて", lib.host.titles.back());

    // Headers are never selected; a click on one folds its group.
    const int header = view->ItemOfRow(FindRow(L"か", GroupItemHeader));
    const int before = view->GetListCtrl().GetItemCount();
    ClickItem(header);
    EXPECT_EQ(0u, view->GetListCtrl().GetItemState(header, LVIS_SELECTED));
    EXPECT_EQ(before - 3, view->GetListCtrl().GetItemCount());
    ClickItem(header);
    EXPECT_EQ(before, view->GetListCtrl().GetItemCount());
}

TEST_F(GroupViewTest, OnlyColumnsOfTheLibraryRegroupAndLettersJumpToTheirHeaders) {
    CUpdateViewPlaylist hint;
    hint.tagKey = L"tagAlbum) FROM list; DROP TABLE list; --";
    lib.doc.UpdateAllViews(nullptr, HintGroupTagChosen, &hint);
    EXPECT_EQ(L"tagAlbum", view->GetTagKey());
    EXPECT_EQ(3000, lib.Scalar(L"SELECT count(*) FROM list;"));
    hint.tagKey = L"TAGARTIST";
    lib.doc.UpdateAllViews(nullptr, HintGroupTagChosen, &hint);
    EXPECT_EQ(L"TAGARTIST", view->GetTagKey());
    EXPECT_EQ(L"アーティスト", view->GetKeyCaption());
    EXPECT_EQ(7, view->GetRows()[2].itemCount);

    hint.tagKey = L"tagAlbum";
    lib.doc.UpdateAllViews(nullptr, HintGroupTagChosen, &hint);
    CListCtrl& list = view->GetListCtrl();
    list.EnsureVisible(0, FALSE);
    const int top = list.GetTopIndex();
    view->SendMessage(WM_KEYDOWN, VK_F2, 0);          // 113: 'q' as a character code
    view->SendMessage(WM_KEYDOWN, VK_NUMPAD2, 0);     // 98: 'b'
    EXPECT_EQ(top, list.GetTopIndex());
    view->SendMessage(WM_KEYDOWN, 'B', 0);
    const int b = view->ItemOfRow(FindRow(L"B", GroupItemHeader));
    EXPECT_EQ(std::min(b, list.GetItemCount() - list.GetCountPerPage()), list.GetTopIndex());
    EXPECT_GT(list.GetTopIndex(), top);

    // Index commands stay below the menu's fixed commands and jump to their rows.
    EXPECT_EQ(2, view->RowOfIndexCommand(CTagQueryView::kIndexCommandFirst));
    for (UINT id = CTagQueryView::kIndexCommandFirst; view->RowOfIndexCommand(id) >= 0; ++id)
        EXPECT_LT(id, static_cast<UINT>(ID_GROUP_LIBRARY_UPDATE));
}

TEST_F(GroupViewTest, TheGroupingBarRegroupsTheViewBesideIt) {
    CCreateContext context;
    context.document = &lib.doc;
    auto* bar = new CMidView;
    ASSERT_TRUE(bar->Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 22}, host.m_hWnd, AFX_IDW_PANE_FIRST + 1, &context));
    bar->OnInitialUpdate();
    EXPECT_TRUE(bar->GetToolBar().GetToolBarCtrl().IsButtonChecked(ID_GROUP_BY_ALBUM));
    bar->SendMessage(WM_COMMAND, ID_GROUP_BY_ARTIST, 0);
    EXPECT_EQ(L"tagArtist", view->GetTagKey());
    EXPECT_EQ(7, view->GetRows()[2].itemCount);
    EXPECT_GE(FindRow(L"アーティスト3", GroupItemValue), 0);
}

TEST_F(GroupViewTest, ContextMenuSetsTheSubColumnAndDeletesTheSelectionFromTheLibrary) {
    ScriptedPopups popups;
    auto columns = [&] {
        return static_cast<int>(::SendMessageW(view->GetListCtrl().GetHeaderCtrl(), HDM_GETITEMCOUNT, 0, 0));
    };
    popups.answers = {ID_GROUP_SUB_NONE};
    view->ShowContextMenu(POINT{10, 10});
    EXPECT_EQ(0, lib.settings.groupView.headerMode);
    EXPECT_EQ(1, columns());
    popups.answers = {ID_GROUP_SUB_FILES};
    view->ShowContextMenu(POINT{10, 10});
    EXPECT_EQ(2, lib.settings.groupView.headerMode);
    EXPECT_EQ(2, columns()) << "the file count has a column of its own";
    EXPECT_EQ(40, view->GetListCtrl().GetColumnWidth(1));

    const int sakura = view->ItemOfRow(FindRow(L"さくら", GroupItemValue));
    ClickItem(sakura);
    const long long files = lib.Scalar(L"SELECT count(*) FROM list WHERE tagAlbum='さくら';");
    ASSERT_GT(files, 0);
    testing_support::MessageBoxRecorder boxes;
    boxes.answers = {IDCANCEL, IDOK};
    popups.answers = {ID_GROUP_LIBRARY_DELETE, ID_GROUP_LIBRARY_DELETE};
    view->ShowContextMenu(POINT{10, 10});
    EXPECT_EQ(files, lib.Scalar(L"SELECT count(*) FROM list WHERE tagAlbum='さくら';")) << "cancelled";
    view->ShowContextMenu(POINT{10, 10});
    ASSERT_EQ(2u, boxes.texts.size());
    EXPECT_EQ(L"ライブラリからファイルを削除します。", boxes.texts[1]);
    EXPECT_EQ(0, lib.Scalar(L"SELECT count(*) FROM list WHERE tagAlbum='さくら';"));
    EXPECT_EQ(3000 - files, lib.Scalar(L"SELECT count(*) FROM list;"));
    EXPECT_LT(FindRow(L"さくら", GroupItemValue), 0) << "the view regrouped";
}

// Another connection holds the library: with a reserved lock the DELETE is refused, with an
// exclusive one even the selection's files cannot be read.
TEST_F(GroupViewTest, DeleteOnALockedLibraryShowsTheErrorAndKeepsTheRowsAndTheLists) {
    const int sakura = view->ItemOfRow(FindRow(L"さくら", GroupItemValue));
    ClickItem(sakura);
    const long long files = lib.Scalar(L"SELECT count(*) FROM list WHERE tagAlbum='さくら';");
    ASSERT_GT(files, 0);
    for (const char* lock : {"BEGIN IMMEDIATE;", "BEGIN EXCLUSIVE;"}) {
        sqlite3* other = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_open16(lib.settings.libraryPath.c_str(), &other));
        ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, lock, nullptr, nullptr, nullptr));
        lib.errors.messages.clear();
        const size_t hints = lib.view.hints.size();
        ScriptedPopups popups;
        testing_support::MessageBoxRecorder boxes;
        boxes.answers = {IDOK};
        popups.answers = {ID_GROUP_LIBRARY_DELETE};
        view->ShowContextMenu(POINT{10, 10});
        sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        ASSERT_EQ(1u, lib.errors.messages.size()) << lock;
        EXPECT_EQ(kDBErrorMessage, lib.errors.messages[0]) << lock;
        EXPECT_EQ(hints, lib.view.hints.size()) << lock << ": no view was told the rows were gone";
        EXPECT_EQ(files, lib.Scalar(L"SELECT count(*) FROM list WHERE tagAlbum='さくら';")) << lock;
        EXPECT_GE(FindRow(L"さくら", GroupItemValue), 0) << lock;
    }
}

TEST(GroupView, AStoredKeyThatIsNoColumnGroupsByAlbum) {
    doc_test::Library lib;
    lib.settings.groupView.tagKey = L"tagAlbum FROM list; DELETE FROM list; --";
    lib.settings.groupView.fontSize = 9;
    ASSERT_TRUE(lib.Insert(doc_test::MakeTrack(L"C:\\m\\a.mp3", L"a", L"artist", L"アルバム")));
    CWnd host;
    host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 200, 200, nullptr, 0);
    CCreateContext context;
    context.document = &lib.doc;
    auto* view = new CTagQueryView;
    ASSERT_TRUE(view->Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 200}, host.m_hWnd, AFX_IDW_PANE_FIRST, &context));
    view->OnInitialUpdate();
    EXPECT_EQ(L"tagAlbum", view->GetTagKey());
    EXPECT_EQ(1, lib.Scalar(L"SELECT count(*) FROM list;"));
    ASSERT_GE(view->GetRows().size(), 3u);
    EXPECT_EQ(L"アルバム", view->GetRows().back().text);
    host.DestroyWindow();
    EXPECT_EQ(L"tagAlbum", lib.settings.groupView.tagKey) << "the key in use is kept at destroy";
}

TEST_F(GroupingBar, ButtonsAndTheOtherMenuChooseTheKeyAndTellTheGroupView) {
    ASSERT_NO_FATAL_FAILURE(Make(L"TAGGENRE", 300));
    CToolBarCtrl& tb = Buttons();
    EXPECT_TRUE(tb.IsButtonChecked(ID_GROUP_BY_GENRE));
    EXPECT_EQ(L"TAGGENRE", bar->GetGroupColumn());

    KeyRecorder recorder;
    lib.doc.AddView(&recorder);
    bar->SendMessage(WM_COMMAND, ID_GROUP_BY_ARTIST, 0);
    EXPECT_TRUE(tb.IsButtonChecked(ID_GROUP_BY_ARTIST));
    EXPECT_FALSE(tb.IsButtonChecked(ID_GROUP_BY_GENRE));
    EXPECT_EQ(std::vector<std::wstring>{L"tagArtist"}, recorder.keys);

    ScriptedPopups popups;
    popups.answers = {ID_GROUP_BY_RATING, 0};
    bar->SendMessage(WM_COMMAND, ID_GROUP_BY_OTHER, 0);   // the button itself
    EXPECT_EQ(L"rating", bar->GetGroupColumn());
    EXPECT_TRUE(tb.IsButtonChecked(ID_GROUP_BY_OTHER));
    EXPECT_TRUE(popups.checked.empty()) << "artist was chosen: no other item checked";
    NMTOOLBARW drop{};
    drop.hdr.hwndFrom = bar->GetToolBar().m_hWnd;
    drop.hdr.idFrom = CMidView::kToolBarId;
    drop.hdr.code = TBN_DROPDOWN;
    drop.iItem = ID_GROUP_BY_OTHER;
    bar->SendMessage(WM_NOTIFY, CMidView::kToolBarId, reinterpret_cast<LPARAM>(&drop));   // the arrow
    EXPECT_EQ(2, popups.shown);
    EXPECT_EQ(std::vector<UINT>{ID_GROUP_BY_RATING}, popups.checked);
    EXPECT_EQ(L"rating", bar->GetGroupColumn()) << "no choice changes nothing";

    // Tips: the text after the "\n" of the command's string.
    NMTTDISPINFOW tip{};
    tip.hdr.code = TTN_NEEDTEXTW;
    tip.hdr.idFrom = ID_GROUP_BY_ALBUM;
    bar->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(nullptr, tip.lpszText);
    EXPECT_EQ(std::wstring(L"アルバム"), tip.lpszText);

    lib.settings.groupView.tagKey = L"file_name";
    bar->SetGroupColumn(L"file_name");
    EXPECT_TRUE(tb.IsButtonChecked(ID_GROUP_BY_OTHER));
    popups.answers = {0};
    bar->ShowOtherMenu();
    EXPECT_TRUE(popups.checked.empty());
    EXPECT_EQ((std::vector<std::wstring>{L"tagArtist", L"rating"}), recorder.keys);
    lib.doc.RemoveView(&recorder);
}

TEST(GroupView, TheRowHeightImageListOutlivesTheListControlAndGoesWithTheView) {
    RowImagesRecorder recorder;
    doc_test::Library lib;
    lib.settings.groupView.fontSize = 9;
    lib.settings.groupView.headerMode = 0;
    CWnd host;
    host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 200, 200, nullptr, 0);
    CCreateContext context;
    context.document = &lib.doc;
    auto* view = new CTagQueryView;   // deletes itself with its window
    ASSERT_TRUE(view->Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 200}, host.m_hWnd, AFX_IDW_PANE_FIRST, &context));
    view->OnInitialUpdate();
    const HIMAGELIST first = recorder.Watch(view->m_hWnd);
    EXPECT_EQ(16, ImageHeight(first));
    EXPECT_TRUE(view->GetStyle() & LVS_SHAREIMAGELISTS) << "the control leaves its lists to the view";

    // The tall sub column (50 px rows) swaps the list: the control holds the new one before
    // the old one goes.
    view->SetHeaderMode(3);
    const HIMAGELIST second = ListView_GetImageList(view->m_hWnd, LVSIL_SMALL);
    EXPECT_NE(second, first);
    EXPECT_EQ(50, ImageHeight(second));
    EXPECT_TRUE(recorder.DestroyedAlone(first));

    host.DestroyWindow();   // the view deletes itself
    EXPECT_TRUE(recorder.DestroyedAlone(second)) << "the view destroyed its list once the control had let go of it";
}

TEST_F(GroupViewTest, AHeightChangeRedrawsEveryRow) {
    // Only a shown window keeps an update region.
    host.ShowWindow(SW_SHOWNOACTIVATE);
    ::UpdateWindow(host.m_hWnd);
    ::ValidateRect(view->m_hWnd, nullptr);
    view->MoveWindow(0, 40, 300, 300);
    RECT client, update{};
    view->GetClientRect(&client);
    ASSERT_TRUE(::GetUpdateRect(view->m_hWnd, &update, FALSE)) << "a shorter list repaints its rows";
    EXPECT_TRUE(::EqualRect(&client, &update));
}

TEST_F(GroupingBar, InTheDefaultColumnEveryButtonIsInSightAndACaptionShowsWholeOrNotAtAll) {
    ASSERT_NO_FATAL_FAILURE(Make(L"tagGenre", 200));
    CToolBarCtrl& tb = Buttons();
    auto lastRight = [&] {
        RECT r{};
        tb.GetItemRect(tb.GetButtonCount() - 1, &r);
        return r.right;
    };
    auto showsCaption = [&](UINT id) {
        TBBUTTONINFOW info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_STYLE;
        tb.GetButtonInfo(static_cast<int>(id), &info);
        return !(tb.GetExtendedStyle() & TBSTYLE_EX_MIXEDBUTTONS) || (info.fsStyle & BTNS_SHOWTEXT);
    };
    const UINT ids[] = {ID_GROUP_BY_ARTIST, ID_GROUP_BY_ALBUM, ID_GROUP_BY_GENRE, ID_GROUP_BY_OTHER};

    RECT client;
    bar->GetToolBar().GetClientRect(&client);
    EXPECT_LE(lastRight(), client.right) << "the fourth button is in sight at 200 pixels";
    EXPECT_TRUE(showsCaption(ID_GROUP_BY_GENRE)) << "the checked button names itself";
    // A shown caption is whole: its button is wider than any button without one.
    RECT genre{}, artist{};
    tb.GetRect(ID_GROUP_BY_GENRE, &genre);
    tb.GetRect(ID_GROUP_BY_ARTIST, &artist);
    if (!showsCaption(ID_GROUP_BY_ARTIST)) {
        EXPECT_GT(genre.right - genre.left, artist.right - artist.left);
    }

    bar->MoveWindow(0, 0, 600, 22);
    bar->GetToolBar().GetClientRect(&client);
    for (UINT id : ids) EXPECT_TRUE(showsCaption(id)) << id << ": a wide column shows every caption";
    EXPECT_LE(lastRight(), client.right);
}
