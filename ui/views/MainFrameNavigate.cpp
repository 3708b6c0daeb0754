// The main frame's navigation: the query title in the navigate toolbar and the history menus
// under its back and forward buttons.
#include "ui/views/MainFrame.h"
#include "app/ViewHints.h"
#include "document/Larkspur2006Doc.h"
#include "document/WaitCursor.h"
#include "framework/CmdUpdate.h"
#include "framework/PopupMenu.h"
#include "ui/views/QueryHistoryMenu.h"

void CMainFrame::SetQueryTitle(const std::wstring& title) { m_wndToolBarNavigate.SetQueryTitle(title); }

void CMainFrame::OnUpdateHistoryItem(CCmdUI* ui) { ui->Enable(GetDocument() != nullptr); }

void CMainFrame::ShowHistoryMenu(const NMTOOLBARW& button, bool back) {
    CLarkspur2006Doc* doc = GetDocument();
    if (!doc) return;
    CQueryHistory& history = doc->GetQueryHistory();
    HMENU popup = ::CreatePopupMenu();
    for (const HistoryMenuItem& item : BuildHistoryMenu(history, back))
        ::AppendMenuW(popup, MF_STRING, item.id, item.text.c_str());
    HMENU wrapper = ::CreateMenu();
    ::AppendMenuW(wrapper, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"DUMMY");

    RECT r = button.rcButton;
    ::MapWindowPoints(button.hdr.hwndFrom, nullptr, reinterpret_cast<POINT*>(&r), 2);
    const UINT chosen = static_cast<UINT>(AfxTrackPopupMenu(
        ::GetSubMenu(wrapper, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, r.left, r.bottom, m_hWnd));
    const int index = static_cast<int>(chosen) - static_cast<int>(kHistoryMenuFirstId);
    if (chosen != 0 && index >= 0 && index < static_cast<int>(history.entries.size())) {
        ScopedWaitCursor wait;
        const int previous = history.current;
        history.current = index;
        if (doc->RunHistoryQuery(history.entries[static_cast<size_t>(index)]))
            doc->UpdateAllViews(nullptr, HintPlaylistReady, nullptr);
        else
            history.current = previous;
    }
    ::DestroyMenu(wrapper);   // with its popup
}
