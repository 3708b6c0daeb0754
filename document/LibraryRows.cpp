#include "document/LibraryRows.h"
#include <sqlite3.h>
#include "app/FileNameRules.h"
#include "app/PathParts.h"
#include "app/SqlEscape.h"
#include "document/Larkspur2006Doc.h"
#include <windows.h>

using tagReader::TTagInfo;

namespace {

void BindText(sqlite3_stmt* stmt, int index, const std::wstring& text) {
    sqlite3_bind_text16(stmt, index, text.c_str(), static_cast<int>(text.size() * sizeof(wchar_t)),
                        SQLITE_STATIC);
}

std::wstring Tag(const TTagInfo& info, const wchar_t* key) {
    const wchar_t* value = info.GetTag(key);
    return value ? std::wstring(value) : std::wstring();
}

// Binds the columns from tagTitle to lastplayed starting at `index`; returns the next index.
int BindTagsToStatistics(sqlite3_stmt* stmt, int index, const TrackRecord& t) {
    BindText(stmt, index++, t.tagTitle);
    BindText(stmt, index++, t.tagArtist);
    BindText(stmt, index++, t.tagAlbum);
    BindText(stmt, index++, t.tagGenre);
    BindText(stmt, index++, t.tagDate);
    BindText(stmt, index++, t.tagComment);
    BindText(stmt, index++, t.tagTracknumber);
    BindText(stmt, index++, t.tagAPIC);
    BindText(stmt, index++, t.tagLyrics);
    sqlite3_bind_int(stmt, index++, t.statDuration);
    sqlite3_bind_int(stmt, index++, t.statChannels);
    sqlite3_bind_int(stmt, index++, t.statSamplingrate);
    sqlite3_bind_int(stmt, index++, t.statBitrate);
    sqlite3_bind_int(stmt, index++, t.statVBR ? 1 : 0);
    sqlite3_bind_int(stmt, index++, t.infoCodec);
    BindText(stmt, index++, t.infoCodec_sub);
    sqlite3_bind_int(stmt, index++, t.infoTagtype);
    sqlite3_bind_int(stmt, index++, t.gain);
    sqlite3_bind_int(stmt, index++, t.rating);
    sqlite3_bind_int(stmt, index++, t.playcount);
    sqlite3_bind_int64(stmt, index++, t.lastplayed);
    return index;
}

bool IsUncPath(const std::wstring& path) {
    return path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
}

int64_t FileSizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

bool ApplyPragmas(CSQlite& db, const CAppSettings& settings) {
    db.set_busy_timeout(settings.sqlite.busyTimeout);
    if (db.exec(L"PRAGMA synchronous = " + settings.sqlite.pragmaSynchronous + L";") != SQLITE_OK)
        return false;
    return db.exec(L"PRAGMA temp_store = " + settings.sqlite.pragmaTempstore + L";") == SQLITE_OK;
}

void ApplyReadPragmas(CSQlite& db) {
    // With SQLite's default 2 MB page cache a library of 100,000 rows would reread the
    // file_name index from the file for nearly every row; pages are only taken as they are
    // read. Mapped, the file is read without a system call per page, which under Wine is
    // most of the cost of a cold reload. (The program's own image is mapped from the same
    // folder, so mapping adds no way of failing that a vanished drive did not have.)
    db.exec(L"PRAGMA cache_size = -65536;");
    db.exec(L"PRAGMA mmap_size = 1073741824;");
}

namespace {

// The binds and step of BindTrackForInsert and BindTrackForUpdate; the step's result.
int StepInsert(sqlite3_stmt* insert, const TrackRecord& t) {
    sqlite3_reset(insert);
    BindText(insert, 1, t.file_name);
    BindText(insert, 2, t.file_title);
    BindText(insert, 3, t.file_ext);
    sqlite3_bind_int64(insert, 4, t.file_size);
    BindTagsToStatistics(insert, 5, t);
    int rc = sqlite3_step(insert);
    sqlite3_reset(insert);
    return rc;
}

int StepUpdate(sqlite3_stmt* update, const TrackRecord& t) {
    sqlite3_reset(update);
    sqlite3_bind_int64(update, 1, t.file_size);
    int next = BindTagsToStatistics(update, 2, t);
    BindText(update, next, t.file_name);
    int rc = sqlite3_step(update);
    sqlite3_reset(update);
    return rc;
}

}  // namespace

bool BindTrackForInsert(sqlite3_stmt* insert, const TrackRecord& t) { return StepInsert(insert, t) == SQLITE_DONE; }

bool BindTrackForUpdate(sqlite3_stmt* update, const TrackRecord& t) { return StepUpdate(update, t) == SQLITE_DONE; }

void MapTagInfoToTrack(const TTagInfo& info, TrackRecord& t) {
    t.statDuration = info.seconds;
    t.statChannels = info.channels;
    t.statSamplingrate = info.samplingRate;
    t.statBitrate = info.bitRate;
    t.statVBR = info.vbr != 0;
    t.infoCodec = info.formatCode;
    t.infoCodec_sub = info.codecText;
    t.file_name = info.fullPath;
    t.file_title = info.fileTitle;
    t.file_ext = info.extension;

    switch (info.tagType) {
    case 1: case 2: case 4: case 8: case 16: case 32: case 64: case 4096: {
        t.tagTitle = Tag(info, L"TIT2");
        t.tagArtist = Tag(info, L"TPE1");
        t.tagAlbum = Tag(info, L"TALB");
        t.tagGenre = Tag(info, L"TCON");
        // The ID3 tag of a TTA file keeps its year under TYER, as an MPEG file's does.
        int flags = info.yearKeyFlags & 0xFF;
        if (info.tagType == 4096 || (flags & 0x20)) t.tagDate = Tag(info, L"TYER");
        else if (flags & 0x40) t.tagDate = Tag(info, L"TDRC");
        t.tagComment = Tag(info, L"COMM");
        t.tagTracknumber = Tag(info, L"TRCK");
        t.tagAPIC = Tag(info, L"APIC");
        t.tagLyrics = Tag(info, L"SYLT");
        t.infoTagtype = info.tagType == 4096 ? 4096 : info.yearKeyFlags;
        break;
    }
    case 128: case 2048:
        t.tagTitle = Tag(info, L"TITLE");
        t.tagArtist = Tag(info, L"ARTIST");
        t.tagAlbum = Tag(info, L"ALBUM");
        t.tagGenre = Tag(info, L"GENRE");
        t.tagDate = Tag(info, L"DATE");
        t.tagComment = Tag(info, L"COMMENT");
        t.tagTracknumber = Tag(info, L"TRACKNUMBER");
        t.tagAPIC = Tag(info, L"APIC");
        t.infoTagtype = info.tagType;
        break;
    case 256:
        t.infoTagtype = 256;
        break;
    case 512:
        t.tagTitle = Tag(info, L"Title");
        t.tagArtist = Tag(info, L"Author");
        if (t.tagArtist.empty()) t.tagArtist = Tag(info, L"WM/AlbumArtist");
        t.tagAlbum = Tag(info, L"WM/AlbumTitle");
        t.tagGenre = Tag(info, L"WM/Genre");
        t.tagDate = Tag(info, L"WM/Year");
        t.tagComment = Tag(info, L"DESCRIPTION");
        t.tagTracknumber = Tag(info, L"WM/TrackNumber");
        if (info.GetTag(L"WM/Picture")) t.tagAPIC = L"APIC";
        t.tagLyrics = Tag(info, L"WM/Lyrics");
        t.infoTagtype = info.tagType;
        break;
    case 1024:
        t.tagTitle = Tag(info, L"TIT2");
        t.tagArtist = Tag(info, L"TPE1");
        t.tagAlbum = Tag(info, L"TALB");
        t.tagGenre = Tag(info, L"TCON");
        t.tagDate = Tag(info, L"TYER");
        t.tagComment = Tag(info, L"COMM");
        t.tagTracknumber = Tag(info, L"TRCK");
        t.tagAPIC = Tag(info, L"APIC");
        t.tagLyrics = Tag(info, L"SYLT");
        t.infoTagtype = info.yearKeyFlags;
        break;
    case 8192:
        t.tagTitle = Tag(info, L"TITLE");
        t.tagArtist = Tag(info, L"ARTIST");
        t.tagAlbum = Tag(info, L"ALBUM");
        t.tagGenre = Tag(info, L"GENRE");
        t.tagDate = Tag(info, L"DATE");
        t.tagComment = Tag(info, L"COMMENT");
        t.tagTracknumber = Tag(info, L"TRACK");
        t.tagAPIC = Tag(info, L"APIC");
        t.infoTagtype = info.tagType;
        break;
    default:
        break;   // unknown tag type: no tag columns
    }
}

ExistingLibraryRow LookupLibraryRow(CSQlite& db, const std::wstring& path) {
    ExistingLibraryRow row;
    std::wstring sql = L"SELECT gain,rating,playcount,lastplayed,modify FROM list WHERE file_name='" +
                       EscapeSqlQuotes(path) + L"';";
    sqlite3_stmt* stmt = nullptr;
    if (db.prepare(sql, &stmt) != SQLITE_OK || !stmt) {
        if (stmt) sqlite3_finalize(stmt);
        return row;
    }
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        row.exists = true;
        row.gain = sqlite3_column_int(stmt, 0);
        row.rating = sqlite3_column_int(stmt, 1);
        row.playcount = sqlite3_column_int(stmt, 2);
        row.lastplayed = sqlite3_column_int64(stmt, 3);
        row.modify = sqlite3_column_int64(stmt, 4);
    }
    sqlite3_finalize(stmt);
    return row;
}

bool GetFileModifyTime(const std::wstring& path, int64_t& seconds) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    ULARGE_INTEGER t;
    t.LowPart = data.ftLastWriteTime.dwLowDateTime;
    t.HighPart = data.ftLastWriteTime.dwHighDateTime;
    // 100-ns intervals since 1601 to seconds since 1970.
    seconds = static_cast<int64_t>(t.QuadPart / 10000000ULL) - 11644473600LL;
    return true;
}

bool AddFileToLibrary(sqlite3_stmt* update, const std::wstring& pathIn, CSQlite& lookup,
                      const CAppSettings& settings, sqlite3_stmt* insert,
                      const TagReadFunction& read, int* stepResult) {
    if (EndsInReservedDeviceName(pathIn)) return false;
    std::wstring path = pathIn;
    if (!IsUncPath(path)) GetUniversalPath(path);

    ExistingLibraryRow existing = LookupLibraryRow(lookup, path);
    if (existing.exists && settings.generic.checkFileModify) {
        int64_t fileTime = 0;
        if (GetFileModifyTime(path, fileTime) && existing.modify > fileTime) return false;
    }

    TTagInfo info;
    int result = read ? read(info, path) : info.Read(path);
    if (result != tagReader::TagReadOk) return false;

    TrackRecord track;
    track.gain = existing.gain;
    track.rating = existing.rating;
    track.playcount = existing.playcount;
    track.lastplayed = existing.lastplayed;
    MapTagInfoToTrack(info, track);
    track.file_size = FileSizeOf(track.file_name);

    const int rc = existing.exists ? StepUpdate(update, track) : StepInsert(insert, track);
    if (stepResult) *stepResult = rc;
    return rc == SQLITE_DONE;
}

bool AddFileToLibrary(sqlite3_stmt* update, const std::wstring& path, CLarkspur2006Doc& doc,
                      sqlite3_stmt* insert, int* stepResult) {
    return AddFileToLibrary(update, path, doc.GetDatabase(), doc.GetSettings(), insert, TagReadFunction(),
                            stepResult);
}
