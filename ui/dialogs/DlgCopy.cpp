#include "ui/dialogs/DlgCopy.h"
#include "app/Larkspur2006App.h"
#include "app/Placeholders.h"
#include "document/WaitCursor.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "ui/dialogs/CopyTargets.h"
#include <vector>

namespace {

CDlgCopy::FileOperation& Operation() {
    static CDlgCopy::FileOperation operation;
    return operation;
}

std::wstring ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::wstring();
        if (n < buffer.size()) {
            std::wstring path(buffer.data(), n);
            return path.substr(0, path.find_last_of(L'\\') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

// ---- Folder chooser ------------------------------------------------------------------

CBrowseForFolderCopy::CBrowseForFolderCopy() : CBrowseForFolder(L"コピー先ディレクトリ", false) {}

void CBrowseForFolderCopy::OnSelectionChanged(HWND dialog, PCIDLIST_ABSOLUTE item) {
    std::wstring path;
    const bool usable = PathFromIDList(item, path) && IsValidCopyDestination(path);
    ::SendMessageW(dialog, BFFM_ENABLEOK, 0, usable ? TRUE : FALSE);
}

int BrowseForCopyFolder(HWND owner, const std::wstring& start, CBrowseForFolderCopy& holder) {
    holder.m_start = start;
    return holder.Browse(owner) == CBrowseForFolder::kChosen ? 1 : 2;
}

// ---- Dialog ----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDlgCopy, CDialog)
    ON_WM_DESTROY()
    ON_WM_DRAWITEM()
    ON_CONTROL(EN_CHANGE, IDC_COPY_DESTINATION, &CDlgCopy::OnDestinationChange)
    ON_CONTROL(EN_CHANGE, IDC_COPY_TEMPLATE, &CDlgCopy::OnTemplateChange)
    ON_BN_CLICKED(IDC_COPY_BROWSE, &CDlgCopy::OnBrowse)
END_MESSAGE_MAP()

CDlgCopy::CDlgCopy() : CDlgCopy(LarkSettings()) {}

CDlgCopy::CDlgCopy(CAppSettings& settings) : CDialog(IDD_COPY), m_settings(settings) {}

CDlgCopy::FileOperation CDlgCopy::SetFileOperation(FileOperation operation) {
    FileOperation previous = std::move(Operation());
    Operation() = std::move(operation);
    return previous;
}

BOOL CDlgCopy::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND templateEdit = ::GetDlgItem(m_hWnd, IDC_COPY_TEMPLATE);
    LOGFONTW font{};
    HFONT current = reinterpret_cast<HFONT>(::SendMessageW(templateEdit, WM_GETFONT, 0, 0));
    if (current && ::GetObjectW(current, sizeof font, &font)) {
        wcsncpy(font.lfFaceName, L"MS Gothic", LF_FACESIZE - 1);
        m_templateFont = ::CreateFontIndirectW(&font);
        if (m_templateFont) ::SendMessageW(templateEdit, WM_SETFONT, reinterpret_cast<WPARAM>(m_templateFont), TRUE);
    }
    // Filling the edits raises their change notifications: validation and the bar follow.
    SetDlgItemText(IDC_COPY_DESTINATION, m_settings.copy.copyLatestDir);
    SetDlgItemText(IDC_COPY_TEMPLATE, m_settings.copy.fileName);
    Validate();
    return TRUE;
}

void CDlgCopy::Validate() {
    const std::wstring destination = GetDlgItemText(IDC_COPY_DESTINATION);
    const std::wstring nameTemplate = GetDlgItemText(IDC_COPY_TEMPLATE);
    const bool ok = !destination.empty() && !nameTemplate.empty() && IsValidCopyDestination(destination);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), ok);
}

void CDlgCopy::OnDestinationChange() {
    Validate();
    ::RedrawWindow(::GetDlgItem(m_hWnd, IDC_COPY_DRIVE_BAR), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CDlgCopy::OnTemplateChange() { Validate(); }

void CDlgCopy::OnBrowse() {
    // The chooser opens on the stored folder, then on the last one chosen here.
    const std::wstring start = m_browsed ? m_browser.m_start : m_settings.copy.copyLatestDir;
    if (BrowseForCopyFolder(m_hWnd, start, m_browser) != 1) return;
    m_browsed = true;
    SetDlgItemText(IDC_COPY_DESTINATION, m_browser.GetPath());
    Validate();
}

void CDlgCopy::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    if (id != IDC_COPY_DRIVE_BAR || !item) {
        CWnd::OnDrawItem(id, item);
        return;
    }
    DrawDriveBar(item);
}

void CDlgCopy::DrawDriveBar(LPDRAWITEMSTRUCT item) {
    HDC dc = item->hDC;
    const RECT& r = item->rcItem;
    const int saved = ::SaveDC(dc);
    const std::wstring destination = GetDlgItemText(IDC_COPY_DESTINATION);
    ULARGE_INTEGER freeToCaller{}, total{};
    DriveBarState state;
    if (!destination.empty() && ::GetDiskFreeSpaceExW(destination.c_str(), &freeToCaller, &total, nullptr))
        state = ComputeDriveBar(total.QuadPart, freeToCaller.QuadPart, m_totalSize, static_cast<int>(m_tracks.size()),
                                r.left, r.right - r.left);
    else
        state.text = L"N/A";
    SetDlgItemText(IDC_COPY_DRIVE_TEXT, state.text);
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    if (state.available) {
        HBRUSH blue = ::CreateSolidBrush(RGB(0, 0, 255));
        HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
        RECT used{r.left, r.top, state.usedRight, r.bottom};
        RECT selected{state.usedRight, r.top, state.selectionRight, r.bottom};
        ::FillRect(dc, &used, blue);
        ::FillRect(dc, &selected, red);
        ::DeleteObject(blue);
        ::DeleteObject(red);
        HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOWTEXT));
        HGDIOBJ oldPen = ::SelectObject(dc, pen);
        for (int x : {state.usedRight, state.selectionRight}) {
            ::MoveToEx(dc, x, r.top, nullptr);
            ::LineTo(dc, x, r.bottom);
        }
        ::SelectObject(dc, oldPen);
        ::DeleteObject(pen);
        ::FrameRect(dc, &r, ::GetSysColorBrush(COLOR_WINDOWTEXT));
    } else {
        ::FrameRect(dc, &r, ::GetSysColorBrush(COLOR_BTNSHADOW));
    }
    ::RestoreDC(dc, saved);
}

void CDlgCopy::OnOK() {
    const std::wstring destination = GetDlgItemText(IDC_COPY_DESTINATION);
    const std::wstring nameTemplate = GetDlgItemText(IDC_COPY_TEMPLATE);
    if (destination.empty() || nameTemplate.empty() || !IsValidCopyDestination(destination)) {
        Validate();
        return;
    }
    CopyLists lists;
    bool built;
    {
        ScopedWaitCursor wait;
        std::vector<const TrackRecord*> tracks(m_tracks.begin(), m_tracks.end());
        built = BuildCopyLists(tracks, destination, nameTemplate, MakePlaceholderContext(m_settings, ProgramFolder()),
                               lists);
    }
    if (!built) {
        AfxMessageBox(L"コピー先のパスが長すぎるため、コピーできません。\r\nコピー先のフォルダかファイル名を短くしてください。\r\n\r\n" +
                          lists.tooLong,
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (lists.sources.size() <= 1) {   // every file was left out: its name holds a NUL
        AfxMessageBox(L"コピーできるファイルがありません。\r\nファイル名に使えない文字を含む曲はコピーできません。",
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }

    SHFILEOPSTRUCTW op{};
    op.hwnd = m_hWnd;
    op.wFunc = FO_COPY;
    op.pFrom = lists.sources.c_str();
    op.pTo = lists.targets.c_str();
    op.fFlags = FOF_MULTIDESTFILES | FOF_NOCONFIRMMKDIR;
    EnableWindow(FALSE);
    if (Operation())
        Operation()(op);
    else
        ::SHFileOperationW(&op);
    EnableWindow(TRUE);
    ::RedrawWindow(::GetDlgItem(m_hWnd, IDC_COPY_DRIVE_BAR), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CDlgCopy::OnDestroy() {
    m_settings.copy.copyLatestDir = GetDlgItemText(IDC_COPY_DESTINATION);
    m_settings.copy.fileName = GetDlgItemText(IDC_COPY_TEMPLATE);
    if (m_templateFont) {
        ::SendDlgItemMessageW(m_hWnd, IDC_COPY_TEMPLATE, WM_SETFONT, 0, FALSE);
        ::DeleteObject(m_templateFont);
        m_templateFont = nullptr;
    }
    Default(WM_DESTROY, 0, 0);
}
