#pragma once
#include <string>

namespace tagReader {

// The decoded numbers of an audio stream, as the audio engine reports them.
struct StreamInfo {
    int channels = 0;
    int samplingRate = 0;
    double seconds = 0.0;            // decoded length
    unsigned long long fileEnd = 0;  // the stream's file position "end" (file size)
};

// Opens a file as an audio stream and reports its numbers. The MPEG and TTA readers take
// their stream numbers from here; the audio engine provides the implementation.
class IStreamInfoSource {
public:
    virtual ~IStreamInfoSource() = default;
    // False when the file cannot be opened as a stream.
    virtual bool QueryStreamInfo(const std::wstring& path, StreamInfo& info) = 0;
};

// The process-wide source, or null while no engine is running (stream numbers then stay 0).
// The source must outlive every read that may use it.
void SetStreamInfoSource(IStreamInfoSource* source);
IStreamInfoSource* GetStreamInfoSource();

}  // namespace tagReader
