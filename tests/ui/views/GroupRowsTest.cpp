// The group view's rows without a window: builds, sorting, queries, keys and tips.

#include "ui/views/GroupRows.h"
#include "ui/views/KanaBaseTable.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace {

std::vector<GroupValue> Values(std::initializer_list<const wchar_t*> texts) {
    std::vector<GroupValue> values;
    int files = 1;
    for (const wchar_t* t : texts) values.push_back({t, 10.0 * (files % 6), files++});
    return values;
}

// "kind:text" of every row, rules as "-".
std::vector<std::wstring> Shape(const GroupRowList& rows) {
    std::vector<std::wstring> shape;
    for (const GroupItem& r : rows) {
        switch (r.kind) {
        case GroupItemAll: shape.push_back(L"all:" + r.text + L"/" + std::to_wstring(r.itemCount)); break;
        case GroupItemNone: shape.push_back(L"none:" + r.text); break;
        case GroupItemHeader: shape.push_back(L"H:" + r.text + L"/" + std::to_wstring(r.itemCount)); break;
        case GroupItemRule: shape.push_back(L"-"); break;
        default: shape.push_back(r.text);
        }
    }
    return shape;
}

}  // namespace

TEST(GroupRows, IndexGroupsGiveInitialsTheirHeadersAndGatherTheRareOnes) {
    FillKanaBaseTable();
    GroupRowList rows;
    GroupIndex index;
    GroupThresholds t{2, 2, 5};
    BuildIndexGroupRows(Values({L"Queen", L"b2", L"B1", L"", L"かもめ", L"がらす", L"!!!", L"１２３", L"漢字", L"\U0002000B"}),
                        55, L"アルバム", t, rows, index);
    const std::vector<std::wstring> expected = {
        L"H:アルバム/2", L"-", L"all:すべて/10", L"none:なし",
        L"H:記号/1", L"-", L"!!!",
        L"H:数字/1", L"-", L"１２３",
        L"H:B/2", L"-", L"B1", L"b2",
        L"H:アルファベット その他/1", L"-", L"Queen",
        L"H:か/2", L"-", L"かもめ", L"がらす",
        L"H:漢字 その他/2", L"-", L"漢字", L"\U0002000B",
    };
    EXPECT_EQ(expected, Shape(rows));
    EXPECT_EQ(55, rows[2].fileCount);
    // The index: the all and none rows, then a popup per class with its headers.
    ASSERT_EQ(2u, index.plain.size());
    EXPECT_EQ(2, index.plain[0].row);
    EXPECT_EQ(3, index.plain[1].row);
    EXPECT_TRUE(index.separator);
    ASSERT_EQ(3u, index.popups.size());
    EXPECT_EQ(L"アルファベット", index.popups[0].title);
    ASSERT_EQ(2u, index.popups[0].items.size());
    EXPECT_EQ(L"B", index.popups[0].items[0].text);
    EXPECT_EQ(10, index.popups[0].items[0].row);
    EXPECT_EQ(L"かな", index.popups[1].title);
    EXPECT_EQ(L"漢字", index.popups[2].title);
}

TEST(GroupRows, InitialsAreNormalisedAndNeverHalfASurrogatePair) {
    FillKanaBaseTable();
    EXPECT_EQ(L"か", GroupInitial(L"がらす"));
    EXPECT_EQ(L"か", GroupInitial(L"カモメ"));
    EXPECT_EQ(L"A", GroupInitial(L"ａｂｃ"));
    EXPECT_EQ(L"\U0002000B", GroupInitial(L"\U0002000Bの歌"));
    EXPECT_EQ(GroupClassKanji, GroupClassOf(L"\U0002000B"[0]));
    // A header of such an initial holds the whole character.
    GroupRowList rows;
    GroupIndex index;
    BuildIndexGroupRows(Values({L"\U0002000Bの歌", L"\U0002000B"}), 2, L"アルバム", GroupThresholds{1, 1, 1}, rows, index);
    EXPECT_EQ((std::vector<std::wstring>{L"H:アルバム/1", L"-", L"all:すべて/2", L"H:\U0002000B/2", L"-", L"\U0002000B",
                                         L"\U0002000Bの歌"}),
              Shape(rows));
    EXPECT_EQ(GroupClassKana, GroupClassOf(L'ｱ'));
    EXPECT_EQ(GroupClassKanji, GroupClassOf(L'漢'));
    EXPECT_EQ(GroupClassDigit, GroupClassOf(L'７'));
}

TEST(GroupRows, FlatRowsStartWithAllAndNoneAndOrderValuesByNormalisedText) {
    GroupRowList rows;
    GroupIndex index;
    BuildFlatGroupRows(Values({L"beta", L"ALPHA", L"", L"Gamma"}), 10, rows, index);
    const std::vector<std::wstring> expected = {L"all:すべて/4", L"none:なし", L"-", L"ALPHA", L"beta", L"Gamma"};
    EXPECT_EQ(expected, Shape(rows));
    ASSERT_EQ(2u, index.plain.size());
    EXPECT_EQ(L"なし", index.plain[1].text);
    EXPECT_FALSE(index.separator);
    EXPECT_TRUE(index.popups.empty());
}

TEST(GroupRows, SortingByNumberTextAndSubColumnKeepsTheAllGroupInPlace) {
    GroupRowList rows;
    GroupIndex index;
    BuildFlatGroupRows(Values({L"10", L"2", L"1"}), 3, rows, index);
    SortGroupRows(rows, false, 0, true, true, 0);
    EXPECT_EQ((std::vector<std::wstring>{L"all:すべて/3", L"-", L"1", L"2", L"10"}), Shape(rows));
    SortGroupRows(rows, false, 0, false, false, 0);
    EXPECT_EQ((std::vector<std::wstring>{L"all:すべて/3", L"-", L"2", L"10", L"1"}), Shape(rows));

    BuildIndexGroupRows(Values({L"Bb", L"Ba", L"Bc"}), 6, L"アルバム", GroupThresholds{1, 1, 1}, rows, index);
    // Averages: Bb 10, Ba 20, Bc 30 (by the helper's order); descending by the average bar.
    SortGroupRows(rows, true, 1, false, false, 1);
    EXPECT_EQ((std::vector<std::wstring>{L"H:アルバム/1", L"-", L"all:すべて/3", L"H:B/3", L"-", L"Bc", L"Ba", L"Bb"}),
              Shape(rows));
    GroupRowList before = rows;
    SortGroupRows(rows, true, 1, true, false, 0);   // no sub column: nothing to sort by
    EXPECT_EQ(Shape(before), Shape(rows));
}

TEST(GroupRows, SelectionQueriesQuoteValuesAndTheAllRowWins) {
    GroupItem all{L"すべて", GroupItemAll}, none{L"なし", GroupItemNone}, a{L"O'Brien", GroupItemValue},
        b{L"Jazz", GroupItemValue}, header{L"B", GroupItemHeader};
    GroupQuery q;
    ASSERT_TRUE(BuildGroupSelectionQuery(L"tagArtist", L"アーティスト", {&a, &none, &b}, q));
    EXPECT_EQ(L"SELECT * FROM list WHERE tagArtist IN ('O''Brien','','Jazz');", q.sql);
    EXPECT_EQ(L"アーティスト「O'Brien/なし/Jazz」", q.title);
    ASSERT_TRUE(BuildGroupSelectionQuery(L"tagArtist", L"アーティスト", {&a, &all}, q));
    EXPECT_EQ(L"SELECT * FROM list;", q.sql);
    EXPECT_EQ(L"すべて", q.title);
    EXPECT_FALSE(BuildGroupSelectionQuery(L"tagArtist", L"アーティスト", {&header}, q));

    std::wstring sql;
    ASSERT_TRUE(BuildGroupFilesQuery(L"tagGenre", {&b}, sql));
    EXPECT_EQ(L"SELECT file_name FROM list WHERE tagGenre IN ('Jazz');", sql);
    ASSERT_TRUE(BuildGroupFilesQuery(L"tagGenre", {&all}, sql));
    EXPECT_EQ(L"SELECT file_name FROM list;", sql);
}

TEST(GroupRows, OnlyColumnsOfTheLibraryAreGroupingKeys) {
    for (const wchar_t* key : {L"tagAlbum", L"TAGALBUM", L"rating", L"playcount", L"file_name", L"tagTracknumber"})
        EXPECT_TRUE(IsListColumnKey(key)) << key;
    for (const wchar_t* key : {L"", L"tagAlbum) FROM list; --", L"nothing", L"tagAlbum ", L"rowid"})
        EXPECT_FALSE(IsListColumnKey(key)) << key;
    EXPECT_EQ(L"TRACK", GroupKeyCaption(L"TAGTRACKNUMBER"));
    EXPECT_EQ(L"file_name", GroupKeyCaption(L"file_name"));
    EXPECT_TRUE(IsNumericGroupKey(L"PlayCount"));
    EXPECT_FALSE(IsNumericGroupKey(L"tagAlbum"));
}

TEST(GroupRows, ArrowsStepOverHeadersAndRulesAndOnlyLettersJump) {
    // all, rule, value, header, rule, value, value
    const std::vector<int> kinds = {GroupItemAll, GroupItemRule, GroupItemValue, GroupItemHeader, GroupItemRule,
                                    GroupItemValue, GroupItemValue};
    EXPECT_EQ(3, GroupStepUpTarget(kinds, 5));    // above is a rule: its header
    EXPECT_EQ(-1, GroupStepUpTarget(kinds, 6));
    EXPECT_EQ(4, GroupStepDownTarget(kinds, 2));  // below is a header: the rule under it
    EXPECT_EQ(1, GroupStepDownTarget(kinds, 0));  // below is a rule: that rule
    EXPECT_EQ(-1, GroupStepDownTarget(kinds, 6));

    GroupItem header{L"B", GroupItemHeader}, value{L"Bach", GroupItemValue}, kana{L"か", GroupItemHeader};
    const std::vector<const GroupItem*> visible = {&value, &kana, &header};
    EXPECT_EQ(2, GroupHeaderForKey(visible, 'B'));
    EXPECT_EQ(-1, GroupHeaderForKey(visible, VK_F3));        // 114: 'r' as a character code
    EXPECT_EQ(-1, GroupHeaderForKey(visible, VK_NUMPAD2));   // 98: 'b'
}

TEST(GroupRows, TipsShowTheCountsAndAreCutWithoutSplittingACharacter) {
    GroupItem value{L"Jazz", GroupItemValue, 1, 0, 12, 33.333};
    EXPECT_EQ(L"「Jazz」\r\n平均評価 : 33.33\r\nファイル数 : 12", GroupInfoTip(value, 260));
    GroupItem all{L"すべて", GroupItemAll, 1, 4, 40};
    EXPECT_EQ(L"「すべて」\r\n項目数 : 4\r\nファイル数 : 40", GroupInfoTip(all, 260));
    GroupItem header{L"B", GroupItemHeader, 1, 7};
    EXPECT_EQ(L"「B」\r\n項目数 : 7\r\n", GroupInfoTip(header, 260));

    GroupItem longValue{std::wstring(300, L'x'), GroupItemValue};
    const std::wstring cut = GroupInfoTip(longValue, 80);
    EXPECT_EQ(79u, cut.size());
    EXPECT_EQ(L"...", cut.substr(cut.size() - 3));
    // The cut would fall between the halves of a pair: the whole pair goes.
    GroupItem pairs{L"\U0002000B\U0002000B\U0002000B\U0002000B", GroupItemValue};
    const std::wstring pairCut = GroupInfoTip(pairs, 8);   // "「" + 3 units would fit before "..."
    EXPECT_EQ(L"「\U0002000B...", pairCut);
}

TEST(GroupRows, TheAverageBarStaysInsideItsBox) {
    EXPECT_EQ(0, GroupAverageBarWidth(36, 0));
    EXPECT_EQ(21, GroupAverageBarWidth(36, 30));   // 36 x 30 / 50 = 21.6, truncated
    EXPECT_EQ(36, GroupAverageBarWidth(36, 50));
    EXPECT_EQ(36, GroupAverageBarWidth(36, 255)) << "a rating written above 50 by another program";
    EXPECT_EQ(0, GroupAverageBarWidth(36, -10));
    EXPECT_EQ(0, GroupAverageBarWidth(-4, 30));
}
