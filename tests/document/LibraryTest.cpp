#include "DocTestSupport.h"
#include "app/PathParts.h"
#include "app/ViewHints.h"
#include "document/LibrarySql.h"
#include "document/LibraryWriteFailure.h"
#include <gtest/gtest.h>

using namespace doc_test;
using tagReader::TTagInfo;

namespace {

// A reader that fills the record by hand, as a tag reader would for `path`.
struct HandReader {
    int tagType = 32;
    int yearKeyFlags = 32;
    std::vector<std::pair<std::wstring, std::wstring>> tags;
    int result = 1;
    int calls = 0;

    TagReadFunction Function() {
        return [this](TTagInfo& info, const std::wstring& path) {
            ++calls;
            info.Clear();
            if (result != 1) return result;
            PathParts parts;
            SplitPath(parts, path);
            info.fullPath = path;
            info.folder = parts.drive + parts.dir;
            info.fileTitle = parts.fname;
            info.extension = parts.ext;
            info.formatCode = 3;
            info.codecText = L"MPEG 1 Layer 3";
            info.tagType = tagType;
            info.yearKeyFlags = yearKeyFlags;
            info.seconds = 215;
            info.channels = 2;
            info.samplingRate = 44100;
            info.bitRate = 192000;
            info.vbr = 1;
            for (auto& t : tags) info.SetTag(t.first, t.second);
            return 1;
        };
    }
};

class LibraryChanges : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lib.opened);
        ASSERT_EQ(SQLITE_OK, lib.db().prepare(lib.doc.GetSqlInsert(), &insert));
        ASSERT_EQ(SQLITE_OK, lib.db().prepare(lib.doc.GetSqlUpdate(), &update));
    }
    void TearDown() override {
        sqlite3_finalize(insert);
        sqlite3_finalize(update);
    }
    std::wstring NewFile(const std::wstring& name, size_t size) {
        std::wstring path = lib.dir.file(name);
        testing_support::WriteBytes(path, std::string(size, 'x'));
        return path;
    }
    bool Add(const std::wstring& path, HandReader& reader) {
        return AddFileToLibrary(update, path, lib.db(), lib.settings, insert, reader.Function());
    }
    std::wstring Column(const std::wstring& column, const std::wstring& path) {
        return lib.Text(L"SELECT " + column + L" FROM list WHERE file_name='" + path + L"';");
    }
    long long Number(const std::wstring& column, const std::wstring& path) {
        return lib.Scalar(L"SELECT " + column + L" FROM list WHERE file_name='" + path + L"';");
    }

    Library lib;
    sqlite3_stmt* insert = nullptr;
    sqlite3_stmt* update = nullptr;
};

}  // namespace

TEST(LibrarySchema, NewLibraryInTheProfileFolder) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    EXPECT_EQ(lib.dir.file(L"library.db"), lib.settings.libraryPath);
    EXPECT_TRUE(testing_support::FileExists(lib.dir.file(L"library.db")));
    EXPECT_EQ(1, lib.Scalar(L"SELECT COUNT(*) FROM sqlite_master WHERE type='table' AND name='list';"));
    EXPECT_EQ(4, lib.Scalar(L"SELECT COUNT(*) FROM sqlite_master WHERE type='index' AND name IN "
                            L"('tagArtist_index','tagAlbum_index','tagGenre_index','rating_index');"));
    EXPECT_EQ(26, lib.Scalar(L"SELECT COUNT(*) FROM pragma_table_info('list');"));
    EXPECT_EQ(L"TYNYINT", lib.Text(L"SELECT type FROM pragma_table_info('list') WHERE name='statVBR';"));
    EXPECT_EQ(0, lib.Scalar(L"PRAGMA synchronous;"));   // OFF
    EXPECT_EQ(2, lib.Scalar(L"PRAGMA temp_store;"));    // MEMORY
    EXPECT_EQ(-65536, lib.Scalar(L"PRAGMA cache_size;"));
    EXPECT_EQ(500, lib.db().busy_timeout());
    EXPECT_TRUE(lib.errors.messages.empty());
}

TEST(LibrarySchema, StatementTexts) {
    std::wstring create = LibraryCreateTableSql();
    EXPECT_EQ(0u, create.find(L"CREATE TABLE IF NOT EXISTS list(\r\n\tfile_name TEXT UNIQUE,\r\n"));
    EXPECT_NE(std::wstring::npos, create.find(L"\tmodify INTEGER DEFAULT current_timestamp64,\r\n"));
    EXPECT_NE(std::wstring::npos, create.find(L"PRIMARY KEY(file_name)\r\n);"));
    EXPECT_EQ(L"DROP TABLE IF EXISTS list;", LibraryDropTableSql());

    CSQlite db;
    ASSERT_EQ(SQLITE_OK, db.open(L":memory:"));
    ASSERT_EQ(SQLITE_OK, db.exec(create));
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(SQLITE_OK, db.prepare(LibraryInsertSql(), &stmt));
    EXPECT_EQ(25, sqlite3_bind_parameter_count(stmt));
    sqlite3_finalize(stmt);
    ASSERT_EQ(SQLITE_OK, db.prepare(LibraryUpdateSql(), &stmt));
    EXPECT_EQ(23, sqlite3_bind_parameter_count(stmt));
    sqlite3_finalize(stmt);
    EXPECT_EQ(std::wstring::npos, LibraryUpdateSql().find(L"file_title"));
}

TEST(LibrarySchema, ReopeningKeepsRowsAndAnExistingPathIsUsedAsGiven) {
    testing_support::TempDir other;
    std::wstring path = other.file(L"mine.db");
    {
        CSQlite db;
        ASSERT_EQ(SQLITE_OK, db.open(path));
        ASSERT_EQ(SQLITE_OK, db.exec(LibraryCreateTableSql()));
        ASSERT_EQ(SQLITE_OK, db.exec(L"INSERT INTO list(file_name) VALUES('C:\\a.mp3');"));
    }
    Library lib2;
    lib2.doc.GetDatabase().close();
    ASSERT_TRUE(lib2.doc.OpenLibrary(path));
    EXPECT_EQ(path, lib2.settings.libraryPath);
    EXPECT_EQ(1, lib2.Scalar(L"SELECT COUNT(*) FROM list;"));
    EXPECT_EQ(4, lib2.Scalar(L"SELECT COUNT(*) FROM sqlite_master WHERE type='index' AND name LIKE '%_index';"));
}

TEST(LibrarySchema, DropAndCreateEmptyTheLibrary) {
    Library lib;
    ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\a.mp3", L"a")));
    EXPECT_EQ(1, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    ASSERT_TRUE(lib.doc.DropTables());
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM sqlite_master WHERE name='list';"));
    ASSERT_TRUE(lib.doc.CreateTables());
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
}

TEST(LibrarySchema, OpenFailsWhenTheTableCannotBeCreated) {
    testing_support::TempDir dir;
    std::wstring path = dir.file(L"bad.db");
    {
        CSQlite db;
        ASSERT_EQ(SQLITE_OK, db.open(path));
        // Something else named "list": the table cannot be made.
        ASSERT_EQ(SQLITE_OK, db.exec(L"CREATE VIEW list AS SELECT 1 AS x;"));
    }
    CAppSettings settings = MakeSettings(dir.path());
    FakeHost host;
    DBErrorRecorder errors;
    CLarkspur2006Doc doc(settings, &host);
    doc.InitSqlTexts();
    EXPECT_FALSE(doc.OpenLibrary(path));
    EXPECT_EQ(1u, errors.messages.size());
}

TEST(LibrarySchema, ALibraryWhoseListLacksColumnsIsRefusedAndLeftByteForByte) {
    std::wstring withoutLastplayed = LibraryCreateTableSql();
    const std::wstring line = L"\tlastplayed INTEGER DEFAULT 0,\r\n";
    ASSERT_NE(std::wstring::npos, withoutLastplayed.find(line));
    withoutLastplayed.erase(withoutLastplayed.find(line), line.size());
    const struct {
        std::wstring create;
        const wchar_t* missing;
    } cases[] = {
        // The tagArtist index could be made, the tagAlbum one not.
        {L"CREATE TABLE list(file_name TEXT UNIQUE, tagTitle TEXT, tagArtist TEXT, rating INTEGER);", L"tagAlbum"},
        // Every indexed column is there.
        {withoutLastplayed, L"lastplayed"},
    };
    for (const auto& c : cases) {
        testing_support::TempDir dir;
        const std::wstring path = dir.file(L"other.db");
        {
            CSQlite db;
            ASSERT_EQ(SQLITE_OK, db.open(path));
            ASSERT_EQ(SQLITE_OK, db.exec(c.create));
            ASSERT_EQ(SQLITE_OK, db.exec(L"INSERT INTO list(file_name) VALUES('C:\\a.mp3');"));
        }
        const std::string before = testing_support::ReadBytes(path);
        CAppSettings settings = MakeSettings(dir.path());
        FakeHost host;
        DBErrorRecorder errors;
        {
            CLarkspur2006Doc doc(settings, &host);
            doc.InitSqlTexts();
            EXPECT_FALSE(doc.OpenLibrary(path)) << c.missing;
        }
        ASSERT_EQ(1u, errors.texts.size()) << c.missing;
        EXPECT_NE(std::wstring::npos, errors.texts[0].find(c.missing));
        EXPECT_NE(std::wstring::npos, errors.texts[0].find(path)) << "the message names the file";
        EXPECT_EQ(before, testing_support::ReadBytes(path)) << c.missing;
        EXPECT_FALSE(testing_support::FileExists(path + L"-journal"));
    }
}

TEST(LibraryWrites, OnlyFailuresThatEveryLaterWriteWouldMeetMeanTheLibraryTakesNoWrites) {
    for (int rc : {SQLITE_READONLY, SQLITE_READONLY_DBMOVED, SQLITE_IOERR, SQLITE_IOERR_WRITE, SQLITE_IOERR_FSYNC,
                   SQLITE_FULL, SQLITE_CANTOPEN})
        EXPECT_TRUE(IsLibraryWriteFailure(rc)) << rc;
    for (int rc : {SQLITE_OK, SQLITE_DONE, SQLITE_ROW, SQLITE_ERROR, SQLITE_BUSY, SQLITE_LOCKED, SQLITE_CONSTRAINT,
                   SQLITE_CORRUPT, SQLITE_INTERRUPT, SQLITE_MISUSE})
        EXPECT_FALSE(IsLibraryWriteFailure(rc)) << rc;
}

TEST_F(LibraryChanges, AReadOnlyLibrarySaysOnceThatNothingNewIsKeptAndStillReads) {
    ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\a.mp3", L"a")));
    ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\b.mp3", L"b")));
    const std::wstring statistics = lib.dir.file(L"in.tsv");
    ASSERT_TRUE(testing_support::WriteBytes(statistics, std::string("C:\\a.mp3\t1\t20\t3\t4\r\nC:\\b.mp3\t1\t2\t3\t4\r\n")));
    const std::wstring path = lib.settings.libraryPath;
    ASSERT_TRUE(lib.doc.SetQuery(L"a", L"SELECT * FROM list WHERE tagTitle='a';", false));
    sqlite3_finalize(insert);
    sqlite3_finalize(update);
    insert = update = nullptr;
    lib.db().close();
    ASSERT_EQ(SQLITE_OK, lib.db().open(path, true));
    ASSERT_EQ(SQLITE_OK, lib.db().prepare(lib.doc.GetSqlInsert(), &insert));
    ASSERT_EQ(SQLITE_OK, lib.db().prepare(lib.doc.GetSqlUpdate(), &update));

    // Ratings, then an added file, then play statistics: each fails, and only the first says so.
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(lib.doc.WriteRating(1, 30));
    EXPECT_FALSE(lib.doc.WriteRating(std::vector<int64_t>{1, 2}, 40));
    HandReader reader;
    int written = SQLITE_OK;
    EXPECT_FALSE(AddFileToLibrary(update, NewFile(L"new.mp3", 10), lib.db(), lib.settings, insert, reader.Function(),
                                  &written));
    EXPECT_TRUE(IsLibraryWriteFailure(written)) << written;
    EXPECT_TRUE(lib.doc.ReportWriteFailure(written));
    int imported = 0;
    EXPECT_EQ(CLarkspur2006Doc::StatisticsLibraryUnwritable, lib.doc.ImportStatistics(statistics, imported));
    EXPECT_EQ(0, imported);
    lib.doc.ReportLibraryUnwritable();
    // Queries still browse, shuffled or not, in a play list of the session; the stored one stays.
    for (const wchar_t* query : {L"SELECT * FROM list;", L"SELECT * FROM list ORDER BY random();", L"SELECT * FROM list;"}) {
        ASSERT_TRUE(lib.doc.SetQuery(nullptr, query, true)) << query;
        EXPECT_EQ(2, lib.Scalar(L"SELECT COUNT(*) FROM playlist;")) << query;
    }
    EXPECT_EQ(1, lib.Scalar(L"SELECT COUNT(*) FROM sqlite_master WHERE name='playlist' AND sql LIKE '%tagTitle=''a''%';"));

    ASSERT_EQ(1u, lib.host.messages.size());
    const std::wstring& text = lib.host.messages[0].text;
    EXPECT_NE(std::wstring::npos, text.find(path)) << "names the file";
    for (const wchar_t* lost : {L"評価", L"再生統計", L"追加したファイル", L"プレイリスト"}) EXPECT_NE(std::wstring::npos, text.find(lost));
    EXPECT_TRUE(lib.errors.messages.empty()) << "no database error dialog for these";
    EXPECT_EQ(2, lib.Scalar(L"SELECT COUNT(*) FROM list;")) << "reading goes on";
    EXPECT_EQ(0, lib.Scalar(L"SELECT rating FROM list WHERE file_name='C:\\a.mp3';"));
}

TEST_F(LibraryChanges, NewFileIsInsertedFromItsTags) {
    const long long before = _time64(nullptr);
    std::wstring path = NewFile(L"song.mp3", 1234);
    HandReader reader;
    reader.tags = {{L"TIT2", L"タイトル"}, {L"TPE1", L"A"}, {L"TPE1", L"B"}, {L"TALB", L"Album"},
                   {L"TCON", L"Rock"}, {L"TYER", L"2006"}, {L"TDRC", L"2007"}, {L"COMM", L"c"},
                   {L"TRCK", L"3/12"}, {L"APIC", L"APIC"}, {L"SYLT", L"lyrics"}};
    ASSERT_TRUE(Add(path, reader));
    EXPECT_EQ(L"タイトル", Column(L"tagTitle", path));
    EXPECT_EQ(L"A; B", Column(L"tagArtist", path));
    EXPECT_EQ(L"2006", Column(L"tagDate", path));
    EXPECT_EQ(L"3/12", Column(L"tagTracknumber", path));
    EXPECT_EQ(L"APIC", Column(L"tagAPIC", path));
    EXPECT_EQ(L"lyrics", Column(L"tagLyrics", path));
    EXPECT_EQ(L"song", Column(L"file_title", path));
    EXPECT_EQ(L".mp3", Column(L"file_ext", path));
    EXPECT_EQ(1234, Number(L"file_size", path));
    EXPECT_EQ(215, Number(L"statDuration", path));
    EXPECT_EQ(44100, Number(L"statSamplingrate", path));
    EXPECT_EQ(192000, Number(L"statBitrate", path));
    EXPECT_EQ(1, Number(L"statVBR", path));
    EXPECT_EQ(3, Number(L"infoCodec", path));
    EXPECT_EQ(L"MPEG 1 Layer 3", Column(L"infoCodec_sub", path));
    EXPECT_EQ(32, Number(L"infoTagtype", path));
    EXPECT_EQ(0, Number(L"rating", path));
    // Stamped while it was added.
    EXPECT_LE(before, Number(L"modify", path));
    EXPECT_GE(_time64(nullptr), Number(L"modify", path));
}

TEST_F(LibraryChanges, ReAddingKeepsStatisticsAndRefreshesFileSize) {
    lib.settings.generic.checkFileModify = false;
    std::wstring path = NewFile(L"song.mp3", 100);
    HandReader reader;
    reader.tags = {{L"TIT2", L"old"}};
    ASSERT_TRUE(Add(path, reader));
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"UPDATE list SET gain=1000, rating=40, playcount=7, lastplayed=5000000000;"));
    NewFile(L"song.mp3", 300);
    reader.tags = {{L"TIT2", L"new"}};
    ASSERT_TRUE(Add(path, reader));
    EXPECT_EQ(1, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    EXPECT_EQ(L"new", Column(L"tagTitle", path));
    EXPECT_EQ(1000, Number(L"gain", path));
    EXPECT_EQ(40, Number(L"rating", path));
    EXPECT_EQ(7, Number(L"playcount", path));
    EXPECT_EQ(5000000000LL, Number(L"lastplayed", path));
    EXPECT_EQ(300, Number(L"file_size", path));
}

TEST_F(LibraryChanges, UnchangedFileIsSkippedOnlyWhenTheRowIsStrictlyNewer) {
    std::wstring path = NewFile(L"song.mp3", 10);
    HandReader reader;
    ASSERT_TRUE(Add(path, reader));
    int64_t fileTime = 0;
    ASSERT_TRUE(GetFileModifyTime(path, fileTime));
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"UPDATE list SET modify=" + std::to_wstring(fileTime + 1) + L";"));
    EXPECT_FALSE(Add(path, reader));
    EXPECT_EQ(1, reader.calls);   // not even read
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"UPDATE list SET modify=" + std::to_wstring(fileTime) + L";"));
    EXPECT_TRUE(Add(path, reader));
    EXPECT_EQ(2, reader.calls);
    // With the check off the newer row is read again as well.
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"UPDATE list SET modify=" + std::to_wstring(fileTime + 100) + L";"));
    lib.settings.generic.checkFileModify = false;
    EXPECT_TRUE(Add(path, reader));
    EXPECT_EQ(3, reader.calls);
}

TEST_F(LibraryChanges, FileNamedLikeADeviceIsNeverRead) {
    // What "ファイルの追加" and the folder walk hand over: opening any of these opens a device.
    HandReader reader;
    for (const wchar_t* name : {L"com1.mp3", L"CON.mp3", L"nul.flac", L"Lpt9.OGG", L"aux", L"COM3 .wma"})
        EXPECT_FALSE(Add(lib.dir.file(name), reader)) << name;
    EXPECT_FALSE(Add(L"C:com1.mp3", reader));
    EXPECT_EQ(0, reader.calls);
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    // Names that only begin like a device are files.
    for (const wchar_t* name : {L"com10.mp3", L"console.mp3"}) EXPECT_TRUE(Add(NewFile(name, 10), reader)) << name;
    EXPECT_EQ(2, reader.calls);
}

TEST_F(LibraryChanges, PathWithQuoteFindsItsRow) {
    std::wstring path = NewFile(L"it's.mp3", 10);
    HandReader reader;
    ASSERT_TRUE(Add(path, reader));
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"UPDATE list SET rating=50;"));
    lib.settings.generic.checkFileModify = false;
    ASSERT_TRUE(Add(path, reader));
    EXPECT_EQ(1, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    EXPECT_EQ(50, lib.Scalar(L"SELECT rating FROM list;"));
}

TEST_F(LibraryChanges, UnreadableFileWritesNothing) {
    std::wstring path = NewFile(L"broken.mp3", 10);
    HandReader reader;
    reader.result = 4;
    EXPECT_FALSE(Add(path, reader));
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
}

TEST_F(LibraryChanges, AFailedStepIsNotASuccess) {
    std::wstring path = NewFile(L"song.mp3", 10);
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"CREATE TRIGGER no_insert BEFORE INSERT ON list BEGIN SELECT RAISE(ABORT, 'no'); END;"));
    HandReader reader;
    EXPECT_FALSE(Add(path, reader));
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"DROP TRIGGER no_insert;"));
    ASSERT_TRUE(Add(path, reader));
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"CREATE TRIGGER no_update BEFORE UPDATE ON list BEGIN SELECT RAISE(ABORT, 'no'); END;"));
    lib.settings.generic.checkFileModify = false;
    EXPECT_FALSE(Add(path, reader));
}

TEST_F(LibraryChanges, MissingFileHasSizeZero) {
    HandReader reader;
    std::wstring path = lib.dir.file(L"gone.mp3");
    ASSERT_TRUE(Add(path, reader));
    EXPECT_EQ(0, Number(L"file_size", path));
}

TEST_F(LibraryChanges, AWorkerConnectionWritesWhileTheDocumentLooksUp) {
    CSQlite worker;
    ASSERT_EQ(SQLITE_OK, worker.open(lib.settings.libraryPath));
    lib.settings.sqlite.busyTimeout = 1234;
    EXPECT_TRUE(ApplyPragmas(worker, lib.settings));
    EXPECT_EQ(1234, worker.busy_timeout());
    sqlite3_stmt* wInsert = nullptr;
    sqlite3_stmt* wUpdate = nullptr;
    ASSERT_EQ(SQLITE_OK, worker.prepare(lib.doc.GetSqlInsert(), &wInsert));
    ASSERT_EQ(SQLITE_OK, worker.prepare(lib.doc.GetSqlUpdate(), &wUpdate));
    std::wstring path = NewFile(L"w.mp3", 10);
    HandReader reader;
    ASSERT_TRUE(AddFileToLibrary(wUpdate, path, lib.db(), lib.settings, wInsert, reader.Function()));
    ASSERT_EQ(SQLITE_OK, lib.db().exec(L"UPDATE list SET playcount=3;"));
    lib.settings.generic.checkFileModify = false;
    ASSERT_TRUE(AddFileToLibrary(wUpdate, path, lib.db(), lib.settings, wInsert, reader.Function()));
    EXPECT_EQ(1, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    EXPECT_EQ(3, lib.Scalar(L"SELECT playcount FROM list;"));
    sqlite3_finalize(wInsert);
    sqlite3_finalize(wUpdate);
}

// ---- mapping of tags to columns -------------------------------------------------------

namespace {

TrackRecord Map(int tagType, int flags, std::vector<std::pair<std::wstring, std::wstring>> tags) {
    TTagInfo info;
    info.tagType = tagType;
    info.yearKeyFlags = flags;
    for (auto& t : tags) info.SetTag(t.first, t.second);
    TrackRecord track;
    MapTagInfoToTrack(info, track);
    return track;
}

}  // namespace

TEST(TagMapping, Id3YearByTheYearKeyFlags) {
    auto tags = std::vector<std::pair<std::wstring, std::wstring>>{{L"TYER", L"1999"}, {L"TDRC", L"2001"}};
    EXPECT_EQ(L"1999", Map(32, 0x20, tags).tagDate);
    EXPECT_EQ(L"2001", Map(32, 0x40, tags).tagDate);
    EXPECT_EQ(L"", Map(32, 0x100, tags).tagDate);   // only the low byte counts
    EXPECT_EQ(0x40, Map(32, 0x40, tags).infoTagtype);
}

TEST(TagMapping, TtaKeepsItsYear) {
    TrackRecord t = Map(4096, 4096, {{L"TYER", L"1985"}, {L"TIT2", L"tta"}});
    EXPECT_EQ(L"1985", t.tagDate);
    EXPECT_EQ(L"tta", t.tagTitle);
    EXPECT_EQ(4096, t.infoTagtype);
}

TEST(TagMapping, VorbisCommentsAndApe) {
    auto tags = std::vector<std::pair<std::wstring, std::wstring>>{
        {L"title", L"T"}, {L"Artist", L"A"}, {L"DATE", L"2006"}, {L"TRACKNUMBER", L"4"},
        {L"TRACK", L"5"}, {L"COMMENT", L"C"}, {L"APIC", L"APIC"}};
    TrackRecord ogg = Map(128, 128, tags);
    EXPECT_EQ(L"T", ogg.tagTitle);
    EXPECT_EQ(L"A", ogg.tagArtist);
    EXPECT_EQ(L"4", ogg.tagTracknumber);
    EXPECT_EQ(L"", ogg.tagLyrics);
    EXPECT_EQ(128, ogg.infoTagtype);
    EXPECT_EQ(2048, Map(2048, 0, tags).infoTagtype);
    TrackRecord ape = Map(8192, 8192, tags);
    EXPECT_EQ(L"5", ape.tagTracknumber);
    EXPECT_EQ(L"C", ape.tagComment);
    EXPECT_EQ(8192, ape.infoTagtype);
}

TEST(TagMapping, WmaArtistFallsBackToAlbumArtist) {
    TrackRecord t = Map(512, 512, {{L"Author", L""}, {L"WM/AlbumArtist", L"AA"}, {L"WM/Picture", L"x"},
                                   {L"WM/Year", L"2004"}, {L"DESCRIPTION", L"d"}, {L"WM/Lyrics", L"l"}});
    EXPECT_EQ(L"AA", t.tagArtist);
    EXPECT_EQ(L"APIC", t.tagAPIC);
    EXPECT_EQ(L"2004", t.tagDate);
    EXPECT_EQ(L"d", t.tagComment);
    EXPECT_EQ(L"l", t.tagLyrics);
    EXPECT_EQ(L"BB", Map(512, 512, {{L"Author", L"BB"}, {L"WM/AlbumArtist", L"AA"}}).tagArtist);
    EXPECT_EQ(L"", Map(512, 512, {}).tagAPIC);
}

TEST(TagMapping, WavMp4AndUnknownTypes) {
    TrackRecord wav = Map(256, 256, {{L"TIT2", L"x"}, {L"TITLE", L"y"}});
    EXPECT_EQ(L"", wav.tagTitle);
    EXPECT_EQ(256, wav.infoTagtype);
    TrackRecord mp4 = Map(1024, 1024, {{L"TYER", L"2010"}, {L"APIC", L"20480"}});
    EXPECT_EQ(L"2010", mp4.tagDate);
    EXPECT_EQ(L"20480", mp4.tagAPIC);
    EXPECT_EQ(1024, mp4.infoTagtype);
    TrackRecord unknown = Map(3, 3, {{L"TIT2", L"x"}});
    EXPECT_EQ(L"", unknown.tagTitle);
    EXPECT_EQ(0, unknown.infoTagtype);
}

// ---- the add-files command --------------------------------------------------------------

namespace {

// One second of stereo silence as a PCM WAV file.
std::string WavBytes() { return PcmWaveBytes(2, 44100, std::vector<int16_t>(44100 * 2)); }

}  // namespace

TEST(AddFiles, ChosenFilesAreAddedAndTheViewsHearOfIt) {
    Library lib;
    ASSERT_TRUE(lib.opened);
    CreateDirectoryW(lib.dir.file(L"曲").c_str(), nullptr);
    std::wstring a = lib.dir.file(L"曲\\a.wav"), b = lib.dir.file(L"曲\\b.wav");
    ASSERT_TRUE(testing_support::WriteBytes(a, WavBytes()));
    ASSERT_TRUE(testing_support::WriteBytes(b, WavBytes()));
    FileDialogResult chosen;
    chosen.pathName = lib.dir.file(L"曲");   // several files: the folder
    chosen.files = {a, b, lib.dir.file(L"曲\\missing.wav")};
    lib.host.dialogResults.push_back(chosen);
    lib.doc.OnAddFiles();

    ASSERT_EQ(1u, lib.host.requests.size());
    EXPECT_TRUE(lib.host.requests[0].multiSelect);
    EXPECT_EQ(26101u, lib.host.requests[0].nameBufferChars);
    EXPECT_EQ(L"ファイルの追加", lib.host.requests[0].title);
    EXPECT_EQ(2, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    EXPECT_EQ(256, lib.Scalar(L"SELECT infoTagtype FROM list WHERE file_title='a';"));
    EXPECT_EQ(L".wav", lib.Text(L"SELECT file_ext FROM list WHERE file_title='b';"));
    EXPECT_EQ(5, lib.Scalar(L"SELECT infoCodec FROM list WHERE file_title='a';"));
    ASSERT_EQ(1u, lib.view.hints.size());
    EXPECT_EQ(10, lib.view.hints[0].code);
    EXPECT_FALSE(lib.view.hints[0].clearLists);
    EXPECT_EQ(lib.dir.path(), lib.settings.generic.libraryLatestDir);   // the folder's parent
}

TEST(AddFiles, CancelDoesNothing) {
    Library lib;
    lib.settings.generic.libraryLatestDir = L"C:\\Music\\";
    lib.doc.OnAddFiles();
    ASSERT_EQ(1u, lib.host.requests.size());
    EXPECT_EQ(L"C:\\Music\\", lib.host.requests[0].initialDir);
    EXPECT_TRUE(lib.view.hints.empty());
    EXPECT_EQ(L"C:\\Music\\", lib.settings.generic.libraryLatestDir);
}
