#pragma once
#include <windows.h>
#include <commctrl.h>

// A list view that reports, once its list control has handled WM_NCDESTROY and before the
// view deletes itself, whether the control's small image list (the row-height list) is
// still a live image list.
template <class View>
class RowImagesProbe : public View {
public:
    explicit RowImagesProbe(bool& aliveAfterControl) : m_alive(aliveAfterControl) {}
    // Takes the control's row-height list; call it while the window exists.
    HIMAGELIST TakeRowImages() { return m_rows = ListView_GetImageList(this->m_hWnd, LVSIL_SMALL); }

protected:
    void PostNcDestroy() override {
        m_alive = IsLiveImageList(m_rows);
        View::PostNcDestroy();
    }

public:
    static bool IsLiveImageList(HIMAGELIST list) {
        int cx = 0, cy = 0;
        return list && ImageList_GetIconSize(list, &cx, &cy) != FALSE;
    }

private:
    bool& m_alive;
    HIMAGELIST m_rows = nullptr;
};
