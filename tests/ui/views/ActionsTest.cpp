// Every action code through "LarkRunCommandMsg", hot keys, media keys and the suspend
// notification, against a real document playing on the no-sound device.
#include "ControlFrameFixture.h"
#include "app/ViewHints.h"
#include "framework/PopupMenu.h"
#include "ui/views/InfoView.h"
#include "ui/views/LeftView.h"
#include "ui/views/TagQueryView.h"
#include "ui/views/ActionCodes.h"
#include "ui/views/HotKeyMatch.h"
#include <array>

using player_test::PumpUntil;

namespace {

// Takes the place of a popup menu's loop and notes the menu's first command.
class MenuProbe : public IPopupMenuPresenter {
public:
    MenuProbe() { m_previous = AfxSetPopupMenuPresenter(this); }
    ~MenuProbe() override { AfxSetPopupMenuPresenter(m_previous); }
    BOOL Track(HMENU menu, UINT, int, int, HWND, const TPMPARAMS*) override {
        firstItem = ::GetMenuItemID(menu, 0);
        return FALSE;
    }
    UINT firstItem = 0;

private:
    IPopupMenuPresenter* m_previous = nullptr;
};

class ActionFrame : public control_test::ControlFrameFixture {
protected:
    // Opens the frame over a library of three tracks, all in the play list.
    void OpenWithTracks() {
        ASSERT_TRUE(Open());
        for (int i = 0; i < 3; ++i)
            ASSERT_GT(AddTrack(L"t" + std::to_wstring(i) + L".wav", L"曲" + std::to_wstring(i), L"A", 20.0), 0);
        ASSERT_TRUE(LoadPlaylist(L"SELECT * FROM list ORDER BY tagTitle;"));
        doc->UpdateAllViews(nullptr, HintPlaylistReady, nullptr);
        ASSERT_EQ(doc->GetPlaylistCache().rows.size(), 3u);
    }
    LRESULT RunCommand(int code) {
        return ::SendMessageW(frame->m_hWnd, CMainFrame::s_msgRunCommand, 0, code);
    }
    int State() { return doc->GetPlayState(); }
    int Current() { return doc->GetPlaylistCache().current; }
    LRESULT AppCommand(int command) {
        return ::SendMessageW(frame->m_hWnd, WM_APPCOMMAND, reinterpret_cast<WPARAM>(frame->m_hWnd),
                              MAKELPARAM(0, FAPPCOMMAND_KEY | command));
    }
};

}  // namespace

TEST_F(ActionFrame, PlaybackActionsDriveThePlayer) {
    OpenWithTracks();
    EXPECT_EQ(RunCommand(ActionNone), 0) << "the message counts as handled";
    EXPECT_TRUE(frame->ExecuteAction(ActionNone));
    for (int code : {1, 9, 23, 49, 72}) EXPECT_FALSE(frame->ExecuteAction(code)) << code;

    RunCommand(ActionPlayPause);
    EXPECT_EQ(State(), PlayStatePlaying) << "play/pause on a stopped player plays";
    EXPECT_EQ(Current(), 0);
    RunCommand(ActionPlayPause);
    EXPECT_EQ(State(), PlayStatePaused);
    RunCommand(ActionPlayPause);
    EXPECT_EQ(State(), PlayStatePlaying);
    RunCommand(ActionNext);
    EXPECT_EQ(Current(), 1);
    RunCommand(ActionNext);
    EXPECT_EQ(Current(), 2);
    RunCommand(ActionPrevious);
    EXPECT_EQ(Current(), 1);

    // Seeking: forward by "Seek.Seconds", then back to the start.
    const QWORD second = BASS_ChannelSeconds2Bytes(doc->GetStream(), 1.0);
    RunCommand(ActionSeekForward);
    EXPECT_GE(BASS_ChannelGetPosition(doc->GetStream(), BASS_POS_BYTE), 5 * second);
    ASSERT_TRUE(PumpUntil([&] { return doc->GetPlayerStatus().positionBytes >= static_cast<int64_t>(5 * second); }));
    RunCommand(ActionSeekBack);
    EXPECT_LT(BASS_ChannelGetPosition(doc->GetStream(), BASS_POS_BYTE), 3 * second);
    RunCommand(ActionSeekForward);
    RunCommand(ActionSeekStart);
    EXPECT_LT(BASS_ChannelGetPosition(doc->GetStream(), BASS_POS_BYTE), 2 * second);
    EXPECT_EQ(State(), PlayStatePlaying);

    RunCommand(ActionStop);
    EXPECT_EQ(State(), PlayStateStopped);
    EXPECT_TRUE(doc->GetNowPlaying().file_name.empty()) << "stop clears the now-playing track";
}

TEST_F(ActionFrame, SettingActionsChangeTheSettingsAndTellTheViews) {
    OpenWithTracks();
    RunCommand(ActionVolumeUp);
    EXPECT_EQ(settings.bass.masterVolume, 60);
    RunCommand(ActionVolumeDown);
    RunCommand(ActionVolumeDown);
    EXPECT_EQ(settings.bass.masterVolume, 40);
    RunCommand(ActionMute);
    EXPECT_TRUE(settings.bass.mute);
    RunCommand(ActionMute);
    EXPECT_FALSE(settings.bass.mute);

    view->hints.clear();
    RunCommand(ActionEqualizer);
    EXPECT_TRUE(settings.bass.enableEq);
    EXPECT_EQ(view->Count(HintEqualizerSwitched), 1);
    RunCommand(ActionEqualizer);
    EXPECT_FALSE(settings.bass.enableEq);

    struct Mode {
        int code, mode;
    } modes[] = {{ActionModeSingleRepeat, 1}, {ActionModeListRepeat, 2}, {ActionModeList, 3},
                 {ActionModeRandom, 4}, {ActionModeSingle, 0}, {ActionModeCycle, 1}};
    for (const Mode& m : modes) {
        RunCommand(m.code);
        EXPECT_EQ(settings.bass.repeatMode, m.mode) << m.code;
    }

    // Showing a window sets it shown every time; toggling flips it.
    RunCommand(ActionShowCoverWindow);
    RunCommand(ActionShowCoverWindow);
    EXPECT_TRUE(settings.imageWindow.windowShow);
    EXPECT_EQ(view->Count(HintCoverWindowShown), 2);
    RunCommand(ActionToggleCoverWindow);
    EXPECT_FALSE(settings.imageWindow.windowShow);
    RunCommand(ActionShowLyricsWindow);
    EXPECT_TRUE(settings.lyricsWindow.windowShow);
    EXPECT_EQ(view->Count(HintLyricsWindowShown), 1);
    RunCommand(ActionToggleLyricsWindow);
    EXPECT_FALSE(settings.lyricsWindow.windowShow);

    // Query history: back and forward re-run the recorded queries.
    ASSERT_TRUE(LoadPlaylist(L"SELECT * FROM list WHERE tagTitle = '曲1';"));
    EXPECT_EQ(doc->GetQueryHistory().current, 1);
    RunCommand(ActionQueryBack);
    EXPECT_EQ(doc->GetQueryHistory().current, 0);
    RunCommand(ActionQueryForward);
    EXPECT_EQ(doc->GetQueryHistory().current, 1);

    // The focus actions make their pane the active view.
    struct Pane {
        int code;
        bool (*is)(CView*);
    } panes[] = {
        {ActionFocusQueryTree, [](CView* v) { return dynamic_cast<CLeftView*>(v) != nullptr; }},
        {ActionFocusGroupView, [](CView* v) { return dynamic_cast<CTagQueryView*>(v) != nullptr; }},
        {ActionFocusPlaylist, [](CView* v) { return dynamic_cast<CLarkspur2006View*>(v) != nullptr; }},
        {ActionFocusInfoPane, [](CView* v) { return dynamic_cast<CInfoView*>(v) != nullptr; }},
    };
    for (const Pane& p : panes) {
        EXPECT_TRUE(frame->ExecuteAction(p.code));
        EXPECT_TRUE(p.is(frame->GetActiveView())) << p.code;
    }
    // The playback menu opens at the cursor.
    {
        MenuProbe probe;
        EXPECT_TRUE(frame->ExecuteAction(ActionPlaybackMenu));
        EXPECT_EQ(probe.firstItem, static_cast<UINT>(ID_PLAY)) << "the playback menu";
    }
    for (int code : {ActionShowWindow, ActionFocusSearch, ActionTriggerStart, ActionTriggerStop})
        EXPECT_TRUE(frame->ExecuteAction(code)) << code;
    EXPECT_FALSE(::IsIconic(frame->m_hWnd));
}

TEST_F(ActionFrame, MediaKeysActOnceAndSuspendNeverResumesAPausedTrack) {
    OpenWithTracks();
    // Play/pause does nothing while stopped; play starts.
    EXPECT_EQ(AppCommand(APPCOMMAND_MEDIA_PLAY_PAUSE), TRUE);
    EXPECT_EQ(State(), PlayStateStopped);
    EXPECT_EQ(AppCommand(APPCOMMAND_MEDIA_PLAY), TRUE);
    EXPECT_EQ(State(), PlayStatePlaying);
    // A handled key acts once: passed on it would come back and toggle again.
    EXPECT_EQ(AppCommand(APPCOMMAND_MEDIA_PLAY_PAUSE), TRUE);
    EXPECT_EQ(State(), PlayStatePaused);
    EXPECT_EQ(AppCommand(APPCOMMAND_MEDIA_PLAY_PAUSE), TRUE);
    EXPECT_EQ(State(), PlayStatePlaying);
    EXPECT_EQ(AppCommand(APPCOMMAND_MEDIA_NEXTTRACK), TRUE);
    EXPECT_EQ(Current(), 1);
    EXPECT_EQ(AppCommand(APPCOMMAND_MEDIA_PREVIOUSTRACK), TRUE);
    EXPECT_EQ(Current(), 0);
    EXPECT_EQ(AppCommand(APPCOMMAND_VOLUME_UP), TRUE);
    EXPECT_EQ(settings.bass.masterVolume, 60);
    EXPECT_EQ(AppCommand(APPCOMMAND_VOLUME_DOWN), TRUE);
    EXPECT_EQ(settings.bass.masterVolume, 50);
    EXPECT_EQ(AppCommand(APPCOMMAND_VOLUME_MUTE), TRUE);
    EXPECT_TRUE(settings.bass.mute);

    // Suspending pauses what plays, and leaves a paused track paused.
    ::SendMessageW(frame->m_hWnd, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(State(), PlayStatePaused);
    ::SendMessageW(frame->m_hWnd, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(State(), PlayStatePaused);

    EXPECT_EQ(AppCommand(APPCOMMAND_MEDIA_STOP), TRUE);
    EXPECT_EQ(State(), PlayStateStopped);
    EXPECT_TRUE(doc->GetNowPlaying().file_name.empty());
}

TEST_F(ActionFrame, HotKeysActUnlessTheSearchBoxHasTheFocusOrTheHookIsSuspended) {
    settings.globalHotkey.enable = true;
    const int ctrlShiftP = 'P' | ((HotKeyControl | HotKeyShift) << 8);
    settings.globalHotkey.hotKeys[ActionMute] = HotKeyEntry{ActionMute, ctrlShiftP, L"", false};
    OpenWithTracks();

    // A global hot key arrives as WM_HOTKEY with the action code.
    ::SendMessageW(frame->m_hWnd, WM_HOTKEY, ActionVolumeUp, 0);
    EXPECT_EQ(settings.bass.masterVolume, 60);

    // A local hot key: exactly control and shift with P, going down (repeats too).
    BYTE keys[256] = {};
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0x80;
    ASSERT_TRUE(::SetKeyboardState(keys));
    const LPARAM down = 1, repeat = 1 | (1 << 30), up = 1 | (1 << 30) | (1u << 31);
    EXPECT_EQ(CMainFrame::KeyboardHookProc(HC_ACTION, 'P', down), 1) << "swallowed";
    EXPECT_TRUE(settings.bass.mute);
    CMainFrame::KeyboardHookProc(HC_ACTION, 'P', repeat);
    EXPECT_FALSE(settings.bass.mute);
    CMainFrame::KeyboardHookProc(HC_ACTION, 'P', up);
    CMainFrame::KeyboardHookProc(HC_NOREMOVE, 'P', down);
    EXPECT_FALSE(settings.bass.mute) << "neither a key going up nor a peek";
    keys[VK_MENU] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_EQ(CMainFrame::KeyboardHookProc(HC_ACTION, 'P', down), 0) << "alt as well: not the key";
    keys[VK_MENU] = 0;
    ::SetKeyboardState(keys);

    frame->SetHookEnabled(false);
    CMainFrame::KeyboardHookProc(HC_ACTION, 'P', down);
    EXPECT_FALSE(settings.bass.mute) << "the options sheet is open";
    frame->SetHookEnabled(true);
    settings.globalHotkey.enable = false;
    CMainFrame::KeyboardHookProc(HC_ACTION, 'P', down);
    EXPECT_FALSE(settings.bass.mute) << "hot keys switched off";
    settings.globalHotkey.enable = true;

    // Typing in the search box is never taken for a hot key.
    // (Ctrl+F puts the focus there.)
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_FOCUS_SEARCH, 0);
    ASSERT_EQ(::GetFocus(), frame->m_wndSearchEdit.m_hWnd);
    EXPECT_EQ(CMainFrame::KeyboardHookProc(HC_ACTION, 'P', down), 0) << "passed on to the edit";
    ::SendMessageW(frame->m_hWnd, WM_HOTKEY, ActionVolumeUp, 0);
    EXPECT_FALSE(settings.bass.mute);
    EXPECT_EQ(settings.bass.masterVolume, 60);
    ::SetFocus(nullptr);
    ::SetKeyboardState(std::array<BYTE, 256>{}.data());
}
