#pragma once
// One audio file decoded through FFmpeg into interleaved 32-bit float frames at the file's own
// rate and channel count, with sample-accurate seeking.

#include <windows.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/Win32FileSource.h"

struct AVFormatContext;
struct AVCodecContext;
struct SwrContext;
struct AVPacket;
struct AVFrame;

namespace larkaudio {

class Decoder {
public:
    // Opens a file (or the part offset..offset+length; length 0: to the end) whose format
    // family is one of `families`. On failure returns null and sets *error to
    // BASS_ERROR_FILEOPEN (cannot read the file) or BASS_ERROR_FILEFORM (not a playable file of
    // those families).
    static std::unique_ptr<Decoder> Open(const std::wstring& path, uint64_t offset, uint64_t length,
                                         DWORD families, int* error);
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    int Rate() const { return m_rate; }
    int Channels() const { return m_channels; }
    DWORD Family() const { return m_family; }
    DWORD Resolution() const { return m_resolution; }
    int64_t FileSize() const { return m_source.Size(); }
    int64_t FilePosition() const { return m_source.Position(); }

    // Length in frames: the container's figure until the end has been decoded, then exact.
    int64_t Length() const { return m_length; }
    bool LengthExact() const { return m_exact; }
    // The frame the next Read returns.
    int64_t Position() const { return m_pos; }

    // Reads up to `frames` frames into `out` (frames x Channels() floats); 0 at the end.
    size_t Read(float* out, size_t frames);
    // Moves to a frame. The following Read starts exactly there, or, where the format cannot
    // land that early, at the frame Position() then reports. False when seeking failed.
    bool Seek(int64_t frame);

private:
    Decoder() = default;
    bool OpenInternal(const std::wstring& path, uint64_t offset, uint64_t length, DWORD families, int* error);
    bool OpenStreams(DWORD families, int64_t frame);
    void CloseStreams();
    bool DecodeMore();
    bool ConvertFrame();
    bool ConfigureResampler();
    void FinishStream();

    Win32FileSource m_source;
    std::string m_name;             // UTF-8, for the format probe
    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    SwrContext* m_swr = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    int m_stream = -1;
    int m_rate = 0;
    int m_channels = 0;
    DWORD m_family = 0;
    DWORD m_resolution = 0;

    // Input format the resampler is set up for.
    int m_swrFormat = -1;
    int m_swrRate = 0;
    uint64_t m_swrLayoutMask = 0;
    int m_swrChannels = 0;

    std::vector<float> m_pending;   // converted frames not yet read
    size_t m_pendingOffset = 0;     // in frames
    std::vector<float> m_convert;   // scratch for one converted frame

    int64_t m_pos = 0;              // frame of the next Read
    int64_t m_next = 0;             // frame after the last one added to m_pending
    int64_t m_length = 0;
    bool m_exact = false;
    bool m_inputDone = false;       // no more packets: the decoder is being drained
    bool m_end = false;
    bool m_haveOrigin = false;
    int64_t m_origin = 0;           // time stamp of frame 0 in stream units
    bool m_syncAfterSeek = false;
    int64_t m_discardTo = 0;        // frames before this one are dropped after a seek
};

}  // namespace larkaudio
