#include "document/LibraryWriteFailure.h"
#include <sqlite3.h>

bool IsLibraryWriteFailure(int rc) {
    switch (rc & 0xFF) {   // extended codes share their primary code's low byte
    case SQLITE_READONLY:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
        return true;
    default:
        return false;
    }
}

std::wstring LibraryWriteFailureMessage(const std::wstring& path) {
    return L"ライブラリのファイルに書き込めません。\r\n\r\nファイル: " + path +
           L"\r\n\r\nファイルかフォルダーが読み取り専用になっているか、ディスクがいっぱいか、"
           L"ディスクの読み書きに失敗しています。このままでは、評価、再生回数や最後に再生した日時などの再生統計、"
           L"追加したファイル、次回の起動で開くプレイリストはライブラリに保存されません。曲の表示と再生はこのまま続けられます。"
           L"\r\n\r\nこのメッセージは、この後同じ理由で書き込めなくても表示しません。";
}
