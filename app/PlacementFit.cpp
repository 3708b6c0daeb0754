#include "app/PlacementFit.h"
#include <algorithm>
#include <climits>
#include <cstdint>

namespace {
// Window coordinates are 16-bit wide in the window system: a larger extent overflows there
// (Wine then shows the window as a sliver far off screen).
constexpr int64_t kMaxExtent = 32767;

// A rectangle in 64-bit coordinates: stored values near the limits of 32 bits grow or move
// past them on the way.
struct Box {
    int64_t left, top, right, bottom;
    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
};

Box ToBox(const RECT& r) { return Box{r.left, r.top, r.right, r.bottom}; }

int64_t Overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
    return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

int64_t Gap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
    return std::max<int64_t>({0, b0 - a1, a0 - b1});
}

// The overlap area; 0 when the two only touch or do not meet.
double OverlapArea(const Box& a, const Box& b) {
    return static_cast<double>(Overlap(a.left, a.right, b.left, b.right)) *
           static_cast<double>(Overlap(a.top, a.bottom, b.top, b.bottom));
}

double GapSquared(const Box& a, const Box& b) {
    const double dx = static_cast<double>(Gap(a.left, a.right, b.left, b.right));
    const double dy = static_cast<double>(Gap(a.top, a.bottom, b.top, b.bottom));
    return dx * dx + dy * dy;
}

size_t Nearest(const Box& box, const std::vector<RECT>& areas) {
    size_t best = 0;
    double bestOverlap = -1, bestGap = 0;
    for (size_t i = 0; i < areas.size(); ++i) {
        const Box area = ToBox(areas[i]);
        const double overlap = OverlapArea(box, area), gap = GapSquared(box, area);
        if (overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && gap < bestGap)) {
            best = i;
            bestOverlap = overlap;
            bestGap = gap;
        }
    }
    return best;
}

// Moves [a0, a0 + size) into [b0, b1), the size cut to the room there is.
void Clamp(int64_t& a0, int64_t& a1, int64_t b0, int64_t b1) {
    const int64_t size = std::min(a1 - a0, b1 - b0);
    a0 = std::clamp(a0, b0, b1 - size);
    a1 = a0 + size;
}
}  // namespace

RECT FitWindowRect(const RECT& rect, const std::vector<RECT>& workAreas, SIZE minimum) {
    if (workAreas.empty()) return rect;
    Box box = ToBox(rect);
    box.right = std::max(box.right, box.left);
    box.bottom = std::max(box.bottom, box.top);
    const Box closest = ToBox(workAreas[Nearest(box, workAreas)]);
    bool changed = false;
    // Each side's size: at least the minimum, at most a window's extent, within the work area
    // where it has to be brought into range.
    auto fit = [&changed](int64_t size, int64_t least, int64_t room) {
        if (size < least) size = std::min(least, room);
        else if (size > kMaxExtent) size = room;
        else return size;
        changed = true;
        return size;
    };
    box.right = box.left + fit(box.Width(), minimum.cx, closest.Width());
    box.bottom = box.top + fit(box.Height(), minimum.cy, closest.Height());
    const bool onScreen = std::any_of(workAreas.begin(), workAreas.end(),
                                      [&box](const RECT& area) { return OverlapArea(box, ToBox(area)) > 0; });
    if (!onScreen) {
        const Box target = ToBox(workAreas[Nearest(box, workAreas)]);
        Clamp(box.left, box.right, target.left, target.right);
        Clamp(box.top, box.bottom, target.top, target.bottom);
        changed = true;
    }
    if (!changed) return rect;
    return RECT{static_cast<LONG>(box.left), static_cast<LONG>(box.top), static_cast<LONG>(box.right),
                static_cast<LONG>(box.bottom)};
}

std::vector<RECT> MonitorWorkAreas() {
    std::vector<RECT> areas;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (::GetMonitorInfoW(monitor, &info)) reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcWork);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&areas));
    return areas;
}

void FitPlacementToMonitors(WINDOWPLACEMENT& placement, SIZE minimum) {
    // Workspace coordinates are offset by the primary work area's corner (a taskbar at the
    // top or on the left).
    POINT origin{0, 0};
    MONITORINFO primary{};
    primary.cbSize = sizeof primary;
    if (::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary))
        origin = POINT{primary.rcWork.left - primary.rcMonitor.left, primary.rcWork.top - primary.rcMonitor.top};
    RECT& normal = placement.rcNormalPosition;
    const RECT screen{
        static_cast<LONG>(std::clamp<int64_t>(int64_t{normal.left} + origin.x, LONG_MIN, LONG_MAX)),
        static_cast<LONG>(std::clamp<int64_t>(int64_t{normal.top} + origin.y, LONG_MIN, LONG_MAX)),
        static_cast<LONG>(std::clamp<int64_t>(int64_t{normal.right} + origin.x, LONG_MIN, LONG_MAX)),
        static_cast<LONG>(std::clamp<int64_t>(int64_t{normal.bottom} + origin.y, LONG_MIN, LONG_MAX))};
    const RECT fitted = FitWindowRect(screen, MonitorWorkAreas(), minimum);
    if (::EqualRect(&fitted, &screen)) return;
    normal = RECT{fitted.left - origin.x, fitted.top - origin.y, fitted.right - origin.x, fitted.bottom - origin.y};
}
