// Fills a profile's "library.db" with a folder of audio files through the program's own
// add-to-library worker and leaves all of them as the play list restored at start, so that
// the program can be looked at with a real library.
//   make_demo_library.exe <profile folder> <music folder>
#include "../../bench/support/BenchHost.h"
#include "document/AddLibraryWorker.h"
#include "document/Larkspur2006Doc.h"
#include <windows.h>
#include <clocale>
#include <cstdio>

namespace {

// Status texts are not shown: the worker goes on at once.
class NoStatus : public IAddLibraryStatus {
public:
    void SetLibraryStatusText(const std::wstring&) override {}
    void OnLibraryWorkerFinished() override {}
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    setlocale(LC_ALL, "japanese");
    if (argc != 3) {
        fwprintf(stderr, L"usage: make_demo_library <profile folder> <music folder>\n");
        return 2;
    }
    std::wstring profile = argv[1];
    if (profile.back() != L'\\') profile += L'\\';
    CreateDirectoryW(profile.c_str(), nullptr);

    bench_support::SilentErrors errors;
    SetDBErrorSink(&errors);
    CAppSettings settings = bench_support::BenchSettings(profile);
    settings.bass.device = 0;   // no sound: the engine only reads stream lengths here
    settings.bass.frequency = 44100;
    bench_support::SilentHost host;
    CLarkspur2006Doc doc(settings, &host);
    doc.InitSqlTexts();
    if (!doc.OpenLibrary(L"")) return 3;
    doc.InitBass();

    NoStatus status;
    AddLibraryContext context;
    context.doc = &doc;
    context.folder = argv[2];
    context.subfolders = true;
    context.status = &status;
    AddLibraryThreadProc(&context);
    // The play list the program restores at start: every track, in folder order (artist,
    // album, track number), so that the first screen shows the library.
    const bool stored = doc.SetQuery(L"すべての曲", L"SELECT * FROM list ORDER BY file_name;", false);
    doc.FreeBass();
    SetDBErrorSink(nullptr);
    wprintf(L"%d tracks added to %lslibrary.db\n", context.count.load(), profile.c_str());
    if (!stored) fwprintf(stderr, L"the play list could not be stored\n");
    return context.count.load() > 0 && stored ? 0 : 1;
}
