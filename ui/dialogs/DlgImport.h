#pragma once
#include "app/TrackRecord.h"
#include "framework/CommonCtrls.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "ui/dialogs/ImportReaders.h"
#include <deque>
#include <functional>
#include <memory>

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

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnSize(UINT type, int cx, int cy);
    void OnLoad();
    void OnGetDispInfo(NMHDR* header, LRESULT* result);
    void OnListKeyDown(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void Layout(int cx, int cy);
    void ShowItems();

    CListCtrl m_list;
    CComboBox m_source;
};
