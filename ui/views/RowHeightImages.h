#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>

// The empty small image list whose image height sets a report list control's row height.
// It belongs to the view: the control (LVS_SHAREIMAGELISTS) only uses it, and a list is
// destroyed only once the control no longer holds it.
class CRowHeightImages {
public:
    CRowHeightImages() = default;
    // Destroys the list; a view deletes itself only after its control is gone.
    ~CRowHeightImages();
    CRowHeightImages(const CRowHeightImages&) = delete;
    CRowHeightImages& operator=(const CRowHeightImages&) = delete;

    // Gives `list` a new list of 16 x `height` images (ILC_* `flags`), then destroys the one
    // it held before. False when no list could be made (the control keeps the old one).
    bool Set(HWND list, int height, UINT flags);
    // Takes the list away from `list`, then destroys it.
    void Clear(HWND list);
    HIMAGELIST Get() const { return m_images; }

    // What destroys a list: ImageList_Destroy, unless a test gives another to see what is
    // destroyed when. Returns the previous one.
    using Destroyer = std::function<void(HIMAGELIST)>;
    static Destroyer SetDestroyer(Destroyer destroyer);

private:
    static void Destroy(HIMAGELIST images);
    HIMAGELIST m_images = nullptr;
};
