// The items of the navigate toolbar's history menus, and the action-code table.
#include "app/AppSettings.h"
#include "ui/views/ActionCodes.h"
#include "ui/views/QueryHistoryMenu.h"
#include <gtest/gtest.h>

namespace {
CQueryHistory History(std::initializer_list<const wchar_t*> titles, int current) {
    CQueryHistory h;
    for (const wchar_t* t : titles) h.entries.push_back({L"SELECT * FROM list;", t});
    h.current = current;
    return h;
}
std::vector<std::wstring> Texts(const std::vector<HistoryMenuItem>& items) {
    std::vector<std::wstring> texts;
    for (const HistoryMenuItem& i : items) texts.push_back(i.text);
    return texts;
}
}  // namespace

TEST(QueryHistoryMenu, BackListsOlderAndForwardNewerEntriesNearestFirst) {
    const CQueryHistory h = History({L"一", L"二", L"三", L"四"}, 2);
    const std::vector<HistoryMenuItem> back = BuildHistoryMenu(h, true);
    EXPECT_EQ(Texts(back), (std::vector<std::wstring>{L"02 : 二", L"01 : 一"}));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].id, 40001u);
    EXPECT_EQ(back[1].id, 40000u);
    const std::vector<HistoryMenuItem> forward = BuildHistoryMenu(h, false);
    EXPECT_EQ(Texts(forward), (std::vector<std::wstring>{L"04 : 四"}));
    EXPECT_EQ(forward[0].id, 40003u);

    EXPECT_TRUE(BuildHistoryMenu(History({L"一", L"二"}, 0), true).empty()) << "nothing before the first";
    EXPECT_TRUE(BuildHistoryMenu(History({L"一", L"二"}, 1), false).empty()) << "nothing after the newest";
    EXPECT_TRUE(BuildHistoryMenu(History({}, -1), true).empty());
}

TEST(QueryHistoryMenu, LongTitlesAreCutAndAmpersandsShow) {
    const std::wstring longTitle(150, L'x');
    const CQueryHistory h = History({longTitle.c_str(), L"R&B & Soul", L"今"}, 2);
    const std::vector<std::wstring> texts = Texts(BuildHistoryMenu(h, true));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], L"02 : R&&B && Soul");
    EXPECT_EQ(texts[1], L"01 : " + std::wstring(95, L'x') + L"...");
}

TEST(ActionCodes, TheDispatcherTakesTheHotKeyActionsNothingAndTheInformationPane) {
    int hotKeyActions = 0;
    for (const HotKeyAction* a = HotKeyActionsBegin(); a != HotKeyActionsEnd(); ++a, ++hotKeyActions)
        EXPECT_TRUE(IsActionCode(a->action)) << a->action;
    EXPECT_EQ(hotKeyActions, 33);
    for (int code : {0, 20, 10, 22, 30, 48, 70, 71}) EXPECT_TRUE(IsActionCode(code)) << code;
    for (int code : {-1, 1, 9, 23, 29, 49, 69, 72, 0x1234}) EXPECT_FALSE(IsActionCode(code)) << code;
}
