// The texts of the menu resources: the commands that open a dialog carry no "..." of their own.
#include "resources/resource.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {
// The text of command `id` anywhere in the resource menu `menuId`, or "(missing)".
std::wstring MenuText(UINT menuId, UINT id) {
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
    if (!menu) return L"(no menu)";
    wchar_t text[128] = L"";
    const int length = ::GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    ::DestroyMenu(menu);
    return length > 0 ? std::wstring(text) : std::wstring(L"(missing)");
}
}  // namespace

TEST(MenuTexts, DialogCommandsShowTheirOwnTexts) {
    struct Case { UINT menu; UINT id; const wchar_t* text; };
    const Case cases[] = {
        {IDR_MAINFRAME, ID_LIBRARY_ADD_FILES, L"ファイルの追加(&F)"},
        {IDR_MAINFRAME, ID_LIBRARY_ADD_FOLDER, L"ディレクトリの追加(&D)"},
        {IDR_MAINFRAME, ID_APP_OPTIONS, L"設定(&P)"},
        {IDR_MAINFRAME, ID_LIBRARY_PROPERTIES, L"プロパティ(&P)"},
        {IDR_MAINFRAME, ID_IMPORT_DATABASE, L"データベース(&F)"},
        {IDR_MAINFRAME, ID_EXPORT_DATABASE, L"データベース(&E)"},
        {IDR_MAINFRAME, ID_TABLE_HELP, L"テーブルヘルプ(&T)"},
        {IDR_MAINFRAME, ID_IMPORT_STATISTICS, L"統計(&S)"},
        {IDR_MAINFRAME, ID_EXPORT_STATISTICS, L"統計(&T)"},
        {IDR_MAINFRAME, ID_FONT_ALL_VIEWS, L"フォント名の一括指定(&N)"},
        {IDR_MAINFRAME, ID_MAINFRAME_APP_ABOUT, L"バージョン情報(&A)..."},
        {IDR_QUERY_MENU, ID_QUERY_NEW, L"クエリ作成(&N)"},
        {IDR_QUERY_MENU, ID_QUERY_EDIT, L"クエリ編集(&E)"},
        {IDR_QUERY_MENU, ID_QUERY_NEW_FOLDER, L"新しいフォルダを作成(&F)"},
        {IDR_QUERY_MENU, ID_QUERY_RENAME_FOLDER, L"フォルダの名前変更(&A)"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.text, MenuText(c.menu, c.id)) << "command " << c.id;
}
