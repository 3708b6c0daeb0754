#include <gtest/gtest.h>
#include <windows.h>
#include <clocale>
#include <cstdio>

namespace {

// Says what ended the program before it ends: the crash dialog is off below.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* r = info->ExceptionRecord;
    fprintf(stderr, "unhandled exception 0x%08lx at %p\n", static_cast<unsigned long>(r->ExceptionCode),
            r->ExceptionAddress);
    fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

// Tests never stop on a crash dialog; a crash fails the test program instead. Standard output
// is unbuffered so that what a test printed before a crash is never lost, and a test program
// that printed nothing at all is known never to have reached its first line (tools/ctest.sh).
int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(ReportCrash);
    setvbuf(stdout, nullptr, _IONBF, 0);
    setlocale(LC_ALL, "japanese");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
