#include "framework/PropertySheet.h"
#include "framework/WinApp.h"
#include <cstring>
#include <exception>

namespace {
// The sheet whose window is being made on this thread: the sheet's callback has no
// parameter of its own.
thread_local CPropertySheet* t_creatingSheet = nullptr;
thread_local bool t_creatingHidden = false;

void Report(const std::exception& e) { ::OutputDebugStringA(e.what()); }
}  // namespace

// ---- CPropertyPage ----------------------------------------------------------------------

CPropertyPage::CPropertyPage(UINT nIDTemplate) : CDialog(nIDTemplate) {
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = ::GetModuleHandleW(nullptr);
    m_psp.pszTemplate = MAKEINTRESOURCEW(nIDTemplate);
    m_psp.pfnDlgProc = &CPropertyPage::PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
    // As with dialogs, the object sees everything after initialisation through its subclass.
    if (msg != WM_INITDIALOG) return FALSE;
    const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    auto* self = psp ? reinterpret_cast<CPropertyPage*>(psp->lParam) : nullptr;
    if (!self || !self->SubclassWindow(hwnd)) return TRUE;
    try {
        return self->OnInitDialog();
    } catch (const std::exception& e) {
        Report(e);
    } catch (...) {
    }
    return TRUE;
}

void CPropertyPage::SetModified(BOOL changed) {
    HWND sheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (sheet) ::SendMessageW(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

BOOL CPropertyPage::OnSetActive() { return TRUE; }

BOOL CPropertyPage::OnKillActive() { return TRUE; }

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
    if (!nm || nm->hwndFrom != ::GetParent(m_hWnd)) return CDialog::OnNotify(wParam, lParam, result);
    // A page that fails in a handler refuses: the sheet stays open and nothing half-applied
    // is reported as done.
    LRESULT answer = 0;
    bool handled = true;
    try {
        switch (nm->code) {
        case PSN_APPLY:
            answer = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID;
            break;
        case PSN_RESET:
            OnReset();
            break;
        case PSN_SETACTIVE:
            answer = OnSetActive() ? 0 : -1;
            break;
        case PSN_KILLACTIVE:
            answer = OnKillActive() ? FALSE : TRUE;
            break;
        default:
            handled = false;
        }
    } catch (const std::exception& e) {
        Report(e);
        answer = nm->code == PSN_APPLY ? PSNRET_INVALID : 0;
    } catch (...) {
        answer = nm->code == PSN_APPLY ? PSNRET_INVALID : 0;
    }
    if (!handled) return CDialog::OnNotify(wParam, lParam, result);
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, answer);
    *result = answer;
    return TRUE;
}

// ---- CPropertySheet ---------------------------------------------------------------------

CPropertySheet::CPropertySheet(const std::wstring& caption, CWnd* pParent, UINT selectPage)
    : CDialog(0, pParent), m_caption(caption), m_startPage(selectPage) {}

void CPropertySheet::AddPage(CPropertyPage* page) {
    if (page) m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

int CPropertySheet::GetActiveIndex() const {
    if (!m_hWnd) return -1;
    HWND shown = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (int i = 0; i < GetPageCount(); ++i)
        if (shown && m_pages[static_cast<size_t>(i)]->m_hWnd == shown) return i;
    return -1;
}

BOOL CPropertySheet::SetActivePage(int index) {
    if (!m_hWnd || index < 0 || index >= GetPageCount()) return FALSE;
    return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(index), 0));
}

HWND CPropertySheet::GetTabControl() const {
    return m_hWnd ? reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0)) : nullptr;
}

void CPropertySheet::PressButton(int button) {
    if (!m_hWnd) return;
    int id = button == PSBTN_OK ? IDOK : button == PSBTN_CANCEL ? IDCANCEL : button == PSBTN_APPLYNOW ? ID_APPLY_NOW : 0;
    if (!id) return;
    SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, id)));
}

int CALLBACK CPropertySheet::SheetCallback(HWND hwnd, UINT msg, LPARAM lParam) {
    if (msg == PSCB_PRECREATE && lParam && t_creatingHidden) {
        // The sheet's own template, standard or extended: a scripted sheet is never shown.
        auto* bytes = reinterpret_cast<BYTE*>(lParam);
        WORD head[2];
        std::memcpy(head, bytes, sizeof head);
        const size_t offset = head[0] == 1 && head[1] == 0xFFFF ? 12 : 0;
        DWORD style;
        std::memcpy(&style, bytes + offset, sizeof style);
        style &= ~static_cast<DWORD>(WS_VISIBLE);
        std::memcpy(bytes + offset, &style, sizeof style);
    } else if (msg == PSCB_INITIALIZED && t_creatingSheet) {
        CPropertySheet* self = t_creatingSheet;
        t_creatingSheet = nullptr;
        self->SubclassWindow(hwnd);
        if (HWND tabs = self->GetTabControl()) {
            LONG_PTR style = ::GetWindowLongPtrW(tabs, GWL_STYLE);
            style = self->m_stackedTabs ? (style | TCS_MULTILINE) : (style & ~static_cast<LONG_PTR>(TCS_MULTILINE));
            ::SetWindowLongPtrW(tabs, GWL_STYLE, style);
        }
    }
    return 0;
}

bool CPropertySheet::Run(HWND owner, bool scripted, INT_PTR& result) {
    if (m_hWnd || m_pages.empty()) return false;
    std::vector<HPROPSHEETPAGE> handles;
    for (CPropertyPage* page : m_pages) {
        HPROPSHEETPAGE h = ::CreatePropertySheetPageW(&page->m_psp);
        if (!h) {
            for (HPROPSHEETPAGE made : handles) ::DestroyPropertySheetPage(made);
            return false;
        }
        handles.push_back(h);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_USECALLBACK | PSH_NOCONTEXTHELP | (scripted ? PSH_MODELESS : 0);
    header.hwndParent = owner;
    header.hInstance = ::GetModuleHandleW(nullptr);
    header.pszCaption = m_caption.c_str();
    header.nPages = static_cast<UINT>(handles.size());
    header.nStartPage = m_startPage < handles.size() ? m_startPage : 0;
    header.phpage = handles.data();
    header.pfnCallback = &CPropertySheet::SheetCallback;

    CPropertySheet* outerSheet = t_creatingSheet;
    const bool outerHidden = t_creatingHidden;
    t_creatingSheet = this;
    t_creatingHidden = scripted;
    m_scripted = scripted;
    ResetModalResult();
    result = ::PropertySheetW(&header);
    t_creatingSheet = outerSheet;
    t_creatingHidden = outerHidden;
    if (!scripted) {
        m_scripted = false;
        // The modal sheet destroyed its window; the platform answers 1 or more for OK.
        if (result > 0) result = IDOK;
        else if (result == 0) result = IDCANCEL;
        return true;
    }
    if (result == 0 || result == -1) return false;
    if (!m_hWnd) SubclassWindow(reinterpret_cast<HWND>(result));
    m_ownsWindow = true;
    return true;
}

INT_PTR CPropertySheet::RunSystemModal(HWND owner) {
    INT_PTR result = -1;
    if (!Run(owner, false, result)) return -1;
    return result;
}

BOOL CPropertySheet::CreateForScript(HWND owner) {
    INT_PTR result = -1;
    return Run(owner, true, result) ? TRUE : FALSE;
}

LRESULT CPropertySheet::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The platform's sheet handles everything; the framework only notices when a scripted
    // (modeless) sheet has been closed by OK or Cancel.
    const LRESULT result = DefWindowProc(msg, wParam, lParam);
    const bool closing = msg == WM_COMMAND || (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) || msg == WM_CLOSE;
    if (m_scripted && closing && !HasEnded() && m_hWnd &&
        !::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0)) {
        EndDialog(msg == WM_COMMAND && LOWORD(wParam) == IDOK ? IDOK : IDCANCEL);
    }
    return result;
}
