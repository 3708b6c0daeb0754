#include "document/QueryHistory.h"
#include <cwchar>

void CQueryHistory::Record(const QueryHistoryEntry& entry) {
    int last = static_cast<int>(entries.size()) - 1;
    bool found = false;
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (_wcsicmp(it->sql.c_str(), entry.sql.c_str()) == 0) {
            entries.erase(it);
            found = true;
            break;
        }
    }
    if (found) {
        entries.push_back(entry);
        current = static_cast<int>(entries.size()) - 1;
    } else if (current == -1 || current == last) {
        entries.push_back(entry);
        current = static_cast<int>(entries.size()) - 1;
    } else {
        entries.insert(entries.begin() + current + 1, entry);
        current += 1;
    }
    if (static_cast<int>(entries.size()) > kMaxEntries) {
        if (current != 0) {
            entries.pop_front();
            current -= 1;
        } else {
            entries.pop_back();
        }
    }
}
