#include "BareRows.h"
#include <algorithm>
#include <cwchar>
#include <ctime>

namespace {

void Text(sqlite3_stmt* stmt, int column, std::wstring& out) {
    const void* text = sqlite3_column_text16(stmt, column);
    if (text) out.assign(static_cast<const wchar_t*>(text), sqlite3_column_bytes16(stmt, column) / 2);
    else out.clear();
}

void Bind(sqlite3_stmt* stmt, int index, const std::wstring& text) {
    sqlite3_bind_text16(stmt, index, text.c_str(), static_cast<int>(text.size() * 2), SQLITE_STATIC);
}

}  // namespace

sqlite3* BareOpen(const std::wstring& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open16(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 500);
    sqlite3_exec(db, "PRAGMA synchronous = OFF;", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA temp_store = MEMORY;", nullptr, nullptr, nullptr);
    // The same page cache and mapped reads as the document's connections, so that both sides
    // read alike and the ratio measures the code, not the connection's settings.
    sqlite3_exec(db, "PRAGMA cache_size = -65536;", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA mmap_size = 1073741824;", nullptr, nullptr, nullptr);
    return db;
}

void BareLoad(sqlite3* db, const std::wstring& sql, std::vector<BareRow>& rows) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare16_v2(db, sql.c_str(), static_cast<int>(sql.size() * 2), &stmt, nullptr) != SQLITE_OK)
        return;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        rows.emplace_back();
        BareRow& r = rows.back();
        Text(stmt, 0, r.file_name);
        Text(stmt, 1, r.file_title);
        Text(stmt, 2, r.file_ext);
        r.file_size = sqlite3_column_int64(stmt, 3);
        Text(stmt, 4, r.tagTitle);
        Text(stmt, 5, r.tagArtist);
        Text(stmt, 6, r.tagAlbum);
        Text(stmt, 7, r.tagGenre);
        Text(stmt, 8, r.tagDate);
        Text(stmt, 9, r.tagComment);
        Text(stmt, 10, r.tagTracknumber);
        Text(stmt, 11, r.tagAPIC);
        Text(stmt, 12, r.tagLyrics);
        r.statDuration = sqlite3_column_int(stmt, 13);
        r.statChannels = sqlite3_column_int(stmt, 14);
        r.statSamplingrate = sqlite3_column_int(stmt, 15);
        r.statBitrate = sqlite3_column_int(stmt, 16);
        r.statVBR = sqlite3_column_int(stmt, 17) != 0;
        r.infoCodec = sqlite3_column_int(stmt, 18);
        Text(stmt, 19, r.infoCodec_sub);
        r.infoTagtype = sqlite3_column_int(stmt, 20);
        r.gain = sqlite3_column_int(stmt, 21);
        r.rating = sqlite3_column_int(stmt, 22);
        r.playcount = sqlite3_column_int(stmt, 23);
        r.lastplayed = sqlite3_column_int64(stmt, 24);
        r.rowid = sqlite3_column_int64(stmt, 26);
    }
    sqlite3_finalize(stmt);
}

int BareInsert(sqlite3* db, const std::vector<TrackRecord>& rows) {
    const char* sql = "INSERT INTO list VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) return 0;
    int done = 0;
    for (const TrackRecord& t : rows) {
        sqlite3_reset(stmt);
        Bind(stmt, 1, t.file_name);
        Bind(stmt, 2, t.file_title);
        Bind(stmt, 3, t.file_ext);
        sqlite3_bind_int64(stmt, 4, t.file_size);
        Bind(stmt, 5, t.tagTitle);
        Bind(stmt, 6, t.tagArtist);
        Bind(stmt, 7, t.tagAlbum);
        Bind(stmt, 8, t.tagGenre);
        Bind(stmt, 9, t.tagDate);
        Bind(stmt, 10, t.tagComment);
        Bind(stmt, 11, t.tagTracknumber);
        Bind(stmt, 12, t.tagAPIC);
        Bind(stmt, 13, t.tagLyrics);
        sqlite3_bind_int(stmt, 14, t.statDuration);
        sqlite3_bind_int(stmt, 15, t.statChannels);
        sqlite3_bind_int(stmt, 16, t.statSamplingrate);
        sqlite3_bind_int(stmt, 17, t.statBitrate);
        sqlite3_bind_int(stmt, 18, t.statVBR ? 1 : 0);
        sqlite3_bind_int(stmt, 19, t.infoCodec);
        Bind(stmt, 20, t.infoCodec_sub);
        sqlite3_bind_int(stmt, 21, t.infoTagtype);
        sqlite3_bind_int(stmt, 22, t.gain);
        sqlite3_bind_int(stmt, 23, t.rating);
        sqlite3_bind_int(stmt, 24, t.playcount);
        sqlite3_bind_int64(stmt, 25, t.lastplayed);
        sqlite3_bind_int64(stmt, 26, _time64(nullptr));
        if (sqlite3_step(stmt) == SQLITE_DONE) ++done;
    }
    sqlite3_finalize(stmt);
    return done;
}

void BareSortByTitle(std::vector<BareRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const BareRow& a, const BareRow& b) {
        return _wcsicmp(a.tagTitle.c_str(), b.tagTitle.c_str()) < 0;
    });
}

void BareSortByArtistAlbumTrack(std::vector<BareRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const BareRow& a, const BareRow& b) {
        int c = _wcsicmp(a.tagArtist.c_str(), b.tagArtist.c_str());
        if (c != 0) return c < 0;
        c = _wcsicmp(a.tagAlbum.c_str(), b.tagAlbum.c_str());
        if (c != 0) return c < 0;
        return _wtoi(a.tagTracknumber.c_str()) < _wtoi(b.tagTracknumber.c_str());
    });
}

void BareSortByLastPlayed(std::vector<BareRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const BareRow& a, const BareRow& b) { return a.lastplayed < b.lastplayed; });
}

size_t BareGroupValues(sqlite3* db, const std::wstring& sql) {
    struct Value {
        std::wstring text;
        double average = 0;
        int files = 0;
    };
    std::vector<Value> values;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare16_v2(db, sql.c_str(), static_cast<int>(sql.size() * 2), &stmt, nullptr) != SQLITE_OK)
        return 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        values.emplace_back();
        Text(stmt, 0, values.back().text);
        values.back().average = sqlite3_column_double(stmt, 1);
        values.back().files = sqlite3_column_int(stmt, 2);
    }
    sqlite3_finalize(stmt);
    return values.size();
}
