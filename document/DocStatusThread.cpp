#include "document/Larkspur2006Doc.h"

DWORD WINAPI CLarkspur2006Doc::StatusThreadProc(void* doc) {
    auto* self = static_cast<CLarkspur2006Doc*>(doc);
    try {
        self->m_watch.Run(self->m_settings.thread.watchWait);
    } catch (...) {
        // Nothing may leave the thread; the watch simply ends.
    }
    return 0;
}

bool CLarkspur2006Doc::StartStatusThread() {
    return m_watch.Start(&CLarkspur2006Doc::StatusThreadProc, this, m_settings.thread.priorityWatch);
}

bool CLarkspur2006Doc::StopStatusThread() { return m_watch.Stop(500); }

void CLarkspur2006Doc::ClosePlayer() {
    const int state = GetPlayState();
    if (state == PlayStatePlaying || state == PlayStatePaused) Stop(false);
    StopStatusThread();
    RemoveEndSync();
    if (m_stream) {
        BASS_ChannelStop(m_stream);
        FreeStream();
    }
    FreeBass();
}
