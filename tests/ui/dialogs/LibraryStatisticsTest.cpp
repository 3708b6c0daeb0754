// Track and database property rows, and the maintenance of the library, on real libraries.
#include "DialogTestSupport.h"
#include "DocTestSupport.h"
#include "app/ColumnModel.h"
#include "ui/dialogs/LibraryMaintenance.h"
#include "ui/dialogs/PropertyRows.h"
#include <gtest/gtest.h>
#include <windows.h>

using doc_test::Library;
using doc_test::MakeTrack;
using lib_test::GroupRows;
using lib_test::ValueOf;

namespace {

int64_t RowidOf(Library& lib, const std::wstring& path) {
    return lib.Scalar(L"SELECT rowid FROM list WHERE file_name='" + path + L"';");
}

// A drive letter that nothing is mounted on.
wchar_t UnusedDriveLetter() {
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'Y'; letter >= L'M'; --letter)
        if (!(drives & (1u << (letter - L'A')))) return letter;
    return 0;
}

}  // namespace

TEST(PropertyRows, PeakAndTotalTimeAndDistributionTexts) {
    EXPECT_EQ(L"--", PeakText(0));
    EXPECT_EQ(L"±0.00 dB", PeakText(32768));
    EXPECT_EQ(L"-6.02 dB / 0.5000", PeakText(16384));
    EXPECT_EQ(L"01分00秒", TotalTimeText(60));
    EXPECT_EQ(L"01分01秒 (61秒)", TotalTimeText(61));
    EXPECT_EQ(L"007 / 120 (5.83%)", DistributionText(7, 120));
    EXPECT_EQ(L"0042 / 1000 (4.20%)", DistributionText(42, 1000));
}

TEST(PropertyRows, TrackRowsShowEveryStoredValueAndTheAlbumPeak) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    TrackRecord t = MakeTrack(L"C:\\music\\a.mp3", L"Title", L"Artist", L"Rock 'n' Roll", L"3");
    t.gain = 16384;
    t.rating = 30;
    t.tagAPIC = L"APIC";
    t.statVBR = true;
    t.statBitrate = 192000;
    ASSERT_TRUE(lib.Insert(t));
    TrackRecord louder = MakeTrack(L"C:\\music\\b.mp3", L"B", L"Artist", L"Rock 'n' Roll");
    louder.gain = 32768;
    ASSERT_TRUE(lib.Insert(louder));

    PropertyRows rows;
    const int64_t rowid = RowidOf(lib, t.file_name);
    ASSERT_TRUE(FillTrackPropertyRows(lib.db(), rowid, lib.settings, rows));
    EXPECT_EQ(std::to_wstring(rowid), ValueOf(rows, L"SQLite", L"rowid"));
    EXPECT_EQ(L"C:\\music\\a.mp3", ValueOf(rows, L"ファイル", L"フルパス"));
    EXPECT_EQ(RowPath, lib_test::FindRow(rows, L"ファイル", L"フルパス")->kind);
    EXPECT_EQ(L"a.mp3", ValueOf(rows, L"ファイル", L"ファイル名"));
    EXPECT_EQ(L"ID3v1/ID3v2", ValueOf(rows, L"タグ", L"タグタイプ"));
    EXPECT_EQ(L"Rock 'n' Roll", ValueOf(rows, L"タグ", L"アルバム"));
    EXPECT_EQ(L"True", ValueOf(rows, L"タグ", L"APIC"));
    EXPECT_EQ(L"192 kbps", ValueOf(rows, L"オーディオ", L"平均ビットレート"));
    EXPECT_EQ(L"-6.02 dB / 0.5000", ValueOf(rows, L"統計", L"Track Peak"));
    EXPECT_EQ(L"±0.00 dB", ValueOf(rows, L"統計", L"Album Peak"));
    EXPECT_EQ(L"30", ValueOf(rows, L"統計", L"評価"));
    EXPECT_EQ(RowRating, lib_test::FindRow(rows, L"統計", L"評価")->kind);
    // Five groups, each a title and an underline before its rows.
    int titles = 0;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].kind == RowGroupTitle) {
            ++titles;
            ASSERT_LT(i + 1, rows.size());
            EXPECT_EQ(RowGroupLine, rows[i + 1].kind);
        }
    EXPECT_EQ(5, titles);
    EXPECT_TRUE(lib.errors.messages.empty());
}

TEST(PropertyRows, NullTextsReadAsEmptyAndAMissingRowShowsTheDatabaseError) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    ASSERT_EQ(0, lib.db().exec(L"INSERT INTO list(file_name,tagTitle,tagAlbum) VALUES('C:\\n.mp3',NULL,NULL);"));
    PropertyRows rows;
    ASSERT_TRUE(FillTrackPropertyRows(lib.db(), RowidOf(lib, L"C:\\n.mp3"), lib.settings, rows));
    EXPECT_EQ(L"", ValueOf(rows, L"タグ", L"タイトル"));
    EXPECT_EQ(L"--", ValueOf(rows, L"統計", L"Album Peak"));
    EXPECT_TRUE(lib.errors.messages.empty());

    EXPECT_FALSE(FillTrackPropertyRows(lib.db(), 999, lib.settings, rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(1u, lib.errors.messages.size());
}

TEST(DatabaseRows, EmptyLibraryShowsZerosAndNoDistribution) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    PropertyRows rows;
    FillDatabasePropertyRows(lib.db(), lib.settings, rows);
    EXPECT_EQ(lib.settings.libraryPath, ValueOf(rows, L"SQLite", L"DBファイル名"));
    EXPECT_EQ(L"--", ValueOf(rows, L"SQLite", L"最初に追加・更新した日時"));
    EXPECT_EQ(L"0", ValueOf(rows, L"項目数", L"ファイル"));
    EXPECT_EQ(L"0", ValueOf(rows, L"項目数", L"アルバム"));
    EXPECT_EQ(L"0.00 バイト", ValueOf(rows, L"統計 - ファイルサイズ", L"平均"));
    EXPECT_EQ(L"0.00秒", ValueOf(rows, L"統計 - 長さ", L"平均"));
    EXPECT_EQ(L"0.00 kbps", ValueOf(rows, L"統計 - ビットレート", L"平均"));
    EXPECT_EQ(L"0.0000", ValueOf(rows, L"統計 - 評価", L"平均"));
    EXPECT_EQ(L"--", ValueOf(rows, L"統計 - その他", L"最後に再生した日時"));
    EXPECT_TRUE(GroupRows(rows, L"分布 - コーデック").empty());
    EXPECT_TRUE(GroupRows(rows, L"分布 - 評価").empty());
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(RowGroupLine, rows.back().kind);
    EXPECT_EQ(L"分布 - 評価", rows[rows.size() - 2].caption);
}

TEST(DatabaseRows, StatisticsAndDistributionsOfALibrary) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    const int ratings[] = {30, 30, 50, 0};
    const int codecs[] = {3, 3, 3, 10};
    for (int i = 0; i < 4; ++i) {
        TrackRecord t = MakeTrack(L"C:\\m\\" + std::to_wstring(i) + L".mp3", L"t", L"Artist" + std::to_wstring(i % 2), L"A");
        t.rating = ratings[i];
        t.infoCodec = codecs[i];
        t.statDuration = 30;
        t.playcount = i == 0 ? 3 : 0;
        t.statBitrate = i == 3 ? 0 : 128000;
        t.file_size = 1000;
        ASSERT_TRUE(lib.Insert(t));
    }
    PropertyRows rows;
    FillDatabasePropertyRows(lib.db(), lib.settings, rows);
    EXPECT_EQ(L"4", ValueOf(rows, L"項目数", L"ファイル"));
    EXPECT_EQ(L"2", ValueOf(rows, L"項目数", L"アーティスト"));
    EXPECT_EQ(L"1", ValueOf(rows, L"項目数", L"アルバム"));
    EXPECT_EQ(L"1000.00 バイト", ValueOf(rows, L"統計 - ファイルサイズ", L"平均"));
    EXPECT_EQ(L"02分00秒 (120秒)", ValueOf(rows, L"統計 - 長さ", L"合計"));
    EXPECT_EQ(L"128.00 kbps", ValueOf(rows, L"統計 - ビットレート", L"平均"));
    EXPECT_EQ(L"50", ValueOf(rows, L"統計 - 評価", L"最大"));
    EXPECT_EQ(RowRating, lib_test::FindRow(rows, L"統計 - 評価", L"最大")->kind);
    EXPECT_EQ(L"3", ValueOf(rows, L"統計 - 再生回数", L"合計"));
    EXPECT_EQ(L"01分30秒 (90秒)", ValueOf(rows, L"統計 - その他", L"今までの総演奏時間"));

    std::vector<PropertyRow> codecRows = GroupRows(rows, L"分布 - コーデック");
    ASSERT_EQ(2u, codecRows.size());
    EXPECT_EQ(L"MP3", codecRows[0].caption);
    EXPECT_EQ(L"3 / 4 (75.00%)", codecRows[0].value);
    std::wstring flac;
    ASSERT_TRUE(GetCodecName(10, flac));
    EXPECT_EQ(flac, codecRows[1].caption);
    EXPECT_EQ(L"1 / 4 (25.00%)", codecRows[1].value);
    std::vector<PropertyRow> ratingRows = GroupRows(rows, L"分布 - 評価");
    ASSERT_EQ(3u, ratingRows.size());
    EXPECT_EQ(L"30", ratingRows[0].caption);
    EXPECT_EQ(RowDistribution, ratingRows[0].kind);
    EXPECT_EQ(L"2 / 4 (50.00%)", ratingRows[0].value);
}

TEST(Maintenance, MissingFilesGoOnlyWhereTheirDriveAnswers) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    const wchar_t unused = UnusedDriveLetter();
    ASSERT_NE(0, unused);
    const std::wstring present = lib.dir.file(L"present.mp3");
    ASSERT_TRUE(testing_support::WriteBytes(present, "x", 1));
    const std::wstring gone = lib.dir.file(L"gone.mp3");
    const std::wstring goneToo = lib.dir.file(L"folder gone\\曲.mp3");
    const std::wstring unplugged = std::wstring(1, unused) + L":\\music\\unplugged.mp3";
    const std::wstring offline = L"\\\\no-such-server-here\\share\\offline.mp3";
    for (const auto& path : {present, gone, goneToo, unplugged, offline}) ASSERT_TRUE(lib.Insert(MakeTrack(path, L"t")));

    MissingFilesResult result = DeleteMissingFiles(lib.db());
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(2, result.deleted);
    EXPECT_EQ(2, result.unreachable);
    EXPECT_EQ(3, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list WHERE file_name='" + gone + L"';"));
    EXPECT_EQ(1, lib.Scalar(L"SELECT COUNT(*) FROM list WHERE file_name='" + unplugged + L"';"));

    result = DeleteMissingFiles(lib.db());
    EXPECT_EQ(0, result.deleted);
    EXPECT_EQ(2, result.unreachable);
    EXPECT_TRUE(lib.errors.messages.empty());

    ASSERT_EQ(0, lib.db().exec(L"DROP TABLE list;"));
    result = DeleteMissingFiles(lib.db());
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(1u, lib.errors.messages.size());
}

TEST(Maintenance, RootsOfDrivesAndShares) {
    EXPECT_EQ(L"C:\\", PathRoot(L"C:\\music\\a.mp3"));
    EXPECT_EQ(L"d:\\", PathRoot(L"d:a.mp3"));
    EXPECT_EQ(L"\\\\server\\share\\", PathRoot(L"\\\\server\\share\\a\\b.mp3"));
    EXPECT_EQ(L"\\\\server\\share\\", PathRoot(L"\\\\server\\share"));
    EXPECT_EQ(L"", PathRoot(L"\\\\server"));
    EXPECT_EQ(L"", PathRoot(L"music\\a.mp3"));
}

TEST(Maintenance, InitialiseEmptiesTheLibraryAndOptimiseKeepsIt) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\a.mp3", L"a")));
    OptimiseLibrary(lib.db());
    EXPECT_EQ(1, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    InitialiseLibrary(lib.doc);
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    EXPECT_TRUE(lib.Insert(MakeTrack(L"C:\\b.mp3", L"b")));   // the table is there again
    EXPECT_EQ(1, lib.Scalar(L"SELECT COUNT(*) FROM sqlite_master WHERE name='tagArtist_index';"));
}
