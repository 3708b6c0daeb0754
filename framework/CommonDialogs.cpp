#include "framework/CommonDialogs.h"
#include "framework/Wnd.h"
#include "framework/WinApp.h"
#include <algorithm>

namespace {
class SystemRunner : public ICommonDialogRunner {
public:
    BOOL RunColorDialog(CHOOSECOLORW& cc) override { return ::ChooseColorW(&cc); }
    BOOL RunFontDialog(CHOOSEFONTW& cf) override { return ::ChooseFontW(&cf); }
    BOOL RunFileDialog(OPENFILENAMEW& ofn, bool open) override {
        return open ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
    }
};
SystemRunner g_system;
ICommonDialogRunner* g_runner = &g_system;
COLORREF g_customColors[16] = {
    0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
    0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

HWND OwnerOf(CWnd* parent) {
    if (parent && parent->m_hWnd) return parent->m_hWnd;
    HWND active = ::GetActiveWindow();
    if (active) return active;
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}
}  // namespace

ICommonDialogRunner* AfxSetCommonDialogRunner(ICommonDialogRunner* runner) {
    ICommonDialogRunner* old = g_runner;
    g_runner = runner ? runner : &g_system;
    return old;
}

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) {
    m_cc.lStructSize = sizeof m_cc;
    m_cc.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_cc.rgbResult = initial;
    m_cc.lpCustColors = g_customColors;
    m_cc.Flags = flags | CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() {
    if (!m_cc.hwndOwner) m_cc.hwndOwner = OwnerOf(nullptr);
    return g_runner->RunColorDialog(m_cc) ? IDOK : IDCANCEL;
}

CFontDialog::CFontDialog(const LOGFONTW* initial, DWORD flags, HDC printer, CWnd* parent) {
    if (initial) m_lf = *initial;
    m_cf.lStructSize = sizeof m_cf;
    m_cf.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_cf.hDC = printer;
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = flags | (initial ? CF_INITTOLOGFONTSTRUCT : 0);
}

INT_PTR CFontDialog::DoModal() {
    if (!m_cf.hwndOwner) m_cf.hwndOwner = OwnerOf(nullptr);
    m_cf.lpLogFont = &m_lf;
    return g_runner->RunFontDialog(m_cf) ? IDOK : IDCANCEL;
}

CFileDialog::CFileDialog(BOOL open, const wchar_t* defaultExt, const wchar_t* fileName, DWORD flags,
                         const wchar_t* filter, CWnd* parent)
    : m_open(open != FALSE), m_filter(filter ? filter : L""), m_defaultExt(defaultExt ? defaultExt : L"") {
    // The system wants the filter's parts separated by zeros.
    std::replace(m_filter.begin(), m_filter.end(), L'|', L'\0');
    if (fileName) lstrcpynW(m_buffer, fileName, static_cast<int>(std::size(m_buffer)));
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_buffer;
    m_ofn.nMaxFile = static_cast<DWORD>(std::size(m_buffer));
    m_ofn.lpstrDefExt = m_defaultExt.empty() ? nullptr : m_defaultExt.c_str();
    m_ofn.Flags = flags;
}

INT_PTR CFileDialog::DoModal() {
    if (!m_ofn.hwndOwner) m_ofn.hwndOwner = OwnerOf(nullptr);
    m_ofn.lpstrFile = m_buffer;
    if (!g_runner->RunFileDialog(m_ofn, m_open)) return IDCANCEL;
    m_buffer[std::size(m_buffer) - 1] = L'\0';
    m_file = m_buffer;
    return IDOK;
}
