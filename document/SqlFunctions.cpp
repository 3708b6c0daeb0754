#include "document/SqlFunctions.h"
#include "app/PathParts.h"
#include "app/SearchText.h"
#include <cstdint>
#include <ctime>
#include <string>

namespace {

const wchar_t* ArgText(sqlite3_value* v, int& length) {
    const void* text = sqlite3_value_text16(v);
    length = text ? sqlite3_value_bytes16(v) / static_cast<int>(sizeof(wchar_t)) : 0;
    return static_cast<const wchar_t*>(text);
}

void ResultText(sqlite3_context* ctx, const std::wstring& text) {
    sqlite3_result_text16(ctx, text.c_str(), static_cast<int>(text.size() * sizeof(wchar_t)),
                          SQLITE_TRANSIENT);
}

void CurrentTimestamp64(sqlite3_context* ctx, int argc, sqlite3_value**) {
    if (argc != 0) return;
    sqlite3_result_int64(ctx, _time64(nullptr));
}

void LCMapUpper(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1) return;
    int length = 0;
    const wchar_t* text = ArgText(argv[0], length);
    if (!text) return;   // NULL stays NULL
    std::wstring mapped;
    NormalizeSearchText(std::wstring(text, length), mapped);
    ResultText(ctx, mapped);
}

// Aggregate context of AVG_RATING: 64 bits, so that no count of int values wraps the sum.
struct AvgRatingState {
    int64_t count;
    int64_t sum;
};

void AvgRatingStep(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1) return;
    auto* state = static_cast<AvgRatingState*>(sqlite3_aggregate_context(ctx, sizeof(AvgRatingState)));
    if (!state) return;
    int value = sqlite3_value_int(argv[0]);
    if (value == 0) return;
    state->count += 1;
    state->sum += value;
}

void AvgRatingFinal(sqlite3_context* ctx) {
    auto* state = static_cast<AvgRatingState*>(sqlite3_aggregate_context(ctx, 0));
    if (!state || state->count == 0) {
        sqlite3_result_double(ctx, 0.0);
        return;
    }
    sqlite3_result_double(ctx, static_cast<double>(state->sum) / state->count);
}

void CurrentPathName(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1) return;
    int length = 0;
    const wchar_t* text = ArgText(argv[0], length);
    if (!text) return;
    std::wstring path(text, length);
    PathParts parts;
    if (!SplitPath(parts, path)) {
        ResultText(ctx, path);
        return;
    }
    std::wstring folder = parts.drive + parts.dir;
    size_t last = folder.rfind(L'\\');
    if (last == std::wstring::npos) {
        ResultText(ctx, path);
        return;
    }
    folder.resize(last);
    last = folder.rfind(L'\\');
    if (last == std::wstring::npos) {
        ResultText(ctx, path);
        return;
    }
    ResultText(ctx, folder.substr(last + 1));
}

}  // namespace

bool RegisterSqlFunctions(sqlite3* db) {
    // -1: any number of arguments; the functions set no result for a wrong count.
    if (sqlite3_create_function16(db, L"current_timestamp64", -1, SQLITE_UTF16, nullptr,
                                  CurrentTimestamp64, nullptr, nullptr) != SQLITE_OK)
        return false;
    if (sqlite3_create_function16(db, L"LCMapUpper", -1, SQLITE_UTF16, nullptr, LCMapUpper,
                                  nullptr, nullptr) != SQLITE_OK)
        return false;
    if (sqlite3_create_function16(db, L"AVG_RATING", -1, SQLITE_UTF16, nullptr, nullptr,
                                  AvgRatingStep, AvgRatingFinal) != SQLITE_OK)
        return false;
    if (sqlite3_create_function16(db, L"current_path_name", -1, SQLITE_UTF16, nullptr,
                                  CurrentPathName, nullptr, nullptr) != SQLITE_OK)
        return false;
    return true;
}
