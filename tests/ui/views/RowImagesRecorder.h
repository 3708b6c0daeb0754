#pragma once
#include "ui/views/RowHeightImages.h"
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <vector>

// Stands in for the destroyer of row-height image lists while it lives: records each list
// destroyed and what the list control `control` held at that moment, then destroys it. Only
// live handles are asked about, so what it sees holds on Windows as under Wine.
class RowImagesRecorder {
public:
    struct Destroyed {
        HIMAGELIST images;
        HIMAGELIST heldByControl;   // the control's small image list then (null once it has let go)
    };

    RowImagesRecorder() {
        m_previous = CRowHeightImages::SetDestroyer([this](HIMAGELIST images) {
            const bool alive = control && ::IsWindow(control);
            destroyed.push_back({images, alive ? ListView_GetImageList(control, LVSIL_SMALL) : nullptr});
            ::ImageList_Destroy(images);
        });
    }
    ~RowImagesRecorder() { CRowHeightImages::SetDestroyer(std::move(m_previous)); }
    RowImagesRecorder(const RowImagesRecorder&) = delete;
    RowImagesRecorder& operator=(const RowImagesRecorder&) = delete;

    // Watches `list` from now on; the row-height list it holds.
    HIMAGELIST Watch(HWND list) {
        control = list;
        destroyed.clear();
        return ListView_GetImageList(list, LVSIL_SMALL);
    }
    // Success when the lists destroyed since the last look are `images` alone, and the control
    // did not hold it then.
    ::testing::AssertionResult DestroyedAlone(HIMAGELIST images) {
        std::vector<Destroyed> seen;
        seen.swap(destroyed);
        if (seen.size() != 1) return ::testing::AssertionFailure() << seen.size() << " lists destroyed";
        if (seen[0].images != images) return ::testing::AssertionFailure() << "another list was destroyed";
        if (seen[0].heldByControl == images) return ::testing::AssertionFailure() << "the control still held it";
        return ::testing::AssertionSuccess();
    }

    HWND control = nullptr;
    std::vector<Destroyed> destroyed;

private:
    CRowHeightImages::Destroyer m_previous;
};

// The height of a live image list's images.
inline int ImageHeight(HIMAGELIST images) {
    int cx = 0, cy = 0;
    return ::ImageList_GetIconSize(images, &cx, &cy) ? cy : -1;
}
