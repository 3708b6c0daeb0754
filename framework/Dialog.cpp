#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include <cstring>
#include <exception>
#include <vector>

namespace {
class SystemRunner : public IDialogRunner {
public:
    INT_PTR RunModal(CDialog& dialog, HWND owner) override { return dialog.RunSystemModal(owner); }
};
SystemRunner g_system;
IDialogRunner* g_runner = &g_system;

HWND MainWindow() {
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

// A copy of dialog template `id`, made invisible when `hidden` is set.
std::vector<BYTE> LoadTemplate(UINT id, bool hidden) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = found ? ::SizeofResource(module, found) : 0;
    if (!data || size < sizeof(DLGTEMPLATE)) return {};
    std::vector<BYTE> bytes(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    if (hidden) {
        // An extended template starts with version 1 and signature 0xFFFF; its style follows
        // the help id and the extended style.
        WORD head[2];
        std::memcpy(head, bytes.data(), sizeof head);
        const size_t offset = head[0] == 1 && head[1] == 0xFFFF ? 12 : 0;
        if (bytes.size() < offset + sizeof(DWORD)) return {};
        DWORD style;
        std::memcpy(&style, bytes.data() + offset, sizeof style);
        style &= ~static_cast<DWORD>(WS_VISIBLE);
        std::memcpy(bytes.data() + offset, &style, sizeof style);
    }
    return bytes;
}
}  // namespace

IDialogRunner* AfxSetDialogRunner(IDialogRunner* runner) {
    IDialogRunner* old = g_runner;
    g_runner = runner ? runner : &g_system;
    return old;
}

INT_PTR CScriptedDialogRunner::RunModal(CDialog& dialog, HWND owner) {
    ++m_runs;
    if (!dialog.CreateForScript(owner)) return -1;
    if (!dialog.HasEnded() && m_script) {
        try {
            m_script(dialog);
        } catch (...) {
        }
    }
    const INT_PTR result = dialog.HasEnded() ? dialog.GetModalResult() : IDCANCEL;
    if (dialog.m_hWnd) dialog.DestroyWindow();
    return result;
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

INT_PTR CDialog::DoModal() {
    if (m_hWnd) return -1;
    HWND owner = m_pParentWnd && m_pParentWnd->m_hWnd ? m_pParentWnd->m_hWnd : MainWindow();
    return g_runner->RunModal(*this, owner);
}

INT_PTR CDialog::RunSystemModal(HWND owner) {
    std::vector<BYTE> bytes = LoadTemplate(m_nIDTemplate, false);
    if (bytes.empty()) return -1;
    m_mode = Mode::SystemModal;
    m_ended = false;
    m_modalResult = -1;
    INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                                               reinterpret_cast<DLGTEMPLATE*>(bytes.data()), owner,
                                               &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_mode = Mode::Modeless;
    return result;
}

BOOL CDialog::CreateForScript(HWND owner) {
    if (m_hWnd) return FALSE;
    m_mode = Mode::Scripted;
    m_ended = false;
    m_modalResult = -1;
    if (CreateFromTemplate(owner, true)) return TRUE;
    m_mode = Mode::Modeless;
    return FALSE;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParent) {
    if (m_hWnd) return FALSE;
    m_nIDTemplate = nIDTemplate;
    if (pParent) m_pParentWnd = pParent;
    m_mode = Mode::Modeless;
    m_ended = false;
    HWND parent = m_pParentWnd && m_pParentWnd->m_hWnd ? m_pParentWnd->m_hWnd : MainWindow();
    return CreateFromTemplate(parent, false);
}

BOOL CDialog::CreateFromTemplate(HWND parent, bool hidden) {
    std::vector<BYTE> bytes = LoadTemplate(m_nIDTemplate, hidden);
    if (bytes.empty()) return FALSE;
    HWND h = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(bytes.data()),
                                          parent, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!h) return FALSE;
    if (!m_hWnd) {   // initialisation ended it already
        return FALSE;
    }
    m_ownsWindow = true;
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
    // Everything but the initialisation reaches the object through its subclass, in front
    // of the dialog manager; this procedure only lets the dialog manager's defaults run.
    if (msg != WM_INITDIALOG) return FALSE;
    auto* self = reinterpret_cast<CDialog*>(lParam);
    if (!self || !self->SubclassWindow(hwnd)) return TRUE;
    try {
        return self->OnInitDialog();
    } catch (const std::exception& e) {
        ::OutputDebugStringA(e.what());
    } catch (...) {
    }
    // A dialog that could not set itself up is not shown half-made.
    self->EndDialog(-1);
    if (self->m_mode == Mode::Modeless) ::DestroyWindow(hwnd);
    return TRUE;
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::EndDialog(int nResult) {
    m_ended = true;
    m_modalResult = nResult;
    if (!m_hWnd) return;
    if (m_mode == Mode::SystemModal)
        ::EndDialog(m_hWnd, nResult);
    else
        ::ShowWindow(m_hWnd, SW_HIDE);
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    // The keyboard interface of a modeless pop-up dialog (Tab, Enter, Esc, mnemonics). Dialogs
    // that are panes of a frame leave keys to the frame's accelerators.
    if (!m_hWnd || m_mode != Mode::Modeless || (GetStyle() & WS_CHILD)) return FALSE;
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}
