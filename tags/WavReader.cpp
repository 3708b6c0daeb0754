#include "tags/TagReaders.h"
#include "tags/TagText.h"
#include <windows.h>
#include <mmsystem.h>
#include <vector>

namespace tagReader {

namespace {

// Closes the mmio handle on every path.
class MmioFile {
public:
    explicit MmioFile(const std::wstring& path) {
        std::vector<wchar_t> name(path.begin(), path.end());
        name.push_back(L'\0');
        m_handle = mmioOpenW(name.data(), nullptr, MMIO_READ | MMIO_DENYWRITE);
    }
    ~MmioFile() {
        if (m_handle) mmioClose(m_handle, 0);
    }
    MmioFile(const MmioFile&) = delete;
    MmioFile& operator=(const MmioFile&) = delete;
    HMMIO get() const { return m_handle; }

private:
    HMMIO m_handle = nullptr;
};

}  // namespace

int ReadWavInfo(TTagInfo& info, const std::wstring& path) {
    MmioFile file(path);
    if (!file.get()) return TagReadCannotOpen;
    HMMIO h = file.get();

    LONG fileSize = mmioSeek(h, 0, SEEK_END);
    if (fileSize < 0 || mmioSeek(h, 0, SEEK_SET) != 0) return TagReadNotThatFormat;

    MMCKINFO riff{};
    if (mmioDescend(h, &riff, nullptr, 0) != MMSYSERR_NOERROR) return TagReadNotThatFormat;
    if (riff.ckid != FOURCC_RIFF || riff.fccType != mmioFOURCC('W', 'A', 'V', 'E'))
        return TagReadNotThatFormat;

    MMCKINFO fmt{};
    fmt.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(h, &fmt, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return TagReadNotThatFormat;
    // The format block is 16 bytes without its extra-size field; a shorter chunk or one that
    // runs past the end of the file is not a wave file.
    if (fmt.cksize < 16 || static_cast<LONGLONG>(fmt.dwDataOffset) + fmt.cksize > fileSize)
        return TagReadNotThatFormat;
    WAVEFORMATEX format{};
    LONG wanted = fmt.cksize < sizeof(format) ? static_cast<LONG>(fmt.cksize) : 18;
    if (mmioRead(h, reinterpret_cast<HPSTR>(&format), wanted) != wanted) return TagReadNotThatFormat;
    if (mmioAscend(h, &fmt, 0) != MMSYSERR_NOERROR) return TagReadNotThatFormat;

    MMCKINFO data{};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(h, &data, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return TagReadNotThatFormat;
    if (static_cast<LONGLONG>(data.dwDataOffset) + data.cksize > fileSize) return TagReadNotThatFormat;

    info.formatCode = FormatWav;
    WaveFormatName(format.wFormatTag, info.codecText);
    info.tagType = TagRiffWave;
    info.channels = format.nChannels;
    info.samplingRate = static_cast<int>(format.nSamplesPerSec);
    info.bitRate = format.wFormatTag == WAVE_FORMAT_PCM
                       ? format.nChannels * format.wBitsPerSample * static_cast<int>(format.nSamplesPerSec)
                       : 0;
    info.vbr = 0;
    info.seconds = format.nAvgBytesPerSec ? static_cast<int>(data.cksize / format.nAvgBytesPerSec) : 0;
    return TagReadOk;
}

}  // namespace tagReader
