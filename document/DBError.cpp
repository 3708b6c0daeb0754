#include "document/DBError.h"
#include <windows.h>
#include <atomic>
#include <string>

const wchar_t* const kDBErrorMessage = L"データベースでエラーが起こりました。";

namespace {
std::atomic<IDBErrorSink*> g_sink{nullptr};
}

IDBErrorSink* SetDBErrorSink(IDBErrorSink* sink) {
    return g_sink.exchange(sink);
}

void ShowDBError(const wchar_t* sqliteText) {
    if (!sqliteText) sqliteText = L"";
    if (IDBErrorSink* sink = g_sink.load()) {
        sink->ShowDBError(kDBErrorMessage, sqliteText);
        return;
    }
    // Until the error dialog is installed.
    std::wstring text = std::wstring(kDBErrorMessage) + L"\r\n\r\n" + sqliteText;
    MessageBoxW(nullptr, text.c_str(), L"DB Error", MB_OK | MB_ICONEXCLAMATION);
}
