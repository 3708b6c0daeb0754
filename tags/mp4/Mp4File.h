#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mp4 {

// One track of the movie, as its headers describe it.
struct TrackInfo {
    uint64_t duration = 0;     // in the track's time scale
    uint32_t timeScale = 0;    // units per second
    uint64_t bitRate = 0;      // average, bits per second (UINT64_MAX when it does not fit)
    int channels = 0;          // of the first sample description
    std::string mediaDataName; // four-character type of the first sample description, e.g. "mp4a"
};

// A metadata text: UTF-8, present or not.
struct TextItem {
    bool present = false;
    std::string utf8;
};

struct Metadata {
    TextItem name, artist, album, year, genre, comment;
    bool hasTrack = false;
    int track = 0;
    int totalTracks = 0;
    std::vector<unsigned char> coverArt;   // the first picture; empty when there is none
};

// Read-only access to an MP4 file's tracks and metadata.
class Mp4File {
public:
    // Null when the file cannot be opened or is not an MP4 file.
    static std::unique_ptr<Mp4File> Open(const std::wstring& path);

    int TrackCount() const { return static_cast<int>(m_tracks.size()); }
    const TrackInfo& Track(int index) const { return m_tracks[static_cast<size_t>(index)]; }
    const Metadata& Tags() const { return m_metadata; }

    // Duration converted to whole seconds (truncated).
    static uint64_t DurationSeconds(const TrackInfo& track);

private:
    std::vector<TrackInfo> m_tracks;
    Metadata m_metadata;
};

}  // namespace mp4
