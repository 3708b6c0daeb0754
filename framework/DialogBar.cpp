#include "framework/DialogBar.h"
#include "framework/CmdUpdate.h"
#include "framework/FrameWnd.h"
#include <cstring>
#include <vector>

namespace {

// The dialog manager's procedure for the bar's window: everything goes to the defaults, and
// the bar never takes the focus when it is made.
INT_PTR CALLBACK DialogBarProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Command state of one control of a dialog bar.
class CDialogControlCmdUI : public CCmdUI {
public:
    CDialogControlCmdUI(HWND control, UINT id) : m_control(control) { m_nID = id; }
    void Enable(BOOL on = TRUE) override {
        CCmdUI::Enable(on);
        if ((::IsWindowEnabled(m_control) != FALSE) != (on != FALSE)) ::EnableWindow(m_control, on);
    }
    void SetCheck(int check = 1) override {
        CCmdUI::SetCheck(check);
        ::SendMessageW(m_control, BM_SETCHECK, static_cast<WPARAM>(check), 0);
    }

private:
    HWND m_control;
};

bool IsPushButton(HWND control) {
    wchar_t cls[16] = {};
    ::GetClassNameW(control, cls, 16);
    if (::lstrcmpiW(cls, L"Button") != 0) return false;
    const LONG_PTR type = ::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

}  // namespace

BOOL CDialogBar::Create(CWnd* parent, UINT templateId, UINT style, UINT id) {
    if (!parent || !parent->m_hWnd || m_hWnd) return FALSE;
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    HRSRC res = ::FindResourceW(inst, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL loaded = res ? ::LoadResource(inst, res) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = res ? ::SizeofResource(inst, res) : 0;
    if (!data || size < sizeof(DLGTEMPLATE)) return FALSE;

    // A copy whose style makes a child window (DWORD aligned, as the dialog manager wants).
    std::vector<DWORD> copy((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    std::memcpy(copy.data(), data, size);
    auto* words = reinterpret_cast<WORD*>(copy.data());
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    if (extended && size < 16) return FALSE;
    DWORD* windowStyle = extended ? &copy[3] : &copy[0];
    *windowStyle = (*windowStyle & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE |
                                     DS_MODALFRAME | DS_SYSMODAL | DS_ABSALIGN)) |
                   WS_CHILD | (style & WS_VISIBLE);
    HWND h = ::CreateDialogIndirectParamW(inst, reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()), parent->m_hWnd,
                                          &DialogBarProc, 0);
    if (!h) return FALSE;
    ::SetWindowLongPtrW(h, GWLP_ID, static_cast<LONG_PTR>(id));
    if (!SubclassWindow(h)) {
        ::DestroyWindow(h);
        return FALSE;
    }
    m_dwStyle = style & CBRS_ALL;
    RECT r{};
    ::GetWindowRect(h, &r);
    m_sizeDefault = SIZE{r.right - r.left, r.bottom - r.top};
    AttachToFrame();
    return TRUE;
}

SIZE CDialogBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    SIZE size = m_sizeDefault;
    if (stretch) {
        if (horz) size.cx = 32767;
        else size.cy = 32767;
    }
    return size;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
    if (!m_hWnd || !target) return;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (id <= 0 || id > 0xFFFF) continue;
        // Only a push button without any handler is disabled: other controls (a trackbar,
        // say) keep the state their owner gives them.
        CDialogControlCmdUI ui(child, static_cast<UINT>(id));
        AfxRunCommandUpdate(ui, target, disableIfNoHandler && IsPushButton(child));
    }
}
