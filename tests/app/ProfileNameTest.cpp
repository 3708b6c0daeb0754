// The "/p:" profile name becomes one folder under "users": anything else is refused.
#include "app/LarkspurCmdLine.h"
#include <gtest/gtest.h>
#include <string>

TEST(ProfileName, OnlyOnePlainFolderNameThatKeepsEveryProfilePathShortEnoughIsUsable) {
    const std::wstring folder = L"C:\\Program Files\\Spur\\";
    // The longest profile file's path: folder + "users\" + name + "\" + that file's name.
    const size_t room = MAX_PATH - 1 - folder.size() - 6 - 1 - std::wcslen(kLongestProfileFileName);
    const struct {
        std::wstring name;
        bool usable;
    } cases[] = {
        {L"alice", true},
        {L"日本語のプロファイル", true},
        {L"a..b", true},
        {L"NULL", true},
        {L"", true},   // the Windows user name
        {std::wstring(room, L'x'), true},
        {std::wstring(room + 1, L'x'), false},
        {std::wstring(300, L'x'), false},
        {L"..\\..\\..\\x", false},
        {L"a\\b", false},
        {L"a/b", false},
        {L"..", false},
        {L".", false},
        {L"C:", false},
        {L"C:x", false},
        {L"\\\\server\\share", false},
        {L"con", false},
        {L"CON.txt", false},
        {L"nul", false},
        {L"Com1", false},
        {L"lpt9.ini", false},
        {L"a\tb", false},
        {std::wstring(L"a\x01" L"b"), false},
        {L"a\x7F", false},
        {L"alice.", false},
        {L"alice ", false},
        {L"a*b", false},
        {L"a?b", false},
        {L"a|b", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.usable, IsUsableProfileName(c.name, folder)) << c.name;
}
