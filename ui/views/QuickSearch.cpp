#include "ui/views/QuickSearch.h"
#include "app/SearchText.h"
#include "app/SqlEscape.h"
#include <algorithm>
#include <cwchar>

namespace {

struct SearchColumn {
    int bit;
    const wchar_t* name;
    const wchar_t* fuzzyTitle;
    const wchar_t* plainTitle;
};

const SearchColumn kColumns[] = {
    {SearchFileName, L"file_name", L"ファイル名(あいまい検索) - %ls -", L"ファイル名 - %ls -"},
    {SearchTitle, L"tagTitle", L"タイトル(あいまい検索) - %ls -", L"タイトル - %ls -"},
    {SearchArtist, L"tagArtist", L"アーティスト(あいまい検索) - %ls -", L"アーティスト - %ls -"},
    {SearchAlbum, L"tagAlbum", L"アルバム(あいまい検索) - %ls -", L"アルバム - %ls -"},
    {SearchGenre, L"tagGenre", L"ジャンル(あいまい検索) - %ls -", L"ジャンル - %ls -"},
    {SearchDate, L"tagDate", L"年(あいまい検索) - %ls -", L"年 - %ls -"},
    {SearchComment, L"tagComment", L"コメント(あいまい検索) - %ls -", L"コメント - %ls -"},
};

// The format with its one "%ls" replaced by `value` (no length limit).
std::wstring Fill(const wchar_t* format, const std::wstring& value) {
    std::wstring result = format;
    const size_t at = result.find(L"%ls");
    if (at != std::wstring::npos) result.replace(at, 3, value);
    return result;
}

}  // namespace

QuickSearchQuery BuildQuickSearch(const std::wstring& text, int way, bool fuzzy) {
    QuickSearchQuery query;
    if (way == SearchSql) {
        query.word = text;
        if (query.word.empty() || query.word.back() != L';') query.word += L';';
        query.sql = query.word;
        query.title = Fill(L"SQL検索 -%ls-", query.word);
        return query;
    }
    query.word = text;

    // The text is brought to its compared form before it is escaped, so that nothing the
    // mapping produces (a full-width apostrophe becomes "'") escapes the quoted pattern.
    const std::wstring escaped = EscapeGlobLiteral(text);
    std::wstring compared = text;
    if (fuzzy) {
        std::wstring normalized;
        if (NormalizeSearchText(text, normalized)) compared = normalized;
    }
    const std::wstring pattern = L"glob '*" + EscapeGlobLiteral(compared) + L"*'";

    if (way == SearchAllColumns)
        query.title = Fill(fuzzy ? L"単語検索(あいまい検索) - %ls -" : L"単語検索 - %ls -", escaped);
    std::wstring condition;
    for (const SearchColumn& column : kColumns) {
        if (!(way & column.bit)) continue;
        if (!condition.empty()) condition += L" OR";
        condition += fuzzy ? std::wstring(L" LCMapUpper(") + column.name + L") " : std::wstring(L" ") + column.name + L" ";
        condition += pattern;
        if (query.title.empty()) query.title = Fill(fuzzy ? column.fuzzyTitle : column.plainTitle, escaped);
    }
    if (!condition.empty()) query.sql = L"SELECT * FROM list WHERE" + condition + L";";
    return query;
}

void RememberSearchWord(std::vector<std::wstring>& recent, const std::wstring& word, int max) {
    if (max <= 0) {
        recent.clear();
        return;
    }
    if (std::find(recent.begin(), recent.end(), word) != recent.end()) return;
    while (!recent.empty() && static_cast<int>(recent.size()) >= max) recent.erase(recent.begin());
    recent.push_back(word);
}
