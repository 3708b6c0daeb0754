#include "audio/Decoder.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "audio/FormatFamily.h"
#include "audio/bass.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
#include <libswresample/swresample.h>
}

namespace larkaudio {

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

int64_t FrameTime(const AVFrame* frame) {
    return frame->pts != AV_NOPTS_VALUE ? frame->pts : frame->best_effort_timestamp;
}

}  // namespace

std::unique_ptr<Decoder> Decoder::Open(const std::wstring& path, uint64_t offset, uint64_t length, DWORD families,
                                       int* error) {
    std::unique_ptr<Decoder> decoder(new Decoder());
    if (!decoder->OpenInternal(path, offset, length, families, error)) return nullptr;
    return decoder;
}

Decoder::~Decoder() { CloseStreams(); }

bool Decoder::OpenInternal(const std::wstring& path, uint64_t offset, uint64_t length, DWORD families, int* error) {
    *error = BASS_ERROR_FILEOPEN;
    if (!m_source.Open(path, offset, length)) return false;
    *error = BASS_ERROR_FILEFORM;
    m_name = Utf8(path);
    return OpenStreams(families, 0);
}

void Decoder::CloseStreams() {
    swr_free(&m_swr);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    if (m_format) avformat_close_input(&m_format);  // leaves the custom I/O context alone
}

// Opens the container and the decoder from the start of the source and decodes up to `frame`.
bool Decoder::OpenStreams(DWORD families, int64_t frame) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });

    m_format = avformat_alloc_context();
    if (!m_format) return false;
    m_format->pb = m_source.Context();
    m_format->flags |= AVFMT_FLAG_CUSTOM_IO;
    // The name only helps the probe; the data comes from the I/O context.
    if (avformat_open_input(&m_format, m_name.c_str(), nullptr, nullptr) < 0) {
        m_format = nullptr;  // freed by the failed open
        return false;
    }
    if (avformat_find_stream_info(m_format, nullptr) < 0) return false;
    m_stream = av_find_best_stream(m_format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (m_stream < 0) return false;
    AVStream* stream = m_format->streams[m_stream];
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        if (static_cast<int>(i) != m_stream) m_format->streams[i]->discard = AVDISCARD_ALL;
    }
    const AVCodecParameters* par = stream->codecpar;
    m_family = FormatFamilyOf(m_format->iformat->name, par->codec_id);
    if ((m_family & families) == 0) return false;
    m_resolution = SourceResolution(par->codec_id);

    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec) return false;
    m_codec = avcodec_alloc_context3(codec);
    if (!m_codec || avcodec_parameters_to_context(m_codec, par) < 0) return false;
    m_codec->pkt_timebase = stream->time_base;
    if (avcodec_open2(m_codec, codec, nullptr) < 0) return false;
    const int rate = m_codec->sample_rate > 0 ? m_codec->sample_rate : par->sample_rate;
    const int channels = m_codec->ch_layout.nb_channels > 0 ? m_codec->ch_layout.nb_channels : par->ch_layout.nb_channels;
    if (rate <= 0 || channels <= 0 || channels > 8) return false;
    if (m_rate != 0 && (rate != m_rate || channels != m_channels)) return false;  // reopened as something else
    m_rate = rate;
    m_channels = channels;

    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_packet || !m_frame) return false;

    // Length as the container tells it; exact once the end is decoded.
    if (!m_exact) {
        const AVRational frameBase{1, m_rate};
        m_length = 0;
        if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
            m_length = av_rescale_q(stream->duration, stream->time_base, frameBase);
            // The MPEG demuxer counts the encoder delay that decoding skips.
            if (std::strcmp(m_format->iformat->name, "mp3") == 0 && stream->start_time != AV_NOPTS_VALUE &&
                stream->start_time > 0) {
                m_length -= av_rescale_q(stream->start_time, stream->time_base, frameBase);
            }
        } else if (m_format->duration != AV_NOPTS_VALUE && m_format->duration > 0) {
            m_length = av_rescale_q(m_format->duration, AVRational{1, AV_TIME_BASE}, frameBase);
        }
        if (m_length < 0) m_length = 0;
    }

    m_pending.clear();
    m_pendingOffset = 0;
    m_inputDone = false;
    m_end = false;
    m_haveOrigin = false;
    m_syncAfterSeek = false;
    m_swrFormat = -1;
    m_next = 0;
    m_pos = frame;
    m_discardTo = frame;
    // Decode the first data now: it fixes the time origin and proves the file decodes.
    return DecodeMore() || frame > 0;
}

bool Decoder::ConfigureResampler() {
    const uint64_t mask =
        m_frame->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? m_frame->ch_layout.u.mask : 0;
    if (m_swr && m_swrFormat == m_frame->format && m_swrRate == m_frame->sample_rate &&
        m_swrChannels == m_frame->ch_layout.nb_channels && m_swrLayoutMask == mask) {
        return true;
    }
    swr_free(&m_swr);
    AVChannelLayout inLayout{};
    if (m_frame->ch_layout.nb_channels <= 0) return false;
    if (m_frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&inLayout, m_frame->ch_layout.nb_channels);
    } else if (av_channel_layout_copy(&inLayout, &m_frame->ch_layout) < 0) {
        return false;
    }
    AVChannelLayout outLayout{};
    av_channel_layout_default(&outLayout, m_channels);
    const int rate = m_frame->sample_rate > 0 ? m_frame->sample_rate : m_rate;
    int ret = swr_alloc_set_opts2(&m_swr, &outLayout, AV_SAMPLE_FMT_FLT, m_rate, &inLayout,
                                  static_cast<AVSampleFormat>(m_frame->format), rate, 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    av_channel_layout_uninit(&outLayout);
    if (ret < 0 || swr_init(m_swr) < 0) {
        swr_free(&m_swr);
        return false;
    }
    m_swrFormat = m_frame->format;
    m_swrRate = rate;
    m_swrChannels = m_frame->ch_layout.nb_channels;
    m_swrLayoutMask = mask;
    return true;
}

// Converts the decoded frame in m_frame and appends it to m_pending, minus what a seek
// discards. False when the frame cannot be converted.
bool Decoder::ConvertFrame() {
    const int64_t time = FrameTime(m_frame);
    if (!m_haveOrigin) {
        m_origin = time != AV_NOPTS_VALUE ? time : 0;
        m_haveOrigin = true;
    }
    if (m_syncAfterSeek) {
        m_syncAfterSeek = false;
        if (time != AV_NOPTS_VALUE) {
            m_next = av_rescale_q(time - m_origin, m_format->streams[m_stream]->time_base, AVRational{1, m_rate});
        } else {
            m_next = m_discardTo;
        }
        if (m_next > m_discardTo) m_pos = m_next;  // landed late: report where the data starts
    }
    if (!ConfigureResampler()) return false;
    const int capacity = swr_get_out_samples(m_swr, m_frame->nb_samples);
    if (capacity <= 0) return true;
    m_convert.resize(static_cast<size_t>(capacity) * m_channels);
    uint8_t* out[1] = {reinterpret_cast<uint8_t*>(m_convert.data())};
    const int got = swr_convert(m_swr, out, capacity, const_cast<const uint8_t**>(m_frame->extended_data),
                                m_frame->nb_samples);
    if (got <= 0) return got == 0;
    int skip = 0;
    if (m_discardTo > m_next) skip = static_cast<int>(std::min<int64_t>(got, m_discardTo - m_next));
    m_next += got;
    if (got > skip) {
        // Drop frames already read from the buffer before appending.
        if (m_pendingOffset > 0) {
            m_pending.erase(m_pending.begin(), m_pending.begin() + m_pendingOffset * m_channels);
            m_pendingOffset = 0;
        }
        m_pending.insert(m_pending.end(), m_convert.begin() + static_cast<size_t>(skip) * m_channels,
                         m_convert.begin() + static_cast<size_t>(got) * m_channels);
    }
    if (m_next > m_length) m_length = m_next;
    return true;
}

void Decoder::FinishStream() {
    if (m_end) return;
    m_end = true;
    // Whatever the resampler still holds (only when the rate changed inside the stream).
    if (m_swr && swr_get_delay(m_swr, m_rate) > 0) {
        const int capacity = static_cast<int>(swr_get_delay(m_swr, m_rate)) + 32;
        m_convert.resize(static_cast<size_t>(capacity) * m_channels);
        uint8_t* out[1] = {reinterpret_cast<uint8_t*>(m_convert.data())};
        const int got = swr_convert(m_swr, out, capacity, nullptr, 0);
        if (got > 0) {
            m_pending.insert(m_pending.end(), m_convert.begin(), m_convert.begin() + static_cast<size_t>(got) * m_channels);
            m_next += got;
        }
    }
    if (!m_syncAfterSeek) {
        m_length = m_next;
        m_exact = true;
    }
}

// Decodes until new frames are pending. False at the end of the stream.
bool Decoder::DecodeMore() {
    const size_t before = m_pending.size() - m_pendingOffset * m_channels;
    if (!m_format || !m_codec || !m_packet || !m_frame) m_end = true;  // a reopen failed
    while (!m_end) {
        int ret = avcodec_receive_frame(m_codec, m_frame);
        if (ret == 0) {
            ConvertFrame();
            av_frame_unref(m_frame);
            if (m_pending.size() - m_pendingOffset * m_channels > before) return true;
            continue;
        }
        if (ret != AVERROR(EAGAIN)) {  // drained, or a fatal decoder error
            FinishStream();
            break;
        }
        if (m_inputDone) {  // the decoder wants input it will not get
            FinishStream();
            break;
        }
        ret = av_read_frame(m_format, m_packet);
        if (ret < 0) {
            m_inputDone = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        if (m_packet->stream_index == m_stream) {
            // A damaged packet is skipped; decoding goes on with the next one.
            avcodec_send_packet(m_codec, m_packet);
        }
        av_packet_unref(m_packet);
    }
    return m_pending.size() - m_pendingOffset * m_channels > before;
}

size_t Decoder::Read(float* out, size_t frames) {
    size_t done = 0;
    while (done < frames) {
        const size_t available = m_pending.size() / m_channels - m_pendingOffset;
        if (available == 0) {
            m_pending.clear();
            m_pendingOffset = 0;
            if (!DecodeMore()) break;
            continue;
        }
        const size_t n = std::min(available, frames - done);
        std::memcpy(out + done * m_channels, m_pending.data() + m_pendingOffset * m_channels,
                    n * m_channels * sizeof(float));
        m_pendingOffset += n;
        done += n;
    }
    m_pos += static_cast<int64_t>(done);
    return done;
}

bool Decoder::Seek(int64_t frame) {
    if (frame < 0) return false;
    // Land a little early and decode up to the frame: demuxers seek to packet boundaries, some
    // (MPEG without a table of contents) only estimate, and decoders need a packet or two to
    // settle after a jump.
    const int64_t margin = m_rate / 2;
    if (frame <= margin || !m_format || !m_codec) {
        // Near the start, decode exactly as a fresh open does (encoder delay, priming).
        CloseStreams();
        if (avio_seek(m_source.Context(), 0, SEEK_SET) < 0) return false;
        return OpenStreams(m_family, frame);
    }
    AVStream* stream = m_format->streams[m_stream];
    const int64_t ts = m_origin + av_rescale_q(frame - margin, AVRational{1, m_rate}, stream->time_base);
    bool ok = avformat_seek_file(m_format, m_stream, INT64_MIN, ts, ts, 0) >= 0;
    if (!ok) ok = av_seek_frame(m_format, m_stream, ts, AVSEEK_FLAG_BACKWARD) >= 0;
    if (!ok) return false;

    avcodec_flush_buffers(m_codec);
    swr_free(&m_swr);
    m_pending.clear();
    m_pendingOffset = 0;
    m_inputDone = false;
    m_end = false;
    m_syncAfterSeek = true;
    m_discardTo = frame;
    m_next = frame;
    m_pos = frame;
    DecodeMore();  // fixes where the data really starts
    return true;
}

}  // namespace larkaudio
