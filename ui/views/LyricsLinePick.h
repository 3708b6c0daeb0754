#pragma once
#include "tags/Lyrics.h"
#include <deque>

// The line of time-tagged lyrics to show at `position` seconds: the last line whose time is
// below the position; -1 before the first line.
int PickLyricsLine(const std::deque<tagReader::TimedLyricLine>& lines, float position);
