#include "document/Larkspur2006Doc.h"
#include <sqlite3.h>
#include "app/PathParts.h"
#include "app/ViewHints.h"
#include "document/DBError.h"
#include "document/DlgAddLib.h"
#include "document/LibraryRows.h"
#include "document/LibrarySql.h"
#include "document/LibraryWriteFailure.h"
#include "document/PlaylistLoader.h"
#include <windows.h>

void CLarkspur2006Doc::InitSqlTexts() {
    m_sqlCreate = LibraryCreateTableSql();
    m_sqlDrop = LibraryDropTableSql();
    m_sqlInsert = LibraryInsertSql();
    m_sqlUpdate = LibraryUpdateSql();
}

namespace {

std::wstring ProfileFolder(const CAppSettings& settings) {
    std::wstring folder = settings.userFolder;
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

// The file opened for `requested`: that one when it exists, else the profile's own.
std::wstring LibraryFilePath(const std::wstring& requested, const CAppSettings& settings) {
    if (!requested.empty() && GetFileAttributesW(requested.c_str()) != INVALID_FILE_ATTRIBUTES) return requested;
    return ProfileFolder(settings) + L"\\library.db";
}

// The columns that an existing table `list` lacks, separated by ", "; empty when it has them
// all or there is no such table yet. A schema that cannot be read also gives none: creating
// the tables then fails and says why.
std::wstring MissingListColumns(CSQlite& db) {
    sqlite3_stmt* stmt = nullptr;
    if (db.prepare(L"PRAGMA table_info(list);", &stmt) != SQLITE_OK || !stmt) {
        if (stmt) sqlite3_finalize(stmt);
        return std::wstring();
    }
    std::vector<std::wstring> present;
    while (sqlite3_step(stmt) == SQLITE_ROW) present.push_back(CSQlite::column_text16_or_empty(stmt, 1));
    sqlite3_finalize(stmt);
    std::wstring missing;
    if (present.empty()) return missing;
    for (int i = 0; i < kLibraryColumnCount; ++i) {
        const wchar_t* name = LibraryColumnName(i);
        bool found = false;
        for (const std::wstring& column : present) found = found || _wcsicmp(column.c_str(), name) == 0;
        if (found) continue;
        if (!missing.empty()) missing += L", ";
        missing += name;
    }
    return missing;
}

}  // namespace

bool CLarkspur2006Doc::OpenLibrary(const std::wstring& requested) {
    const std::wstring path = LibraryFilePath(requested, m_settings);
    if (path != requested) {
        const std::wstring folder = ProfileFolder(m_settings);
        if (!folder.empty()) CreateDirectoryW(folder.c_str(), nullptr);
    }
    if (m_db.open(path) != SQLITE_OK) return false;
    m_settings.libraryPath = path;
    // A write that meets the lock of the check or of the start's reading stops them rather
    // than fail.
    m_db.set_busy_hook([this] {
        const bool check = m_libraryCheck.GiveWay();
        const bool preload = m_preload.GiveWay();
        return check || preload;
    });
    ApplyPragmas(m_db, m_settings);
    ApplyReadPragmas(m_db);
    // A table of another shape is refused before anything is created in the file.
    const std::wstring missing = MissingListColumns(m_db);
    if (!missing.empty()) {
        const std::wstring details = L"ファイル: " + path + L"\r\n足りない列: " + missing;
        ShowDBError(L"このファイルの list テーブルには必要な列がないため、ライブラリとして開けません。", details.c_str());
        return false;
    }
    if (!CreateTables()) {
        ShowDBError(m_db.errmsg());
        return false;
    }
    return true;
}

void CLarkspur2006Doc::StartPlaylistPreload() {
    if (!m_settings.playlistView.playlistRestore) return;
    const std::wstring path = LibraryFilePath(m_settings.libraryPath, m_settings);
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        m_preload.Start(path, m_settings.sqlite.pragmaTempstore);
}

void CLarkspur2006Doc::StartLibraryCheck() {
    const std::wstring path = m_settings.libraryPath;
    m_libraryCheck.Start(path, [path](const std::wstring& findings) {
        const std::wstring details = L"ファイル: " + path +
                                     L"\r\n\r\n何かが書き込まれる前に、このファイルのコピーを別の場所に残してください。"
                                     L"\r\n\r\n" + findings;
        ShowDBError(L"ライブラリのファイルが壊れています。", details.c_str());
    });
}

bool CLarkspur2006Doc::ReportWriteFailure(int rc) {
    if (!IsLibraryWriteFailure(rc)) return false;
    ReportLibraryUnwritable();
    return true;
}

void CLarkspur2006Doc::ReportLibraryUnwritable() {
    if (m_unwritableReported) return;
    m_unwritableReported = true;
    GetHost().ShowMessage(LibraryWriteFailureMessage(m_settings.libraryPath), MB_OK | MB_ICONWARNING);
}

bool CLarkspur2006Doc::CreateTables() {
    if (m_db.exec(m_sqlCreate) != SQLITE_OK) return false;
    for (const wchar_t* sql : kLibraryIndexSql)
        if (m_db.exec(sql) != SQLITE_OK) return false;
    return true;
}

bool CLarkspur2006Doc::DropTables() {
    if (m_db.exec(m_sqlDrop) != SQLITE_OK) return false;
    for (const wchar_t* sql : kLibraryDropIndexSql)
        if (m_db.exec(sql) != SQLITE_OK) return false;
    return true;
}

void CLarkspur2006Doc::OnAddFiles() {
    FileDialogRequest request;
    request.title = L"ファイルの追加";
    request.filter =
        L"メディア ファイル (すべての種類)|*.wav;*.mp1;*.mp2;*.mp3;*.ogg;*.flac;*.fla;*.m4a;*.mp4;*.wma;*.tta;*.ape|"
        L"Windows Audio (*.wav)|*.wav|"
        L"MPEG Audio (*.mp1;*.mp2;*.mp3)|*.mp1;*.mp2;*.mp3|"
        L"Ogg Vorbis (*.ogg)|*.ogg|"
        L"Flac (*.flac;*.fla)|*.flac;*.fla|"
        L"AAC/MP4/ALAC (*.m4a;*.mp4)|*.m4a;*.mp4|"
        L"Windows Media Audio (*.wma)|*.wma|"
        L"The True Audio (*.tta)|*.tta|"
        L"Monkey's Audio (*.ape)|*.ape|";
    request.multiSelect = true;
    request.nameBufferChars = 26101;
    request.initialDir = m_settings.generic.libraryLatestDir;
    FileDialogResult chosen;
    if (!GetHost().ShowFileDialog(request, chosen)) return;

    sqlite3_stmt* insert = nullptr;
    sqlite3_stmt* update = nullptr;
    if (m_db.prepare(m_sqlInsert, &insert) != SQLITE_OK ||
        m_db.prepare(m_sqlUpdate, &update) != SQLITE_OK) {
        if (insert) sqlite3_finalize(insert);
        if (update) sqlite3_finalize(update);
        ShowDBError(m_db.errmsg());
        return;
    }
    bool unwritable = false;
    for (const auto& file : chosen.files) {
        int written = SQLITE_DONE;
        AddFileToLibrary(update, file, *this, insert, &written);
        if (IsLibraryWriteFailure(written)) {
            unwritable = true;   // every later file would fail the same way
            break;
        }
    }
    sqlite3_finalize(insert);
    sqlite3_finalize(update);
    if (unwritable) ReportLibraryUnwritable();

    CUpdateViewLibrary hint;
    hint.clearLists = false;
    UpdateAllViews(nullptr, HintLibraryChanged, &hint);

    PathParts parts;
    if (SplitPath(parts, chosen.pathName)) m_settings.generic.libraryLatestDir = parts.drive + parts.dir;
}

void CLarkspur2006Doc::OnAddDirectory() {
    std::wstring folder = m_settings.generic.libraryLatestDir;
    bool subfolders = true;
    if (GetHost().BrowseForFolder(folder, subfolders) != 1) return;

    CDlgAddLib dialog;
    dialog.SetFolder(this, folder, subfolders);
    dialog.DoModal();
    if (dialog.GetCount() != 0) {
        CUpdateViewLibrary hint;
        hint.clearLists = false;
        UpdateAllViews(nullptr, HintLibraryChanged, &hint);
    }
    m_settings.generic.libraryLatestDir = folder;
}

bool CLarkspur2006Doc::DeleteFromLibrary(const std::vector<std::wstring>& fileNames) {
    // In one transaction of its own, so that a refusal part way leaves every row.
    const bool own = sqlite3_get_autocommit(m_db.handle()) != 0;
    int rc = own ? m_db.exec(L"BEGIN IMMEDIATE;") : SQLITE_OK;
    sqlite3_stmt* stmt = nullptr;
    if (rc == SQLITE_OK) rc = m_db.prepare(L"DELETE FROM list WHERE file_name=?;", &stmt);
    for (size_t i = 0; rc == SQLITE_OK && stmt && i < fileNames.size(); ++i) {
        const std::wstring& name = fileNames[i];
        sqlite3_reset(stmt);
        sqlite3_bind_text16(stmt, 1, name.c_str(), static_cast<int>(name.size() * sizeof(wchar_t)),
                            SQLITE_TRANSIENT);
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    std::wstring error = rc == SQLITE_OK ? std::wstring() : m_db.errmsg();
    if (stmt) sqlite3_finalize(stmt);
    if (rc == SQLITE_OK && own) {
        rc = m_db.exec(L"COMMIT;");
        if (rc != SQLITE_OK) error = m_db.errmsg();
    }
    if (rc == SQLITE_OK) return true;
    if (own && !sqlite3_get_autocommit(m_db.handle())) m_db.exec(L"ROLLBACK;");
    ShowDBError(error.c_str());
    return false;
}
