#include "document/LibrarySql.h"

namespace {

struct ColumnDef {
    const wchar_t* name;
    const wchar_t* type;
};

// Table order of `list`.
const ColumnDef kColumns[] = {
    {L"file_name", L"TEXT UNIQUE"},
    {L"file_title", L"TEXT"},
    {L"file_ext", L"TEXT"},
    {L"file_size", L"INTEGER"},
    {L"tagTitle", L"TEXT"},
    {L"tagArtist", L"TEXT"},
    {L"tagAlbum", L"TEXT"},
    {L"tagGenre", L"TEXT"},
    {L"tagDate", L"TEXT"},
    {L"tagComment", L"TEXT"},
    {L"tagTracknumber", L"TEXT"},
    {L"tagAPIC", L"TEXT"},
    {L"tagLyrics", L"TEXT"},
    {L"statDuration", L"INTEGER"},
    {L"statChannels", L"INTEGER"},
    {L"statSamplingrate", L"INTEGER"},
    {L"statBitrate", L"INTEGER"},
    {L"statVBR", L"TYNYINT"},
    {L"infoCodec", L"INTEGER"},
    {L"infoCodec_sub", L"TEXT"},
    {L"infoTagtype", L"INTEGER"},
    {L"gain", L"INTEGER DEFAULT 0"},
    {L"rating", L"TYNYINT DEFAULT 0"},
    {L"playcount", L"INTEGER DEFAULT 0"},
    {L"lastplayed", L"INTEGER DEFAULT 0"},
    {L"modify", L"INTEGER DEFAULT current_timestamp64"},
};
const int kColumnCount = sizeof(kColumns) / sizeof(kColumns[0]);
static_assert(kColumnCount == kLibraryColumnCount, "the table has 26 columns");

}  // namespace

const wchar_t* LibraryColumnName(int index) {
    return index >= 0 && index < kColumnCount ? kColumns[index].name : L"";
}

const wchar_t* const kLibraryIndexSql[4] = {
    L"CREATE INDEX IF NOT EXISTS tagArtist_index ON list(tagArtist);",
    L"CREATE INDEX IF NOT EXISTS tagAlbum_index ON list(tagAlbum);",
    L"CREATE INDEX IF NOT EXISTS tagGenre_index ON list(tagGenre);",
    L"CREATE INDEX IF NOT EXISTS rating_index ON list(rating);",
};

const wchar_t* const kLibraryDropIndexSql[4] = {
    L"DROP INDEX IF EXISTS file_name_index;",
    L"DROP INDEX IF EXISTS tagArtist_index;",
    L"DROP INDEX IF EXISTS tagAlbum_index;",
    L"DROP INDEX IF EXISTS tagGenre_index;",
};

std::wstring LibraryCreateTableSql() {
    std::wstring sql = L"CREATE TABLE IF NOT EXISTS list(\r\n";
    for (const auto& c : kColumns) {
        sql += L"\t";
        sql += c.name;
        sql += L" ";
        sql += c.type;
        sql += L",\r\n";
    }
    sql += L"\tPRIMARY KEY(file_name)\r\n);";
    return sql;
}

std::wstring LibraryDropTableSql() {
    return L"DROP TABLE IF EXISTS list;";
}

std::wstring LibraryInsertSql() {
    std::wstring sql = L"INSERT\tINTO\tlist\t(";
    for (int i = 0; i < kColumnCount; ++i) {
        sql += kColumns[i].name;
        sql += i + 1 < kColumnCount ? L",\t" : L")";
    }
    sql += L"\tVALUES\t(";
    for (int i = 0; i < kColumnCount - 1; ++i) sql += L"?,\t";
    sql += L"current_timestamp64());";
    return sql;
}

std::wstring LibraryUpdateSql() {
    std::wstring sql = L"UPDATE\tlist\tSET\t";
    // file_size (column 3) is refreshed too; file_title and file_ext stay.
    for (int i = 3; i < kColumnCount - 1; ++i) {
        sql += kColumns[i].name;
        sql += L"=?,\t";
    }
    sql += L"modify=current_timestamp64()\tWHERE\tfile_name=?;";
    return sql;
}
