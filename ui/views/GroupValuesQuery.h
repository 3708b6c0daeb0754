#pragma once
#include "ui/views/GroupRows.h"
#include <string>
#include <vector>

class CSQlite;

// The group view's grouping query over `list` for a key column: each value with its average
// rating ("AVG_RATING" leaves ratings of 0 out) and its number of files.
std::wstring GroupValuesSql(const std::wstring& key, bool ignoreRating00);

// Steps that query into `values` in the order SQLite gives. A NULL value belongs to no group;
// its files count in `totalFiles` only. A query that cannot be prepared gives no values.
void ReadGroupValues(CSQlite& db, const std::wstring& key, bool ignoreRating00, std::vector<GroupValue>& values,
                     int& totalFiles);
