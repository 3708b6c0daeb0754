#pragma once
#include "app/TrackRecord.h"
#include <string>
#include <vector>

// The saved-query folder as the query tree shows it: its items, the six default queries,
// and the query proposed for a play-list cell dropped on a folder. No window here.

enum QueryItemKind { QueryItemRoot = 0, QueryItemFolder = 1, QueryItemQuery = 2, QueryItemPlaylist = 3 };

struct QueryFolderItem {
    std::wstring name;   // folder name or file title; "クエリ" for the root
    int kind = QueryItemRoot;
    int image = 0;       // 0 folder and root, 1 query, 2 play list
    int selectedImage = 0;
    std::wstring path;
};

// Folders before everything else, then by name without regard to case.
bool CompareQueryItems(const QueryFolderItem& a, const QueryFolderItem& b);

// The sub-folders, ".q" and ".m3u" files of `folder` (extensions without regard to case), in
// tree order. Folders that are reparse points (junctions, links) are left out, so a walk
// never follows a loop.
std::vector<QueryFolderItem> ListQueryFolder(const std::wstring& folder);

// Creates `folder` with the six default queries when it does not exist; false when it
// existed already or could not be made.
bool CreateDefaultQueryFolder(const std::wstring& folder);
// The file names of the six default queries, in the order they are written.
std::vector<std::wstring> DefaultQueryFileNames();

// The name and SQL proposed for a dropped cell of `track` in column `column`; false for a
// column that proposes nothing.
bool BuildCellQuery(const TrackRecord& track, int column, std::wstring& title, std::wstring& sql);
