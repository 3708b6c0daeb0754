#pragma once
#include <windows.h>

// Shows the hourglass for the life of the object.
class ScopedWaitCursor {
public:
    ScopedWaitCursor() : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~ScopedWaitCursor() { SetCursor(m_previous); }
    ScopedWaitCursor(const ScopedWaitCursor&) = delete;
    ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
