#include "framework/ImageList.h"

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ::ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList ? TRUE : FALSE;
}

BOOL CImageList::Attach(HIMAGELIST list) {
    if (!list || m_hImageList) return FALSE;
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) return FALSE;
    ::ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return TRUE;
}

int CImageList::Add(HICON icon) {
    return m_hImageList && icon ? ::ImageList_AddIcon(m_hImageList, icon) : -1;
}

int CImageList::Add(HBITMAP bitmap, HBITMAP mask) {
    return m_hImageList && bitmap ? ::ImageList_Add(m_hImageList, bitmap, mask) : -1;
}

int CImageList::Add(HBITMAP bitmap, COLORREF maskColour) {
    return m_hImageList && bitmap ? ::ImageList_AddMasked(m_hImageList, bitmap, maskColour) : -1;
}

BOOL CImageList::Replace(int index, HICON icon) {
    return m_hImageList && icon && ::ImageList_ReplaceIcon(m_hImageList, index, icon) != -1;
}

BOOL CImageList::Remove(int index) {
    return m_hImageList ? ::ImageList_Remove(m_hImageList, index) : FALSE;
}

int CImageList::GetImageCount() const {
    return m_hImageList ? ::ImageList_GetImageCount(m_hImageList) : 0;
}

BOOL CImageList::GetIconSize(int* cx, int* cy) const {
    return m_hImageList ? ::ImageList_GetIconSize(m_hImageList, cx, cy) : FALSE;
}

COLORREF CImageList::SetBkColor(COLORREF colour) {
    return m_hImageList ? ::ImageList_SetBkColor(m_hImageList, colour) : CLR_NONE;
}

BOOL CImageList::Draw(HDC dc, int index, POINT at, UINT style) const {
    return m_hImageList ? ::ImageList_Draw(m_hImageList, index, dc, at.x, at.y, style) : FALSE;
}

HICON CImageList::ExtractIcon(int index) const {
    return m_hImageList ? ::ImageList_GetIcon(m_hImageList, index, ILD_NORMAL) : nullptr;
}
