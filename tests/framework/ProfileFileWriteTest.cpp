// Profile files are edited in memory and written whole: every line nobody writes survives,
// and a write that fails leaves the file exactly as it was.
#include "framework/ProfileFileWrite.h"
#include "framework/ProfileText.h"
#include "framework/WinApp.h"
#include "support/FailingProfileStore.h"
#include "support/TestFiles.h"
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

std::vector<BYTE> Utf16File(const std::wstring& text) {
    std::vector<BYTE> bytes{0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<BYTE>(c & 0xFF));
        bytes.push_back(static_cast<BYTE>(c >> 8));
    }
    return bytes;
}

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

std::string AsString(const std::vector<BYTE>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::wstring SystemRead(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", value, 256, path.c_str());
    return value;
}

}  // namespace

TEST(ProfileText, WritesChangeOnlyTheirLinesAndReadBackThroughTheSystemReader) {
    CProfileText text;
    text.Parse(Utf16File(L"; note\r\n[Other]\r\n x = 1 \r\njunk line\r\n\r\n[a]\r\nK1=old\r\nk1=shadow\r\n"
                         L"  [ Spaced ] \r\ny=2\r\n[A]\r\nz=second A\r\n[Last]\r\nq=3"));
    text.Write(L"A", L"k1", L"new");                 // the first [a], spelled as stored
    text.Write(L"spaced", L"Y", L"22");
    text.Write(L"Last", L"w", L"line1\r\nline2");    // cannot add a line of its own
    text.Write(L"Other", L"x", nullptr);
    text.Write(L"New", L"n", L"v");
    text.Write(L"New", L"gone", nullptr);            // nothing to erase
    const std::wstring first =
        L"; note\r\n[Other]\r\njunk line\r\n\r\n[a]\r\nK1=new\r\nk1=shadow\r\n  [ Spaced ] \r\ny=22\r\n"
        L"[A]\r\nz=second A\r\n[Last]\r\nq=3\r\nw=line1  line2\r\n[New]\r\nn=v\r\n";
    EXPECT_EQ(Utf16File(first), text.Bytes());

    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir.file(L"t.ini"), AsString(text.Bytes())));
    EXPECT_EQ(L"new", SystemRead(dir.file(L"t.ini"), L"a", L"k1"));
    EXPECT_EQ(L"22", SystemRead(dir.file(L"t.ini"), L"Spaced", L"y"));
    EXPECT_EQ(L"line1  line2", SystemRead(dir.file(L"t.ini"), L"Last", L"w"));
    EXPECT_EQ(L"<missing>", SystemRead(dir.file(L"t.ini"), L"Other", L"x"));
    EXPECT_EQ(L"v", SystemRead(dir.file(L"t.ini"), L"New", L"n"));

    // Erasing a section takes every section of that name; writing it again starts it at the end.
    text.Write(L"a", nullptr, nullptr);
    text.Write(L"A", L"k", L"v");
    EXPECT_EQ(Utf16File(L"; note\r\n[Other]\r\njunk line\r\n\r\n  [ Spaced ] \r\ny=22\r\n[Last]\r\nq=3\r\n"
                        L"w=line1  line2\r\n[New]\r\nn=v\r\n[A]\r\nk=v\r\n"),
              text.Bytes());
}

TEST(ProfileText, AFileKeepsItsEncodingUnlessTheCodePageCannotHoldItsText) {
    struct Case {
        const char* name;
        std::vector<BYTE> file;
        const wchar_t* value;
        std::vector<BYTE> expected;
    };
    const Case cases[] = {
        {"new file", {}, L"名前", Utf16File(L"[S]\r\nk=名前\r\n")},
        {"ANSI (code page 932)", Bytes("[S]\r\nName=\x96\xBC\x91\x4F\r\n"), L"42",
         Bytes("[S]\r\nName=\x96\xBC\x91\x4F\r\nk=42\r\n")},
        {"ANSI, a character outside it", Bytes("[S]\r\nName=\x96\xBC\x91\x4F\r\n"), L"\u1E9E",
         Utf16File(L"[S]\r\nName=名前\r\nk=\u1E9E\r\n")},
        {"UTF-8", Bytes("\xEF\xBB\xBF[S]\nName=\xE5\x90\x8D\n"), L"\u1E9E",
         Bytes("\xEF\xBB\xBF[S]\r\nName=\xE5\x90\x8D\r\nk=\xE1\xBA\x9E\r\n")},
        {"UTF-16 big-endian", {0xFE, 0xFF, 0, '[', 0, 'S', 0, ']'}, L"v",
         {0xFE, 0xFF, 0, '[', 0, 'S', 0, ']', 0, '\r', 0, '\n', 0, 'k', 0, '=', 0, 'v', 0, '\r', 0, '\n'}},
    };
    for (const Case& c : cases) {
        CProfileText text;
        text.Parse(c.file);
        text.Write(L"S", L"k", c.value);
        EXPECT_EQ(c.expected, text.Bytes()) << c.name;
    }
}

TEST(ProfileFileWrite, AWriteThatFailsPartWayLeavesTheFileAsItWasAndSaysSo) {
    TempDir dir;
    CWinApp app;
    app.SetProfileFile(dir.file(L"toolbar.ini"));
    ASSERT_TRUE(app.WriteProfileString(L"Layout-Summary", L"Bars", L"2"));
    ASSERT_TRUE(app.WriteProfileString(L"Mine", L"kept", L"手で書いた値"));
    const std::string before = ReadBytes(dir.file(L"toolbar.ini"));

    for (const bool failReplace : {false, true}) {
        FailingProfileStore store(failReplace);
        app.BeginProfileWrite();
        app.WriteProfileString(L"Layout-Summary", L"Bars", L"3");
        for (int i = 0; i < 200; ++i) app.WriteProfileInt(L"Rebar", (L"Band" + std::to_wstring(i)).c_str(), i);
        EXPECT_FALSE(app.EndProfileWrite()) << failReplace;
        EXPECT_FALSE(app.WriteProfileInt(L"Rebar", L"Alone", 1)) << "a write on its own fails the same way";
        EXPECT_EQ(before, ReadBytes(dir.file(L"toolbar.ini"))) << failReplace;
        EXPECT_FALSE(FileExists(dir.file(L"toolbar.ini.new"))) << "nothing is left beside it";
        EXPECT_EQ(2, store.writes);

        // Writing what the file already holds needs no write at all.
        app.BeginProfileWrite();
        app.WriteProfileString(L"Mine", L"kept", L"手で書いた値");
        EXPECT_TRUE(app.EndProfileWrite());
        EXPECT_EQ(2, store.writes);
    }

    app.BeginProfileWrite();
    app.WriteProfileString(L"Layout-Summary", L"Bars", L"3");
    EXPECT_TRUE(app.EndProfileWrite());
    EXPECT_EQ(L"3", app.GetProfileString(L"Layout-Summary", L"Bars"));
    EXPECT_EQ(L"手で書いた値", app.GetProfileString(L"Mine", L"kept"));
    EXPECT_FALSE(app.EndProfileWrite()) << "nothing was begun";
}

// The same writes through the system's profile writer give the same file, so the files read
// as they always did.
TEST(ProfileFileWrite, ANewFileHasTheBytesTheSystemWriterGivesIt) {
    TempDir dir;
    CWinApp app;
    app.SetProfileFile(dir.file(L"mine.ini"));
    const std::wstring system = dir.file(L"system.ini");
    ASSERT_TRUE(WriteBytes(system, std::string("\xFF\xFE")));
    const wchar_t* const writes[][3] = {
        {L"Layout-Summary", L"Bars", L"2"}, {L"Layout-Bar0", L"BarID", L"59419"}, {L"Layout-Bar0", L"Visible", L"1"},
        {L"Layout-Bar1", L"BarID", L"128"}, {L"Rebar", L"BandCount", L"6"},     {L"Layout-Bar0", L"Visible", L"0"},
        {L"Layout-Bar1", nullptr, nullptr}, {L"Rebar", L"Name", L"日本語"},     {L"Rebar", L"Empty", L""},
    };
    app.BeginProfileWrite();
    for (const auto& w : writes) {
        app.WriteProfileString(w[0], w[1], w[2]);
        WritePrivateProfileStringW(w[0], w[1], w[2], system.c_str());
    }
    ASSERT_TRUE(app.EndProfileWrite());
    EXPECT_EQ(ReadBytes(system), ReadBytes(dir.file(L"mine.ini")));
}
