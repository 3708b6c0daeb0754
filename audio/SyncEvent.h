#pragma once
// One sync callback due to be called.

#include "audio/bass.h"

namespace larkaudio {

struct SyncEvent {
    HSYNC sync = 0;
    DWORD channel = 0;
    SYNCPROC* proc = nullptr;
    void* user = nullptr;
};

}  // namespace larkaudio
