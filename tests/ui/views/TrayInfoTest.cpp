// The texts and flags of the tray icon's tip and balloon.
#include "ui/views/TrayInfo.h"
#include <gtest/gtest.h>
#include <shellapi.h>

namespace {
TrackRecord Track(const std::wstring& artist, const std::wstring& album, int rating) {
    TrackRecord t;
    t.tagArtist = artist;
    t.tagAlbum = album;
    t.rating = rating;
    return t;
}
}  // namespace

TEST(TrayInfo, DefaultBalloonTextHasArtistAlbumAndStars) {
    struct Case {
        const wchar_t* artist;
        const wchar_t* album;
        int rating;
        const wchar_t* text;
    } cases[] = {
        {L"A", L"", 30, L"A\r\n★★★"},
        {L"A", L"B", 50, L"A\r\nB\r\n★★★★★"},
        {L"", L"B", 0, L"B"},
        {L"", L"", 20, L"★★"},
        {L"A", L"B", 9, L"A\r\nB\r\n"},   // a rating below ten shows no star
        {L"", L"", 0, L""},
    };
    for (const Case& c : cases) EXPECT_EQ(DefaultBalloonText(Track(c.artist, c.album, c.rating)), c.text) << c.rating;
}

TEST(TrayInfo, BalloonTextIsTrimmedWithoutEmptyLinesAndNeverEmpty) {
    EXPECT_EQ(CleanBalloonText(L"\r\n\r\n  A\r\n\r\nB  \r\n\r\n"), L"A\r\nB");
    EXPECT_EQ(CleanBalloonText(L"A\r\n\r\n\r\nB"), L"A\r\nB");
    EXPECT_EQ(CleanBalloonText(L"A\r\nB\r\n"), L"A\r\nB");
    EXPECT_EQ(CleanBalloonText(L""), L" ");
    EXPECT_EQ(CleanBalloonText(L"\r\n  \r\n"), L" ");
    EXPECT_EQ(CleanBalloonText(std::wstring(300, L'x')).size(), kBalloonTextMax);
    // A cut never leaves half of a surrogate pair.
    std::wstring pairs;
    for (int i = 0; i < 200; ++i) pairs += L"\U0001F3B5";
    const std::wstring cut = CleanBalloonText(pairs);
    EXPECT_EQ(cut.size(), 254u);
    EXPECT_FALSE(IS_HIGH_SURROGATE(cut.back()));
}

TEST(TrayInfo, BalloonTitleFallsBackToTheTitleThenTheFileTitle) {
    TrackRecord t;
    t.tagTitle = L"曲";
    t.file_title = L"file";
    EXPECT_EQ(DefaultBalloonTitle(t, L"テンプレート"), L"テンプレート");
    EXPECT_EQ(DefaultBalloonTitle(t, L""), L"曲");
    t.tagTitle.clear();
    EXPECT_EQ(DefaultBalloonTitle(t, L""), L"file");
    EXPECT_EQ(DefaultBalloonTitle(t, std::wstring(80, L't')).size(), kBalloonTitleMax);
}

TEST(TrayInfo, FirstUpdateAndIconFlags) {
    const TrayFirstUpdate tipAndBalloon = FirstTrayUpdate(true, true, L"Spur", L"曲 - Spur");
    EXPECT_EQ(tipAndBalloon.flags, static_cast<UINT>(NIF_TIP | NIF_INFO));
    EXPECT_EQ(tipAndBalloon.tip, L"Spur");
    const TrayFirstUpdate tipOnly = FirstTrayUpdate(true, false, L"Spur", L"曲 - Spur");
    EXPECT_EQ(tipOnly.flags, static_cast<UINT>(NIF_TIP));
    EXPECT_EQ(tipOnly.tip, L"曲 - Spur");
    const TrayFirstUpdate balloonOnly = FirstTrayUpdate(false, true, L"Spur", L"曲 - Spur");
    EXPECT_EQ(balloonOnly.flags, static_cast<UINT>(NIF_INFO));
    EXPECT_FALSE(balloonOnly.setsTip);
    EXPECT_EQ(FirstTrayUpdate(false, false, L"Spur", L"曲 - Spur").flags, static_cast<UINT>(NIF_TIP));

    EXPECT_EQ(BalloonIconFlags(NIIF_INFO, false, false), static_cast<DWORD>(NIIF_USER | NIIF_NOSOUND));
    EXPECT_EQ(BalloonIconFlags(NIIF_INFO, true, false), static_cast<DWORD>(NIIF_INFO | NIIF_NOSOUND));
    EXPECT_EQ(BalloonIconFlags(NIIF_ERROR, false, false), static_cast<DWORD>(NIIF_ERROR | NIIF_NOSOUND));
    EXPECT_EQ(BalloonIconFlags(NIIF_ERROR, false, true), static_cast<DWORD>(NIIF_ERROR)) << "the caller's icon, with sound";
}
