// The tray icon: added and removed by its setting, the tip and balloon sent to the shell,
// clicks and double clicks, and hiding into the tray.
#include "ControlFrameFixture.h"
#include "ui/views/ActionCodes.h"
#include "support/MessageBoxRecorder.h"
#include <shellapi.h>

using player_test::PumpUntil;

namespace {

struct Notification {
    DWORD message;
    UINT flags;
    std::wstring tip, title, text;
    DWORD infoFlags;
    UINT callback;
};

class TrayFrame : public control_test::ControlFrameFixture {
protected:
    // Closing the frame still talks to the tray (the stop updates the tip, the icon is
    // deleted): close it while `sent` exists, through the recorder rather than a test's own
    // notifier, whose captured variables may already be gone.
    ~TrayFrame() override {
        if (frame) RecordTray();
        Close();
    }

    // Records what goes to the shell. Adding and deleting the icon go on to the shell, so the
    // icon really exists; modifications stop here: Wine's tray can fail on balloons and then
    // leaves the sender waiting for ever.
    void RecordTray() {
        frame->trayNotifier = [this](DWORD message, NOTIFYICONDATAW& data) {
            sent.push_back({message, data.uFlags, data.szTip, data.szInfoTitle, data.szInfo, data.dwInfoFlags,
                            data.uCallbackMessage});
            return message == NIM_MODIFY ? TRUE : ::Shell_NotifyIconW(message, &data);
        };
    }
    void Tray(UINT mouse) { ::SendMessageW(frame->m_hWnd, CMainFrame::s_msgTaskTrayNotify, 0x1234, mouse); }
    std::vector<Notification> sent;
};

}  // namespace

TEST_F(TrayFrame, IconFollowsItsSettingAndTheShellsRestart) {
    settings.mainWindowOptions.taskTrayType = 1;
    ASSERT_TRUE(Open());
    EXPECT_TRUE(frame->HasTrayIcon()) << "type 1 shows the icon from the start";
    RecordTray();
    frame->AddTrayIcon();
    EXPECT_TRUE(sent.empty()) << "an icon that exists is not added again";

    settings.mainWindowOptions.taskTrayType = 0;
    frame->ApplyTrayIconSetting();
    EXPECT_FALSE(frame->HasTrayIcon());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].message, static_cast<DWORD>(NIM_DELETE));

    settings.mainWindowOptions.taskTrayType = 2;
    frame->ApplyTrayIconSetting();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(sent[1].flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(sent[1].tip, L"Spur");
    EXPECT_EQ(sent[1].callback, CMainFrame::s_msgTaskTrayNotify);

    // A restarted shell forgets the icon: it is added again.
    ::SendMessageW(frame->m_hWnd, CMainFrame::s_msgTaskbarCreated, 0, 0);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2].message, static_cast<DWORD>(NIM_ADD));
    settings.mainWindowOptions.taskTrayType = 3;
    ::SendMessageW(frame->m_hWnd, CMainFrame::s_msgTaskbarCreated, 0, 0);
    EXPECT_EQ(sent.size(), 3u) << "type 3 shows no icon while the window is not minimised";
    EXPECT_FALSE(frame->HasTrayIcon());
}

TEST_F(TrayFrame, PlayingTrackSetsTheTipAndABalloonThatTheTimerTakesDown) {
    settings.mainWindowOptions.taskTrayType = 1;
    settings.mainWindowOptions.infoTipEnable = true;
    settings.mainWindowOptions.infoTipTimeout = 100;
    settings.generic.appTitle = L"%tagTitle% - %_app_title%";
    ASSERT_TRUE(Open());
    ASSERT_GT(AddTrack(L"a.wav", L"曲名", L"A", 20.0), 0);
    ASSERT_TRUE(LoadPlaylist());
    doc->UpdateAllViews(nullptr, HintPlaylistReady, nullptr);
    ::Sleep(10);
    RecordTray();
    ASSERT_TRUE(doc->Play(0, 0));

    // First the tip (the program's name while balloons are on) with an empty balloon text,
    // then the track's tip and balloon.
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(sent[0].flags, static_cast<UINT>(NIF_TIP | NIF_INFO | NIF_ICON));
    EXPECT_EQ(sent[0].tip, L"Spur");
    EXPECT_EQ(sent[0].text, L"");
    EXPECT_EQ(sent[1].flags & (NIF_TIP | NIF_INFO), static_cast<UINT>(NIF_TIP | NIF_INFO));
    EXPECT_EQ(sent[1].tip, L"曲名 - Spur");
    EXPECT_EQ(sent[1].title, L"曲名");
    EXPECT_EQ(sent[1].text, L"A");
    EXPECT_EQ(sent[1].infoFlags, static_cast<DWORD>(NIIF_USER | NIIF_NOSOUND)) << "the program's own icon, silent";

    // The balloon's time ends with an empty text.
    ASSERT_TRUE(PumpUntil([&] { return sent.size() == 3; }, 3000));
    EXPECT_EQ(sent[2].flags, static_cast<UINT>(NIF_INFO | NIF_ICON));
    EXPECT_EQ(sent[2].text, L"");

    // Action 16 shows the balloon again without touching the tip.
    frame->ExecuteAction(ActionShowBalloon);
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(sent[3].flags, static_cast<UINT>(NIF_INFO | NIF_ICON));
    EXPECT_EQ(sent[4].flags & NIF_TIP, 0u);
    EXPECT_EQ(sent[4].title, L"曲名");

    // The error balloon keeps the caller's title and icon, and its sound.
    sent.clear();
    frame->ShowTrayBalloon(L"ERROR", L"開けません", NIIF_ERROR);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].title, L"ERROR");
    EXPECT_EQ(sent[1].text, L"開けません");
    EXPECT_EQ(sent[1].infoFlags, static_cast<DWORD>(NIIF_ERROR));

    // Without balloons only the tip changes.
    settings.mainWindowOptions.infoTipEnable = false;
    sent.clear();
    frame->UpdateTrayInfo(&doc->GetNowPlaying());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].flags, static_cast<UINT>(NIF_TIP | NIF_ICON));
    EXPECT_EQ(sent[0].tip, L"曲名 - Spur");
}

TEST_F(TrayFrame, DoubleClickRunsOnlyItsOwnActionAndASingleClickWaits) {
    settings.mainWindowOptions.taskTrayType = 1;
    settings.mainWindowOptions.taskTrayClick = ActionMute;
    settings.mainWindowOptions.taskTrayDblClick = ActionVolumeUp;
    settings.mainWindowOptions.taskTrayRClick = ActionVolumeDown;
    settings.mainWindowOptions.taskTrayMDblClick = ActionShowLyricsWindow;
    settings.mainWindowOptions.taskTrayBalloonClick = ActionShowCoverWindow;
    ASSERT_TRUE(Open());

    Tray(WM_LBUTTONDOWN);
    Tray(WM_LBUTTONUP);
    Tray(WM_LBUTTONDBLCLK);
    player_test::Pump(::GetDoubleClickTime() + 200);
    EXPECT_EQ(settings.bass.masterVolume, 60);
    EXPECT_FALSE(settings.bass.mute) << "the single click's action never ran";

    Tray(WM_LBUTTONDOWN);
    EXPECT_FALSE(settings.bass.mute) << "a single click waits for a possible double click";
    ASSERT_TRUE(PumpUntil([&] { return settings.bass.mute; }, 3000));
    Tray(WM_RBUTTONDOWN);
    ASSERT_TRUE(PumpUntil([&] { return settings.bass.masterVolume == 50; }, 3000));
    Tray(WM_MBUTTONDBLCLK);
    EXPECT_TRUE(settings.lyricsWindow.windowShow);
    Tray(NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(settings.imageWindow.windowShow);
}

TEST_F(TrayFrame, TypeThreeHidesTheMinimisedWindowInTheTrayUntilShownAgain) {
    settings.mainWindowOptions.taskTrayType = 3;
    ASSERT_TRUE(Open());
    EXPECT_FALSE(frame->HasTrayIcon());
    EXPECT_FALSE(frame->IsInTray());
    ::ShowWindow(frame->m_hWnd, SW_MINIMIZE);
    EXPECT_TRUE(frame->HasTrayIcon());
    EXPECT_FALSE(::IsWindowVisible(frame->m_hWnd)) << "hidden in the tray";
    EXPECT_TRUE(frame->IsInTray());

    frame->ExecuteAction(ActionShowWindow);
    EXPECT_FALSE(frame->HasTrayIcon());
    EXPECT_FALSE(::IsIconic(frame->m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(frame->m_hWnd));

    // Action 11 minimises, and from the tray restores again.
    frame->ExecuteAction(ActionToggleMinimized);
    EXPECT_TRUE(frame->HasTrayIcon());
    frame->ExecuteAction(ActionToggleMinimized);
    EXPECT_FALSE(frame->HasTrayIcon());
    EXPECT_FALSE(::IsIconic(frame->m_hWnd));
}

TEST_F(TrayFrame, AShellRestartThatRefusesTheIconGivesTheHiddenWindowBack) {
    settings.mainWindowOptions.taskTrayType = 3;
    ASSERT_TRUE(Open());
    bool refuse = false;
    frame->trayNotifier = [&](DWORD, NOTIFYICONDATAW&) -> BOOL {
        if (!refuse) return TRUE;
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    };
    ::ShowWindow(frame->m_hWnd, SW_MINIMIZE);
    ASSERT_TRUE(frame->IsInTray());
    ASSERT_FALSE(::IsWindowVisible(frame->m_hWnd));
    refuse = true;
    ::SendMessageW(frame->m_hWnd, CMainFrame::s_msgTaskbarCreated, 0, 0);
    EXPECT_TRUE(::IsWindowVisible(frame->m_hWnd)) << "back on the taskbar";
    EXPECT_TRUE(::IsIconic(frame->m_hWnd));
    EXPECT_FALSE(frame->IsInTray());
    frame->trayNotifier = nullptr;
}

TEST_F(TrayFrame, AddingTheIconIsRetriedOnlyWhenTheShellTimesOut) {
    ASSERT_TRUE(Open());
    int attempts = 0;
    DWORD failure = ERROR_TIMEOUT;
    frame->trayNotifier = [&](DWORD message, NOTIFYICONDATAW&) {
        if (message == NIM_ADD) ++attempts;
        ::SetLastError(failure);
        return FALSE;
    };
    frame->AddTrayIcon();
    EXPECT_EQ(attempts, 3) << "three attempts in all";
    EXPECT_FALSE(frame->HasTrayIcon()) << "no icon was added";

    frame->RemoveTrayIcon();
    attempts = 0;
    failure = ERROR_ACCESS_DENIED;
    frame->AddTrayIcon();
    EXPECT_EQ(attempts, 1) << "other failures are not retried";
    frame->trayNotifier = nullptr;
}

TEST_F(TrayFrame, AnIconTheShellRefusesNeverHidesTheWindowAndPlayErrorsComeInABox) {
    settings.playlistView.ignoreOpenError = false;
    ASSERT_TRUE(Open());
    ASSERT_GT(AddTrack(L"gone.wav", L"曲名", L"A"), 0);
    ASSERT_TRUE(LoadPlaylist());
    doc->UpdateAllViews(nullptr, HintPlaylistReady, nullptr);
    ASSERT_TRUE(::DeleteFileW(dir.file(L"gone.wav").c_str()));
    testing_support::MessageBoxRecorder boxes;

    for (int type : {2, 3}) {
        settings.mainWindowOptions.taskTrayType = type;
        frame->RemoveTrayIcon();
        ::ShowWindow(frame->m_hWnd, SW_RESTORE);
        sent.clear();
        frame->trayNotifier = [this](DWORD message, NOTIFYICONDATAW& data) {
            sent.push_back({message, data.uFlags, data.szTip, data.szInfoTitle, data.szInfo, data.dwInfoFlags,
                            data.uCallbackMessage});
            ::SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        };
        ::ShowWindow(frame->m_hWnd, SW_MINIMIZE);
        ASSERT_FALSE(sent.empty()) << type;
        EXPECT_EQ(sent[0].message, static_cast<DWORD>(NIM_ADD)) << type;
        EXPECT_TRUE(::IsIconic(frame->m_hWnd)) << type;
        EXPECT_TRUE(::IsWindowVisible(frame->m_hWnd)) << "still on the taskbar, type " << type;
        EXPECT_FALSE(frame->HasTrayIcon()) << type;
        EXPECT_FALSE(frame->IsInTray()) << type;

        // The open failure is told in a box, not in a balloon of the missing icon.
        sent.clear();
        const size_t before = boxes.texts.size();
        EXPECT_FALSE(doc->Play(0, 0));
        ASSERT_EQ(boxes.texts.size(), before + 1) << type;
        EXPECT_NE(boxes.texts.back().find(L"BASSの初期化"), std::wstring::npos);
        EXPECT_TRUE(sent.empty()) << "nothing sent to the shell, type " << type;
        frame->trayNotifier = nullptr;
    }
}

TEST_F(TrayFrame, AnAddThatTimedOutButWasDoneIsFoundAndNoIconIsLeftInTheTray) {
    ASSERT_TRUE(Open());
    // A shell that holds at most one icon: its adds time out, and the first `lateAdds` of
    // them still put the icon in the tray, as a busy shell may.
    bool inTray = false;
    int lateAdds = 0;
    std::vector<DWORD> messages;
    frame->trayNotifier = [&](DWORD message, NOTIFYICONDATAW&) -> BOOL {
        messages.push_back(message);
        switch (message) {
        case NIM_ADD:
            if (inTray) break;   // an icon that exists cannot be added again
            if (lateAdds > 0) {
                --lateAdds;
                inTray = true;
            }
            ::SetLastError(ERROR_TIMEOUT);
            return FALSE;
        case NIM_MODIFY:
            if (inTray) return TRUE;
            break;
        case NIM_DELETE:
            if (!inTray) break;
            inTray = false;
            return TRUE;
        default:
            break;
        }
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    };

    // The icon came after all: the second attempt finds it instead of adding it again.
    lateAdds = 1;
    frame->AddTrayIcon();
    EXPECT_TRUE(frame->HasTrayIcon());
    EXPECT_EQ((std::vector<DWORD>{NIM_ADD, NIM_MODIFY}), messages);
    frame->RemoveTrayIcon();
    EXPECT_FALSE(inTray);

    // Every attempt timed out and the last one was done late: the frame counts on no icon,
    // and closing it deletes the one in the tray.
    messages.clear();
    lateAdds = 0;
    frame->AddTrayIcon();
    EXPECT_EQ((std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_ADD, NIM_MODIFY, NIM_ADD}), messages);
    EXPECT_FALSE(frame->HasTrayIcon());
    inTray = true;   // the shell finishes the last add after the frame gave up
    Close();
    EXPECT_FALSE(inTray) << "no icon is left behind";
}
