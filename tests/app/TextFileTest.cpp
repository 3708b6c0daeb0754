#include "app/TextFile.h"
#include "support/TestFiles.h"
#include "Utf16TestText.h"
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TextFileLines LoadBytes(const TempDir& dir, const std::string& bytes, bool* ok = nullptr) {
    static int counter = 0;
    std::wstring path = dir.file(L"text" + std::to_wstring(++counter) + L".txt");
    EXPECT_TRUE(WriteBytes(path, bytes));
    TextFileLines lines;
    bool loaded = LoadTextFile(lines, path);
    if (ok)
        *ok = loaded;
    else
        EXPECT_TRUE(loaded);
    return lines;
}

bool Valid(const std::string& bytes) {
    return IsValidUtf8(bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data()));
}

using Lines = std::vector<std::wstring>;

}  // namespace

TEST(IsValidUtf8, AcceptsWellFormedText) {
    EXPECT_TRUE(Valid(""));
    EXPECT_TRUE(Valid("plain ascii"));
    EXPECT_TRUE(Valid(std::string("a\0b", 3)));
    EXPECT_TRUE(Valid("\xE3\x81\x82\xE2\x98\x85"));     // あ★
    EXPECT_TRUE(Valid("\xC2\x80\xDF\xBF"));             // U+0080, U+07FF
    EXPECT_TRUE(Valid("\xF0\x9F\x8E\xB5"));             // U+1F3B5
    EXPECT_TRUE(Valid("\xF4\x8F\xBF\xBF"));             // U+10FFFF
    EXPECT_TRUE(Valid("\xEE\x80\x80"));                 // U+E000, just past the surrogates
}

TEST(IsValidUtf8, RejectsMalformedSequences) {
    EXPECT_FALSE(Valid("\xC0\xAF"));            // overlong "/"
    EXPECT_FALSE(Valid("\xC1\xBF"));            // overlong
    EXPECT_FALSE(Valid("\xE0\x80\xAF"));        // overlong three-byte form
    EXPECT_FALSE(Valid("\xF0\x80\x80\xAF"));    // overlong four-byte form
    EXPECT_FALSE(Valid("\xF4\x90\x80\x80"));    // above U+10FFFF
    EXPECT_FALSE(Valid("\xF5\x80\x80\x80"));
    EXPECT_FALSE(Valid("\xED\xA0\x80"));        // U+D800
    EXPECT_FALSE(Valid("\xED\xBF\xBF"));        // U+DFFF
    EXPECT_FALSE(Valid("\xE3\xC1\x82"));        // continuation byte 11xxxxxx
    EXPECT_FALSE(Valid("\xE3\x41\x82"));        // continuation without high bit
    EXPECT_FALSE(Valid("\x80"));                // lone continuation byte
    EXPECT_FALSE(Valid("\xFF"));
    EXPECT_FALSE(Valid("abc\xE3\x81"));         // cut off by the end
}

TEST(LoadTextFile, LineBreaks) {
    TempDir dir;
    TextFileLines t = LoadBytes(dir, "a\n\nb");
    EXPECT_EQ((Lines{L"a\r\n", L"b"}), t.lines);   // two breaks in a row end one line
    t = LoadBytes(dir, "a\r\n\r\nb");
    EXPECT_EQ((Lines{L"a\r\n", L"\r\n", L"b"}), t.lines);
    t = LoadBytes(dir, "one\rtwo\nthree\n");
    EXPECT_EQ(TextFileLines::Utf8, t.encoding);
    EXPECT_EQ((Lines{L"one\r\n", L"two\r\n", L"three\r\n", L""}), t.lines);
}

TEST(LoadTextFile, EmptyAndShortFiles) {
    TempDir dir;
    TextFileLines t = LoadBytes(dir, "");
    EXPECT_EQ(TextFileLines::Short, t.encoding);
    EXPECT_EQ((Lines{L""}), t.lines);
    t = LoadBytes(dir, "ab");
    EXPECT_EQ(TextFileLines::Short, t.encoding);
    EXPECT_EQ((Lines{L"ab"}), t.lines);
}

TEST(LoadTextFile, Utf8WithAndWithoutByteOrderMark) {
    TempDir dir;
    TextFileLines t = LoadBytes(dir, "\xEF\xBB\xBF\xE6\xAD\x8C\xE8\xA9\x9E\r\n\xF0\x9F\x8E\xB5");
    EXPECT_EQ(TextFileLines::Utf8Bom, t.encoding);
    EXPECT_EQ((Lines{L"歌詞\r\n", L"\U0001F3B5"}), t.lines);
    t = LoadBytes(dir, "\xE6\xAD\x8C\xE8\xA9\x9E\nabc");
    EXPECT_EQ(TextFileLines::Utf8, t.encoding);
    EXPECT_EQ((Lines{L"歌詞\r\n", L"abc"}), t.lines);
    // Text after a UTF-8 byte-order mark that is not UTF-8 fails the load.
    bool ok = true;
    t = LoadBytes(dir, "\xEF\xBB\xBF\x89\xCC\x8E\x8C", &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(t.lines.empty());
}

TEST(LoadTextFile, AnsiCodePage932) {
    TempDir dir;
    // "歌詞" and "テスト" in code page 932.
    TextFileLines t = LoadBytes(dir, "\x89\xCC\x8E\x8C\r\n\x83\x65\x83\x58\x83\x67");
    EXPECT_EQ(TextFileLines::Ansi, t.encoding);
    EXPECT_EQ((Lines{L"歌詞\r\n", L"テスト"}), t.lines);
}

TEST(LoadTextFile, Utf16WithoutByteOrderMark) {
    TempDir dir;
    // Plain ASCII text as UTF-16 holds zero bytes: never taken for UTF-8.
    TextFileLines t = LoadBytes(dir, app_test::Utf16LeBytes(L"abc\r\ndef"));
    EXPECT_EQ(TextFileLines::Utf16Le, t.encoding);
    EXPECT_EQ((Lines{L"abc\r\n", L"def"}), t.lines);
    // Japanese text with a ASCII line break.
    t = LoadBytes(dir, app_test::Utf16LeBytes(L"日本語\n歌詞"));
    EXPECT_EQ(TextFileLines::Utf16Le, t.encoding);
    EXPECT_EQ((Lines{L"日本語\r\n", L"歌詞"}), t.lines);
}

TEST(LoadTextFile, Utf16WithByteOrderMark) {
    TempDir dir;
    TextFileLines t = LoadBytes(dir, "\xFF\xFE" + app_test::Utf16LeBytes(L"最初\r\n二番目"));
    EXPECT_EQ(TextFileLines::Utf16Le, t.encoding);
    EXPECT_EQ((Lines{L"最初\r\n", L"二番目"}), t.lines);   // the mark is not text
    // A byte-order mark with text of no zero byte at all is still UTF-16.
    t = LoadBytes(dir, "\xFF\xFE" + app_test::Utf16LeBytes(L"あいう"));
    EXPECT_EQ(TextFileLines::Utf16Le, t.encoding);
    EXPECT_EQ((Lines{L"あいう"}), t.lines);
    // A final odd byte is ignored.
    t = LoadBytes(dir, "\xFF\xFE" + app_test::Utf16LeBytes(L"ab") + "x");
    EXPECT_EQ((Lines{L"ab"}), t.lines);
}

TEST(LoadTextFile, Utf16BreaksJoinOnlyWholeUnits) {
    TempDir dir;
    // U+300D and U+300A have the low bytes 0x0D and 0x0A: they are not breaks.
    TextFileLines t = LoadBytes(dir, "\xFF\xFE" + app_test::Utf16LeBytes(L"a\n\u300Db\r\u300Ac"));
    EXPECT_EQ((Lines{L"a\r\n", L"\u300Db\r\n", L"\u300Ac"}), t.lines);
    t = LoadBytes(dir, app_test::Utf16LeBytes(L"x\r\r\ny\n"));
    EXPECT_EQ((Lines{L"x\r\n", L"\r\n", L"y\r\n", L""}), t.lines);
}

TEST(LoadTextFile, MissingFileFails) {
    TempDir dir;
    TextFileLines t;
    t.lines.push_back(L"old");
    EXPECT_FALSE(LoadTextFile(t, dir.file(L"absent.txt")));
    EXPECT_TRUE(t.lines.empty());
}

TEST(LoadTextFile, Utf8ByteOrderMarkWinsOverAZeroByte) {
    TempDir dir;
    // "歌詞", a zero byte, "x", a break, "二行目".
    TextFileLines t = LoadBytes(dir, std::string("\xEF\xBB\xBF\xE6\xAD\x8C\xE8\xA9\x9E", 9) + std::string(1, '\0') +
                                         "x\r\n\xE4\xBA\x8C\xE8\xA1\x8C\xE7\x9B\xAE");
    EXPECT_EQ(TextFileLines::Utf8Bom, t.encoding);
    EXPECT_EQ((Lines{std::wstring(L"歌詞") + L'\0' + L"x\r\n", L"二行目"}), t.lines);
}
