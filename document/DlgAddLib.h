#pragma once
#include "document/AddLibraryWorker.h"
#include "framework/Dialog.h"
#include <windows.h>
#include <deque>
#include <string>

class CLarkspur2006Doc;

// The progress of adding a folder or updating files: the worker runs on its own thread while
// the dialog shows the file being read; "キャンセル" asks it to stop. The dialog never closes
// while its worker runs.
class CDlgAddLib : public CDialog, public IAddLibraryStatus {
public:
    explicit CDlgAddLib(CWnd* parent = nullptr);
    ~CDlgAddLib() override;

    // Adds the audio files of a folder, and of its subfolders when asked.
    void SetFolder(CLarkspur2006Doc* doc, const std::wstring& folder, bool subfolders);
    // Reads the given files again.
    void SetFiles(CLarkspur2006Doc* doc, const std::deque<std::wstring>& files);

    // Files added or updated; read after the dialog has closed.
    int GetCount() const { return m_context.count; }
    bool IsWorkerRunning() const { return m_thread && !m_finished; }

    // IAddLibraryStatus, called by the worker.
    void SetLibraryStatusText(const std::wstring& text) override;
    void OnLibraryWorkerFinished() override;

    // The dialog's private messages.
    static const UINT kMsgFinished = 0x913B;
    static const UINT kMsgStatusText = 0x913C;

protected:
    BOOL OnInitDialog() override;
    // "閉じる": closes once the worker has ended; while it runs it asks it to stop.
    void OnOK() override;
    // "キャンセル" and Escape ask the worker to stop; the dialog stays open until it has.
    void OnCancel() override;
    LRESULT OnStatusText(WPARAM, LPARAM);
    LRESULT OnFinished(WPARAM, LPARAM);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void WaitForWorker();

    AddLibraryContext m_context;
    CRITICAL_SECTION m_statusLock;
    std::wstring m_statusText;
    HANDLE m_thread = nullptr;
    bool m_finished = false;
};
