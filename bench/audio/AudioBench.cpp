// Plays a 60-second MP3, FLAC and Ogg file on the "no sound" device through the document's
// player, with the status watch thread feeding three listeners at the default rates, and
// reports the process's CPU time per second of audio; then decodes each file flat out and
// reports the decoding speed.
//   audio_bench.exe [--seconds=N]   play only the first N seconds of each file

#include <windows.h>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "audio/Decoder.h"
#include "audio/AddonInterface.h"
#include "document/Larkspur2006Doc.h"
#include "bench/support/BenchClock.h"

namespace {

using bench_support::Now;

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return (double(t.dwHighDateTime) * 4294967296.0 + double(t.dwLowDateTime)) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// Listeners as the program has them: each copies the block under its own lock.
struct CopyingListener {
    CRITICAL_SECTION lock;
    PlayerStatusBlock copy;
    CopyingListener() { InitializeCriticalSection(&lock); }
    static void Callback(const PlayerStatusBlock* status, void* user) {
        auto* self = static_cast<CopyingListener*>(user);
        EnterCriticalSection(&self->lock);
        CopyPlayerStatusBlock(*status, self->copy);
        LeaveCriticalSection(&self->lock);
    }
};

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file(path, n);
    return file.substr(0, file.find_last_of(L'\\') + 1);
}

struct Result {
    double audioSeconds = 0;
    double cpuPerAudioSecond = 0;  // seconds of CPU per second of audio
    double decodeSpeed = 0;        // seconds of audio per second of decoding
};

bool PlayFile(CLarkspur2006Doc& doc, int code, double limit, Result& r) {
    if (!doc.Play(static_cast<int>(doc.GetPlaylistCache().current), 0)) return false;
    const HSTREAM s = doc.GetStream();
    const QWORD length = BASS_ChannelGetLength(s, BASS_POS_BYTE);
    const double seconds = BASS_ChannelBytes2Seconds(s, length);
    const double play = limit > 0 && limit < seconds ? limit : seconds;
    const double cpu0 = ProcessCpuSeconds();
    const double start = Now();
    while (Now() - start < play + 0.05) {
        Sleep(50);
        if (BASS_ChannelGetPosition(s, BASS_POS_BYTE) >= length) break;
    }
    const double cpu = ProcessCpuSeconds() - cpu0;
    const double heard = BASS_ChannelBytes2Seconds(s, BASS_ChannelGetPosition(s, BASS_POS_BYTE));
    doc.Stop(true);
    (void)code;
    r.audioSeconds = heard;
    r.cpuPerAudioSecond = heard > 0 ? cpu / heard : 0;
    return heard > 0;
}

bool DecodeFile(const std::wstring& path, Result& r) {
    int error = 0;
    const double start = Now();
    auto decoder = larkaudio::Decoder::Open(path, 0, 0, 0x3FF, &error);
    if (!decoder) return false;
    std::vector<float> buffer(4096 * decoder->Channels());
    size_t frames = 0;
    for (;;) {
        const size_t n = decoder->Read(buffer.data(), 4096);
        if (n == 0) break;
        frames += n;
    }
    const double elapsed = Now() - start;
    r.decodeSpeed = elapsed > 0 ? (double(frames) / decoder->Rate()) / elapsed : 0;
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    double limit = 0;
    for (int i = 1; i < argc; ++i)
        if (std::wcsncmp(argv[i], L"--seconds=", 10) == 0) limit = _wtof(argv[i] + 10);

    CAppSettings settings;
    settings.appTitle = L"Spur";
    settings.bass.device = 0;
    settings.bass.frequency = 44100;
    settings.bass.masterVolume = 100;
    settings.bass.repeatMode = 0;
    settings.thread.watchWait = 16;
    settings.thread.freqSeek = 20;
    settings.thread.freqSpec = 3;
    settings.thread.freqLyrics = 20;
    CLarkspur2006Doc doc(settings, nullptr);
    const std::wstring folder = ProgramFolder();
    doc.SetProgramFolder(folder);
    if (doc.InitBass() == 0 || !doc.StartStatusThread()) {
        std::printf("the audio engine did not start\n");
        return 1;
    }
    CopyingListener seek, spectrum, lyrics;
    doc.RegisterPlayerListener(&CopyingListener::Callback, &seek, settings.thread.freqSeek);
    doc.RegisterPlayerListener(&CopyingListener::Callback, &spectrum, settings.thread.freqSpec);
    doc.RegisterPlayerListener(&CopyingListener::Callback, &lyrics, settings.thread.freqLyrics);

    struct File {
        const wchar_t* name;
        int code;
        const char* label;
        double decodeTarget;
    };
    const File files[] = {{L"bench60.mp3", 3, "MP3 192k", 100}, {L"bench60.flac", 10, "FLAC", 0},
                          {L"bench60.ogg", 4, "Ogg q5", 0}};
    std::printf("Audio engine on the no-sound device, watch thread at 16 ms, listeners 20/3/20\n");
    std::printf("%-10s %10s %14s %12s %16s\n", "file", "played s", "CPU ms per s", "CPU %", "decode x realtime");
    bool ok = true;
    for (const File& f : files) {
        PlaylistCache& list = doc.GetPlaylistCache();
        list.Clear();
        auto track = std::make_unique<TrackRecord>();
        track->rowid = 1;
        track->file_name = folder + f.name;
        track->infoCodec = f.code;
        list.rows.push_back(std::move(track));
        list.current = 0;
        Result r;
        if (GetFileAttributesW(list.rows[0]->file_name.c_str()) == INVALID_FILE_ATTRIBUTES ||
            !PlayFile(doc, f.code, limit, r) || !DecodeFile(list.rows[0]->file_name, r)) {
            std::printf("%-10s could not be played\n", f.label);
            ok = false;
            continue;
        }
        std::printf("%-10s %10.1f %14.2f %11.2f%% %16.0f\n", f.label, r.audioSeconds, r.cpuPerAudioSecond * 1000,
                    r.cpuPerAudioSecond * 100, r.decodeSpeed);
    }
    std::printf("targets: playback with the watch thread below 2%% of one core; MP3 decoding at least 100x\n");
    doc.ClosePlayer();
    return ok ? 0 : 1;
}
