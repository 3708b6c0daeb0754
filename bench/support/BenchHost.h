#pragma once
// What every benchmark's document needs to run unattended: settings as config.ini's defaults
// give them, and a host and database-error sink that only print.
#include "app/AppSettings.h"
#include "document/DBError.h"
#include "document/IDocumentHost.h"
#include <cstdio>
#include <string>

namespace bench_support {

inline CAppSettings BenchSettings(const std::wstring& folder) {
    CAppSettings s;
    s.appTitle = L"Spur";
    s.userFolder = folder;
    s.sqlite.pragmaSynchronous = L"OFF";
    s.sqlite.pragmaTempstore = L"MEMORY";
    s.sqlite.busyTimeout = 500;
    s.sqlite.busyRetry = 3;
    s.generic.checkFileModify = true;
    return s;
}

class SilentHost : public IDocumentHost {
public:
    int ShowMessage(const std::wstring& text, UINT) override {
        fwprintf(stderr, L"message: %ls\n", text.c_str());
        return IDOK;
    }
    bool ShowFileDialog(const FileDialogRequest&, FileDialogResult&) override { return false; }
    void SetQueryTitle(const std::wstring&) override {}
    int BrowseForFolder(std::wstring&, bool&) override { return 2; }
    bool ChooseFontName(std::wstring&) override { return false; }
};

class SilentErrors : public IDBErrorSink {
public:
    void ShowDBError(const wchar_t*, const wchar_t* text) override {
        fwprintf(stderr, L"database error: %ls\n", text);
    }
};

}  // namespace bench_support
