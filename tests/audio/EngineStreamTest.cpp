// Creating streams through the engine and its add-ons, their handles, and byte and second
// conversions.

#include <gtest/gtest.h>

#include <set>

#include "EngineFixture.h"

using audio_test::DataFile;
using audio_test::EngineTest;

namespace {

typedef HSTREAM(WINAPI* CreateProc)(BOOL, const void*, QWORD, QWORD, DWORD);

// One add-on DLL of the test program's "plugin" folder, loaded for the test.
class Addon {
public:
    explicit Addon(const wchar_t* dll) {
        m_module = LoadLibraryW((audio_test::ProgramFolder() + L"plugin\\" + dll).c_str());
    }
    ~Addon() {
        if (m_module) FreeLibrary(m_module);
    }
    CreateProc Export(const char* name) const {
        return m_module ? reinterpret_cast<CreateProc>(reinterpret_cast<void*>(GetProcAddress(m_module, name))) : nullptr;
    }
    HMODULE Release() {
        HMODULE m = m_module;
        m_module = nullptr;
        return m;
    }

private:
    HMODULE m_module = nullptr;
};

HSTREAM Create(CreateProc proc, const std::wstring& path, DWORD flags = 0) {
    return proc(FALSE, path.c_str(), 0, 0, flags | BASS_UNICODE);
}

}  // namespace

TEST_F(EngineTest, EngineOpensMpegOggAndWavOnly) {
    for (const wchar_t* name : {L"tone.mp2", L"tone.mp3", L"tone.ogg"}) {
        const HSTREAM s = Open(DataFile(name));
        EXPECT_NE(0u, s) << name;
        BASS_CHANNELINFO info{};
        ASSERT_TRUE(BASS_ChannelGetInfo(s, &info));
        EXPECT_EQ(44100u, info.freq);
        EXPECT_EQ(1u, info.chans);
        EXPECT_EQ(0u, info.plugin);
        EXPECT_NEAR(1.0, BASS_ChannelBytes2Seconds(s, BASS_ChannelGetLength(s, BASS_POS_BYTE)), 0.03) << name;
        EXPECT_TRUE(BASS_StreamFree(s));
    }
    const HSTREAM wav = Open(Wav(L"a.wav", 8000, 2, 800, audio_test::Ramp()));
    ASSERT_NE(0u, wav);
    BASS_CHANNELINFO info{};
    ASSERT_TRUE(BASS_ChannelGetInfo(wav, &info));
    EXPECT_EQ(8000u, info.freq);
    EXPECT_EQ(2u, info.chans);
    EXPECT_EQ(16u, info.origres);
    EXPECT_EQ(static_cast<DWORD>(LARK_FAMILY_WAV), info.ctype);
    EXPECT_EQ(3200u, BASS_ChannelGetLength(wav, BASS_POS_BYTE));
    // The add-on formats need their add-ons.
    for (const wchar_t* name : {L"tone.flac", L"tone.wma", L"tone.aac", L"tone.m4a", L"tone_alac.m4a", L"tone.tta"}) {
        EXPECT_EQ(0u, Open(DataFile(name))) << name;
        EXPECT_EQ(BASS_ERROR_FILEFORM, BASS_ErrorGetCode());
    }
    EXPECT_EQ(0u, Open(m_dir.file(L"missing.mp3")));
    EXPECT_EQ(BASS_ERROR_FILEOPEN, BASS_ErrorGetCode());
    EXPECT_EQ(0u, BASS_StreamCreateFile(TRUE, "x", 0, 1, 0));
}

TEST_F(EngineTest, EachAddonOpensOnlyItsOwnFamily) {
    struct Case {
        const wchar_t* dll;
        const char* proc;
        const wchar_t* own;
    };
    const Case cases[] = {
        {L"basswma.dll", "BASS_WMA_StreamCreateFile", L"tone.wma"},
        {L"bass_aac.dll", "BASS_AAC_StreamCreateFile", L"tone.aac"},
        {L"bass_aac.dll", "BASS_MP4_StreamCreateFile", L"tone.m4a"},
        {L"bass_alac.dll", "BASS_ALAC_StreamCreateFile", L"tone_alac.m4a"},
        {L"bassflac.dll", "BASS_FLAC_StreamCreateFile", L"tone.flac"},
        {L"bass_tta.dll", "BASS_TTA_StreamCreateFile", L"tone.tta"},
        {L"bass_ape.dll", "BASS_APE_StreamCreateFile", nullptr},  // nothing here encodes APE
    };
    const wchar_t* all[] = {L"tone.wma", L"tone.aac", L"tone.m4a", L"tone_alac.m4a", L"tone.flac",
                            L"tone.tta", L"tone.mp3", L"tone.ogg"};
    for (const Case& c : cases) {
        Addon addon(c.dll);
        CreateProc create = addon.Export(c.proc);
        ASSERT_TRUE(create) << c.proc;
        for (const wchar_t* file : all) {
            const HSTREAM s = Create(create, DataFile(file));
            const bool own = c.own && std::wstring(file) == c.own;
            EXPECT_EQ(own, s != 0) << c.proc << " on " << testing_support::ToUtf8(file);
            if (!s) continue;
            EXPECT_NEAR(1.0, BASS_ChannelBytes2Seconds(s, BASS_ChannelGetLength(s, BASS_POS_BYTE)), 0.05);
            BASS_StreamFree(s);
        }
    }
}

TEST_F(EngineTest, LoadedAddonExtendsTheEngineUntilFreed) {
    const std::wstring flacDll = audio_test::ProgramFolder() + L"plugin\\bassflac.dll";
    const HPLUGIN plugin = BASS_PluginLoad(reinterpret_cast<const char*>(flacDll.c_str()), BASS_UNICODE);
    ASSERT_NE(0u, plugin);
    const HSTREAM s = Open(DataFile(L"tone.flac"));
    ASSERT_NE(0u, s);
    BASS_CHANNELINFO info{};
    ASSERT_TRUE(BASS_ChannelGetInfo(s, &info));
    EXPECT_EQ(plugin, info.plugin);
    EXPECT_EQ(0u, Open(DataFile(L"tone.tta")));  // other add-ons are not loaded
    ASSERT_TRUE(BASS_PluginFree(plugin));
    EXPECT_FALSE(BASS_PluginFree(plugin));
    EXPECT_EQ(0u, Open(DataFile(L"tone.flac")));
    // The stream opened before stays usable: its decoding lives in the engine.
    EXPECT_TRUE(BASS_ChannelSetPosition(s, 44100, BASS_POS_BYTE));
    EXPECT_TRUE(BASS_ChannelPlay(s, FALSE));
    EXPECT_TRUE(BASS_StreamFree(s));
    // Something that is not an add-on is refused.
    const std::wstring notAddon = audio_test::ProgramFolder() + L"bass.dll";
    EXPECT_EQ(0u, BASS_PluginLoad(reinterpret_cast<const char*>(notAddon.c_str()), BASS_UNICODE));
    EXPECT_EQ(0u, BASS_PluginLoad(reinterpret_cast<const char*>(L"C:\\nowhere\\x.dll"), BASS_UNICODE));
}

TEST_F(EngineTest, StreamFromAnAddonSurvivesTheAddonsUnloading) {
    Addon addon(L"bassflac.dll");
    CreateProc create = addon.Export("BASS_FLAC_StreamCreateFile");
    ASSERT_TRUE(create);
    const HSTREAM s = Create(create, DataFile(L"tone.flac"));
    ASSERT_NE(0u, s);
    HMODULE module = addon.Release();
    ASSERT_TRUE(FreeLibrary(module));
    ASSERT_TRUE(BASS_ChannelSetPosition(s, 2 * 44000, BASS_POS_BYTE));  // near the end
    audio_test::SyncCounter ended;
    ASSERT_NE(0u, BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &audio_test::SyncCounter::Proc, &ended));
    ASSERT_TRUE(BASS_ChannelPlay(s, FALSE));
    EXPECT_TRUE(ended.WaitFor(1));
}

TEST_F(EngineTest, UnicodeAndAnsiFileNames) {
    const std::wstring unicode = Wav(L"曲\u266Aテスト.wav", 44100, 1, 4410, audio_test::Sine(440, 0.5, 44100));
    EXPECT_NE(0u, Open(unicode));
    const std::wstring plain = Wav(L"plain.wav", 44100, 1, 4410, audio_test::Sine(440, 0.5, 44100));
    const std::string ansi = testing_support::ToUtf8(plain);  // ASCII path
    const HSTREAM s = BASS_StreamCreateFile(FALSE, ansi.c_str(), 0, 0, 0);
    ASSERT_NE(0u, s);
    EXPECT_EQ(44u + 8820u, BASS_StreamGetFilePosition(s, BASS_FILEPOS_END));
}

TEST_F(EngineTest, BytesAndSecondsFollowTheSampleFormat) {
    const std::wstring mono = Wav(L"m.wav", 44100, 1, 44100, audio_test::Sine(440, 0.5, 44100));
    const std::wstring stereo = Wav(L"s.wav", 48000, 2, 48000, audio_test::Sine(440, 0.5, 48000));
    const HSTREAM m16 = Open(mono);
    const HSTREAM m32 = Open(mono, BASS_SAMPLE_FLOAT);
    const HSTREAM s16 = Open(stereo);
    ASSERT_TRUE(m16 && m32 && s16);
    EXPECT_EQ(88200u, BASS_ChannelGetLength(m16, BASS_POS_BYTE));
    EXPECT_EQ(176400u, BASS_ChannelGetLength(m32, BASS_POS_BYTE));
    EXPECT_EQ(192000u, BASS_ChannelGetLength(s16, BASS_POS_BYTE));
    EXPECT_EQ(88200u, BASS_ChannelSeconds2Bytes(m16, 1.0));
    EXPECT_EQ(176400u, BASS_ChannelSeconds2Bytes(m32, 1.0));
    EXPECT_EQ(19200u, BASS_ChannelSeconds2Bytes(s16, 0.1));
    // Whole frames, toward zero; a negative time gives a negative count.
    EXPECT_EQ(2u, BASS_ChannelSeconds2Bytes(m16, 1.5 / 44100));
    EXPECT_EQ(-88200, static_cast<int64_t>(BASS_ChannelSeconds2Bytes(m16, -1.0)));
    EXPECT_EQ(-4, static_cast<int64_t>(BASS_ChannelSeconds2Bytes(s16, -1.9 / 48000)));
    EXPECT_DOUBLE_EQ(1.0, BASS_ChannelBytes2Seconds(m16, 88200));
    EXPECT_DOUBLE_EQ(0.5, BASS_ChannelBytes2Seconds(m32, 88200));
    EXPECT_DOUBLE_EQ(0.25, BASS_ChannelBytes2Seconds(s16, 48000));
    // Positions round down to a frame; the length itself is a valid position, past it is not.
    ASSERT_TRUE(BASS_ChannelSetPosition(s16, 1003, BASS_POS_BYTE));
    EXPECT_EQ(1000u, BASS_ChannelGetPosition(s16, BASS_POS_BYTE));
    ASSERT_TRUE(BASS_ChannelSetPosition(m32, 4003, BASS_POS_BYTE));
    EXPECT_EQ(4000u, BASS_ChannelGetPosition(m32, BASS_POS_BYTE));
    EXPECT_TRUE(BASS_ChannelSetPosition(m16, 88200, BASS_POS_BYTE));
    EXPECT_FALSE(BASS_ChannelSetPosition(m16, 88202, BASS_POS_BYTE));
    EXPECT_EQ(BASS_ERROR_POSITION, BASS_ErrorGetCode());
    EXPECT_FALSE(BASS_ChannelSetPosition(m16, static_cast<QWORD>(-2), BASS_POS_BYTE));
}

TEST_F(EngineTest, FreedAndWrongHandlesFailWithoutHarm) {
    const HSTREAM s = Open(DataFile(L"tone.mp3"));
    ASSERT_NE(0u, s);
    audio_test::SyncCounter counter;
    const HSYNC sync = BASS_ChannelSetSync(s, BASS_SYNC_END, 0, &audio_test::SyncCounter::Proc, &counter);
    const HFX fx = BASS_ChannelSetFX(s, BASS_FX_DX8_PARAMEQ, 0);
    ASSERT_TRUE(sync && fx);
    // A sync or effect handle is not a stream.
    EXPECT_FALSE(BASS_ChannelPlay(sync, FALSE));
    EXPECT_FALSE(BASS_ChannelRemoveSync(s, fx));
    EXPECT_FALSE(BASS_ChannelRemoveFX(s, sync));
    ASSERT_TRUE(BASS_StreamFree(s));

    float fft[1024];
    BASS_CHANNELINFO info;
    BASS_DX8_PARAMEQ eq{1000, 12, 3};
    const QWORD bad = static_cast<QWORD>(-1);
    for (DWORD h : {static_cast<DWORD>(s), 0ul, 0xDEADBEEFul}) {
        EXPECT_FALSE(BASS_ChannelPlay(h, TRUE));
        EXPECT_EQ(BASS_ERROR_HANDLE, BASS_ErrorGetCode());
        EXPECT_FALSE(BASS_ChannelPause(h));
        EXPECT_FALSE(BASS_ChannelStop(h));
        EXPECT_EQ(bad, BASS_ChannelGetLength(h, BASS_POS_BYTE));
        EXPECT_EQ(bad, BASS_ChannelGetPosition(h, BASS_POS_BYTE));
        EXPECT_FALSE(BASS_ChannelSetPosition(h, 0, BASS_POS_BYTE));
        EXPECT_LT(BASS_ChannelBytes2Seconds(h, 100), 0.0);
        EXPECT_EQ(bad, BASS_ChannelSeconds2Bytes(h, 1.0));
        EXPECT_FALSE(BASS_ChannelSetAttribute(h, BASS_ATTRIB_VOL, 0.5f));
        EXPECT_EQ(0xFFFFFFFFu, BASS_ChannelGetLevel(h));
        EXPECT_EQ(0xFFFFFFFFu, BASS_ChannelGetData(h, fft, BASS_DATA_FFT2048));
        EXPECT_EQ(0u, BASS_ChannelSetSync(h, BASS_SYNC_END, 0, &audio_test::SyncCounter::Proc, &counter));
        EXPECT_EQ(0u, BASS_ChannelSetFX(h, BASS_FX_DX8_PARAMEQ, 0));
        EXPECT_FALSE(BASS_ChannelGetInfo(h, &info));
        EXPECT_EQ(bad, BASS_StreamGetFilePosition(h, BASS_FILEPOS_END));
        EXPECT_FALSE(BASS_StreamFree(h));
    }
    // The stream's sync and effect went with it.
    EXPECT_FALSE(BASS_ChannelRemoveSync(s, sync));
    EXPECT_FALSE(BASS_ChannelRemoveFX(s, fx));
    EXPECT_FALSE(BASS_FXSetParameters(fx, &eq));
    EXPECT_EQ(BASS_ERROR_HANDLE, BASS_ErrorGetCode());
}

TEST_F(EngineTest, HandlesAreNeverReused) {
    std::set<DWORD> seen;
    const std::wstring path = Wav(L"h.wav", 8000, 1, 80, audio_test::Sine(440, 0.5, 8000));
    for (int i = 0; i < 50; ++i) {
        const HSTREAM s = Open(path);
        ASSERT_NE(0u, s);
        const HFX fx = BASS_ChannelSetFX(s, BASS_FX_DX8_PARAMEQ, 0);
        EXPECT_TRUE(seen.insert(s).second);
        EXPECT_TRUE(seen.insert(fx).second);
        ASSERT_TRUE(BASS_StreamFree(s));
    }
    // Nor across a restart of the engine.
    const HSTREAM before = Open(path);
    ASSERT_TRUE(BASS_Free());
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    const HSTREAM after = Open(path);
    EXPECT_TRUE(seen.insert(before).second);
    EXPECT_TRUE(seen.insert(after).second);
    EXPECT_FALSE(BASS_ChannelGetInfo(before, nullptr));
}

TEST_F(EngineTest, RefuseFloatSwitch) {
    const std::wstring path = Wav(L"f.wav", 44100, 1, 441, audio_test::Sine(440, 0.5, 44100));
    BASS_SetConfig(LARK_CONFIG_TEST_REFUSE_FLOAT, 1);
    EXPECT_EQ(0u, Open(path, BASS_SAMPLE_FLOAT));
    EXPECT_EQ(BASS_ERROR_FORMAT, BASS_ErrorGetCode());
    EXPECT_NE(0u, Open(path));
    BASS_SetConfig(LARK_CONFIG_TEST_REFUSE_FLOAT, 0);
    const HSTREAM s = Open(path, BASS_SAMPLE_FLOAT);
    ASSERT_NE(0u, s);
    BASS_CHANNELINFO info{};
    ASSERT_TRUE(BASS_ChannelGetInfo(s, &info));
    EXPECT_EQ(static_cast<DWORD>(BASS_SAMPLE_FLOAT), info.flags);
}

TEST_F(EngineTest, EffectParametersAreChecked) {
    const HSTREAM s = Open(DataFile(L"tone.ogg"));
    const HFX fx = BASS_ChannelSetFX(s, BASS_FX_DX8_PARAMEQ, 0);
    ASSERT_NE(0u, fx);
    BASS_DX8_PARAMEQ p{31, 18, 15};
    EXPECT_TRUE(BASS_FXSetParameters(fx, &p));
    p = BASS_DX8_PARAMEQ{16000, 18, -15};
    EXPECT_TRUE(BASS_FXSetParameters(fx, &p));
    p = BASS_DX8_PARAMEQ{20, 18, 0};
    EXPECT_FALSE(BASS_FXSetParameters(fx, &p));
    EXPECT_EQ(BASS_ERROR_ILLPARAM, BASS_ErrorGetCode());
    p = BASS_DX8_PARAMEQ{1000, 18, 20};
    EXPECT_FALSE(BASS_FXSetParameters(fx, &p));
    EXPECT_EQ(0u, BASS_ChannelSetFX(s, 99, 0));
    EXPECT_EQ(BASS_ERROR_ILLTYPE, BASS_ErrorGetCode());
    EXPECT_TRUE(BASS_ChannelRemoveFX(s, fx));
    EXPECT_FALSE(BASS_ChannelRemoveFX(s, fx));
    EXPECT_FALSE(BASS_ChannelSetAttribute(s, 99, 1.0f));
}
