// Reading an iTunes library export through the import reader, against the bare MSXML load of
// the same file, at three sizes so that the cost per track shows whether it grows:
//   itunes_bench.exe [tracks]      (default 100000; also a tenth and a half of it)
// Child runs, each in a fresh process: itunes_bench.exe --child <export.xml> (one size through
// the reader), itunes_bench.exe --import <export.xml> <folder> (the import dialog)
#include "DialogImport.h"
#include "ui/dialogs/ImportReaders.h"
#include <windows.h>
#include <msxml2.h>
#include <objbase.h>
#include <psapi.h>
#include <shellapi.h>
#include <clocale>
#include <cstdio>
#include <deque>
#include <string>
#include "bench/support/BenchClock.h"
#include "bench/support/BenchFolder.h"

namespace {

const int kRepeats = 3;   // best of

using bench_support::Now;

const CLSID kClsidDomDocument = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
const IID kIidDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

// One track dictionary as iTunes writes it: about two dozen keys, a percent-encoded location.
std::string TrackDict(int id) {
    char buffer[2048];
    const int album = id / 12, artist = id / 120;
    snprintf(buffer, sizeof buffer,
             "\t\t<key>%d</key>\n\t\t<dict>\n"
             "\t\t\t<key>Track ID</key><integer>%d</integer>\n"
             "\t\t\t<key>Name</key><string>%s %d</string>\n"
             "\t\t\t<key>Artist</key><string>%s %d</string>\n"
             "\t\t\t<key>Album</key><string>%s %d</string>\n"
             "\t\t\t<key>Genre</key><string>Rock</string>\n"
             "\t\t\t<key>Kind</key><string>%s</string>\n"
             "\t\t\t<key>Size</key><integer>%d</integer>\n"
             "\t\t\t<key>Total Time</key><integer>%d</integer>\n"
             "\t\t\t<key>Track Number</key><integer>%d</integer>\n"
             "\t\t\t<key>Track Count</key><integer>12</integer>\n"
             "\t\t\t<key>Year</key><integer>%d</integer>\n"
             "\t\t\t<key>Date Modified</key><date>2006-08-25T12:04:05Z</date>\n"
             "\t\t\t<key>Date Added</key><date>2006-08-25T12:04:05Z</date>\n"
             "\t\t\t<key>Bit Rate</key><integer>256</integer>\n"
             "\t\t\t<key>Sample Rate</key><integer>44100</integer>\n"
             "\t\t\t<key>Play Count</key><integer>%d</integer>\n"
             "\t\t\t<key>Play Date</key><integer>%lld</integer>\n"
             "\t\t\t<key>Play Date UTC</key><date>2006-08-25T12:04:05Z</date>\n"
             "\t\t\t<key>Rating</key><integer>%d</integer>\n"
             "\t\t\t<key>Artwork Count</key><integer>1</integer>\n"
             "\t\t\t<key>Persistent ID</key><string>%016X</string>\n"
             "\t\t\t<key>Track Type</key><string>File</string>\n"
             "\t\t\t<key>Location</key><string>file://localhost/C:/Music/%s%%20%d/%s%%20%d/%02d%%20%s%%20%d.m4a</string>\n"
             "\t\t\t<key>File Folder Count</key><integer>4</integer>\n"
             "\t\t\t<key>Library Folder Count</key><integer>1</integer>\n"
             "\t\t</dict>\n",
             id, id, Utf8(L"曲").c_str(), id, Utf8(L"アーティスト").c_str(), artist, Utf8(L"アルバム").c_str(), album,
             id % 3 ? Utf8(L"AAC オーディオファイル").c_str() : Utf8(L"MPEG オーディオファイル").c_str(),
             3000000 + id, 200000 + id % 100000, id % 12 + 1, 1990 + id % 20, id % 50, 3239384645LL + id, (id % 6) * 20,
             id, "%E3%82%A2%E3%83%BC%E3%83%86%E3%82%A3%E3%82%B9%E3%83%88", artist,
             "%E3%82%A2%E3%83%AB%E3%83%90%E3%83%A0", album, id % 12 + 1, "%E6%9B%B2", id);
    return buffer;
}

bool WriteExport(const std::wstring& path, int tracks) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
          "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
          "<plist version=\"1.0\">\n<dict>\n\t<key>Major Version</key><integer>1</integer>\n"
          "\t<key>Minor Version</key><integer>1</integer>\n"
          "\t<key>Application Version</key><string>7.0.2</string>\n"
          "\t<key>Tracks</key>\n\t<dict>\n",
          f);
    for (int i = 1; i <= tracks; ++i) fputs(TrackDict(i).c_str(), f);
    fputs("\t</dict>\n\t<key>Playlists</key>\n\t<array>\n\t\t<dict>\n"
          "\t\t\t<key>Name</key><string>Library</string>\n\t\t\t<key>Playlist Items</key>\n\t\t\t<array>\n",
          f);
    for (int i = 1; i <= tracks; ++i) fprintf(f, "\t\t\t\t<dict><key>Track ID</key><integer>%d</integer></dict>\n", i);
    fputs("\t\t\t</array>\n\t\t</dict>\n\t</array>\n</dict>\n</plist>\n", f);
    return fclose(f) == 0;
}

// The bare side: the file's bytes loaded into a DOM document, and nothing else. (Loading
// from the path instead costs time by the square of the size under Wine: see the README.)
double BareLoad(const std::wstring& path) {
    const double start = Now();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    const DWORD size = GetFileSize(file, nullptr);
    SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, size);
    DWORD read = 0;
    const bool ok = bytes && ReadFile(file, bytes->pvData, size, &read, nullptr) && read == size;
    CloseHandle(file);
    IXMLDOMDocument* document = nullptr;
    if (!ok || FAILED(CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_INPROC_SERVER, kIidDomDocument,
                                       reinterpret_cast<void**>(&document))) ||
        !document) {
        if (bytes) SafeArrayDestroy(bytes);
        return -1;
    }
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_ARRAY | VT_UI1;
    source.parray = bytes;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    const HRESULT hr = document->load(source, &loaded);
    const double seconds = Now() - start;
    SafeArrayDestroy(bytes);
    document->Release();
    return hr == S_OK && loaded == VARIANT_TRUE ? seconds : -1;
}

// The real side: the reader, its records kept as the import dialog keeps them.
double ReaderLoad(const std::wstring& path, int& taken) {
    std::deque<TrackRecord> items;
    const double start = Now();
    const ImportReadResult result = ParseItunesLibraryXml(path, [&](TrackRecord&& r) { items.push_back(std::move(r)); }, nullptr);
    const double seconds = Now() - start;
    taken = result.taken;
    if (result.failed) fwprintf(stderr, L"the reader failed: %ls\n", result.error.c_str());
    return result.failed ? -1 : seconds;
}

using bench_support::RemoveFolder;

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

// One size, in a fresh process so that its peak memory is its own: prints
// "<bare s> <reader s> <tracks taken> <peak MB>".
int Child(const std::wstring& path) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    double bare = 1e9, real = 1e9;
    int taken = 0;
    for (int i = 0; i < kRepeats; ++i) {
        const double b = BareLoad(path);
        const double r = ReaderLoad(path, taken);
        if (b < 0 || r < 0) return 1;
        if (b < bare) bare = b;
        if (r < real) real = r;
    }
    printf("%.4f %.4f %d %.1f\n", bare, real, taken, static_cast<double>(PeakWorkingSet()) / (1024.0 * 1024.0));
    CoUninitialize();
    return 0;
}

// Runs this program again with `arguments`; its standard output, or false when it failed.
bool RunSelf(const std::wstring& arguments, std::string& output) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + arguments;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE readPipe = nullptr, writePipe = nullptr;
    if (!CreatePipe(&readPipe, &writePipe, &sa, 0)) return false;
    SetHandleInformation(readPipe, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writePipe;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi = {};
    const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writePipe);
    if (!started) {
        CloseHandle(readPipe);
        return false;
    }
    char buffer[256];
    DWORD read = 0;
    while (ReadFile(readPipe, buffer, sizeof buffer, &read, nullptr) && read > 0) output.append(buffer, read);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(readPipe);
    return code == 0;
}

bool RunChild(const std::wstring& path, double& bare, double& real, int& taken, double& peakMB) {
    std::string output;
    return RunSelf(L"--child \"" + path + L"\"", output) &&
           sscanf(output.c_str(), "%lf %lf %d %lf", &bare, &real, &taken, &peakMB) == 4;
}

// The import dialog on one export, in a fresh process: prints
// "<read s> <write s> <rows listed> <rows stored> <completed 0|1> <peak MB>".
int ImportChild(const std::wstring& path, const std::wstring& folder) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DialogImportResult result;
    const bool ran = RunDialogImport(path, folder, result);
    if (ran)
        printf("%.4f %.4f %d %d %d %.1f\n", result.read, result.write, result.listed, result.stored,
               result.completed ? 1 : 0, static_cast<double>(PeakWorkingSet()) / (1024.0 * 1024.0));
    CoUninitialize();
    return ran ? 0 : 1;
}

bool RunImport(const std::wstring& path, const std::wstring& folder, DialogImportResult& result, double& peakMB) {
    std::string output;
    int completed = 0;
    // Without its last backslash, which would escape the closing quote.
    const std::wstring bare = folder.substr(0, folder.find_last_not_of(L'\\') + 1);
    if (!RunSelf(L"--import \"" + path + L"\" \"" + bare + L"\"", output) ||
        sscanf(output.c_str(), "%lf %lf %d %d %d %lf", &result.read, &result.write, &result.listed, &result.stored,
               &completed, &peakMB) != 6)
        return false;
    result.completed = completed != 0;
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    setlocale(LC_ALL, "japanese");
    if (argc == 3 && std::wstring(argv[1]) == L"--child") return Child(argv[2]);
    if (argc == 4 && std::wstring(argv[1]) == L"--import") return ImportChild(argv[2], std::wstring(argv[3]) + L"\\");
    const int tracks = argc > 1 ? _wtoi(argv[1]) : 100000;
    if (tracks < 10) return 2;

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"lark_itunes_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);

    const int sizes[] = {tracks / 10, tracks / 2, tracks};
    double perTrack[3] = {};
    bool failed = false;
    double largest = 0;
    int largestTaken = 0;
    wprintf(L"\n%-10ls %10ls %10ls %8ls %14ls %10ls %9ls\n", L"tracks", L"reader s", L"bare s", L"ratio", L"reader ms/1000",
            L"peak MB", L"taken");
    wprintf(L"%ls\n", std::wstring(78, L'-').c_str());
    for (int i = 0; i < 3; ++i) {
        const std::wstring path = folder + L"export_" + std::to_wstring(sizes[i]) + L".xml";
        if (!WriteExport(path, sizes[i])) {
            fwprintf(stderr, L"cannot write %ls\n", path.c_str());
            return 1;
        }
        double bare = 0, real = 0, peak = 0;
        int taken = 0;
        const bool ran = RunChild(path, bare, real, taken, peak);
        if (i < 2 || !ran) DeleteFileW(path.c_str());   // the largest is imported below
        if (!ran) {
            fwprintf(stderr, L"the run of %d tracks failed\n", sizes[i]);
            failed = true;
            continue;
        }
        perTrack[i] = real / sizes[i] * 1000.0;
        largest = real;
        largestTaken = taken;
        wprintf(L"%-10d %10.3f %10.3f %7.2fx %14.1f %10.1f %9d\n", sizes[i], real, bare, bare > 0 ? real / bare : 0,
                perTrack[i] * 1000.0, peak, taken);
    }
    // The whole import of the largest export through the dialog, into an empty library.
    const std::wstring largestPath = folder + L"export_" + std::to_wstring(sizes[2]) + L".xml";
    const std::wstring libraryFolder = folder + L"library\\";
    DialogImportResult import;
    double importPeak = 0;
    bool imported = false;
    if (!failed) {
        CreateDirectoryW(libraryFolder.c_str(), nullptr);
        imported = RunImport(largestPath, libraryFolder, import, importPeak);
        if (!imported) fwprintf(stderr, L"the import through the dialog failed\n");
    }
    DeleteFileW(largestPath.c_str());
    RemoveFolder(libraryFolder);
    RemoveDirectoryW(folder.c_str());
    if (failed || !imported) return 1;
    // Linear: the cost per track at the largest size stays within 1.5x of the smallest's.
    const double growth = perTrack[0] > 0 ? perTrack[2] / perTrack[0] : 0;
    const bool linear = growth <= 1.5, fast = largest < 15.0;
    wprintf(L"\ncost per track, %d against %d tracks: %.2fx (target <= 1.5x) %ls\n", sizes[2], sizes[0], growth,
            linear ? L"ok" : L"OVER");
    wprintf(L"reader at %d tracks: %.3f s (target < 15 s) %ls\n", sizes[2], largest, fast ? L"ok" : L"OVER");
    // Every track the reader took is listed and stored, and the dialog says it is done.
    const double whole = import.read + import.write;
    const bool complete = import.completed && import.listed == largestTaken && import.stored == largestTaken;
    const bool importFast = whole < 15.0;
    wprintf(L"import through the dialog, %d tracks: read and listed %.3f s, written %.3f s, whole %.3f s "
            L"(target < 15 s) %ls; %d listed, %d stored, peak %.1f MB\n",
            sizes[2], import.read, import.write, whole, !complete ? L"WRONG" : importFast ? L"ok" : L"OVER", import.listed,
            import.stored, importPeak);
    return linear && fast && complete && importFast ? 0 : 1;
}
