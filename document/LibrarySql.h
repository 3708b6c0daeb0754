#pragma once
#include <string>

// The statement texts of the table `list`, as the document keeps them.
std::wstring LibraryCreateTableSql();
std::wstring LibraryDropTableSql();
// 25 parameters: file_name ... lastplayed; modify is set by current_timestamp64().
std::wstring LibraryInsertSql();
// 23 parameters: file_size, the nine tags, five stat columns, infoCodec, infoCodec_sub,
// infoTagtype, gain, rating, playcount, lastplayed, then file_name for the WHERE clause.
std::wstring LibraryUpdateSql();

// The columns of `list` in table order.
const int kLibraryColumnCount = 26;
const wchar_t* LibraryColumnName(int index);

extern const wchar_t* const kLibraryIndexSql[4];
extern const wchar_t* const kLibraryDropIndexSql[4];
