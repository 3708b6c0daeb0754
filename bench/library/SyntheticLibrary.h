#pragma once
#include "app/TrackRecord.h"
#include <cstdint>
#include <random>
#include <string>

// Makes library rows that look like a real collection: Japanese and ASCII artists,
// albums and titles of realistic lengths, folder paths of about 60-110 characters, a few
// thousand artists and albums, statistics on part of the rows. The same seed gives the
// same rows.
class SyntheticLibrary {
public:
    explicit SyntheticLibrary(uint32_t seed = 20060401u);

    // Row number `index` (0-based); rows are made in order.
    TrackRecord Next(int index);

private:
    std::wstring Words(int minWords, int maxWords, bool japanese);
    std::wstring ArtistName(int artist);
    std::wstring AlbumName(int artist, int album);
    int Uniform(int low, int high);

    std::mt19937 m_random;
};

// The word that the search benchmark looks for (in about 1-2 % of the titles).
extern const wchar_t* const kSearchWord;
