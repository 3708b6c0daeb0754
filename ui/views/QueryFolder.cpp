#include "ui/views/QueryFolder.h"
#include "app/ColumnModel.h"
#include "app/PathParts.h"
#include "app/SqlEscape.h"
#include "document/QueryFile.h"
#include <windows.h>
#include <algorithm>
#include <cwchar>

namespace {

std::wstring WithBackslash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}

const struct DefaultQuery {
    const wchar_t* file;
    const wchar_t* sql;
    int sortBy;
} kDefaultQueries[] = {
    {L"評価3つ星以上.q", L"SELECT * FROM list WHERE rating >= 30;", 15},
    {L"再生回数3回以上.q", L"SELECT * FROM list WHERE playcount >= 3;", 17},
    {L"一週間以内に聞いた曲.q", L"SELECT * FROM list WHERE current_timestamp64() - lastplayed <= 604800;", 18},
    {L"まだ聞いていない曲.q", L"SELECT * FROM list WHERE lastplayed = 0;", 18},
    {L"3日以内に追加・更新された曲.q", L"SELECT * FROM list WHERE current_timestamp64() - modify <= 259200;", -1},
    {L"ランダム20曲.q", L"SELECT * FROM list order by random() limit 20;", -1},
};

}  // namespace

bool CompareQueryItems(const QueryFolderItem& a, const QueryFolderItem& b) {
    const bool folderA = a.kind == QueryItemFolder, folderB = b.kind == QueryItemFolder;
    if (folderA != folderB) return folderA;
    return ::lstrcmpiW(a.name.c_str(), b.name.c_str()) < 0;
}

std::vector<QueryFolderItem> ListQueryFolder(const std::wstring& folder) {
    std::vector<QueryFolderItem> items;
    const std::wstring base = WithBackslash(folder);
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((base + L"*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return items;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        QueryFolderItem item;
        item.path = base + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            item.name = name;
            item.kind = QueryItemFolder;
            item.image = item.selectedImage = 0;
        } else {
            PathParts parts;
            if (!SplitPath(parts, item.path)) continue;
            if (::lstrcmpiW(parts.ext.c_str(), L".q") == 0) {
                item.kind = QueryItemQuery;
                item.image = item.selectedImage = 1;
            } else if (::lstrcmpiW(parts.ext.c_str(), L".m3u") == 0) {
                item.kind = QueryItemPlaylist;
                item.image = item.selectedImage = 2;
            } else {
                continue;
            }
            item.name = parts.fname;
        }
        items.push_back(std::move(item));
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    std::stable_sort(items.begin(), items.end(), CompareQueryItems);
    return items;
}

bool CreateDefaultQueryFolder(const std::wstring& folder) {
    if (::GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) return false;
    const std::wstring base = WithBackslash(folder);
    for (const DefaultQuery& q : kDefaultQueries) {
        CQueryFile file;
        file.sql = q.sql;
        file.sortColumn = q.sortBy;
        file.ascending = false;
        file.Save(base + q.file);
    }
    return true;
}

std::vector<std::wstring> DefaultQueryFileNames() {
    std::vector<std::wstring> names;
    for (const DefaultQuery& q : kDefaultQueries) names.push_back(q.file);
    return names;
}

bool BuildCellQuery(const TrackRecord& track, int column, std::wstring& title, std::wstring& sql) {
    std::wstring caption;
    if (!GetColumnCaption(column, caption)) return false;
    auto text = [&](const wchar_t* name, const std::wstring& value) {
        title = caption + L" - " + value;
        sql = std::wstring(L"SELECT * FROM list WHERE ") + name + L"='" + EscapeSqlQuotes(value) + L"';";
        return true;
    };
    auto number = [&](const wchar_t* name, const std::wstring& shown, int value) {
        title = caption + L" - " + shown;
        sql = std::wstring(L"SELECT * FROM list WHERE ") + name + L"='" + std::to_wstring(value) + L"';";
        return true;
    };
    switch (column) {
    case ColTrackNumber: return text(L"tagTracknumber", track.tagTracknumber);
    case ColTitle: return text(L"tagTitle", track.tagTitle);
    case ColArtist: return text(L"tagArtist", track.tagArtist);
    case ColAlbum: return text(L"tagAlbum", track.tagAlbum);
    case ColYear: return text(L"tagDate", track.tagDate);
    case ColGenre: return text(L"tagGenre", track.tagGenre);
    case ColComment: return text(L"tagComment", track.tagComment);
    case ColCodec: {
        std::wstring codec;
        GetCodecName(track.infoCodec, codec);
        return number(L"infoCodec", codec, track.infoCodec);
    }
    case ColRating: return number(L"rating", std::to_wstring(track.rating), track.rating);
    case ColPlayCount: return number(L"playcount", std::to_wstring(track.playcount), track.playcount);
    default: return false;
    }
}
