#include "ui/views/MidView.h"
#include "app/AppSettings.h"
#include "app/ViewHints.h"
#include "document/Larkspur2006Doc.h"
#include "document/WaitCursor.h"
#include "framework/MessageBox.h"
#include "framework/PopupMenu.h"
#include "resources/resource.h"
#include "ui/controls/OdMenu.h"
#include "ui/views/GroupRows.h"
#include <cwctype>

BEGIN_MESSAGE_MAP(CGroupToolBar, CToolBar)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CGroupToolBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

LRESULT CGroupToolBar::OnIdleUpdateCmdUI(WPARAM disableIfNoHandler, LPARAM) {
    if (m_view && IsVisible()) UpdateButtons(m_view, static_cast<BOOL>(disableIfNoHandler));
    return 0;
}

BEGIN_MESSAGE_MAP(CMidView, CView)
    ON_WM_SIZE()
    ON_COMMAND(ID_GROUP_BY_ARTIST, &CMidView::OnGroupArtist)
    ON_COMMAND(ID_GROUP_BY_ALBUM, &CMidView::OnGroupAlbum)
    ON_COMMAND(ID_GROUP_BY_GENRE, &CMidView::OnGroupGenre)
    ON_COMMAND(ID_GROUP_BY_OTHER, &CMidView::OnGroupOther)
    ON_UPDATE_COMMAND_UI_RANGE(ID_GROUP_BY_ARTIST, ID_GROUP_BY_OTHER, &CMidView::OnUpdateGroupCommand)
END_MESSAGE_MAP()

namespace {

std::wstring Upper(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

const struct {
    UINT command;
    const wchar_t* key;
} kOtherKeys[] = {
    {ID_GROUP_BY_TRACK, L"tagTracknumber"}, {ID_GROUP_BY_DATE, L"tagDate"}, {ID_GROUP_BY_COMMENT, L"tagComment"},
    {ID_GROUP_BY_RATING, L"rating"},        {ID_GROUP_BY_PLAYCOUNT, L"playcount"},
};

}  // namespace

void CMidView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    if (!m_toolBar.m_hWnd) {
        m_toolBar.m_view = this;
        m_toolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS,
                           WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, RECT{0, 0, 0, 0}, kToolBarId);
        m_toolBar.GetToolBarCtrl().SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS);
        m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 10);
        const HINSTANCE inst = ::GetModuleHandleW(nullptr);
        for (UINT id : {IDI_GROUP_ARTIST, IDI_GROUP_ALBUM, IDI_GROUP_GENRE, IDI_QUERY}) {
            HICON icon = static_cast<HICON>(::LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
            m_images.Add(icon);
            if (icon) ::DestroyIcon(icon);
        }
        m_toolBar.GetToolBarCtrl().SetImageList(&m_images);
        const UINT ids[] = {ID_GROUP_BY_ARTIST, ID_GROUP_BY_ALBUM, ID_GROUP_BY_GENRE, ID_SEPARATOR, ID_GROUP_BY_OTHER};
        m_toolBar.SetButtons(ids, 5);
        m_toolBar.SetButtonInfo(0, ID_GROUP_BY_ARTIST, TBBS_BUTTON | TBBS_AUTOSIZE, 0);
        m_toolBar.SetButtonInfo(1, ID_GROUP_BY_ALBUM, TBBS_BUTTON | TBBS_AUTOSIZE, 1);
        m_toolBar.SetButtonInfo(2, ID_GROUP_BY_GENRE, TBBS_BUTTON | TBBS_AUTOSIZE, 2);
        m_toolBar.SetButtonInfo(3, ID_SEPARATOR, TBBS_SEPARATOR, 9);
        m_toolBar.SetButtonInfo(4, ID_GROUP_BY_OTHER, TBBS_DROPDOWN | TBBS_AUTOSIZE, 3);
        m_toolBar.SetButtonText(0, L"アーティスト");
        m_toolBar.SetButtonText(1, L"アルバム");
        m_toolBar.SetButtonText(2, L"ジャンル");
        m_toolBar.SetButtonText(4, L"その他...");
    }
    FitToolBar();
    auto* doc = static_cast<CLarkspur2006Doc*>(GetDocument());
    const std::wstring stored = doc ? doc->GetSettings().groupView.tagKey : std::wstring();
    SetGroupColumn(IsListColumnKey(stored) ? stored : std::wstring(L"tagAlbum"));
}

void CMidView::FitToolBar() {
    if (!m_toolBar.m_hWnd) return;
    RECT client;
    GetClientRect(&client);
    m_toolBar.MoveWindow(0, 0, client.right, client.bottom);
    FitCaptions();
}

void CMidView::FitCaptions() {
    // Every caption shows when the four buttons fit with them; in a narrower bar (the default
    // column) only the checked button keeps its caption, the others show their image and name
    // themselves in their tips, so that every button stays in sight.
    CToolBarCtrl& bar = m_toolBar.GetToolBarCtrl();
    RECT client;
    m_toolBar.GetClientRect(&client);
    auto showCaptions = [&](bool all) {
        bar.SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS | (all ? 0 : TBSTYLE_EX_MIXEDBUTTONS));
        for (int i = 0; i < bar.GetButtonCount(); ++i) {
            TBBUTTON b{};
            if (!bar.GetButton(i, &b) || (b.fsStyle & BTNS_SEP)) continue;
            TBBUTTONINFOW info{};
            info.cbSize = sizeof info;
            info.dwMask = TBIF_BYINDEX | TBIF_STYLE;
            info.fsStyle = static_cast<BYTE>((b.fsStyle & ~BTNS_SHOWTEXT) |
                                             (all || (b.fsState & TBSTATE_CHECKED) ? BTNS_SHOWTEXT : 0));
            bar.SetButtonInfo(i, &info);
        }
        bar.AutoSize();
    };
    showCaptions(true);
    RECT last{};
    const int count = bar.GetButtonCount();
    if (count > 0 && bar.GetItemRect(count - 1, &last) && last.right > client.right) showCaptions(false);
}

void CMidView::OnSize(UINT type, int cx, int cy) {
    Default(WM_SIZE, type, MAKELPARAM(cx, cy));
    FitToolBar();
}

void CMidView::OnDraw(HDC dc) {
    RECT client;
    GetClientRect(&client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
}

void CMidView::SetGroupColumn(const std::wstring& key) {
    CToolBarCtrl& bar = m_toolBar.GetToolBarCtrl();
    if (m_toolBar.m_hWnd) {
        for (UINT id : {ID_GROUP_BY_ARTIST, ID_GROUP_BY_ALBUM, ID_GROUP_BY_GENRE, ID_GROUP_BY_OTHER})
            bar.CheckButton(static_cast<int>(id), FALSE);
        const std::wstring upper = Upper(key);
        UINT checked = ID_GROUP_BY_OTHER;
        if (upper == L"TAGARTIST") checked = ID_GROUP_BY_ARTIST;
        else if (upper == L"TAGALBUM") checked = ID_GROUP_BY_ALBUM;
        else if (upper == L"TAGGENRE") checked = ID_GROUP_BY_GENRE;
        bar.CheckButton(static_cast<int>(checked), TRUE);
        FitCaptions();
    }
    m_key = key;
}

void CMidView::RefreshGroupList(const std::wstring& key) {
    ScopedWaitCursor wait;
    CUpdateViewPlaylist hint;
    hint.tagKey = key;
    if (CDocument* doc = GetDocument()) doc->UpdateAllViews(this, HintGroupTagChosen, &hint);
}

void CMidView::Choose(const std::wstring& key) {
    SetGroupColumn(key);
    RefreshGroupList(key);
}

void CMidView::OnGroupArtist() { Choose(L"tagArtist"); }
void CMidView::OnGroupAlbum() { Choose(L"tagAlbum"); }
void CMidView::OnGroupGenre() { Choose(L"tagGenre"); }
void CMidView::OnGroupOther() { ShowOtherMenu(); }

void CMidView::OnUpdateGroupCommand(CCmdUI* ui) { ui->Enable(TRUE); }

void CMidView::ShowOtherMenu() {
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_GROUP_OTHER_MENU));
    HMENU popup = menu ? ::GetSubMenu(menu, 0) : nullptr;
    if (!popup) {
        if (menu) ::DestroyMenu(menu);
        return;
    }
    RECT button{};
    const int index = m_toolBar.CommandToIndex(ID_GROUP_BY_OTHER);
    if (index >= 0) m_toolBar.GetItemRect(index, &button);
    POINT at{button.left, button.bottom};
    m_toolBar.ClientToScreen(&at);
    const std::wstring upper = Upper(m_key);
    for (const auto& k : kOtherKeys)
        ::CheckMenuItem(popup, k.command, MF_BYCOMMAND | (upper == Upper(k.key) ? MF_CHECKED : MF_UNCHECKED));
    const UINT chosen = static_cast<UINT>(
        AfxTrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, m_hWnd));
    ::DestroyMenu(menu);
    for (const auto& k : kOtherKeys)
        if (chosen == k.command) Choose(k.key);
}

BOOL CMidView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (nm && nm->code == TBN_DROPDOWN && reinterpret_cast<NMTOOLBARW*>(lParam)->iItem == ID_GROUP_BY_OTHER) {
        ShowOtherMenu();
        *result = TBDDRET_DEFAULT;
        return TRUE;
    }
    if (nm && nm->code == TTN_NEEDTEXTW) {
        auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const UINT id = static_cast<UINT>(nm->idFrom);
        if (id != 0 && !(tip->uFlags & TTF_IDISHWND)) {
            std::wstring text = AfxLoadString(id);
            if (text.size() > 256) text.resize(256);
            const size_t newline = text.find(L'\n');
            text = newline == std::wstring::npos ? std::wstring() : text.substr(newline + 1);
            const size_t next = text.find(L'\n');
            if (next != std::wstring::npos) text.resize(next);
            if (text.size() > 79) text.resize(79);
            wcsncpy(tip->szText, text.c_str(), 79);
            tip->szText[79] = L'\0';
            tip->lpszText = tip->szText;
            *result = 0;
            return TRUE;
        }
    }
    return CView::OnNotify(wParam, lParam, result);
}

// The other menu is owner-drawn like every menu of the main window.
BOOL CMidView::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (OdMenuOnMessage(m_hWnd, msg, wParam, lParam, result)) return TRUE;
    return CView::OnWndMsg(msg, wParam, lParam, result);
}
