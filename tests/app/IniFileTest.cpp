#include "app/IniFile.h"
#include "framework/WinApp.h"
#include "support/TestFiles.h"
#include "Utf16TestText.h"
#include <gtest/gtest.h>

using namespace testing_support;

TEST(IniFile, CreatesNewFileAsUtf16WithByteOrderMark) {
    TempDir dir;
    CIniFile ini(dir.file(L"new.ini"));
    ASSERT_TRUE(ini.WriteString(L"S", L"Key", L"value"));
    std::string bytes = ReadBytes(ini.GetPath());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ('\xFF', bytes[0]);
    EXPECT_EQ('\xFE', bytes[1]);
    // The rest is UTF-16 text: "[S]" as 16-bit units.
    EXPECT_NE(std::string::npos, bytes.find(app_test::Utf16LeBytes(L"[S]")));

    // An existing file is left alone.
    ini.EnsureUnicodeFile();
    EXPECT_EQ(bytes, ReadBytes(ini.GetPath()));
}

TEST(IniFile, JapaneseAndNonCp932TextSurvive) {
    TempDir dir;
    CIniFile ini(dir.file(L"jp.ini"));
    // Japanese, a character outside code page 932 (sharp s capital) and one outside the BMP.
    const std::wstring value = L"日本語のテキスト \u1E9E \U0001F3B5 ｶﾀｶﾅ";
    ASSERT_TRUE(ini.WriteString(L"セクション", L"キー", value.c_str()));
    CIniFile reader(ini.GetPath());
    std::wstring read;
    EXPECT_TRUE(reader.GetString(read, L"セクション", L"キー", L"x"));
    EXPECT_EQ(value, read);
}

TEST(IniFile, ExistingAnsiFileStillReads) {
    TempDir dir;
    // "名前=値" in code page 932.
    std::string cp932 = "[S]\r\nName=\x96\xBC\x91\x4F\r\nNum=42\r\n";
    ASSERT_TRUE(WriteBytes(dir.file(L"ansi.ini"), cp932));
    CIniFile ini(dir.file(L"ansi.ini"));
    std::wstring read;
    EXPECT_TRUE(ini.GetString(read, L"S", L"Name", L""));
    EXPECT_EQ(L"名前", read);
    EXPECT_EQ(42, ini.GetInt(L"S", L"Num", 0));
}

TEST(IniFile, LongValuesAreNeverCut) {
    TempDir dir;
    CIniFile ini(dir.file(L"long.ini"));
    std::wstring longValue;
    for (int i = 0; i < 5000; ++i) longValue += static_cast<wchar_t>(L'a' + i % 26);
    // The file is far smaller than the value when only the BOM exists; grows after writing.
    ASSERT_TRUE(ini.WriteString(L"S", L"Long", longValue.c_str()));
    std::wstring read;
    EXPECT_TRUE(ini.GetString(read, L"S", L"Long", L""));
    EXPECT_EQ(longValue, read);

    // A default longer than the (tiny) file is not cut either.
    TempDir other;
    ASSERT_TRUE(WriteBytes(other.file(L"tiny.ini"), std::string("[A]\r\nb=1\r\n")));
    CIniFile tiny(other.file(L"tiny.ini"));
    EXPECT_LT(tiny.GetBufferSize(), longValue.size());
    EXPECT_TRUE(tiny.GetString(read, L"S", L"Missing", longValue.c_str()));
    EXPECT_EQ(longValue, read);
}

TEST(IniFile, MissingFileGivesDefaultsAndBufferSize32768) {
    TempDir dir;
    CIniFile ini(dir.file(L"none.ini"));
    EXPECT_EQ(32768u, ini.GetBufferSize());
    std::wstring read = L"old";
    EXPECT_FALSE(ini.GetString(read, L"S", L"K", L""));
    EXPECT_EQ(L"", read);
    EXPECT_TRUE(ini.GetString(read, L"S", L"K", L"def"));
    EXPECT_EQ(L"def", read);
    EXPECT_EQ(-7, ini.GetInt(L"S", L"K", -7));
    EXPECT_TRUE(ini.GetBool(L"S", L"K", true));
    EXPECT_FALSE(ini.GetBool(L"S", L"K", false));
}

TEST(IniFile, IntegersAndBooleans) {
    TempDir dir;
    CIniFile ini(dir.file(L"int.ini"));
    ini.WriteInt(L"S", L"Neg", -5);
    ini.WriteString(L"S", L"Text", L"abc");
    ini.WriteString(L"S", L"Lead", L"12abc");
    ini.WriteString(L"S", L"Two", L"2");
    ini.WriteString(L"S", L"One", L"1");
    ini.WriteBool(L"S", L"True", true);
    ini.WriteBool(L"S", L"False", false);
    EXPECT_EQ(-5, ini.GetInt(L"S", L"Neg", 0));
    EXPECT_EQ(0, ini.GetInt(L"S", L"Text", 9));
    EXPECT_EQ(12, ini.GetInt(L"S", L"Lead", 9));
    // Only 1 is true.
    EXPECT_FALSE(ini.GetBool(L"S", L"Two", true));
    EXPECT_TRUE(ini.GetBool(L"S", L"One", false));
    EXPECT_TRUE(ini.GetBool(L"S", L"True", false));
    EXPECT_FALSE(ini.GetBool(L"S", L"False", true));
    std::wstring text;
    ini.GetString(text, L"S", L"False", L"");
    EXPECT_EQ(L"0", text);
}

TEST(IniFile, StructuresCheckLengthAndChecksum) {
    TempDir dir;
    CIniFile ini(dir.file(L"struct.ini"));
    const unsigned char data[5] = {0x01, 0xAB, 0xFF, 0x00, 0x10};
    ASSERT_TRUE(ini.WriteStruct(L"S", L"Data", data, sizeof data));
    std::wstring text;
    ini.GetString(text, L"S", L"Data", L"");
    // Each byte as two upper-case hex digits, then the sum of the bytes modulo 256 (0xBB).
    EXPECT_EQ(L"01ABFF0010BB", text);

    unsigned char read[5] = {};
    EXPECT_TRUE(ini.GetStruct(L"S", L"Data", read, sizeof read));
    EXPECT_EQ(0, memcmp(data, read, sizeof data));

    // The system's writer produces the same text, so files it wrote still read.
    ASSERT_TRUE(WritePrivateProfileStructW(L"S", L"Sys", const_cast<unsigned char*>(data), sizeof data,
                                           ini.GetPath().c_str()));
    ini.GetString(text, L"S", L"Sys", L"");
    EXPECT_EQ(L"01ABFF0010BB", text);

    const unsigned char keep[5] = {9, 9, 9, 9, 9};
    auto expectRejected = [&](const wchar_t* stored) {
        ini.WriteString(L"S", L"Bad", stored);
        unsigned char buffer[5];
        memcpy(buffer, keep, sizeof buffer);
        EXPECT_FALSE(ini.GetStruct(L"S", L"Bad", buffer, sizeof buffer)) << stored;
        EXPECT_EQ(0, memcmp(keep, buffer, sizeof buffer)) << stored;
    };
    expectRejected(L"01ABFF0010BC");     // wrong checksum
    expectRejected(L"01ABFF0010BB00");   // too long
    expectRejected(L"01ABFF00BA");       // too short
    expectRejected(L"01ABFF00G0BB");     // not hex
    expectRejected(L"");
    unsigned char buffer[5];
    EXPECT_FALSE(ini.GetStruct(L"S", L"Missing", buffer, sizeof buffer));
}

TEST(IniFile, SectionsListAndErase) {
    TempDir dir;
    CIniFile ini(dir.file(L"sec.ini"));
    ini.WriteString(L"A", L"k1", L"v1");
    ini.WriteString(L"A", L"k2", L"値");
    ini.WriteString(L"B", L"k", L"x");
    std::wstring section = ini.GetSection(L"A");
    EXPECT_EQ(std::wstring(L"k1=v1\0k2=値\0", 11), section);
    ini.EraseSection(L"A");
    EXPECT_EQ(L"", ini.GetSection(L"A"));
    std::wstring read;
    ini.GetString(read, L"B", L"k", L"");
    EXPECT_EQ(L"x", read);
}

// A file that is there but empty (0 bytes) is started like a new one, by the settings files
// and by the framework's profile file alike.
TEST(IniFile, EmptyFilesStartAsUtf16) {
    TempDir dir;
    const std::wstring text = L"曲名 \u1E9E \U0001F3B5";
    for (const wchar_t* name : {L"config.ini", L"query.q"}) {
        ASSERT_TRUE(WriteBytes(dir.file(name), ""));
        CIniFile ini(dir.file(name));
        ASSERT_TRUE(ini.WriteString(L"S", L"Key", text.c_str()));
        EXPECT_EQ(0u, ReadBytes(ini.GetPath()).find("\xFF\xFE")) << name;
        std::wstring read;
        EXPECT_TRUE(CIniFile(ini.GetPath()).GetString(read, L"S", L"Key", L""));
        EXPECT_EQ(text, read) << name;
    }
    ASSERT_TRUE(WriteBytes(dir.file(L"toolbar.ini"), ""));
    CWinApp app;
    app.SetProfileFile(dir.file(L"toolbar.ini"));
    ASSERT_TRUE(app.WriteProfileString(L"Rebar", L"Name", text.c_str()));
    EXPECT_EQ(0u, ReadBytes(dir.file(L"toolbar.ini")).find("\xFF\xFE"));
    EXPECT_EQ(text, app.GetProfileString(L"Rebar", L"Name"));
    // A file with text in it keeps its encoding.
    ASSERT_TRUE(WriteBytes(dir.file(L"ansi.ini"), "[S]\r\n"));
    CIniFile(dir.file(L"ansi.ini")).EnsureUnicodeFile();
    EXPECT_EQ("[S]\r\n", ReadBytes(dir.file(L"ansi.ini")));
}
