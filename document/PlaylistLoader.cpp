#include "document/PlaylistLoader.h"
#include "document/DistinctValues.h"
#include "document/LibrarySql.h"
#include <sqlite3.h>
#include <cwchar>
#include <cwctype>
#include <string>

// The rowid comes from a subquery, not a join: SQLite flattens a joined view and drops its
// ORDER BY, and the rows must come in the query's own order.
const wchar_t* const kPlaylistRowsSql =
    L"SELECT playlist.*,(SELECT list.rowid FROM list WHERE list.file_name=playlist.file_name) FROM playlist;";

namespace {

void ReadText(sqlite3_stmt* stmt, int column, std::wstring& text) {
    const wchar_t* value = CSQlite::column_text16(stmt, column);
    text.assign(value, sqlite3_column_bytes16(stmt, column) / sizeof(wchar_t));
}

uint64_t CountDistinct(CSQlite& db, const wchar_t* sql) {
    sqlite3_stmt* stmt = nullptr;
    uint64_t count = 0;
    if (db.prepare(sql, &stmt) == SQLITE_OK && stmt && sqlite3_step(stmt) == SQLITE_ROW)
        count = static_cast<uint64_t>(sqlite3_column_int64(stmt, 0));
    if (stmt) sqlite3_finalize(stmt);
    return count;
}

const wchar_t* const kDistinctArtistsSql =
    L"SELECT COUNT(tagArtist) FROM (SELECT tagArtist FROM playlist GROUP BY tagArtist);";
const wchar_t* const kDistinctAlbumsSql =
    L"SELECT COUNT(tagAlbum) FROM (SELECT tagAlbum FROM playlist GROUP BY tagAlbum);";
const wchar_t* const kDistinctGenresSql =
    L"SELECT COUNT(tagGenre) FROM (SELECT tagGenre FROM playlist GROUP BY tagGenre);";

// One text value of a statement, empty when there is none.
std::wstring ScalarText(CSQlite& db, const wchar_t* sql) {
    sqlite3_stmt* stmt = nullptr;
    std::wstring text;
    if (db.prepare(sql, &stmt) == SQLITE_OK && stmt && sqlite3_step(stmt) == SQLITE_ROW)
        text = CSQlite::column_text16_or_empty(stmt, 0);
    if (stmt) sqlite3_finalize(stmt);
    return text;
}

// Whether the rows' own values give the statements' counts: only while no table or view names
// a collation (`playlist` itself, a view it reads from, a column of `list`), so that its columns
// group under the binary one. What `playlist` reads is not traced: any collation counts.
bool CountsFromRows(CSQlite& db) {
    std::wstring definition = ScalarText(
        db, L"SELECT group_concat(sql) FROM (SELECT sql FROM sqlite_temp_master WHERE type IN ('table','view') "
            L"UNION ALL SELECT sql FROM sqlite_master WHERE type IN ('table','view'));");
    for (wchar_t& c : definition) c = static_cast<wchar_t>(towlower(c));
    return definition.find(L"collate") == std::wstring::npos;
}

}  // namespace

const wchar_t* const kPlaylistColumnsMessage =
    L"このクエリの結果はプレイリストにできません。\r\n\r\n"
    L"結果の先頭に list テーブルの全 26 列 (file_name から modify まで) がテーブルの順に並んでいる必要があります。"
    L"「SELECT * FROM list ...」のように書き、列を加えるときはその後ろに置いてください。";

bool BeginsWithListColumns(sqlite3_stmt* stmt) {
    if (!stmt || sqlite3_column_count(stmt) < kLibraryColumnCount) return false;
    for (int i = 0; i < kLibraryColumnCount; ++i) {
        const wchar_t* name = static_cast<const wchar_t*>(sqlite3_column_name16(stmt, i));
        if (!name || _wcsicmp(name, LibraryColumnName(i)) != 0) return false;
    }
    return true;
}

void ReadListColumns(TrackRecord& r, sqlite3_stmt* stmt, bool nullTextAsEmpty) {
    const auto text = [&](int column, std::wstring& value) {
        if (nullTextAsEmpty)
            value = CSQlite::column_text16_or_empty(stmt, column);
        else
            ReadText(stmt, column, value);
    };
    text(0, r.file_name);
    text(1, r.file_title);
    text(2, r.file_ext);
    r.file_size = sqlite3_column_int64(stmt, 3);
    text(4, r.tagTitle);
    text(5, r.tagArtist);
    text(6, r.tagAlbum);
    text(7, r.tagGenre);
    text(8, r.tagDate);
    text(9, r.tagComment);
    text(10, r.tagTracknumber);
    text(11, r.tagAPIC);
    text(12, r.tagLyrics);
    r.statDuration = sqlite3_column_int(stmt, 13);
    r.statChannels = sqlite3_column_int(stmt, 14);
    r.statSamplingrate = sqlite3_column_int(stmt, 15);
    r.statBitrate = sqlite3_column_int(stmt, 16);
    r.statVBR = sqlite3_column_int(stmt, 17) != 0;
    r.infoCodec = sqlite3_column_int(stmt, 18);
    text(19, r.infoCodec_sub);
    r.infoTagtype = sqlite3_column_int(stmt, 20);
    r.gain = sqlite3_column_int(stmt, 21);
    r.rating = sqlite3_column_int(stmt, 22);
    r.playcount = sqlite3_column_int(stmt, 23);
    r.lastplayed = sqlite3_column_int64(stmt, 24);
}

bool ReadPlaylistRow(TrackRecord& r, sqlite3_stmt* stmt) {
    ReadListColumns(r, stmt, false);
    // A query may add columns of its own: the rowid is the one the reload appends.
    r.rowid = sqlite3_column_int64(stmt, sqlite3_column_count(stmt) - 1);
    return true;
}

bool LoadPlaylistCache(CSQlite& db, PlaylistCache& cache, const TrackRecord* nowPlaying,
                       PlaylistSummary* summary) {
    cache.Clear();
    if (summary) *summary = PlaylistSummary();

    sqlite3_stmt* stmt = nullptr;
    if (db.prepare(kPlaylistRowsSql, &stmt) != SQLITE_OK || !stmt ||
        sqlite3_column_count(stmt) <= kLibraryColumnCount || !BeginsWithListColumns(stmt)) {
        if (stmt) sqlite3_finalize(stmt);
        return false;
    }
    // Finalised however the reading ends, running out of memory included.
    struct Finalizer {
        sqlite3_stmt*& stmt;
        ~Finalizer() {
            if (stmt) sqlite3_finalize(stmt);
        }
    } finalizer{stmt};
    const bool matchPlaying = nowPlaying && !nowPlaying->file_name.empty();
    int currentRow = -1;
    PlaylistSummary totals;
    const int rowidColumn = sqlite3_column_count(stmt) - 1;
    // The artists, albums and genres are counted over every row of `playlist`, kept or not,
    // as the statements would count them.
    const bool countRows = summary && CountsFromRows(db);
    const bool utf16 = countRows && ScalarText(db, L"PRAGMA encoding;").compare(0, 6, L"UTF-16") == 0;
    DistinctValues artists(5, utf16), albums(6, utf16), genres(7, utf16);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (countRows) {
            artists.Add(stmt);
            albums.Add(stmt);
            genres.Add(stmt);
        }
        // A row the library no longer holds has no rowid: it is left out.
        if (sqlite3_column_type(stmt, rowidColumn) == SQLITE_NULL) continue;
        auto record = std::make_unique<TrackRecord>();
        try {
            ReadPlaylistRow(*record, stmt);
        } catch (const CSqlite_exception&) {
            continue;   // a row with a NULL text column is left out
        }
        record->displayTitle = record->tagTitle.empty() ? record->file_title : record->tagTitle;
        record->spare = 0;
        if (matchPlaying && record->rowid == nowPlaying->rowid) currentRow = cache.size();
        totals.files += 1;
        totals.bytes += static_cast<uint64_t>(record->file_size);
        totals.seconds += static_cast<uint64_t>(static_cast<int64_t>(record->statDuration));
        cache.rows.push_back(std::move(record));
    }
    sqlite3_finalize(stmt);
    stmt = nullptr;
    // A query that failed or was stopped part way gives no play list, not a part of one.
    if (rc != SQLITE_DONE) {
        cache.Clear();
        return false;
    }
    cache.current = currentRow;

    if (summary) {
        totals.artists = countRows ? artists.Count() : CountDistinct(db, kDistinctArtistsSql);
        totals.albums = countRows ? albums.Count() : CountDistinct(db, kDistinctAlbumsSql);
        totals.genres = countRows ? genres.Count() : CountDistinct(db, kDistinctGenresSql);
        *summary = totals;
    }
    return true;
}

int64_t LibraryDataVersion(CSQlite& db) {
    sqlite3_stmt* stmt = nullptr;
    int64_t version = -1;
    if (db.prepare(L"PRAGMA data_version;", &stmt) == SQLITE_OK && stmt && sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int64(stmt, 0);
    if (stmt) sqlite3_finalize(stmt);
    return version;
}
