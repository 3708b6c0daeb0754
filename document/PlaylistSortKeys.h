#pragma once
#include "app/ColumnModel.h"
#include "app/TrackRecord.h"
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

// The folded keys of a play list's case-insensitive text columns (title, artist, album, file
// name, file path), made once per row and column when a sort first needs them and kept in the
// rows' order, and the sort that compares them. The order is exactly that of
// CompareTracksByColumn, at a fraction of its cost.
class PlaylistSortKeys {
public:
    using Rows = std::deque<std::unique_ptr<TrackRecord>>;

    // Forgets every key (the rows were reloaded or changed).
    void Drop();

    // Stable sort of `rows` by `key`, as std::stable_sort with CompareTracksByColumn.
    void Sort(Rows& rows, const TrackSortKey& key);

private:
    enum TextKind { KindTitle, KindArtist, KindAlbum, KindFileName, KindFilePath, KindCount };
    struct Span {
        uint32_t offset = 0;
        uint32_t length = 0;
    };
    struct Column {
        bool built = false;
        std::vector<wchar_t> chars;
        std::vector<Span> spans;   // one per row, in the rows' order
    };

    // Keeps the keys only while they still belong to exactly these rows in this order.
    void Validate(const Rows& rows);
    const Column& Keys(const Rows& rows, TextKind kind);

    std::vector<const TrackRecord*> m_owners;   // the rows the keys were made for
    unsigned m_generation = 0;
    Column m_columns[KindCount];
};
