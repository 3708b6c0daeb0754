#include "document/Larkspur2006Doc.h"
#include <sqlite3.h>
#include "document/DBError.h"
#include "document/LibraryWriteFailure.h"
#include "document/StatisticsFile.h"
#include "document/WaitCursor.h"
#include <windows.h>
#include <algorithm>

namespace {

const wchar_t* const kStatisticsFilter = L"TSV File (*.tsv)|*.tsv|すべてのファイル (*.*)|*.*||";

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

bool ReadAll(const std::wstring& path, std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) != FALSE && size.QuadPart < (1LL << 31);
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                               read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

FileDialogRequest StatisticsDialog(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.filter = kStatisticsFilter;
    request.defaultExt = L"tsv";
    request.defaultName = L"export";
    request.overwritePrompt = save;
    return request;
}

}  // namespace

CLarkspur2006Doc::StatisticsResult CLarkspur2006Doc::ExportStatistics(const std::wstring& path, int& count) {
    count = 0;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return StatisticsOpenFailed;

    // The rows are gathered first: the file's encoding depends on every name in it.
    std::vector<StatisticsLine> lines;
    StatisticsResult result = StatisticsOk;
    sqlite3_stmt* stmt = nullptr;
    if (m_db.prepare(L"SELECT file_name,gain,rating,playcount,lastplayed FROM list;", &stmt) != SQLITE_OK ||
        !stmt) {
        if (stmt) sqlite3_finalize(stmt);
        result = StatisticsDbFailed;
    } else {
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (sqlite3_column_type(stmt, 0) == SQLITE_NULL) continue;   // no file name: nothing to match
            StatisticsLine line;
            line.fileName = CSQlite::column_text16_or_empty(stmt, 0);
            line.gain = sqlite3_column_int(stmt, 1);
            line.rating = sqlite3_column_int(stmt, 2);
            line.playcount = sqlite3_column_int(stmt, 3);
            line.lastplayed = sqlite3_column_int64(stmt, 4);
            if (line.gain == 0 && line.rating == 0 && line.playcount == 0 && line.lastplayed == 0) continue;
            lines.push_back(std::move(line));
        }
        // A read that stops part-way (busy, an error) is not a complete export.
        if (rc != SQLITE_DONE) result = StatisticsDbFailed;
        sqlite3_finalize(stmt);
    }

    bool written = WriteAll(file, FormatStatisticsFile(lines));
    written = CloseHandle(file) != FALSE && written;
    if (result != StatisticsOk) return result;
    if (!written) return StatisticsWriteFailed;
    count = static_cast<int>(lines.size());
    return StatisticsOk;
}

CLarkspur2006Doc::StatisticsResult CLarkspur2006Doc::ImportStatistics(const std::wstring& path, int& count) {
    count = 0;
    std::string bytes;
    if (!ReadAll(path, bytes)) return StatisticsOpenFailed;

    sqlite3_stmt* stmt = nullptr;
    if (m_db.prepare(L"UPDATE list SET gain=?,rating=?,playcount=?,lastplayed=? WHERE file_name=?;", &stmt) !=
            SQLITE_OK ||
        !stmt) {
        if (stmt) sqlite3_finalize(stmt);
        return StatisticsDbFailed;
    }
    for (const auto& line : ParseStatisticsFile(bytes)) {
        sqlite3_reset(stmt);
        sqlite3_bind_int(stmt, 1, line.gain);
        sqlite3_bind_int(stmt, 2, line.rating);
        sqlite3_bind_int(stmt, 3, line.playcount);
        sqlite3_bind_int64(stmt, 4, line.lastplayed);
        sqlite3_bind_text16(stmt, 5, line.fileName.c_str(),
                            static_cast<int>(line.fileName.size() * sizeof(wchar_t)), SQLITE_TRANSIENT);
        if (IsLibraryWriteFailure(sqlite3_step(stmt))) {
            sqlite3_finalize(stmt);
            return StatisticsLibraryUnwritable;
        }
        ++count;
    }
    sqlite3_finalize(stmt);
    return StatisticsOk;
}

namespace {

// The message that ends an export or import: the failure, or "N 項目...しました。".
void ReportStatisticsResult(IDocumentHost& host, CSQlite& db, CLarkspur2006Doc::StatisticsResult result,
                            int count, const wchar_t* doneFormat) {
    switch (result) {
    case CLarkspur2006Doc::StatisticsOpenFailed:
        host.ShowMessage(L"ファイルオープンに失敗しました。", MB_OK | MB_ICONERROR);
        break;
    case CLarkspur2006Doc::StatisticsDbFailed:
        ShowDBError(db.errmsg());
        break;
    case CLarkspur2006Doc::StatisticsWriteFailed:
        host.ShowMessage(L"ファイルの書き込みに失敗しました。", MB_OK | MB_ICONERROR);
        break;
    case CLarkspur2006Doc::StatisticsLibraryUnwritable:
        break;   // told by the document, once a session
    case CLarkspur2006Doc::StatisticsOk: {
        wchar_t text[64];
        swprintf(text, 64, doneFormat, count);
        host.ShowMessage(text, MB_OK | MB_ICONINFORMATION);
        break;
    }
    }
}

}  // namespace

void CLarkspur2006Doc::OnExportStatistics() {
    FileDialogResult chosen;
    if (!GetHost().ShowFileDialog(StatisticsDialog(true), chosen)) return;
    int count = 0;
    StatisticsResult result;
    {
        ScopedWaitCursor wait;
        result = ExportStatistics(chosen.pathName, count);
    }
    ReportStatisticsResult(GetHost(), m_db, result, count, L"%d 項目エクスポートしました。");
}

void CLarkspur2006Doc::OnImportStatistics() {
    if (GetHost().ShowMessage(L"すべての統計項目が上書きされます。\r\n続行しますか？",
                              MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
        return;
    FileDialogResult chosen;
    if (!GetHost().ShowFileDialog(StatisticsDialog(false), chosen)) return;
    int count = 0;
    StatisticsResult result;
    {
        ScopedWaitCursor wait;
        result = ImportStatistics(chosen.pathName, count);
    }
    if (result == StatisticsLibraryUnwritable) ReportLibraryUnwritable();
    ReportStatisticsResult(GetHost(), m_db, result, count, L"%d 項目インポートしました。");
}
