#include "ui/dialogs/DlgQuery.h"
#include "app/FileNameRules.h"
#include "app/PathParts.h"
#include "document/QueryFile.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include <cwchar>

const CDlgQuery::SortEntry CDlgQuery::kSortEntries[20] = {
    {L"-- ソートなし --", -2}, {L"-- 変更しない --", -1}, {L"TRACK", 0}, {L"タイトル", 1},
    {L"アーティスト", 2}, {L"アルバム", 3}, {L"年", 4}, {L"ジャンル", 5}, {L"コメント", 6},
    {L"ファイル名", 7}, {L"ファイルパス", 8}, {L"ファイルサイズ", 9}, {L"コーデック", 10},
    {L"ビットレート", 11}, {L"チャンネル", 12}, {L"サンプリングレート", 13}, {L"評価", 15},
    {L"長さ", 16}, {L"再生回数", 17}, {L"最後に再生した日時", 18},
};

namespace {

const wchar_t kSaveFailed[] = L"クエリ作成に失敗しました。";
const wchar_t kBadName[] =
    L"この名前はクエリファイルの名前に使えません。\n"
    L"\\ / : * ? \" < > | や制御文字を含まず、ドットだけでもなく、CON や NUL などのデバイス名でもない名前を指定してください。";
const wchar_t kCommentCloses[] =
    L"\"--\" で始まるコメントに \"*/\" が含まれているため、保存できません。\n"
    L"クエリは 1 行で保存され、\"--\" のコメントは /* */ のコメントに置き換えられます。"
    L"コメントから \"*/\" を取り除いてください。";

std::wstring ItemText(HWND dialog, int id) {
    HWND item = ::GetDlgItem(dialog, id);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(item, &text[0], static_cast<int>(text.size()))));
    return text;
}

RECT ChildRect(HWND dialog, int id) {
    RECT r{};
    HWND item = ::GetDlgItem(dialog, id);
    ::GetWindowRect(item, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A file, not a folder: a folder of that name cannot be overwritten and fails the save.
bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring WithBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDlgQuery, CDialog)
    ON_WM_SIZE()
    ON_CONTROL(EN_CHANGE, IDC_QUERY_NAME, &CDlgQuery::OnTextChange)
    ON_CONTROL(EN_CHANGE, IDC_QUERY_SQL, &CDlgQuery::OnTextChange)
    ON_CONTROL(CBN_SELCHANGE, IDC_QUERY_SORT, &CDlgQuery::OnSortChange)
    ON_COMMAND(ID_TABLE_HELP, &CDlgQuery::OnTableHelp)
END_MESSAGE_MAP()

CDlgQuery::CDlgQuery(CWnd* parent) : CDialog(IDD_QUERY, parent) {
    m_icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUERY), IMAGE_ICON,
                                             0, 0, LR_DEFAULTSIZE));
}

CDlgQuery::~CDlgQuery() {
    if (m_hWnd) DestroyWindow();
    if (m_sqlFont) ::DeleteObject(m_sqlFont);
    if (m_icon) ::DestroyIcon(m_icon);
}

void CDlgQuery::SetNewQuery(const std::wstring& folder, const std::wstring& name, const std::wstring& sql) {
    m_newQuery = true;
    m_targetPath = folder;
    m_suggestedName = name;
    m_suggestedSql = sql;
}

void CDlgQuery::SetEditQuery(const std::wstring& path) {
    m_newQuery = false;
    m_targetPath = path;
}

BOOL CDlgQuery::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_icon) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    }
    RECT client;
    GetClientRect(&client);
    Layout(client.right, client.bottom);

    CQueryFile file;
    const bool loaded = !m_newQuery && file.Load(m_targetPath);
    if (m_newQuery || loaded) {
        HWND sort = ::GetDlgItem(m_hWnd, IDC_QUERY_SORT);
        HWND order = ::GetDlgItem(m_hWnd, IDC_QUERY_ORDER);
        for (const SortEntry& e : kSortEntries) {
            const int index = static_cast<int>(::SendMessageW(sort, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.text)));
            ::SendMessageW(sort, CB_SETITEMDATA, index, static_cast<LPARAM>(e.column));
        }
        if (m_newQuery) {
            ::SendMessageW(sort, CB_SETCURSEL, 0, 0);
            ::EnableWindow(order, FALSE);
        } else {
            ::EnableWindow(order, file.sortColumn >= 0 && file.sortColumn <= 18);
            for (int i = 0; i < 20; ++i) {
                if (kSortEntries[i].column == file.sortColumn) {
                    ::SendMessageW(sort, CB_SETCURSEL, i, 0);
                    break;
                }
            }
        }
        ::SendMessageW(order, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"昇順"));
        ::SendMessageW(order, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"降順"));
        const bool descending = !m_newQuery && file.sortColumn != -1 && !file.ascending;
        ::SendMessageW(order, CB_SETCURSEL, descending ? 1 : 0, 0);

        std::wstring name, sql;
        if (m_newQuery) {
            name = m_suggestedName.empty() ? L"新しいクエリ" : m_suggestedName;
            sql = m_suggestedSql.empty() ? L"SELECT * FROM list;" : m_suggestedSql;
        } else {
            file.GetTitle(name);
            sql = file.sql;
        }
        SetDlgItemText(IDC_QUERY_NAME, name);
        SetDlgItemText(IDC_QUERY_SQL, sql);
    }
    UpdateOkButton();
    SetWindowText(m_newQuery ? L"クエリ作成" : L"クエリ編集");

    HWND sqlEdit = ::GetDlgItem(m_hWnd, IDC_QUERY_SQL);
    LOGFONTW font{};
    HFONT current = reinterpret_cast<HFONT>(::SendMessageW(sqlEdit, WM_GETFONT, 0, 0));
    if (!current) current = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (::GetObjectW(current, sizeof font, &font)) {
        wcsncpy(font.lfFaceName, L"MS Gothic", LF_FACESIZE - 1);
        font.lfFaceName[LF_FACESIZE - 1] = L'\0';
        m_sqlFont = ::CreateFontIndirectW(&font);
        if (m_sqlFont) ::SendMessageW(sqlEdit, WM_SETFONT, reinterpret_cast<WPARAM>(m_sqlFont), TRUE);
    }
    return TRUE;
}

void CDlgQuery::UpdateOkButton() {
    const std::wstring name = ItemText(m_hWnd, IDC_QUERY_NAME);
    const bool plain = !name.empty() && name.find_first_of(L":\\") == std::wstring::npos;
    const bool hasSql = ::GetWindowTextLengthW(::GetDlgItem(m_hWnd, IDC_QUERY_SQL)) > 0;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), plain && hasSql);
}

void CDlgQuery::OnTextChange() { UpdateOkButton(); }

void CDlgQuery::OnSortChange() {
    const int sel = static_cast<int>(SendDlgItemMessage(IDC_QUERY_SORT, CB_GETCURSEL));
    const int column = sel < 0 ? -1 : static_cast<int>(SendDlgItemMessage(IDC_QUERY_SORT, CB_GETITEMDATA, sel));
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_QUERY_ORDER), column >= 0);
}

// The button sends the table help's command on to the window that owns the editor, whose
// command route reaches the document.
void CDlgQuery::OnTableHelp() {
    HWND target = m_pParentWnd && m_pParentWnd->m_hWnd ? m_pParentWnd->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (target) ::SendMessageW(target, WM_COMMAND, MAKEWPARAM(ID_TABLE_HELP, 0), 0);
}

void CDlgQuery::OnSize(UINT, int cx, int cy) { Layout(cx, cy); }

void CDlgQuery::Layout(int width, int height) {
    HWND group = ::GetDlgItem(m_hWnd, IDC_QUERY_SQL_GROUP);
    if (!group) return;
    const RECT cancel = ChildRect(m_hWnd, IDCANCEL);
    const RECT ok = ChildRect(m_hWnd, IDOK);
    const RECT help = ChildRect(m_hWnd, ID_TABLE_HELP);
    const RECT box = ChildRect(m_hWnd, IDC_QUERY_SQL_GROUP);
    const int cancelW = cancel.right - cancel.left, cancelH = cancel.bottom - cancel.top;
    const int okW = ok.right - ok.left, okH = ok.bottom - ok.top;
    const int helpW = help.right - help.left, helpH = help.bottom - help.top;
    const int okTop = height - 6 - okH;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(::GetDlgItem(m_hWnd, IDCANCEL), nullptr, width - 6 - cancelW, height - 6 - cancelH, cancelW,
                   cancelH, flags);
    ::SetWindowPos(::GetDlgItem(m_hWnd, IDOK), nullptr, width - okW - cancelW - 12, okTop, okW, okH, flags);
    ::SetWindowPos(::GetDlgItem(m_hWnd, ID_TABLE_HELP), nullptr, 6, height - 6 - helpH, helpW, helpH, flags);
    ::SetWindowPos(group, nullptr, 6, box.top, width - 12, okTop - 6 - box.top, flags);
    ::SetWindowPos(::GetDlgItem(m_hWnd, IDC_QUERY_SQL), nullptr, 12, box.top + 18, width - 24,
                   okTop - box.top - 36, flags);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CDlgQuery::OnOK() {
    const std::wstring name = ItemText(m_hWnd, IDC_QUERY_NAME);
    const std::wstring sql = ItemText(m_hWnd, IDC_QUERY_SQL);
    if (!IsPlainFileName(name)) {
        AfxMessageBox(kBadName, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::wstring converted;
    if (!CQueryFile::LineCommentsToBlocks(sql, converted)) {
        AfxMessageBox(kCommentCloses, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (SaveQuery(name, sql)) EndDialog(IDOK);
}

// The new file is written first; the old one of an edit goes only once the new one is safe
// and only when the path changed, so a failed save never loses the query. Another query's
// file is overwritten only when the user agrees.
bool CDlgQuery::SaveQuery(const std::wstring& name, const std::wstring& sql) {
    CQueryFile file;
    file.sql = sql;
    const int sel = static_cast<int>(SendDlgItemMessage(IDC_QUERY_SORT, CB_GETCURSEL));
    file.sortColumn = sel < 0 ? -1 : static_cast<int>(SendDlgItemMessage(IDC_QUERY_SORT, CB_GETITEMDATA, sel));
    file.ascending = SendDlgItemMessage(IDC_QUERY_ORDER, CB_GETCURSEL) == 0;

    std::wstring path;
    if (m_newQuery) {
        path = WithBackslash(m_targetPath) + name + L".q";
    } else {
        PathParts parts;
        if (!SplitPath(parts, m_targetPath)) {
            AfxMessageBox(kSaveFailed, MB_OK | MB_ICONEXCLAMATION);
            EndDialog(IDCANCEL);
            return false;
        }
        path = WithBackslash(parts.drive + parts.dir) + name + L".q";
    }
    // The same file (names compared ordinally without case, as the file system does) is
    // rewritten in place: its section is erased and written anew.
    const bool sameFile =
        !m_newQuery && ::CompareStringOrdinal(path.c_str(), -1, m_targetPath.c_str(), -1, TRUE) == CSTR_EQUAL;
    if (!sameFile && IsExistingFile(path)) {
        const std::wstring question =
            L"クエリファイル「" + name + L".q」は既にあります。\r\n上書きしますか？";
        if (AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) return false;
    }
    if (!file.Save(path)) {
        AfxMessageBox(kSaveFailed, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!m_newQuery && !sameFile) ::DeleteFileW(m_targetPath.c_str());
    // A rename that changes only the case of the name.
    if (sameFile && path != m_targetPath) ::MoveFileW(m_targetPath.c_str(), path.c_str());
    m_targetPath = path;
    return true;
}
