#include "app/TrackRecord.h"
#include <gtest/gtest.h>

TEST(TrackRecord, NewRecordHasZeroNumbersAndEmptyTexts) {
    TrackRecord t;
    EXPECT_EQ(0, t.rowid);
    EXPECT_EQ(0, t.spare);
    EXPECT_EQ(0, t.file_size);
    EXPECT_EQ(0, t.statDuration);
    EXPECT_EQ(0, t.statChannels);
    EXPECT_EQ(0, t.statSamplingrate);
    EXPECT_EQ(0, t.statBitrate);
    EXPECT_FALSE(t.statVBR);
    EXPECT_EQ(0, t.infoCodec);
    EXPECT_EQ(0, t.infoTagtype);
    EXPECT_EQ(0, t.gain);
    EXPECT_EQ(0, t.rating);
    EXPECT_EQ(0, t.playcount);
    EXPECT_EQ(0, t.lastplayed);
    EXPECT_TRUE(t.displayTitle.empty());
    EXPECT_TRUE(t.file_name.empty());
    EXPECT_TRUE(t.tagLyrics.empty());
    EXPECT_TRUE(t.infoCodec_sub.empty());
}

TEST(TrackRecord, CopyIsIndependent) {
    TrackRecord a;
    a.rowid = 7;
    a.tagTitle = L"曲名";
    a.lastplayed = 1LL << 40;
    TrackRecord b = a;
    b.tagTitle = L"other";
    EXPECT_EQ(7, b.rowid);
    EXPECT_EQ(1LL << 40, b.lastplayed);
    EXPECT_EQ(L"曲名", a.tagTitle);
}
