#pragma once
#include "tags/StreamInfoSource.h"

// The stream numbers the MPEG and TTA tag readers ask for, from a stream of the audio engine.
// Installed while the engine runs.
class CBassStreamInfoSource : public tagReader::IStreamInfoSource {
public:
    bool QueryStreamInfo(const std::wstring& path, tagReader::StreamInfo& info) override;
};
