#pragma once
#include "app/TrackRecord.h"
#include "framework/CommonCtrls.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "ui/dialogs/ImportReaders.h"
#include "ui/dialogs/ItunesLoadWorker.h"
#include <deque>
#include <functional>
#include <memory>
#include <string>

class CLarkspur2006Doc;

// Loads another player's library into a preview list and imports every loaded track into
// the library: a file already there has its row overwritten, any other becomes a new row.
class CDlgImport : public CDialog {
public:
    CDlgImport();

    std::deque<TrackRecord> m_items;
    CLarkspur2006Doc* m_pDoc = nullptr;
    // Set when an import wrote rows.
    bool m_imported = false;

    // Where the Media Player's collection comes from; tests give a fake. Returns the previous.
    using WmpSource = std::function<std::unique_ptr<IWmpMediaCollection>()>;
    static WmpSource SetWmpSource(WmpSource source);
    // What reads an iTunes export on the loader's thread; tests give one they hold back.
    // Returns the previous.
    static CItunesLoadWorker::Reader SetItunesReader(CItunesLoadWorker::Reader reader);

    // True while an iTunes export is being read on its thread.
    bool IsLoading() const { return m_loader != nullptr; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message);
    void OnLoad();
    LRESULT OnLoaderBatch(WPARAM, LPARAM);
    void OnGetDispInfo(NMHDR* header, LRESULT* result);
    void OnListKeyDown(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void Layout(int cx, int cy);
    void ShowItems();
    void SetLoading(bool loading);
    void StopLoading();
    void ReportLoad(const ImportReadResult& result);

    CListCtrl m_list;
    CComboBox m_source;
    std::unique_ptr<CItunesLoadWorker> m_loader;
    std::wstring m_caption;
};
