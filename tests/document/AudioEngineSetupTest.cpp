// Starting the audio engine through the document: device fall-backs, where the add-on
// decoders load from, which format code opens through which decoder, and the float fall-back.

#include "PlayerTestSupport.h"
#include "tags/StreamInfoSource.h"
#include "tags/TagInfo.h"
#include <gtest/gtest.h>

using namespace player_test;

namespace {

const wchar_t* const kAddonDlls[] = {L"basswma.dll", L"bass_aac.dll", L"bass_alac.dll",
                                     L"bassflac.dll", L"bass_tta.dll", L"bass_ape.dll"};

std::wstring DataFile(const std::wstring& name) { return testing_support::TestDataPath(L"audio\\" + name); }

// The test build's "bass_aac.dll" that lacks "BASS_MP4_StreamCreateFile".
std::wstring AacWithoutMp4() {
    std::wstring p = L"Z:" + testing_support::FromUtf8(LARK_AAC_WITHOUT_MP4_DLL);
    for (auto& c : p)
        if (c == L'/') c = L'\\';
    return p;
}

class EngineSetup : public PlayerFixture {
protected:
    // A program folder of its own with the add-ons copied where the test wants them.
    std::wstring MakeProgramFolder(bool inFolder, bool inPlugin) {
        const std::wstring folder = lib.dir.file(L"prog\\");
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"plugin").c_str(), nullptr);
        for (const wchar_t* dll : kAddonDlls) {
            const std::wstring from = ProgramFolder() + L"plugin\\" + dll;
            if (inFolder) EXPECT_TRUE(CopyFileW(from.c_str(), (folder + dll).c_str(), FALSE));
            if (inPlugin) EXPECT_TRUE(CopyFileW(from.c_str(), (folder + L"plugin\\" + dll).c_str(), FALSE));
        }
        Doc().SetProgramFolder(folder);
        return folder;
    }
};

}  // namespace

TEST_F(EngineSetup, AddonsOnlyInThePluginFolderAllLoadFromThere) {
    const std::wstring folder = MakeProgramFolder(false, true);
    ASSERT_EQ(1, Doc().InitBass());
    for (int i = 0; i < CLarkspur2006Doc::kAddonCount; ++i) {
        const BassAddonModule& m = Doc().GetAddonModule(i);
        EXPECT_TRUE(m.loaded) << i;
        EXPECT_EQ(folder + L"plugin\\" + kAddonDlls[i], m.path);
        EXPECT_NE(0u, m.plugin);
        EXPECT_TRUE(m.create);
    }
    EXPECT_TRUE(Doc().GetAddonModule(1).create2);
    Doc().FreeBass();
    for (int i = 0; i < CLarkspur2006Doc::kAddonCount; ++i) {
        EXPECT_FALSE(Doc().GetAddonModule(i).loaded);
        EXPECT_TRUE(Doc().GetAddonModule(i).path.empty());
    }
}

TEST_F(EngineSetup, TheProgramFolderComesBeforeThePluginFolder) {
    const std::wstring folder = MakeProgramFolder(true, true);
    ASSERT_EQ(1, Doc().InitBass());
    EXPECT_EQ(folder + L"bassflac.dll", Doc().GetAddonModule(3).path);
}

TEST_F(EngineSetup, MissingAddonsDisableOnlyTheirFormats) {
    MakeProgramFolder(false, false);  // no add-on anywhere
    ASSERT_EQ(1, Doc().InitBass());
    ASSERT_TRUE(Doc().StartStatusThread());
    for (int i = 0; i < CLarkspur2006Doc::kAddonCount; ++i) EXPECT_FALSE(Doc().GetAddonModule(i).loaded);
    AddTrack(DataFile(L"tone.flac"), 10);
    AddTrack(DataFile(L"tone.mp3"), 3);
    lib.settings.playlistView.ignoreOpenError = true;
    EXPECT_FALSE(Doc().Play(0, 0));
    EXPECT_EQ(PlayStateOpenError, Doc().GetPlayState());
    EXPECT_TRUE(Doc().Play(1, 0));
    EXPECT_EQ(PlayStatePlaying, Doc().GetPlayState());
}

TEST_F(EngineSetup, AacAddonWithoutItsMp4ExportLoadsNeither) {
    const std::wstring folder = MakeProgramFolder(false, true);
    ASSERT_TRUE(CopyFileW(AacWithoutMp4().c_str(), (folder + L"bass_aac.dll").c_str(), FALSE));
    DeleteFileW((folder + L"plugin\\bass_aac.dll").c_str());
    ASSERT_EQ(1, Doc().InitBass());
    ASSERT_TRUE(Doc().StartStatusThread());
    EXPECT_FALSE(Doc().GetAddonModule(1).loaded);
    EXPECT_TRUE(Doc().GetAddonModule(2).loaded);  // the others are not affected
    lib.settings.playlistView.ignoreOpenError = true;
    AddTrack(DataFile(L"tone.aac"), 7);
    AddTrack(DataFile(L"tone.m4a"), 8);
    AddTrack(DataFile(L"tone_alac.m4a"), 9);
    EXPECT_FALSE(Doc().Play(0, 0));
    EXPECT_FALSE(Doc().Play(1, 0));
    EXPECT_TRUE(Doc().Play(2, 0));
}

TEST_F(EngineSetup, EveryFormatCodeOpensThroughItsDecoder) {
    StartPlayer();
    struct Case {
        const wchar_t* file;
        int code;
    };
    // MP1 and APE have no encoder here; MP2 files carry code 3 like MP3 (and 2 opens the same way).
    const Case cases[] = {{L"tone.mp2", 2},      {L"tone.mp2", 3},  {L"tone.mp3", 3},       {L"tone.ogg", 4},
                          {L"tone.wma", 6},      {L"tone_v1.wma", 6}, {L"tone.aac", 7},     {L"tone.m4a", 8},
                          {L"tone_alac.m4a", 9}, {L"tone.flac", 10}, {L"tone.tta", 11}};
    for (const Case& c : cases) AddTrack(DataFile(c.file), c.code);
    const int wav = static_cast<int>(List().size());
    AddWavTrack(L"w.wav", 4410);
    for (int i = 0; i <= wav; ++i) {
        EXPECT_TRUE(Doc().Play(i, 0)) << i;
        const PlayerStatusBlock status = Doc().GetPlayerStatus();
        EXPECT_EQ(PlayStatePlaying, status.state);
        EXPECT_NEAR(i == wav ? 0.1 : 1.0, status.length, 0.05) << i;
    }
    EXPECT_TRUE(lib.errors.messages.empty());
}

TEST_F(EngineSetup, CodesOutsideOneToTwelveOpenNothing) {
    StartPlayer();
    lib.settings.playlistView.ignoreOpenError = true;
    // The file itself opens with any decoder of its family: a failure proves none was tried.
    AddTrack(DataFile(L"tone.mp3"), 0);
    AddTrack(DataFile(L"tone.mp3"), 13);
    AddTrack(DataFile(L"tone.flac"), 13);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Doc().Play(i, 0));
        EXPECT_EQ(0u, Doc().GetStream());
    }
    // A format code that does not match the file fails as well.
    AddTrack(DataFile(L"tone.mp3"), 10);
    EXPECT_FALSE(Doc().Play(3, 0));
}

TEST_F(EngineSetup, RefusedFloatSamplesSwitchFloatOffForGood) {
    StartPlayer();
    AddWavTrack(L"a.wav", 44100);
    lib.settings.bass.sampleFloat = true;
    ASSERT_TRUE(Doc().Play(0, 0));  // the engine takes float here
    EXPECT_TRUE(lib.settings.bass.sampleFloat);
    EXPECT_EQ(0, view.Count(HintSettingsChanged));
    BASS_SetConfig(LARK_CONFIG_TEST_REFUSE_FLOAT, 1);
    ASSERT_TRUE(Doc().Play(0, 0));
    EXPECT_FALSE(lib.settings.bass.sampleFloat);
    EXPECT_EQ(1, view.Count(HintSettingsChanged));
    // 16-bit byte counts from now on.
    EXPECT_EQ(88200, Doc().GetPlayerStatus().lengthBytes);
    ASSERT_TRUE(Doc().Play(0, 0));
    EXPECT_EQ(1, view.Count(HintSettingsChanged));
}

TEST_F(EngineSetup, DeviceFallBacks) {
    BASS_SetConfig(LARK_CONFIG_TEST_SILENT_DEVICES, 2);
    // The configured device fails, the default one works: settings changed, result 2.
    lib.settings.bass.device = 3;
    lib.settings.bass.frequency = 48000;
    EXPECT_EQ(2, Doc().InitBass());
    EXPECT_EQ(-1, lib.settings.bass.device);
    EXPECT_EQ(44100, lib.settings.bass.frequency);
    Doc().FreeBass();
    // The default fails as well: the "no sound" device, settings kept.
    BASS_SetConfig(LARK_CONFIG_TEST_FAIL_DEVICES, 0x1 | 0x8);  // devices -1 and 2
    lib.settings.bass.device = 2;
    lib.settings.bass.frequency = 48000;
    EXPECT_EQ(1, Doc().InitBass());
    EXPECT_EQ(2, lib.settings.bass.device);
    EXPECT_EQ(48000, lib.settings.bass.frequency);
    EXPECT_TRUE(lib.host.messages.empty());
    Doc().FreeBass();
    // All three fail: the message, and no engine.
    BASS_SetConfig(LARK_CONFIG_TEST_FAIL_DEVICES, 0x1 | 0x2 | 0x8);
    EXPECT_EQ(0, Doc().InitBass());
    ASSERT_EQ(1u, lib.host.messages.size());
    EXPECT_EQ(L"BASSの初期化に失敗しました。", lib.host.messages[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), lib.host.messages[0].type & MB_ICONMASK);
    const std::wstring mp3 = DataFile(L"tone.mp3");
    EXPECT_EQ(0u, BASS_StreamCreateFile(FALSE, mp3.c_str(), 0, 0, BASS_UNICODE));
    EXPECT_EQ(BASS_ERROR_INIT, BASS_ErrorGetCode());
}

TEST_F(EngineSetup, TagReadersGetStreamNumbersWhileTheEngineRuns) {
    StartPlayer();
    tagReader::IStreamInfoSource* source = tagReader::GetStreamInfoSource();
    ASSERT_NE(nullptr, source);
    tagReader::StreamInfo info;
    ASSERT_TRUE(source->QueryStreamInfo(DataFile(L"tone.mp3"), info));
    EXPECT_EQ(1, info.channels);
    EXPECT_EQ(44100, info.samplingRate);
    EXPECT_NEAR(1.0, info.seconds, 0.03);
    // The stream's end position is the file's size.
    EXPECT_EQ(testing_support::ReadBytes(DataFile(L"tone.mp3")).size(), info.fileEnd);
    // TTA through its loaded add-on, as the TTA reader asks for it.
    ASSERT_TRUE(source->QueryStreamInfo(DataFile(L"tone.tta"), info));
    EXPECT_NEAR(1.0, info.seconds, 0.001);
    EXPECT_FALSE(source->QueryStreamInfo(lib.dir.file(L"none.mp3"), info));
    Doc().ClosePlayer();
    EXPECT_EQ(nullptr, tagReader::GetStreamInfoSource());
}

// The MPEG and TTA readers end to end with the real engine, on 8000 Hz mono tones: the MP3
// holds 2 s (the decoder drops the encoder's padding) in 2792 bytes with its tag, the TTA 1 s
// in 2048 bytes; the bit rate is the file size over the decoded length, in whole kbit/s.
TEST_F(EngineSetup, MpegAndTtaFilesReadTheirStreamNumbersFromTheEngine) {
    StartPlayer();
    tagReader::TTagInfo mp3;
    ASSERT_EQ(1, mp3.Read(testing_support::TestDataPath(L"tags\\v23.mp3")));
    EXPECT_EQ(2, mp3.seconds);
    EXPECT_EQ(1, mp3.channels);
    EXPECT_EQ(8000, mp3.samplingRate);
    EXPECT_EQ(11000, mp3.bitRate);   // 2792 / (2 x 125) = 11.2
    tagReader::TTagInfo tta;
    ASSERT_EQ(1, tta.Read(testing_support::TestDataPath(L"tags\\tags.tta")));
    EXPECT_EQ(1, tta.seconds);
    EXPECT_EQ(1, tta.channels);
    EXPECT_EQ(8000, tta.samplingRate);
    EXPECT_EQ(16000, tta.bitRate);   // 2048 / 125 = 16.4
    Doc().ClosePlayer();
}
