#include "PlayerTestSupport.h"
#include <cmath>

namespace player_test {

namespace {

const wchar_t* const kWindowClass = L"LarkPlayerTestHost";

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<FakePlayerHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (host && msg == CLarkspur2006Doc::GetBassSyncMsg()) {
        host->syncStreams.push_back(static_cast<DWORD>(wParam));
        if (host->doc) host->doc->OnEndOfTrack(static_cast<DWORD>(wParam));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void SeekBarListener(const PlayerStatusBlock*, void* user) { ++static_cast<FakePlayerHost*>(user)->seekBarCalls; }

std::wstring Quote(const std::wstring& s) {
    std::wstring out = L"'";
    for (wchar_t c : s) {
        out += c;
        if (c == L'\'') out += L'\'';
    }
    return out + L"'";
}

}  // namespace

FakePlayerHost::FakePlayerHost() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

FakePlayerHost::~FakePlayerHost() {
    if (window) DestroyWindow(window);
}

bool FakePlayerHost::GetSeekBarListener(PlayerStatusCallback& callback, void*& user) {
    if (!offerSeekBar) return false;
    callback = &SeekBarListener;
    user = this;
    return true;
}

void PlaybackView::OnUpdate(CView*, LPARAM hint, CObject* object) {
    Hint h{hint, nullptr, -1, 0, {}};
    if (auto* playback = dynamic_cast<CUpdateViewPlayback*>(object)) {
        h.status = playback->status;
        if (playback->status) {
            h.state = playback->status->state;
            h.length = playback->status->length;
        }
    }
    if (auto* change = dynamic_cast<CUpdateViewPlaybackStatisticsChange*>(object)) h.change = *change;
    hints.push_back(h);
}

int PlaybackView::Count(LPARAM code) const {
    int n = 0;
    for (const auto& h : hints) n += h.code == code;
    return n;
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void Pump(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

PlayerFixture::PlayerFixture() {
    BASS_SetConfig(LARK_CONFIG_TEST_FAIL_DEVICES, 0);
    BASS_SetConfig(LARK_CONFIG_TEST_REFUSE_FLOAT, 0);
    BASS_SetConfig(LARK_CONFIG_TEST_SILENT_DEVICES, 0);
    BASS_SetConfig(BASS_CONFIG_BUFFER, 100);
    lib.settings.bass.device = 0;
    lib.settings.bass.frequency = 44100;
    lib.settings.bass.masterVolume = 100;
    lib.settings.thread.watchWait = 16;
    lib.settings.thread.freqSeek = 20;
    lib.settings.generic.appTitle = L"%tagTitle% - Spur";
    host.doc = &lib.doc;
    lib.doc.SetPlayerHost(&host);
    lib.doc.AddView(&view);
}

PlayerFixture::~PlayerFixture() {
    lib.doc.ClosePlayer();
    lib.doc.SetPlayerHost(nullptr);
    lib.doc.RemoveView(&view);
    BASS_SetConfig(LARK_CONFIG_TEST_FAIL_DEVICES, 0);
    BASS_SetConfig(LARK_CONFIG_TEST_REFUSE_FLOAT, 0);
    BASS_SetConfig(LARK_CONFIG_TEST_SILENT_DEVICES, 0);
}

void PlayerFixture::StartPlayer() {
    ASSERT_EQ(1, lib.doc.InitBass());
    ASSERT_TRUE(lib.doc.StartStatusThread());
}

int64_t PlayerFixture::AddTrack(const std::wstring& path, int code) {
    TrackRecord t = doc_test::MakeTrack(path, L"Title " + path.substr(path.rfind(L'\\') + 1));
    t.infoCodec = code;
    lib.Insert(t);  // a file listed twice in the play list has one row
    t.rowid = lib.Scalar(L"SELECT rowid FROM list WHERE file_name=" + Quote(path) + L";");
    EXPECT_GT(t.rowid, 0);
    List().rows.push_back(std::make_unique<TrackRecord>(t));
    return t.rowid;
}

int64_t PlayerFixture::AddWavTrack(const std::wstring& name, int frames, double amplitude) {
    const std::wstring path = lib.dir.file(name);
    std::vector<int16_t> samples(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double v = amplitude * std::sin(2 * 3.14159265358979 * 1000 * i / 44100.0);
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(v * 32767));
    }
    EXPECT_TRUE(testing_support::WriteBytes(path, doc_test::PcmWaveBytes(1, 44100, samples)));
    return AddTrack(path, 5);
}

int PlayerFixture::PlayCount(int64_t rowid) {
    return static_cast<int>(lib.Scalar(L"SELECT playcount FROM list WHERE rowid=" + std::to_wstring(rowid) + L";"));
}

int PlayerFixture::Gain(int64_t rowid) {
    return static_cast<int>(lib.Scalar(L"SELECT gain FROM list WHERE rowid=" + std::to_wstring(rowid) + L";"));
}

int64_t PlayerFixture::LastPlayed(int64_t rowid) {
    return lib.Scalar(L"SELECT lastplayed FROM list WHERE rowid=" + std::to_wstring(rowid) + L";");
}

std::vector<LPARAM> PlayerFixture::HintCodes() const {
    std::vector<LPARAM> codes;
    for (const auto& h : lib.view.hints) codes.push_back(h.code);
    return codes;
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file(path, n);
    return file.substr(0, file.find_last_of(L'\\') + 1);
}

}  // namespace player_test
