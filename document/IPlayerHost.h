#pragma once
#include "app/TrackRecord.h"
#include "document/PlayerStatus.h"
#include <windows.h>
#include <shellapi.h>
#include <string>

// What the player asks of the main window, its seek bar and its tray icon. The main frame
// implements it; tests use a recording fake. CPlayerHostNone stands in while there is no frame.
class IPlayerHost {
public:
    virtual ~IPlayerHost() = default;

    // The main window: receives "BassSyncMsg" (null while there is none).
    virtual HWND GetMainWindow() = 0;
    virtual void SetCaption(const std::wstring& text) = 0;
    // True while the main window is minimised to its tray icon.
    virtual bool IsInTray() = 0;
    // A tray balloon with a title and an icon (NIIF_ERROR, ...).
    virtual void ShowTrayBalloon(const std::wstring& title, const std::wstring& text, DWORD icon) = 0;
    // The tray icon's tip (and balloon) for the now-playing track; null: no track.
    virtual void UpdateTrayInfo(const TrackRecord* track) = 0;
    // The seek bar: play started, stopped or failed.
    virtual void OnPlayStateChanged() = 0;
    // The seek bar's status listener; false while the seek bar does not exist.
    virtual bool GetSeekBarListener(PlayerStatusCallback& callback, void*& user) = 0;
    // The playback toolbar's repeat-mode button shows play mode `mode` (0-4).
    virtual void SetRepeatModeButton(int mode) = 0;
    // The status bar's volume slider moves to `volume` (0-100) and the bar, with its mute
    // icon, redraws at once.
    virtual void SetVolumeSlider(int volume) = 0;
    // Runs a "PlayTrigger" command with ShellExecuteW (default verb, no folder, SW_SHOW);
    // parameters null: none.
    virtual void RunShellCommand(HWND owner, const std::wstring& file, const std::wstring* parameters) {
        ShellExecuteW(owner, nullptr, file.c_str(), parameters ? parameters->c_str() : nullptr, nullptr, SW_SHOW);
    }
};

class CPlayerHostNone : public IPlayerHost {
public:
    HWND GetMainWindow() override { return nullptr; }
    void SetCaption(const std::wstring&) override {}
    bool IsInTray() override { return false; }
    void ShowTrayBalloon(const std::wstring&, const std::wstring&, DWORD) override {}
    void UpdateTrayInfo(const TrackRecord*) override {}
    void OnPlayStateChanged() override {}
    bool GetSeekBarListener(PlayerStatusCallback&, void*&) override { return false; }
    void SetRepeatModeButton(int) override {}
    void SetVolumeSlider(int) override {}
};
