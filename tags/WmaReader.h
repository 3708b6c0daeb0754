#pragma once
#include "tags/TagInfo.h"
#include <windows.h>
#include <string>
#include <vector>

namespace asf {
class IHeaderReader;
}

namespace tagReader {

// ReadWmaInfo through a given header reader, waiting at most timeoutMs for it to open.
int ReadWmaInfoFrom(TTagInfo& info, const std::wstring& path, asf::IHeaderReader& reader, DWORD timeoutMs);

// The picture data of the first BINARY attribute "WM/Picture" of stream 0; false when there
// is none, when the attribute is malformed or its data length exceeds the bytes present.
bool ReadWmaPictureFrom(const std::wstring& path, asf::IHeaderReader& reader, DWORD timeoutMs,
                        std::vector<unsigned char>& picture);

// Picture data inside a stored "WM/Picture" value, checked against the value's size.
bool ExtractWmaPictureData(const std::vector<unsigned char>& value, std::vector<unsigned char>& picture);

}  // namespace tagReader
