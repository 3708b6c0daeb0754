#pragma once
#include <cstdint>
#include <ctime>
#include <string>

// 1234567 -> "1,234,567"
void FormatNumberGrouped(std::wstring& out, unsigned long long value);
// The system's short byte size ("3.52 MB"); false and `out` unchanged when it fails.
bool FormatByteSizeShell(std::wstring& out, long long bytes);
// As FormatByteSizeShell; with `exact` followed by " (1,234 バイト)".
bool FormatByteSize(std::wstring& out, long long bytes, bool exact);
// "1日01時間02分05秒", "01時間02分05秒", "02分05秒", "05秒"
void FormatDuration(std::wstring& out, long long seconds);
// "1/01:02:05", "01:02:05", "02:05", "00:05"
void FormatTimeSpan(std::wstring& out, long long seconds);
// 0 "--", 1 "MONO", 2 "STEREO", else the number
void FormatChannels(std::wstring& out, int channels);

// The last second the run-time's 64-bit time conversions take: 3000-12-31 23:59:59 UTC.
// Windows' run-time may end the program on a time outside 0 to this.
constexpr int64_t kMaxRuntimeTime = 32535215999LL;
inline bool IsRuntimeTime(int64_t seconds) { return seconds >= 0 && seconds <= kMaxRuntimeTime; }

// True when every conversion of a wcsftime format is one the run-time knows ("%a" to "%Z"
// and "%%", each also with the run-time's "#" flag, as in "%#c"), up to the first NUL. The
// run-time may end the program on any other, such as a lone "%".
bool IsKnownTimeFormat(const std::wstring& format);
// `time` written with a wcsftime format into at most `maxChars` characters; empty when the
// format is empty or not known (above), or the text does not fit.
std::wstring FormatTimeChecked(const std::wstring& format, const std::tm& time, size_t maxChars = 127);
