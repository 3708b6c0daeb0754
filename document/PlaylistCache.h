#pragma once
#include "app/ColumnModel.h"
#include "app/TrackRecord.h"
#include "document/PlaylistSortKeys.h"
#include <deque>
#include <memory>

// Play modes ("RepeartMode").
enum PlayMode {
    PlayModeSingle = 0,
    PlayModeSingleRepeat = 1,
    PlayModeListRepeat = 2,
    PlayModeList = 3,
    PlayModeRandom = 4,
};

// The rows of a play list in display order, with the current row (-1 for none).
class PlaylistCache {
public:
    std::deque<std::unique_ptr<TrackRecord>> rows;
    int current = -1;

    int size() const { return static_cast<int>(rows.size()); }
    TrackRecord* at(int index) const {
        return index >= 0 && index < size() ? rows[index].get() : nullptr;
    }
    TrackRecord* Current() const { return at(current); }

    // Deletes every row; no current row.
    void Clear();

    // Stable sort by one column; the current row stays current. Column -1 does nothing.
    // The folded keys of text columns are kept for the next sort.
    void Sort(int column, bool ascending, bool albumRule, bool artistRule, bool ratingRule);
    // Forgets the kept keys: call after changing a row's texts in place. (Adding, removing or
    // reordering rows outside Sort is noticed without it.)
    void DropSortKeys() { m_sortKeys.Drop(); }

    // The first row with that rowid, its position in `index`; null (index = row count)
    // when none matches.
    TrackRecord* FindByRowid(int64_t rowid, int& index) const;

    // The row to play next / previously in a play mode, made current; -1 for none.
    int NextIndex(int mode);
    int PrevIndex(int mode);

private:
    PlaylistSortKeys m_sortKeys;
};

// The process's random generator of random play: seeded once with the time when the
// first play list is created, and covering any play-list length.
void SeedPlaylistRandom(unsigned seed);
// A number from 0 to n - 1 (n > 0).
int PlaylistRandom(int n);
