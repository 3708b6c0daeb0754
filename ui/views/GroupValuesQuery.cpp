#include "ui/views/GroupValuesQuery.h"
#include "document/SQLite.h"
#include <sqlite3.h>

std::wstring GroupValuesSql(const std::wstring& key, bool ignoreRating00) {
    return L"SELECT " + key + (ignoreRating00 ? L",AVG_RATING(rating)" : L",AVG(rating)") +
           L",count(file_name) FROM list GROUP BY " + key + L";";
}

void ReadGroupValues(CSQlite& db, const std::wstring& key, bool ignoreRating00, std::vector<GroupValue>& values,
                     int& totalFiles) {
    values.clear();
    totalFiles = 0;
    sqlite3_stmt* stmt = nullptr;
    if (db.is_open() && db.prepare(GroupValuesSql(key, ignoreRating00), &stmt) == SQLITE_OK && stmt) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const int files = sqlite3_column_int(stmt, 2);
            totalFiles += files;
            if (sqlite3_column_type(stmt, 0) == SQLITE_NULL) continue;
            GroupValue v;
            v.text = CSQlite::column_text16_or_empty(stmt, 0);
            v.average = sqlite3_column_double(stmt, 1);
            v.files = files;
            values.push_back(std::move(v));
        }
    }
    if (stmt) sqlite3_finalize(stmt);
}
