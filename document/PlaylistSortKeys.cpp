#include "document/PlaylistSortKeys.h"
#include "app/NoCaseKey.h"
#include <algorithm>

namespace {

// What the comparison of one column needs of a row, gathered once per sort.
struct Entry {
    const wchar_t* text = nullptr;    // the folded key, or the text itself for exact columns
    uint32_t textLength = 0;
    const wchar_t* album = nullptr;   // folded album, for the rules
    uint32_t albumLength = 0;
    int64_t number = 0;
    int track = 0;
    uint32_t row = 0;
};

int CompareText(const Entry& a, const Entry& b) {
    return CompareCodeUnits(a.text, a.textLength, b.text, b.textLength);
}

int CompareAlbum(const Entry& a, const Entry& b) {
    return CompareCodeUnits(a.album, a.albumLength, b.album, b.albumLength);
}

// CompareTracksByColumn's ascending test on the gathered values.
bool LessAscending(const TrackSortKey& key, const Entry& a, const Entry& b) {
    switch (key.column) {
    case ColTitle:
    case ColFileName:
    case ColFilePath:
    case ColYear:
    case ColGenre:
    case ColComment:
        return CompareText(a, b) < 0;
    case ColArtist: {
        int c = CompareText(a, b);
        if (!key.artistRule || c != 0) return c < 0;
        c = CompareAlbum(a, b);
        if (c != 0) return c < 0;
        return a.track < b.track;
    }
    case ColAlbum: {
        const int c = CompareText(a, b);
        if (!key.albumRule || c != 0) return c < 0;
        return a.track < b.track;
    }
    case ColCodec:
        return a.number > b.number;   // higher code first
    case ColRating: {
        if (!key.ratingRule || a.number != b.number) return a.number < b.number;
        const int c = CompareAlbum(a, b);
        if (c != 0) return c > 0;
        return a.track > b.track;
    }
    default:   // the numeric columns; VBR as 0 and 1
        return a.number < b.number;
    }
}

int64_t NumberOf(const TrackRecord& t, int column) {
    switch (column) {
    case ColTrackNumber: return TrackNumberValue(t.tagTracknumber);
    case ColFileSize: return t.file_size;
    case ColLastPlayed: return t.lastplayed;
    case ColCodec: return t.infoCodec;
    case ColBitrate: return t.statBitrate;
    case ColChannels: return t.statChannels;
    case ColSamplingRate: return t.statSamplingrate;
    case ColLength: return t.statDuration;
    case ColPlayCount: return t.playcount;
    case ColVbr: return t.statVBR ? 1 : 0;
    case ColRating: return t.rating;
    default: return 0;
    }
}

}  // namespace

void PlaylistSortKeys::Drop() {
    m_owners.clear();
    m_owners.shrink_to_fit();
    for (Column& c : m_columns) c = Column();
}

void PlaylistSortKeys::Validate(const Rows& rows) {
    const unsigned generation = NoCaseKeyGeneration();
    bool valid = generation == m_generation && m_owners.size() == rows.size();
    for (size_t i = 0; valid && i < rows.size(); ++i) valid = m_owners[i] == rows[i].get();
    if (valid) return;
    Drop();
    m_generation = generation;
    m_owners.reserve(rows.size());
    for (const auto& row : rows) m_owners.push_back(row.get());
}

const PlaylistSortKeys::Column& PlaylistSortKeys::Keys(const Rows& rows, TextKind kind) {
    Column& column = m_columns[kind];
    if (column.built) return column;
    column.spans.reserve(rows.size());
    std::wstring joined;
    for (const auto& row : rows) {
        const TrackRecord& t = *row;
        const std::wstring* text = nullptr;
        switch (kind) {
        case KindTitle: text = &t.displayTitle; break;
        case KindArtist: text = &t.tagArtist; break;
        case KindAlbum: text = &t.tagAlbum; break;
        case KindFileName:
            joined = t.file_title + t.file_ext;
            text = &joined;
            break;
        default: text = &t.file_name; break;
        }
        Span span;
        span.offset = static_cast<uint32_t>(column.chars.size());
        AppendNoCaseKey(text->data(), text->size(), column.chars);
        span.length = static_cast<uint32_t>(column.chars.size() - span.offset);
        column.spans.push_back(span);
    }
    column.built = true;
    return column;
}

void PlaylistSortKeys::Sort(Rows& rows, const TrackSortKey& key) {
    if (key.column < 0 || key.column > ColLastType || rows.size() < 2) return;
    Validate(rows);

    const Column* text = nullptr;
    const Column* album = nullptr;
    switch (key.column) {
    case ColTitle: text = &Keys(rows, KindTitle); break;
    case ColArtist:
        text = &Keys(rows, KindArtist);
        if (key.artistRule) album = &Keys(rows, KindAlbum);
        break;
    case ColAlbum: text = &Keys(rows, KindAlbum); break;
    case ColFileName: text = &Keys(rows, KindFileName); break;
    case ColFilePath: text = &Keys(rows, KindFilePath); break;
    case ColRating:
        if (key.ratingRule) album = &Keys(rows, KindAlbum);
        break;
    default: break;
    }
    const bool track = (key.column == ColArtist && key.artistRule) || (key.column == ColAlbum && key.albumRule) ||
                       (key.column == ColRating && key.ratingRule);

    std::vector<Entry> entries(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const TrackRecord& t = *rows[i];
        Entry& e = entries[i];
        e.row = static_cast<uint32_t>(i);
        if (text) {
            const Span s = text->spans[i];
            e.text = text->chars.data() + s.offset;
            e.textLength = s.length;
        } else if (key.column == ColYear || key.column == ColGenre || key.column == ColComment) {
            const std::wstring& exact =
                key.column == ColYear ? t.tagDate : key.column == ColGenre ? t.tagGenre : t.tagComment;
            e.text = exact.data();
            e.textLength = static_cast<uint32_t>(exact.size());
        } else {
            e.number = NumberOf(t, key.column);
        }
        if (album) {
            const Span s = album->spans[i];
            e.album = album->chars.data() + s.offset;
            e.albumLength = s.length;
        }
        if (track) e.track = TrackNumberValue(t.tagTracknumber);
    }
    std::stable_sort(entries.begin(), entries.end(), [&key](const Entry& a, const Entry& b) {
        return key.ascending ? LessAscending(key, a, b) : LessAscending(key, b, a);
    });

    // The rows and every kept key take the new order, in place: cycle by cycle, each position
    // receives what the sorted order puts there (nothing is allocated, so nothing can fail
    // half-way).
    std::vector<uint32_t> from(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) from[i] = entries[i].row;
    for (size_t start = 0; start < from.size(); ++start) {
        if (from[start] == start) continue;
        std::unique_ptr<TrackRecord> row = std::move(rows[start]);
        const TrackRecord* owner = m_owners[start];
        Span spans[KindCount];
        for (int k = 0; k < KindCount; ++k)
            if (m_columns[k].built) spans[k] = m_columns[k].spans[start];
        size_t to = start;
        while (from[to] != start) {
            const size_t next = from[to];
            rows[to] = std::move(rows[next]);
            m_owners[to] = m_owners[next];
            for (Column& c : m_columns)
                if (c.built) c.spans[to] = c.spans[next];
            from[to] = static_cast<uint32_t>(to);
            to = next;
        }
        rows[to] = std::move(row);
        m_owners[to] = owner;
        for (int k = 0; k < KindCount; ++k)
            if (m_columns[k].built) m_columns[k].spans[to] = spans[k];
        from[to] = static_cast<uint32_t>(to);
    }
}
