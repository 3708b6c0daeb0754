#pragma once
#include <deque>
#include <string>
#include <vector>

// The rows of the group view and what is computed from them: the flat and the index-group
// builds, sorting, the query of a selection, key navigation and tips. No window here.

enum GroupItemKind {
    GroupItemAll = 0,      // "すべて"
    GroupItemNone = 1,     // "なし": the empty value
    GroupItemHeader = 3,   // an index header
    GroupItemRule = 4,     // the line under a header
    GroupItemValue = 5,
};

struct GroupItem {
    std::wstring text;
    int kind = GroupItemValue;
    int shown = 1;          // 0 while its group is collapsed
    int itemCount = 0;      // headers and the all row
    int fileCount = 0;
    double average = 0;     // 0-50
};
using GroupRowList = std::deque<GroupItem>;

// One distinct value of the grouping column as the grouping query gives it.
struct GroupValue {
    std::wstring text;
    double average = 0;
    int files = 0;
};

// The index menu: plain jumps ("すべて", "なし") and, after a separator, a popup per class.
struct GroupIndexEntry {
    std::wstring text;
    int row = 0;
};
struct GroupIndexPopup {
    std::wstring title;
    std::vector<GroupIndexEntry> items;
};
struct GroupIndex {
    std::vector<GroupIndexEntry> plain;
    bool separator = false;
    std::vector<GroupIndexPopup> popups;
};

struct GroupThresholds {
    int alphabet = 0;
    int kana = 0;
    int kanji = 0;
};

enum GroupClass { GroupClassSymbol, GroupClassDigit, GroupClassAlphabet, GroupClassKana, GroupClassKanji };

// The class of a value by its first character.
GroupClass GroupClassOf(wchar_t first);
// The index initial of a text: its first character after the search-text normalisation, a
// voiced kana taken to its plain kana. A character outside the basic plane stays whole.
std::wstring GroupInitial(const std::wstring& text);

// Orders values by their normalised text (stable).
void OrderGroupValues(std::vector<GroupValue>& values);

// The all row, the none row (from an empty value), a rule and the values.
void BuildFlatGroupRows(std::vector<GroupValue> values, int totalFiles, GroupRowList& rows, GroupIndex& index);
// The caption header with the all and none rows, then symbols, digits, and the alphabet,
// kana and kanji classes under headers of their initials.
void BuildIndexGroupRows(std::vector<GroupValue> values, int totalFiles, const std::wstring& keyCaption,
                         const GroupThresholds& thresholds, GroupRowList& rows, GroupIndex& index);

// Sorts the values (column 0 text or number, column 1 the sub column of `headerMode`): with
// index groups each header's group in place, else everything from the first value on.
void SortGroupRows(GroupRowList& rows, bool grouped, int column, bool ascending, bool numeric, int headerMode);

// Whether a key is one of the grouping columns compared as numbers.
bool IsNumericGroupKey(const std::wstring& key);
// The caption of a grouping key ("tagAlbum" "アルバム", ...); another key is its own caption.
std::wstring GroupKeyCaption(const std::wstring& key);
// Whether `key` names a column of the table `list` (without regard to case): only such a
// key ever enters the view's SQL.
bool IsListColumnKey(const std::wstring& key);

// The play-list query of selected rows; false when none of them is an all, none or value row.
struct GroupQuery {
    std::wstring title;
    std::wstring sql;
};
bool BuildGroupSelectionQuery(const std::wstring& key, const std::wstring& keyCaption,
                              const std::vector<const GroupItem*>& selected, GroupQuery& query);
// The query of the file names of selected rows; false when there is nothing to collect.
bool BuildGroupFilesQuery(const std::wstring& key, const std::vector<const GroupItem*>& selected, std::wstring& sql);

// The width of the average-rating bar in a box `boxWidth` wide: the share of 50, never more
// than the box nor less than nothing.
int GroupAverageBarWidth(int boxWidth, double average);

// The tip of a row, cut to fit `bufferChars` with its terminating zero (ending in "...").
std::wstring GroupInfoTip(const GroupItem& item, size_t bufferChars);

// Up and Down over the visible rows: the row to select before the list's own step, or -1.
int GroupStepUpTarget(const std::vector<int>& kinds, int focused);
int GroupStepDownTarget(const std::vector<int>& kinds, int focused);
// The first header whose text is the letter of virtual key `key` (A-Z only), or -1.
int GroupHeaderForKey(const std::vector<const GroupItem*>& visible, unsigned key);
