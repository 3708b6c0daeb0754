#include "ui/views/BandLayout.h"
#include <commctrl.h>
#include <cstdio>
#include <cstring>

namespace {
// Field offsets of the 32-bit band information structure.
constexpr size_t kOffSize = 0;
constexpr size_t kOffMask = 4;
constexpr size_t kOffStyle = 8;
constexpr size_t kOffWidth = 44;
constexpr size_t kOffId = 52;

constexpr UINT kRecordMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;   // 0x141
// Every band-style bit that a stored record may carry.
constexpr UINT kKnownStyles = RBBS_BREAK | RBBS_FIXEDSIZE | RBBS_CHILDEDGE | RBBS_HIDDEN |
                              RBBS_NOVERT | RBBS_FIXEDBMP | RBBS_VARIABLEHEIGHT |
                              RBBS_GRIPPERALWAYS | RBBS_USECHEVRON | RBBS_HIDETITLE |
                              RBBS_TOPALIGN;
constexpr UINT kMaxWidth = 32767;

void Put(std::vector<BYTE>& bytes, size_t offset, UINT value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<BYTE>(value >> (8 * i));
}

UINT Get(const std::vector<BYTE>& bytes, size_t offset) {
    UINT value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<UINT>(bytes[offset + i]) << (8 * i);
    return value;
}
}  // namespace

std::wstring BandEntryName(int index) {
    wchar_t name[32];
    std::swprintf(name, 32, L"BandInfo_%02d", index);
    return name;
}

std::vector<BYTE> EncodeBandRecord(const StoredBand& band) {
    std::vector<BYTE> record(kBandRecordSize, 0);
    Put(record, kOffSize, static_cast<UINT>(kBandRecordSize));
    Put(record, kOffMask, kRecordMask);
    Put(record, kOffStyle, band.style & ~RBBS_NOGRIPPER);
    Put(record, kOffWidth, band.width);
    Put(record, kOffId, band.id);
    return record;
}

namespace {
// The band a record of the right size names, whatever its other fields hold.
bool RecordBandId(const std::vector<BYTE>& record, UINT& id) {
    if (record.size() != kBandRecordSize || Get(record, kOffSize) != kBandRecordSize) return false;
    id = Get(record, kOffId);
    return id < BandIdCount;
}
}  // namespace

bool DecodeBandRecord(const std::vector<BYTE>& record, StoredBand& band) {
    UINT id = 0;
    if (!RecordBandId(record, id)) return false;
    if ((Get(record, kOffMask) & kRecordMask) != kRecordMask) return false;
    const UINT width = Get(record, kOffWidth);
    if (width > kMaxWidth) return false;
    band.style = Get(record, kOffStyle) & kKnownStyles;
    band.width = width;
    band.id = id;
    band.defaulted = false;
    return true;
}

BandPlan PlanBandLayout(int count, const std::function<bool(int, std::vector<BYTE>&)>& read) {
    BandPlan plan;
    if (count > 0) {
        bool named[BandIdCount] = {};
        bool anyNamed = false;
        std::vector<size_t> holes;   // places of records that name no band
        const int last = count < kMaxStoredBands ? count : kMaxStoredBands;
        for (int i = 0; i < last; ++i) {
            std::vector<BYTE> record;
            StoredBand band;
            const bool present = read(i, record);
            if (!present || !DecodeBandRecord(record, band)) {
                UINT id = 0;
                if (!present || !RecordBandId(record, id)) {
                    holes.push_back(plan.bands.size());
                    plan.bands.push_back(StoredBand{kDefaultBandStyle, 0, BandIdCount, true});
                    continue;
                }
                band = StoredBand{kDefaultBandStyle, 0, id, true};
            }
            if (named[band.id]) continue;
            named[band.id] = anyNamed = true;
            plan.bands.push_back(band);
        }
        if (anyNamed) {
            size_t hole = 0;
            for (UINT id = 0; id < BandIdCount; ++id) {
                if (named[id]) continue;
                const StoredBand band{kDefaultBandStyle, 0, id, true};
                if (hole < holes.size()) plan.bands[holes[hole++]] = band;
                else plan.bands.push_back(band);
            }
            std::vector<StoredBand> bands;
            for (const StoredBand& band : plan.bands)
                if (band.id < BandIdCount) bands.push_back(band);
            plan.bands.swap(bands);
            plan.stored = true;
            return plan;
        }
    }
    plan.bands.clear();
    plan.stored = false;
    for (UINT id = 0; id < BandIdCount; ++id) plan.bands.push_back(StoredBand{kDefaultBandStyle, 0, id, true});
    return plan;
}
