#include "ui/dialogs/DlgTableHelp.h"
#include "ui/controls/Clipboard.h"
#include "resources/resource.h"
#include <commctrl.h>
#include <string>

static_assert(CDlgTableHelp::IDD == IDD_TABLE_HELP, "the table help's template");

const CDlgTableHelp::Row CDlgTableHelp::kRows[21] = {
    {L"file_name", L"ファイル名(フルパス)"},
    {L"file_title", L"ファイル名(拡張子なし)"},
    {L"file_ext", L"拡張子"},
    {L"file_size", L"ファイルサイズ"},
    {L"tagTitle", L"タイトル"},
    {L"tagArtist", L"アーティスト"},
    {L"tagAlbum", L"アルバム"},
    {L"tagGenre", L"ジャンル"},
    {L"tagDate", L"年"},
    {L"tagComment", L"コメント"},
    {L"tagTracknumber", L"トラック"},
    {L"statDuration", L"長さ(秒単位)"},
    {L"statChannels", L"チャンネル数"},
    {L"statSamplingrate", L"サンプリングレート"},
    {L"statBitrate", L"ビットレート"},
    {L"rating", L"レーティング (0 - 50)"},
    {L"playcount", L"再生回数"},
    {L"lastplayed", L"最終再生日 (1970年1月1日からの経過秒)"},
    {L"--独自SQL関数--", L"------------------------------------"},
    {L"current_timestamp64()", L"現在の日時(64bit表現)"},
    {L"LCMapUpper()", L"文字列をあいまいに変換"},
};

BEGIN_MESSAGE_MAP(CDlgTableHelp, CDialog)
    ON_NOTIFY(NM_DBLCLK, IDC_TABLE_HELP_LIST, &CDlgTableHelp::OnDblClkList)
END_MESSAGE_MAP()

BOOL CDlgTableHelp::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, IDC_TABLE_HELP_LIST);
    ::SetWindowLongPtrW(list, GWL_STYLE, ::GetWindowLongPtrW(list, GWL_STYLE) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(L"カラム");
    column.cx = 150;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<wchar_t*>(L"意味");
    column.cx = 220;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    int index = 0;
    for (const Row& row : kRows) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(row.name);
        const int at = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        item.iItem = at;
        item.iSubItem = 1;
        item.pszText = const_cast<wchar_t*>(row.meaning);
        ::SendMessageW(list, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&item));
        ++index;
    }
    return TRUE;
}

void CDlgTableHelp::OnDblClkList(NMHDR*, LRESULT* result) {
    *result = 0;
    HWND list = ::GetDlgItem(m_hWnd, IDC_TABLE_HELP_LIST);
    const int focused = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focused < 0) return;
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, focused, reinterpret_cast<LPARAM>(&item));
    if (buffer[0]) CopyTextToClipboard(m_hWnd, buffer);
}
