#include "document/DistinctValues.h"
#include <cmath>
#include <cstring>

namespace {

uint64_t Hash(char kind, const char* bytes, size_t size) {
    uint64_t h = 1469598103934665603ull ^ static_cast<unsigned char>(kind);
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, bytes + i, 8);
        h = (h ^ chunk) * 1099511628211ull;
        h ^= h >> 29;
    }
    for (; i < size; ++i) h = (h ^ static_cast<unsigned char>(bytes[i])) * 1099511628211ull;
    return h ^ (h >> 32);
}

}  // namespace

void DistinctValues::Add(sqlite3_stmt* stmt) {
    // Column calls only: each takes the connection's mutex. The calls on a value of
    // sqlite3_column_value take none, and their conversions allocate from the connection's
    // memory, which the other threads' statements on the same connection use at the same time.
    const int type = sqlite3_column_type(stmt, m_column);
    if (type == SQLITE_NULL) return;
    char number[sizeof(double)];
    const char* bytes = number;
    size_t size = sizeof(number);
    char kind = 'T';
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        const double real = type == SQLITE_FLOAT ? sqlite3_column_double(stmt, m_column) : 0;
        // A real with an integer value equals that integer.
        if (type == SQLITE_INTEGER || (real == std::floor(real) && real >= -9223372036854775808.0 &&
                                       real < 9223372036854775808.0)) {
            const sqlite3_int64 integer =
                type == SQLITE_INTEGER ? sqlite3_column_int64(stmt, m_column) : static_cast<sqlite3_int64>(real);
            kind = 'N';
            std::memcpy(number, &integer, sizeof(integer));
        } else {
            kind = 'R';
            std::memcpy(number, &real, sizeof(real));
        }
    } else if (type == SQLITE_BLOB) {
        kind = 'B';
        bytes = static_cast<const char*>(sqlite3_column_blob(stmt, m_column));
        size = bytes ? static_cast<size_t>(sqlite3_column_bytes(stmt, m_column)) : 0;
    } else {
        // The text as stored, before the reader converts it.
        bytes = static_cast<const char*>(m_utf16 ? sqlite3_column_text16(stmt, m_column)
                                                 : sqlite3_column_text(stmt, m_column));
        size = !bytes ? 0
               : m_utf16 ? static_cast<size_t>(sqlite3_column_bytes16(stmt, m_column))
                         : static_cast<size_t>(sqlite3_column_bytes(stmt, m_column));
    }
    Insert(kind, bytes, size);
}

bool DistinctValues::Same(const Slot& slot, uint64_t hash, char kind, const char* bytes, size_t size) const {
    return slot.hash == hash && slot.size == size && m_bytes[slot.offset] == kind &&
           (size == 0 || std::memcmp(m_bytes.data() + slot.offset + 1, bytes, size) == 0);
}

void DistinctValues::Insert(char kind, const char* bytes, size_t size) {
    const uint64_t hash = Hash(kind, bytes, size);
    size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = m_slots[i];
        if (!slot.used) break;
        if (Same(slot, hash, kind, bytes, size)) return;
    }
    if (2 * (m_count + 1) > m_slots.size()) {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        mask = m_slots.size() - 1;
        for (const Slot& s : old) {
            if (!s.used) continue;
            size_t i = s.hash & mask;
            while (m_slots[i].used) i = (i + 1) & mask;
            m_slots[i] = s;
        }
    }
    size_t i = hash & mask;
    while (m_slots[i].used) i = (i + 1) & mask;
    Slot& slot = m_slots[i];
    slot.used = true;
    slot.hash = hash;
    slot.offset = m_bytes.size();
    slot.size = size;
    m_bytes.push_back(kind);
    m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    ++m_count;
}
