#include "ui/views/RowHeightImages.h"
#include <utility>

namespace {

CRowHeightImages::Destroyer& CurrentDestroyer() {
    static CRowHeightImages::Destroyer destroyer;
    return destroyer;
}

}  // namespace

CRowHeightImages::~CRowHeightImages() { Destroy(m_images); }

CRowHeightImages::Destroyer CRowHeightImages::SetDestroyer(Destroyer destroyer) {
    Destroyer previous = std::move(CurrentDestroyer());
    CurrentDestroyer() = std::move(destroyer);
    return previous;
}

void CRowHeightImages::Destroy(HIMAGELIST images) {
    if (!images) return;
    if (CurrentDestroyer()) CurrentDestroyer()(images);
    else ::ImageList_Destroy(images);
}

bool CRowHeightImages::Set(HWND list, int height, UINT flags) {
    HIMAGELIST images = ::ImageList_Create(16, height > 0 ? height : 16, flags, 0, 1);
    if (!images) return false;
    ListView_SetImageList(list, images, LVSIL_SMALL);
    HIMAGELIST old = m_images;
    m_images = images;
    Destroy(old);
    return true;
}

void CRowHeightImages::Clear(HWND list) {
    if (!m_images) return;
    ListView_SetImageList(list, nullptr, LVSIL_SMALL);
    HIMAGELIST old = m_images;
    m_images = nullptr;
    Destroy(old);
}
