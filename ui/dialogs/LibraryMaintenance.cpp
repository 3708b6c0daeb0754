#include "ui/dialogs/LibraryMaintenance.h"
#include "document/DBError.h"
#include "document/Larkspur2006Doc.h"
#include <sqlite3.h>
#include <windows.h>
#include <map>
#include <vector>

std::wstring PathRoot(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':' && iswalpha(path[0])) return path.substr(0, 2) + L"\\";
    if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
        // "\\server\share\..." (the long form "\\?\" is not used for library rows)
        size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2) return std::wstring();
        size_t share = path.find(L'\\', server + 1);
        if (share == server + 1) return std::wstring();
        return (share == std::wstring::npos ? path : path.substr(0, share)) + L"\\";
    }
    return std::wstring();
}

MissingFilesResult DeleteMissingFiles(CSQlite& db) {
    MissingFilesResult result;
    std::vector<std::wstring> missing;
    std::map<std::wstring, bool> rootAnswers;
    {
        sqlite3_stmt* stmt = nullptr;
        if (db.prepare(L"SELECT file_name FROM list;", &stmt) != SQLITE_OK || !stmt) {
            if (stmt) sqlite3_finalize(stmt);
            ShowDBError(db.errmsg());
            result.failed = true;
            return result;
        }
        int step;
        while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
            std::wstring name = CSQlite::column_text16_or_empty(stmt, 0);
            if (name.empty() || GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
            const std::wstring root = PathRoot(name);
            auto known = rootAnswers.find(root);
            if (known == rootAnswers.end())
                known = rootAnswers.emplace(root, !root.empty() && GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES)
                            .first;
            if (known->second)
                missing.push_back(std::move(name));
            else
                ++result.unreachable;
        }
        sqlite3_finalize(stmt);
        if (step != SQLITE_DONE) {
            // Deleting from a partial list is still right; the error is shown all the same.
            ShowDBError(db.errmsg());
            result.failed = true;
        }
    }
    if (missing.empty()) return result;

    sqlite3_stmt* del = nullptr;
    if (db.prepare(L"DELETE FROM list WHERE file_name=?;", &del) != SQLITE_OK || !del) {
        if (del) sqlite3_finalize(del);
        ShowDBError(db.errmsg());
        result.failed = true;
        return result;
    }
    for (const std::wstring& name : missing) {
        sqlite3_reset(del);
        sqlite3_bind_text16(del, 1, name.c_str(), static_cast<int>(name.size() * sizeof(wchar_t)), SQLITE_STATIC);
        if (sqlite3_step(del) != SQLITE_DONE) {
            ShowDBError(db.errmsg());
            result.failed = true;
            break;
        }
        result.deleted += sqlite3_changes(db.handle());
    }
    sqlite3_finalize(del);
    return result;
}

void InitialiseLibrary(CLarkspur2006Doc& doc) {
    doc.Stop(true);
    doc.DropTables();
    doc.CreateTables();
    doc.GetDatabase().exec(L"VACUUM;");
}

void OptimiseLibrary(CSQlite& db) { db.exec(L"VACUUM;"); }
