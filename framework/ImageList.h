#pragma once
#include <windows.h>
#include <commctrl.h>

// An image list. It owns the list it created or was given with Attach, and destroys it with
// itself, unless the list is taken back with Detach.
class CImageList {
public:
    CImageList() = default;
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Images cx × cy, ILC_* flags, `initial` images of room, growing by `grow`.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // Takes ownership of a list made elsewhere (the rating images, say).
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    HIMAGELIST m_hImageList = nullptr;
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    // Each returns the new image's index, or -1.
    int Add(HICON icon);
    int Add(HBITMAP bitmap, HBITMAP mask);
    int Add(HBITMAP bitmap, COLORREF maskColour);
    BOOL Replace(int index, HICON icon);
    BOOL Remove(int index);
    int GetImageCount() const;
    BOOL GetIconSize(int* cx, int* cy) const;
    COLORREF SetBkColor(COLORREF colour);
    // ILD_* style, e.g. ILD_TRANSPARENT.
    BOOL Draw(HDC dc, int index, POINT at, UINT style) const;
    // A copy of the image as an icon; the caller destroys it.
    HICON ExtractIcon(int index) const;
};
