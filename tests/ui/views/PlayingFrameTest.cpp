// The seek bar and the status bar with a track playing on the no-sound device.
#include "document/DocTestSupport.h"
#include "document/PlayerTestSupport.h"
#include "framework/DocTemplate.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "ui/views/Larkspur2006View.h"
#include "ui/views/MainFrame.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <memory>

using namespace doc_test;
using player_test::PumpUntil;

namespace {

// The program's document in a hidden main frame, started on the no-sound device, with a
// play list of one generated track.
class PlayingFrameTest : public ::testing::Test {
protected:
    PlayingFrameTest() {
        app.m_nCmdShow = SW_HIDE;
        app.SetProfileFile(dir.file(L"toolbar.ini"));
        settings = MakeSettings(dir.path());
        settings.bass.device = 0;
        settings.bass.frequency = 44100;
        settings.bass.masterVolume = 80;
        settings.thread.watchWait = 16;
        settings.thread.freqSeek = 2;
        settings.bass.repeatMode = 0;
        tmpl = std::make_unique<CSingleDocTemplate>(
            IDR_MAINFRAME, [this] { return static_cast<CDocument*>(new CLarkspur2006Doc(settings)); },
            [] { return static_cast<CFrameWnd*>(new CMainFrame); },
            [] { return static_cast<CView*>(new CLarkspur2006View); });
        doc = static_cast<CLarkspur2006Doc*>(tmpl->OpenDocumentFile(nullptr));
        frame = doc ? static_cast<CMainFrame*>(app.m_pMainWnd) : nullptr;
    }
    ~PlayingFrameTest() override {
        if (frame && ::IsWindow(frame->m_hWnd)) ::SendMessageW(frame->m_hWnd, WM_CLOSE, 0, 0);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // A mono 44.1 kHz track of `seconds`, added to the library and the play list.
    void AddTrack(double seconds) {
        const std::wstring path = dir.file(L"tone.wav");
        std::vector<int16_t> samples(static_cast<size_t>(seconds * 44100), 3000);
        ASSERT_TRUE(testing_support::WriteBytes(path, PcmWaveBytes(1, 44100, samples)));
        TrackRecord t = MakeTrack(path, L"テスト曲");
        t.infoCodec = 5;
        sqlite3_stmt* insert = nullptr;
        ASSERT_EQ(doc->GetDatabase().prepare(doc->GetSqlInsert(), &insert), 0);
        ASSERT_TRUE(BindTrackForInsert(insert, t));
        sqlite3_finalize(insert);
        t.rowid = sqlite3_last_insert_rowid(doc->GetDatabase().handle());
        doc->GetPlaylistCache().rows.push_back(std::make_unique<TrackRecord>(t));
    }


    // Puts the cursor over the seek trackbar at `fraction` of the thumb's travel (or `dx`
    // pixels beyond the channel's ends) and tells the bar the thumb was set there.
    void ClickSeekBar(double fraction, int dx = 0) {
        CSliderEx& slider = frame->m_wndSliderBar.GetSlider();
        RECT channel, thumb;
        slider.GetChannelRect(&channel);
        slider.GetThumbRect(&thumb);
        const int half = (thumb.right - thumb.left) / 2;
        const int travel = channel.right - channel.left - (thumb.right - thumb.left);
        POINT p{channel.left + half + static_cast<int>(fraction * travel) + dx, (channel.top + channel.bottom) / 2};
        ::ClientToScreen(slider.m_hWnd, &p);
        ::SetCursorPos(p.x, p.y);
        ::SendMessageW(frame->m_wndSliderBar.m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0),
                       reinterpret_cast<LPARAM>(slider.m_hWnd));
    }

    int64_t PlayedBytes() { return static_cast<int64_t>(BASS_ChannelGetPosition(doc->GetStream(), BASS_POS_BYTE)); }

    CWinApp app;
    testing_support::TempDir dir;
    CAppSettings settings;
    DBErrorRecorder errors;
    std::unique_ptr<CSingleDocTemplate> tmpl;
    CLarkspur2006Doc* doc = nullptr;
    CMainFrame* frame = nullptr;
};

}  // namespace

TEST_F(PlayingFrameTest, SeekBarFollowsThePlayingTrackAndSeeksWhereClicked) {
    ASSERT_NE(frame, nullptr);
    CSliderBar& bar = frame->m_wndSliderBar;
    CSliderEx& slider = bar.GetSlider();
    EXPECT_FALSE(::IsWindowEnabled(slider.m_hWnd)) << "nothing plays yet";
    EXPECT_EQ(slider.GetRangeMax(), 0);

    AddTrack(20.0);
    ASSERT_TRUE(doc->Play(0, 0));
    const int64_t length = doc->GetPlayerStatus().lengthBytes;
    ASSERT_GT(length, 0);
    EXPECT_TRUE(::IsWindowEnabled(slider.m_hWnd));
    EXPECT_EQ(slider.GetRangeMax(), static_cast<int>(length));
    ASSERT_TRUE(PumpUntil([&] { return slider.GetPos() > 0; })) << "the status listener moves the thumb";
    EXPECT_NE(bar.GetTimeText().find(L" / 00:20"), std::wstring::npos) << bar.GetTimeText();

    // A click three quarters along seeks there; one left of the channel seeks to the start.
    ClickSeekBar(0.75);
    EXPECT_NEAR(static_cast<double>(PlayedBytes()), 0.75 * length, 0.03 * length);
    ClickSeekBar(0.0, -40);
    EXPECT_LT(PlayedBytes(), length / 20);
    ClickSeekBar(1.0, 40);
    EXPECT_GT(PlayedBytes(), length - length / 20) << "past the end: the end, never beyond";

    // Dragging: status updates leave the thumb where the user holds it.
    ClickSeekBar(0.1);
    ::SendMessageW(bar.m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 0), reinterpret_cast<LPARAM>(slider.m_hWnd));
    EXPECT_TRUE(bar.IsDragging());
    slider.SetPos(static_cast<int>(length / 2));
    player_test::Pump(200);
    EXPECT_EQ(slider.GetPos(), static_cast<int>(length / 2));
    ::SendMessageW(bar.m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider.m_hWnd));
    EXPECT_FALSE(bar.IsDragging());

    // The time display switches between elapsed and remaining time on its command.
    EXPECT_EQ(bar.GetTimeDisplayMode(), 0);
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SEEK_TIME, BN_CLICKED), 0);
    EXPECT_EQ(bar.GetTimeDisplayMode(), 1);
    EXPECT_EQ(bar.GetTimeText().front(), L'-');

    // Stopping leaves the trackbar disabled at 0.
    doc->Stop(true);
    EXPECT_FALSE(::IsWindowEnabled(slider.m_hWnd));
    EXPECT_EQ(slider.GetPos(), 0);
    EXPECT_EQ(slider.GetRangeMax(), 0);
}

TEST_F(PlayingFrameTest, SpeakerPaneMutesAndTheVolumeTrackbarSetsTheVolume) {
    ASSERT_NE(frame, nullptr);
    AddTrack(5.0);
    ASSERT_TRUE(doc->Play(0, 0));
    CStatusBarOD& status = frame->m_wndStatusBar;
    CSliderVolume& slider = status.GetVolumeSlider();
    EXPECT_EQ(slider.GetPos(), 80);

    // A click on the speaker mutes without moving the trackbar; a second one unmutes.
    RECT speaker;
    status.GetItemRect(CStatusBarOD::PaneMute, &speaker);
    const LPARAM at = MAKELPARAM((speaker.left + speaker.right) / 2, (speaker.top + speaker.bottom) / 2);
    ::SendMessageW(status.m_hWnd, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(settings.bass.mute);
    EXPECT_EQ(slider.GetPos(), 80);
    EXPECT_EQ(status.GetMuteTipText(), L"ミュート解除");
    ::SendMessageW(status.m_hWnd, WM_LBUTTONUP, 0, at);
    EXPECT_FALSE(settings.bass.mute);
    EXPECT_EQ(status.GetMuteTipText(), L"ミュート");

    // A click elsewhere in the bar changes nothing.
    ::SendMessageW(status.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(speaker.left - 30, speaker.top + 2));
    EXPECT_FALSE(settings.bass.mute);

    // Moving the trackbar sets "MasterVolume".
    slider.SetPos(40);
    ::SendMessageW(status.m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 40), reinterpret_cast<LPARAM>(slider.m_hWnd));
    EXPECT_EQ(settings.bass.masterVolume, 40);
    EXPECT_EQ(status.GetVolumeTipText(), L"ボリューム : 40%");

    // The wheel turned away from the user raises the volume.
    ::SendMessageW(slider.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    const int notch = slider.GetPos() - 40;
    EXPECT_GT(notch, 0);
    EXPECT_EQ(settings.bass.masterVolume, 40 + notch);

    // A fine wheel's parts of a notch add up to what the notch moves, either way.
    for (int i = 0; i < 4; ++i)
        ::SendMessageW(slider.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 4)), 0);
    EXPECT_EQ(slider.GetPos(), 40);
    for (int i = 0; i < 8; ++i) ::SendMessageW(slider.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 8), 0);
    EXPECT_EQ(slider.GetPos(), 40 + notch);
    EXPECT_EQ(settings.bass.masterVolume, 40 + notch);

    // The document's volume commands move the trackbar.
    settings.bass.masterVolume = 40;
    slider.SetPos(40);
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_VOLUME_UP, 0);
    EXPECT_EQ(settings.bass.masterVolume, 50);
    EXPECT_EQ(slider.GetPos(), 50);
}

TEST_F(PlayingFrameTest, AResumeInTheMiddleShowsItsPositionOnTheSeekBarAtOnce) {
    ASSERT_NE(frame, nullptr);
    CSliderEx& slider = frame->m_wndSliderBar.GetSlider();
    AddTrack(20.0);
    ASSERT_TRUE(doc->Play(0, 0));
    ClickSeekBar(0.5);
    // The output restarts (a device change) and the track resumes where it was; no status of
    // the watch thread is handled before the bar is looked at.
    ASSERT_TRUE(doc->ReinitBass());
    const int max = slider.GetRangeMax();
    ASSERT_GT(max, 0);
    EXPECT_NEAR(slider.GetPos(), max / 2, max / 20);
}
