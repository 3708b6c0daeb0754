#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace asf {

// Attribute data types, numbered as the Windows Media header attributes are.
enum AttributeType {
    TypeDword = 0,
    TypeString = 1,
    TypeBinary = 2,
    TypeBool = 3,
    TypeQword = 4,
    TypeWord = 5,
    TypeGuid = 6,
};

enum ReaderStatus {
    StatusOpened = 1,
    StatusEndOfFile = 4,
    StatusStarted = 11,
    StatusStopped = 12,
};

// One header attribute. The value is laid out as the Windows Media runtime hands it out:
// DWORD 4 bytes, QWORD 8, WORD 2, BOOL 4 (little-endian), STRING UTF-16LE with its zero
// terminator, GUID 16 bytes, BINARY as stored ("WM/Picture": picture type byte, 32-bit data
// length, MIME type and description as zero-terminated UTF-16LE, then the data).
struct Attribute {
    std::wstring name;
    AttributeType type = TypeBinary;
    std::vector<unsigned char> value;
};

struct OutputFormat {
    bool isAudio = false;
    int channels = 0;
    int samplingRate = 0;
};

struct CodecInfo {
    std::wstring name;
    std::wstring description;
};

// Told how an open went.
class IReaderCallback {
public:
    virtual void OnStatus(ReaderStatus status, long result) = 0;
    virtual long OnSample(const unsigned char* data, size_t length) = 0;

protected:
    ~IReaderCallback() = default;
};

// Reads the header of an ASF (Windows Media) file. The callback gets StatusOpened with the
// result (0 success, negative failure); a reader may call it from another thread, after Open
// has returned, or before Open returns, as this program's own reader does.
class IHeaderReader {
public:
    virtual ~IHeaderReader() = default;
    // False when the open cannot even start; the callback is then never called.
    virtual bool Open(const std::wstring& path, IReaderCallback* callback) = 0;
    // Ends any open in progress; no callback is made after it returns.
    virtual void Close() = 0;

    virtual bool GetOutputFormat(int output, OutputFormat& format) = 0;
    virtual bool GetAttributeCount(int stream, int& count) = 0;
    virtual bool GetAttributeByIndex(int stream, int index, Attribute& attribute) = 0;
    virtual bool GetCodecInfoCount(int& count) = 0;
    virtual bool GetCodecInfo(int index, CodecInfo& info) = 0;
};

std::unique_ptr<IHeaderReader> CreateHeaderReader();

}  // namespace asf
