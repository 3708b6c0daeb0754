#include "document/PlaylistCache.h"
#include <algorithm>
#include <random>

namespace {

std::mt19937& Generator() {
    static std::mt19937 generator;
    return generator;
}

}  // namespace

void SeedPlaylistRandom(unsigned seed) {
    Generator().seed(seed);
}

int PlaylistRandom(int n) {
    std::uniform_int_distribution<int> pick(0, n - 1);
    return pick(Generator());
}

void PlaylistCache::Clear() {
    rows.clear();
    current = -1;
    m_sortKeys.Drop();
}

void PlaylistCache::Sort(int column, bool ascending, bool albumRule, bool artistRule,
                         bool ratingRule) {
    if (column == -1) return;
    TrackRecord* playing = Current();
    int64_t playingRowid = playing ? playing->rowid : 0;

    TrackSortKey key;
    key.column = column;
    key.ascending = ascending;
    key.albumRule = albumRule;
    key.artistRule = artistRule;
    key.ratingRule = ratingRule;
    m_sortKeys.Sort(rows, key);

    if (playing) {
        int index = 0;
        FindByRowid(playingRowid, index);
        current = index;
    }
}

TrackRecord* PlaylistCache::FindByRowid(int64_t rowid, int& index) const {
    for (index = 0; index < size(); ++index)
        if (rows[index]->rowid == rowid) return rows[index].get();
    return nullptr;
}

int PlaylistCache::NextIndex(int mode) {
    const int n = size();
    if (n == 0) {
        current = -1;
        return -1;
    }
    if (mode == PlayModeRandom) {
        current = PlaylistRandom(n);
        return current;
    }
    if (current == -1) {
        current = 0;
        return 0;
    }
    if (mode < 0) return -1;
    switch (mode) {
    case PlayModeSingle:
    case PlayModeSingleRepeat:
    case PlayModeListRepeat:
        current = current + 1 >= n ? 0 : current + 1;
        return current;
    case PlayModeList:
        current = current + 1 >= n ? -1 : current + 1;
        return current;
    default:
        return -1;
    }
}

int PlaylistCache::PrevIndex(int mode) {
    const int n = size();
    if (n == 0) {
        current = -1;
        return -1;
    }
    if (mode < 0) return -1;
    if (mode <= PlayModeList) {
        if (current == -1) current = 0;
        else current = (current - 1 < 0 || current - 1 >= n) ? n - 1 : current - 1;
        return current;
    }
    if (mode == PlayModeRandom) {
        current = PlaylistRandom(n);
        return current;
    }
    return -1;
}
