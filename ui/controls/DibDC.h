#pragma once
#include <windows.h>

// A memory device context over a 32-bit top-down picture whose pixels are read and written
// directly: 0x00RRGGBB, row after row from the top.
class CDibDC {
public:
    // `cx` x `cy` pixels in a context compatible with `dc` (the screen for null). Ok() is false
    // when GDI refused either.
    CDibDC(HDC dc, int cx, int cy);
    ~CDibDC();
    CDibDC(const CDibDC&) = delete;
    CDibDC& operator=(const CDibDC&) = delete;

    bool Ok() const { return m_bits != nullptr; }
    operator HDC() const { return m_dc; }
    DWORD* Pixels() const { return m_bits; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

private:
    int m_cx, m_cy;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};
