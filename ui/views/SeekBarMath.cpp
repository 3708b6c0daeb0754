#include "ui/views/SeekBarMath.h"
#include "app/Formatters.h"
#include <algorithm>
#include <climits>

namespace {
// The fraction of the track under `x`, clamped to 0..1; false without room to move.
bool FractionAtPoint(int x, const TrackGeometry& track, double& fraction) {
    const int room = track.channelWidth - track.thumbWidth;
    if (room <= 0) return false;
    const double offset = static_cast<double>(x) - track.thumbWidth / 2 - track.channelLeft;
    fraction = std::clamp(offset / room, 0.0, 1.0);
    return true;
}

long long WholeSeconds(float seconds) {
    return seconds > 0 ? static_cast<long long>(seconds) : 0;
}
}  // namespace

bool SeekBytesAtPoint(int x, const TrackGeometry& track, int64_t lengthBytes, int64_t& bytes) {
    double fraction = 0;
    if (!FractionAtPoint(x, track, fraction)) return false;
    const int64_t length = std::max<int64_t>(lengthBytes, 0);
    bytes = std::clamp<int64_t>(static_cast<int64_t>(fraction * static_cast<double>(length)), 0, length);
    return true;
}

float SecondsAtPoint(int x, const TrackGeometry& track, float lengthSeconds) {
    double fraction = 0;
    if (lengthSeconds <= 0 || !FractionAtPoint(x, track, fraction)) return 0;
    return static_cast<float>(fraction * lengthSeconds);
}

int SeekUnitShift(int64_t lengthBytes) {
    int shift = 0;
    while (shift < 62 && (lengthBytes >> shift) > INT_MAX) ++shift;
    return shift;
}

std::wstring FormatSeekTime(int mode, float positionSeconds, float lengthSeconds) {
    std::wstring shown, total;
    FormatTimeSpan(total, WholeSeconds(lengthSeconds));
    if (mode == 1) {
        FormatTimeSpan(shown, WholeSeconds(lengthSeconds - positionSeconds));
        return L"-" + shown + L" / " + total;
    }
    FormatTimeSpan(shown, WholeSeconds(positionSeconds));
    return shown + L" / " + total;
}

SeekBarLayout LayoutSeekBar(int width, int height, int buttonWidth) {
    SeekBarLayout layout{};
    const int h = std::max(height - 4, 0);
    layout.button = RECT{width - buttonWidth, 2, width, 2 + h};
    layout.slider = RECT{0, 2, std::max(width - buttonWidth - 2, 0), 2 + h};
    return layout;
}
