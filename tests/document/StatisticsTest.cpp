#include "DocTestSupport.h"
#include "document/StatisticsFile.h"
#include <gtest/gtest.h>

using namespace doc_test;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

std::string Cp932(const std::wstring& text) {
    int n = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

const wchar_t* const kHeader =
    L"# Format:\r\n# ファイル名\\tTrackPeak\\t評価\\t再生回数\\t最後に再生した日時\r\n# (\\t = タブ)\r\n";

class Statistics : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lib.opened); }
    void AddRow(const std::wstring& path, int gain, int rating, int playcount, long long lastplayed) {
        TrackRecord t = MakeTrack(path, L"t");
        t.gain = gain;
        t.rating = rating;
        t.playcount = playcount;
        t.lastplayed = lastplayed;
        ASSERT_TRUE(lib.Insert(t));
    }
    std::wstring Stats(const std::wstring& path) {
        return lib.Text(L"SELECT gain||','||rating||','||playcount||','||lastplayed FROM list WHERE file_name='" +
                        path + L"';");
    }
    Library lib;
};

}  // namespace

TEST_F(Statistics, EmptyStatisticsExportOnlyTheComments) {
    AddRow(L"C:\\a.mp3", 0, 0, 0, 0);
    std::wstring path = lib.dir.file(L"export.tsv");
    int count = -1;
    ASSERT_EQ(CLarkspur2006Doc::StatisticsOk, lib.doc.ExportStatistics(path, count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(Cp932(kHeader), ReadBytes(path));
}

TEST_F(Statistics, ExportWritesCodePage932Lines) {
    AddRow(L"C:\\曲\\a.mp3", 32768, 50, 3, 5000000000LL);
    AddRow(L"C:\\b.mp3", 0, 0, 0, 1);
    AddRow(L"C:\\c.mp3", 0, 0, 0, 0);
    std::wstring path = lib.dir.file(L"export.tsv");
    int count = 0;
    ASSERT_EQ(CLarkspur2006Doc::StatisticsOk, lib.doc.ExportStatistics(path, count));
    EXPECT_EQ(2, count);
    EXPECT_EQ(Cp932(std::wstring(kHeader) + L"C:\\曲\\a.mp3\t32768\t50\t3\t5000000000\r\n" + L"C:\\b.mp3\t0\t0\t0\t1\r\n"),
              ReadBytes(path));
}

TEST_F(Statistics, RoundTripIntoTheSameLibraryChangesNothing) {
    AddRow(L"C:\\曲\\a.mp3", 1000, 40, 7, 5000000000LL);
    AddRow(L"C:\\b's.mp3", 0, 10, 0, 0);
    std::wstring path = lib.dir.file(L"export.tsv");
    int exported = 0, imported = 0;
    ASSERT_EQ(CLarkspur2006Doc::StatisticsOk, lib.doc.ExportStatistics(path, exported));
    ASSERT_EQ(CLarkspur2006Doc::StatisticsOk, lib.doc.ImportStatistics(path, imported));
    EXPECT_EQ(2, exported);
    EXPECT_EQ(exported, imported);
    EXPECT_EQ(L"1000,40,7,5000000000", Stats(L"C:\\曲\\a.mp3"));
    EXPECT_EQ(L"0,10,0,0", Stats(L"C:\\b''s.mp3"));
}

TEST_F(Statistics, NamesOutsideCodePage932MakeAUtf8File) {
    AddRow(L"C:\\음악\\a.mp3", 1, 2, 3, 4);
    AddRow(L"C:\\曲\\b.mp3", 5, 6, 7, 8);
    std::wstring path = lib.dir.file(L"export.tsv");
    int count = 0;
    ASSERT_EQ(CLarkspur2006Doc::StatisticsOk, lib.doc.ExportStatistics(path, count));
    EXPECT_EQ(2, count);
    std::string bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ("\xEF\xBB\xBF", bytes.substr(0, 3));
    EXPECT_EQ(testing_support::ToUtf8(std::wstring(kHeader) + L"C:\\음악\\a.mp3\t1\t2\t3\t4\r\nC:\\曲\\b.mp3\t5\t6\t7\t8\r\n"),
              bytes.substr(3));

    // Into a fresh library with the same files: both names match again.
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"UPDATE list SET gain=0, rating=0, playcount=0, lastplayed=0;"));
    int imported = 0;
    ASSERT_EQ(CLarkspur2006Doc::StatisticsOk, lib.doc.ImportStatistics(path, imported));
    EXPECT_EQ(2, imported);
    EXPECT_EQ(L"1,2,3,4", Stats(L"C:\\음악\\a.mp3"));
    EXPECT_EQ(L"5,6,7,8", Stats(L"C:\\曲\\b.mp3"));
}

TEST_F(Statistics, ImportTakesOnlyLinesWithFiveFields) {
    AddRow(L"C:\\曲\\a.mp3", 0, 0, 0, 0);
    AddRow(L"C:\\b.mp3", 9, 9, 9, 9);
    std::string file = Cp932(
        L"# comment\tC:\\b.mp3\t1\t1\t1\t1\r\n"
        L"\r\n"
        L"C:\\曲\\a.mp3\t100\t30\tx\t4294967296\textra\tfields\r\n"
        L"C:\\b.mp3\t1\t2\t3\r\n"
        L"C:\\nowhere.mp3\t1\t2\t3\t4\r\n"
        L"C:\\b.mp3\t-5\t20\t2\t-1");   // last line without a break
    std::wstring path = lib.dir.file(L"in.tsv");
    ASSERT_TRUE(WriteBytes(path, file));
    int imported = 0;
    ASSERT_EQ(CLarkspur2006Doc::StatisticsOk, lib.doc.ImportStatistics(path, imported));
    EXPECT_EQ(3, imported);   // well-formed lines, matched or not
    EXPECT_EQ(L"100,30,0,4294967296", Stats(L"C:\\曲\\a.mp3"));
    EXPECT_EQ(L"-5,20,2,0", Stats(L"C:\\b.mp3"));
}

// Values outside the library's ranges are brought into them: a rating of 0-50, no negative
// play count or last-played time (a negative time, exported unsigned, reads back as none).
TEST_F(Statistics, ImportKeepsTheLibrarysRanges) {
    const struct {
        const wchar_t* fields;
        const wchar_t* stored;
    } cases[] = {
        {L"0\t9999\t-5\t-1", L"0,50,0,0"},
        {L"0\t-1\t99999999999\t18446744073709551615", L"0,0,2147483647,0"},
        {L"0\t-99999999999\t-99999999999\t9223372036854775807", L"0,0,0,9223372036854775807"},
        {L"0\t50\t0\t9223372036854775808", L"0,50,0,0"},
    };
    std::wstring file;
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        const std::wstring name = L"C:\\" + std::to_wstring(i) + L".mp3";
        AddRow(name, 1, 10, 1, 1);
        file += name + L"\t" + cases[i].fields + L"\r\n";
    }
    const std::wstring path = lib.dir.file(L"in.tsv");
    ASSERT_TRUE(WriteBytes(path, Cp932(file)));
    int imported = 0;
    ASSERT_EQ(CLarkspur2006Doc::StatisticsOk, lib.doc.ImportStatistics(path, imported));
    EXPECT_EQ(4, imported);
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
        EXPECT_EQ(cases[i].stored, Stats(L"C:\\" + std::to_wstring(i) + L".mp3")) << cases[i].fields;
}

TEST_F(Statistics, RowWithoutFileNameIsSkippedOnExport) {
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"INSERT INTO list(file_name, rating) VALUES(NULL, 30);"));
    AddRow(L"C:\\a.mp3", 0, 20, 0, 0);
    int count = 0;
    ASSERT_EQ(CLarkspur2006Doc::StatisticsOk, lib.doc.ExportStatistics(lib.dir.file(L"e.tsv"), count));
    EXPECT_EQ(1, count);
}

TEST_F(Statistics, AReadThatFailsPartWayIsNotASuccess) {
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"DROP TABLE list;"));
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"CREATE VIEW list AS SELECT 'C:\\a.mp3' AS file_name, 1 AS gain, 0 AS rating, "
                                       L"0 AS playcount, 0 AS lastplayed UNION ALL "
                                       L"SELECT 'C:\\b.mp3', abs(-9223372036854775807 - 1), 0, 0, 0;"));
    int count = -1;
    EXPECT_EQ(CLarkspur2006Doc::StatisticsDbFailed, lib.doc.ExportStatistics(lib.dir.file(L"e.tsv"), count));
    EXPECT_EQ(0, count);
    FileDialogResult chosen;
    chosen.pathName = lib.dir.file(L"e.tsv");
    lib.host.dialogResults.push_back(chosen);
    lib.doc.OnExportStatistics();
    EXPECT_TRUE(lib.host.messages.empty());   // no "exported" message
    ASSERT_EQ(1u, lib.errors.texts.size());
    EXPECT_EQ(L"integer overflow", lib.errors.texts[0]);
}

TEST_F(Statistics, FilesThatCannotBeOpened) {
    int count = 0;
    EXPECT_EQ(CLarkspur2006Doc::StatisticsOpenFailed, lib.doc.ExportStatistics(lib.dir.file(L"no\\e.tsv"), count));
    EXPECT_EQ(CLarkspur2006Doc::StatisticsOpenFailed, lib.doc.ImportStatistics(lib.dir.file(L"missing.tsv"), count));
}

TEST_F(Statistics, AFailedWriteIsReported) {
    AddRow(L"C:\\a.mp3", 0, 20, 0, 0);
    // Wine maps Z: to the Linux root: /dev/full opens for writing and every write fails.
    const std::wstring full = L"Z:\\dev\\full";
    HANDLE probe = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no /dev/full here";
    CloseHandle(probe);
    int count = -1;
    EXPECT_EQ(CLarkspur2006Doc::StatisticsWriteFailed, lib.doc.ExportStatistics(full, count));
    EXPECT_EQ(0, count);
    FileDialogResult chosen;
    chosen.pathName = full;
    lib.host.dialogResults.push_back(chosen);
    lib.doc.OnExportStatistics();
    ASSERT_EQ(1u, lib.host.messages.size());
    EXPECT_EQ(L"ファイルの書き込みに失敗しました。", lib.host.messages[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), lib.host.messages[0].type);
}

TEST_F(Statistics, ExportAndImportCommands) {
    AddRow(L"C:\\a.mp3", 0, 20, 0, 0);
    FileDialogResult chosen;
    chosen.pathName = lib.dir.file(L"cmd.tsv");
    lib.host.dialogResults.push_back(chosen);
    lib.doc.OnExportStatistics();
    ASSERT_EQ(1u, lib.host.requests.size());
    EXPECT_TRUE(lib.host.requests[0].save);
    EXPECT_TRUE(lib.host.requests[0].overwritePrompt);
    EXPECT_EQ(L"export", lib.host.requests[0].defaultName);
    EXPECT_EQ(L"tsv", lib.host.requests[0].defaultExt);
    EXPECT_EQ(L"TSV File (*.tsv)|*.tsv|すべてのファイル (*.*)|*.*||", lib.host.requests[0].filter);
    ASSERT_EQ(1u, lib.host.messages.size());
    EXPECT_EQ(L"1 項目エクスポートしました。", lib.host.messages[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), lib.host.messages[0].type);

    // Import: the question first; Cancel ends the command before the file dialog.
    lib.host.answers.push_back(IDCANCEL);
    lib.doc.OnImportStatistics();
    ASSERT_EQ(2u, lib.host.messages.size());
    EXPECT_EQ(L"すべての統計項目が上書きされます。\r\n続行しますか？", lib.host.messages[1].text);
    EXPECT_EQ(UINT(MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2), lib.host.messages[1].type);
    EXPECT_EQ(1u, lib.host.requests.size());

    lib.host.answers.push_back(IDOK);
    lib.host.dialogResults.push_back(chosen);
    lib.doc.OnImportStatistics();
    ASSERT_EQ(4u, lib.host.messages.size());
    EXPECT_FALSE(lib.host.requests.back().save);
    EXPECT_EQ(L"1 項目インポートしました。", lib.host.messages[3].text);
    EXPECT_TRUE(lib.view.hints.empty());   // the import sends no hint

    // A file that cannot be opened.
    chosen.pathName = lib.dir.file(L"no such folder\\x.tsv");
    lib.host.dialogResults.push_back(chosen);
    lib.doc.OnExportStatistics();
    EXPECT_EQ(L"ファイルオープンに失敗しました。", lib.host.messages.back().text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), lib.host.messages.back().type);
}

TEST(StatisticsFile, FormatAndParseAgree) {
    std::vector<StatisticsLine> lines = {{L"C:\\x\ty.mp3", 1, 2, 3, 4}, {L"C:\\曲.mp3", 0, 0, 0, -7}};
    bool utf8 = true;
    std::string bytes = FormatStatisticsFile(lines, &utf8);
    EXPECT_FALSE(utf8);
    auto parsed = ParseStatisticsFile(bytes);
    ASSERT_EQ(2u, parsed.size());
    // A TAB inside a name splits the line: the name reads as "C:\x".
    EXPECT_EQ(L"C:\\x", parsed[0].fileName);
    EXPECT_EQ(L"C:\\曲.mp3", parsed[1].fileName);
    EXPECT_EQ(0, parsed[1].lastplayed);   // a negative time, written unsigned, reads back as none
}
