#include "ui/views/DlgInfo.h"
#include "PlayerTestSupport.h"
#include "support/GdiplusSession.h"
#include "app/ViewHints.h"
#include "document/DocTestSupport.h"
#include "resources/resource.h"
#include "framework/Dialog.h"
#include "framework/PopupMenu.h"
#include "ui/dialogs/DlgProperty.h"
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
    f.pane.OnUpdateInfo(nullptr, HintNowPlayingChanged);   // nothing plays: no rows
    EXPECT_EQ(0, ListView_GetItemCount(::GetDlgItem(f.pane.m_hWnd, IDC_INFO_LIST)));
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
