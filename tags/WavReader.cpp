#include "tags/StreamNumber.h"
#include "tags/TagReaders.h"
#include "tags/TagText.h"
#include <windows.h>
#include <mmsystem.h>
#include <algorithm>

namespace tagReader {

namespace {

// mmio's own file opening is limited to short paths; this I/O procedure reads a file
// opened by its wide path, whose handle travels in adwInfo[0] (kernel handles fit in 32 bits).
LRESULT CALLBACK WideFileIoProc(LPSTR mmioInfo, UINT message, LPARAM param1, LPARAM param2) {
    MMIOINFO* info = reinterpret_cast<MMIOINFO*>(mmioInfo);
    HANDLE file = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(static_cast<LONG>(info->adwInfo[0])));
    switch (message) {
    case MMIOM_OPEN:
        return MMSYSERR_NOERROR;
    case MMIOM_CLOSE:
        CloseHandle(file);
        return 0;
    case MMIOM_READ: {
        DWORD read = 0;
        if (param2 < 0 || !ReadFile(file, reinterpret_cast<void*>(param1), static_cast<DWORD>(param2), &read, nullptr))
            return -1;
        info->lDiskOffset += static_cast<LONG>(read);
        return static_cast<LRESULT>(read);
    }
    case MMIOM_SEEK: {
        DWORD method = param2 == SEEK_CUR ? FILE_CURRENT : param2 == SEEK_END ? FILE_END : FILE_BEGIN;
        LARGE_INTEGER move, position;
        move.QuadPart = static_cast<LONG>(param1);
        if (!SetFilePointerEx(file, move, &position, method) || position.QuadPart > 0x7fffffff) return -1;
        info->lDiskOffset = static_cast<LONG>(position.QuadPart);
        return static_cast<LRESULT>(position.QuadPart);
    }
    default:
        return -1;   // read-only
    }
}

// Closes the mmio handle, and with it the file, on every path.
class MmioFile {
public:
    explicit MmioFile(const std::wstring& path) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        // mmio's own seek offsets stop at 2 GiB; the size comes from the file itself.
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file, &size)) {
            CloseHandle(file);
            return;
        }
        m_size = size.QuadPart;
        MMIOINFO info{};
        info.pIOProc = WideFileIoProc;
        info.adwInfo[0] = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(file));
        m_handle = mmioOpenW(nullptr, &info, MMIO_READ);
        if (!m_handle) CloseHandle(file);
    }
    ~MmioFile() {
        if (m_handle) mmioClose(m_handle, 0);
    }
    MmioFile(const MmioFile&) = delete;
    MmioFile& operator=(const MmioFile&) = delete;
    HMMIO get() const { return m_handle; }
    LONGLONG size() const { return m_size; }

private:
    HMMIO m_handle = nullptr;
    LONGLONG m_size = 0;
};

}  // namespace

int ReadWavInfo(TTagInfo& info, const std::wstring& path) {
    MmioFile file(path);
    if (!file.get()) return TagReadCannotOpen;
    HMMIO h = file.get();

    const LONGLONG fileSize = file.size();

    MMCKINFO riff{};
    if (mmioDescend(h, &riff, nullptr, 0) != MMSYSERR_NOERROR) return TagReadNotThatFormat;
    if (riff.ckid != FOURCC_RIFF || riff.fccType != mmioFOURCC('W', 'A', 'V', 'E'))
        return TagReadNotThatFormat;
    // A RIFF size past the end of the file (0xFFFFFFFF in a streamed file) would end the
    // search for the chunks inside it at once: it counts up to the end of the file.
    if (static_cast<LONGLONG>(riff.dwDataOffset) + riff.cksize > fileSize)
        riff.cksize = static_cast<DWORD>(std::max<LONGLONG>(0, fileSize - riff.dwDataOffset));

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
    // A data chunk that claims more than the file holds (a file cut short, or one written to
    // a pipe with sizes 0xFFFFFFFF) counts with the bytes that are there.
    const LONGLONG dataBytes = std::min<LONGLONG>(data.cksize, std::max<LONGLONG>(0, fileSize - data.dwDataOffset));

    info.formatCode = FormatWav;
    WaveFormatName(format.wFormatTag, info.codecText);
    info.tagType = TagRiffWave;
    info.channels = ChannelCount(format.nChannels);
    info.samplingRate = StreamNumber(format.nSamplesPerSec);
    // A header whose numbers multiply beyond an int gives no bit rate.
    long long bitRate = format.wFormatTag == WAVE_FORMAT_PCM ? static_cast<long long>(format.nChannels) *
                                                                  format.wBitsPerSample * format.nSamplesPerSec
                                                            : 0;
    info.bitRate = StreamNumber(bitRate);
    info.vbr = 0;
    info.seconds = format.nAvgBytesPerSec ? StreamNumber(dataBytes / format.nAvgBytesPerSec) : 0;
    return TagReadOk;
}

}  // namespace tagReader
