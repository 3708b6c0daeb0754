#include "ui/views/WheelRoute.h"

HWND WheelTargetAt(POINT screenPoint) {
    HWND target = ::WindowFromPoint(screenPoint);
    if (!target) return nullptr;
    if (::GetWindowThreadProcessId(target, nullptr) != ::GetCurrentThreadId()) return nullptr;
    return target;
}
