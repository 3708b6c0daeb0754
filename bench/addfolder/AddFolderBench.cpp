// Adding a folder to the library through the add-to-library worker, against the same files
// read with the tag readers and written with a bare prepared INSERT, one commit per row:
//   addfolder_bench.exe [files]      (default 2000)
#include "app/AppSettings.h"
#include "bench/support/BenchHost.h"
#include "document/AddLibraryWorker.h"
#include "document/DBError.h"
#include "document/Larkspur2006Doc.h"
#include "document/LibraryRows.h"
#include "app/PathParts.h"
#include "tags/TagInfo.h"
#include <sqlite3.h>
#include <windows.h>
#include <shellapi.h>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>
#include "bench/support/BenchClock.h"

namespace {

const int kRepeats = 3;   // best of

using bench_support::Now;

// The small real files the copies are made of: one of each readable format.
const wchar_t* const kSources[] = {L"audio\\tone.mp3", L"audio\\tone.flac", L"audio\\tone.ogg",
                                   L"audio\\tone.m4a", L"audio\\tone.wma",  L"audio\\tone.tta",
                                   L"audio\\tone.mp2", L"tags\\pcm8.wav"};

std::wstring DataPath(const wchar_t* relative) {
    std::wstring path = L"Z:";
    for (const char* p = LARK_DATA_DIR; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path + L"\\" + relative;
}

std::wstring MakeTempFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"lark_addfolder_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

void RemoveFolder(const std::wstring& folder) {
    std::wstring from = folder;
    if (!from.empty() && from.back() == L'\\') from.pop_back();
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

// `count` files in 20 folders below `root` ("music\\dNN\\"), returns their paths.
std::vector<std::wstring> MakeMusicFolder(const std::wstring& root, int count) {
    std::vector<std::wstring> files;
    CreateDirectoryW(root.c_str(), nullptr);
    const int sources = static_cast<int>(sizeof kSources / sizeof kSources[0]);
    for (int i = 0; i < count; ++i) {
        wchar_t folder[32];
        swprintf(folder, 32, L"d%02d\\", i % 20);
        CreateDirectoryW((root + folder).c_str(), nullptr);
        const std::wstring source = DataPath(kSources[i % sources]);
        const std::wstring ext = source.substr(source.rfind(L'.'));
        wchar_t name[64];
        swprintf(name, 64, L"曲 %05d", i);
        const std::wstring path = root + folder + name + ext;
        if (!CopyFileW(source.c_str(), path.c_str(), FALSE)) {
            fwprintf(stderr, L"cannot copy %ls\n", source.c_str());
            exit(2);
        }
        files.push_back(path);
    }
    return files;
}

CAppSettings BenchSettings(const std::wstring& folder) {
    CAppSettings s = bench_support::BenchSettings(folder);
    s.bass.device = 0;                      // no sound
    s.bass.frequency = 44100;
    return s;
}

using bench_support::SilentHost;
using bench_support::SilentErrors;

// The dialog's side of the status texts without a window: each text is stored under a lock
// and the worker waits until the user-interface thread has taken it, as a sent message makes
// it wait. The time the worker spends there is counted.
class HandOffStatus : public IAddLibraryStatus {
public:
    HandOffStatus() {
        InitializeCriticalSection(&m_lock);
        ready = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        m_taken = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
    ~HandOffStatus() override {
        CloseHandle(ready);
        CloseHandle(m_taken);
        DeleteCriticalSection(&m_lock);
    }
    void SetLibraryStatusText(const std::wstring& text) override {
        const double start = Now();
        EnterCriticalSection(&m_lock);
        m_text = text;
        LeaveCriticalSection(&m_lock);
        SetEvent(ready);
        WaitForSingleObject(m_taken, INFINITE);
        seconds += Now() - start;
    }
    void OnLibraryWorkerFinished() override {}
    // On the user-interface thread: shows the waiting text.
    void Take() {
        EnterCriticalSection(&m_lock);
        shown = m_text;
        LeaveCriticalSection(&m_lock);
        SetEvent(m_taken);
    }

    HANDLE ready;
    std::wstring shown;
    double seconds = 0;

private:
    CRITICAL_SECTION m_lock;
    HANDLE m_taken;
    std::wstring m_text;
};

struct WorkerResult {
    double seconds = 0;
    double statusSeconds = 0;
    int count = 0;
    std::wstring last;
};

// One add of the folder through the worker on a fresh library.
WorkerResult RunWorker(const std::wstring& profile, const std::wstring& music) {
    CreateDirectoryW(profile.c_str(), nullptr);
    CAppSettings settings = BenchSettings(profile);
    SilentHost host;
    CLarkspur2006Doc doc(settings, &host);
    doc.InitSqlTexts();
    if (!doc.OpenLibrary(L"")) exit(3);
    doc.InitBass();

    HandOffStatus status;
    AddLibraryContext context;
    context.doc = &doc;
    context.folder = music.substr(0, music.size() - 1);
    context.subfolders = true;
    context.status = &status;

    WorkerResult r;
    const double start = Now();
    HANDLE thread = CreateThread(nullptr, 0, &AddLibraryThreadProc, &context, 0, nullptr);
    HANDLE handles[2] = {thread, status.ready};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) status.Take();
    r.seconds = Now() - start;
    CloseHandle(thread);
    r.statusSeconds = status.seconds;
    r.count = context.count;
    r.last = status.shown;
    doc.FreeBass();
    return r;
}

struct BareResult {
    double seconds = 0;
    double readSeconds = 0;
    double writeSeconds = 0;
    int count = 0;
};

void Bind(sqlite3_stmt* stmt, int index, const std::wstring& text) {
    sqlite3_bind_text16(stmt, index, text.c_str(), static_cast<int>(text.size() * 2), SQLITE_STATIC);
}

// The same files read with the tag readers and written with a prepared INSERT of all 26
// columns, one commit per row, on a library made the program's way.
BareResult RunBare(const std::wstring& profile, const std::vector<std::wstring>& files) {
    CreateDirectoryW(profile.c_str(), nullptr);
    CAppSettings settings = BenchSettings(profile);
    SilentHost host;
    std::wstring path;
    {
        CLarkspur2006Doc maker(settings, &host);   // the table and its indexes
        maker.InitSqlTexts();
        if (!maker.OpenLibrary(L"")) exit(3);
        path = settings.libraryPath;
        maker.InitBass();   // the stream numbers of MP3 and TTA, as the program reads them
        sqlite3* db = nullptr;
        sqlite3_open16(path.c_str(), &db);
        sqlite3_busy_timeout(db, 500);
        sqlite3_exec(db, "PRAGMA synchronous = OFF;", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "PRAGMA temp_store = MEMORY;", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO list VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);", -1,
                           &insert, nullptr);

        BareResult r;
        const double start = Now();
        for (const std::wstring& file : files) {
            const double t0 = Now();
            tagReader::TTagInfo info;
            const bool ok = info.Read(file) == tagReader::TagReadOk;
            TrackRecord t;
            if (ok) {
                MapTagInfoToTrack(info, t);
                WIN32_FILE_ATTRIBUTE_DATA data;
                if (GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data))
                    t.file_size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            }
            const double t1 = Now();
            r.readSeconds += t1 - t0;
            if (!ok) continue;
            sqlite3_reset(insert);
            Bind(insert, 1, t.file_name);
            Bind(insert, 2, t.file_title);
            Bind(insert, 3, t.file_ext);
            sqlite3_bind_int64(insert, 4, t.file_size);
            Bind(insert, 5, t.tagTitle);
            Bind(insert, 6, t.tagArtist);
            Bind(insert, 7, t.tagAlbum);
            Bind(insert, 8, t.tagGenre);
            Bind(insert, 9, t.tagDate);
            Bind(insert, 10, t.tagComment);
            Bind(insert, 11, t.tagTracknumber);
            Bind(insert, 12, t.tagAPIC);
            Bind(insert, 13, t.tagLyrics);
            sqlite3_bind_int(insert, 14, t.statDuration);
            sqlite3_bind_int(insert, 15, t.statChannels);
            sqlite3_bind_int(insert, 16, t.statSamplingrate);
            sqlite3_bind_int(insert, 17, t.statBitrate);
            sqlite3_bind_int(insert, 18, t.statVBR ? 1 : 0);
            sqlite3_bind_int(insert, 19, t.infoCodec);
            Bind(insert, 20, t.infoCodec_sub);
            sqlite3_bind_int(insert, 21, t.infoTagtype);
            sqlite3_bind_int(insert, 22, 0);
            sqlite3_bind_int(insert, 23, 0);
            sqlite3_bind_int(insert, 24, 0);
            sqlite3_bind_int64(insert, 25, 0);
            sqlite3_bind_int64(insert, 26, _time64(nullptr));
            if (sqlite3_step(insert) == SQLITE_DONE) ++r.count;
            r.writeSeconds += Now() - t1;
        }
        r.seconds = Now() - start;
        sqlite3_finalize(insert);
        sqlite3_close(db);
        maker.FreeBass();
        return r;
    }
}

// The worker's steps for each file, timed one by one on the worker's two connections (the
// document's for the look-up, one of its own for the write), on a fresh library.
struct StepTimes {
    double universalPath = 0, lookup = 0, read = 0, write = 0;
};

StepTimes TimeSteps(const std::wstring& profile, const std::vector<std::wstring>& files) {
    CreateDirectoryW(profile.c_str(), nullptr);
    CAppSettings settings = BenchSettings(profile);
    SilentHost host;
    CLarkspur2006Doc doc(settings, &host);
    doc.InitSqlTexts();
    if (!doc.OpenLibrary(L"")) exit(3);
    doc.InitBass();
    CSQlite own;
    own.open(settings.libraryPath);
    ApplyPragmas(own, settings);
    sqlite3_stmt* insert = nullptr;
    own.prepare(doc.GetSqlInsert(), &insert);

    StepTimes t;
    for (std::wstring path : files) {
        double t0 = Now();
        GetUniversalPath(path);
        double t1 = Now();
        t.universalPath += t1 - t0;
        LookupLibraryRow(doc.GetDatabase(), path);
        double t2 = Now();
        t.lookup += t2 - t1;
        tagReader::TTagInfo info;
        TrackRecord track;
        if (info.Read(path) == tagReader::TagReadOk) MapTagInfoToTrack(info, track);
        double t3 = Now();
        t.read += t3 - t2;
        BindTrackForInsert(insert, track);
        t.write += Now() - t3;
    }
    sqlite3_finalize(insert);
    own.close();
    doc.FreeBass();
    return t;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    setlocale(LC_ALL, "japanese");
    const int fileCount = argc > 1 ? std::max(1, _wtoi(argv[1])) : 2000;
    SilentErrors errors;
    SetDBErrorSink(&errors);

    const std::wstring temp = MakeTempFolder();
    const std::wstring music = temp + L"music\\";
    wprintf(L"Making %d audio files (%d formats) in 20 folders...\n", fileCount,
            static_cast<int>(sizeof kSources / sizeof kSources[0]));
    const std::vector<std::wstring> files = MakeMusicFolder(music, fileCount);
    // Every file once through the reader, so that both sides read from the file cache.
    for (const std::wstring& f : files) {
        tagReader::TTagInfo info;
        info.Read(f);
    }

    WorkerResult bestWorker;
    BareResult bestBare;
    bestWorker.seconds = bestBare.seconds = 1e30;
    for (int i = 0; i < kRepeats; ++i) {
        const std::wstring round = temp + L"r" + std::to_wstring(i);
        BareResult bare = RunBare(round + L"bare\\", files);
        WorkerResult worker = RunWorker(round + L"worker\\", music);
        if (bare.seconds < bestBare.seconds) bestBare = bare;
        if (worker.seconds < bestWorker.seconds) bestWorker = worker;
        if (worker.count != bare.count)
            fwprintf(stderr, L"round %d: the worker wrote %d rows, the bare side %d\n", i, worker.count, bare.count);
    }

    const double workerRate = bestWorker.count / bestWorker.seconds;
    const double bareRate = bestBare.count / bestBare.seconds;
    const double ratio = workerRate / bareRate;
    const double workerRest = bestWorker.seconds - bestBare.readSeconds - bestWorker.statusSeconds;
    wprintf(L"\nAdding a folder of %d files, best of %d (files per second; ratio = worker / bare)\n\n", fileCount,
            kRepeats);
    wprintf(L"%-44ls %10ls %10ls %8ls %8ls\n", L"measure", L"worker", L"bare", L"ratio", L"target");
    wprintf(L"%-44ls %10.0f %10.0f %8.2f %8ls  %ls\n", L"files added per second", workerRate, bareRate, ratio,
            L">= 0.60", ratio >= 0.6 ? L"ok" : L"MISSED");
    wprintf(L"%-44ls %10d %10d\n", L"rows written", bestWorker.count, bestBare.count);
    wprintf(L"\nWhere the time goes (seconds)\n");
    wprintf(L"%-44ls %10.3f %10.3f\n", L"total", bestWorker.seconds, bestBare.seconds);
    wprintf(L"%-44ls %10ls %10.3f\n", L"reading tags and stream numbers", L"(same)", bestBare.readSeconds);
    wprintf(L"%-44ls %10.3f %10ls\n", L"status text handed to the dialog, waited for", bestWorker.statusSeconds,
            L"-");
    wprintf(L"%-44ls %10.3f %10.3f\n", L"writing (worker: with look-up and folder walk)", workerRest,
            bestBare.writeSeconds);
    const StepTimes steps = TimeSteps(temp + L"steps\\", files);
    wprintf(L"\nThe worker's steps timed one by one (seconds)\n");
    wprintf(L"%-44ls %10.3f\n", L"network form of the path", steps.universalPath);
    wprintf(L"%-44ls %10.3f\n", L"look-up on the document's connection", steps.lookup);
    wprintf(L"%-44ls %10.3f\n", L"reading tags and stream numbers", steps.read);
    wprintf(L"%-44ls %10.3f\n", L"insert on the worker's connection", steps.write);

    SetDBErrorSink(nullptr);
    RemoveFolder(temp);
    return ratio >= 0.6 ? 0 : 1;
}
