#pragma once
#include <sqlite3.h>
#include <cstddef>
#include <cstdint>
#include <vector>

// The distinct values of one result column over the rows a statement steps, as "GROUP BY" under
// the binary collation tells them apart: NULL is no value; integers and reals are numbers,
// equal when their values are; texts and blobs compare by their stored bytes, each apart from
// the others. An open-addressing set over the values' bytes: a value met before costs a hash
// and a compare.
class DistinctValues {
public:
    // `utf16`: the database stores its texts in UTF-16 (else UTF-8).
    DistinctValues(int column, bool utf16) : m_column(column), m_utf16(utf16), m_slots(1024) {}

    // Counts the column's value in the statement's current row (before anything converts it).
    void Add(sqlite3_stmt* stmt);
    uint64_t Count() const { return m_count; }

private:
    struct Slot {
        uint64_t hash = 0;
        size_t offset = 0;   // of the kind byte in m_bytes
        size_t size = 0;     // payload bytes
        bool used = false;
    };

    bool Same(const Slot& slot, uint64_t hash, char kind, const char* bytes, size_t size) const;
    void Insert(char kind, const char* bytes, size_t size);

    int m_column;
    bool m_utf16;
    std::vector<Slot> m_slots;   // a power of two, at most half full
    std::vector<char> m_bytes;   // each value's kind byte and bytes
    uint64_t m_count = 0;
};
