#include "tags/mp4/Mp4File.h"
#include <taglib/mp4atom.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/tfilestream.h>

namespace mp4 {

namespace {

// bytes × 8 over the duration in time-scale units, without overflowing on the way.
uint64_t BitsPerSecond(uint64_t bytes, uint32_t timeScale, uint64_t duration) {
    const long double bits = static_cast<long double>(bytes) * 8.0L * timeScale / duration;
    return bits < 18446744073709551615.0L ? static_cast<uint64_t>(bits) : UINT64_MAX;
}

uint32_t Be32(const TagLib::ByteVector& d, size_t at) {
    return (static_cast<uint32_t>(static_cast<unsigned char>(d[at])) << 24) |
           (static_cast<uint32_t>(static_cast<unsigned char>(d[at + 1])) << 16) |
           (static_cast<uint32_t>(static_cast<unsigned char>(d[at + 2])) << 8) |
           static_cast<uint32_t>(static_cast<unsigned char>(d[at + 3]));
}
uint64_t Be64(const TagLib::ByteVector& d, size_t at) {
    return (static_cast<uint64_t>(Be32(d, at)) << 32) | Be32(d, at + 4);
}
uint16_t Be16(const TagLib::ByteVector& d, size_t at) {
    return static_cast<uint16_t>((static_cast<unsigned char>(d[at]) << 8) | static_cast<unsigned char>(d[at + 1]));
}

// The payload of an atom (after its 8- or 16-byte header); empty when the file holds fewer
// bytes than the atom claims.
TagLib::ByteVector ReadPayload(TagLib::File& file, const TagLib::MP4::Atom* atom) {
    if (!atom || atom->length < 8 || atom->offset < 0) return TagLib::ByteVector();
    file.seek(atom->offset);
    TagLib::ByteVector data = file.readBlock(static_cast<unsigned long>(atom->length));
    if (data.size() != static_cast<unsigned int>(atom->length)) return TagLib::ByteVector();
    size_t header = Be32(data, 0) == 1 ? 16 : 8;
    if (data.size() < header) return TagLib::ByteVector();
    return data.mid(static_cast<unsigned int>(header));
}

bool ReadMediaHeader(TagLib::File& file, TagLib::MP4::Atom* trak, TrackInfo& track) {
    TagLib::ByteVector mdhd = ReadPayload(file, trak->find("mdia", "mdhd"));
    if (mdhd.size() < 4) return false;
    if (mdhd[0] == 1) {
        if (mdhd.size() < 4 + 16 + 4 + 8) return false;
        track.timeScale = Be32(mdhd, 20);
        track.duration = Be64(mdhd, 24);
    } else {
        if (mdhd.size() < 4 + 8 + 4 + 4) return false;
        track.timeScale = Be32(mdhd, 12);
        track.duration = Be32(mdhd, 16);
    }
    return true;
}

void ReadSampleDescription(TagLib::File& file, TagLib::MP4::Atom* trak, TrackInfo& track) {
    TagLib::ByteVector stsd = ReadPayload(file, trak->find("mdia", "minf", "stbl", "stsd"));
    // version and flags, entry count, then the first entry: size, type, and for sound
    // 16 bytes later its channel count.
    if (stsd.size() < 8 + 8 || Be32(stsd, 4) == 0) return;
    uint32_t entrySize = Be32(stsd, 8);
    track.mediaDataName.assign(stsd.data() + 12, 4);
    if (entrySize >= 26 && stsd.size() >= 8 + 26) track.channels = Be16(stsd, 8 + 24);
}

uint64_t TotalSampleBytes(TagLib::File& file, TagLib::MP4::Atom* trak) {
    TagLib::ByteVector stsz = ReadPayload(file, trak->find("mdia", "minf", "stbl", "stsz"));
    if (stsz.size() < 12) return 0;
    uint32_t fixedSize = Be32(stsz, 4);
    uint64_t count = Be32(stsz, 8);
    if (fixedSize != 0) return fixedSize * count;
    if (stsz.size() < 12 + count * 4) return 0;   // a table longer than the atom
    uint64_t total = 0;
    for (uint64_t i = 0; i < count; ++i) total += Be32(stsz, static_cast<size_t>(12 + i * 4));
    return total;
}

void ReadText(const TagLib::MP4::ItemMap& items, const char* key, TextItem& item) {
    auto it = items.find(key);
    if (it == items.end()) return;
    TagLib::StringList list = it->second.toStringList();
    if (list.isEmpty()) return;
    item.present = true;
    item.utf8 = list.front().to8Bit(true);
}

}  // namespace

uint64_t Mp4File::DurationSeconds(const TrackInfo& track) {
    return track.timeScale ? track.duration / track.timeScale : 0;
}

std::unique_ptr<Mp4File> Mp4File::Open(const std::wstring& path) {
    // Read-only: several readers of one file may be at work at once.
    TagLib::FileStream stream(path.c_str(), true);
    TagLib::MP4::File file(&stream, false);
    if (!file.isOpen() || !file.isValid()) return nullptr;

    std::unique_ptr<Mp4File> result(new Mp4File);
    TagLib::MP4::Atoms atoms(&file);
    TagLib::MP4::Atom* moov = atoms.find("moov");
    if (!moov) return nullptr;
    for (TagLib::MP4::Atom* trak : moov->findall("trak")) {
        TrackInfo track;
        if (!ReadMediaHeader(file, trak, track)) continue;
        ReadSampleDescription(file, trak, track);
        uint64_t bytes = TotalSampleBytes(file, trak);
        if (track.duration != 0 && track.timeScale != 0)
            track.bitRate = BitsPerSecond(bytes, track.timeScale, track.duration);
        result->m_tracks.push_back(track);
    }

    TagLib::MP4::Tag* tag = file.tag();
    if (tag) {
        const TagLib::MP4::ItemMap& items = tag->itemMap();
        Metadata& m = result->m_metadata;
        ReadText(items, "\251nam", m.name);
        ReadText(items, "\251ART", m.artist);
        ReadText(items, "\251alb", m.album);
        ReadText(items, "\251day", m.year);
        ReadText(items, "\251gen", m.genre);
        ReadText(items, "\251cmt", m.comment);
        auto trkn = items.find("trkn");
        if (trkn != items.end() && trkn->second.isValid()) {
            TagLib::MP4::Item::IntPair pair = trkn->second.toIntPair();
            m.hasTrack = true;
            m.track = pair.first;
            m.totalTracks = pair.second;
        }
        auto covr = items.find("covr");
        if (covr != items.end()) {
            TagLib::MP4::CoverArtList covers = covr->second.toCoverArtList();
            if (!covers.isEmpty()) {
                TagLib::ByteVector data = covers.front().data();
                m.coverArt.assign(data.data(), data.data() + data.size());
            }
        }
    }
    return result;
}

}  // namespace mp4
