#pragma once
// A document with an open library, a play list of generated tracks and the audio engine on the
// "no sound" device, with a recording player host whose message-only window hands
// "BassSyncMsg" to the document as the main frame does.

#include "DocTestSupport.h"
#include <gtest/gtest.h>
#include "app/ViewHints.h"
#include "document/IPlayerHost.h"
#include "document/PlayerStatus.h"
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace player_test {

class FakePlayerHost : public IPlayerHost {
public:
    FakePlayerHost();
    ~FakePlayerHost() override;

    HWND GetMainWindow() override { return window; }
    void SetCaption(const std::wstring& text) override { captions.push_back(text); }
    bool IsInTray() override { return inTray; }
    void ShowTrayBalloon(const std::wstring& title, const std::wstring& text, DWORD icon) override {
        balloons.push_back({title, text, icon});
    }
    void UpdateTrayInfo(const TrackRecord* track) override { trayTracks.push_back(track ? track->rowid : 0); }
    void OnPlayStateChanged() override { ++stateChanges; }
    bool GetSeekBarListener(PlayerStatusCallback& callback, void*& user) override;
    void SetRepeatModeButton(int mode) override { repeatButtons.push_back(mode); }
    void SetVolumeSlider(int volume) override { volumeSliders.push_back(volume); }
    void RunShellCommand(HWND owner, const std::wstring& file, const std::wstring* parameters) override {
        commands.push_back({owner, file, parameters != nullptr, parameters ? *parameters : L""});
    }

    struct Balloon {
        std::wstring title, text;
        DWORD icon;
    };
    struct Command {
        HWND owner;
        std::wstring file;
        bool hasParameters;
        std::wstring parameters;
    };

    CLarkspur2006Doc* doc = nullptr;   // receives "BassSyncMsg"
    HWND window = nullptr;
    bool inTray = false;
    bool offerSeekBar = true;
    std::vector<std::wstring> captions;
    std::vector<Balloon> balloons;
    std::vector<int64_t> trayTracks;
    std::vector<Command> commands;
    std::vector<int> repeatButtons;    // each play mode shown on the repeat-mode button
    std::vector<int> volumeSliders;    // each volume the slider was moved to
    std::vector<DWORD> syncStreams;    // wParam of each "BassSyncMsg"
    int stateChanges = 0;
    std::atomic<int> seekBarCalls{0};
};

// Records the player's hints with what their objects held during the call.
class PlaybackView : public CView {
public:
    struct Hint {
        LPARAM code;
        const PlayerStatusBlock* status;   // the pointer handed over (not to be read later)
        int state;                         // of the block, for hints 30 and 31
        float length;
        CUpdateViewPlaybackStatisticsChange change;  // for hint 32
    };
    void OnUpdate(CView*, LPARAM hint, CObject* object) override;
    std::vector<Hint> hints;
    int Count(LPARAM code) const;
};

// Pumps the calling thread's messages until done() holds or `ms` have passed.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 10000);
// Pumps messages for `ms`.
void Pump(DWORD ms);

class PlayerFixture : public ::testing::Test {
protected:
    PlayerFixture();
    ~PlayerFixture() override;

    // Starts the engine through the document (device 0) and the watch thread.
    void StartPlayer();
    // A WAV track of `frames` frames at 44100 Hz mono, added to the library and the play list.
    int64_t AddWavTrack(const std::wstring& name, int frames, double amplitude = 0.5);
    // A track of an existing file with a format code, added to the library and the play list.
    int64_t AddTrack(const std::wstring& path, int code);
    PlaylistCache& List() { return lib.doc.GetPlaylistCache(); }
    CLarkspur2006Doc& Doc() { return lib.doc; }
    int PlayCount(int64_t rowid);
    int Gain(int64_t rowid);
    int64_t LastPlayed(int64_t rowid);
    // The hints the view received, codes only.
    std::vector<LPARAM> HintCodes() const;

    doc_test::Library lib;
    FakePlayerHost host;
    PlaybackView view;
};

// The test program's folder, with its trailing backslash.
std::wstring ProgramFolder();

}  // namespace player_test
