#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One line of the statistics file.
struct StatisticsLine {
    std::wstring fileName;
    int gain = 0;
    int rating = 0;
    int playcount = 0;
    int64_t lastplayed = 0;
};

// The whole statistics file: the three comment lines and one line per row, CR LF ended.
// In code page 932 when every text fits it, else in UTF-8 with a byte-order mark.
std::string FormatStatisticsFile(const std::vector<StatisticsLine>& lines, bool* utf8 = nullptr);

// The lines of a statistics file (either encoding) that carry five fields; comment,
// empty and short lines are left out.
std::vector<StatisticsLine> ParseStatisticsFile(const std::string& bytes);
