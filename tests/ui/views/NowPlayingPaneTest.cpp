#include "ui/views/DlgInfo.h"
#include "ui/controls/DrawnText.h"
#include "document/PlayerTestSupport.h"
#include "resources/resource.h"
#include <gdiplus.h>
#include <gtest/gtest.h>

namespace {

// Hands the document's hints to the pane, as the information view does.
class PaneForwarder : public CView {
public:
    explicit PaneForwarder(CDlgInfo& pane) : m_pane(pane) {}
    void OnUpdate(CView*, LPARAM hint, CObject* object) override { m_pane.OnUpdateInfo(object, hint); }

private:
    CDlgInfo& m_pane;
};

class NowPlayingPane : public player_test::PlayerFixture {
protected:
    NowPlayingPane() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
        auto& v = lib.settings.informationView;
        v.specHeight = 100;
        v.specX = 30;
        v.specY = 50;
        v.lyricsSearchPattern = L"%_path%%file_title%.txt";
        v.pictureSearchPattern = L"%_path%*.*";
        v.imageFadeWait = 0;
        lib.settings.thread.freqSpec = 3;
        lib.settings.thread.freqLyrics = 5;
    }
    ~NowPlayingPane() override { Gdiplus::GdiplusShutdown(m_token); }
    ULONG_PTR m_token = 0;
};

}  // namespace

TEST_F(NowPlayingPane, APlayingTrackBringsItsLyricsLineAndItFollowsThePosition) {
    StartPlayer();
    const int64_t row = AddWavTrack(L"song.wav", 44100 * 30);
    List().rows.back()->statDuration = 30;
    List().rows.back()->file_title = L"song";
    ASSERT_TRUE(testing_support::WriteBytes(lib.dir.file(L"song.txt"),
                                            std::string("[00:00:10]first line\r\n[00:00:80]second line\r\n")));
    CWnd host;
    host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 900, 184, nullptr, 0);
    CDlgInfo pane(lib.doc);
    ASSERT_TRUE(pane.Create(IDD_INFO, &host));
    pane.MoveWindow(0, 0, 880, 184);
    PaneForwarder forwarder(pane);
    lib.doc.AddView(&forwarder);

    ASSERT_TRUE(lib.doc.Play(0, 0));
    {
        NowPlayingLockGuard lock;
        EXPECT_EQ(row, pane.Data().track.rowid);
    }
    ASSERT_TRUE(player_test::PumpUntil([&] { return pane.CurrentLyricsLine() == L"first line"; }, 20000));
    ASSERT_TRUE(player_test::PumpUntil([&] { return pane.CurrentLyricsLine() == L"second line"; }, 20000));
    // The extra row of the list: none for a WAV without genre, date or comment.
    EXPECT_EQ(0, ListView_GetItemCount(::GetDlgItem(pane.m_hWnd, IDC_INFO_LIST)));

    lib.doc.Stop(true);
    lib.doc.RemoveView(&forwarder);
    pane.DestroyWindow();
    host.DestroyWindow();
}

TEST_F(NowPlayingPane, StatusCaptionsFitTheirBoxesAsDrawnAndAResizeRepaintsThePane) {
    CWnd host;
    host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 900, 184, nullptr, 0);
    CDlgInfo pane(lib.doc);
    ASSERT_TRUE(pane.Create(IDD_INFO, &host));
    pane.MoveWindow(0, 0, 700, 184);
    pane.SendMessage(WM_PAINT);

    const StatusBoxLayout boxes = pane.StatusBoxes();
    HDC dc = ::GetDC(pane.m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, pane.StatusFont());
    auto inner = [](const RECT& r) { return r.right - r.left - 2; };   // inside the one-pixel frame
    for (int mode = 0; mode <= 4; ++mode)
        EXPECT_LE(DrawnTextWidth(dc, PlayModeBoxText(mode)), inner(boxes.mode)) << PlayModeBoxText(mode);
    for (int state : {0, 2, 3}) EXPECT_LE(DrawnTextWidth(dc, PlayStateBoxText(state)), inner(boxes.state)) << state;
    EXPECT_LE(DrawnTextWidth(dc, L"EQ"), inner(boxes.equalizer));
    ::SelectObject(dc, old);
    ::ReleaseDC(pane.m_hWnd, dc);

    // The boxes stand at the right edge: widening the pane invalidates where they were (only a
    // shown window keeps an update region).
    pane.ShowWindow(SW_SHOWNOACTIVATE);
    host.ShowWindow(SW_SHOWNOACTIVATE);
    ::UpdateWindow(host.m_hWnd);
    ::ValidateRect(pane.m_hWnd, nullptr);
    pane.MoveWindow(0, 0, 880, 184);
    RECT update{};
    ASSERT_TRUE(::GetUpdateRect(pane.m_hWnd, &update, FALSE));
    POINT oldBox{boxes.mode.left + 1, boxes.mode.top + 1};
    EXPECT_TRUE(::PtInRect(&update, oldBox));

    pane.DestroyWindow();
    host.DestroyWindow();
}
