#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

// The rebar layout that "toolbar.ini" keeps in its section "Rebar": "BandCount" and one
// "BandInfo_%02d" record per band index.

// Band ids of the main window's rebar.
enum MainBandId {
    BandMenuBar = 0,
    BandNavigate = 1,
    BandSearch = 2,
    BandLibrary = 3,
    BandPlayback = 4,
    BandSeek = 5,
    BandIdCount = 6
};

// What a record keeps of one band.
struct StoredBand {
    UINT style = 0;
    UINT width = 0;
    UINT id = 0;
    // The band's default (style and width as the bar gives them) stands here, not a record.
    bool defaulted = false;
};

// A record is the band information structure of 32-bit Windows (80 bytes), whatever the
// size of the structure in this build; only the fields named below are used.
constexpr size_t kBandRecordSize = 80;
// The style kept for the main window's bands when no layout is stored.
constexpr UINT kDefaultBandStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP;

// "BandInfo_00", "BandInfo_01", ...
std::wstring BandEntryName(int index);

// The record of `band`: size 80, mask style + size + id, the style without the no-gripper
// bit, the width and the id; every other field 0.
std::vector<BYTE> EncodeBandRecord(const StoredBand& band);
// Reads a record back. False for anything but an 80-byte record that says so in its size
// field, carries style, size and id in its mask, and names one of the six bands with a
// plausible width. The style keeps only band-style bits, never the no-gripper bit.
bool DecodeBandRecord(const std::vector<BYTE>& record, StoredBand& band);

// The bands to put into the rebar, in order, and whether their style and width came from
// the file (else the default layout: every band once, in id order, with the default style).
struct BandPlan {
    std::vector<StoredBand> bands;
    bool stored = false;
};

// Plans the layout from "BandCount" (-1 when missing, 0 when not a number) and a reader of
// the records by index (false when a record is missing or not hexadecimal). A band named
// twice is added once. A record that cannot be read is replaced by the default of its band:
// the band it names when its id can still be read, else, in id order, a band that no record
// names; bands still unnamed at the end follow the stored ones. So a damaged file never takes
// a bar away for good (the file is saved with every band at exit). A count that is not
// positive, or of which no record can be read, gives the default layout.
BandPlan PlanBandLayout(int count, const std::function<bool(int index, std::vector<BYTE>& record)>& read);

// No stored layout names more bands than this; a larger count is read this far.
constexpr int kMaxStoredBands = 32;
