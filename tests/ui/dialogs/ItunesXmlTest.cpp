// The iTunes export read end to end through MSXML.
#include "DialogTestSupport.h"
#include "support/TestFiles.h"
#include "ui/dialogs/ImportReaders.h"
#include <gtest/gtest.h>
#include <objbase.h>

namespace {

std::string TrackDict(int id, const std::string& name, const std::string& kind, const std::string& type,
                      const std::string& location, int rating) {
    return "\t\t<key>" + std::to_string(id) + "</key>\n\t\t<dict>\n"
           "\t\t\t<key>Track ID</key><integer>" + std::to_string(id) + "</integer>\n"
           "\t\t\t<key>Name</key><string>" + name + "</string>\n"
           "\t\t\t<key>Kind</key><string>" + kind + "</string>\n"
           "\t\t\t<key>Size</key><integer>3000000</integer>\n"
           "\t\t\t<key>Rating</key><integer>" + std::to_string(rating) + "</integer>\n"
           "\t\t\t<key>Compilation</key><true/>\n"
           "\t\t\t<key>Track Type</key><string>" + type + "</string>\n"
           "\t\t\t<key>Location</key><string>" + location + "</string>\n"
           "\t\t</dict>\n";
}

std::string Library(const std::string& tracks) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n<dict>\n\t<key>Major Version</key><integer>1</integer>\n"
           "\t<key>Tracks</key>\n\t<dict>\n" + tracks + "\t</dict>\n</dict>\n</plist>\n";
}

class ComScope {
public:
    ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { CoUninitialize(); }
};

}  // namespace

TEST(ItunesXml, ExportIsReadEndToEndAndUnusableTracksAreSkipped) {
    ComScope com;
    lib_test::MessageRecorder messages;
    testing_support::TempDir dir;
    const std::string xml = Library(
        TrackDict(1, "最初 &amp; 曲", "MPEG オーディオファイル", "File",
                  "file://localhost/C:/Music/%E6%97%A5%E6%9C%AC/100%25.mp3", 80) +
        TrackDict(2, "Radio", "MPEG オーディオストリーム", "URL", "http://radio.example/", 0) +
        TrackDict(3, "Movie", "QuickTime ムービーファイル", "File", "file://localhost/C:/m.mov", 0) +
        TrackDict(4, "Mac", "AAC オーディオファイル", "File", "file://localhost/Users/me/a.m4a", 0) +
        TrackDict(5, "最後", "AAC オーディオファイル", "File", "file://localhost/D:/a%20b+c.m4a", 100));
    const std::wstring path = dir.file(L"ライブラリ.xml");
    ASSERT_TRUE(testing_support::WriteBytes(path, xml));

    std::vector<TrackRecord> read;
    ImportReadResult result = ReadItunesLibraryXml(path, [&](TrackRecord&& r) { read.push_back(std::move(r)); });
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(2, result.taken);
    EXPECT_EQ(3, result.skipped);
    ASSERT_EQ(2u, read.size());
    EXPECT_EQ(L"最初 & 曲", read[0].tagTitle);
    EXPECT_EQ(L"C:\\Music\\日本\\100%.mp3", read[0].file_name);
    EXPECT_EQ(40, read[0].rating);
    EXPECT_EQ(3000000, read[0].file_size);
    EXPECT_EQ(3, read[0].infoCodec);
    EXPECT_EQ(L"D:\\a b+c.m4a", read[1].file_name);
    EXPECT_EQ(50, read[1].rating);
}

TEST(ItunesXml, HostileLocationsAreSkippedAndImpossibleNumbersKeptInRange) {
    ComScope com;
    lib_test::MessageRecorder messages;
    testing_support::TempDir dir;
    const char* const hostile[] = {
        "file://localhost/C:/Music/a%00/../../x.mp3", "file://./PhysicalDrive0", "file://./pipe/x",
        "file://%3F/C:/x.mp3", "file://C:/x.mp3", "file://localhost/C:/Music/CON.mp3",
        "file://localhost/C:/../../Windows/x.mp3", "file://localhost/C:/a.mp3:hidden", "file://nas//a.mp3",
    };
    std::string tracks;
    int id = 1;
    for (const char* location : hostile) tracks += TrackDict(id++, "bad", "MPEG オーディオファイル", "File", location, 0);
    tracks += "\t\t<key>99</key>\n\t\t<dict>\n"
              "\t\t\t<key>Kind</key><string>MPEG オーディオファイル</string>\n"
              "\t\t\t<key>Track Type</key><string>File</string>\n"
              "\t\t\t<key>Size</key><integer>-3000000</integer>\n"
              "\t\t\t<key>Total Time</key><integer>-1000</integer>\n"
              "\t\t\t<key>Bit Rate</key><integer>99999999</integer>\n"
              "\t\t\t<key>Sample Rate</key><integer>-44100</integer>\n"
              "\t\t\t<key>Rating</key><integer>1000</integer>\n"
              "\t\t\t<key>Play Count</key><integer>-5</integer>\n"
              "\t\t\t<key>Location</key><string>file://localhost/C:/Music/./a/../good.mp3</string>\n"
              "\t\t</dict>\n";
    const std::wstring path = dir.file(L"hostile.xml");
    ASSERT_TRUE(testing_support::WriteBytes(path, Library(tracks)));

    std::vector<TrackRecord> read;
    const ImportReadResult result = ReadItunesLibraryXml(path, [&](TrackRecord&& r) { read.push_back(std::move(r)); });
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(1, result.taken);
    EXPECT_EQ(static_cast<int>(sizeof hostile / sizeof hostile[0]), result.skipped);
    ASSERT_EQ(1u, read.size());
    const TrackRecord& r = read[0];
    EXPECT_EQ(L"C:\\Music\\good.mp3", r.file_name);
    EXPECT_EQ(0, r.file_size);
    EXPECT_EQ(0, r.statDuration);
    EXPECT_EQ(0, r.statBitrate);
    EXPECT_EQ(0, r.statSamplingrate);
    EXPECT_EQ(50, r.rating);
    EXPECT_EQ(0, r.playcount);
}

TEST(ItunesXml, ExportsInOtherEncodingsAndLayoutsAreRead) {
    ComScope com;
    lib_test::MessageRecorder messages;
    testing_support::TempDir dir;
    const std::string track = TrackDict(1, "Caf\xC3\xA9", "MPEG", "File", "file://localhost/C:/a.mp3", 0);
    // UTF-8 with its byte-order mark.
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"bom.xml"), "\xEF\xBB\xBF" + Library(track)));
    // UTF-16 in either byte order, with its byte-order mark or without one; Latin-1,
    // Windows-1252 and "UTF8" as declared: all decoded before MSXML parses them.
    std::wstring wide = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><plist><dict><key>Tracks</key><dict>"
                        L"<key>1</key><dict><key>Name</key><string>Caf\x00E9</string><key>Kind</key><string>MPEG</string>"
                        L"<key>Track Type</key><string>File</string>"
                        L"<key>Location</key><string>file://localhost/C:/a.mp3</string></dict></dict></dict></plist>";
    std::string utf16le, utf16be;
    for (wchar_t c : wide) {
        utf16le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        utf16be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    }
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"utf16.xml"), "\xFF\xFE" + utf16le));
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"utf16be.xml"), "\xFE\xFF" + utf16be));
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"utf16nobom.xml"), utf16le));
    const std::string plist = "<plist><dict><key>Tracks</key><dict>" +
                              TrackDict(1, "Caf\xE9", "MPEG", "File", "file://localhost/C:/a.mp3", 0) + "</dict></dict></plist>";
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"latin1.xml"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n" + plist));
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"cp1252.xml"), "<?xml version='1.0' encoding='windows-1252'?>" + plist));
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"utf8.xml"), "<?xml version=\"1.0\" encoding=\"UTF8\"?>" +
                                                                       Library(track).substr(Library(track).find("?>") + 2)));
    // The tracks below other elements, after comments, instructions and an empty dictionary
    // outside any dictionary: still the first dictionary inside a dictionary.
    ASSERT_TRUE(testing_support::WriteBytes(
        dir.file(L"nested.xml"),
        "<?xml version=\"1.0\"?>\n<!-- note --><?app x?><plist><dict/><array><string>x</string><dict><!-- c -->"
        "<key>Tracks</key><dict>" + track + "</dict></dict></array></plist>"));
    for (const wchar_t* name : {L"bom.xml", L"utf16.xml", L"utf16be.xml", L"utf16nobom.xml", L"latin1.xml", L"cp1252.xml",
                                L"utf8.xml", L"nested.xml"}) {
        std::vector<TrackRecord> read;
        const ImportReadResult result =
            ReadItunesLibraryXml(dir.file(name), [&](TrackRecord&& r) { read.push_back(std::move(r)); });
        EXPECT_FALSE(result.failed) << name;
        ASSERT_EQ(1u, read.size()) << name;
        EXPECT_EQ(L"Caf\x00E9", read[0].tagTitle) << name;
        EXPECT_EQ(L"C:\\a.mp3", read[0].file_name) << name;
    }
    // Shift_JIS, which Windows reads through its code page 932.
    ASSERT_TRUE(testing_support::WriteBytes(
        dir.file(L"sjis.xml"), "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><plist><dict><key>Tracks</key><dict>" +
                                   TrackDict(1, "\x93\xFA\x96\x7B", "MPEG", "File", "file://localhost/C:/a.mp3", 0) +
                                   "</dict></dict></plist>"));
    std::vector<TrackRecord> read;
    EXPECT_FALSE(ReadItunesLibraryXml(dir.file(L"sjis.xml"), [&](TrackRecord&& r) { read.push_back(std::move(r)); }).failed);
    ASSERT_EQ(1u, read.size());
    EXPECT_EQ(L"日本", read[0].tagTitle);
    EXPECT_TRUE(messages.texts.empty());
}

TEST(ItunesXml, FilesThatCannotBeReadAreReportedWithTheirMessage) {
    ComScope com;
    lib_test::MessageRecorder messages;
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"broken.xml"), std::string("<plist><dict>")));
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"flat.xml"), std::string("<plist><dict><key>a</key></dict></plist>")));
    // A NUL byte ends no text early: the file is not well-formed.
    ASSERT_TRUE(testing_support::WriteBytes(
        dir.file(L"nul.xml"), std::string("<plist><dict><key>T</key><dict></dict></dict></plist>") + '\0' + "<x>"));
    // Files that claim or look like UTF-8 or UTF-16 and are not: refused as they are read.
    const std::string good = Library(TrackDict(1, "a", "MPEG", "File", "file://localhost/C:/a.mp3", 0));
    const std::string plist = good.substr(good.find("<plist"));
    const struct {
        const wchar_t* name;
        std::string bytes;
    } damaged[] = {
        {L"invalid.xml", plist + "\xFF"},                                                    // no declaration
        {L"declared.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + plist + "\xC3"},
        {L"bom.xml", "\xEF\xBB\xBF" + plist + "\xED\xA0\x80"},                                // an encoded surrogate
        {L"contradicted.xml", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + plist},
        {L"odd.xml", std::string("\xFF\xFE<\0p\0l", 7)},
        {L"widenul.xml", std::string("\xFF\xFE<\0p\0/\0>\0\0\0<\0x\0/\0>\0", 20)},
        {L"sjis.xml", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>" + plist + "\x81"},   // a lead byte alone
    };
    for (const auto& d : damaged) ASSERT_TRUE(testing_support::WriteBytes(dir.file(d.name), d.bytes)) << d.name;
    int count = 0;
    auto sink = [&](TrackRecord&&) { ++count; };
    EXPECT_TRUE(ReadItunesLibraryXml(dir.file(L"missing.xml"), sink).failed);
    EXPECT_TRUE(ReadItunesLibraryXml(dir.file(L"broken.xml"), sink).failed);
    EXPECT_TRUE(ReadItunesLibraryXml(dir.file(L"flat.xml"), sink).failed);
    EXPECT_TRUE(ReadItunesLibraryXml(dir.file(L"nul.xml"), sink).failed);
    for (const auto& d : damaged) EXPECT_TRUE(ReadItunesLibraryXml(dir.file(d.name), sink).failed) << d.name;
    EXPECT_EQ(0, count);
    std::vector<std::wstring> expected{L"XML load error.", L"XML load error.", L"XML format error.", L"XML load error."};
    expected.insert(expected.end(), sizeof damaged / sizeof damaged[0], L"XML load error.");
    EXPECT_EQ(expected, messages.texts);
    for (UINT type : messages.types) EXPECT_EQ(UINT(MB_ICONERROR), type & MB_ICONMASK);
}
