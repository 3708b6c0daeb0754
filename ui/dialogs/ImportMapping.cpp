// The field mapping of the import readers, apart from the components that deliver the fields.
#include "app/FileNameRules.h"
#include "app/PathParts.h"
#include "tags/StreamNumber.h"
#include "ui/dialogs/ImportReaders.h"
#include <windows.h>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <cwctype>
#include <string_view>

namespace {

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return static_cast<int>(c);
}

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

int Number(const std::wstring& text) { return static_cast<int>(wcstol(text.c_str(), nullptr, 10)); }

// Counts and sizes are never negative; a rating stays on the stored scale 0-50; a peak level
// out of 0-32768 is unknown.
int NotNegative(int value) { return value < 0 ? 0 : value; }
int64_t NotNegative(int64_t value) { return value < 0 ? 0 : value; }
int RatingInRange(int value) { return std::min(std::max(value, 0), 50); }
int GainInRange(int value) { return value >= 0 && value <= 32768 ? value : 0; }

// An imported text ends at its first NUL, as tag texts do.
std::wstring CutAtNul(const std::wstring& text) { return text.substr(0, text.find(L'\0')); }

bool IsWildcardOrControl(wchar_t c) {
    return c < 0x20 || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|';
}

// A part of a path that names something: not empty, and not only dots and spaces (".",
// "..", "...", ". "), which Windows reads as this folder, its parent or nothing.
bool IsNamePart(const std::wstring& part) { return part.find_first_not_of(L". ") != std::wstring::npos; }

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

void SetFileParts(TrackRecord& record, const std::wstring& path) {
    PathParts parts;
    if (!SplitPath(parts, path)) return;
    record.file_name = path;
    record.file_title = parts.fname;
    record.file_ext = parts.ext;
}

// Local wall-clock fields to seconds since 1970 UTC, daylight saving as the system decides.
int64_t LocalFieldsToTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1970 || year > 3000) return 0;
    struct tm fields = {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    const __time64_t t = _mktime64(&fields);
    return t < 0 ? 0 : static_cast<int64_t>(t);
}

}  // namespace

bool MakeWholeFilePath(const std::wstring& path, std::wstring& whole) {
    whole.clear();
    std::wstring text = path;
    for (wchar_t& c : text) {
        if (IsWildcardOrControl(c)) return false;
        if (c == L'/') c = L'\\';
    }
    // The root: "X:\" or "\\server\share\", and no ":" anywhere after a drive letter.
    const bool drive = text.size() >= 3 && IsAsciiLetter(text[0]) && text[1] == L':' && text[2] == L'\\';
    if (text.find(L':', drive ? 2 : 0) != std::wstring::npos) return false;
    std::wstring root;
    size_t at = 0;
    if (drive) {
        root = text.substr(0, 3);
        at = 3;
    } else if (text.size() >= 2 && text[0] == L'\\' && text[1] == L'\\') {
        const size_t serverEnd = text.find(L'\\', 2);
        if (serverEnd == std::wstring::npos) return false;
        const size_t shareEnd = text.find(L'\\', serverEnd + 1);
        if (shareEnd == std::wstring::npos) return false;
        const std::wstring server = text.substr(2, serverEnd - 2), share = text.substr(serverEnd + 1, shareEnd - serverEnd - 1);
        // "\\.\" and "\\?\" open devices and raw paths, not files on a share; a server's
        // "pipe" and "mailslot" are its named pipes and mail slots.
        if (!IsNamePart(server) || !IsNamePart(share) || server == L"?" || ReservedDeviceNameLength(share) ||
            EqualsNoCase(share, L"pipe") || EqualsNoCase(share, L"mailslot"))
            return false;
        root = text.substr(0, shareEnd + 1);
        at = shareEnd + 1;
    } else {
        return false;
    }
    // The folders and the name, with "." and ".." resolved; nothing may climb above the root.
    std::vector<std::wstring> parts;
    while (at <= text.size()) {
        size_t end = text.find(L'\\', at);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring part = text.substr(at, end - at);
        at = end + 1;
        if (part.empty() || part == L".") {
            if (end == text.size()) return false;   // a folder, not a file
            continue;
        }
        if (part == L"..") {
            if (parts.empty() || end == text.size()) return false;
            parts.pop_back();
            continue;
        }
        if (!IsNamePart(part) || ReservedDeviceNameLength(part)) return false;
        parts.push_back(part);
    }
    if (parts.empty()) return false;
    whole = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) whole += L'\\';
        whole += parts[i];
    }
    return true;
}

unsigned char HexPairToByte(wchar_t a, wchar_t b) {
    return static_cast<unsigned char>((16 * HexValue(a) + HexValue(b)) & 0xFF);
}

bool PercentDecodeUrl(const wchar_t* text, std::string& bytes) {
    bytes.clear();
    if (!text) return false;
    const int length = static_cast<int>(wcslen(text));
    std::string utf8;
    if (length > 0) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
        utf8.resize(static_cast<size_t>(size > 0 ? size : 0));
        if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, &utf8[0], size, nullptr, nullptr);
    }
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r' || c == '\n') continue;
        if (c == '%' && i + 2 < utf8.size()) {
            bytes += static_cast<char>(HexPairToByte(static_cast<unsigned char>(utf8[i + 1]),
                                                     static_cast<unsigned char>(utf8[i + 2])));
            i += 2;
            continue;
        }
        bytes += c;
    }
    return true;
}

bool FileUrlToPath(const std::wstring& url, std::wstring& path) {
    path.clear();
    if (url.size() < 7 || _wcsnicmp(url.c_str(), L"file://", 7) != 0) return false;
    const size_t hostEnd = url.find(L'/', 7);
    if (hostEnd == std::wstring::npos) return false;
    const std::wstring host = url.substr(7, hostEnd - 7);
    std::wstring rest = url.substr(hostEnd + 1);
    for (wchar_t& c : rest)
        if (c == L'/') c = L'\\';
    if (host.empty() || EqualsNoCase(host, L"localhost")) {
        // A drive path: "C:/..." (also written "C|/...").
        if (rest.size() < 3 || !iswalpha(rest[0]) || (rest[1] != L':' && rest[1] != L'|') || rest[2] != L'\\')
            return false;
        rest[1] = L':';
        path = rest;
    } else {
        if (rest.empty()) return false;
        path = L"\\\\" + host + L"\\" + rest;
    }
    return true;
}

bool DecodeItunesLocation(const std::wstring& location, std::wstring& path) {
    path.clear();
    if (location.find(L'\0') != std::wstring::npos) return false;
    std::string bytes;
    if (!PercentDecodeUrl(location.c_str(), bytes)) return false;
    std::wstring url;
    if (!bytes.empty()) {
        const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                             nullptr, 0);
        if (size <= 0) return false;
        url.resize(static_cast<size_t>(size));
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), &url[0], size);
    }
    std::wstring decoded;
    return FileUrlToPath(url, decoded) && MakeWholeFilePath(decoded, path);
}

int64_t ItunesPlayDateToTime(const std::wstring& text) {
    // Seconds from 1904-01-01 to 1970-01-01.
    const long long kEpochDifference = 2082844800LL;
    const long long value = _wcstoi64(text.c_str(), nullptr, 10);
    if (value < kEpochDifference) return 0;
    // The count is broken down on the true calendar (through UTC, where no offset or
    // daylight saving applies), and those wall-clock fields are then read as local time.
    const __time64_t since1970 = value - kEpochDifference;
    struct tm fields = {};
    if (_gmtime64_s(&fields, &since1970) != 0) return 0;
    return LocalFieldsToTime(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min,
                             fields.tm_sec);
}

namespace {

enum class ItunesKey {
    Other, TrackType, Name, Artist, Album, Genre, Year, Comments, Kind, Size, TotalTime, TrackNumber,
    TrackCount, BitRate, SampleRate, ArtworkCount, Rating, PlayCount, PlayDate, Location
};

bool EqualsAsciiNoCase(const std::wstring& text, std::wstring_view ascii) {
    if (text.size() != ascii.size()) return false;
    for (size_t i = 0; i < ascii.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        wchar_t d = ascii[i];
        if (d >= L'A' && d <= L'Z') d = static_cast<wchar_t>(d - L'A' + L'a');
        if (c != d) return false;
    }
    return true;
}

// A track dictionary holds some thirty keys: each is looked up once, its length first.
ItunesKey KeyOf(const std::wstring& key) {
    static const struct {
        std::wstring_view name;
        ItunesKey key;
    } kKeys[] = {
        {L"Track Type", ItunesKey::TrackType}, {L"Name", ItunesKey::Name},
        {L"Artist", ItunesKey::Artist}, {L"Album", ItunesKey::Album},
        {L"Genre", ItunesKey::Genre}, {L"Year", ItunesKey::Year},
        {L"Comments", ItunesKey::Comments}, {L"Kind", ItunesKey::Kind},
        {L"Size", ItunesKey::Size}, {L"Total Time", ItunesKey::TotalTime},
        {L"Track Number", ItunesKey::TrackNumber}, {L"Track Count", ItunesKey::TrackCount},
        {L"Bit Rate", ItunesKey::BitRate}, {L"Sample Rate", ItunesKey::SampleRate},
        {L"Artwork Count", ItunesKey::ArtworkCount}, {L"Rating", ItunesKey::Rating},
        {L"Play Count", ItunesKey::PlayCount}, {L"Play Date", ItunesKey::PlayDate},
        {L"Location", ItunesKey::Location},
    };
    for (const auto& k : kKeys)
        if (EqualsAsciiNoCase(key, k.name)) return k.key;
    return ItunesKey::Other;
}

}  // namespace

bool IsItunesTrackKey(const std::wstring& key) { return KeyOf(key) != ItunesKey::Other; }

ItunesTrackResult MapItunesTrack(const std::vector<std::pair<std::wstring, std::wstring>>& pairs, TrackRecord& record) {
    record = TrackRecord();
    record.rowid = -1;
    bool kindKnown = false;
    bool locationGiven = false;
    std::wstring number, count;
    for (const auto& pair : pairs) {
        const ItunesKey key = KeyOf(pair.first);
        if (key == ItunesKey::Other) continue;
        const std::wstring value = CutAtNul(pair.second);
        switch (key) {
        case ItunesKey::TrackType:
            if (!EqualsNoCase(value, L"File")) return ItunesTrackResult::NotAFile;
            break;
        case ItunesKey::Name: record.tagTitle = value; break;
        case ItunesKey::Artist: record.tagArtist = value; break;
        case ItunesKey::Album: record.tagAlbum = value; break;
        case ItunesKey::Genre: record.tagGenre = value; break;
        case ItunesKey::Year: record.tagDate = value; break;
        case ItunesKey::Comments: record.tagComment = value; break;
        case ItunesKey::Kind:
            kindKnown = true;
            if (value.find(L"AAC") != std::wstring::npos) {
                record.infoCodec = 8;
                record.infoTagtype = 1024;
            } else if (value.find(L"Apple") != std::wstring::npos) {
                record.infoCodec = 9;
                record.infoTagtype = 1024;
            } else if (value.find(L"MPEG") != std::wstring::npos) {
                record.infoCodec = 3;
                record.infoTagtype = 32;
            } else if (value.find(L"WAV") != std::wstring::npos) {
                record.infoCodec = 5;
            } else {
                return ItunesTrackResult::UnknownKind;
            }
            break;
        case ItunesKey::Size:
            record.file_size = NotNegative(static_cast<int64_t>(_wcstoi64(value.c_str(), nullptr, 10)));
            break;
        case ItunesKey::TotalTime: record.statDuration = tagReader::StreamNumber(Number(value) / 1000); break;
        case ItunesKey::TrackNumber: number = std::to_wstring(Number(value)); break;
        case ItunesKey::TrackCount: count = std::to_wstring(Number(value)); break;
        case ItunesKey::BitRate:
            record.statBitrate = tagReader::StreamNumber(static_cast<int64_t>(Number(value)) * 1000);
            break;
        case ItunesKey::SampleRate: record.statSamplingrate = tagReader::StreamNumber(Number(value)); break;
        case ItunesKey::ArtworkCount:
            if (Number(value) > 0) record.tagAPIC = L"APIC";
            break;
        case ItunesKey::Rating: record.rating = RatingInRange(Number(value) / 2); break;
        case ItunesKey::PlayCount: record.playcount = NotNegative(Number(value)); break;
        case ItunesKey::PlayDate: record.lastplayed = ItunesPlayDateToTime(value); break;
        case ItunesKey::Location: {
            locationGiven = true;
            std::wstring path;
            if (!DecodeItunesLocation(pair.second, path)) return ItunesTrackResult::NotLocal;
            SetFileParts(record, path);
            break;
        }
        case ItunesKey::Other: break;
        }
    }
    if (!kindKnown) return ItunesTrackResult::UnknownKind;
    if (!locationGiven || record.file_name.empty()) return ItunesTrackResult::NotLocal;
    if (!number.empty() && !count.empty())
        record.tagTracknumber = number + L"/" + count;
    else
        record.tagTracknumber = number.empty() ? count : number;
    return ItunesTrackResult::Taken;
}

// ---- Windows Media Player ------------------------------------------------------------

int WmpRatingToRating(int value) {
    switch (value) {
    case 0: return 0;
    case 1: return 10;
    case 25: return 20;
    case 50: return 30;
    case 75: return 40;
    case 99: return 50;
    default: return RatingInRange((value / 20) * 10);
    }
}

int64_t ParseWmpLastPlayed(const std::wstring& text) {
    if (text.size() < 12) return 0;
    const size_t first = text.find(L':', 11);
    if (first == std::wstring::npos) return 0;
    const size_t second = text.find(L':', first + 1);
    if (second == std::wstring::npos) return 0;
    const int year = Number(text.substr(0, 4));
    const int month = Number(text.substr(5, 2));
    const int day = Number(text.substr(8, 2));
    const int hour = Number(text.substr(11));
    const int minute = Number(text.substr(first + 1));
    const int secondValue = Number(text.substr(second + 1));
    if (month < 1 || month > 12 || day < 1 || day > 31) return 0;
    return LocalFieldsToTime(year, month, day, hour, minute, secondValue);
}

bool MapWmpItem(IWmpMediaItem& item, TrackRecord& record) {
    std::wstring mediaType, fileType;
    if (!item.GetItemInfo(L"MediaType", mediaType) || !EqualsNoCase(mediaType, L"Audio")) return false;
    if (!item.GetItemInfo(L"FileType", fileType)) return false;
    auto whole = [&item](const wchar_t* name) {
        std::wstring value;
        if (!item.GetItemInfo(name, value)) value.clear();
        return value;
    };
    auto text = [&whole](const wchar_t* name) { return CutAtNul(whole(name)); };
    record = TrackRecord();
    record.rowid = -1;
    // Other file types keep codec and tag type 0.
    if (EqualsNoCase(fileType, L"MP1")) {
        record.infoCodec = 1;
    } else if (EqualsNoCase(fileType, L"MP2")) {
        record.infoCodec = 2;
    } else if (EqualsNoCase(fileType, L"MP3")) {
        record.infoCodec = 3;
        record.infoTagtype = 32;
    } else if (EqualsNoCase(fileType, L"WAV")) {
        record.infoCodec = 5;
        record.infoTagtype = 256;
    } else if (EqualsNoCase(fileType, L"WMA")) {
        record.infoCodec = 6;
        record.infoTagtype = 512;
    }
    // A location that is no plain file path leaves the name empty: the item is skipped.
    std::wstring path;
    if (MakeWholeFilePath(whole(L"SourceURL"), path)) SetFileParts(record, path);
    record.file_size = NotNegative(static_cast<int64_t>(_wcstoi64(text(L"FileSize").c_str(), nullptr, 10)));
    record.tagTitle = text(L"Title");
    record.tagArtist = text(L"Author");
    if (record.tagArtist.empty()) record.tagArtist = text(L"WM/AlbumArtist");
    record.tagAlbum = text(L"WM/AlbumTitle");
    record.tagGenre = text(L"WM/Genre");
    record.tagDate = text(L"WM/Year");
    record.tagComment = text(L"Description");
    record.tagTracknumber = text(L"WM/TrackNumber");
    record.tagLyrics = text(L"WM/Lyrics");
    record.statDuration = tagReader::StreamNumber(Number(text(L"Duration")));
    record.statBitrate = tagReader::StreamNumber(Number(text(L"Bitrate")));
    record.statVBR = Number(text(L"IsVBR")) == 1;
    record.gain = GainInRange(Number(text(L"PeakValue")));
    record.rating = WmpRatingToRating(Number(text(L"UserRating")));
    record.playcount = NotNegative(Number(text(L"UserPlayCount")));
    record.lastplayed = ParseWmpLastPlayed(text(L"UserLastPlayedTime"));
    return true;
}

ImportReadResult ReadWmpCollection(IWmpMediaCollection& collection, const ImportSink& sink) {
    ImportReadResult result;
    const int count = collection.GetCount();
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<IWmpMediaItem> item = collection.GetItem(i);
        TrackRecord record;
        if (!item || !MapWmpItem(*item, record)) continue;
        // Rows need a file name: an item without one cannot be matched or played.
        if (record.file_name.empty()) {
            ++result.skipped;
            continue;
        }
        ++result.taken;
        sink(std::move(record));
    }
    return result;
}
