#include "ui/views/DlgOutput.h"
#include "support/MessageBoxRecorder.h"
#include "document/DocTestSupport.h"
#include "document/PlayerTestSupport.h"
#include "audio/bass.h"
#include <commctrl.h>
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include <gtest/gtest.h>
#include <deque>
#include <functional>

namespace {

using RecordingBoxes = testing_support::MessageBoxRecorder;

}  // namespace

TEST(DlgOutput, NewPresetIsAddedAndCollidingNamesAreRefusedWithAMessage) {
    doc_test::Library lib;
    InitEqPreset(lib.settings.eq.presets[L"Default"], 0);
    lib.settings.eq.selectedEq = L"Default";
    lib.settings.bass.frequency = 22050;
    CWnd host;
    host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 800, 200, nullptr, 0);
    CDlgOutput out;
    out.SetDocument(&lib.doc);
    std::deque<std::wstring> names{L"Jazz", L"jazz", L"a=b"};
    out.SetPresetNameAsker([&](std::wstring& name, const std::function<bool(const std::wstring&)>&) {
        name = names.front();
        names.pop_front();
        return true;
    });
    ASSERT_TRUE(out.Create(IDD_OUTPUT, &host));
    // An unusual rate is listed and selected.
    HWND rate = ::GetDlgItem(out.m_hWnd, IDC_OUT_RATE);
    EXPECT_EQ(5, ::SendMessageW(rate, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(22050, ::SendMessageW(rate, CB_GETITEMDATA, ::SendMessageW(rate, CB_GETCURSEL, 0, 0), 0));
    // Device list: mapper -1, "No Sound" 0.
    HWND device = ::GetDlgItem(out.m_hWnd, IDC_OUT_DEVICE);
    EXPECT_EQ(-1, static_cast<int>(::SendMessageW(device, CB_GETITEMDATA, 0, 0)));
    EXPECT_EQ(0, static_cast<int>(::SendMessageW(device, CB_GETITEMDATA, 1, 0)));

    RecordingBoxes boxes;
    out.OnNewPreset();
    EXPECT_EQ(1u, lib.settings.eq.presets.count(L"Jazz"));
    EXPECT_EQ(L"Default", lib.settings.eq.selectedEq);   // listed, not selected
    out.OnNewPreset();   // differs only in case
    out.OnNewPreset();   // "=" cannot be kept in config.ini
    EXPECT_EQ(2u, lib.settings.eq.presets.size());
    EXPECT_EQ(2u, boxes.texts.size());
    // A band label and the reset.
    EXPECT_EQ(L"16K", out.GetDlgItemText(IDC_OUT_BAND10));
    EXPECT_EQ(L"31", out.GetDlgItemText(IDC_OUT_BAND1));
    out.DestroyWindow();
    host.DestroyWindow();
}

TEST(DlgOutput, TheTextInputDialogNamesANewPresetAndRefusesTakenNames) {
    doc_test::Library lib;
    InitEqPreset(lib.settings.eq.presets[L"Default"], 0);
    InitEqPreset(lib.settings.eq.presets[L"Rock"], 0);
    lib.settings.eq.selectedEq = L"Default";
    CWnd host;
    host.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 800, 200, nullptr, 0);
    CDlgOutput out;
    out.SetDocument(&lib.doc);
    ASSERT_TRUE(out.Create(IDD_OUTPUT, &host));
    bool okForTaken = true, okForNew = false;
    CScriptedDialogRunner runner([&](CDialog& dialog) {
        EXPECT_EQ(L"新規EQ", dialog.GetWindowText());
        dialog.SetDlgItemText(IDC_INPUT_EDIT, L"rock");
        okForTaken = ::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, IDOK)) != FALSE;
        dialog.SetDlgItemText(IDC_INPUT_EDIT, L"Pop");
        okForNew = ::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, IDOK)) != FALSE;
        dialog.SendMessage(WM_COMMAND, IDOK, 0);
    });
    IDialogRunner* previous = AfxSetDialogRunner(&runner);
    out.OnNewPreset();
    AfxSetDialogRunner(previous);
    EXPECT_FALSE(okForTaken);
    EXPECT_TRUE(okForNew);
    EXPECT_EQ(1u, lib.settings.eq.presets.count(L"Pop"));
    out.DestroyWindow();
    host.DestroyWindow();
}

namespace {
using OutputPanePlaying = player_test::PlayerFixture;
}

TEST_F(OutputPanePlaying, APresetMadeInThePaneIsHeardAndComesBackAfterARestart) {
    InitEqPreset(lib.settings.eq.presets[L"Default"], 0);
    lib.settings.eq.selectedEq = L"Default";
    lib.settings.bass.enableEq = true;
    StartPlayer();
    AddWavTrack(L"tone.wav", 8 * 44100, 0.1);   // 1 kHz
    ASSERT_TRUE(Doc().Play(0, 0));
    const auto level = [&] { return static_cast<int>(LOWORD(BASS_ChannelGetLevel(Doc().GetStream()))); };
    ASSERT_TRUE(player_test::PumpUntil([&] { return level() > 3000; }));
    EXPECT_LT(level(), 3500) << "the flat preset leaves the tone as it is";

    CWnd parent;
    parent.CreateEx(0, nullptr, L"host", WS_POPUP, 0, 0, 800, 200, nullptr, 0);
    CDlgOutput out;
    out.SetDocument(&Doc());
    out.SetPresetNameAsker([](std::wstring& name, const std::function<bool(const std::wstring&)>& accept) {
        name = L"Jazz";
        return accept(name);
    });
    ASSERT_TRUE(out.Create(IDD_OUTPUT, &parent));
    out.OnNewPreset();
    HWND presets = ::GetDlgItem(out.m_hWnd, IDC_OUT_PRESET);
    const LRESULT jazz = ::SendMessageW(presets, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Jazz"));
    ASSERT_GE(jazz, 0);
    ::SendMessageW(presets, CB_SETCURSEL, jazz, 0);
    out.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OUT_PRESET, CBN_SELCHANGE), reinterpret_cast<LPARAM>(presets));
    EXPECT_EQ(lib.settings.eq.selectedEq, L"Jazz");

    // The 1 kHz slider up by 12 dB (the trackbar counts downwards).
    HWND band = ::GetDlgItem(out.m_hWnd, IDC_OUT_GAIN6);
    ::SendMessageW(band, TBM_SETPOS, TRUE, -12);
    out.SendMessage(WM_VSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(band));
    EXPECT_TRUE(player_test::PumpUntil([&] { return level() > 9000; }, 3000)) << "heard at once";
    out.DestroyWindow();
    parent.DestroyWindow();

    // At exit the settings reach "config.ini"; the next start reads them back and plays with them.
    lib.settings.SetPath(lib.dir.file(L"config.ini"));
    ASSERT_TRUE(CAppSettings::Save(lib.settings));
    CAppSettings next;
    CAppSettings::Load(L"Spur", next, lib.dir.path());
    EXPECT_EQ(next.eq.selectedEq, L"Jazz");
    ASSERT_EQ(next.eq.presets.count(L"Jazz"), 1u);
    EXPECT_FLOAT_EQ(next.eq.presets[L"Jazz"].bands[5].gain, 12.0f);
    EXPECT_FLOAT_EQ(next.eq.presets[L"Jazz"].bands[5].centre, 1000.0f);

    Doc().Stop(false);
    lib.settings.eq = next.eq;
    ASSERT_TRUE(Doc().Play(0, 0));
    EXPECT_TRUE(player_test::PumpUntil([&] { return level() > 9000; }, 3000));
}
