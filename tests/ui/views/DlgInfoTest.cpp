#include "ui/views/DlgInfo.h"
#include "PlayerTestSupport.h"
#include "support/GdiplusSession.h"
#include "app/ViewHints.h"
#include "document/DocTestSupport.h"
#include "resources/resource.h"
#include "framework/Dialog.h"
#include "framework/PopupMenu.h"
#include "ui/dialogs/DlgProperty.h"
#include "support/MenuLoopPresenter.h"
#include <sqlite3.h>
#include <atomic>
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <functional>

namespace {



// The pane in a hidden top-level window, on a real library.
struct PaneFixture {
    PaneFixture() : pane(lib.doc) {
        lib.settings.informationView.specHeight = 100;
        lib.settings.informationView.specX = 30;
        lib.settings.informationView.specY = 50;
        lib.settings.informationView.enableRelatedAlbum = true;
        lib.settings.informationView.fontName = L"Tahoma";
        lib.settings.informationView.fontSize = 9;
        lib.settings.thread.freqSpec = 3;
        lib.settings.thread.freqLyrics = 20;
        host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 900, 184, nullptr, 0);
        created = pane.Create(IDD_INFO, &host) != FALSE;
        if (created) pane.MoveWindow(0, 0, 880, 184);
    }
    ~PaneFixture() {
        pane.DestroyWindow();
        host.DestroyWindow();
    }
    void SetTrack(const TrackRecord& t) {
        NowPlayingLockGuard lock;
        pane.Data().track = t;
    }
    testing_support::GdiplusSession gdiplus;
    doc_test::Library lib;
    CWnd host;
    CDlgInfo pane;
    bool created = false;
};

int HintCount(const doc_test::RecordingView& view, LPARAM code) {
    int n = 0;
    for (const auto& h : view.hints) n += h.code == code;
    return n;
}

}  // namespace

TEST(DlgInfo, StartsItsSpectrumWindowsAndWorkersAndEndsThemCleanly) {
    PaneFixture f;
    ASSERT_TRUE(f.created);
    ASSERT_TRUE(f.pane.SpectrumThread());
    HWND spectrum = f.pane.SpectrumThread()->window();
    ASSERT_TRUE(::IsWindow(spectrum));
    EXPECT_EQ(IDC_SPECTRUM, ::GetDlgCtrlID(spectrum));
    EXPECT_TRUE(::IsWindow(f.pane.LyricsWindow().m_hWnd));
    EXPECT_TRUE(::IsWindow(f.pane.CoverWindow().m_hWnd));
    // The layout places the spectrum window once its thread has taken the move.
    ASSERT_TRUE(player_test::PumpUntil([&] {
        RECT r;
        ::GetWindowRect(spectrum, &r);
        return r.right - r.left == 180;
    }, 20000));
    f.pane.DestroyWindow();
    EXPECT_FALSE(::IsWindow(spectrum));
}

TEST(DlgInfo, RatingClickWritesTheRowAndAFailedWriteRestoresTheOldRating) {
    PaneFixture f;
    ASSERT_TRUE(f.created);
    TrackRecord t = doc_test::MakeTrack(f.lib.dir.path() + L"a.mp3", L"A", L"Artist", L"Album", L"1");
    ASSERT_TRUE(f.lib.Insert(t));
    t.rowid = f.lib.Scalar(L"SELECT rowid FROM list;");
    f.SetTrack(t);
    const RECT stars = f.pane.Layout().stars;
    // The right half of the third star: rating 30.
    f.pane.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(stars.left + 2 * 16 + 12, stars.top + 2));
    EXPECT_EQ(30, f.lib.Scalar(L"SELECT rating FROM list;"));
    EXPECT_EQ(30, f.pane.Rating());
    EXPECT_EQ(1, HintCount(f.lib.view, HintStatisticsChanged));
    // The same rating again: no SQL, no hint.
    f.pane.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(stars.left + 2 * 16 + 12, stars.top + 2));
    EXPECT_EQ(1, HintCount(f.lib.view, HintStatisticsChanged));

    // The table is gone: the UPDATE fails.
    ASSERT_EQ(0, f.lib.db().exec(L"DROP TABLE list;"));
    f.pane.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(stars.left + 4 * 16 + 12, stars.top + 2));
    EXPECT_EQ(30, f.pane.Rating());
    EXPECT_EQ(1, HintCount(f.lib.view, HintStatisticsChanged));
    EXPECT_EQ(1u, f.lib.errors.messages.size());
}

TEST(DlgInfo, StatisticsHintForAnotherRowChangesNothing) {
    PaneFixture f;
    ASSERT_TRUE(f.created);
    TrackRecord t = doc_test::MakeTrack(f.lib.dir.path() + L"a.mp3", L"A");
    t.rowid = 7;
    t.rating = 20;
    f.SetTrack(t);
    {
        NowPlayingLockGuard lock;
        f.pane.Data().track.rating = 20;
    }
    CUpdateViewPlaybackStatisticsChange other;
    other.changed = CUpdateViewPlaybackStatisticsChange::Rating | CUpdateViewPlaybackStatisticsChange::PlayCount;
    other.rowid = 8;
    other.rating = 50;
    other.playcount = 9;
    f.pane.OnUpdateInfo(&other, HintStatisticsChanged);
    {
        NowPlayingLockGuard lock;
        EXPECT_EQ(0, f.pane.Data().track.playcount);
    }
    other.rowid = 7;
    f.pane.OnUpdateInfo(&other, HintStatisticsChanged);
    EXPECT_EQ(50, f.pane.Rating());
    NowPlayingLockGuard lock;
    EXPECT_EQ(9, f.pane.Data().track.playcount);
}

TEST(DlgInfo, ClearedTrackEmptiesTheExtraRowsAndTheLyricsLineFollowsThePosition) {
    PaneFixture f;
    ASSERT_TRUE(f.created);
    // The lyrics come first: the track change below wakes the lyrics worker, which empties
    // them on a thread of its own.
    {
        NowPlayingLockGuard lock;
        f.pane.Data().lyricsText = L"one\r\ntwo\r\n";
        f.pane.Data().lyricsLines = {{1.0f, L"one"}, {4.0f, L"two"}};
        f.pane.Data().status.position = 2.0f;
    }
    EXPECT_EQ(L"one", f.pane.CurrentLyricsLine());
    {
        NowPlayingLockGuard lock;
        f.pane.Data().status.position = 4.5f;
    }
    EXPECT_EQ(L"two", f.pane.CurrentLyricsLine());

    f.pane.OnUpdateInfo(nullptr, HintNowPlayingChanged);   // nothing plays: no rows, no lyrics
    EXPECT_EQ(0, ListView_GetItemCount(::GetDlgItem(f.pane.m_hWnd, IDC_INFO_LIST)));
    EXPECT_EQ(L"", f.pane.CurrentLyricsLine());
}


namespace {
// Chooses one command in every popup instead of running a menu loop.
class ChoosingPopups : public IPopupMenuPresenter {
public:
    explicit ChoosingPopups(UINT command) : m_command(command) { m_previous = AfxSetPopupMenuPresenter(this); }
    ~ChoosingPopups() override { AfxSetPopupMenuPresenter(m_previous); }
    BOOL Track(HMENU menu, UINT, int, int, HWND, const TPMPARAMS*) override {
        enabled = !(::GetMenuState(menu, m_command, MF_BYCOMMAND) & MF_GRAYED);
        return enabled ? static_cast<BOOL>(m_command) : 0;
    }
    bool enabled = false;

private:
    UINT m_command;
    IPopupMenuPresenter* m_previous = nullptr;
};
}  // namespace

TEST(DlgInfo, PropertiesOfTheContextMenuShowTheNowPlayingRow) {
    PaneFixture f;
    ASSERT_TRUE(f.created);
    TrackRecord t = doc_test::MakeTrack(f.lib.dir.path() + L"a.mp3", L"夜明けの歌", L"歌手");
    ASSERT_TRUE(f.lib.Insert(t));
    t.rowid = f.lib.Scalar(L"SELECT rowid FROM list;");
    f.SetTrack(t);

    std::wstring caption;
    int rows = 0;
    bool titleShown = false;
    CScriptedDialogRunner runner([&](CDialog& dialog) {
        caption = dialog.GetWindowText();
        const PropertyRows& shown = static_cast<CDlgProperty&>(dialog).GetRows();
        rows = static_cast<int>(shown.size());
        for (const PropertyRow& row : shown) titleShown = titleShown || row.value == L"夜明けの歌";
        dialog.EndDialog(IDCANCEL);
    });
    IDialogRunner* previous = AfxSetDialogRunner(&runner);
    ChoosingPopups popups(ID_INFO_PROPERTIES);
    f.pane.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    AfxSetDialogRunner(previous);
    EXPECT_TRUE(popups.enabled);
    EXPECT_EQ(caption, L"プロパティ");
    EXPECT_GT(rows, 0);
    EXPECT_TRUE(titleShown) << "the dialog reads the now-playing row";
}

TEST(DlgInfo, ItsContextMenuIsOwnerDrawnAndAnswersItsMnemonics) {
    PaneFixture f;
    ASSERT_TRUE(f.created);
    f.SetTrack(doc_test::MakeTrack(f.lib.dir.path() + L"a.mp3", L"A", L"Artist"));
    MenuLoopPresenter menu(L'P');
    f.pane.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(menu.OpenedOwnerDrawnAndChose(3)) << "\"プロパティ(&P)\" follows a separator";
}

namespace {

std::vector<std::wstring> RelatedAlbumsOf(CDlgInfo& pane) {
    NowPlayingLockGuard lock;
    return pane.Data().relatedAlbums;
}

// The hot spots of the related-albums box after a paint of the pane.
int RelatedSpotsAfterPaint(CDlgInfo& pane, bool* more) {
    pane.SendMessage(WM_PAINT);
    int albums = 0;
    for (const auto& entry : pane.HotSpots()) albums += entry.second.kind == InfoHotSpot::RelatedAlbum;
    *more = pane.HotSpots().count(L"__RELATED_MORE__") != 0;
    return albums;
}

}  // namespace

TEST(DlgInfo, AppliedSettingsReachTheWorkersAndTheJacketAtOnce) {
    PaneFixture f;
    ASSERT_TRUE(f.created);
    // The related-albums query shows the marks that the rating expands to.
    f.lib.settings.informationView.relatedAlbumSql = L"SELECT '%rating_string%' || ' %lastplayed%';";
    f.lib.settings.generic.ratingString10 = L"A";
    f.lib.settings.generic.ratingString00 = L"b";
    f.lib.settings.generic.dateTimeFormat = L"%Y.%m";
    f.lib.settings.informationView.colorImageBackground = RGB(1, 2, 3);
    f.pane.OnUpdateInfo(nullptr, HintSettingsChanged);
    {
        NowPlayingLockGuard lock;
        HDC jacket = f.pane.JacketButton().GetBackBufferDC();
        ASSERT_TRUE(jacket);
        EXPECT_EQ(RGB(1, 2, 3), ::GetPixel(jacket, 2, 2)) << "the jacket wears the new background";
    }
    TrackRecord t = doc_test::MakeTrack(f.lib.dir.path() + L"a.mp3", L"A", L"Artist", L"Album");
    t.rating = 30;
    t.lastplayed = 1593561600;   // 2020-07-01
    f.SetTrack(t);
    f.pane.Workers()->SignalWork();
    ASSERT_TRUE(player_test::PumpUntil([&] { return !RelatedAlbumsOf(f.pane).empty(); }, 20000));
    ASSERT_EQ(1u, RelatedAlbumsOf(f.pane).size());
    EXPECT_EQ(L"AAAbb 2020.07", RelatedAlbumsOf(f.pane)[0]);
}

TEST(DlgInfo, OnlyTheRelatedAlbumsDrawnCanBeClickedAndHoverEndsWhenTheMouseLeaves) {
    PaneFixture f;
    ASSERT_TRUE(f.created);
    TrackRecord t = doc_test::MakeTrack(f.lib.dir.path() + L"a.mp3", L"Title", L"Artist", L"Album");
    t.displayTitle = L"Title";
    f.SetTrack(t);
    std::vector<std::wstring> many;
    for (int i = 0; i < 30; ++i) many.push_back(L"Album " + std::to_wstring(i));
    {
        NowPlayingLockGuard lock;
        f.pane.Data().relatedAlbums = many;
    }
    bool more = false;
    const int drawn = RelatedSpotsAfterPaint(f.pane, &more);
    ASSERT_GT(drawn, 1);
    ASSERT_TRUE(more);
    const RECT last = f.pane.HotSpots().at(L"__RELATED_001__").rect;

    // The worker's new list holds one album: the rows below it are gone, and so are their links.
    {
        NowPlayingLockGuard lock;
        f.pane.Data().relatedAlbums = {L"Only"};
    }
    EXPECT_EQ(1, RelatedSpotsAfterPaint(f.pane, &more));
    EXPECT_FALSE(more);
    const int before = HintCount(f.lib.view, HintPlaylistReady);
    f.pane.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM((last.left + last.right) / 2, (last.top + last.bottom) / 2));
    EXPECT_EQ(before, HintCount(f.lib.view, HintPlaylistReady)) << "no search for an album no longer drawn";
    // A new layout drops them until the next paint.
    f.pane.MoveWindow(0, 0, 860, 184);
    EXPECT_EQ(0u, f.pane.HotSpots().count(L"__RELATED_000__"));

    // Hover over the title, then the mouse leaves the pane: the pane must be on screen for
    // the system to track the mouse over it.
    f.host.ShowWindow(SW_SHOWNOACTIVATE);
    f.pane.ShowWindow(SW_SHOWNOACTIVATE);
    player_test::Pump(100);
    RelatedSpotsAfterPaint(f.pane, &more);
    ASSERT_EQ(1u, f.pane.HotSpots().count(L"tagTitle"));
    const RECT title = f.pane.HotSpots().at(L"tagTitle").rect;
    POINT over{(title.left + title.right) / 2, (title.top + title.bottom) / 2};
    f.pane.ClientToScreen(&over);
    ::SetCursorPos(over.x, over.y);
    f.pane.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(f.pane.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_TRUE(f.pane.HotSpots().at(L"tagTitle").hovered);
    f.pane.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
    ::SetCursorPos(over.x + 2000, over.y + 2000);
    EXPECT_TRUE(player_test::PumpUntil([&] { return !f.pane.HotSpots().at(L"tagTitle").hovered; }, 20000))
        << "the pane hears that the mouse left";
    EXPECT_FALSE(f.pane.RelatedAreaHovered());
}

namespace {

// A "RelatedAlbum.SQL" that runs for 30 s by the clock of the test's own SQL functions on
// the library's connection: it counts until 30 s have passed since it began.
struct SlowRelatedQuery {
    static void Begin(sqlite3_context* c, int, sqlite3_value**) {
        began = ::GetTickCount();
        running = true;
        sqlite3_result_int(c, 0);
    }
    static void Elapsed(sqlite3_context* c, int, sqlite3_value**) {
        const DWORD ms = ::GetTickCount() - began;
        if (ms >= 30000) ranToItsEnd = true;
        sqlite3_result_int64(c, ms);
    }
    static bool Install(sqlite3* db) {
        running = false;
        ranToItsEnd = false;
        return sqlite3_create_function(db, "test_begin", 0, SQLITE_UTF8, nullptr, &Begin, nullptr, nullptr) == SQLITE_OK &&
               sqlite3_create_function(db, "test_elapsed", 0, SQLITE_UTF8, nullptr, &Elapsed, nullptr, nullptr) == SQLITE_OK;
    }
    static constexpr const wchar_t* kSql =
        L"WITH RECURSIVE c(x) AS (SELECT test_begin() UNION ALL SELECT x + 1 FROM c WHERE test_elapsed() < 30000) "
        L"SELECT 'counted ' || max(x) FROM c;";
    static std::atomic<DWORD> began;
    static std::atomic<bool> running;
    static std::atomic<bool> ranToItsEnd;
};
std::atomic<DWORD> SlowRelatedQuery::began{0};
std::atomic<bool> SlowRelatedQuery::running{false};
std::atomic<bool> SlowRelatedQuery::ranToItsEnd{false};

}  // namespace

TEST(DlgInfo, ClosingDoesNotWaitForARelatedAlbumsQueryOfThirtySeconds) {
    PaneFixture f;
    ASSERT_TRUE(f.created);
    sqlite3* db = f.lib.db().handle();
    ASSERT_TRUE(SlowRelatedQuery::Install(db));
    f.lib.settings.informationView.relatedAlbumSql = SlowRelatedQuery::kSql;
    f.pane.OnUpdateInfo(nullptr, HintSettingsChanged);
    f.SetTrack(doc_test::MakeTrack(f.lib.dir.path() + L"a.mp3", L"A", L"Artist", L"Album"));
    f.pane.Workers()->SignalWork();
    ASSERT_TRUE(player_test::PumpUntil([] { return SlowRelatedQuery::running.load(); }, 20000));

    f.pane.DestroyWindow();   // the close of the program's pane
    EXPECT_FALSE(SlowRelatedQuery::ranToItsEnd) << "the close returned before the query's 30 s";
    // The statement was interrupted, not left running: the connection is free at once.
    EXPECT_EQ(nullptr, sqlite3_next_stmt(db, nullptr));
    EXPECT_FALSE(SlowRelatedQuery::ranToItsEnd);
    EXPECT_EQ(0, f.lib.Scalar(L"SELECT count(*) FROM list;"));
}
