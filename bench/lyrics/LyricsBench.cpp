// One timed-lyrics line of n tags parsed, against the same text put together bare:
//   lyrics_bench.exe
#include "tags/Lyrics.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include "bench/support/BenchMeasure.h"

namespace {

using bench_support::MeasureShort;

// "[00:01:00]" and then n times a word and a further tag, as a file of repeated stamps has.
std::wstring LineOfTags(int n) {
    std::wstring line = L"[00:01:00]";
    line.reserve(line.size() + static_cast<size_t>(n) * 15);
    for (int i = 0; i < n; ++i) line += L"歌[00:02:00]";
    return line;
}

}  // namespace

int wmain() {
    wprintf(L"%10ls %12ls %12ls %12ls %7ls %12ls\n", L"tags", L"line chars", L"real us", L"bare us", L"ratio",
            L"real ns/tag");
    wprintf(L"%ls\n", std::wstring(70, L'-').c_str());
    for (int n : {1000, 10000, 100000, 400000}) {
        const std::wstring line = LineOfTags(n);
        tagReader::TimedLyricLine parsed;
        const double real = MeasureShort([&] {
            parsed.text = line;
            tagReader::ParseLyricsLine(parsed);
        });
        std::wstring bare;
        // Bare: one pass over the line after its first tag, keeping what is outside brackets.
        const double bareTime = MeasureShort([&] {
            bare.clear();
            bool inside = false;
            for (size_t i = 10; i < line.size(); ++i) {
                const wchar_t c = line[i];
                if (c == L'[') inside = true;
                else if (c == L']') inside = false;
                else if (!inside) bare += c;
            }
        });
        if (parsed.text != bare) {
            fwprintf(stderr, L"n=%d: the parsed text differs from the bare text\n", n);
            return 1;
        }
        wprintf(L"%10d %12zu %12.1f %12.1f %6.1fx %12.2f\n", n, line.size(), real * 1e6, bareTime * 1e6,
                real / bareTime, real * 1e9 / n);
    }
    wprintf(L"\nLinear when real ns/tag stays flat as the tags grow; ratio = real / bare.\n");
    return 0;
}
