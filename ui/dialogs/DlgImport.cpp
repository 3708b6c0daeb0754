#include "ui/dialogs/DlgImport.h"
#include "app/PathParts.h"
#include "document/DBError.h"
#include "document/Larkspur2006Doc.h"
#include "document/LibraryRows.h"
#include "document/LibraryWriteFailure.h"
#include "document/WaitCursor.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include <sqlite3.h>
#include <algorithm>
#include <cwchar>

namespace {

// Posted by the loader when records are ready and when it has ended.
const UINT kLoaderBatch = WM_APP + 1;

CDlgImport::WmpSource& Source() {
    static CDlgImport::WmpSource source;
    return source;
}

CItunesLoadWorker::Reader& ItunesReader() {
    static CItunesLoadWorker::Reader reader;
    return reader;
}

SIZE ControlSize(HWND dialog, int id) {
    RECT r{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &r);
    return {r.right - r.left, r.bottom - r.top};
}

void MoveControl(HWND dialog, int id, int x, int y, int cx, int cy) {
    ::MoveWindow(::GetDlgItem(dialog, id), x, y, cx, cy, TRUE);
}

std::wstring Formatted(const wchar_t* format, int value) {
    wchar_t text[256];
    swprintf(text, 256, format, value);
    return text;
}

// Finalizes a statement when it goes.
struct StatementHolder {
    sqlite3_stmt* stmt = nullptr;
    ~StatementHolder() {
        if (stmt) sqlite3_finalize(stmt);
    }
};

// Rows written in one transaction: a commit of its own per row costs a millisecond or more
// (the journal is made and removed each time), which kept the window frozen for minutes at
// 100,000 rows.
const int kWriteBatch = 1000;

// Counts the rows of the open batch and makes them count only once their commit holds.
class WriteBatches {
public:
    explicit WriteBatches(CSQlite& db) : m_db(db) { Begin(); }
    ~WriteBatches() { End(); }
    WriteBatches(const WriteBatches&) = delete;
    WriteBatches& operator=(const WriteBatches&) = delete;

    void Wrote(bool ok) {
        if (ok) {
            ++m_batch;
        } else {
            ++failed;
            const int rc = sqlite3_extended_errcode(m_db.handle());
            if (IsLibraryWriteFailure(rc)) unwritable = rc;
            // A full disk may take rows again once a batch rolled back; a read-only one never.
            if ((rc & 0xFF) == SQLITE_READONLY) readOnly = true;
            // Some failures (a full disk, an I/O error) roll the whole transaction back: its
            // rows are lost, and the next ones go into a transaction begun anew.
            if (m_open && sqlite3_get_autocommit(m_db.handle())) {
                failed += m_batch;
                m_batch = 0;
                m_open = false;
                Begin();
            }
        }
    }
    // Commits the open batch and opens the next.
    void Commit() {
        End();
        Begin();
    }
    // Commits the open batch.
    void End() {
        if (m_open && m_db.exec(L"COMMIT;") != SQLITE_OK) {
            m_db.exec(L"ROLLBACK;");
            failed += m_batch;
        } else {
            written += m_batch;
        }
        m_batch = 0;
        m_open = false;
    }

    int written = 0;
    int failed = 0;
    int unwritable = SQLITE_OK;   // a failure that says the library takes no writes
    bool readOnly = false;        // every later row would fail too

private:
    // Without a transaction (it could not begin) every row commits by itself.
    void Begin() {
        if (!m_open) m_open = m_db.exec(L"BEGIN;") == SQLITE_OK;
    }

    CSQlite& m_db;
    bool m_open = false;
    int m_batch = 0;
};

// Paints what waits to be painted, so that the windows do not look frozen during a long write.
void RepaintWaitingWindows() {
    MSG msg;
    for (int i = 0; i < 100 && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        ::DispatchMessageW(&msg);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDlgImport, CDialog)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_SETCURSOR()
    ON_MESSAGE(kLoaderBatch, &CDlgImport::OnLoaderBatch)
    ON_BN_CLICKED(IDC_IMPORT_RUN, &CDlgImport::OnLoad)
    ON_NOTIFY(LVN_GETDISPINFOW, IDC_IMPORT_LIST, &CDlgImport::OnGetDispInfo)
    ON_NOTIFY(LVN_KEYDOWN, IDC_IMPORT_LIST, &CDlgImport::OnListKeyDown)
END_MESSAGE_MAP()

CDlgImport::CDlgImport() : CDialog(IDD_IMPORT) {}

CDlgImport::WmpSource CDlgImport::SetWmpSource(WmpSource source) {
    WmpSource previous = std::move(Source());
    Source() = std::move(source);
    return previous;
}

CItunesLoadWorker::Reader CDlgImport::SetItunesReader(CItunesLoadWorker::Reader reader) {
    CItunesLoadWorker::Reader previous = std::move(ItunesReader());
    ItunesReader() = std::move(reader);
    return previous;
}

BOOL CDlgImport::OnInitDialog() {
    CDialog::OnInitDialog();
    if (HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TB_IMPORT_DATABASE),
                                                     IMAGE_ICON, 16, 16, LR_SHARED)))
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    m_source.SubclassDlgItem(IDC_IMPORT_SOURCE, this);
    m_source.SetItemData(m_source.AddString(L"Windows Media Player"), 0);
    m_source.SetItemData(m_source.AddString(L"iTunes ライブラリエクスポートファイル"), 1);
    m_source.SetCurSel(0);
    m_list.SubclassDlgItem(IDC_IMPORT_LIST, this);
    m_list.InsertColumn(0, L"ファイル名", LVCFMT_LEFT, 200);
    m_list.InsertColumn(1, L"タイトル", LVCFMT_LEFT, 175);
    m_list.InsertColumn(2, L"アーティスト", LVCFMT_LEFT, 175);
    m_list.InsertColumn(3, L"アルバム", LVCFMT_LEFT, 175);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_list.ModifyStyle(0, WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT client;
    GetClientRect(&client);
    Layout(client.right, client.bottom);
    wchar_t caption[256] = {};
    ::GetWindowTextW(m_hWnd, caption, 256);
    m_caption = caption;
    return TRUE;
}

void CDlgImport::Layout(int cx, int cy) {
    if (!m_list.m_hWnd) return;
    const SIZE run = ControlSize(m_hWnd, IDC_IMPORT_RUN);
    const SIZE close = ControlSize(m_hWnd, IDCANCEL);
    const SIZE import = ControlSize(m_hWnd, IDOK);
    const SIZE combo = ControlSize(m_hWnd, IDC_IMPORT_SOURCE);
    MoveControl(m_hWnd, IDC_IMPORT_RUN, cx - run.cx - 6, 6, run.cx, run.cy);
    MoveControl(m_hWnd, IDC_IMPORT_SOURCE, 6, 6, cx - run.cx - 18, combo.cy);
    MoveControl(m_hWnd, IDCANCEL, cx - close.cx - 6, cy - close.cy - 6, close.cx, close.cy);
    MoveControl(m_hWnd, IDOK, cx - import.cx - close.cx - 12, cy - close.cy - 6, close.cx, close.cy);
    m_list.MoveWindow(6, run.cy + 12, cx - 12, cy - run.cy - import.cy - 24);
}

void CDlgImport::OnSize(UINT type, int cx, int cy) {
    Default(WM_SIZE, type, MAKELPARAM(cx, cy));
    Layout(cx, cy);
}

void CDlgImport::ShowItems() {
    m_list.SetItemCountEx(static_cast<int>(m_items.size()), 0);
    m_list.RedrawWindow();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), !m_items.empty());
}

void CDlgImport::OnLoad() {
    if (m_loader) return;
    m_items.clear();
    // The list must not ask for rows that are gone while the new ones load.
    ShowItems();
    const int selection = m_source.GetCurSel();
    const DWORD_PTR source = selection >= 0 ? m_source.GetItemData(selection) : 0;
    ImportReadResult result;
    if (source == 0) {
        ScopedWaitCursor wait;
        std::unique_ptr<IWmpMediaCollection> collection = Source() ? Source()() : OpenWmpLibrary();
        if (collection)
            result = ReadWmpCollection(*collection, [this](TrackRecord&& record) { m_items.push_back(std::move(record)); });
    } else {
        if (!m_pDoc) return;
        FileDialogRequest request;
        request.filter = L"iTunes ライブラリエクスポートファイル(*.xml)|*.xml|";
        request.defaultExt = L"xml";
        request.defaultName = L"ライブラリ.xml";
        FileDialogResult chosen;
        if (!m_pDoc->GetHost().ShowFileDialog(request, chosen) || chosen.files.empty()) {
            ShowItems();
            return;
        }
        // A large export takes seconds: it is read on a thread while the dialog shows the
        // rows as they come and can be closed at once.
        m_loader = std::make_unique<CItunesLoadWorker>(m_hWnd, kLoaderBatch, chosen.files.front(), ItunesReader());
        if (m_loader->Start()) {
            SetLoading(true);
            return;
        }
        m_loader.reset();
        ScopedWaitCursor wait;
        result = ReadItunesLibraryXml(chosen.files.front(),
                                      [this](TrackRecord&& record) { m_items.push_back(std::move(record)); });
    }
    ShowItems();
    ReportLoad(result);
}

LRESULT CDlgImport::OnLoaderBatch(WPARAM, LPARAM) {
    if (!m_loader) return 0;
    ImportReadResult result;
    if (!m_loader->Take(m_items, result)) {
        m_list.SetItemCountEx(static_cast<int>(m_items.size()), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
        const std::wstring caption = m_caption + L" - 読み込み中 (" + std::to_wstring(m_items.size()) + L" 項目)";
        ::SetWindowTextW(m_hWnd, caption.c_str());
        return 0;
    }
    m_loader.reset();
    if (result.failed) m_items.clear();
    SetLoading(false);
    ShowItems();
    if (result.failed)
        AfxMessageBox(result.error, MB_OK | MB_ICONERROR);
    else
        ReportLoad(result);
    return 0;
}

void CDlgImport::ReportLoad(const ImportReadResult& result) {
    if (result.skipped > 0)
        AfxMessageBox(Formatted(L"%d 個の項目は、ローカルのファイルでないか対応していない種類のため、読み込みませんでした。",
                                result.skipped),
                      MB_OK | MB_ICONINFORMATION);
}

// While a load runs, only "閉じる" stays usable (it ends the load), and the caption says so.
void CDlgImport::SetLoading(bool loading) {
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_IMPORT_RUN), !loading);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_IMPORT_SOURCE), !loading);
    if (loading) ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), FALSE);
    ::SetWindowTextW(m_hWnd, loading ? (m_caption + L" - 読み込み中").c_str() : m_caption.c_str());
}

void CDlgImport::StopLoading() {
    if (!m_loader) return;
    m_loader->Stop();
    m_loader.reset();
}

BOOL CDlgImport::OnSetCursor(HWND wnd, UINT hitTest, UINT message) {
    if (m_loader && hitTest == HTCLIENT) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    }
    return static_cast<BOOL>(Default(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(hitTest, message)));
}

void CDlgImport::OnCancel() {
    StopLoading();
    CDialog::OnCancel();
}

void CDlgImport::OnDestroy() {
    StopLoading();
    Default(WM_DESTROY, 0, 0);
}

void CDlgImport::OnGetDispInfo(NMHDR* header, LRESULT*) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    LVITEMW& item = info->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    item.pszText[0] = L'\0';
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= m_items.size()) return;
    const TrackRecord& t = m_items[static_cast<size_t>(item.iItem)];
    const std::wstring* text = nullptr;
    switch (item.iSubItem) {
    case 0: text = &t.file_name; break;
    case 1: text = &t.tagTitle; break;
    case 2: text = &t.tagArtist; break;
    case 3: text = &t.tagAlbum; break;
    default: return;
    }
    wcsncpy(item.pszText, text->c_str(), static_cast<size_t>(item.cchTextMax) - 1);
    item.pszText[item.cchTextMax - 1] = L'\0';
}

void CDlgImport::OnListKeyDown(NMHDR* header, LRESULT*) {
    if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey != 'A' || !(::GetKeyState(VK_CONTROL) & 0x8000)) return;
    const int count = m_list.GetItemCount();
    for (int i = 0; i < count; ++i) {
        const UINT selected = m_list.GetItemState(i, LVIS_SELECTED);
        m_list.SetItemState(i, selected ^ LVIS_SELECTED, LVIS_SELECTED);
    }
}

void CDlgImport::OnOK() {
    if (!m_pDoc || m_items.empty() || m_loader) return;
    if (AfxMessageBox(Formatted(L"%d 個の項目をインポートします。", static_cast<int>(m_items.size())),
                      MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
        return;
    int written = 0, failed = 0, unwritable = SQLITE_OK;
    {
        ScopedWaitCursor wait;
        CSQlite& db = m_pDoc->GetDatabase();
        StatementHolder insert, update;
        if (db.prepare(m_pDoc->GetSqlInsert(), &insert.stmt) != SQLITE_OK || !insert.stmt ||
            db.prepare(m_pDoc->GetSqlUpdate(), &update.stmt) != SQLITE_OK || !update.stmt) {
            ShowDBError(db.errmsg());
            return;
        }
        WriteBatches batches(db);
        const int total = static_cast<int>(m_items.size());
        int done = 0;
        for (const TrackRecord& item : m_items) {
            ++done;
            TrackRecord record = item;
            if (batches.readOnly) {
                // The library takes no writes: the rest is not tried, only counted.
                if (!record.file_name.empty()) ++batches.failed;
                continue;
            }
            if (!record.file_name.empty()) {
                GetUniversalPath(record.file_name);
                const bool exists = LookupLibraryRow(db, record.file_name).exists;
                batches.Wrote(exists ? BindTrackForUpdate(update.stmt, record) : BindTrackForInsert(insert.stmt, record));
            }
            if (done % kWriteBatch == 0 && done < total) {
                batches.Commit();
                const std::wstring caption = m_caption + L" - 書き込み中 (" + std::to_wstring(done) + L" / " +
                                             std::to_wstring(total) + L")";
                ::SetWindowTextW(m_hWnd, caption.c_str());
                RepaintWaitingWindows();
            }
        }
        batches.End();
        written = batches.written;
        failed = batches.failed;
        unwritable = batches.unwritable;
        ::SetWindowTextW(m_hWnd, m_caption.c_str());
    }
    if (written > 0) m_imported = true;
    if (unwritable != SQLITE_OK) m_pDoc->ReportWriteFailure(unwritable);
    if (failed > 0) {
        AfxMessageBox(Formatted(L"%d 個の項目をライブラリに書き込めませんでした。", failed) +
                          Formatted(L"\r\n(書き込んだ項目: %d 個)", written),
                      MB_OK | MB_ICONEXCLAMATION);
        if (written == 0) return;
    } else {
        AfxMessageBox(L"インポート完了", MB_OK | MB_ICONINFORMATION);
    }
    EndDialog(IDOK);
}
