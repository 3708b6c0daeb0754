#include "document/Larkspur2006Doc.h"
#include "app/ViewHints.h"

namespace {

// The add-on modules in their fixed order; format codes 6-12 open through them.
struct AddonSpec {
    const wchar_t* dll;
    const char* export1;
    const char* export2;
};
const AddonSpec kAddons[CLarkspur2006Doc::kAddonCount] = {
    {L"basswma.dll", "BASS_WMA_StreamCreateFile", nullptr},
    {L"bass_aac.dll", "BASS_AAC_StreamCreateFile", "BASS_MP4_StreamCreateFile"},
    {L"bass_alac.dll", "BASS_ALAC_StreamCreateFile", nullptr},
    {L"bassflac.dll", "BASS_FLAC_StreamCreateFile", nullptr},
    {L"bass_tta.dll", "BASS_TTA_StreamCreateFile", nullptr},
    {L"bass_ape.dll", "BASS_APE_StreamCreateFile", nullptr},
};

}  // namespace

void CLarkspur2006Doc::InitPlayer() {
    for (int i = 0; i < kAddonCount; ++i)
        m_addons[i] = std::make_unique<BassAddonModule>(kAddons[i].dll, kAddons[i].export1, kAddons[i].export2);
    ClearNowPlaying();
}

const std::wstring& CLarkspur2006Doc::GetProgramFolder() {
    if (m_programFolder.empty()) {
        wchar_t path[MAX_PATH];
        const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring file(path, n);
        m_programFolder = file.substr(0, file.find_last_of(L'\\') + 1);
    }
    return m_programFolder;
}

int CLarkspur2006Doc::InitBass() {
    CAppSettings::Bass& bass = m_settings.bass;
    HWND window = GetPlayerHost().GetMainWindow();
    int result = 1;
    if (!BASS_Init(bass.device, static_cast<DWORD>(bass.frequency), 0, window, nullptr)) {
        if (BASS_Init(-1, 44100, 0, window, nullptr)) {
            bass.device = -1;
            bass.frequency = 44100;
            result = 2;
        } else if (!BASS_Init(0, 44100, 0, window, nullptr)) {
            GetHost().ShowMessage(L"BASSの初期化に失敗しました。", MB_OK | MB_ICONERROR);
            BASS_Free();
            return 0;
        }
    }
    m_bassStarted = true;

    const std::wstring& folder = GetProgramFolder();
    for (auto& module : m_addons) {
        if (module->loaded) continue;
        if (!module->Load(folder)) module->Load(folder + L"plugin\\");
    }
    if (bass.preBuffer != 0) BASS_SetConfig(BASS_CONFIG_BUFFER, static_cast<DWORD>(bass.preBuffer));
    tagReader::SetStreamInfoSource(&m_streamInfo);
    return result;
}

void CLarkspur2006Doc::FreeBass() {
    for (auto& module : m_addons) module->Free();
    if (tagReader::GetStreamInfoSource() == &m_streamInfo) tagReader::SetStreamInfoSource(nullptr);
    if (m_bassStarted) BASS_Free();
    m_bassStarted = false;
}

bool CLarkspur2006Doc::OpenStream(const std::wstring& path) {
    const bool sampleFloat = m_settings.bass.sampleFloat;
    const DWORD flags = BASS_UNICODE | (sampleFloat ? BASS_SAMPLE_FLOAT : 0);
    BassAddonStreamCreate create = nullptr;
    const int code = m_nowPlaying.infoCodec;
    if (code >= 1 && code <= 5) {
        create = &BASS_StreamCreateFile;
    } else if (code >= 6 && code <= 12) {
        // 6 WMA, 7 AAC, 8 MP4 (second export of the AAC module), 9 ALAC, 10 FLAC, 11 TTA, 12 APE.
        static const int kModule[] = {0, 1, 1, 2, 3, 4, 5};
        const BassAddonModule& module = *m_addons[kModule[code - 6]];
        if (module.loaded) create = code == 8 ? module.create2 : module.create;
    }
    if (!create) return false;

    HSTREAM stream = create(FALSE, path.c_str(), 0, 0, flags);
    if (!stream && sampleFloat) {
        stream = create(FALSE, path.c_str(), 0, 0, BASS_UNICODE);
        if (stream) {
            // This output cannot take float samples: off for the rest of the run and saved so.
            m_settings.bass.sampleFloat = false;
            UpdateAllViews(nullptr, HintSettingsChanged);
        }
    }
    m_stream = stream;
    m_watch.SetStream(stream);
    return stream != 0;
}

bool CLarkspur2006Doc::ReinitBass() {
    const int state = GetPlayState();
    int index = -1;
    float seconds = 0;
    const bool resume = state == PlayStatePlaying || state == PlayStatePaused;
    if (resume) {
        index = GetPlaylistCache().current;
        seconds = static_cast<float>(BASS_ChannelBytes2Seconds(m_stream, BASS_ChannelGetPosition(m_stream, BASS_POS_BYTE)));
        if (seconds < 0) seconds = GetPlayerStatus().position;
    }
    Stop(false);
    if (m_bassStarted) BASS_Free();
    m_bassStarted = false;
    if (InitBass() == 0) return false;
    if (resume) Play(index, seconds);
    return true;
}
