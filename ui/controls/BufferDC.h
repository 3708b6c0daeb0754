#pragma once
#include <windows.h>

// A memory device context that stands in for a target device context over one rectangle:
// drawing goes off screen in the target's own coordinates, and the rectangle is copied to
// the target in one step when the object goes out of scope.
class CBufferDC {
public:
    // An empty rectangle means the target's clip box.
    CBufferDC(const RECT& rect, HDC target);
    ~CBufferDC();
    CBufferDC(const CBufferDC&) = delete;
    CBufferDC& operator=(const CBufferDC&) = delete;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    // The rectangle that is copied back, in the target's coordinates.
    const RECT& GetRect() const { return m_rect; }

private:
    HDC m_hDC = nullptr;
    HDC m_target = nullptr;
    RECT m_rect{};
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
};
