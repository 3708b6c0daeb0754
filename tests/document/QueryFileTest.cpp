#include "document/DocTestSupport.h"
#include "document/QueryFile.h"
#include "support/FailingProfileStore.h"
#include "support/TestFiles.h"
#include <gtest/gtest.h>

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(QueryFile, SaveAndLoadJapaneseSql) {
    TempDir dir;
    std::wstring path = dir.file(L"アルバム.q");
    CQueryFile q;
    q.sql = L"SELECT * FROM list WHERE tagAlbum='日本語 한국어' ORDER BY random();";
    q.sortColumn = 3;
    q.ascending = false;
    ASSERT_TRUE(q.Save(path));
    std::string bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ("\xFF\xFE", bytes.substr(0, 2));   // UTF-16, so every character survives

    CQueryFile r;
    ASSERT_TRUE(r.Load(path));
    EXPECT_EQ(q.sql, r.sql);
    EXPECT_TRUE(r.containsRandom);
    EXPECT_EQ(3, r.sortColumn);
    EXPECT_FALSE(r.ascending);
    std::wstring title;
    ASSERT_TRUE(r.GetTitle(title));
    EXPECT_EQ(L"アルバム", title);
}

TEST(QueryFile, MissingSemicolonAndDefaults) {
    TempDir dir;
    std::wstring path = dir.file(L"a.q");
    ASSERT_TRUE(WriteBytes(path, "[Query]\r\nSQL=SELECT * FROM list\r\n"));
    CQueryFile q;
    ASSERT_TRUE(q.Load(path));
    EXPECT_EQ(L"SELECT * FROM list;", q.sql);
    EXPECT_FALSE(q.containsRandom);
    EXPECT_EQ(-1, q.sortColumn);
    EXPECT_TRUE(q.ascending);
}

TEST(QueryFile, OddSortValues) {
    TempDir dir;
    std::wstring path = dir.file(L"b.q");
    ASSERT_TRUE(WriteBytes(path, "[Query]\r\nSQL=SELECT 1;\r\nSortBy=-2\r\nSortOrder=2\r\n"));
    CQueryFile q;
    ASSERT_TRUE(q.Load(path));
    EXPECT_EQ(-2, q.sortColumn);
    EXPECT_FALSE(q.ascending);   // only 1 is ascending
    ASSERT_TRUE(WriteBytes(path, "[Query]\r\nSQL=SELECT 1;\r\nSortBy=abc\r\nSortOrder=0\r\n"));
    ASSERT_TRUE(q.Load(path));
    EXPECT_EQ(0, q.sortColumn);   // not a number: 0
    EXPECT_FALSE(q.ascending);
    ASSERT_TRUE(WriteBytes(path, "[Query]\r\nSQL=SELECT 1;\r\nSortBy=99\r\nSortOrder=1\r\n"));
    ASSERT_TRUE(q.Load(path));
    EXPECT_EQ(99, q.sortColumn);   // taken as it stands; the comparator keeps the order
    EXPECT_TRUE(q.ascending);
}

TEST(QueryFile, FileWithoutSqlIsUnusable) {
    TempDir dir;
    std::wstring path = dir.file(L"c.q");
    ASSERT_TRUE(WriteBytes(path, "[Query]\r\nSortBy=1\r\n"));
    CQueryFile q;
    EXPECT_FALSE(q.Load(path));
    EXPECT_EQ(path, q.GetPath());
    EXPECT_FALSE(q.Load(dir.file(L"missing.q")));
}

TEST(QueryFile, SaveReplacesTheWholeSection) {
    TempDir dir;
    std::wstring path = dir.file(L"d.q");
    ASSERT_TRUE(WriteBytes(path, "[Query]\r\nSQL=SELECT 1;\r\nOld=1\r\n"));
    CQueryFile q;
    q.sql = L"SELECT\r\n2\nAS n;";   // from the multi-line editor: a profile value is one line
    q.sortColumn = -1;
    q.ascending = true;
    ASSERT_TRUE(q.Save(path));
    CQueryFile r;
    ASSERT_TRUE(r.Load(path));
    EXPECT_EQ(L"SELECT 2 AS n;", r.sql);
    EXPECT_EQ(-1, r.sortColumn);
    EXPECT_TRUE(r.ascending);
    EXPECT_EQ(std::string::npos, ReadBytes(path).find("Old"));
}

TEST(QueryFile, ALongQueryRoundTripsWholeAndAFailedSaveLeavesTheOldFileByteForByte) {
    TempDir dir;
    const std::wstring path = dir.file(L"long.q");
    std::wstring sql = L"SELECT * FROM list WHERE tagTitle IN ('x'";
    for (int i = 0; sql.size() < 6000; ++i) sql += L",'曲" + std::to_wstring(i) + L"'";
    sql += L") ORDER BY tagAlbum;";
    CQueryFile q;
    q.sql = sql;
    q.sortColumn = 5;
    q.ascending = false;
    ASSERT_TRUE(q.Save(path));
    CQueryFile r;
    ASSERT_TRUE(r.Load(path));
    EXPECT_EQ(sql, r.sql);
    EXPECT_EQ(5, r.sortColumn);
    EXPECT_FALSE(r.ascending);

    const std::string before = ReadBytes(path);
    for (const bool failReplace : {false, true}) {
        testing_support::FailingProfileStore store(failReplace);
        q.sql = L"SELECT 1;";
        q.sortColumn = 2;
        EXPECT_FALSE(q.Save(path)) << failReplace;
        EXPECT_EQ(before, ReadBytes(path)) << "the section is never erased first";
        EXPECT_FALSE(testing_support::FileExists(path + L".new"));
    }
}

TEST(QueryFile, ContainsRandom) {
    EXPECT_TRUE(CQueryFile::ContainsRandom(L"select * from list order by random();"));
    EXPECT_TRUE(CQueryFile::ContainsRandom(L"SELECT * FROM list ORDER BY Random() LIMIT 10;"));
    EXPECT_FALSE(CQueryFile::ContainsRandom(L"SELECT * FROM list ORDER BY RANDOM ();"));
    EXPECT_FALSE(CQueryFile::ContainsRandom(L"SELECT * FROM list;"));
}

TEST(QueryFile, LineCommentsBecomeBlockCommentsOutsideLiteralsNamesAndBlocks) {
    const struct {
        const wchar_t* sql;
        const wchar_t* converted;
    } cases[] = {
        {L"a -- c\r\nb", L"a /* c*/\r\nb"},
        {L"a --x\nb --y", L"a /*x*/\nb /*y*/"},
        {L"a -- c\rDELETE FROM list;\nb", L"a /* c\rDELETE FROM list;*/\nb"},
        {L"--", L"/**/"},
        {L"5--3", L"5/*3*/"},
        {L"'--x' -- y", L"'--x' /* y*/"},
        {L"'it''s -- no' --yes", L"'it''s -- no' /*yes*/"},
        {L"\"a--b\" [c--d] `e--f` \"q\"\"--\" ```--` x", L"\"a--b\" [c--d] `e--f` \"q\"\"--\" ```--` x"},
        {L"`` --x", L"`` /*x*/"},
        {L"/* -- inside */ --after", L"/* -- inside */ /*after*/"},
        {L"/*/ -- still inside */", L"/*/ -- still inside */"},
        {L"/* unclosed -- comment", L"/* unclosed -- comment"},
        {L"'unclosed -- literal", L"'unclosed -- literal"},
        {L"'*/' -- a /* b", L"'*/' /* a /* b*/"},
        {L"- -a -", L"- -a -"},
    };
    for (const auto& c : cases) {
        std::wstring converted;
        EXPECT_TRUE(CQueryFile::LineCommentsToBlocks(c.sql, converted)) << c.sql;
        EXPECT_EQ(c.converted, converted) << c.sql;
    }
    std::wstring converted;
    EXPECT_FALSE(CQueryFile::LineCommentsToBlocks(L"SELECT 1 -- a */ b", converted));

    TempDir dir;
    CQueryFile q;
    q.sql = L"SELECT 1;\r\n-- ends early */ here";
    EXPECT_FALSE(q.Save(dir.file(L"e.q")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.file(L"e.q").c_str())) << "nothing written";
}

TEST(QueryFile, AMultiLineQueryWithLineCommentsSelectsTheSameRowsWhenStored) {
    doc_test::Library lib;
    ASSERT_TRUE(lib.opened);
    for (int i = 0; i < 10; ++i) {
        TrackRecord t = doc_test::MakeTrack(L"C:\\m\\" + std::to_wstring(i) + L".mp3", i % 2 ? L"--odd" : L"even");
        t.rating = i * 10;
        ASSERT_TRUE(lib.Insert(t));
    }
    const std::wstring sql =
        L"SELECT count(*) FROM list -- rated rows only\r\n"
        L"WHERE rating >= 30 -- three stars\r\n"
        L"  AND tagTitle <> '--odd' /* a block -- with dashes */\r\n"
        L"  AND \"tagArtist\" IS NOT NULL --last";
    const long long shown = lib.Scalar(sql);
    ASSERT_EQ(lib.Scalar(L"SELECT count(*) FROM list WHERE rating >= 30 AND tagTitle <> '--odd';"), shown);
    ASSERT_GT(shown, 0);

    TempDir dir;
    CQueryFile q;
    q.sql = sql;
    ASSERT_TRUE(q.Save(dir.file(L"rated.q")));
    CQueryFile stored;
    ASSERT_TRUE(stored.Load(dir.file(L"rated.q")));
    EXPECT_EQ(std::wstring::npos, stored.sql.find(L"\n"));
    EXPECT_EQ(shown, lib.Scalar(stored.sql));
}
