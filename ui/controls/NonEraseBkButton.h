#pragma once
#include "framework/Controls.h"
#include <windows.h>

// A button that never erases its background: whoever paints it covers the whole face.
class CNonEraseBkButtonBass : public CButton {
protected:
    BOOL OnEraseBkgnd(HDC dc);
    DECLARE_MESSAGE_MAP()
};

// A non-erasing button that can keep an off-screen picture of its face (the jacket of the
// now-playing pane). The owner draws into the back buffer and paints the button from it;
// when the button is resized the picture is stretched to the new size, not lost.
//
// The buffer is replaced under the lock given to CreateBackBuffer, which every other user of
// the buffer (drawing threads included) must hold while it works with it.
class CNonEraseBkButton : public CNonEraseBkButtonBass {
public:
    CNonEraseBkButton() = default;
    ~CNonEraseBkButton() override;

    // Makes the back buffer at the button's client size, filled with `color`.
    void CreateBackBuffer(COLORREF color, CRITICAL_SECTION* lock = nullptr);

    HDC GetBackBufferDC() const { return m_memDC; }
    SIZE GetBackBufferSize() const { return SIZE{m_width, m_height}; }
    bool HasPicture() const { return m_hasPicture; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void ResizeBackBuffer(int width, int height);
    void FreeBackBuffer();

    CRITICAL_SECTION* m_pLock = nullptr;
    bool m_hasPicture = false;
    int m_width = 0;
    int m_height = 0;
    HDC m_memDC = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
};
