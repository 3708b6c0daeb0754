// Placeholder expansion against the same text put together bare, at growing sizes:
//   placeholders_bench.exe
#include "app/Placeholders.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include "bench/support/BenchMeasure.h"

namespace {

using bench_support::MeasureShort;

std::wstring Times(const std::wstring& text, int count) {
    std::wstring result;
    result.reserve(text.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) result += text;
    return result;
}

struct Case {
    const wchar_t* name;
    TrackRecord track;
    std::wstring text;       // the template
    std::wstring expected;   // what one pass gives, put together bare
};

// Each tag names the next one n times: the caption with each tag's value.
Case Chain(int n) {
    Case c{L"tags naming each other", {}, {}, {}};
    c.track.tagArtist = Times(L"%tagAlbum%", n);
    c.track.tagAlbum = Times(L"%tagGenre%", n);
    c.track.tagGenre = Times(L"%tagComment%", n);
    c.track.tagComment = L"end";
    c.text = L"%tagArtist% - %tagAlbum% - %tagGenre% - %tagComment%";
    return c;
}

// A template of n placeholders.
Case LongTemplate(int n) {
    Case c{L"placeholders in the template", {}, {}, {}};
    c.track.tagTitle = L"タイトル";
    c.track.tagArtist = L"アーティスト";
    c.text = Times(L"%tagTitle% / %tagArtist% ", n);
    return c;
}

}  // namespace

int wmain() {
    PlaceholderContext context;
    wprintf(L"%-30ls %8ls %10ls %12ls %12ls %7ls %14ls\n", L"case", L"n", L"output", L"real us",
            L"bare us", L"ratio", L"real ns/char");
    wprintf(L"%ls\n", std::wstring(99, L'-').c_str());
    for (int kind = 0; kind < 2; ++kind) {
        for (int n : {30, 300, 3000, 30000}) {
            const Case c = kind == 0 ? Chain(n) : LongTemplate(n);
            std::wstring out;
            const double real = MeasureShort([&] {
                out = c.text;
                ExpandTrackPlaceholders(c.track, out, false, false, context);
            });
            std::wstring bare;
            const double bareTime = MeasureShort([&] {
                if (kind == 0) {
                    bare = c.track.tagArtist + L" - " + c.track.tagAlbum + L" - " + c.track.tagGenre + L" - " +
                           c.track.tagComment;
                } else {
                    bare = Times(c.track.tagTitle + L" / " + c.track.tagArtist + L" ", n);
                }
            });
            if (bare != out) {
                fwprintf(stderr, L"%ls, n=%d: the expansion differs from the bare text\n", c.name, n);
                return 1;
            }
            wprintf(L"%-30ls %8d %10zu %12.1f %12.1f %6.2fx %14.2f\n", c.name, n, out.size(), real * 1e6,
                    bareTime * 1e6, real / bareTime, real * 1e9 / static_cast<double>(out.size()));
        }
    }
    wprintf(L"\nLinear when real ns/char stays flat as n grows; ratio = real / bare.\n");
    return 0;
}
