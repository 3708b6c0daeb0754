#include "ui/views/GroupRows.h"
#include "app/SearchText.h"
#include "app/SqlEscape.h"
#include "document/LibrarySql.h"
#include "ui/views/KanaBaseTable.h"
#include <windows.h>
#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <map>

namespace {

const wchar_t kAllText[] = L"すべて";
const wchar_t kNoneText[] = L"なし";

bool IsHigh(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The code units of the text's first character: a surrogate pair is one character.
size_t FirstCharLength(const std::wstring& text) {
    if (text.empty()) return 0;
    return text.size() > 1 && IsHigh(text[0]) && IsLow(text[1]) ? 2 : 1;
}

std::wstring Normalized(const std::wstring& text) {
    std::wstring result;
    NormalizeSearchText(text, result);
    return result;
}

GroupItem Row(const std::wstring& text, int kind, int itemCount = 0, int files = 0, double average = 0) {
    GroupItem item;
    item.text = text;
    item.kind = kind;
    item.itemCount = itemCount;
    item.fileCount = files;
    item.average = average;
    return item;
}

GroupItem ValueRow(const GroupValue& v) { return Row(v.text, GroupItemValue, 0, v.files, v.average); }

// Takes the empty value (it sorts first) out of the ordered values.
bool TakeNoneValue(std::vector<GroupValue>& values, GroupValue& none) {
    if (values.empty() || !values.front().text.empty()) return false;
    none = values.front();
    values.erase(values.begin());
    return true;
}

// The initial of each value, normalised once per distinct first character rather than once
// per value.
class InitialOfValue {
public:
    const std::wstring& operator()(const std::wstring& text) {
        const std::wstring first = text.substr(0, FirstCharLength(text));
        auto found = m_known.find(first);
        if (found == m_known.end()) found = m_known.emplace(first, GroupInitial(first)).first;
        return found->second;
    }

private:
    std::map<std::wstring, std::wstring> m_known;
};

void BuildClassGroups(const std::vector<GroupValue>& values, int threshold, const std::wstring& title,
                      GroupRowList& rows, GroupIndex& index) {
    if (values.empty()) return;
    // The values of each initial, in their order.
    InitialOfValue initialOf;
    std::map<std::wstring, std::vector<size_t>> members;
    std::vector<const std::pair<const std::wstring, std::vector<size_t>>*> groupOf(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        auto group = members.emplace(initialOf(values[i].text), std::vector<size_t>()).first;
        group->second.push_back(i);
        groupOf[i] = &*group;
    }
    GroupIndexPopup popup;
    popup.title = title;
    std::vector<const GroupValue*> rest;
    for (size_t i = 0; i < values.size(); ++i) {
        const std::wstring& initial = groupOf[i]->first;
        const std::vector<size_t>& group = groupOf[i]->second;
        const int count = static_cast<int>(group.size());
        if (count < threshold) {
            rest.push_back(&values[i]);
            continue;
        }
        if (group.front() != i) continue;   // the group was written at its first value
        popup.items.push_back({initial, static_cast<int>(rows.size())});
        rows.push_back(Row(initial, GroupItemHeader, count));
        rows.push_back(Row(L"", GroupItemRule));
        for (size_t j : group) rows.push_back(ValueRow(values[j]));
    }
    if (!rest.empty()) {
        const std::wstring other = title + L" その他";
        popup.items.push_back({other, static_cast<int>(rows.size())});
        rows.push_back(Row(other, GroupItemHeader, static_cast<int>(rest.size())));
        rows.push_back(Row(L"", GroupItemRule));
        for (const GroupValue* v : rest) rows.push_back(ValueRow(*v));
    }
    index.popups.push_back(std::move(popup));
}

long NumberOf(const std::wstring& text) { return std::wcstol(text.c_str(), nullptr, 10); }

}  // namespace

GroupClass GroupClassOf(wchar_t c) {
    if ((c >= L'0' && c <= L'9') || (c >= 0xFF10 && c <= 0xFF19)) return GroupClassDigit;
    if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= 0xFF21 && c <= 0xFF3A) ||
        (c >= 0xFF41 && c <= 0xFF5A))
        return GroupClassAlphabet;
    if ((c >= 0x3041 && c <= 0x3093) || (c >= 0x30A1 && c <= 0x30F3) || (c >= 0xFF67 && c <= 0xFF9D))
        return GroupClassKana;
    if (c >= 0x4E00 && c <= 0xFA2D) return GroupClassKanji;
    return GroupClassSymbol;
}

std::wstring GroupInitial(const std::wstring& text) {
    if (text.empty()) return std::wstring();
    const size_t length = FirstCharLength(text);
    std::wstring initial = Normalized(text.substr(0, length));
    if (initial.empty()) initial = text.substr(0, length);
    // The normalisation of one character gives one character; keep a pair whole.
    const size_t keep = FirstCharLength(initial);
    initial.resize(keep);
    if (keep == 1) {
        const auto& table = KanaBaseTable();
        auto found = table.find(initial[0]);
        if (found != table.end()) initial[0] = found->second;
    }
    return initial;
}

void OrderGroupValues(std::vector<GroupValue>& values) {
    std::vector<std::pair<std::wstring, size_t>> keys;
    keys.reserve(values.size());
    for (size_t i = 0; i < values.size(); ++i) keys.push_back({Normalized(values[i].text), i});
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<GroupValue> ordered;
    ordered.reserve(values.size());
    for (const auto& k : keys) ordered.push_back(std::move(values[k.second]));
    values.swap(ordered);
}

void BuildFlatGroupRows(std::vector<GroupValue> values, int totalFiles, GroupRowList& rows, GroupIndex& index) {
    rows.clear();
    index = GroupIndex();
    OrderGroupValues(values);
    const int valueCount = static_cast<int>(values.size());
    GroupValue none;
    const bool hasNone = TakeNoneValue(values, none);
    rows.push_back(Row(kAllText, GroupItemAll, valueCount, totalFiles));
    index.plain.push_back({kAllText, 0});
    if (hasNone) {
        index.plain.push_back({kNoneText, static_cast<int>(rows.size())});
        rows.push_back(Row(kNoneText, GroupItemNone, 0, none.files, none.average));
    }
    rows.push_back(Row(L"", GroupItemRule));
    for (const GroupValue& v : values) rows.push_back(ValueRow(v));
}

void BuildIndexGroupRows(std::vector<GroupValue> values, int totalFiles, const std::wstring& keyCaption,
                         const GroupThresholds& thresholds, GroupRowList& rows, GroupIndex& index) {
    rows.clear();
    index = GroupIndex();
    OrderGroupValues(values);
    const int valueCount = static_cast<int>(values.size());
    GroupValue none;
    const bool hasNone = TakeNoneValue(values, none);
    std::vector<GroupValue> classes[5];
    for (GroupValue& v : values) classes[GroupClassOf(v.text[0])].push_back(std::move(v));

    rows.push_back(Row(keyCaption, GroupItemHeader, hasNone ? 2 : 1));
    rows.push_back(Row(L"", GroupItemRule));
    index.plain.push_back({kAllText, static_cast<int>(rows.size())});
    rows.push_back(Row(kAllText, GroupItemAll, valueCount, totalFiles));
    if (hasNone) {
        index.plain.push_back({kNoneText, static_cast<int>(rows.size())});
        rows.push_back(Row(kNoneText, GroupItemNone, 0, none.files, none.average));
    }
    for (const auto& c : classes)
        if (!c.empty()) index.separator = true;

    const struct { GroupClass cls; const wchar_t* title; } plainGroups[] = {
        {GroupClassSymbol, L"記号"}, {GroupClassDigit, L"数字"}};
    for (const auto& g : plainGroups) {
        const auto& members = classes[g.cls];
        if (members.empty()) continue;
        rows.push_back(Row(g.title, GroupItemHeader, static_cast<int>(members.size())));
        rows.push_back(Row(L"", GroupItemRule));
        for (const GroupValue& v : members) rows.push_back(ValueRow(v));
    }
    BuildClassGroups(classes[GroupClassAlphabet], thresholds.alphabet, L"アルファベット", rows, index);
    BuildClassGroups(classes[GroupClassKana], thresholds.kana, L"かな", rows, index);
    BuildClassGroups(classes[GroupClassKanji], thresholds.kanji, L"漢字", rows, index);
}

void SortGroupRows(GroupRowList& rows, bool grouped, int column, bool ascending, bool numeric, int headerMode) {
    if (column == 1 && headerMode != 1 && headerMode != 2) return;
    auto less = [&](const GroupItem& a, const GroupItem& b) {
        if (column == 1) {
            if (headerMode == 1) return a.average < b.average;
            return a.fileCount < b.fileCount;
        }
        return NumberOf(a.text) < NumberOf(b.text);   // texts are compared below, normalised once
    };
    auto sortRange = [&](size_t first, size_t last) {
        if (last - first < 2) return;
        std::vector<GroupItem> part(rows.begin() + first, rows.begin() + last);
        if (column == 0 && !numeric) {
            // Normalise each text once.
            std::vector<std::pair<std::wstring, size_t>> keys;
            for (size_t i = 0; i < part.size(); ++i) keys.push_back({Normalized(part[i].text), i});
            std::stable_sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
                return ascending ? a.first < b.first : b.first < a.first;
            });
            for (size_t i = 0; i < keys.size(); ++i) rows[first + i] = part[keys[i].second];
            return;
        }
        std::stable_sort(part.begin(), part.end(), [&](const GroupItem& a, const GroupItem& b) {
            return ascending ? less(a, b) : less(b, a);
        });
        std::copy(part.begin(), part.end(), rows.begin() + first);
    };
    if (!grouped) {
        size_t first = 0;
        while (first < rows.size() && rows[first].kind != GroupItemValue) ++first;
        sortRange(first, rows.size());
        return;
    }
    size_t i = 0;
    while (i < rows.size()) {
        if (rows[i].kind != GroupItemHeader) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < rows.size() && rows[end].kind != GroupItemHeader) ++end;
        size_t first = i + 1;
        while (first < end && rows[first].kind == GroupItemRule) ++first;
        bool special = false;
        for (size_t k = first; k < end; ++k)
            if (rows[k].kind == GroupItemAll || rows[k].kind == GroupItemNone) special = true;
        if (!special) sortRange(first, end);
        i = end;
    }
}

bool IsNumericGroupKey(const std::wstring& key) {
    for (const wchar_t* k : {L"tagTracknumber", L"tagDate", L"rating", L"playcount"})
        if (::lstrcmpiW(key.c_str(), k) == 0) return true;
    return false;
}

std::wstring GroupKeyCaption(const std::wstring& key) {
    static const struct { const wchar_t* key; const wchar_t* caption; } kCaptions[] = {
        {L"tagAlbum", L"アルバム"}, {L"tagArtist", L"アーティスト"}, {L"tagTitle", L"タイトル"},
        {L"tagGenre", L"ジャンル"}, {L"tagTracknumber", L"TRACK"}, {L"tagDate", L"年"},
        {L"tagComment", L"コメント"}, {L"rating", L"評価"}, {L"playcount", L"再生回数"},
    };
    for (const auto& c : kCaptions)
        if (::lstrcmpiW(key.c_str(), c.key) == 0) return c.caption;
    return key;
}

bool IsListColumnKey(const std::wstring& key) {
    if (key.empty()) return false;
    for (int i = 0; i < kLibraryColumnCount; ++i)
        if (::lstrcmpiW(key.c_str(), LibraryColumnName(i)) == 0) return true;
    return false;
}

namespace {

// "'a','b'" of the none and value rows; false when one of them is the all row.
bool QuotedList(const std::vector<const GroupItem*>& selected, std::wstring& list, std::wstring* rawTitle,
                bool& all) {
    all = false;
    bool any = false;
    for (const GroupItem* item : selected) {
        if (item->kind == GroupItemAll) {
            all = true;
            return true;
        }
        if (item->kind != GroupItemNone && item->kind != GroupItemValue) continue;
        if (any) {
            list += L",";
            if (rawTitle) *rawTitle += L"/";
        }
        list += L"'";
        if (item->kind == GroupItemValue) list += EscapeSqlQuotes(item->text);
        list += L"'";
        if (rawTitle) *rawTitle += item->text;
        any = true;
    }
    return any;
}

}  // namespace

bool BuildGroupSelectionQuery(const std::wstring& key, const std::wstring& keyCaption,
                              const std::vector<const GroupItem*>& selected, GroupQuery& query) {
    std::wstring list, raw;
    bool all = false;
    if (!QuotedList(selected, list, &raw, all)) return false;
    if (all) {
        query.title = kAllText;
        query.sql = L"SELECT * FROM list;";
        return true;
    }
    query.title = keyCaption + L"「" + raw + L"」";
    query.sql = L"SELECT * FROM list WHERE " + key + L" IN (" + list + L");";
    return true;
}

bool BuildGroupFilesQuery(const std::wstring& key, const std::vector<const GroupItem*>& selected, std::wstring& sql) {
    std::wstring list;
    bool all = false;
    if (!QuotedList(selected, list, nullptr, all)) return false;
    sql = all ? std::wstring(L"SELECT file_name FROM list;")
              : L"SELECT file_name FROM list WHERE " + key + L" IN (" + list + L");";
    return true;
}

int GroupAverageBarWidth(int boxWidth, double average) {
    if (boxWidth <= 0 || !(average > 0)) return 0;
    const double share = average >= 50 ? 1.0 : average / 50.0;
    return static_cast<int>(boxWidth * share);
}

std::wstring GroupInfoTip(const GroupItem& item, size_t bufferChars) {
    wchar_t number[64];
    std::wstring tip = L"「" + item.text + L"」\r\n";
    switch (item.kind) {
    case GroupItemAll:
        swprintf(number, 64, L"項目数 : %d\r\nファイル数 : %d", item.itemCount, item.fileCount);
        tip += number;
        break;
    case GroupItemNone:
    case GroupItemValue:
        swprintf(number, 64, L"平均評価 : %.2f\r\nファイル数 : %d", item.average, item.fileCount);
        tip += number;
        break;
    case GroupItemHeader:
        swprintf(number, 64, L"項目数 : %d\r\n", item.itemCount);
        tip += number;
        break;
    default:
        return std::wstring();
    }
    if (bufferChars == 0) return std::wstring();
    if (tip.size() + 1 <= bufferChars) return tip;
    if (bufferChars < 4) return std::wstring();
    size_t keep = bufferChars - 4;
    if (keep > 0 && IsHigh(tip[keep - 1])) --keep;   // never half a pair
    return tip.substr(0, keep) + L"...";
}

int GroupStepUpTarget(const std::vector<int>& kinds, int focused) {
    if (focused <= 0 || focused >= static_cast<int>(kinds.size())) return -1;
    const int above = kinds[focused - 1];
    if (above == GroupItemRule) return focused - 2 >= 0 ? focused - 2 : -1;
    if (above == GroupItemHeader) return focused - 1;
    return -1;
}

int GroupStepDownTarget(const std::vector<int>& kinds, int focused) {
    const int count = static_cast<int>(kinds.size());
    if (focused < 0 || focused + 1 >= count) return -1;
    const int below = kinds[focused + 1];
    if (below == GroupItemHeader) return focused + 2 < count ? focused + 2 : focused + 1;
    if (below == GroupItemRule) return focused + 1;
    return -1;
}

int GroupHeaderForKey(const std::vector<const GroupItem*>& visible, unsigned key) {
    if (key < 'A' || key > 'Z') return -1;
    for (size_t i = 0; i < visible.size(); ++i) {
        const GroupItem* item = visible[i];
        if (item->kind == GroupItemHeader && item->text.size() == 1 &&
            std::towupper(item->text[0]) == static_cast<wchar_t>(key))
            return static_cast<int>(i);
    }
    return -1;
}
