#include "app/PathParts.h"
#include <gtest/gtest.h>

namespace {

void ExpectSplit(const std::wstring& path, const wchar_t* drive, const std::wstring& dir, const std::wstring& fname,
                 const wchar_t* ext) {
    PathParts parts;
    ASSERT_TRUE(SplitPath(parts, path)) << path;
    EXPECT_EQ(drive, parts.drive) << path;
    EXPECT_EQ(dir, parts.dir) << path;
    EXPECT_EQ(fname, parts.fname) << path;
    EXPECT_EQ(ext, parts.ext) << path;
}

}  // namespace

TEST(SplitPath, SplitsOrdinaryPaths) {
    ExpectSplit(L"C:\\Music\\Artist\\01 曲.mp3", L"C:", L"\\Music\\Artist\\", L"01 曲", L".mp3");
    ExpectSplit(L"C:\\Music\\", L"C:", L"\\Music\\", L"", L"");
    ExpectSplit(L"C:file.txt", L"C:", L"", L"file", L".txt");
    ExpectSplit(L"name.tar.gz", L"", L"", L"name.tar", L".gz");
    ExpectSplit(L"\\\\server\\share\\a.b\\song", L"", L"\\\\server\\share\\a.b\\", L"song", L"");
    ExpectSplit(L"D:/mixed/slash.flac", L"D:", L"/mixed/", L"slash", L".flac");
    ExpectSplit(L".hidden", L"", L"", L"", L".hidden");
}

TEST(SplitPath, AnyLengthSplits) {
    std::wstring dir = L"\\";
    while (dir.size() < 1000) dir += L"とても長いフォルダ名のフォルダ\\";
    std::wstring fname(400, L'x');
    ExpectSplit(L"E:" + dir + fname + L".ogg", L"E:", dir, fname, L".ogg");
}

TEST(SplitPath, EmptyPathFails) {
    PathParts parts{L"x", L"y", L"z", L"w"};
    EXPECT_FALSE(SplitPath(parts, L""));
    EXPECT_TRUE(parts.drive.empty() && parts.dir.empty() && parts.fname.empty() && parts.ext.empty());
}

TEST(GetUniversalPath, LocalAndSharePathsAreUnchanged) {
    for (const wchar_t* unchanged : {L"C:\\windows\\system32\\kernel32.dll", L"\\\\nas\\share\\a.mp3"}) {
        std::wstring path = unchanged;
        EXPECT_FALSE(GetUniversalPath(path)) << unchanged;
        EXPECT_EQ(unchanged, path);
    }
}
