#pragma once
#include <windows.h>
#include <gdiplus.h>

namespace testing_support {

// GDI+ for the length of a test, as the application starts it for the program.
struct GdiplusSession {
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(token); }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    ULONG_PTR token = 0;
};

}  // namespace testing_support
