#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/Lyrics.h"
#include <gtest/gtest.h>

using namespace tagReader;
using namespace testing_support;

namespace {

TimedLyricLine Parse(const std::wstring& text, bool expected = true) {
    TimedLyricLine line;
    line.text = text;
    EXPECT_EQ(expected, ParseLyricsLine(line)) << text;
    return line;
}

bool LoadFile(const TempDir& dir, const std::string& bytes, std::deque<TimedLyricLine>& lines, std::wstring& text,
              int seconds = 200) {
    static int counter = 0;
    std::wstring path = dir.file(L"lyrics" + std::to_wstring(++counter) + L".lrc");
    EXPECT_TRUE(WriteBytes(path, bytes));
    return LoadLyrics(lines, path, text, seconds);
}

}  // namespace

TEST(FindTimeTag, BracketsInOrder) {
    size_t index = 0;
    EXPECT_TRUE(FindTimeTag(L"[01:02:03]x", index));
    EXPECT_EQ(9u, index);
    EXPECT_TRUE(FindTimeTag(L"ab[c]d]", index));
    EXPECT_EQ(4u, index);
    EXPECT_TRUE(FindTimeTag(L"[]x", index));
    EXPECT_EQ(1u, index);
    EXPECT_FALSE(FindTimeTag(L"[]", index));   // two characters are never a tag
    EXPECT_FALSE(FindTimeTag(L"a]b[c", index));
    EXPECT_FALSE(FindTimeTag(L"no tag", index));
}

TEST(ParseLyricsLine, MinutesSecondsHundredths) {
    TimedLyricLine line = Parse(L"[01:23:45]Hello");
    EXPECT_FLOAT_EQ(83.45f, line.seconds);
    EXPECT_EQ(L"Hello", line.text);

    line = Parse(L"[00:12:34][00:15:00]Hi");   // the second tag is dropped
    EXPECT_FLOAT_EQ(12.34f, line.seconds);
    EXPECT_EQ(L"Hi", line.text);

    line = Parse(L"[01:02:]x");
    EXPECT_FLOAT_EQ(62.0f, line.seconds);
    EXPECT_EQ(L"x", line.text);

    line = Parse(L"[1:2:345]x");   // hundredths as wide as the seconds field: "3"
    EXPECT_FLOAT_EQ(62.03f, line.seconds);

    line = Parse(L"[02:05:50]a [note] b [x]");
    EXPECT_FLOAT_EQ(125.5f, line.seconds);
    EXPECT_EQ(L"a  b ", line.text);

    line = Parse(L"[ 3:00:00]");
    EXPECT_FLOAT_EQ(180.0f, line.seconds);
    EXPECT_EQ(L"", line.text);
}

// Every later bracketed group goes, left to right: a "[" inside a group ends with the group's
// first "]", and an unclosed "[" stays with what follows it. A line of 200,000 groups too.
TEST(ParseLyricsLine, EveryLaterBracketedGroupIsRemoved) {
    EXPECT_EQ(L"ad]e [tail", Parse(L"[00:01:00]a[b[c]d]e [tail").text);
    std::wstring many = L"[00:01:00]", expected;
    for (int i = 0; i < 200000; ++i) {
        many += i % 2 ? L"[00:02:00]" : L"x[]";
        if (i % 2 == 0) expected += L"x";
    }
    many += L"[no end";
    const TimedLyricLine line = Parse(many);
    EXPECT_FLOAT_EQ(1.0f, line.seconds);
    EXPECT_EQ(expected + L"[no end", line.text);
}

TEST(ParseLyricsLine, RefusedLinesKeepTheirText) {
    for (const wchar_t* text : {L"[00:12.34]x", L"[00:12]x", L"[Chorus]", L"[]x", L"[]", L"plain", L"[:]x",
                                L"[-5:-3:-1]x", L"[-1:00:00]x", L"[00:-3:00]x", L"[00:03:-5]x"}) {
        TimedLyricLine line = Parse(text, false);
        EXPECT_EQ(text, line.text);
    }
}

TEST(LoadLyrics, TimeTaggedFile) {
    TempDir dir;
    std::deque<TimedLyricLine> lines{{1.0f, L"old"}};
    std::wstring text = L"before\r\n";
    ASSERT_TRUE(LoadFile(dir,
                         "[ti:Song]\r\n[00:01:00]one\r\n[Chorus]\r\n[00:12.34]bad\r\n[00:02:50][00:09:00]two\r\nplain",
                         lines, text));
    EXPECT_EQ(L"before\r\n[ti:Song]\r\none\r\n[Chorus]\r\n[00:12.34]bad\r\ntwo\r\nplain\r\n", text);
    ASSERT_EQ(2u, lines.size());
    EXPECT_FLOAT_EQ(1.0f, lines[0].seconds);
    EXPECT_EQ(L"one", lines[0].text);
    EXPECT_FLOAT_EQ(2.5f, lines[1].seconds);
    EXPECT_EQ(L"two", lines[1].text);
}

TEST(LoadLyrics, LinesStayInFileOrder) {
    TempDir dir;
    std::deque<TimedLyricLine> lines;
    std::wstring text;
    ASSERT_TRUE(LoadFile(dir, "[00:09:00]late\n[00:01:00]early\n", lines, text));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(L"late", lines[0].text);
    EXPECT_EQ(L"early", lines[1].text);
    EXPECT_EQ(L"late\r\nearly\r\n\r\n", text);   // the file's final break leaves an empty last line
}

TEST(LoadLyrics, PlainFileHasNoTimedLines) {
    TempDir dir;
    std::deque<TimedLyricLine> lines{{1.0f, L"old"}};
    std::wstring text;
    ASSERT_TRUE(LoadFile(dir, "first line\r\nsecond (no brackets)", lines, text));
    EXPECT_EQ(L"first line\r\nsecond (no brackets)\r\n", text);
    EXPECT_TRUE(lines.empty());
}

TEST(LoadLyrics, JapaneseInCodePage932) {
    TempDir dir;
    std::deque<TimedLyricLine> lines;
    std::wstring text;
    ASSERT_TRUE(LoadFile(dir, tag_test::Cp932(L"[00:03:00]こんにちは\r\n[00:04:00]世界"), lines, text));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(L"こんにちは", lines[0].text);
    EXPECT_EQ(L"こんにちは\r\n世界\r\n", text);
}

// An empty lyrics file loads without dividing by its zero lines.
TEST(LoadLyrics, EmptyFileLoads) {
    TempDir dir;
    std::deque<TimedLyricLine> lines{{1.0f, L"old"}};
    std::wstring text;
    EXPECT_TRUE(LoadFile(dir, "", lines, text));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(L"\r\n", text);   // one empty line
}

TEST(LoadLyrics, ZeroLengthOrMissingFileLoadsNothing) {
    TempDir dir;
    std::deque<TimedLyricLine> lines{{1.0f, L"old"}};
    std::wstring text = L"kept";
    EXPECT_FALSE(LoadFile(dir, "[00:01:00]x", lines, text, 0));
    EXPECT_EQ(L"kept", text);
    ASSERT_EQ(1u, lines.size());
    EXPECT_FALSE(LoadLyrics(lines, dir.file(L"missing.txt"), text, 100));
    EXPECT_EQ(L"kept", text);
}
