#pragma once
#include "app/AppSettings.h"
#include "document/IDocumentHost.h"
#include "document/PlaylistCache.h"
#include "document/QueryHistory.h"
#include "document/SQLite.h"
#include "framework/Document.h"
#include <map>
#include <memory>
#include <string>

class CCmdUI;

// The document: the library database, the play lists, the query history (and the player).
// It works on the settings record and reaches the windows around it through the host.
class CLarkspur2006Doc : public CDocument {
public:
    // On the application's live settings (the document template creates it so).
    CLarkspur2006Doc();
    // `host` may be null: then the plain system dialogs are used.
    explicit CLarkspur2006Doc(CAppSettings& settings, IDocumentHost* host = nullptr);
    ~CLarkspur2006Doc() override;

    CAppSettings& GetSettings() { return m_settings; }
    IDocumentHost& GetHost() { return m_host ? *m_host : m_defaultHost; }
    void SetHost(IDocumentHost* host) { m_host = host; }

    // ---- Library (DocLibrary.cpp) -------------------------------------------------------
    CSQlite& GetDatabase() { return m_db; }

    void InitSqlTexts();
    const std::wstring& GetSqlCreate() const { return m_sqlCreate; }
    const std::wstring& GetSqlDrop() const { return m_sqlDrop; }
    const std::wstring& GetSqlInsert() const { return m_sqlInsert; }
    const std::wstring& GetSqlUpdate() const { return m_sqlUpdate; }

    // Opens "library.db" (the settings' library path, or the one in the profile folder),
    // applies the pragmas and creates the table and indexes. False fails the start.
    bool OpenLibrary(const std::wstring& path);
    bool CreateTables();
    bool DropTables();

    // "ファイルの追加(&F)": adds the files chosen in the open-file dialog.
    void OnAddFiles();

    // ---- Queries, play lists and history (DocQuery.cpp) ---------------------------------
    // Replaces `playlist` by the result of the SQL text and, with `record`, records it in
    // the history. Sends no hint: callers send hint 20 after success.
    bool SetQuery(const wchar_t* title, const std::wstring& sql, bool record);
    bool RunHistoryQuery(const QueryHistoryEntry& entry);
    void OnQueryBack();
    void OnQueryForward();
    void OnUpdateQueryBack(CCmdUI* ui);
    void OnUpdateQueryForward(CCmdUI* ui);

    CQueryHistory& GetQueryHistory() { return m_history; }
    // True while `playlist` is a temporary table (a shuffled query), false for a view.
    bool IsPlaylistTable() const { return m_playlistIsTable; }

    // The play list "Default", created on first use.
    PlaylistCache& GetPlaylistCache();
    const std::wstring& GetPlaylistName() const { return m_playlistName; }
    // Clears and deletes every cached play list (at close).
    void FreePlaylistCaches();

    // ---- Statistics export and import (DocStatistics.cpp) -------------------------------
    enum StatisticsResult { StatisticsOk, StatisticsOpenFailed, StatisticsDbFailed, StatisticsWriteFailed };
    // The file operations behind the commands; `count` is the number of rows written or
    // lines imported.
    StatisticsResult ExportStatistics(const std::wstring& path, int& count);
    StatisticsResult ImportStatistics(const std::wstring& path, int& count);
    void OnExportStatistics();
    void OnImportStatistics();

private:
    CAppSettings& m_settings;
    IDocumentHost* m_host = nullptr;
    CDocumentHostDefault m_defaultHost;

    // Library
    CSQlite m_db;
    std::wstring m_sqlCreate;
    std::wstring m_sqlDrop;
    std::wstring m_sqlInsert;
    std::wstring m_sqlUpdate;

    // Queries and play lists
    CQueryHistory m_history;
    bool m_playlistIsTable = false;
    std::map<std::wstring, std::unique_ptr<PlaylistCache>> m_playlists;
    std::wstring m_playlistName = L"Default";
};
