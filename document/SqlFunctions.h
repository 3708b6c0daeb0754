#pragma once
#include <sqlite3.h>

// Registers current_timestamp64, LCMapUpper, AVG_RATING and current_path_name on a
// connection, stopping at the first failure. True when all four are registered.
bool RegisterSqlFunctions(sqlite3* db);
