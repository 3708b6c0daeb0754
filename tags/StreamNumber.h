#pragma once
#include <climits>
#include <type_traits>

namespace tagReader {

// A length, rate, bit rate or channel count as the record keeps it. A value that is negative
// or does not fit an int cannot be true of a stream and is stored as 0, unknown, never as a
// wrapped or negative number.
template <typename T>
int StreamNumber(T value) {
    static_assert(std::is_arithmetic<T>::value, "a number");
    if constexpr (std::is_floating_point<T>::value) {
        return value >= 0 && value <= static_cast<T>(INT_MAX) ? static_cast<int>(value) : 0;   // NaN fails both
    } else {
        if constexpr (std::is_signed<T>::value) {
            if (value < 0) return 0;
        }
        return static_cast<unsigned long long>(value) <= INT_MAX ? static_cast<int>(value) : 0;
    }
}

// A channel count as the record keeps it: no format the program reads holds more than 255
// channels, so a larger count comes from a damaged header and is stored as 0, unknown.
template <typename T>
int ChannelCount(T value) {
    const int channels = StreamNumber(value);
    return channels <= 255 ? channels : 0;
}

}  // namespace tagReader
