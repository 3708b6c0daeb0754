#include "app/NoCaseKey.h"
#include <gtest/gtest.h>
#include <cwchar>
#include <string>

namespace {

int Sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

int KeyCompare(const std::wstring& a, const std::wstring& b) {
    std::vector<wchar_t> ka, kb;
    AppendNoCaseKey(a.data(), a.size(), ka);
    AppendNoCaseKey(b.data(), b.size(), kb);
    return CompareCodeUnits(ka.data(), ka.size(), kb.data(), kb.size());
}

}  // namespace

// Every code unit against its neighbour and a few pivots (ASCII symbols between the cases,
// Latin-1, Greek, kana, full-width): the keys order them as `_wcsicmp` does in the locale.
TEST(NoCaseKey, EveryCodeUnitComparesAsTheLibraryComparison) {
    NoCaseKeyGeneration();
    const wchar_t pivots[] = {L'A', L'a', L'_', L'Z', 0xC9, 0xE9, 0x3A3, 0x3C3, 0x3042, 0x30A2, 0xFF21, 0xFF41};
    int mismatches = 0;
    for (unsigned c = 1; c <= 0xFFFF; ++c) {
        const std::wstring one(1, static_cast<wchar_t>(c));
        const std::wstring next(1, static_cast<wchar_t>(c == 0xFFFF ? 1 : c + 1));
        if (Sign(_wcsicmp(one.c_str(), next.c_str())) != Sign(KeyCompare(one, next))) ++mismatches;
        for (wchar_t p : pivots) {
            const std::wstring pivot(1, p);
            if (Sign(_wcsicmp(one.c_str(), pivot.c_str())) != Sign(KeyCompare(one, pivot))) ++mismatches;
        }
    }
    EXPECT_EQ(0, mismatches);
}

TEST(NoCaseKey, TextsStopAtANulAndAPrefixComesFirst) {
    EXPECT_EQ(0, KeyCompare(std::wstring(L"ab\0c", 4), L"AB"));
    EXPECT_GT(0, KeyCompare(L"ab", L"ABC"));
    EXPECT_GT(0, KeyCompare(L"", L"a"));
    EXPECT_LT(0, KeyCompare(L"b", L"A"));
}
