#include "ui/views/DlgInfo.h"
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
