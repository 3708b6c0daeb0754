#include "ui/views/BandLayout.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <map>

namespace {
struct FakeRecords {
    std::map<int, std::vector<BYTE>> entries;
    int reads = 0;
    std::function<bool(int, std::vector<BYTE>&)> reader() {
        return [this](int i, std::vector<BYTE>& out) {
            ++reads;
            auto it = entries.find(i);
            if (it == entries.end()) return false;
            out = it->second;
            return true;
        };
    }
};

std::vector<UINT> Ids(const BandPlan& plan) {
    std::vector<UINT> ids;
    for (const StoredBand& b : plan.bands) ids.push_back(b.id);
    return ids;
}

void PutU32(std::vector<BYTE>& r, size_t offset, UINT v) {
    for (int i = 0; i < 4; ++i) r[offset + i] = static_cast<BYTE>(v >> (8 * i));
}
}  // namespace

TEST(BandLayout, RecordHasThe32BitLayoutWithoutTheGripperBit) {
    const std::vector<BYTE> r = EncodeBandRecord({RBBS_GRIPPERALWAYS | RBBS_NOGRIPPER | RBBS_BREAK, 345, 4});
    ASSERT_EQ(r.size(), 80u);
    std::vector<BYTE> expected(80, 0);
    PutU32(expected, 0, 80);
    PutU32(expected, 4, 0x141);
    PutU32(expected, 8, RBBS_GRIPPERALWAYS | RBBS_BREAK);
    PutU32(expected, 44, 345);
    PutU32(expected, 52, 4);
    EXPECT_EQ(r, expected);

    StoredBand back;
    ASSERT_TRUE(DecodeBandRecord(r, back));
    EXPECT_EQ(back.style, (UINT)(RBBS_GRIPPERALWAYS | RBBS_BREAK));
    EXPECT_EQ(back.width, 345u);
    EXPECT_EQ(back.id, 4u);
    EXPECT_EQ(BandEntryName(0), L"BandInfo_00");
    EXPECT_EQ(BandEntryName(12), L"BandInfo_12");
}

TEST(BandLayout, DamagedRecordsAreRefused) {
    const std::vector<BYTE> good = EncodeBandRecord({RBBS_GRIPPERALWAYS, 100, 2});
    std::vector<std::vector<BYTE>> bad;
    bad.push_back({});
    bad.push_back(std::vector<BYTE>(good.begin(), good.begin() + 79));   // short
    std::vector<BYTE> longer = good;
    longer.resize(100);   // the size of the structure on 64-bit Windows
    bad.push_back(longer);
    std::vector<BYTE> r = good;
    PutU32(r, 0, 100);    // wrong size field
    bad.push_back(r);
    r = good;
    PutU32(r, 4, RBBIM_STYLE | RBBIM_ID);   // no width in the mask
    bad.push_back(r);
    r = good;
    PutU32(r, 52, 6);     // no such band
    bad.push_back(r);
    r = good;
    PutU32(r, 52, 0xFFFFFFFF);
    bad.push_back(r);
    r = good;
    PutU32(r, 44, 0x80000000);   // a negative width
    bad.push_back(r);
    for (size_t i = 0; i < bad.size(); ++i) {
        StoredBand band;
        EXPECT_FALSE(DecodeBandRecord(bad[i], band)) << "case " << i;
    }
    // Unknown style bits and the no-gripper bit are dropped, not taken.
    r = good;
    PutU32(r, 8, 0xFFFFFFFF);
    StoredBand band;
    ASSERT_TRUE(DecodeBandRecord(r, band));
    EXPECT_EQ(band.style & RBBS_NOGRIPPER, 0u);
    EXPECT_EQ(band.style & ~0xFFFu, 0u);
}

TEST(BandLayout, PlanFollowsTheStoredOrderAndReplacesWhatCannotBeRead) {
    FakeRecords f;
    f.entries[0] = EncodeBandRecord({RBBS_GRIPPERALWAYS, 500, BandSeek});
    f.entries[1] = EncodeBandRecord({RBBS_GRIPPERALWAYS, 0, BandMenuBar});
    // 2 missing
    f.entries[3] = std::vector<BYTE>(13, 0xCC);                            // damaged
    f.entries[4] = EncodeBandRecord({RBBS_GRIPPERALWAYS, 50, BandMenuBar});  // named twice
    f.entries[5] = EncodeBandRecord({RBBS_BREAK | RBBS_HIDDEN, 220, BandSearch});
    const BandPlan plan = PlanBandLayout(6, f.reader());
    EXPECT_TRUE(plan.stored);
    // The two records that name no band give their places to the bands no record names, in
    // id order; the one left over follows.
    EXPECT_EQ(Ids(plan), (std::vector<UINT>{BandSeek, BandMenuBar, BandNavigate, BandLibrary, BandSearch, BandPlayback}));
    EXPECT_EQ(plan.bands[0].width, 500u);
    EXPECT_FALSE(plan.bands[0].defaulted);
    EXPECT_EQ(plan.bands[1].width, 0u) << "the first record of a band wins";
    EXPECT_EQ(plan.bands[4].style, (UINT)(RBBS_BREAK | RBBS_HIDDEN));
    for (size_t i : {2, 3, 5}) {
        EXPECT_TRUE(plan.bands[i].defaulted) << i;
        EXPECT_EQ(plan.bands[i].style, kDefaultBandStyle) << i;
    }
}

TEST(BandLayout, OneDamagedRecordGivesItsBandsDefaultInItsPlace) {
    // The stored order with the menu bar last, as a user may drag it.
    const UINT order[] = {BandNavigate, BandSearch, BandLibrary, BandPlayback, BandSeek, BandMenuBar};
    auto layout = [&order] {
        FakeRecords f;
        for (int i = 0; i < 6; ++i) f.entries[i] = EncodeBandRecord({RBBS_GRIPPERALWAYS, 100u + i, order[i]});
        return f;
    };
    std::vector<BYTE> wide = EncodeBandRecord({RBBS_GRIPPERALWAYS, 0, BandMenuBar});
    PutU32(wide, 44, 32768);   // a width no band has
    struct Case {
        const char* what;
        std::vector<BYTE> record;
    };
    const Case cases[] = {{"width 32768", wide},
                          {"cut short", std::vector<BYTE>(wide.begin(), wide.begin() + 40)},
                          {"every byte damaged", std::vector<BYTE>(80, 0xEE)}};
    for (const Case& c : cases) {
        FakeRecords f = layout();
        f.entries[5] = c.record;
        const BandPlan plan = PlanBandLayout(6, f.reader());
        EXPECT_TRUE(plan.stored) << c.what;
        EXPECT_EQ(Ids(plan), std::vector<UINT>(std::begin(order), std::end(order))) << c.what;
        ASSERT_EQ(plan.bands.size(), 6u) << c.what;
        EXPECT_TRUE(plan.bands[5].defaulted) << c.what;
        EXPECT_EQ(plan.bands[5].style, kDefaultBandStyle) << c.what;
        EXPECT_EQ(plan.bands[0].width, 100u) << c.what;
    }
    // A record that is not hexadecimal reads as missing: the menu bar takes its place.
    FakeRecords f = layout();
    f.entries.erase(5);
    EXPECT_EQ(Ids(PlanBandLayout(6, f.reader())), std::vector<UINT>(std::begin(order), std::end(order)));
}

TEST(BandLayout, MissingZeroAndHopelessCounts) {
    FakeRecords none;
    BandPlan plan = PlanBandLayout(-1, none.reader());
    EXPECT_FALSE(plan.stored);
    EXPECT_EQ(Ids(plan), (std::vector<UINT>{0, 1, 2, 3, 4, 5}));
    for (const StoredBand& b : plan.bands) EXPECT_EQ(b.style, kDefaultBandStyle);
    EXPECT_EQ(none.reads, 0);

    // 0 is also what a count that is not a number reads as: the default layout.
    FakeRecords one;
    one.entries[0] = EncodeBandRecord({0, 10, BandLibrary});
    for (int count : {0, -7}) {
        plan = PlanBandLayout(count, one.reader());
        EXPECT_FALSE(plan.stored) << count;
        EXPECT_EQ(Ids(plan), (std::vector<UINT>{0, 1, 2, 3, 4, 5})) << count;
    }

    // Every record damaged: the default layout, so the menu bar is never lost.
    FakeRecords damaged;
    damaged.entries[0] = std::vector<BYTE>(80, 0xFF);
    plan = PlanBandLayout(3, damaged.reader());
    EXPECT_FALSE(plan.stored);
    EXPECT_EQ(plan.bands.size(), 6u);

    // A huge count is read only as far as any layout can reach; the bands it does not name
    // follow the one it does.
    FakeRecords huge;
    huge.entries[0] = EncodeBandRecord({0, 10, BandLibrary});
    plan = PlanBandLayout(2000000000, huge.reader());
    EXPECT_EQ(Ids(plan), (std::vector<UINT>{BandLibrary, 0, 1, 2, 4, 5}));
    EXPECT_EQ(huge.reads, kMaxStoredBands);
}
