#include "framework/ToolBar.h"
#include "framework/CmdUpdate.h"
#include "framework/FrameWnd.h"
#include "framework/ImageList.h"
#include <algorithm>
#include <vector>

namespace {

// The control keeps TBSTATE_ENABLED; the button style word keeps its inverse, TBBS_DISABLED,
// so that a plain TBBS_BUTTON is an enabled button.
BYTE StateFromStyle(UINT style) { return static_cast<BYTE>(HIWORD(style) ^ TBSTATE_ENABLED); }
UINT StyleFromButton(const TBBUTTON& b) {
    return MAKELONG(b.fsStyle, static_cast<BYTE>(b.fsState ^ TBSTATE_ENABLED));
}

constexpr int kDefaultSeparatorWidth = 8;

// Command state of one toolbar button, applied to the control as handlers set it.
class CToolCmdUI : public CCmdUI {
public:
    CToolCmdUI(HWND toolbar, UINT id) : m_toolbar(toolbar) { m_nID = id; }
    void Enable(BOOL on = TRUE) override {
        CCmdUI::Enable(on);
        UINT state = State();
        UINT next = on ? (state | TBSTATE_ENABLED) : (state & ~(TBSTATE_ENABLED | TBSTATE_PRESSED));
        if (next != state) SetState(next);
    }
    void SetCheck(int check = 1) override {
        CCmdUI::SetCheck(check);
        UINT state = State() & ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE);
        if (check == 1) state |= TBSTATE_CHECKED;
        else if (check == 2) state |= TBSTATE_INDETERMINATE;
        if (state != State()) SetState(state);
    }

private:
    UINT State() const { return static_cast<UINT>(::SendMessageW(m_toolbar, TB_GETSTATE, m_nID, 0)) & 0xFF; }
    void SetState(UINT state) const { ::SendMessageW(m_toolbar, TB_SETSTATE, m_nID, MAKELPARAM(state, 0)); }
    HWND m_toolbar;
};

}  // namespace

HIMAGELIST CToolBarCtrl::SetImageList(CImageList* list) {
    return SetImageList(list ? list->GetSafeHandle() : nullptr);
}

HIMAGELIST CToolBarCtrl::SetImageList(HIMAGELIST list) {
    return reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)));
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
    return CreateEx(parent, TBSTYLE_FLAT, style, RECT{0, 0, 0, 0}, id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, RECT borders, UINT id) {
    if (!parent || !parent->m_hWnd) return FALSE;
    m_dwStyle = style & CBRS_ALL;
    SetBorders(borders.left, borders.top, borders.right, borders.bottom);
    // The frame or the rebar places the bar: the control never moves or sizes itself.
    const DWORD windowStyle = (style & ~CBRS_ALL) | ctrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                              CCS_NODIVIDER | CCS_NORESIZE;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEW, nullptr, windowStyle, 0, 0, 0, 0, parent->m_hWnd, id))
        return FALSE;
    m_ctrl.m_hWnd = m_hWnd;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    AttachToFrame();
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count) {
    if (!m_hWnd) return FALSE;
    while (GetCount() > 0) SendMessage(TB_DELETEBUTTON, 0);
    if (!ids || count <= 0) return TRUE;
    std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON& b = buttons[static_cast<size_t>(i)];
        b.idCommand = static_cast<int>(ids[i]);
        b.fsState = TBSTATE_ENABLED;
        b.iString = -1;
        if (ids[i] == ID_SEPARATOR) {
            b.fsStyle = BTNS_SEP;
            b.iBitmap = kDefaultSeparatorWidth;
        } else {
            b.fsStyle = BTNS_BUTTON;
            b.iBitmap = image++;
        }
    }
    BOOL ok = static_cast<BOOL>(SendMessage(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())));
    m_ctrl.AutoSize();
    return ok;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image) {
    TBBUTTON b{};
    if (!m_hWnd || !m_ctrl.GetButton(index, &b)) return;
    b.idCommand = static_cast<int>(id);
    b.fsStyle = static_cast<BYTE>(LOWORD(style));
    b.fsState = StateFromStyle(style);
    b.iBitmap = (b.fsStyle & BTNS_SEP) && image <= 0 ? kDefaultSeparatorWidth : image;
    // Deleting and inserting again is the one change every version of the control applies
    // in full (a separator's width, a new style).
    SendMessage(TB_DELETEBUTTON, index);
    SendMessage(TB_INSERTBUTTONW, index, reinterpret_cast<LPARAM>(&b));
    m_ctrl.AutoSize();
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const {
    TBBUTTON b{};
    if (!m_hWnd || !m_ctrl.GetButton(index, &b)) {
        id = 0;
        style = 0;
        image = 0;
        return;
    }
    id = static_cast<UINT>(b.idCommand);
    style = StyleFromButton(b);
    image = b.iBitmap;
}

UINT CToolBar::GetButtonStyle(int index) const {
    TBBUTTON b{};
    return m_hWnd && m_ctrl.GetButton(index, &b) ? StyleFromButton(b) : 0;
}

void CToolBar::SetButtonStyle(int index, UINT style) {
    UINT id = 0, old = 0;
    int image = 0;
    GetButtonInfo(index, id, old, image);
    if (old != style) SetButtonInfo(index, id, style, image);
}

BOOL CToolBar::SetButtonText(int index, const wchar_t* text) {
    if (!m_hWnd || index < 0 || index >= GetCount()) return FALSE;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
    info.pszText = const_cast<wchar_t*>(text ? text : L"");
    BOOL ok = m_ctrl.SetButtonInfo(index, &info);
    m_ctrl.AutoSize();
    return ok;
}

std::wstring CToolBar::GetButtonText(int index) const {
    const UINT id = GetItemID(index);
    const int n = static_cast<int>(SendMessage(TB_GETBUTTONTEXTW, id, 0));
    if (n <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    SendMessage(TB_GETBUTTONTEXTW, id, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(n));
    return text;
}

UINT CToolBar::GetItemID(int index) const {
    TBBUTTON b{};
    return m_hWnd && m_ctrl.GetButton(index, &b) ? static_cast<UINT>(b.idCommand) : 0;
}

int CToolBar::CommandToIndex(UINT id) const {
    return m_hWnd ? m_ctrl.CommandToIndex(id) : -1;
}

void CToolBar::GetItemRect(int index, RECT* rect) const {
    if (!rect) return;
    *rect = RECT{0, 0, 0, 0};
    if (m_hWnd) m_ctrl.GetItemRect(index, rect);
}

int CToolBar::WidthBeside(int index) const {
    int others = 0;
    for (int i = 0; i < GetCount(); ++i) {
        if (i == index) continue;
        RECT r{};
        GetItemRect(i, &r);
        others += r.right - r.left;
    }
    return others;
}

bool CToolBar::StretchSeparator(int index, int width) {
    const int others = WidthBeside(index);
    if (width - others <= 0) return false;
    UINT id = 0, style = 0;
    int image = 0;
    GetButtonInfo(index, id, style, image);
    SetButtonInfo(index, id, style, width - others);
    return true;
}

int CToolBar::GetCount() const {
    return m_hWnd ? m_ctrl.GetButtonCount() : 0;
}

SIZE CToolBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    SIZE size{0, 0};
    if (m_hWnd) {
        // The extent of the visible buttons.
        const int count = GetCount();
        for (int i = 0; i < count; ++i) {
            TBBUTTON b{};
            RECT r{};
            if (!m_ctrl.GetButton(i, &b) || (b.fsState & TBSTATE_HIDDEN) || !m_ctrl.GetItemRect(i, &r)) continue;
            size.cx = std::max<LONG>(size.cx, r.right);
            size.cy = std::max<LONG>(size.cy, r.bottom);
        }
        // An empty bar keeps the height of a button.
        if (size.cy == 0) size.cy = HIWORD(SendMessage(TB_GETBUTTONSIZE));
    }
    size.cx += m_cxLeftBorder + m_cxRightBorder;
    size.cy += m_cyTopBorder + m_cyBottomBorder;
    if (stretch) {
        if (horz) size.cx = 32767;
        else size.cy = 32767;
    }
    return size;
}

SIZE CToolBar::CalcDynamicLayout(int, DWORD mode) {
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & (LM_HORZ | LM_HORZDOCK)) != 0);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
    UpdateButtons(target, disableIfNoHandler);
}

void CToolBar::UpdateButtons(CCmdTarget* target, BOOL disableIfNoHandler) {
    if (!m_hWnd || !target) return;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        // Separators hold no command (a control laid over one updates itself).
        if (!m_ctrl.GetButton(i, &b) || (b.fsStyle & BTNS_SEP) || b.idCommand == 0) continue;
        CToolCmdUI ui(m_hWnd, static_cast<UINT>(b.idCommand));
        AfxRunCommandUpdate(ui, target, disableIfNoHandler);
    }
}

INT_PTR CToolBar::OnToolHitTest(POINT point, TOOLINFOW* ti) const {
    if (!m_hWnd) return -1;
    // A control held by a separator is a tool of its own, named by its control id.
    HWND child = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
    if (child && child != m_hWnd) return CControlBar::OnToolHitTest(point, ti);
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        RECT r{};
        if (!m_ctrl.GetButton(i, &b) || (b.fsState & TBSTATE_HIDDEN) || (b.fsStyle & BTNS_SEP)) continue;
        if (!m_ctrl.GetItemRect(i, &r) || !::PtInRect(&r, point)) continue;
        if (b.idCommand == 0) return -1;
        if (ti) {
            ti->hwnd = m_hWnd;
            ti->uId = static_cast<UINT_PTR>(b.idCommand);
            ti->rect = r;
            ti->lpszText = LPSTR_TEXTCALLBACKW;
        }
        return b.idCommand;
    }
    return -1;
}
