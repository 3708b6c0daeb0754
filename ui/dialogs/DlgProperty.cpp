#include "ui/dialogs/DlgProperty.h"
#include "app/RatingImages.h"
#include "document/Larkspur2006Doc.h"
#include "document/WaitCursor.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "ui/dialogs/LibraryMaintenance.h"
#include <algorithm>
#include <cwchar>

namespace {

const int kBarWidth = 300;
const int kBarHeight = 10;
const int kMaintenanceButtons[] = {ID_LIBRARY_INITIALIZE, ID_LIBRARY_OPTIMIZE, ID_LIBRARY_DELETE_MISSING};

SIZE ControlSize(HWND dialog, int id) {
    RECT r{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &r);
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

BEGIN_MESSAGE_MAP(CDlgProperty, CDialog)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_DRAWITEM()
    ON_NOTIFY(HDN_DIVIDERDBLCLICKW, 0, &CDlgProperty::OnDividerDblClick)
    ON_NOTIFY(HDN_DIVIDERDBLCLICKA, 0, &CDlgProperty::OnDividerDblClick)
    ON_NOTIFY(LVN_KEYDOWN, IDC_PROPERTY_LIST, &CDlgProperty::OnListKeyDown)
    ON_COMMAND(ID_LIBRARY_INITIALIZE, &CDlgProperty::OnInitializeLibrary)
    ON_COMMAND(ID_LIBRARY_OPTIMIZE, &CDlgProperty::OnOptimizeLibrary)
    ON_COMMAND(ID_LIBRARY_DELETE_MISSING, &CDlgProperty::OnDeleteMissingFiles)
END_MESSAGE_MAP()

CDlgProperty::CDlgProperty() : CDialog(IDD_PROPERTY) {}

CDlgProperty::~CDlgProperty() { ReleaseGdi(); }

BOOL CDlgProperty::OnInitDialog() {
    ScopedWaitCursor wait;
    CDialog::OnInitDialog();
    if (!m_pDoc) return TRUE;
    CAppSettings& settings = m_pDoc->GetSettings();
    m_list.SubclassDlgItem(IDC_PROPERTY_LIST, this);
    m_list.ModifyStyle(0, WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    m_list.InsertColumn(0, L"項目", LVCFMT_LEFT, 180);
    m_list.InsertColumn(1, L"値", LVCFMT_LEFT, 410);

    CreateRatingImageList(m_ratingImages, settings, false);
    if (m_ratingImages) m_list.SetImageList(m_ratingImages, LVSIL_SMALL);
    if (HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TB_PROPERTIES),
                                                     IMAGE_ICON, 16, 16, LR_SHARED)))
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    LOGFONTW font{};
    HDC screen = ::GetDC(nullptr);
    font.lfHeight = -::MulDiv(settings.groupView.fontSize, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, settings.groupView.fontName.c_str(), LF_FACESIZE - 1);
    m_listFont = ::CreateFontIndirectW(&font);
    font.lfWeight = FW_BOLD;
    m_boldFont = ::CreateFontIndirectW(&font);
    if (m_listFont) m_list.SetFont(m_listFont);
    ListView_SetTextColor(m_list.m_hWnd, settings.groupView.colorText);
    ListView_SetBkColor(m_list.m_hWnd, settings.groupView.colorBackground);
    ListView_SetTextBkColor(m_list.m_hWnd, settings.groupView.colorBackground);
    DrawBar();

    RECT client;
    GetClientRect(&client);
    Layout(client.right, client.bottom);

    m_list.SendMessage(WM_SETREDRAW, FALSE);
    FillRows();
    m_list.SetItemCountEx(static_cast<int>(m_rows.size()), 0);
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
    m_list.UpdateWindow();
    return TRUE;
}

void CDlgProperty::DrawBar() {
    const CAppSettings& settings = m_pDoc->GetSettings();
    HDC screen = ::GetDC(nullptr);
    m_barDC = ::CreateCompatibleDC(screen);
    m_bar = ::CreateCompatibleBitmap(screen, kBarWidth, kBarHeight);
    ::ReleaseDC(nullptr, screen);
    if (!m_barDC || !m_bar) return;
    m_oldBar = ::SelectObject(m_barDC, m_bar);
    const COLORREF background = ListView_GetBkColor(m_list.m_hWnd);
    HBRUSH brush = ::CreateSolidBrush(background);
    RECT all{0, 0, kBarWidth, kBarHeight};
    ::FillRect(m_barDC, &all, brush);
    ::DeleteObject(brush);
    const COLORREF a = settings.groupView.colorBorder1, b = settings.groupView.colorBorder2;
    auto channel = [](int from, int to, int x) { return from + (to - from) * x / kBarWidth; };
    for (int x = 0; x < kBarWidth; ++x)
        ::SetPixel(m_barDC, x, 5,
                   RGB(channel(GetRValue(a), GetRValue(b), x), channel(GetGValue(a), GetGValue(b), x),
                       channel(GetBValue(a), GetBValue(b), x)));
}

void CDlgProperty::Layout(int cx, int cy) {
    if (!m_hWnd || !m_list.m_hWnd) return;
    const SIZE ok = ControlSize(m_hWnd, IDOK);
    const SIZE button = ControlSize(m_hWnd, ID_LIBRARY_INITIALIZE);
    m_list.MoveWindow(6, 6, cx - 12, cy - ok.cy - 18);
    const int y = cy - ok.cy - 6;
    for (int i = 0; i < 3; ++i)
        ::MoveWindow(::GetDlgItem(m_hWnd, kMaintenanceButtons[i]), 6 + i * (button.cx + 6), y, button.cx, button.cy, TRUE);
    ::MoveWindow(::GetDlgItem(m_hWnd, IDOK), cx - ok.cx - 6, cy - ok.cy - 6, ok.cx, ok.cy, TRUE);
    if (IsDatabaseMode()) {
        SetWindowText(L"プロパティ -データベース-");
        for (int id : kMaintenanceButtons) ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_SHOW);
    } else {
        SetWindowText(L"プロパティ");
    }
}

void CDlgProperty::OnSize(UINT type, int cx, int cy) {
    Default(WM_SIZE, type, MAKELPARAM(cx, cy));
    Layout(cx, cy);
}

void CDlgProperty::FillRows() {
    CAppSettings& settings = m_pDoc->GetSettings();
    if (IsDatabaseMode())
        FillDatabasePropertyRows(m_pDoc->GetDatabase(), settings, m_rows);
    else
        FillTrackPropertyRows(m_pDoc->GetDatabase(), m_rowid, settings, m_rows);
}

void CDlgProperty::Refill() {
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    m_list.SetItemCountEx(0, 0);
    m_rows.clear();
    FillRows();
    m_list.SetItemCountEx(static_cast<int>(m_rows.size()), 0);
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
    m_list.UpdateWindow();
}

void CDlgProperty::ReleaseGdi() {
    if (m_barDC) {
        if (m_oldBar) ::SelectObject(m_barDC, m_oldBar);
        ::DeleteDC(m_barDC);
    }
    if (m_bar) ::DeleteObject(m_bar);
    if (m_listFont) ::DeleteObject(m_listFont);
    if (m_boldFont) ::DeleteObject(m_boldFont);
    if (m_ratingImages) ::ImageList_Destroy(m_ratingImages);
    m_barDC = nullptr;
    m_oldBar = nullptr;
    m_bar = nullptr;
    m_listFont = m_boldFont = nullptr;
    m_ratingImages = nullptr;
}

void CDlgProperty::OnDestroy() {
    if (m_list.m_hWnd) {
        m_list.SetImageList(nullptr, LVSIL_SMALL);
        m_list.UnsubclassWindow();
    }
    ReleaseGdi();
    Default(WM_DESTROY, 0, 0);
}

void CDlgProperty::DrawTextIn(HDC dc, const std::wstring& text, RECT r, UINT ellipsis) const {
    if (r.right <= r.left) return;
    std::wstring copy = text;   // the path ellipsis may write into the buffer
    copy.resize(copy.size() + 4);
    ::DrawTextW(dc, &copy[0], static_cast<int>(text.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | ellipsis);
}

void CDlgProperty::DrawStars(HDC dc, const RECT& r, int rating) const {
    if (!m_ratingImages || !m_pDoc) return;
    const CAppSettings& s = m_pDoc->GetSettings();
    const int w = s.generic.ratingImageWidth, h = s.generic.ratingImageHeight;
    for (int k = 1; k <= 5; ++k)
        ::ImageList_Draw(m_ratingImages, rating >= 10 * k ? 1 : 0, dc, r.left + (k - 1) * w,
                         r.top + (r.bottom - r.top - h) / 2, ILD_TRANSPARENT);
}

void CDlgProperty::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    if (id != IDC_PROPERTY_LIST || !item || item->itemID >= m_rows.size()) {
        CWnd::OnDrawItem(id, item);
        return;
    }
    const PropertyRow& row = m_rows[item->itemID];
    HDC dc = item->hDC;
    const int saved = ::SaveDC(dc);
    HBRUSH brush = ::CreateSolidBrush(ListView_GetBkColor(m_list.m_hWnd));
    ::FillRect(dc, &item->rcItem, brush);
    ::DeleteObject(brush);
    ::SetTextColor(dc, ListView_GetTextColor(m_list.m_hWnd));
    ::SetBkMode(dc, TRANSPARENT);
    if (m_listFont) ::SelectObject(dc, m_listFont);

    if (row.kind == RowGroupTitle) {
        RECT r = item->rcItem;
        r.left += 12;
        r.right -= 2;
        if (r.right > r.left) {
            if (m_boldFont) ::SelectObject(dc, m_boldFont);
            ::DrawTextW(dc, row.caption.c_str(), static_cast<int>(row.caption.size()), &r,
                        DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    } else if (row.kind == RowGroupLine) {
        if (m_barDC) ::BitBlt(dc, item->rcItem.left, item->rcItem.top, kBarWidth, kBarHeight, m_barDC, 0, 0, SRCCOPY);
    } else {
        RECT label{}, value{};
        ListView_GetSubItemRect(m_list.m_hWnd, item->itemID, 0, LVIR_LABEL, &label);
        ListView_GetSubItemRect(m_list.m_hWnd, item->itemID, 1, LVIR_BOUNDS, &value);
        value.left += 2;
        value.right -= 2;
        if (row.kind == RowDistribution) {
            if (label.right > label.left) DrawStars(dc, label, _wtoi(row.caption.c_str()));
        } else {
            DrawTextIn(dc, row.caption, label, DT_END_ELLIPSIS);
        }
        if (value.right - value.left >= 1) {
            if (row.kind == RowRating)
                DrawStars(dc, value, _wtoi(row.value.c_str()));
            else
                DrawTextIn(dc, row.value, value, row.kind == RowPath ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS);
        }
    }
    ::RestoreDC(dc, saved);
}

void CDlgProperty::OnDividerDblClick(NMHDR* header, LRESULT* result) {
    const int column = reinterpret_cast<NMHEADERW*>(header)->iItem;
    if (column != 0 && column != 1) return;
    const int starsWidth = 5 * (m_pDoc ? m_pDoc->GetSettings().generic.ratingImageWidth : 16);
    HDC dc = ::GetDC(m_list.m_hWnd);
    HGDIOBJ oldFont = ::SelectObject(dc, m_list.GetFont());
    auto width = [dc](const std::wstring& text) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    int widest = 0;
    for (const PropertyRow& row : m_rows) {
        if (row.kind == RowGroupTitle || row.kind == RowGroupLine) continue;
        if (column == 0)
            widest = std::max(widest, row.kind == RowDistribution ? starsWidth : width(row.caption));
        else
            widest = std::max(widest, row.kind == RowRating ? starsWidth : width(row.value));
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_list.m_hWnd, dc);
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    m_list.SetColumnWidth(column, widest + (column == 0 ? 33 : 4));
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
    *result = TRUE;   // the width is set; the list does not fit the column itself
}

void CDlgProperty::OnListKeyDown(NMHDR* header, LRESULT*) {
    const WORD key = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
    if (key != VK_UP && key != VK_DOWN) return;
    const int count = m_list.GetItemCount();
    const int top = m_list.GetTopIndex();
    if (count <= 0 || top < 0) return;
    int target = top;
    if (key == VK_DOWN) target = std::min(top + m_list.GetCountPerPage() - 1, count - 1);
    m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetItemState(target, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CDlgProperty::OnInitializeLibrary() {
    if (!m_pDoc) return;
    if (AfxMessageBox(L"ライブラリを初期化します。\r\nすべての項目が削除されますがよろしいですか？\r\n(ファイルは削除されません。)",
                      MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) != IDOK)
        return;
    ScopedWaitCursor wait;
    InitialiseLibrary(*m_pDoc);
    Refill();
    m_changed = TRUE;
}

void CDlgProperty::OnOptimizeLibrary() {
    if (!m_pDoc) return;
    ScopedWaitCursor wait;
    OptimiseLibrary(m_pDoc->GetDatabase());
    Refill();
}

void CDlgProperty::OnDeleteMissingFiles() {
    if (!m_pDoc) return;
    if (AfxMessageBox(L"ライブラリから存在しないファイルを削除します。\r\nよろしいですか？",
                      MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) != IDOK)
        return;
    MissingFilesResult result;
    {
        ScopedWaitCursor wait;
        result = DeleteMissingFiles(m_pDoc->GetDatabase());
    }
    if (result.deleted > 0) m_changed = TRUE;
    if (!result.failed || result.deleted > 0 || result.unreachable > 0) {
        if (result.deleted == 0 && result.unreachable == 0) {
            AfxMessageBox(L"ライブラリ内のファイルは全て存在します", MB_OK | MB_ICONINFORMATION);
            return;
        }
        wchar_t text[256];
        int n = swprintf(text, 256, L"%d 項目削除しました。", result.deleted);
        if (result.unreachable > 0 && n > 0)
            swprintf(text + n, 256 - n, L"\r\n接続されていないドライブまたはネットワーク上の %d 項目は削除していません。",
                     result.unreachable);
        AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
    }
    if (result.deleted > 0) Refill();
}
