#pragma once
#include <cstddef>
#include <vector>

// Sort keys that order texts exactly as the C library's case-insensitive wide comparison
// (`_wcsicmp`) orders them in the current locale: that comparison folds each character on
// its own and compares the folded code units, so folding a text once and comparing the
// results code unit by code unit gives the same order at a fraction of the cost.

// Appends the key of `text` (its first `length` characters, up to a NUL, where the
// comparison stops) to `out`.
void AppendNoCaseKey(const wchar_t* text, size_t length, std::vector<wchar_t>& out);

// Changes whenever the C library's character-type locale has changed since the last call,
// so that keys folded under another locale are not compared with new ones.
unsigned NoCaseKeyGeneration();

// Negative, 0 or positive as `a` sorts before, with or after `b`: code units compared as
// unsigned, a proper prefix first. Serves keys and texts compared exactly alike.
inline int CompareCodeUnits(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength) {
    const size_t n = aLength < bLength ? aLength : bLength;
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return static_cast<unsigned>(a[i]) < static_cast<unsigned>(b[i]) ? -1 : 1;
    }
    return aLength < bLength ? -1 : aLength > bLength ? 1 : 0;
}
