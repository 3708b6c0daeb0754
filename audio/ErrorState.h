#pragma once
// The last error of the calling thread, as BASS_ErrorGetCode reports it.

namespace larkaudio {

void SetEngineError(int code);
int EngineError();

// Sets the error and returns the given failure value, for one-line error returns.
template <typename T>
T Fail(int code, T value) {
    SetEngineError(code);
    return value;
}

}  // namespace larkaudio
