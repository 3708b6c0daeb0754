#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

// The arithmetic of the seek bar, apart from its windows.

// Where a trackbar's thumb can travel, in the trackbar's client coordinates: the channel's
// left edge and width, and the thumb's width.
struct TrackGeometry {
    int channelLeft = 0;
    int channelWidth = 0;
    int thumbWidth = 0;
};

// The byte position under the mouse at `x`: the thumb's centre travels over the channel
// less one thumb width. A point left of the channel gives 0 and one right of it the length.
// False when the channel leaves the thumb no room (nothing to scale by).
bool SeekBytesAtPoint(int x, const TrackGeometry& track, int64_t lengthBytes, int64_t& bytes);
// The same for seconds (the trackbar's tooltip): 0 when the length is 0 or the channel has
// no room.
float SecondsAtPoint(int x, const TrackGeometry& track, float lengthSeconds);

// The trackbar holds 32-bit values: a stream longer than that is shown in units of 2^shift
// bytes. The shift is 0 for every length that fits.
int SeekUnitShift(int64_t lengthBytes);

// The time display: mode 0 "01:23 / 04:56" (elapsed), mode 1 "-03:33 / 04:56" (remaining).
std::wstring FormatSeekTime(int mode, float positionSeconds, float lengthSeconds);

// The bar's controls for a bar of width x height: the time button keeps its width at the
// right end; the trackbar takes the rest, less a 2-pixel gap.
struct SeekBarLayout {
    RECT slider;
    RECT button;
};
SeekBarLayout LayoutSeekBar(int width, int height, int buttonWidth);
