#include "document/BassStreamInfoSource.h"
#include "audio/bass.h"

bool CBassStreamInfoSource::QueryStreamInfo(const std::wstring& path, tagReader::StreamInfo& info) {
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_UNICODE);
    if (!stream) return false;
    BASS_CHANNELINFO channel{};
    BASS_ChannelGetInfo(stream, &channel);
    info.channels = static_cast<int>(channel.chans);
    info.samplingRate = static_cast<int>(channel.freq);
    info.seconds = BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetLength(stream, BASS_POS_BYTE));
    if (info.seconds < 0) info.seconds = 0;
    info.fileEnd = BASS_StreamGetFilePosition(stream, BASS_FILEPOS_END);
    BASS_StreamFree(stream);
    return true;
}
