#pragma once
#include "tags/TagInfo.h"
#include <string>

namespace tagReader {

// One reader per container. Each fills a cleared record and returns a TagReadResult.
int ReadWavInfo(TTagInfo& info, const std::wstring& path);
int ReadMp3Info(TTagInfo& info, const std::wstring& path);
int ReadTtaInfo(TTagInfo& info, const std::wstring& path);
int ReadOggInfo(TTagInfo& info, const std::wstring& path);
int ReadMp4Info(TTagInfo& info, const std::wstring& path);
int ReadWmaInfo(TTagInfo& info, const std::wstring& path);
int ReadFlacInfo(TTagInfo& info, const std::wstring& path);
int ReadApeInfo(TTagInfo& info, const std::wstring& path);

}  // namespace tagReader
