// Measures the library core against the same work done bare, in one run:
//   library_bench.exe [rows]      (default 100000)
// Child runs for the memory measure: library_bench.exe --memory real|bare <library.db>
#include "BareRows.h"
#include "SyntheticLibrary.h"
#include "app/AppSettings.h"
#include "app/ColumnModel.h"
#include "bench/support/BenchHost.h"
#include "app/SqlEscape.h"
#include "document/DBError.h"
#include "document/Larkspur2006Doc.h"
#include "document/LibraryRows.h"
#include "document/PlaylistLoader.h"
#include "ui/views/GroupRows.h"
#include "ui/views/GroupValuesQuery.h"
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>
#include "bench/support/BenchClock.h"
#include "bench/support/BenchFolder.h"

namespace {

const int kCommitRows = 10000;   // the rows inserted one commit each
const int kRepeats = 3;          // best of, for the read measures
const int kPairedRepeats = 5;    // best of, for measures run in turns with their bare side

using bench_support::Now;

SIZE_T WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

using bench_support::BenchSettings;

using bench_support::SilentHost;
using bench_support::SilentErrors;

// Reads every row once so that both sides start with the same warm caches.
void WarmUp(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM list;", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) sqlite3_column_text16(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_prepare_v2(db, "SELECT file_name FROM list ORDER BY file_name;", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) sqlite3_column_text16(stmt, 0);
    sqlite3_finalize(stmt);
}

// The quick search's SQL for "all seven columns" without fuzzy matching.
std::wstring QuickSearchSql(const std::wstring& text) {
    const std::wstring pattern = L"glob '*" + EscapeGlobLiteral(text) + L"*'";
    const wchar_t* const columns[] = {L" file_name ", L" tagTitle ", L" tagArtist ", L" tagAlbum ",
                                      L" tagGenre ", L" tagDate ", L" tagComment "};
    std::wstring condition;
    for (const wchar_t* column : columns) {
        if (!condition.empty()) condition += L" OR";
        condition += column;
        condition += pattern;
    }
    return L"SELECT * FROM list WHERE" + condition + L";";
}

// ---- the memory measure, in a fresh process each -------------------------------------------

int MemoryChild(const std::wstring& kind, const std::wstring& path) {
    SIZE_T before = 0, after = 0;
    size_t rows = 0;
    if (kind == L"real") {
        CAppSettings settings = BenchSettings(L"");
        SilentHost host;
        CLarkspur2006Doc doc(settings, &host);
        doc.InitSqlTexts();
        if (!doc.OpenLibrary(path)) return 2;
        WarmUp(doc.GetDatabase().handle());
        PlaylistCache& cache = doc.GetPlaylistCache();
        PlaylistSummary summary;
        before = WorkingSet();
        // What the play list keeps once loaded and sorted as a header click sorts it: the
        // rows, the status-bar counts and the folded keys of the sorted column.
        LoadPlaylistCache(doc.GetDatabase(), cache, nullptr, &summary);
        cache.Sort(ColTitle, true, false, false, false);
        after = WorkingSet();
        rows = static_cast<size_t>(cache.size());
    } else {
        sqlite3* db = BareOpen(path);
        if (!db) return 2;
        WarmUp(db);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM list;", -1, &stmt, nullptr);
        sqlite3_step(stmt);
        size_t count = static_cast<size_t>(sqlite3_column_int64(stmt, 0));
        sqlite3_finalize(stmt);
        std::vector<BareRow> bare;
        bare.reserve(count);   // the strictest yardstick: no spare capacity
        before = WorkingSet();
        BareLoad(db, L"SELECT *, rowid FROM list;", bare);
        after = WorkingSet();
        rows = bare.size();
        sqlite3_close(db);
    }
    wprintf(L"%llu %llu\n", static_cast<unsigned long long>(after > before ? after - before : 0),
            static_cast<unsigned long long>(rows));
    return 0;
}

// Runs this program again for one memory measure; bytes per row, or -1.
double MeasureMemory(const std::wstring& kind, const std::wstring& path) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(exe) + L"\" --memory " + kind + L" \"" + path + L"\"";
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE readPipe = nullptr, writePipe = nullptr;
    if (!CreatePipe(&readPipe, &writePipe, &sa, 0)) return -1;
    SetHandleInformation(readPipe, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writePipe;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writePipe);
    if (!started) {
        CloseHandle(readPipe);
        return -1;
    }
    std::string output;
    char buffer[256];
    DWORD read = 0;
    while (ReadFile(readPipe, buffer, sizeof(buffer), &read, nullptr) && read > 0) output.append(buffer, read);
    CloseHandle(readPipe);
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    unsigned long long bytes = 0, rows = 0;
    if (sscanf(output.c_str(), "%llu %llu", &bytes, &rows) != 2 || rows == 0) return -1;
    return static_cast<double>(bytes) / rows;
}

// ---- the table ---------------------------------------------------------------------------

struct Row {
    std::wstring measure;
    double real;
    double bare;
    std::wstring unit;
    double ratio;    // real cost / bare cost
    double target;   // 0: none
    double limit = 0;   // the real cost at most this (in the row's unit); 0: none
    bool wrong = false;   // the program's result differs from the bare one's
};

void PrintTable(const std::vector<Row>& rows) {
    wprintf(L"\n%-44ls %14ls %14ls %-8ls %7ls %7ls %9ls  %ls\n", L"measure", L"real", L"bare", L"unit", L"ratio",
            L"target", L"limit", L"");
    wprintf(L"%ls\n", std::wstring(114, L'-').c_str());
    for (const Row& r : rows) {
        wchar_t target[16] = L"-", limit[16] = L"-";
        bool ok = true;
        if (r.target > 0) {
            swprintf(target, 16, L"%.1fx", r.target);
            ok = r.ratio <= r.target;
        }
        if (r.limit > 0) {
            swprintf(limit, 16, L"%.0f", r.limit);
            ok = ok && r.real <= r.limit;
        }
        const wchar_t* verdict = r.wrong ? L"WRONG" : r.target > 0 || r.limit > 0 ? (ok ? L"ok" : L"OVER") : L"";
        wprintf(L"%-44ls %14.1f %14.1f %-8ls %6.2fx %7ls %9ls  %ls\n", r.measure.c_str(), r.real, r.bare,
                r.unit.c_str(), r.ratio, target, limit, verdict);
    }
    wprintf(L"\nratio = real cost / bare cost (for rows/s: bare rate / real rate); WRONG: the program's result\n"
            L"differs from the bare one's (the run fails)\n");
}

using bench_support::RemoveFolder;

// The best of several runs of the program's work and of the bare work, in turns, so that a
// busy spell of the machine weighs on both alike. The program's work writes the `playlist`
// view, which empties the bare connection's page cache: the bare work runs once untimed
// before each timed run, so that both sides read from a warm cache.
template <class R, class B>
void BestOfBoth(R real, B bare, double& bestReal, double& bestBare) {
    bestReal = bestBare = 1e30;
    for (int i = 0; i < kPairedRepeats; ++i) {
        double start = Now();
        real();
        bestReal = std::min(bestReal, Now() - start);
        bare();
        start = Now();
        bare();
        bestBare = std::min(bestBare, Now() - start);
    }
}

template <class F>
double BestOf(F work) {
    double best = 1e30;
    for (int i = 0; i < kRepeats; ++i) {
        double start = Now();
        work();
        best = std::min(best, Now() - start);
    }
    return best;
}

// The first row where the program's order and the bare one differ (by library rowid), or -1;
// rows missing on one side count as a difference.
int FirstDifference(const PlaylistCache& cache, const std::vector<BareRow>& bare) {
    const int rows = std::min(cache.size(), static_cast<int>(bare.size()));
    for (int i = 0; i < rows; ++i)
        if (cache.at(i)->rowid != bare[static_cast<size_t>(i)].rowid) return i;
    return cache.size() == static_cast<int>(bare.size()) ? -1 : rows;
}

// Puts the cache's rows back into the order they were loaded in.
void RestoreOrder(PlaylistCache& cache, const std::vector<TrackRecord*>& order) {
    for (auto& row : cache.rows) row.release();
    for (size_t i = 0; i < order.size(); ++i) cache.rows[i].reset(order[i]);
    cache.current = -1;
}

int Run(int totalRows) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"library_bench_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"real").c_str(), nullptr);
    CreateDirectoryW((folder + L"bare").c_str(), nullptr);
    const std::wstring realPath = folder + L"real\\library.db";
    const std::wstring barePath = folder + L"bare\\library.db";

    SilentErrors errors;
    SetDBErrorSink(&errors);
    CAppSettings settings = BenchSettings(folder + L"real\\");
    SilentHost host;
    std::vector<Row> table;
    const int baseRows = std::max(0, totalRows - kCommitRows);
    {
        CLarkspur2006Doc doc(settings, &host);
        doc.InitSqlTexts();
        if (!doc.OpenLibrary(realPath)) {
            fwprintf(stderr, L"cannot open %ls\n", realPath.c_str());
            return 1;
        }
        CSQlite& db = doc.GetDatabase();

        // The base of the library, through the program's insert in one transaction.
        SyntheticLibrary generator;
        wprintf(L"building %d rows in %ls ...\n", totalRows, folder.c_str());
        double start = Now();
        sqlite3_stmt* insert = nullptr;
        db.prepare(doc.GetSqlInsert(), &insert);
        db.exec(L"BEGIN;");
        for (int i = 0; i < baseRows; ++i) BindTrackForInsert(insert, generator.Next(i));
        db.exec(L"COMMIT;");
        wprintf(L"  base of %d rows: %.1f s\n", baseRows, Now() - start);
        CopyFileW(realPath.c_str(), barePath.c_str(), FALSE);

        std::vector<TrackRecord> last;
        for (int i = baseRows; i < totalRows; ++i) last.push_back(generator.Next(i));

        // 1. One commit per row, as the program writes them.
        start = Now();
        int written = 0;
        for (const TrackRecord& t : last) written += BindTrackForInsert(insert, t) ? 1 : 0;
        double realSeconds = Now() - start;
        sqlite3_finalize(insert);
        sqlite3* bareCopy = BareOpen(barePath);
        start = Now();
        int bareWritten = BareInsert(bareCopy, last);
        double bareSeconds = Now() - start;
        sqlite3_close(bareCopy);
        const bool insertsDiffer = written != static_cast<int>(last.size()) || bareWritten != written;
        if (insertsDiffer)
            fwprintf(stderr, L"inserted %d real, %d bare of %d\n", written, bareWritten, static_cast<int>(last.size()));
        double realRate = written / realSeconds, bareRate = bareWritten / bareSeconds;
        table.push_back({L"insert, one commit per row", realRate, bareRate, L"rows/s", bareRate / realRate, 0});
        table.back().wrong = insertsDiffer;

        // 2. The whole library into the play list. Read as the program reads it after a start:
        // a connection maps the file as it finds it when it first reads, and the part this one
        // has just written beyond that would be read page by page.
        db.close();
        doc.OpenLibrary(realPath);
        sqlite3* bare = BareOpen(realPath);
        WarmUp(bare);
        WarmUp(db.handle());
        PlaylistCache& cache = doc.GetPlaylistCache();
        PlaylistSummary summary;   // the view asks for it with every reload
        double realLoad = BestOf([&] {
            doc.SetQuery(L"全曲", L"SELECT * FROM list;", true);
            doc.LoadPlaylist(cache, summary);
        });
        std::vector<BareRow> bareRows;
        double bareLoad = BestOf([&] {
            bareRows.clear();
            bareRows.shrink_to_fit();
            BareLoad(bare, L"SELECT *, rowid FROM list;", bareRows);
        });
        const bool loadsDiffer = cache.size() != static_cast<int>(bareRows.size());
        if (loadsDiffer)
            fwprintf(stderr, L"loaded %d real, %d bare\n", cache.size(), static_cast<int>(bareRows.size()));
        // Against a plain read, for orientation: the reload's SQL looks up each row's library
        // rowid by file_name, which costs more than all of our code.
        table.push_back({L"play list load, " + std::to_wstring(cache.size()) + L" rows, vs a plain read",
                         realLoad * 1000, bareLoad * 1000, L"ms", realLoad / bareLoad, 0});
        table.back().wrong = loadsDiffer;
        // The reload's own SQL stepped bare: the load, status-bar counts included, against
        // what our code cannot avoid.
        std::vector<BareRow> joinedRows;
        double bareJoinLoad = 0;
        BestOfBoth(
            [&] {
                doc.SetQuery(L"全曲", L"SELECT * FROM list;", true);
                doc.LoadPlaylist(cache, summary);
            },
            [&] {
                joinedRows.clear();
                joinedRows.shrink_to_fit();
                BareLoad(bare, kPlaylistRowsSql, joinedRows);
            },
            realLoad, bareJoinLoad);
        table.push_back({L"play list load, vs the reload's SQL bare", realLoad * 1000, bareJoinLoad * 1000, L"ms",
                         realLoad / bareJoinLoad, 1.1});
        table.back().wrong = cache.size() != static_cast<int>(joinedRows.size());

        // 3. Sorting, each from the loaded order.
        std::vector<TrackRecord*> order;
        for (auto& row : cache.rows) order.push_back(row.get());
        const std::vector<BareRow> bareOrder = bareRows;
        struct SortCase {
            const wchar_t* name;
            int column;
            bool artistRule;
            void (*bareSort)(std::vector<BareRow>&);
            double target;
            double limitMs;
        };
        const SortCase sorts[] = {
            {L"sort by title", 1, false, BareSortByTitle, 0.4, 250},
            {L"sort by artist (artist, album, track)", 2, true, BareSortByArtistAlbumTrack, 0.4, 350},
            {L"sort by last played", 18, false, BareSortByLastPlayed, 1.3, 0},
        };
        for (const SortCase& s : sorts) {
            double realSort = 1e30, bareSort = 1e30;
            for (int i = 0; i < kRepeats; ++i) {
                RestoreOrder(cache, order);
                double t0 = Now();
                cache.Sort(s.column, true, false, s.artistRule, false);
                realSort = std::min(realSort, Now() - t0);
                bareRows = bareOrder;
                t0 = Now();
                s.bareSort(bareRows);
                bareSort = std::min(bareSort, Now() - t0);
            }
            // Both sides must agree on the order.
            const int differsAt = FirstDifference(cache, bareRows);
            if (differsAt >= 0) fwprintf(stderr, L"%ls: orders differ at row %d\n", s.name, differsAt);
            table.push_back({s.name, realSort * 1000, bareSort * 1000, L"ms", realSort / bareSort, s.target, s.limitMs});
            table.back().wrong = differsAt >= 0;
        }
        RestoreOrder(cache, order);

        // 4. The quick search over the seven columns.
        const std::wstring search = QuickSearchSql(kSearchWord);
        std::vector<BareRow> found;
        double realSearch = 0, bareSearch = 0;
        BestOfBoth(
            [&] {
                doc.SetQuery(L"単語検索 - 桜 -", search, true);
                doc.LoadPlaylist(cache, summary);
            },
            [&] {
                found.clear();
                std::wstring bareSql = search;
                bareSql.insert(bareSql.find(L" FROM"), L", rowid");
                BareLoad(bare, bareSql, found);
            },
            realSearch, bareSearch);
        const bool searchesDiffer = cache.size() != static_cast<int>(found.size());
        if (searchesDiffer)
            fwprintf(stderr, L"search found %d real, %d bare\n", cache.size(), static_cast<int>(found.size()));
        table.push_back({L"quick search, 7 columns, " + std::to_wstring(found.size()) + L" rows", realSearch * 1000,
                         bareSearch * 1000, L"ms", realSearch / bareSearch, 1.3});
        table.back().wrong = searchesDiffer;

        // 5. The group view's build: its grouping query stepped into values and the rows with
        // index headers made of them, against the same query stepped bare.
        for (const wchar_t* key : {L"tagAlbum", L"tagArtist"}) {
            const GroupThresholds thresholds{settings.groupView.groupThresholdAlphabet,
                                             settings.groupView.groupThresholdKana,
                                             settings.groupView.groupThresholdKanji};
            GroupRowList rows;
            GroupIndex index;
            size_t bareValues = 0;
            double realGroup = 0, bareGroup = 0;
            BestOfBoth(
                [&] {
                    std::vector<GroupValue> values;
                    int total = 0;
                    ReadGroupValues(db, key, false, values, total);
                    BuildIndexGroupRows(std::move(values), total, GroupKeyCaption(key), thresholds, rows, index);
                },
                [&] { bareValues = BareGroupValues(bare, GroupValuesSql(key, false)); }, realGroup, bareGroup);
            table.push_back({L"group view build, " + std::wstring(key) + L", " + std::to_wstring(bareValues) +
                                 L" values",
                             realGroup * 1000, bareGroup * 1000, L"ms", realGroup / bareGroup, 1.3});
        }

        // Leave the whole library as the play list for the memory runs.
        doc.SetQuery(L"全曲", L"SELECT * FROM list;", true);
        doc.FreePlaylistCaches();
        sqlite3_close(bare);
    }

    // The first load after opening, with an empty page cache on both sides (for orientation).
    {
        CLarkspur2006Doc doc(settings, &host);
        doc.InitSqlTexts();
        doc.OpenLibrary(realPath);
        double start = Now();
        doc.SetQuery(L"全曲", L"SELECT * FROM list;", true);
        PlaylistSummary summary;
        doc.LoadPlaylist(doc.GetPlaylistCache(), summary);
        double realCold = Now() - start;
        doc.FreePlaylistCaches();
        sqlite3* bare = BareOpen(realPath);
        std::vector<BareRow> rows;
        start = Now();
        BareLoad(bare, L"SELECT *, rowid FROM list;", rows);
        double bareCold = Now() - start;
        sqlite3_close(bare);
        table.push_back({L"first play list load after opening", realCold * 1000, bareCold * 1000, L"ms",
                         realCold / bareCold, 0});
    }

    // 6. Memory of the loaded play list, each side in a fresh process.
    double realBytes = MeasureMemory(L"real", realPath);
    double bareBytes = MeasureMemory(L"bare", realPath);
    table.push_back({L"memory of the play list, loaded and sorted", realBytes, bareBytes, L"B/row",
                     bareBytes > 0 ? realBytes / bareBytes : 0, 1.2});

    PrintTable(table);
    SetDBErrorSink(nullptr);
    RemoveFolder(folder);
    for (const Row& r : table)
        if (r.wrong) return 1;
    return 0;
}

}  // namespace

int main() {
    setlocale(LC_ALL, "japanese");
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc >= 4 && std::wstring(argv[1]) == L"--memory") return MemoryChild(argv[2], argv[3]);
    int rows = argc >= 2 ? _wtoi(argv[1]) : 100000;
    if (rows < kCommitRows) rows = kCommitRows;
    return Run(rows);
}
