#include <gtest/gtest.h>
#include <windows.h>
#include <clocale>

// Tests never stop on a crash dialog; a crash fails the test program instead.
int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    setlocale(LC_ALL, "japanese");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
