// The play list on a real library: columns, sort, summary, restore, drag, ratings, the row
// menu's actions and playing.
#include "app/ColumnModel.h"
#include "app/Formatters.h"
#include "app/Larkspur2006App.h"
#include "app/ViewHints.h"
#include "document/PlayerTestSupport.h"
#include "document/PlaylistLoader.h"
#include "framework/Dialog.h"
#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/OleDataObject.h"
#include "framework/PopupMenu.h"
#include "framework/StatusBar.h"
#include "resources/resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/TestDataObject.h"
#include "RowImagesRecorder.h"
#include "ui/dialogs/DlgCopy.h"
#include "ui/dialogs/DlgProperty.h"
#include "ui/views/DdData.h"
#include "ui/views/Larkspur2006View.h"
#include <gtest/gtest.h>
#include <deque>
#include <functional>

using namespace doc_test;
using player_test::PumpUntil;

namespace {

const bool kOle = (testing_support::InstallOleEnvironment(), true);

// Answers each popup menu with the next queued command (0: dismissed) and remembers which
// column items were checked when it opened.
class ScriptedPopups : public IPopupMenuPresenter {
public:
    ScriptedPopups() { m_previous = AfxSetPopupMenuPresenter(this); }
    ~ScriptedPopups() override { AfxSetPopupMenuPresenter(m_previous); }
    BOOL Track(HMENU menu, UINT, int, int, HWND, const TPMPARAMS*) override {
        ++shown;
        checked.clear();
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
            if (::GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) checked.push_back(::GetMenuItemID(menu, i));
        if (answers.empty()) return 0;
        const UINT answer = answers.front();
        answers.pop_front();
        return static_cast<BOOL>(answer);
    }
    std::deque<UINT> answers;
    std::vector<UINT> checked;
    int shown = 0;

private:
    IPopupMenuPresenter* m_previous = nullptr;
};

// Acts as the drop target of a drag: keeps what the data offered.
class RecordingDrag : public IDragDropRunner {
public:
    RecordingDrag() { m_previous = AfxSetDragDropRunner(this); }
    ~RecordingDrag() override { AfxSetDragDropRunner(m_previous); }
    DROPEFFECT Run(IDataObject* data, DWORD) override {
        ++runs;
        COleDataObject reader;
        reader.Attach(data, FALSE);
        ReadDdData(reader, cell);
        text.clear();
        hasText = false;
        if (HGLOBAL g = reader.GetGlobalData(CF_UNICODETEXT)) {
            hasText = true;
            text = static_cast<const wchar_t*>(::GlobalLock(g));
            ::GlobalUnlock(g);
            ::GlobalFree(g);
        }
        return DROPEFFECT_COPY;
    }
    int runs = 0;
    DdDataCell cell;
    std::wstring text;
    bool hasText = false;

private:
    IDragDropRunner* m_previous = nullptr;
};

// A frame held by the fixture: unlike the program's frames it must not delete itself when its
// window goes.
class FixtureFrame : public CFrameWnd {
protected:
    void PostNcDestroy() override {}
};

class PlaylistView : public player_test::PlayerFixture {
protected:
    PlaylistView() {
        auto& pv = lib.settings.playlistView;
        pv.fontName = L"Tahoma";
        pv.fontSize = 9;
        pv.colorBackground = RGB(255, 255, 255);
        pv.colorList1 = RGB(255, 255, 255);
        pv.colorList2 = RGB(240, 240, 250);
        pv.colorGrid = RGB(200, 200, 200);
        pv.marginX = 3;
        pv.syncPlaying = true;
        pv.headerSortColumn = SortColumnNone;
        pv.headerSortAsc = true;
        pv.columns = {{ColTitle, 150}, {ColArtist, 150}, {ColComment, 100}, {ColRating, 84}};
        frame.CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 900, 600, nullptr, 0);
        status.Create(&frame);
        const UINT panes[] = {ID_SEPARATOR, ID_SEPARATOR};
        status.SetIndicators(panes, 2);
    }
    ~PlaylistView() override {
        Close();
        frame.DestroyWindow();
    }

    // The view on the document, started as the frame starts its views.
    CLarkspur2006View& Open() {
        Close();
        pl = new CLarkspur2006View;
        CCreateContext context;
        context.document = &lib.doc;
        const RECT r{0, 0, 880, 500};
        EXPECT_TRUE(pl->Create(WS_CHILD | WS_VISIBLE, r, frame.m_hWnd, 0xE900, &context));
        lib.doc.UpdateAllViews(nullptr, HintSettingsChanged, nullptr);
        pl->OnInitialUpdate();
        return *pl;
    }
    // Open, then the restore it posts for the message loop.
    CLarkspur2006View& OpenAndRestore() {
        Open();
        EXPECT_TRUE(PumpUntil([this] { return !pl->IsRestorePending(); }));
        return *pl;
    }
    void Close() {
        if (pl && ::IsWindow(pl->m_hWnd)) ::DestroyWindow(pl->m_hWnd);   // the view deletes itself
        pl = nullptr;
    }

    int64_t AddRow(const std::wstring& name, const std::wstring& title, const std::wstring& artist,
                   const std::wstring& comment = L"") {
        TrackRecord t = MakeTrack(lib.dir.file(name), title, artist, L"アルバム");
        t.tagComment = comment;
        t.file_size = 1000;
        t.statDuration = 60;
        EXPECT_TRUE(lib.Insert(t));
        return lib.Scalar(L"SELECT rowid FROM list WHERE file_name='" + t.file_name + L"';");
    }
    void ShowQuery(CUpdateViewPlaylist* hint = nullptr, const std::wstring& sql = L"SELECT * FROM list ORDER BY rowid;") {
        ASSERT_TRUE(lib.doc.SetQuery(L"test", sql, false));
        lib.doc.UpdateAllViews(nullptr, HintPlaylistReady, hint);
    }
    std::wstring Titles() {
        std::wstring all;
        for (int i = 0; i < List().size(); ++i) all += List().at(i)->displayTitle + L" ";
        return all;
    }
    CListCtrl& Ctrl() { return pl->GetListCtrl(); }
    HWND Header() { return Ctrl().GetHeaderCtrl(); }
    int HeaderFormat(int index) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(Header(), index, &item);
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    }
    // A notification of the list as its parent receives it.
    void Notify(UINT code, int item, int subItem = 0, POINT at = {}, WORD key = 0) {
        union {
            NMITEMACTIVATE activate;
            NMLISTVIEW list;
            NMLVKEYDOWN keyDown;
        } n{};
        NMHDR& hdr = n.activate.hdr;
        hdr.hwndFrom = pl->m_hWnd;
        hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(pl->m_hWnd));
        hdr.code = code;
        if (code == LVN_KEYDOWN) {
            n.keyDown.wVKey = key;
        } else if (code == LVN_COLUMNCLICK || code == LVN_BEGINDRAG || code == LVN_BEGINRDRAG) {
            n.list.iItem = item;
            n.list.iSubItem = subItem;
            n.list.ptAction = at;
        } else {
            n.activate.iItem = item;
            n.activate.iSubItem = subItem;
            n.activate.ptAction = at;
        }
        ::SendMessageW(frame.m_hWnd, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&n));
    }
    void Select(std::initializer_list<int> rows) {
        Ctrl().SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int r : rows) Ctrl().SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
    }
    RECT Cell(int row, int column) {
        RECT r{};
        Ctrl().GetSubItemRect(row, column, LVIR_BOUNDS, &r);
        return r;
    }
    POINT ScreenCentreOfHeaderItem(int index) {
        RECT r;
        Header_GetItemRect(Header(), index, &r);
        ::MapWindowPoints(Header(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    long long Stat(const wchar_t* column, int64_t rowid) {
        return lib.Scalar(std::wstring(L"SELECT ") + column + L" FROM list WHERE rowid=" + std::to_wstring(rowid) + L";");
    }
    int HintsOf(LPARAM code) const { return view.Count(code); }

    FixtureFrame frame;
    CStatusBar status;
    CLarkspur2006View* pl = nullptr;
    ScriptedPopups popups;
    testing_support::MessageBoxRecorder boxes;
};

bool SameColumns(const std::vector<ListColumnEntry>& a, const std::vector<ListColumnEntry>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].type != b[i].type || a[i].width != b[i].width) return false;
    return true;
}

}  // namespace

TEST_F(PlaylistView, ColumnsComeFromTheSettingsAndGoBackInDisplayOrderWithTheirWidths) {
    lib.settings.playlistView.columns = {{ColTrackNumber, 40}, {ColTitle, 150}, {ColVbr, 70},
                                         {ColLength, 60},      {25, 10},        {ColRating, 84}};
    Open();
    const auto& columns = pl->GetColumns();
    ASSERT_EQ(columns.size(), 4u);   // VBR and the unknown type are never columns
    const int types[] = {ColTrackNumber, ColTitle, ColLength, ColRating};
    const int aligns[] = {AlignCentre, AlignLeft, AlignRight, AlignLeft};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(columns[i].type, types[i]);
        EXPECT_EQ(columns[i].alignment, aligns[i]);
    }
    EXPECT_EQ(columns[1].caption, L"タイトル");
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_FMT | LVCF_WIDTH;
    ASSERT_TRUE(Ctrl().GetColumn(2, &lvc));
    EXPECT_EQ(lvc.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    EXPECT_EQ(lvc.cx, 60);

    // The user drags "タイトル" to the front and widens it; the sort is stored beside.
    ASSERT_TRUE(Ctrl().SetColumnOrderArray({1, 0, 2, 3}));
    Ctrl().SetColumnWidth(1, 222);
    Notify(LVN_COLUMNCLICK, -1, 2);
    Close();
    EXPECT_TRUE(SameColumns(lib.settings.playlistView.columns,
                            {{ColTitle, 222}, {ColTrackNumber, 40}, {ColLength, 60}, {ColRating, 84}}));
    EXPECT_EQ(lib.settings.playlistView.headerSortColumn, ColLength);
    EXPECT_TRUE(lib.settings.playlistView.headerSortAsc);
}

TEST_F(PlaylistView, ColumnMenuTurnsColumnsOffAndOnWithTheirDefaultWidthAndResets) {
    Open();
    popups.answers = {ID_PL_COLUMN_TITLE};
    pl->OnHeaderMenu(ScreenCentreOfHeaderItem(0));
    EXPECT_EQ(popups.checked, (std::vector<UINT>{ID_PL_COLUMN_TITLE, ID_PL_COLUMN_ARTIST, ID_PL_COLUMN_COMMENT,
                                                  ID_PL_COLUMN_RATING}));
    EXPECT_TRUE(SameColumns(lib.settings.playlistView.columns, {{ColArtist, 150}, {ColComment, 100}, {ColRating, 84}}));
    EXPECT_EQ(pl->GetColumns().size(), 3u);

    // Back in after the clicked column, at its default width.
    popups.answers = {ID_PL_COLUMN_TITLE};
    pl->OnHeaderMenu(ScreenCentreOfHeaderItem(0));
    EXPECT_TRUE(SameColumns(lib.settings.playlistView.columns,
                            {{ColArtist, 150}, {ColTitle, 200}, {ColComment, 100}, {ColRating, 84}}));
    // Outside every header item the new column goes last.
    popups.answers = {ID_PL_COLUMN_YEAR};
    pl->OnHeaderMenu(POINT{-5000, -5000});
    EXPECT_EQ(lib.settings.playlistView.columns.back().type, ColYear);
    EXPECT_EQ(lib.settings.playlistView.columns.back().width, 50);

    popups.answers = {ID_PL_COLUMN_RESET};
    pl->OnHeaderMenu(ScreenCentreOfHeaderItem(1));
    std::vector<ListColumnEntry> defaults;
    ResetDefaultColumns(defaults, 3);
    EXPECT_TRUE(SameColumns(lib.settings.playlistView.columns, defaults));
    EXPECT_EQ(pl->GetColumns().size(), defaults.size());
}

TEST_F(PlaylistView, HeaderClicksSortBothWaysAndQueryFilesMayKeepOrDropTheSort) {
    AddRow(L"b.mp3", L"b", L"y");
    AddRow(L"a.mp3", L"a", L"z");
    AddRow(L"c.mp3", L"c", L"x");
    Open();
    ShowQuery();
    EXPECT_EQ(Titles(), L"b a c ");   // unsorted: query order, no arrow
    for (int i = 0; i < 4; ++i) EXPECT_EQ(HeaderFormat(i), 0);
    EXPECT_EQ(Ctrl().GetItemCount(), 3);

    List().current = 1;   // "a"
    Notify(LVN_COLUMNCLICK, -1, 0);
    EXPECT_EQ(Titles(), L"a b c ");
    EXPECT_EQ(HeaderFormat(0), HDF_SORTUP);
    EXPECT_EQ(List().current, 0) << "the current row follows its rowid";
    EXPECT_EQ(lib.settings.playlistView.playlistLatestSelection, 0);
    Notify(LVN_COLUMNCLICK, -1, 0);
    EXPECT_EQ(Titles(), L"c b a ");
    EXPECT_EQ(HeaderFormat(0), HDF_SORTDOWN);
    // Another column keeps the direction.
    Notify(LVN_COLUMNCLICK, -1, 1);
    EXPECT_EQ(Titles(), L"a b c ");   // artists z, y, x descending
    EXPECT_EQ(HeaderFormat(0), 0);
    EXPECT_EQ(HeaderFormat(1), HDF_SORTDOWN);

    ShowQuery();   // no hint object: the view's own sort
    EXPECT_EQ(Titles(), L"a b c ");
    CUpdateViewPlaylist keep;
    keep.sortColumn = SortColumnKeep;
    ShowQuery(&keep);
    EXPECT_EQ(Titles(), L"a b c ");
    CUpdateViewPlaylist byTitle;
    byTitle.sortColumn = ColTitle;
    byTitle.sortAscending = true;
    ShowQuery(&byTitle);
    EXPECT_EQ(Titles(), L"a b c ");
    EXPECT_EQ(HeaderFormat(0), HDF_SORTUP);
    CUpdateViewPlaylist none;
    none.sortColumn = SortColumnNone;
    ShowQuery(&none);
    EXPECT_EQ(Titles(), L"b a c ");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(HeaderFormat(i), 0);
}

TEST_F(PlaylistView, StatusPaneSummarisesTheListWithSingularAndPluralWords) {
    PlaylistSummary empty;
    std::wstring size0, length0;
    FormatByteSizeShell(size0, 0);
    FormatDuration(length0, 0);
    EXPECT_EQ(FormatPlaylistSummary(empty), L"0 File (0 Artist : 0 Album : 0 Genre) / " + size0 + L" / " + length0);

    AddRow(L"1.mp3", L"一", L"歌手A");
    AddRow(L"2.mp3", L"二", L"歌手B");
    AddRow(L"3.mp3", L"三", L"歌手B");
    Open();
    EXPECT_EQ(status.GetPaneText(1), L"");
    ShowQuery();
    std::wstring size, length;
    FormatByteSizeShell(size, 3000);
    FormatDuration(length, 180);
    EXPECT_EQ(status.GetPaneText(1), L"3 Files (2 Artists : 1 Album : 1 Genre) / " + size + L" / " + length);

    // A play list that cannot be read leaves an empty list and an empty pane.
    ASSERT_EQ(lib.db().exec(L"DROP VIEW playlist;"), 0);
    lib.doc.UpdateAllViews(nullptr, HintPlaylistReady, nullptr);
    EXPECT_EQ(Ctrl().GetItemCount(), 0);
    EXPECT_EQ(status.GetPaneText(1), L"");
}

TEST_F(PlaylistView, RestoreAtStartSelectsTheStoredRowOnlyWhenTheListHasIt) {
    AddRow(L"1.mp3", L"一", L"x");
    AddRow(L"2.mp3", L"二", L"x");
    AddRow(L"3.mp3", L"三", L"x");
    ASSERT_TRUE(lib.doc.SetQuery(L"last", L"SELECT * FROM list ORDER BY rowid;", false));
    lib.settings.playlistView.playlistRestore = true;

    lib.settings.playlistView.playlistLatestSelection = 2;
    Open();
    EXPECT_EQ(Ctrl().GetItemCount(), 0) << "restored once the message loop runs";
    ASSERT_TRUE(PumpUntil([this] { return !pl->IsRestorePending(); }));
    EXPECT_EQ(Ctrl().GetItemCount(), 3);
    EXPECT_EQ(pl->GetSelectedRows(), std::vector<int>{2});
    EXPECT_EQ(List().current, 2);
    EXPECT_EQ(lib.settings.playlistView.playlistLatestSelection, -1);

    for (int stored : {3, 7, -4, -1}) {
        List().current = -1;
        lib.settings.playlistView.playlistLatestSelection = stored;
        OpenAndRestore();
        EXPECT_EQ(Ctrl().GetItemCount(), 3) << stored;
        EXPECT_TRUE(pl->GetSelectedRows().empty()) << stored;
        EXPECT_EQ(List().current, -1) << stored;
    }

    lib.settings.playlistView.playlistRestore = false;
    List().Clear();
    Open();
    EXPECT_FALSE(pl->IsRestorePending());
    EXPECT_EQ(Ctrl().GetItemCount(), 0);
}

TEST_F(PlaylistView, DraggingACellCarriesItsRowColumnAndTextAndNothingStartsPastTheLastColumn) {
    const int64_t first = AddRow(L"1.mp3", L"一", L"歌手");
    AddRow(L"2.mp3", L"二", L"歌手");
    Open();
    ShowQuery();
    RecordingDrag drag;
    RECT artist = Cell(0, 1);
    Notify(LVN_BEGINDRAG, 0, 1, POINT{(artist.left + artist.right) / 2, (artist.top + artist.bottom) / 2});
    ASSERT_EQ(drag.runs, 1);
    EXPECT_EQ(drag.cell.rowid, first);
    EXPECT_EQ(drag.cell.columnType, ColArtist);
    EXPECT_EQ(drag.text, L"歌手");

    RECT comment = Cell(0, 2);   // empty: only the private format
    Notify(LVN_BEGINRDRAG, 0, 2, POINT{comment.left + 2, comment.top + 2});
    ASSERT_EQ(drag.runs, 2);
    EXPECT_EQ(drag.cell.columnType, ColComment);
    EXPECT_FALSE(drag.hasText);

    RECT rating = Cell(0, 3);
    Notify(LVN_BEGINDRAG, 0, 3, POINT{rating.right + 20, rating.top + 2});
    EXPECT_EQ(drag.runs, 2) << "past the last column there is no cell to drag";
}

TEST_F(PlaylistView, RatingClickWritesTheStarsHitAndAFailedWriteShowsTheStoredRatingAgain) {
    const int64_t row = AddRow(L"1.mp3", L"一", L"x");
    Open();
    ShowQuery();
    const int left = Cell(0, 3).left;
    const int hints = HintsOf(HintStatisticsChanged);
    Notify(NM_CLICK, 0, 3, POINT{left + 3 * 16, 5});
    EXPECT_EQ(Stat(L"rating", row), 30);
    EXPECT_EQ(List().at(0)->rating, 30);
    ASSERT_EQ(HintsOf(HintStatisticsChanged), hints + 1);
    EXPECT_EQ(view.hints.back().change.rating, 30);
    EXPECT_EQ(view.hints.back().change.rowid, row);

    Notify(NM_CLICK, 0, 3, POINT{left + 3 * 16 + 4, 5});   // the same three stars: nothing
    EXPECT_EQ(HintsOf(HintStatisticsChanged), hints + 1);
    Notify(NM_CLICK, 0, 3, POINT{left + 500, 5});
    EXPECT_EQ(Stat(L"rating", row), 50);
    Notify(NM_CLICK, 0, 3, POINT{left, 5});
    EXPECT_EQ(Stat(L"rating", row), 0);
    EXPECT_EQ(HintsOf(HintStatisticsChanged), hints + 3);

    ASSERT_EQ(lib.db().exec(L"CREATE TRIGGER refuse BEFORE UPDATE OF rating ON list BEGIN SELECT RAISE(ABORT, 'refused'); END;"), 0);
    const size_t errors = lib.errors.messages.size();
    Notify(NM_CLICK, 0, 3, POINT{left + 2 * 16, 5});
    EXPECT_EQ(lib.errors.messages.size(), errors + 1);
    EXPECT_EQ(Stat(L"rating", row), 0);
    EXPECT_EQ(List().at(0)->rating, 0) << "the row shows what is stored";
    EXPECT_EQ(HintsOf(HintStatisticsChanged), hints + 3) << "nothing changed, nobody is told";
}

TEST_F(PlaylistView, RatingClickHitsTheStarUnderTheCursorWhenColumnZeroWasDraggedAway) {
    lib.settings.playlistView.columns = {{ColRating, 84}, {ColTitle, 150}, {ColArtist, 150}};
    const int64_t row = AddRow(L"1.mp3", L"一", L"x");
    Open();
    ShowQuery();
    int order[] = {1, 2, 0};   // the rating column dragged to the end
    ASSERT_TRUE(ListView_SetColumnOrderArray(Ctrl().m_hWnd, 3, order));
    RECT header;
    ASSERT_TRUE(Header_GetItemRect(Header(), 0, &header));
    ASSERT_GT(header.left, 0);
    Notify(NM_CLICK, 0, 0, POINT{header.left + 3 * 16, 5});
    EXPECT_EQ(Stat(L"rating", row), 30);
    Notify(NM_CLICK, 0, 0, POINT{header.left + 16, 5});
    EXPECT_EQ(Stat(L"rating", row), 10);
    EXPECT_EQ(List().at(0)->rating, 10);
}

TEST_F(PlaylistView, RowMenuRatesAndResetsTheSelectedRowsWithOneStatementEach) {
    const int64_t a = AddRow(L"1.mp3", L"一", L"x");
    const int64_t b = AddRow(L"2.mp3", L"二", L"x");
    const int64_t c = AddRow(L"3.mp3", L"三", L"x");
    ASSERT_EQ(lib.db().exec(L"UPDATE list SET playcount=5, lastplayed=99;"), 0);
    Open();
    ShowQuery();
    Select({0, 2});
    popups.answers = {ID_PL_RATING_40};
    Notify(NM_RCLICK, 0);
    EXPECT_EQ(Stat(L"rating", a), 40);
    EXPECT_EQ(Stat(L"rating", b), 0);
    EXPECT_EQ(Stat(L"rating", c), 40);
    EXPECT_EQ(List().at(2)->rating, 40);
    EXPECT_EQ(HintsOf(HintStatisticsChanged), 0) << "no selected row is playing";

    boxes.answers = {IDCANCEL, IDOK};
    popups.answers = {ID_PL_RESET_PLAYCOUNT, ID_PL_RESET_LASTPLAYED};
    Notify(NM_RCLICK, 0);
    EXPECT_EQ(Stat(L"playcount", a), 5) << "cancelled";
    Notify(NM_RCLICK, 0);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0], L"「再生回数」を初期化します。");
    EXPECT_EQ(boxes.texts[1], L"「最後に再生した日時」を初期化します。");
    EXPECT_EQ(boxes.types[1], UINT(MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_EQ(Stat(L"lastplayed", a), 0);
    EXPECT_EQ(Stat(L"lastplayed", b), 99);
    EXPECT_EQ(List().at(2)->lastplayed, 0);

    ASSERT_EQ(lib.db().exec(L"CREATE TRIGGER refuse BEFORE UPDATE OF rating ON list BEGIN SELECT RAISE(ABORT, 'refused'); END;"), 0);
    popups.answers = {ID_PL_RATING_10};
    Notify(NM_RCLICK, 0);
    EXPECT_EQ(List().at(0)->rating, 40) << "a failed write leaves the rows";
    EXPECT_FALSE(lib.errors.messages.empty());
}

TEST_F(PlaylistView, PropertiesOfTheClickedRowAndCopyOfTheSelectionOpenTheirDialogs) {
    AddRow(L"1.mp3", L"一", L"x");
    const int64_t b = AddRow(L"2.mp3", L"二", L"x");
    AddRow(L"3.mp3", L"三", L"x");
    Open();
    ShowQuery();
    Select({0, 2});
    CLarkspur2006App app;   // the copy dialog works on the application's settings
    std::vector<UINT> templates;
    int64_t propertyRow = 0;
    size_t copyTracks = 0;
    long long copyBytes = 0;
    CScriptedDialogRunner runner([&](CDialog& d) {
        templates.push_back(d.GetTemplateId());
        if (auto* p = dynamic_cast<CDlgProperty*>(&d)) propertyRow = p->m_rowid;
        if (auto* c = dynamic_cast<CDlgCopy*>(&d)) {
            copyTracks = c->m_tracks.size();
            copyBytes = c->m_totalSize;
        }
    });
    IDialogRunner* previous = AfxSetDialogRunner(&runner);
    popups.answers = {ID_PL_PROPERTIES, ID_PL_COPY};
    Notify(NM_RCLICK, 1);
    Notify(NM_RCLICK, 1);
    AfxSetDialogRunner(previous);
    EXPECT_EQ(templates, (std::vector<UINT>{IDD_PROPERTY, IDD_COPY}));
    EXPECT_EQ(propertyRow, b);
    EXPECT_EQ(copyTracks, 2u);
    EXPECT_EQ(copyBytes, 2000);
}

TEST_F(PlaylistView, KeysOpenTheMenuOnlyForAFocusedRowAndCtrlASelectsAll) {
    AddRow(L"1.mp3", L"一", L"x");
    AddRow(L"2.mp3", L"二", L"x");
    Open();
    ShowQuery();
    Ctrl().SetItemState(-1, 0, LVIS_FOCUSED | LVIS_SELECTED);
    Notify(LVN_KEYDOWN, -1, 0, {}, VK_APPS);
    EXPECT_EQ(popups.shown, 0);
    Ctrl().SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    Notify(LVN_KEYDOWN, -1, 0, {}, VK_APPS);
    EXPECT_EQ(popups.shown, 1);

    Notify(LVN_KEYDOWN, -1, 0, {}, 'A');
    EXPECT_TRUE(pl->GetSelectedRows().empty());
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    Notify(LVN_KEYDOWN, -1, 0, {}, 'A');
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(pl->GetSelectedRows(), (std::vector<int>{0, 1}));
}

TEST_F(PlaylistView, RemoveAsksFirstThenDeletesTheSelectedFilesAndEmptiesTheList) {
    AddRow(L"1.mp3", L"一", L"x");
    const int64_t b = AddRow(L"2.mp3", L"二", L"x");
    Open();
    ShowQuery();
    Select({1});
    boxes.answers = {IDCANCEL, IDOK};
    popups.answers = {ID_PL_LIBRARY_REMOVE, ID_PL_LIBRARY_REMOVE};
    Notify(NM_RCLICK, 1);
    EXPECT_EQ(lib.Scalar(L"SELECT COUNT(*) FROM list;"), 2);
    EXPECT_EQ(Ctrl().GetItemCount(), 2);
    Notify(NM_RCLICK, 1);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1], L"ライブラリからファイルを削除します。");
    EXPECT_EQ(boxes.types[1], UINT(MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_EQ(lib.Scalar(L"SELECT COUNT(*) FROM list WHERE rowid=" + std::to_wstring(b) + L";"), 0);
    EXPECT_EQ(lib.Scalar(L"SELECT COUNT(*) FROM list;"), 1);
    EXPECT_EQ(Ctrl().GetItemCount(), 0);
    ASSERT_FALSE(lib.view.hints.empty());
    EXPECT_EQ(lib.view.hints.back().code, HintLibraryChanged);
    EXPECT_TRUE(lib.view.hints.back().clearLists);
}

TEST_F(PlaylistView, RemoveOnALockedLibraryShowsTheErrorAndKeepsTheRowsAndTheLists) {
    AddRow(L"1.mp3", L"一", L"x");
    AddRow(L"2.mp3", L"二", L"x");
    Open();
    ShowQuery();
    Select({0, 1});
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open16(lib.settings.libraryPath.c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr));
    const size_t hints = lib.view.hints.size();
    boxes.answers = {IDOK};
    popups.answers = {ID_PL_LIBRARY_REMOVE};
    Notify(NM_RCLICK, 1);
    ASSERT_EQ(lib.errors.messages.size(), 1u);
    EXPECT_EQ(lib.errors.messages[0], kDBErrorMessage);
    EXPECT_EQ(Ctrl().GetItemCount(), 2);
    EXPECT_EQ(lib.view.hints.size(), hints) << "no view was told the rows were gone";
    sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(lib.Scalar(L"SELECT COUNT(*) FROM list;"), 2);
    // Once the lock is gone the same command deletes.
    boxes.answers = {IDOK};
    popups.answers = {ID_PL_LIBRARY_REMOVE};
    Notify(NM_RCLICK, 1);
    EXPECT_EQ(lib.Scalar(L"SELECT COUNT(*) FROM list;"), 0);
    EXPECT_EQ(lib.errors.messages.size(), 1u);
}

TEST_F(PlaylistView, UpdateReadsTheSelectedFilesAgainThroughTheAddDialog) {
    lib.settings.generic.checkFileModify = false;
    AddWavTrack(L"one.wav", 4410);
    AddWavTrack(L"two.wav", 4410);
    Open();
    ShowQuery();
    Select({1});
    std::wstring caption;
    CScriptedDialogRunner runner([&](CDialog& d) {
        caption = d.GetWindowText();
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDOK)) != FALSE; }));
        ::SendMessageW(::GetDlgItem(d.m_hWnd, IDOK), BM_CLICK, 0, 0);
    });
    IDialogRunner* previous = AfxSetDialogRunner(&runner);
    popups.answers = {ID_PL_LIBRARY_UPDATE};
    Notify(NM_RCLICK, 1);
    AfxSetDialogRunner(previous);
    EXPECT_EQ(caption, L"ライブラリの更新");
    ASSERT_FALSE(lib.view.hints.empty());
    EXPECT_EQ(lib.view.hints.back().code, HintLibraryChanged);
    EXPECT_FALSE(lib.view.hints.back().clearLists) << "the play list keeps its rows";
    EXPECT_EQ(Ctrl().GetItemCount(), 2);
}

TEST_F(PlaylistView, DoubleClickPlaysAndTheEndOfTheTrackMovesOnByThePlayMode) {
    StartPlayer();
    lib.settings.bass.repeatMode = PlayModeList;
    const int64_t first = AddWavTrack(L"one.wav", 4410);
    const int64_t second = AddWavTrack(L"two.wav", 4410);
    Open();
    ShowQuery();
    Notify(NM_DBLCLK, 0);
    EXPECT_EQ(Doc().GetNowPlaying().rowid, first);
    EXPECT_TRUE(PumpUntil([&] { return Doc().GetNowPlaying().rowid == second; }));
    EXPECT_EQ(List().current, 1);
    EXPECT_TRUE(PumpUntil([&] { return Doc().GetPlayState() == 0; }));
    EXPECT_EQ(PlayCount(first), 1);

    // With single-click play a click plays and the double click that follows does nothing.
    lib.settings.playlistView.singleClick = true;
    Notify(NM_CLICK, 1, 0);
    EXPECT_EQ(Doc().GetNowPlaying().rowid, second);
    Doc().Stop(true);
    Notify(NM_DBLCLK, 0);
    EXPECT_TRUE(Doc().GetNowPlaying().file_name.empty());

    // Enter and the play command play the focused row.
    Ctrl().SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    Notify(LVN_KEYDOWN, -1, 0, {}, VK_RETURN);
    EXPECT_EQ(Doc().GetNowPlaying().rowid, first);
    Doc().Stop(true);
    Ctrl().SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    pl->SendMessage(WM_COMMAND, ID_PLAY);
    EXPECT_EQ(Doc().GetNowPlaying().rowid, second);
    Doc().Stop(true);
}

TEST_F(PlaylistView, DividerDoubleClickFitsAColumnAndOldSystemsGetTheViewsOwnArrows) {
    AddRow(L"1.mp3", L"短い", L"x");
    AddRow(L"2.mp3", L"とても長いタイトルの曲", L"x");
    lib.settings.playlistView.headerSortColumn = ColArtist;
    Close();
    pl = new CLarkspur2006View;
    CCreateContext context;
    context.document = &lib.doc;
    const RECT r{0, 0, 880, 500};
    ASSERT_TRUE(pl->Create(WS_CHILD | WS_VISIBLE, r, frame.m_hWnd, 0xE900, &context));
    lib.doc.UpdateAllViews(nullptr, HintSettingsChanged, nullptr);
    pl->SetOwnArrows(true);
    pl->OnInitialUpdate();
    ShowQuery();
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    Header_GetItem(Header(), 1, &item);
    EXPECT_TRUE(item.fmt & HDF_BITMAP);
    EXPECT_TRUE(item.fmt & HDF_BITMAP_ON_RIGHT);
    EXPECT_NE(item.hbm, nullptr);
    EXPECT_EQ(HeaderFormat(1), 0) << "not the header's own arrows";

    auto divider = [&](int index) {
        NMHEADERW n{};
        n.hdr.hwndFrom = Header();
        n.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(Header()));
        n.hdr.code = HDN_DIVIDERDBLCLICKW;
        n.iItem = index;
        ::SendMessageW(pl->m_hWnd, WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
    };
    divider(3);
    EXPECT_EQ(Ctrl().GetColumnWidth(3), 5 * lib.settings.generic.ratingImageWidth + 2 * 3);
    Ctrl().SetColumnWidth(0, 10);
    divider(0);
    const int longest = Ctrl().GetColumnWidth(0);
    Ctrl().SetColumnWidth(2, 10);
    divider(2);
    EXPECT_EQ(Ctrl().GetColumnWidth(2), 2 * 3) << "an empty comment column takes only its margins";
    EXPECT_GT(longest, 4 * 3 + 50) << "the longest title, measured";
}

TEST_F(PlaylistView, StatisticsOfOtherViewsPatchTheRowAndTheViewsOwnAreNotAppliedTwice) {
    AddRow(L"1.mp3", L"一", L"x");
    const int64_t b = AddRow(L"2.mp3", L"二", L"x");
    Open();
    ShowQuery();
    CUpdateViewPlaybackStatisticsChange change;
    change.changed = CUpdateViewPlaybackStatisticsChange::Rating | CUpdateViewPlaybackStatisticsChange::PlayCount;
    change.rowid = b;
    change.rating = 20;
    change.playcount = 7;
    change.lastplayed = 12345;   // its bit is not set: not copied
    lib.doc.UpdateAllViews(nullptr, HintStatisticsChanged, &change);
    EXPECT_EQ(List().at(1)->rating, 20);
    EXPECT_EQ(List().at(1)->playcount, 7);
    EXPECT_EQ(List().at(1)->lastplayed, 0);

    change.rating = 50;
    pl->OnUpdate(pl, HintStatisticsChanged, &change);   // sent by the view itself
    EXPECT_EQ(List().at(1)->rating, 20);
    lib.doc.UpdateAllViews(nullptr, HintStatisticsChanged, nullptr);   // the related-albums switch
    EXPECT_EQ(List().at(1)->rating, 20);

    // A new now-playing row is remembered for the next start; a library change keeps the
    // rows unless the lists are to be cleared.
    List().current = 1;
    lib.doc.UpdateAllViews(nullptr, HintNowPlayingChanged, nullptr);
    EXPECT_EQ(lib.settings.playlistView.playlistLatestSelection, 1);
    CUpdateViewLibrary keep;
    lib.doc.UpdateAllViews(nullptr, HintLibraryChanged, &keep);
    EXPECT_EQ(Ctrl().GetItemCount(), 2);
    CUpdateViewLibrary clear;
    clear.clearLists = true;
    lib.doc.UpdateAllViews(nullptr, HintLibraryChanged, &clear);
    EXPECT_EQ(Ctrl().GetItemCount(), 0);
    EXPECT_EQ(List().size(), 0);
}

TEST_F(PlaylistView, RemovingWhilePlayingWarnsAndStopsAndWhilePausedOnlyAsks) {
    StartPlayer();
    const int64_t first = AddWavTrack(L"one.wav", 44100 * 5);
    AddWavTrack(L"two.wav", 44100 * 5);
    Open();
    ShowQuery();
    Select({1});
    ASSERT_TRUE(Doc().Play(0, 0));
    Doc().TogglePause();
    boxes.answers = {IDCANCEL, IDOK};
    popups.answers = {ID_PL_LIBRARY_REMOVE, ID_PL_LIBRARY_REMOVE};
    Notify(NM_RCLICK, 1);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], L"ライブラリからファイルを削除します。") << "paused: the plain question";
    EXPECT_EQ(Doc().GetNowPlaying().rowid, first);

    Doc().TogglePause();
    ASSERT_EQ(Doc().GetPlayState(), 1);
    Notify(NM_RCLICK, 1);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1], L"ライブラリからファイルを削除します。\r\n演奏は停止します。よろしいですか？");
    EXPECT_EQ(boxes.types[1], UINT(MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2));
    EXPECT_EQ(Doc().GetPlayState(), 0);
    EXPECT_TRUE(Doc().GetNowPlaying().file_name.empty());
    EXPECT_EQ(lib.Scalar(L"SELECT COUNT(*) FROM list;"), 1);
}

TEST_F(PlaylistView, OpenFolderShowsEachSelectedFileInExplorerAfterAskingForSeveral) {
    const std::wstring first = lib.dir.file(L"1.mp3");
    AddRow(L"1.mp3", L"一", L"x");
    AddRow(L"2.mp3", L"二", L"x");
    Open();
    ShowQuery();
    Select({0});
    popups.answers = {ID_PL_OPEN_FOLDER, ID_PL_OPEN_FOLDER, ID_PL_OPEN_FOLDER};
    Notify(NM_RCLICK, 0);
    EXPECT_TRUE(boxes.texts.empty());
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].file, L"explorer.exe");
    EXPECT_EQ(host.commands[0].parameters, L"/n,/select,\"" + first + L"\"");

    Select({0, 1});
    boxes.answers = {IDCANCEL, IDOK};
    Notify(NM_RCLICK, 0);
    EXPECT_EQ(host.commands.size(), 1u);
    Notify(NM_RCLICK, 0);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0], L"ファイルが複数選択されています。\r\n続行しますか？");
    EXPECT_EQ(host.commands.size(), 3u);
}

TEST_F(PlaylistView, TheCursorOverARatingCellOrAnyCellWithSingleClickPlayIsTheHand) {
    AddRow(L"1.mp3", L"一", L"x");
    HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    lib.settings.generic.handCursor = hand;
    Open();
    ShowQuery();
    auto moveTo = [&](int column) {
        RECT cell = Cell(0, column);
        pl->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
        return ::GetCursor();
    };
    EXPECT_EQ(moveTo(3), hand);
    EXPECT_NE(moveTo(1), hand);
    lib.settings.playlistView.singleClick = true;
    EXPECT_EQ(moveTo(1), hand);
    lib.settings.generic.handCursor = nullptr;
}

TEST_F(PlaylistView, TheRowHeightImageListOutlivesTheListControlAndGoesWithTheView) {
    RowImagesRecorder recorder;
    Open();
    const HIMAGELIST first = recorder.Watch(pl->m_hWnd);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(pl->GetStyle() & LVS_SHAREIMAGELISTS) << "the control leaves its lists to the view";

    // A larger font makes taller rows: the control lets go of the old list before it goes.
    lib.settings.playlistView.fontSize = 20;
    lib.doc.UpdateAllViews(nullptr, HintSettingsChanged, nullptr);
    const HIMAGELIST second = ListView_GetImageList(pl->m_hWnd, LVSIL_SMALL);
    EXPECT_NE(second, first);
    EXPECT_EQ(32, ImageHeight(second));
    EXPECT_TRUE(recorder.DestroyedAlone(first));

    Close();   // the view deletes itself
    EXPECT_TRUE(recorder.DestroyedAlone(second)) << "the view destroyed its list once the control had let go of it";
}
