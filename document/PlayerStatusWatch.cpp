#include "document/PlayerStatusWatch.h"
#include "framework/SentMessageWait.h"
#include <algorithm>
#include <cstring>

namespace {

void CallListener(const PlayerCallbackEntry& entry, const PlayerStatusBlock& copy) {
    try {
        entry.callback(&copy, entry.user);
    } catch (...) {
        // A listener only copies and posts; nothing it throws may end the caller's thread.
    }
}

}  // namespace

CPlayerStatusWatch::CPlayerStatusWatch()
    : m_wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)), m_quit(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    InitializeCriticalSection(&m_lock);
}

CPlayerStatusWatch::~CPlayerStatusWatch() {
    Stop(500);
    CloseHandle(m_wake);
    CloseHandle(m_quit);
    DeleteCriticalSection(&m_lock);
}

bool CPlayerStatusWatch::Start(LPTHREAD_START_ROUTINE proc, void* arg, int priority) {
    if (m_thread) return true;
    Update([](PlayerStatusBlock& b) { b = PlayerStatusBlock(); });
    ResetEvent(m_quit);
    m_thread = CreateThread(nullptr, 0, proc, arg, 0, nullptr);
    if (!m_thread) return false;
    if (priority != 0) SetThreadPriority(m_thread, priority);
    return true;
}

bool CPlayerStatusWatch::Stop(DWORD ms) {
    if (!m_thread) return true;
    SetEvent(m_quit);
    const bool inTime = WaitAnsweringSentMessages(m_thread, ms);
    // The thread still reads this object: never go on before it has ended.
    if (!inTime) WaitAnsweringSentMessages(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
    return inTime;
}

void CPlayerStatusWatch::Register(PlayerStatusCallback callback, void* user, int divider) {
    if (!callback) return;
    Update([&](PlayerStatusBlock&) { m_listeners.push_back(PlayerCallbackEntry{callback, user, std::max(divider, 1)}); });
}

std::vector<PlayerCallbackEntry> CPlayerStatusWatch::Listeners() {
    std::vector<PlayerCallbackEntry> list;
    Update([&](PlayerStatusBlock&) { list.assign(m_listeners.begin(), m_listeners.end()); });
    return list;
}

PlayerStatusBlock CPlayerStatusWatch::Snapshot() {
    PlayerStatusBlock copy;
    Update([&](PlayerStatusBlock& b) { CopyPlayerStatusBlock(b, copy); });
    return copy;
}

int CPlayerStatusWatch::State() {
    int state = 0;
    Update([&](PlayerStatusBlock& b) { state = b.state; });
    return state;
}

void CPlayerStatusWatch::CallAllListeners() {
    const PlayerStatusBlock copy = Snapshot();
    for (const auto& entry : Listeners()) CallListener(entry, copy);
}

CPlayerStatusWatch::WaitResult CPlayerStatusWatch::WaitEvents(DWORD ms) {
    HANDLE handles[2] = {m_quit, m_wake};
    const DWORD rc = WaitForMultipleObjects(2, handles, FALSE, ms);
    if (rc == WAIT_OBJECT_0) return Quit;
    if (rc == WAIT_OBJECT_0 + 1) return Woken;
    if (rc == WAIT_TIMEOUT) return TimedOut;
    return Quit;  // the events are gone: nothing more to watch
}

bool CPlayerStatusWatch::Sample(PlayerStatusBlock& copy) {
    const HSTREAM stream = m_stream;
    if (!stream) return false;
    const QWORD bytes = BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
    if (bytes == static_cast<QWORD>(-1)) return false;
    const double seconds = BASS_ChannelBytes2Seconds(stream, bytes);
    float spectrum[1024] = {};
    BASS_ChannelGetData(stream, spectrum, BASS_DATA_FFT2048);
    const DWORD level = BASS_ChannelGetLevel(stream);
    if (level == static_cast<DWORD>(-1)) return false;
    const int left = LOWORD(level), right = HIWORD(level);
    const int loudest = std::max(left, right);
    int peak = m_peak;
    while (loudest > peak && !m_peak.compare_exchange_weak(peak, loudest)) {
    }
    Update([&](PlayerStatusBlock& b) {
        b.positionBytes = static_cast<int64_t>(bytes);
        b.position = static_cast<float>(seconds);
        std::memcpy(b.spectrum, spectrum, sizeof(spectrum));
        b.levelLeft = left;
        b.levelRight = right;
        CopyPlayerStatusBlock(b, copy);
    });
    ++m_samples;
    return true;
}

void CPlayerStatusWatch::Run(int waitMs) {
    const DWORD wait = ClampWait(waitMs);
    for (;;) {
        if (WaitEvents(INFINITE) == Quit) return;
        bool woken = true;
        while (woken) {  // one wake-up: the state is read afresh and the tick count restarts
            woken = false;
            unsigned tick = 0;
            while (State() == PlayStatePlaying) {
                PlayerStatusBlock copy;
                bool sampled = false, failed = false;
                for (const auto& entry : Listeners()) {
                    if (tick != 0 && tick % static_cast<unsigned>(entry.divider) != 0) continue;
                    if (!sampled) {
                        if (!Sample(copy)) {
                            failed = true;
                            break;
                        }
                        sampled = true;
                    }
                    CallListener(entry, copy);
                }
                if (failed) {
                    // Try again from tick 0, but only after the interval: a stream that cannot
                    // be read must not turn this into a busy loop.
                    ++m_failedSamples;
                    tick = 0;
                } else {
                    ++tick;
                }
                const WaitResult r = WaitEvents(wait);
                if (r == Quit) return;
                if (r == Woken) {
                    woken = true;
                    break;
                }
            }
            if (woken) continue;
            // Not playing: leave a paused position as it was, else clear the block; then every
            // listener hears of it once. A play that has filled the block in the meantime keeps
            // its length (its own wake-up follows).
            Update([](PlayerStatusBlock& b) {
                if (b.state == PlayStatePaused || b.state == PlayStatePlaying) return;
                b.position = b.length = 0;
                b.positionBytes = b.lengthBytes = 0;
                b.levelLeft = b.levelRight = 0;
                std::fill(std::begin(b.spectrum), std::end(b.spectrum), 0.0f);
            });
            CallAllListeners();
        }
    }
}
