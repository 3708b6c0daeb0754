#pragma once
#include <deque>
#include <string>

struct QueryHistoryEntry {
    std::wstring sql;
    std::wstring title;
};

// The queries run in this session, for back and forward: at most 50 entries and the
// current index (-1 while empty). The navigate toolbar reads both and sets `current`.
class CQueryHistory {
public:
    static const int kMaxEntries = 50;

    std::deque<QueryHistoryEntry> entries;
    int current = -1;

    // Records a query that has just run. An entry with the same SQL (letter case aside)
    // moves to the end; otherwise the entry goes after the current one.
    void Record(const QueryHistoryEntry& entry);

    bool CanGoBack() const { return !entries.empty() && current != 0; }
    bool CanGoForward() const {
        return !entries.empty() && current != static_cast<int>(entries.size()) - 1;
    }
};
