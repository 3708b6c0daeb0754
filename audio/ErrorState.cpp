#include "audio/ErrorState.h"

namespace larkaudio {

namespace {
thread_local int t_error = 0;
}

void SetEngineError(int code) { t_error = code; }

int EngineError() { return t_error; }

}  // namespace larkaudio
