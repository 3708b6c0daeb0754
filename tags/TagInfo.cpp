#include "tags/TagInfo.h"
#include "app/PathParts.h"
#include "tags/TagReaders.h"
#include <cwchar>

namespace tagReader {

void UpperCaseAscii(std::wstring& text) {
    for (auto& c : text)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
}

namespace {

typedef int (*ReaderFunction)(TTagInfo&, const std::wstring&);

struct ReaderEntry {
    const wchar_t* extension;
    ReaderFunction reader;
};

const ReaderEntry kReaders[] = {
    {L".wav", ReadWavInfo},  {L".mp1", ReadMp3Info},  {L".mp2", ReadMp3Info},
    {L".mp3", ReadMp3Info},  {L".ogg", ReadOggInfo},  {L".m4a", ReadMp4Info},
    {L".mp4", ReadMp4Info},  {L".wma", ReadWmaInfo},  {L".flac", ReadFlacInfo},
    {L".fla", ReadFlacInfo}, {L".tta", ReadTtaInfo},  {L".ape", ReadApeInfo},
};

ReaderFunction FindReader(const std::wstring& extension) {
    for (const auto& entry : kReaders)
        if (_wcsicmp(entry.extension, extension.c_str()) == 0) return entry.reader;
    return nullptr;
}

}  // namespace

bool IsSupportedAudioFile(const std::wstring& path) {
    PathParts parts;
    if (!SplitPath(parts, path)) return false;
    return FindReader(parts.ext) != nullptr;
}

void TTagInfo::Clear() {
    formatCode = 0;
    codecText.clear();
    tagType = 0;
    yearKeyFlags = 0;
    seconds = 0;
    channels = 0;
    samplingRate = 0;
    bitRate = 0;
    vbr = 0;
    tags.clear();
}

void TTagInfo::ClearAll() {
    Clear();
    fullPath.clear();
    folder.clear();
    fileTitle.clear();
    extension.clear();
}

int TTagInfo::Read(const std::wstring& path) {
    ClearAll();
    PathParts parts;
    if (!SplitPath(parts, path)) return TagReadCannotOpen;
    fullPath = path;
    folder = parts.drive + parts.dir;
    fileTitle = parts.fname;
    extension = parts.ext;

    ReaderFunction reader = FindReader(parts.ext);
    int result = TagReadNotThatFormat;
    if (reader) {
        // Reads run on worker threads too; nothing a reader or its library throws (out of
        // memory, say) may leave it: the file then counts as one that cannot be opened.
        try {
            result = reader(*this, path);
        } catch (...) {
            result = TagReadCannotOpen;
        }
    }
    if (result != TagReadOk) ClearAll();
    return result;
}

void TTagInfo::SetTag(const std::wstring& key, const std::wstring& value) {
    std::wstring upper = key;
    UpperCaseAscii(upper);
    auto it = tags.find(upper);
    if (it == tags.end())
        tags.emplace(upper, value);
    else
        it->second += L"; " + value;
}

const wchar_t* TTagInfo::GetTag(const std::wstring& key) const {
    std::wstring upper = key;
    UpperCaseAscii(upper);
    auto it = tags.find(upper);
    return it == tags.end() ? nullptr : it->second.c_str();
}

}  // namespace tagReader
