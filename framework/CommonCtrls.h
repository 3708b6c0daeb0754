#pragma once
#include "framework/Wnd.h"
#include <commctrl.h>
#include <string>
#include <vector>

// Thin wrappers of the common controls, made or taken over as the standard ones are
// (framework/Controls.h). Image lists are passed as handles.

class CSliderCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(int low, int high, BOOL redraw = FALSE) const { SendMessage(TBM_SETRANGEMIN, FALSE, low); SendMessage(TBM_SETRANGEMAX, redraw, high); }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) const { SendMessage(TBM_SETPOS, TRUE, pos); }
    void SetTicFreq(int freq) const { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(freq)); }
    void ClearTics(BOOL redraw = FALSE) const { SendMessage(TBM_CLEARTICS, redraw); }
    int SetPageSize(int size) const { return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, size)); }
    int SetLineSize(int size) const { return static_cast<int>(SendMessage(TBM_SETLINESIZE, 0, size)); }
    void GetChannelRect(RECT* r) const { SendMessage(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(r)); }
    void GetThumbRect(RECT* r) const { SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(r)); }
};

class CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange32(int low, int high) const { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
    void SetRange(short low, short high) const { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(low, high)); }
    int SetPos(int pos) const { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int SetStep(int step) const { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }
    int StepIt() const { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};

class CHotKeyCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Virtual key and HOTKEYF_* modifiers.
    void SetHotKey(WORD key, WORD modifiers) const { SendMessage(HKM_SETHOTKEY, MAKEWORD(key, modifiers)); }
    void GetHotKey(WORD& key, WORD& modifiers) const;
    DWORD GetHotKey() const { return static_cast<DWORD>(SendMessage(HKM_GETHOTKEY)); }
    void SetRules(WORD invalid, WORD modifiers) const { SendMessage(HKM_SETRULES, invalid, MAKELPARAM(modifiers, 0)); }
};

class CTabCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int InsertItem(int index, const wchar_t* text) const;
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index))); }
    BOOL GetItemRect(int index, RECT* r) const { return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r))); }
    // larger: the window rectangle for display rectangle `r`; else the reverse.
    void AdjustRect(BOOL larger, RECT* r) const { SendMessage(TCM_ADJUSTRECT, larger, reinterpret_cast<LPARAM>(r)); }
};

class CListCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int InsertColumn(int index, const wchar_t* heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1) const;
    BOOL DeleteColumn(int index) const { return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(index))); }
    BOOL GetColumn(int index, LVCOLUMNW* column) const { return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(column))); }
    BOOL SetColumn(int index, const LVCOLUMNW* column) const { return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(column))); }
    int GetColumnWidth(int index) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index))); }
    BOOL SetColumnWidth(int index, int width) const { return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), width)); }
    std::vector<int> GetColumnOrderArray() const;
    BOOL SetColumnOrderArray(const std::vector<int>& order) const;
    HWND GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    DWORD SetExtendedStyle(DWORD style) const { return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style))); }
    HIMAGELIST SetImageList(HIMAGELIST list, int kind) const { return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(list))); }
    BOOL SetItemCountEx(int count, DWORD flags = LVSICF_NOINVALIDATEALL) const { return static_cast<BOOL>(SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), static_cast<LPARAM>(flags))); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertItem(int index, const wchar_t* text) const;
    BOOL SetItemText(int index, int subItem, const wchar_t* text) const;
    std::wstring GetItemText(int index, int subItem) const;
    BOOL SetItemData(int index, DWORD_PTR data) const;
    DWORD_PTR GetItemData(int index) const;
    BOOL DeleteItem(int index) const { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(index))); }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    int GetNextItem(int start, int flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), flags)); }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    UINT GetItemState(int index, UINT mask) const { return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask)); }
    // Index -1 sets the state of every item.
    BOOL SetItemState(int index, UINT state, UINT mask) const;
    int GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
    int SetSelectionMark(int index) const { return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, index)); }
    BOOL EnsureVisible(int index, BOOL partialOk) const { return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOk)); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    BOOL Scroll(int dx, int dy) const { return static_cast<BOOL>(SendMessage(LVM_SCROLL, static_cast<WPARAM>(dx), dy)); }
    BOOL RedrawItems(int first, int last) const { return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(first), last)); }
    int HitTest(LVHITTESTINFO* info) const { return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(info))); }
    int HitTest(POINT pt, UINT* flags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* info) const { return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(info))); }
    // `code` LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL or LVIR_SELECTBOUNDS.
    BOOL GetItemRect(int index, RECT* r, UINT code) const;
    BOOL GetSubItemRect(int index, int subItem, int code, RECT* r) const;
    BOOL SetBkColor(COLORREF c) const { return static_cast<BOOL>(SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(c))); }
    BOOL SetTextColor(COLORREF c) const { return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(c))); }
    BOOL SetTextBkColor(COLORREF c) const { return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(c))); }
    int SetHotItem(int index) const { return static_cast<int>(SendMessage(LVM_SETHOTITEM, static_cast<WPARAM>(index))); }
};

class CTreeCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    HTREEITEM InsertItem(const wchar_t* text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST, LPARAM data = 0) const;
    HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST) const;
    BOOL DeleteItem(HTREEITEM item) const { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL DeleteAllItems() const { return DeleteItem(TVI_ROOT); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const { return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item))); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL SelectItem(HTREEITEM item) const { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))); }
    BOOL SelectDropTarget(HTREEITEM item) const { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(item))); }
    BOOL Expand(HTREEITEM item, UINT code) const { return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item))); }
    BOOL EnsureVisible(HTREEITEM item) const { return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != nullptr; }
    std::wstring GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, const wchar_t* text) const;
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage) const;
    UINT GetItemState(HTREEITEM item, UINT mask) const { return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask)); }
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask) const;
    BOOL GetItemRect(HTREEITEM item, RECT* r, BOOL textOnly) const;
    HTREEITEM HitTest(POINT pt, UINT* flags = nullptr) const;
    HWND EditLabel(HTREEITEM item) const { return reinterpret_cast<HWND>(SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item))); }
    HIMAGELIST SetImageList(HIMAGELIST list, int kind) const { return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(list))); }
    BOOL SortChildren(HTREEITEM item) const { return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(item))); }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
    COLORREF SetBkColor(COLORREF c) const { return static_cast<COLORREF>(SendMessage(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(c))); }
    COLORREF SetTextColor(COLORREF c) const { return static_cast<COLORREF>(SendMessage(TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(c))); }
    int SetItemHeight(int height) const { return static_cast<int>(SendMessage(TVM_SETITEMHEIGHT, static_cast<WPARAM>(height))); }
};
