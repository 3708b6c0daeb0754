#include "ui/views/LinkSearch.h"
#include "app/SearchText.h"
#include "app/SqlEscape.h"
#include <windows.h>

std::wstring LinkColumnLabel(const std::wstring& column) {
    static const struct {
        const wchar_t* column;
        const wchar_t* label;
    } kLabels[] = {
        {L"tagTitle", L"タイトル"},  {L"tagArtist", L"アーティスト"}, {L"tagAlbum", L"アルバム"},
        {L"tagGenre", L"ジャンル"},  {L"tagDate", L"年"},             {L"tagComment", L"コメント"},
        {L"tagTracknumber", L"TRACK"},
    };
    for (const auto& entry : kLabels)
        if (_wcsicmp(entry.column, column.c_str()) == 0) return entry.label;
    return column;
}

std::wstring MakeLinkTipText(const std::wstring& column, const std::wstring& value, bool longForm) {
    const std::wstring label = LinkColumnLabel(column);
    if (longForm) return label + L"が\r\n「" + value + L"」\r\nへのリンク";
    return label + L"「" + value + L"」";
}

std::wstring MakeLinkSearchSql(const std::wstring& column, const std::wstring& value, bool noCase) {
    if (noCase) {
        // Normalised first, so that a full-width "＊" becomes the "*" that is then escaped.
        std::wstring normalized;
        NormalizeSearchText(value, normalized);
        return L"SELECT * FROM list WHERE LCMapUpper(" + column + L") glob LCMapUpper('*" +
               EscapeGlobLiteral(normalized) + L"*');";
    }
    return L"SELECT * FROM list WHERE " + column + L" IN ('" + EscapeSqlQuotes(value) + L"');";
}

std::wstring MakeAlbumSearchSql(const std::wstring& album) {
    return L"SELECT * FROM list WHERE tagAlbum='" + EscapeSqlQuotes(album) + L"';";
}

std::wstring MakeAlbumSearchTitle(const std::wstring& album) { return L"アルバムが「" + album + L"」"; }

std::wstring FitInfoTip(const std::wstring& text, size_t capacity) {
    if (capacity == 0) return std::wstring();
    if (text.size() < capacity) return text;
    if (capacity <= 4) return std::wstring(L"...").substr(0, capacity - 1);
    return text.substr(0, capacity - 4) + L"...";
}
