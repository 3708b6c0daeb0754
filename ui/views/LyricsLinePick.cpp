#include "ui/views/LyricsLinePick.h"

int PickLyricsLine(const std::deque<tagReader::TimedLyricLine>& lines, float position) {
    for (size_t i = lines.size(); i-- > 0;)
        if (lines[i].seconds < position) return static_cast<int>(i);
    return -1;
}
