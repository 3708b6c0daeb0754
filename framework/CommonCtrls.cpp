#include "framework/CommonCtrls.h"

namespace {
BOOL CreateControl(CWnd& control, const wchar_t* className, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return control.CreateEx(0, className, L"", style, rect, parent ? parent->m_hWnd : nullptr, id);
}
}  // namespace

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, TRACKBAR_CLASSW, style, rect, parent, id);
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, PROGRESS_CLASSW, style, rect, parent, id);
}

BOOL CHotKeyCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, HOTKEY_CLASSW, style, rect, parent, id);
}

void CHotKeyCtrl::GetHotKey(WORD& key, WORD& modifiers) const {
    const DWORD value = GetHotKey();
    key = LOBYTE(LOWORD(value));
    modifiers = HIBYTE(LOWORD(value));
}

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, WC_TABCONTROLW, style, rect, parent, id);
}

int CTabCtrl::InsertItem(int index, const wchar_t* text) const {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text);
    return static_cast<int>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, WC_LISTVIEWW, style, rect, parent, id);
}

int CListCtrl::InsertColumn(int index, const wchar_t* heading, int format, int width, int subItem) const {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.fmt = format;
    column.pszText = const_cast<wchar_t*>(heading);
    if (width >= 0) {
        column.mask |= LVCF_WIDTH;
        column.cx = width;
    }
    if (subItem >= 0) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = subItem;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

std::vector<int> CListCtrl::GetColumnOrderArray() const {
    HWND header = GetHeaderCtrl();
    const int count = header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    std::vector<int> order(static_cast<size_t>(count > 0 ? count : 0));
    if (!order.empty() &&
        !SendMessage(LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data())))
        order.clear();
    return order;
}

BOOL CListCtrl::SetColumnOrderArray(const std::vector<int>& order) const {
    if (order.empty()) return FALSE;
    return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data())));
}

int CListCtrl::InsertItem(int index, const wchar_t* text) const {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text);
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int index, int subItem, const wchar_t* text) const {
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = const_cast<wchar_t*>(text);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

std::wstring CListCtrl::GetItemText(int index, int subItem) const {
    // The control gives no length: grow the buffer until the text fits.
    for (size_t size = 256;; size *= 4) {
        std::wstring text(size, L'\0');
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = &text[0];
        item.cchTextMax = static_cast<int>(size);
        const LRESULT n = SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (n < 0) return std::wstring();
        if (static_cast<size_t>(n) < size - 1 || size >= (1u << 20)) {
            text.resize(static_cast<size_t>(n));
            return text;
        }
    }
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR CListCtrl::GetItemData(int index) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) const {
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::HitTest(POINT pt, UINT* flags) const {
    LVHITTESTINFO info{};
    info.pt = pt;
    const int index = HitTest(&info);
    if (flags) *flags = info.flags;
    return index;
}

BOOL CListCtrl::GetItemRect(int index, RECT* r, UINT code) const {
    r->left = static_cast<LONG>(code);
    return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r)));
}

BOOL CListCtrl::GetSubItemRect(int index, int subItem, int code, RECT* r) const {
    r->top = subItem;
    r->left = code;
    return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r)));
}

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, WC_TREEVIEWW, style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(const wchar_t* text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after, LPARAM data) const {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM CTreeCtrl::InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after) const {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::wstring CTreeCtrl::GetItemText(HTREEITEM handle) const {
    for (size_t size = 256;; size *= 4) {
        std::wstring text(size, L'\0');
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = handle;
        item.pszText = &text[0];
        item.cchTextMax = static_cast<int>(size);
        if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return std::wstring();
        const size_t n = ::wcsnlen(item.pszText, size);
        if (n < size - 1 || size >= (1u << 20)) {
            return std::wstring(item.pszText, n);
        }
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM handle, const wchar_t* text) const {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = handle;
    item.pszText = const_cast<wchar_t*>(text);
    return static_cast<BOOL>(SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM handle) const {
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    return SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM handle, DWORD_PTR data) const {
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    item.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM handle, int image, int selectedImage) const {
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = handle;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    return static_cast<BOOL>(SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CTreeCtrl::SetItemState(HTREEITEM handle, UINT state, UINT mask) const {
    TVITEMW item{};
    item.mask = TVIF_STATE;
    item.hItem = handle;
    item.state = state;
    item.stateMask = mask;
    return static_cast<BOOL>(SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, RECT* r, BOOL textOnly) const {
    *reinterpret_cast<HTREEITEM*>(r) = item;
    return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(r)));
}

HTREEITEM CTreeCtrl::HitTest(POINT pt, UINT* flags) const {
    TVHITTESTINFO info{};
    info.pt = pt;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags) *flags = info.flags;
    return item;
}
