#pragma once
#include <string>

namespace tagReader {

// UTF-8 to wide text; length -1 reads up to the terminating zero. False when nothing results.
bool Utf8ToWide(const char* bytes, int length, std::wstring& text);
// Text of the ANSI code page to wide text; false when nothing results.
bool AnsiToWide(const char* bytes, int length, std::wstring& text);
// Wide text to UTF-8 (libFLAC takes UTF-8 file names on Windows).
std::string WideToUtf8(const std::wstring& text);

// Splits "key=value" at the first equals sign; the value keeps any further ones.
bool SplitKeyValue(const std::wstring& text, std::wstring& key, std::wstring& value);

// 0 "unknown", 1 "PCM", 2 "MS ADPCM", 0x55 "MPEG Layer-3", else empty.
void WaveFormatName(int formatTag, std::wstring& text);

}  // namespace tagReader
