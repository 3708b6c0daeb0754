#pragma once
#include "framework/Wnd.h"
#include <functional>

class CDialog;

// Every modal dialog runs through the current runner, so that tests can drive a dialog
// through its controls without a modal loop.
class IDialogRunner {
public:
    virtual ~IDialogRunner() = default;
    // Runs `dialog` modally over `owner`; the value given to EndDialog, or -1 when the
    // dialog could not be created.
    virtual INT_PTR RunModal(CDialog& dialog, HWND owner) = 0;
};

// Replaces the runner (null restores the system's modal loop); returns the previous one.
IDialogRunner* AfxSetDialogRunner(IDialogRunner* runner);

// A runner without a modal loop: the dialog is created hidden, `script` works it with
// messages (setting texts, clicking buttons), and the result is what EndDialog got, or
// IDCANCEL when the script never ended it. The window is destroyed before RunModal returns.
class CScriptedDialogRunner : public IDialogRunner {
public:
    using Script = std::function<void(CDialog&)>;
    explicit CScriptedDialogRunner(Script script) : m_script(std::move(script)) {}
    INT_PTR RunModal(CDialog& dialog, HWND owner) override;
    int m_runs = 0;

private:
    Script m_script;
};

// A dialog box from a template of the program's resources. The dialog window is subclassed
// when it initialises, so the message map sees everything from WM_INITDIALOG on.
class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParent = nullptr)
        : m_pParentWnd(pParent), m_nIDTemplate(nIDTemplate) {}

    // Modal: the result given to EndDialog (IDOK, IDCANCEL, ...), -1 on failure.
    virtual INT_PTR DoModal();
    // Modeless: a child or pop-up of `pParent` (of the main window when null), shown when the
    // template is visible. The object outlives its window or destroys it when it dies.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParent = nullptr);
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* msg) override;

    UINT GetTemplateId() const { return m_nIDTemplate; }
    void GotoDlgCtrl(HWND control) { SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE); }
    void NextDlgCtrl() { SendMessage(WM_NEXTDLGCTL, 0, FALSE); }
    void PrevDlgCtrl() { SendMessage(WM_NEXTDLGCTL, 1, FALSE); }
    void SetDefID(UINT id) { SendMessage(DM_SETDEFID, id); }
    void MapDialogRect(RECT* r) const { ::MapDialogRect(m_hWnd, r); }

    // For runners: the system's modal loop, and a hidden modeless run that EndDialog ends.
    // Windows that are dialogs of another kind (property sheets) run their own way.
    virtual INT_PTR RunSystemModal(HWND owner);
    virtual BOOL CreateForScript(HWND owner);
    bool HasEnded() const { return m_ended; }
    INT_PTR GetModalResult() const { return m_modalResult; }

    CWnd* m_pParentWnd = nullptr;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    // A new run has not ended yet.
    void ResetModalResult() { m_ended = false; m_modalResult = -1; }
    DECLARE_MESSAGE_MAP()

private:
    enum class Mode { Modeless, SystemModal, Scripted };
    BOOL CreateFromTemplate(HWND parent, bool hidden);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate = 0;
    Mode m_mode = Mode::Modeless;
    bool m_ended = false;
    INT_PTR m_modalResult = -1;
};
